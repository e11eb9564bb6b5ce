#pragma once

#include <array>
#include <cstdint>

namespace morvane::demo {

// The demo palette: 16 colour ramps of 16 shades each, dark to bright, 6 bits per component as
// the game stores them. Index 0 (the darkest grey) is black, the game's transparent colour.
enum Ramp : uint8_t {
    Grey,
    Brick,
    Sandstone,
    Wood,
    Grass,
    Moss,
    Earth,
    Water,
    Slate,
    Marble,
    Gold,
    Rust,
    Ice,
    Tile,
    Lava,
    Teal,
};

inline constexpr int ShadesPerRamp = 16;

// The palette index of a shade (clamped to 0..15) of a ramp.
uint8_t Shade(Ramp ramp, int shade);

std::array<uint8_t, 768> MakeDemoPalette();

} // namespace morvane::demo
