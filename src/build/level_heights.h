#pragma once

#include "document/shape_table.h"

#include <cstdint>

namespace morvane {

// The level's heights of a project room, in the game's clicks (y / 256, y growing downwards).

// 127 - v in 8 bits, as a signed byte: the game's height in clicks of an editor level.
constexpr int8_t ClickHeight(int v) {
    return static_cast<int8_t>(static_cast<uint8_t>(127 - v));
}

// A sector's floor stands its shape's rise above its level (posY + floorHeight, in sector
// heights); its ceiling hangs its shape's rise below its level. Shapes above 16 count as 16.
constexpr int8_t LevelFloorHeight(int posY, int floorHeight, int floorShape) {
    const int shape = floorShape < HighestShape ? floorShape : HighestShape;
    return ClickHeight((posY + floorHeight) * 4 - 1 + ShapeTable[shape].Rise);
}
constexpr int8_t LevelCeilingHeight(int posY, int ceilingHeight, int ceilingShape) {
    const int shape = ceilingShape < HighestShape ? ceilingShape : HighestShape;
    return ClickHeight((posY + ceilingHeight) * 4 - 1 - ShapeTable[shape].Rise);
}

} // namespace morvane
