#pragma once

// The objects layer in the project file: a tagged, versioned block after the version-5 data.
// The version-5 reader stops at the 40 bytes that close the rooms, so it reads the rooms of a
// file that has the block, and a project without objects has no block at all (its file is
// byte-identical to one written before the layer existed).
//
//   tag      4 bytes  "OBJS"
//   version  u16      1
//   length   u32      bytes that follow: 4 + 40 x count
//   count    u32      0..MaxObjects
//   count records of 40 bytes (WriteObjectRecord), little-endian
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/objects.h"
#include "document/triggers.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace morvane {

class BinaryReader;
class BinaryWriter;

inline constexpr char ObjectsBlockTag[5] = "OBJS";
inline constexpr uint16_t ObjectsBlockVersion = 1;
inline constexpr std::size_t ObjectRecordBytes = 40;
// Tag, version and length.
inline constexpr std::size_t BlockHeaderBytes = 10;

void WriteObjectRecord(BinaryWriter& out, const TEditorObject& object);
TEditorObject ReadObjectRecord(BinaryReader& in);

// What follows a block's tag, checked alike for every block: the version (the one this program
// reads), the length (within the file, with room for the count) and the count (at most
// `maxCount` `things`). Throws IoError starting with `block`, the block's name and place ("the
// triggers block at byte 812 has version 7, which this program does not read ...").
struct BlockHeader {
    uint32_t Length = 0; // the bytes after the length field, the count's included
    uint32_t Count = 0;
};
BlockHeader ReadBlockHeader(BinaryReader& in, const std::string& block, uint16_t version,
                            uint32_t maxCount, const std::string& things);

// Writes the layer's block; nothing at all for an empty layer.
void WriteObjectsBlock(BinaryWriter& out, const TObjectLayer& layer);

// The blocks that follow the rooms (the objects block, the triggers block of trigger_block.h, the
// alternate-rooms block of flip_block.h), read up to the end of the file. A block that is cut
// short, whose length does not fit its count, of a version or tag this program does not read, or
// a second block of a tag throws IoError with a text naming the block ("the objects block is
// truncated ..."); the caller names the file.
struct ProjectBlocks {
    std::vector<TEditorObject> Objects;
    std::vector<TEditorTrigger> Triggers;
    std::vector<FlipLink> FlipLinks; // the alternate-rooms block's (see flip_block.h)
};
ProjectBlocks ReadProjectBlocks(BinaryReader& in);

// A room's grid, all the objects' own checks need of it.
struct RoomGrid {
    uint16_t XSectors = 0;
    uint16_t ZSectors = 0;
};

struct TEditorProject;

// A document of the rooms' grids and nothing else, to check a block's records against: the
// record's pages that are never written (the sectors) cost nothing.
std::unique_ptr<TEditorProject> ProjectOfGrids(const std::vector<RoomGrid>& rooms);

// The objects read against the rooms read, with the checks and limits of ReplaceObjectLayer:
// the problem's text ("in the objects block, objects[3].room: ..."), or empty; the counts by
// kind of a layer without problem.
std::string ObjectsBlockProblem(const std::vector<TEditorObject>& objects,
                                const std::vector<RoomGrid>& rooms, ObjectCounts& counts);

} // namespace morvane
