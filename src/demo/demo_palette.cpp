#include "demo/demo_palette.h"

#include <algorithm>
#include <cmath>

namespace morvane::demo {

namespace {

struct Rgb {
    double r, g, b;
};

// The brightest colour of each ramp (0..1); shades fall off toward a darker, slightly cooler tone.
constexpr Rgb RampColours[16] = {
    {0.92, 0.92, 0.90}, // Grey
    {0.80, 0.36, 0.24}, // Brick
    {0.93, 0.82, 0.60}, // Sandstone
    {0.72, 0.50, 0.28}, // Wood
    {0.45, 0.78, 0.25}, // Grass
    {0.55, 0.62, 0.35}, // Moss
    {0.55, 0.42, 0.30}, // Earth
    {0.30, 0.55, 0.90}, // Water
    {0.58, 0.64, 0.74}, // Slate
    {0.97, 0.95, 0.92}, // Marble
    {0.98, 0.80, 0.30}, // Gold
    {0.82, 0.45, 0.18}, // Rust
    {0.75, 0.93, 0.98}, // Ice
    {0.62, 0.42, 0.75}, // Tile
    {1.00, 0.62, 0.12}, // Lava
    {0.25, 0.62, 0.60}, // Teal
};

} // namespace

uint8_t Shade(Ramp ramp, int shade) {
    return static_cast<uint8_t>(ramp * ShadesPerRamp + std::clamp(shade, 0, ShadesPerRamp - 1));
}

std::array<uint8_t, 768> MakeDemoPalette() {
    std::array<uint8_t, 768> palette{};
    for (int ramp = 0; ramp < 16; ++ramp) {
        for (int shade = 0; shade < ShadesPerRamp; ++shade) {
            double t = shade / double(ShadesPerRamp - 1);
            double light = 0.12 + 0.88 * std::pow(t, 0.9);
            if (ramp == Grey) {
                light = t; // index 0 is pure black
            }
            const Rgb& c = RampColours[ramp];
            const int index = (ramp * ShadesPerRamp + shade) * 3;
            palette[index + 0] = static_cast<uint8_t>(std::lround(63 * c.r * light));
            palette[index + 1] = static_cast<uint8_t>(std::lround(63 * c.g * light));
            palette[index + 2] =
                static_cast<uint8_t>(std::lround(63 * std::min(1.0, c.b * light + 0.04 * (1 - t))));
        }
    }
    palette[0] = palette[1] = palette[2] = 0;
    return palette;
}

} // namespace morvane::demo
