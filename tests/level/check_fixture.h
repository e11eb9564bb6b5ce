#pragma once

#include "level/level_data.h"
#include "level/level_format.h"

#include <memory>

namespace morvane::test {

// A small, sound level record for the level check: two rooms of 4 x 4 sectors side by side as
// the editor places them, overlapping by two columns (room 1 at x 0..4096, room 2 at x
// 2048..6144, both at z 0..4096), floors at y 0 and ceilings at y -2048. Each room's middle
// 2 x 2 sectors are open; the border is solid (-127). The doorway: room 1's column 4 and room
// 2's column 1, rows 2 and 3, carry wall portals to each other (floor-data words 1-2 and 3-4),
// and both rooms have a portal on the plane x = 3072 between them. Lara (item 1) stands on room
// 1's floor at column 2, row 2. One box over everything with a one-word overlap list.
inline std::unique_ptr<TLevelData> TwoRoomLevel(int32_t kind = FormatTR1) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = kind;
    level->NumRooms = 2;
    const TGameSector solid{0, 0xFFFF, NoRoom, -127, NoRoom, -127};
    const TGameSector open{0, 0, NoRoom, 0, NoRoom, -8};
    for (int r = 0; r < 2; ++r) {
        TLevelRoom& room = level->Rooms[r];
        room.RoomInfo = {r * 2048, 0, 0, -2048};
        room.NumXSectors = room.NumZSectors = 4;
        room.AlternateRoom = -1;
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                const bool inside = column >= 1 && column <= 2 && row >= 1 && row <= 2;
                room.Sectors[column * 4 + row] = inside ? open : solid;
            }
        }
        room.NumVertices = 4;
        room.NumRectangles = 1;
        room.Rectangles[0] = {{0, 1, 2, 3}, 0};
        // The portal on x = 3072: room-relative 3072 for room 1, 1024 for room 2.
        const int16_t x = r == 0 ? 3072 : 1024;
        room.NumPortals = 1;
        room.Portals[0] = {static_cast<uint16_t>(1 - r),
                           {static_cast<int16_t>(r == 0 ? -1 : 1), 0, 0},
                           {{x, 0, 1024}, {x, -2048, 1024}, {x, -2048, 3072}, {x, 0, 3072}}};
    }
    level->NumFloorData = 5;
    const uint16_t words[] = {0, 0x8001, 1, 0x8001, 0};
    std::copy(std::begin(words), std::end(words), level->FloorData);
    for (int row = 1; row <= 2; ++row) {
        level->Rooms[0].Sectors[3 * 4 + row].FloorDataIndex = 1;
        level->Rooms[1].Sectors[0 * 4 + row].FloorDataIndex = 3;
    }
    level->NumObjectTextures = 1;
    level->NumItems = 1;
    level->Items1[0] = {0, 0, 1536, 0, 1536, 0, 0xFFFF, 0};
    level->Items2[0] = {0, 0, 1536, 0, 1536, 0, 0xFFFF, 0, 0};
    level->NumBoxes = 1;
    level->NumZones = 1;
    level->Boxes1[0] = {0, 4096, 0, 6144, 0, 0};
    level->Boxes2[0] = {0, 4, 0, 6, 0, 0};
    level->NumOverlaps = 1;
    level->Overlaps[0] = 0x8000;
    return level;
}

} // namespace morvane::test
