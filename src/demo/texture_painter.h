#pragma once

#include <cstdint>

namespace morvane::demo {

// Generated materials for the demo level's texture pages. Each one tiles across its own
// rectangle, so it can be used at any size.
enum class Material {
    Bricks,
    StoneBlocks,
    Cobbles,
    WoodPlanks,
    Grass,
    Dirt,
    Sand,
    Water,
    MetalPlate,
    FloorTiles,
    Marble,
    MossyStone,
    Lava,
    Ice,
    GoldPanel,
    Crate,
};

inline constexpr int MaterialCount = 16;

// Paints a material into the rectangle (x, y, width, height) of 8-bit pages that are 256 pixels
// wide (palette indices of the demo palette).
void PaintMaterial(uint8_t* pages, int x, int y, int width, int height, Material material,
                   uint32_t seed);

} // namespace morvane::demo
