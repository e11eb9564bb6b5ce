#pragma once

#include "document/project.h"
#include "document/shape_table.h"
#include "level/world_units.h"

#include <algorithm>
#include <cstdint>

namespace morvane {

// The heights a project room takes in the level: the game counts in clicks (ClickSize units) with y
// growing downwards, so an editor level L (in clicks, counted upwards) becomes 127 - L in 8 bits,
// taken as a signed byte.
constexpr int8_t LevelHeightOfClicks(int clicksUp) {
    return static_cast<int8_t>(static_cast<uint8_t>(127 - clicksUp));
}

// The room's lowest and highest y in world units.
constexpr int RoomBottomY(const TEditorRoom& room) {
    return LevelHeightOfClicks(LevelClicks * room.PosY - 1) * ClickSize;
}
constexpr int RoomTopY(const TEditorRoom& room) {
    return LevelHeightOfClicks(LevelClicks * (room.PosY + room.Height) - 1) * ClickSize;
}

// A sector's floor and ceiling in the level's clicks, from the room's level posY, the sector's
// heights (in sector heights above it) and shapes: the floor at its highest point (the shape's
// rise above its level), the ceiling at its lowest. Shapes above the highest count as it.
constexpr int8_t LevelFloorHeight(int posY, int floorHeight, int floorShape) {
    const int shape = std::min<int>(floorShape, HighestShape);
    return LevelHeightOfClicks((posY + floorHeight) * LevelClicks - 1 + ShapeTable[shape].Rise);
}
constexpr int8_t LevelCeilingHeight(int posY, int ceilingHeight, int ceilingShape) {
    const int shape = std::min<int>(ceilingShape, HighestShape);
    return LevelHeightOfClicks((posY + ceilingHeight) * LevelClicks - 1 - ShapeTable[shape].Rise);
}

// The same for sector n (from 1) of a room.
inline int8_t LevelFloorHeight(const TEditorRoom& room, int n) {
    return LevelFloorHeight(room.PosY, room.GameSector(n).FloorHeight, room.Sector(n).FloorShape);
}
inline int8_t LevelCeilingHeight(const TEditorRoom& room, int n) {
    return LevelCeilingHeight(room.PosY, room.GameSector(n).CeilingHeight,
                              room.Sector(n).CeilingShape);
}

// The same in world units.
inline int FloorY(const TEditorRoom& room, int n) {
    return LevelFloorHeight(room, n) * ClickSize;
}
inline int CeilingY(const TEditorRoom& room, int n) {
    return LevelCeilingHeight(room, n) * ClickSize;
}

} // namespace morvane
