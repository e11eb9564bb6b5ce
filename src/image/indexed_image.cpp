#include "image/indexed_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace morvane {

void CreateImage(IndexedImage& image, int32_t width, int32_t height) {
    FreeImage(image);
    width = std::max(0, width);
    height = std::max(0, height);
    image.storage_.assign(static_cast<std::size_t>(width) * height + 1, 0);
    image.Pixels = image.storage_.data();
    image.Width = width;
    image.Height = height;
    image.Colors.reset();
    image.Marker = ImageMarker;
}

void CreateImageView(IndexedImage& image, int32_t width, int32_t height) {
    FreeImage(image);
    image.Width = std::max(0, width);
    image.Height = std::max(0, height);
    image.Pixels = nullptr;
    image.Colors.reset();
    image.Marker = ImageMarker;
}

void FreeImage(IndexedImage& image) {
    std::vector<uint8_t>().swap(image.storage_);
    image.Pixels = nullptr;
    image.Colors.reset();
    image.Width = image.Height = 0;
    image.Marker.clear();
}

void CopyImageRect(const IndexedImage& source, IndexedImage& destination, int x1, int y1, int x2,
                   int y2, int dx, int dy) {
    if (!source.IsSetUp() || !destination.IsSetUp() || source.Pixels == nullptr ||
        destination.Pixels == nullptr) {
        return;
    }
    if (dx >= destination.Width || dy >= destination.Height) {
        return;
    }
    if (dx < 0) {
        x1 -= dx;
        dx = 0;
    }
    if (dy < 0) {
        y1 -= dy;
        dy = 0;
    }
    // Held inside the source: the last column and row are Width - 1 and Height - 1.
    x1 = std::max(x1, 0);
    y1 = std::max(y1, 0);
    x2 = std::min(x2, source.Width - 1);
    y2 = std::min(y2, source.Height - 1);
    if (x1 > x2 || y1 > y2) {
        return;
    }
    const int w = std::min(x2 - x1 + 1, destination.Width - dx);
    const int h = std::min(y2 - y1 + 1, destination.Height - dy);
    for (int i = 0; i < h; ++i) {
        std::memcpy(destination.Pixels + static_cast<std::size_t>(dy + i) * destination.Width + dx,
                    source.Pixels + static_cast<std::size_t>(y1 + i) * source.Width + x1,
                    static_cast<std::size_t>(w));
    }
}

void PutPixel(int x, int y, uint8_t color, IndexedImage& image) {
    if (image.Pixels != nullptr && x >= 0 && x < image.Width && y >= 0 && y < image.Height) {
        image.Pixels[static_cast<std::size_t>(y) * image.Width + x] = color;
    }
}

void DrawLine(int x1, int y1, int x2, int y2, uint8_t color, IndexedImage& image) {
    const int dx = x2 - x1, dy = y2 - y1;
    const int sx = dx > 0 ? 1 : dx < 0 ? -1 : 0, sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    const bool alongX = std::abs(dx) > std::abs(dy);
    const int m = alongX ? std::abs(dx) : std::abs(dy); // the larger extent
    const int n = alongX ? std::abs(dy) : std::abs(dx);
    int error = m / 2;
    int x = x1, y = y1;
    for (int i = 0; i <= m; ++i) {
        PutPixel(x, y, color, image);
        error += n;
        if (error >= m) {
            error -= m;
            x += sx;
            y += sy;
        } else if (alongX) {
            x += sx;
        } else {
            y += sy;
        }
    }
}

} // namespace morvane
