#pragma once

#include "io/read_result.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

class BinaryReader;

// How messages name a level file: Level file "X" refused: ...
inline constexpr const char* LevelFileKind = "Level file";

// Reads a level file of any of the four layouts into the record, which is cleared first.
// Returns Done, Missing (nothing at the path: Level file "X" not found) or OtherKind (an unknown
// version code: Level file "X" is not a level of the supported games (unknown version code);
// the record is then empty). Every IoError names the file (Level file "X" refused: ...): a file
// that ends early ("Read beyond end of file"), a count beyond a capacity of the record (the field
// and the limit), a path that is not a regular file. After a throw the record is empty.
// LastBaseLevelName is cleared: the caller sets it once it has taken the file as its base level.
ReadResult ReadLevelFile(TLevelData& level, const std::string& fileName);

// The same from an open reader; fileName decides the layout of version 32 and names the file in
// messages.
ReadResult ReadLevel(TLevelData& level, BinaryReader& reader, const std::string& fileName);

// The layout of a level file (FormatTR1 ... FormatTR3) from its version code and name, reading
// only the code: FormatNone when the file is not there, cannot be read or has an unknown code.
int32_t PeekLevelFormatKind(const std::string& fileName);

// The end of a room's record, which a level file and an items table share: the lights, the
// static meshes (first-game or second-game records), the alternate room and the flags. A count
// beyond the record's capacity throws IoError, e.g. "NumLights of room 3 is 21, above the limit
// of 20."; the caller's reader names the file. `roomNumber` is the room as the caller counts it.
void ReadRoomTail(BinaryReader& in, TLevelRoom& room, bool secondGame, int roomNumber);

} // namespace morvane
