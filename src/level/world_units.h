#pragma once

#include <cstdint>

namespace morvane {

// The game's world units, shared by the level record, the project and the build. x and z grow
// with a room's columns and rows; y grows downwards.

// A sector is this many units square.
inline constexpr int SectorSize = 1024;
// Heights step in clicks: a sector's height byte counts clicks.
inline constexpr int ClickSize = 256;

// A project room's level (its y position and height, a sector's heights above it) is one sector
// high: four clicks. Level 0 lies at y = LevelZeroY and each level is LevelSize higher, so that
// level L is 128 - 4 L clicks in the level's height bytes.
inline constexpr int LevelSize = SectorSize;
inline constexpr int LevelClicks = LevelSize / ClickSize;
inline constexpr int LevelZeroY = 32768;

// The item type of the player: Lara.
inline constexpr int LaraItemType = 0;

// A sector's RoomBelow / RoomAbove, and any other 0-based room number, that names no room.
inline constexpr uint8_t NoRoom = 255;

// A sector's BoxIndex without a box: in the first and second game the whole word, in the third
// game the box number (bits 4..14, above the 4 material bits) all set, with the material bits
// clear, as the build writes it.
inline constexpr uint16_t NoBox = 0xFFFF;
inline constexpr uint16_t NoBoxTR3 = 0xFFF0;
inline constexpr int NoBoxNumberTR3 = 0x7FF;
static_assert(((NoBoxTR3 >> 4) & 0x7FF) == NoBoxNumberTR3);

} // namespace morvane
