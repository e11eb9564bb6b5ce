#pragma once

#include <cstdint>

namespace morvane {

// The game's own 8-byte sector record, shared by the project's rooms and the level's rooms.
// Room numbers are stored 0-based with 255 for none.
#pragma pack(push, 1)
struct TGameSector {
    uint16_t FloorDataIndex;
    uint16_t BoxIndex;
    uint8_t RoomBelow;
    int8_t FloorHeight;
    uint8_t RoomAbove;
    int8_t CeilingHeight;
};
#pragma pack(pop)
static_assert(sizeof(TGameSector) == 8);

inline constexpr uint8_t NoRoom = 255;

} // namespace morvane
