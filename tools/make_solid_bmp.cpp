// Writes the plain texture of the 3D view's solid mode:
//   make_solid_bmp data/solid.bmp
// A light stone grey with a darker rim, so that neighbouring sectors stay apart on screen.
#include "image/rgb_image.h"
#include "io/io_error.h"

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_solid_bmp OUT\n");
        return 2;
    }
    morvane::RgbImage image(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int edge = std::min(std::min(x, 63 - x), std::min(y, 63 - y));
            const uint8_t shade = edge == 0 ? 150 : edge == 1 ? 185 : 215;
            uint8_t* p = image.At(x, y);
            p[0] = shade;
            p[1] = shade;
            p[2] = static_cast<uint8_t>(shade + 8);
        }
    }
    try {
        morvane::WriteBmp(image, argv[1]);
    } catch (const morvane::IoError& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
