#pragma once

#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

class BinaryWriter;

// Results of WriteLevelFile.
inline constexpr uint8_t LevelWritten = 0;
inline constexpr uint8_t LevelWriteVersionUnknown = 2;

// Writes the record as a level file in the layout given by its Version and the output name
// (".TUB"/".tub" in the name chooses the add-on's layout for version 32). The file is written
// beside the target and renamed over it only when complete; a record with an unknown version
// code (Version is then set to 0) writes nothing and returns LevelWriteVersionUnknown. Each
// room's NumDataWords is recomputed. Throws IoError naming the file when it cannot be written
// (Level file "X" not written: ...), also when the target is refused (see AtomicFileWriter).
uint8_t WriteLevelFile(TLevelData& level, const std::string& fileName);

// The same into an open writer, in the given layout (FormatTR1 .. FormatTR3).
void WriteLevel(TLevelData& level, BinaryWriter& out, int32_t kind);

// The size in words of a room's geometry block (vertices to sprites, their four counts
// included) in the given layout.
uint32_t RoomDataWords(const TLevelRoom& room, int32_t kind);

// Copies the first-game layouts that the build edits (vertices, items, boxes) into the second
// and third game's layouts, sets the per-room light fields those layouts need, and clears the
// zones.
void PrepareLevelForWrite(TLevelData& level);

} // namespace morvane
