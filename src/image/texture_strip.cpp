#include "image/texture_strip.h"

#include "level/level_format.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace morvane {

namespace {

constexpr int PreviewSize = 64;

// The level's 8-bit pages as one image, without copying them.
IndexedImage PagesView(const TLevelData& level) {
    IndexedImage view;
    const int64_t height = int64_t(level.NumTextiles) * 256;
    const bool complete = level.Textile8.size() >= std::size_t(height) * 256;
    CreateImageView(view, 256, complete ? static_cast<int32_t>(height) : 0);
    view.Pixels = complete ? const_cast<uint8_t*>(level.Textile8.data()) : nullptr;
    return view;
}

bool InsidePages(const IndexedImage& pages, const TextureRect& r) {
    return r.X0 >= 0 && r.Y0 >= 0 && r.X2 < pages.Width && r.Y2 < pages.Height;
}

} // namespace

TextureRect TextureRectOf(const TObjectTexture& texture) {
    const int pageY = texture.Tile * 256;
    const auto& v = texture.Vertices;
    TextureRect r{v[0].XPixel, v[0].YPixel + pageY, v[2].XPixel, v[2].YPixel + pageY};
    if (r.X2 == r.X0) {
        r.X2 = v[1].XPixel;
    }
    if (r.Y2 == r.Y0) {
        r.Y2 = v[1].YPixel + pageY;
    }
    if (r.X0 > r.X2) {
        std::swap(r.X0, r.X2);
    }
    if (r.Y0 > r.Y2) {
        std::swap(r.Y0, r.Y2);
    }
    return r;
}

void BuildTextureStrip(int cellWidth, int cellHeight, const TLevelData& level,
                       TextureStrip& strip) {
    const IndexedImage pages = PagesView(level);
    strip.Numbers.clear();
    const uint32_t textures = std::min<uint32_t>(level.NumObjectTextures, MaxObjectTextures);
    for (uint32_t k = 1; k <= textures; ++k) {
        const auto& v = level.ObjectTextures[k - 1].Vertices;
        if (std::abs(v[1].XPixel - v[0].XPixel) == cellWidth - 1 &&
            std::abs(v[2].YPixel - v[1].YPixel) == cellHeight - 1) {
            strip.Numbers.push_back(k);
        }
    }
    strip.CellWidth = static_cast<uint8_t>(cellWidth);
    strip.CellHeight = static_cast<uint8_t>(cellHeight);
    CreateImage(strip.Image, cellWidth, cellHeight * static_cast<int32_t>(strip.Count()));
    strip.Image.Colors = Palette768{};
    std::memcpy(strip.Image.Colors->data(), level.Palette, PaletteBytes);
    int y = 0;
    for (uint32_t k : strip.Numbers) {
        const TObjectTexture& texture = level.ObjectTextures[k - 1];
        const TextureRect r = TextureRectOf(texture);
        if (InsidePages(pages, r)) { // a texture outside the pages stays blank
            CopyImageRect(pages, strip.Image, r.X0, r.Y0, r.X2, r.Y2, 0, y);
        }
        if (IsThreeCornered(texture)) {
            DrawLine(0, y + cellHeight - 1, cellWidth - 1, y, 0, strip.Image);
        }
        DrawLine(0, y + cellHeight - 1, cellWidth - 1, y + cellHeight - 1, 0, strip.Image);
        y += cellHeight;
    }
}

uint32_t ClampTextureNumber(const TLevelData& level, int64_t n) {
    return static_cast<uint32_t>(std::clamp<int64_t>(n, 0, level.NumObjectTextures));
}

RgbImage ObjectTextureImage(const TLevelData& level, uint32_t i) {
    if (i < 1 || i > std::min<uint32_t>(level.NumObjectTextures, MaxObjectTextures)) {
        return RgbImage(PreviewSize, PreviewSize);
    }
    const TObjectTexture& texture = level.ObjectTextures[i - 1];
    const int corners = IsThreeCornered(texture) ? 3 : 4;
    int minX = 255, maxX = 0, minY = 255, maxY = 0;
    for (int c = 0; c < corners; ++c) {
        minX = std::min<int>(minX, texture.Vertices[c].XPixel);
        maxX = std::max<int>(maxX, texture.Vertices[c].XPixel);
        minY = std::min<int>(minY, texture.Vertices[c].YPixel);
        maxY = std::max<int>(maxY, texture.Vertices[c].YPixel);
    }
    const bool secondGame = UsesSecondGameRecords(level.FormatKind);
    const std::size_t pages =
        secondGame ? level.Textile16.size() / 131072 : level.Textile8.size() / 65536;
    if (texture.Tile >= std::min<std::size_t>(pages, level.NumTextiles)) {
        return RgbImage(PreviewSize, PreviewSize);
    }
    RgbImage image(maxX - minX + 1, maxY - minY + 1);
    const auto colours = MakeLogicalPalette(level.Palette);
    const std::size_t page = texture.Tile;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const std::size_t at = page * 65536 + std::size_t(minY + y) * 256 + (minX + x);
            uint8_t* p = image.At(x, y);
            if (secondGame) {
                const uint16_t c = static_cast<uint16_t>(level.Textile16[at * 2] |
                                                         level.Textile16[at * 2 + 1] << 8);
                const int r = (c >> 10) & 31, g = (c >> 5) & 31, b = c & 31;
                p[0] = static_cast<uint8_t>(r << 3 | r >> 2);
                p[1] = static_cast<uint8_t>(g << 3 | g >> 2);
                p[2] = static_cast<uint8_t>(b << 3 | b >> 2);
            } else {
                const Rgb& c = colours[level.Textile8[at]];
                p[0] = c.R;
                p[1] = c.G;
                p[2] = c.B;
            }
        }
    }
    return image;
}

RgbImage TexturePreview(const TLevelData& level, uint32_t n) {
    n = ClampTextureNumber(level, n);
    const IndexedImage pages = PagesView(level);
    if (n == 0 || n > MaxObjectTextures) {
        return RgbImage(PreviewSize, PreviewSize);
    }
    const TextureRect r = TextureRectOf(level.ObjectTextures[n - 1]);
    if (!InsidePages(pages, r)) {
        return RgbImage(PreviewSize, PreviewSize);
    }
    IndexedImage texture;
    CreateImage(texture, r.Width(), r.Height());
    texture.Colors = Palette768{};
    std::memcpy(texture.Colors->data(), level.Palette, PaletteBytes);
    CopyImageRect(pages, texture, r.X0, r.Y0, r.X2, r.Y2, 0, 0);
    return ScaleRgb(IndexedToRgb(texture), PreviewSize, PreviewSize);
}

} // namespace morvane
