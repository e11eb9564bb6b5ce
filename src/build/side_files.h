#pragma once

#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

// Results of ReadItemsTable.
inline constexpr uint8_t ItemsTableRead = 0;
inline constexpr uint8_t ItemsTableMissing = 1;
inline constexpr uint8_t ItemsTableWrongSignature = 2;

// Merges an items table (".itm", made for a level of the same layout kind): the items, extra
// floor data, cameras, each listed room's sprites, lights, static meshes, alternate room and
// flags, and the floor-data links of single sectors. Counts beyond the record's capacities, more
// rooms than the level has and sector links outside the level are refused with an IoError
// naming the file; a short file throws "Read beyond end of file".
uint8_t ReadItemsTable(TLevelData& level, const std::string& fileName);

// Results of ReadMeshesFile.
inline constexpr uint8_t MeshesFileRead = 0;
inline constexpr uint8_t MeshesFileWrongSignature = 1;
inline constexpr uint8_t MeshesFileWrongKind = 2;

// Replaces the geometry of the rooms a meshes file (".msh") lists and, when the file goes on,
// the normal-state zones. A file with more rooms than the level, or counts beyond capacities,
// is refused with an IoError naming the file.
uint8_t ReadMeshesFile(TLevelData& level, const std::string& fileName);

} // namespace morvane
