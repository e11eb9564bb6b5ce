#pragma once

#include "image/indexed_image.h"
#include "image/rgb_image.h"
#include "level/level_data.h"

#include <cstdint>
#include <vector>

namespace morvane {

// The rectangle of an object texture in the level's pages seen as one image 256 pixels wide
// (page p from row p * 256), inclusive, taken from its corners 0 and 2 (or 1 where those agree).
struct TextureRect {
    int X0, Y0, X2, Y2;
    int Width() const { return X2 - X0 + 1; }
    int Height() const { return Y2 - Y0 + 1; }
};
TextureRect TextureRectOf(const TObjectTexture& texture);

// Whether an object texture has only three corners (the fourth at pixel 0, 0).
inline bool IsThreeCornered(const TObjectTexture& texture) {
    return texture.Vertices[3].XPixel == 0 && texture.Vertices[3].YPixel == 0;
}

// Every object texture of one size stacked in a column: cell k shows texture Numbers[k] (from
// 1), a three-cornered one crossed by its diagonal, each cell's last row a separator line.
struct TextureStrip {
    uint8_t CellWidth = 0;
    uint8_t CellHeight = 0;
    IndexedImage Image;
    std::vector<uint32_t> Numbers;
    uint32_t Count() const { return static_cast<uint32_t>(Numbers.size()); }
};

void BuildTextureStrip(int cellWidth, int cellHeight, const TLevelData& level, TextureStrip& strip);

// The number a texture field shows for n: at most the level's object-texture count.
uint32_t ClampTextureNumber(const TLevelData& level, int64_t n);

// The pixels of object texture i (from 1) as the 3D view shows them: the box around its corners
// (three for a three-cornered one) cut from the page, in the level's colours (the second and
// third game's 16-bit pages, the first game's pages through its palette). A texture outside the
// pages gives a blank 64 x 64 image.
RgbImage ObjectTextureImage(const TLevelData& level, uint32_t i);

// The 64 x 64 preview of object texture n (from 1); black for 0 and for a texture outside the
// pages.
RgbImage TexturePreview(const TLevelData& level, uint32_t n);

} // namespace morvane
