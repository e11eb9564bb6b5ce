#pragma once

#include "level/world_units.h"

#include <cstdint>

namespace morvane {

// The game's own 8-byte sector record, shared by the project's rooms and the level's rooms.
// Room numbers are stored 0-based with NoRoom for none.
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

} // namespace morvane
