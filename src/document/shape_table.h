#pragma once

#include "level/world_units.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace morvane {

// The 17 floor and ceiling shapes. Rise: how many clicks the shape rises above its floor level,
// or hangs below its ceiling level. CornerHeights, in world units, at the sector's
// corners with x growing with the column and z with the row: c0 (low x, low z), c1 (high x,
// low z), c2 (high x, high z), c3 (low x, high z); c4, c5 repeat the low-x edge (high z, low z)
// and c6, c7 the high-x edge (low z, high z) for the walls of those sides. SlopeClass 0 is flat.
struct TShapeInfo {
    uint8_t Rise;
    int32_t CornerHeights[8];
    uint16_t SlopeClass;
};

inline constexpr int ShapeCount = 17;
inline constexpr int HighestShape = 16;
inline constexpr int SlopeClassCount = 9;

// Shapes 5-10 slope along one grid axis, 11-16 are the same slopes turned by a quarter.
inline constexpr int FirstSlopeShape = 5;
inline constexpr int TurnedShapeOffset = 6;

namespace shape_table_detail {
// A shape from its rise and its corner heights, both in clicks.
constexpr TShapeInfo Shape(uint8_t rise, const std::array<int, 8>& clicks, uint16_t slopeClass) {
    TShapeInfo info{rise, {}, slopeClass};
    for (std::size_t i = 0; i < clicks.size(); ++i) {
        info.CornerHeights[i] = clicks[i] * ClickSize;
    }
    return info;
}
} // namespace shape_table_detail

inline constexpr std::array<TShapeInfo, ShapeCount> ShapeTable = {{
    shape_table_detail::Shape(0, {0, 0, 0, 0, 0, 0, 0, 0}, 0),
    shape_table_detail::Shape(4, {4, 4, 4, 4, 4, 4, 4, 4}, 0),
    shape_table_detail::Shape(3, {3, 3, 3, 3, 3, 3, 3, 3}, 0),
    shape_table_detail::Shape(2, {2, 2, 2, 2, 2, 2, 2, 2}, 0),
    shape_table_detail::Shape(1, {1, 1, 1, 1, 1, 1, 1, 1}, 0),
    shape_table_detail::Shape(2, {2, 2, 0, 0, 0, 2, 2, 0}, 1),
    shape_table_detail::Shape(4, {4, 4, 2, 2, 2, 4, 4, 2}, 1),
    shape_table_detail::Shape(4, {2, 2, 4, 4, 4, 2, 2, 4}, 2),
    shape_table_detail::Shape(2, {0, 0, 2, 2, 2, 0, 0, 2}, 2),
    shape_table_detail::Shape(4, {4, 4, 0, 0, 0, 4, 4, 0}, 3),
    shape_table_detail::Shape(4, {0, 0, 4, 4, 4, 0, 0, 4}, 4),
    shape_table_detail::Shape(2, {0, 2, 2, 0, 0, 0, 2, 2}, 5),
    shape_table_detail::Shape(4, {2, 4, 4, 2, 2, 2, 4, 4}, 5),
    shape_table_detail::Shape(4, {4, 2, 2, 4, 4, 4, 2, 2}, 6),
    shape_table_detail::Shape(2, {2, 0, 0, 2, 2, 2, 0, 0}, 6),
    shape_table_detail::Shape(4, {0, 4, 4, 0, 0, 0, 4, 4}, 7),
    shape_table_detail::Shape(4, {4, 0, 0, 4, 4, 4, 0, 0}, 8),
}};

using SlopeTable = std::array<std::array<uint16_t, SlopeClassCount>, SlopeClassCount>;

// Index into the floor data of the slope entry for a pair of slope classes [floor][ceiling]:
// single slopes take two words each (1, 3, .. 15 floor; 17, 19, .. 31 ceiling), pairs four
// (33, 37, .. 285).
constexpr SlopeTable BuildSlopeFloorDataTable() {
    SlopeTable table{};
    for (int f = 0; f < SlopeClassCount; ++f) {
        for (int c = 0; c < SlopeClassCount; ++c) {
            int value = 0;
            if (f > 0 && c == 0) {
                value = 2 * f - 1;
            } else if (f == 0 && c > 0) {
                value = 15 + 2 * c;
            } else if (f > 0 && c > 0) {
                value = 33 + 4 * (8 * (f - 1) + (c - 1));
            }
            table[f][c] = static_cast<uint16_t>(value);
        }
    }
    return table;
}

inline constexpr SlopeTable SlopeFloorDataTable = BuildSlopeFloorDataTable();

// The floor-data index for a sector with these floor and ceiling shapes.
constexpr uint16_t SlopeFloorDataIndex(int floorShape, int ceilingShape) {
    return SlopeFloorDataTable[ShapeTable[floorShape].SlopeClass]
                              [ShapeTable[ceilingShape].SlopeClass];
}

} // namespace morvane
