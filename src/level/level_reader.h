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

// How messages name a level file: Level file "X" refused: ...
inline constexpr const char* LevelFileKind = "Level file";

// Reads a level file of any of the four layouts into the record, which is cleared first.
// Returns LevelReadDone, LevelFileMissing (nothing at the path) or LevelVersionUnknown (the
// record is then empty). Every IoError names the file (Level file "X" refused: ...): a file that
// ends early ("Read beyond end of file"), a count beyond a capacity of the record (the field and
// the limit), a path that is not a regular file. After a throw the record is empty.
// LastBaseLevelName is cleared: the caller sets it once it has taken the file as its base level.
uint8_t ReadLevelFile(TLevelData& level, const std::string& fileName);

// The same from an open reader; fileName decides the layout of version 32 and names the file in
// messages.
uint8_t ReadLevel(TLevelData& level, BinaryReader& reader, const std::string& fileName);

} // namespace morvane
