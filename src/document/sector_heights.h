#pragma once

#include "document/project.h"
#include "document/shape_table.h"

#include <algorithm>
#include <cstdint>

namespace morvane {

// The heights a project room takes in the level: the game counts in clicks of 256 units with y
// growing downwards, so an editor level L (in clicks, counted upwards) becomes 127 - L in 8 bits,
// taken as a signed byte.
constexpr int8_t LevelHeightOfClicks(int clicksUp) {
    return static_cast<int8_t>(static_cast<uint8_t>(127 - clicksUp));
}

// The room's lowest and highest y in world units.
constexpr int RoomBottomY(const TEditorRoom& room) {
    return LevelHeightOfClicks(4 * room.PosY - 1) * 256;
}
constexpr int RoomTopY(const TEditorRoom& room) {
    return LevelHeightOfClicks(4 * (room.PosY + room.Height) - 1) * 256;
}

// Sector n's (from 1) floor and ceiling in the level's clicks: the floor at its highest point
// (the shape's rise above its level), the ceiling at its lowest.
inline int8_t LevelFloorHeight(const TEditorRoom& room, int n) {
    const int shape = std::min<int>(room.Sector(n).FloorShape, HighestShape);
    return LevelHeightOfClicks((room.PosY + room.GameSector(n).FloorHeight) * 4 - 1 +
                               ShapeTable[shape].Rise);
}
inline int8_t LevelCeilingHeight(const TEditorRoom& room, int n) {
    const int shape = std::min<int>(room.Sector(n).CeilingShape, HighestShape);
    return LevelHeightOfClicks((room.PosY + room.GameSector(n).CeilingHeight) * 4 - 1 -
                               ShapeTable[shape].Rise);
}

// The same in world units.
inline int FloorY(const TEditorRoom& room, int n) {
    return LevelFloorHeight(room, n) * 256;
}
inline int CeilingY(const TEditorRoom& room, int n) {
    return LevelCeilingHeight(room, n) * 256;
}

} // namespace morvane
