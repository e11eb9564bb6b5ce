#pragma once

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

// Results of ReadItemsTable.
inline constexpr uint8_t ItemsTableRead = 0;
inline constexpr uint8_t ItemsTableMissing = 1;
inline constexpr uint8_t ItemsTableWrongSignature = 2;

// Merges an items table (".itm", made for a level of the same layout kind): the items, extra
// floor data, cameras, each listed room's sprites, lights, static meshes, alternate room and
// flags, and the floor-data links of single sectors. Every IoError names the file (Items file
// "X" refused: ...): counts beyond the record's capacities, more rooms than the level has,
// sector links outside the level, a short file ("Read beyond end of file"), a file above
// MaxSideFileBytes or one that is not a regular file.
uint8_t ReadItemsTable(TLevelData& level, const std::string& fileName);

// Results of ReadMeshesFile.
inline constexpr uint8_t MeshesFileRead = 0;
inline constexpr uint8_t MeshesFileWrongSignature = 1;
inline constexpr uint8_t MeshesFileWrongKind = 2;

// Replaces the geometry of the rooms a meshes file (".msh") lists and, when the file goes on,
// the normal-state zones. A file with more rooms than the level, counts beyond capacities, a
// short file and the refusals of ReadItemsTable throw an IoError naming the file.
uint8_t ReadMeshesFile(TLevelData& level, const std::string& fileName);

} // namespace morvane
