#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

using Palette768 = std::array<uint8_t, 768>; // red, green, blue of 256 colours, 0..63 each

inline constexpr const char* ImageMarker = "VALIDO";

// An 8-bit image: one palette index a pixel, rows from the top. Its pixels are its own (made by
// CreateImage) or a view of a buffer owned elsewhere (CreateImageView, then set Pixels).
struct IndexedImage {
    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t* Pixels = nullptr;
    std::optional<Palette768> Colors;
    std::string Marker; // ImageMarker while the image is set up

    bool IsSetUp() const { return Marker == ImageMarker; }
    bool OwnsPixels() const { return !storage_.empty() && Pixels == storage_.data(); }

private:
    friend void CreateImage(IndexedImage&, int32_t, int32_t);
    friend void FreeImage(IndexedImage&);
    std::vector<uint8_t> storage_;
};

// Sets the image up with its own zero-filled pixels (releasing earlier ones) and no colours.
void CreateImage(IndexedImage& image, int32_t width, int32_t height);
// Sets the image up without pixels: the caller points Pixels at width * height bytes.
void CreateImageView(IndexedImage& image, int32_t width, int32_t height);
// Releases what the image owns and clears its size and marker.
void FreeImage(IndexedImage& image);

// Copies the source rectangle x1..x2, y1..y2 (inclusive) so that its top-left corner lands at
// (dx, dy), clipped to both images. Does nothing unless both images are set up.
void CopyImageRect(const IndexedImage& source, IndexedImage& destination, int x1, int y1, int x2,
                   int y2, int dx, int dy);

void PutPixel(int x, int y, uint8_t color, IndexedImage& image);
// A straight line, both ends included (integer Bresenham).
void DrawLine(int x1, int y1, int x2, int y2, uint8_t color, IndexedImage& image);

} // namespace morvane
