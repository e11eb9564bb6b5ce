#pragma once

#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

class BinaryReader;

// Results of ReadLevelFile.
inline constexpr uint8_t LevelReadDone = 0;
inline constexpr uint8_t LevelFileMissing = 1;
inline constexpr uint8_t LevelVersionUnknown = 2;

// Reads a level file of any of the four layouts into the record, which is cleared first.
// Returns LevelReadDone, LevelFileMissing or LevelVersionUnknown (the record is then empty).
// A file that ends early throws IoError "Read beyond end of file"; a count beyond a capacity of
// the record throws IoError naming the field and the limit. After a throw the record is empty.
// LastBaseLevelName is cleared: the caller sets it once it has taken the file as its base level.
uint8_t ReadLevelFile(TLevelData& level, const std::string& fileName);

// The same from an open reader; fileName decides the layout of version 32 and names the file in
// messages.
uint8_t ReadLevel(TLevelData& level, BinaryReader& reader, const std::string& fileName);

} // namespace morvane
