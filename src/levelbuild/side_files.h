#pragma once

#include "io/read_result.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

// How messages name the side files: Items file "X" refused: ...
inline constexpr const char* ItemsFileKind = "Items file";
inline constexpr const char* MeshesFileKind = "Meshes file";

// A side file larger than this is refused before it is read. The largest a level can take is
// about 13 MiB (a meshes file with every room full); the limit leaves room to spare.
inline constexpr uint64_t MaxSideFileBytes = 32u << 20;

// Merges an items table (".itm", made for a level of the same layout kind): the items, extra
// floor data, cameras, each listed room's sprites, lights, static meshes, alternate room and
// flags, and the floor-data links of single sectors. Returns Done, Missing (Items file X not
// found) or OtherKind (Items file X is not an items table; it was not merged). Every IoError names
// the file (Items file "X" refused: ...): counts beyond the record's capacities, more rooms than
// the level has, sector links outside the level, a short file ("Read beyond end of file"), a file
// above MaxSideFileBytes or one that is not a regular file.
ReadResult ReadItemsTable(TLevelData& level, const std::string& fileName);

// Merges an items table after the objects a project placed: its items, cameras and each listed
// room's lights and static meshes come after those the level has (the triggers of its floor data
// name its items and cameras where they land); its floor data, sprites, alternate rooms, flags and
// sector links come as ReadItemsTable brings them. Returns as ReadItemsTable does; a count that
// would pass the level's capacity with what the level has is refused with an IoError naming the
// file and the limit (Items file "X" refused: the items after the level's 3 would be 301, above
// the limit of 300.).
ReadResult AppendItemsTable(TLevelData& level, const std::string& fileName);

// Replaces the geometry of the rooms a meshes file (".msh") lists and, when the file goes on,
// the normal-state zones. Returns Done, OtherKind (Meshes file X is not a meshes file; it was
// not merged) or OtherLayout (Meshes file X was made for a level of another layout; it was not
// merged). A missing file, one with more rooms than the level, counts beyond capacities, a
// short file and the refusals of ReadItemsTable throw an IoError naming the file.
ReadResult ReadMeshesFile(TLevelData& level, const std::string& fileName);

} // namespace morvane
