#pragma once

#include "document/project.h"
#include "level/level_data.h"
#include "support/test_files.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace morvane::fuzz {

using Random = std::mt19937_64;

// One field of a file as it was written: its place and width. Fields of 1, 2 or 4 bytes are
// numbers (counts, positions, sizes, links); the others are strings, blocks and arrays.
struct Field {
    std::size_t Offset;
    std::size_t Width;
    // A count, a position, a size or a link of a record (not one of many array entries): the
    // numbers a mutation most wants to reach, however many others the file holds.
    bool Key = false;
};

// A well-formed input and the layout of its fields, the places where a mutation bites. A text
// (a script) lists its numbers as fields.
struct Sample {
    std::string Name;
    test::Bytes File;
    std::vector<Field> Fields;
    bool Text = false;
};

// A level in the layout `kind`, written by the level writer; each field is what one write of
// the writer put in the file.
Sample LevelSample(TLevelData& level, int32_t kind, const std::string& name);

// A project file of the document, with its fields from the file's documented layout.
Sample ProjectSample(const TEditorProject& project, const std::string& name);

// The JSON of the objects verb, with its numbers as the fields of a text.
Sample ObjectsJsonSample(const std::string& json, const std::string& name);

// A project made with the editor's operations: rooms of random size, place and height, sector
// edits of every shape, portal links and portal views, clones and moves.
void MakeRandomProject(TEditorProject& project, Random& random, const std::string& baseLevel);
// Objects of every kind placed in the project's rooms within the layer's limits, and triggers of
// every kind and action on their sectors.
void AddRandomObjects(TEditorProject& project, Random& random);
// Alternate rooms of some of the project's rooms, made as the editor makes them.
void AddRandomAlternates(TEditorProject& project, Random& random);

// Side files that fit a built level: an items table of items, floor-data words, cameras, room
// blocks and sector links; a meshes file with the rooms' geometry and the zones; a trigger
// script of every command on the level's rooms.
Sample ItemsTableSample(const TLevelData& level, Random& random, const std::string& name);
Sample MeshesFileSample(const TLevelData& level, Random& random, const std::string& name);
Sample ScriptSample(const TLevelData& level, Random& random, const std::string& name);

} // namespace morvane::fuzz
