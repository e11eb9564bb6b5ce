#pragma once

#include "image/indexed_image.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

// A 24-bit image: red, green, blue a pixel, rows from the top.
struct RgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Pixels;

    RgbImage() = default;
    RgbImage(int width, int height)
        : Width(width), Height(height), Pixels(std::size_t(width) * height * 3) {}
    uint8_t* At(int x, int y) { return &Pixels[(std::size_t(y) * Width + x) * 3]; }
    const uint8_t* At(int x, int y) const { return &Pixels[(std::size_t(y) * Width + x) * 3]; }
};

struct Rgb {
    uint8_t R, G, B;
};

// The game's 6-bit palette as full-range colours (each component times 4).
std::array<Rgb, 256> MakeLogicalPalette(const uint8_t* palette768);
inline std::array<Rgb, 256> MakeLogicalPalette(const Palette768& palette) {
    return MakeLogicalPalette(palette.data());
}

// The image's pixels through its colours; an image without colours gives an empty image.
RgbImage IndexedToRgb(const IndexedImage& image);

// Scales an image onto width x height by nearest pixels.
RgbImage ScaleRgb(const RgbImage& source, int width, int height);

// The same pixels with red and blue swapped (GL's BGR upload order).
std::vector<uint8_t> ToBgr(const RgbImage& image);

// Writes an 8-bit RGB PNG file, compressed; throws IoError when it cannot (the system's reason
// for a failed write, as for every file).
void WritePng(const RgbImage& image, const std::string& path);

// Reads an uncompressed 24-bit or 8-bit (palette) Windows bitmap; throws IoError when the file
// cannot be read or is not such a bitmap.
RgbImage ReadBmp(const std::string& path);
// Writes a 24-bit Windows bitmap.
void WriteBmp(const RgbImage& image, const std::string& path);

} // namespace morvane
