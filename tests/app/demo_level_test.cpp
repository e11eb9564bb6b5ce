#include "demo/demo_level.h"
#include "level/level_format.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <random>

namespace morvane {
namespace {

struct Size {
    int Width, Height;
    bool operator<(const Size& o) const {
        return Width != o.Width ? Width < o.Width : Height < o.Height;
    }
};

TEST(DemoLevel, ObjectTexturesOfTheSizesThePickerShows) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR2);
    std::map<Size, int> quads, triangles;
    for (uint32_t i = 0; i < level->NumObjectTextures; ++i) {
        const TObjectTexture& t = level->ObjectTextures[i];
        ASSERT_LT(t.Tile, level->NumTextiles) << "texture " << i;
        const Size size{t.Vertices[1].XPixel - t.Vertices[0].XPixel + 1,
                        t.Vertices[2].YPixel - t.Vertices[1].YPixel + 1};
        const bool triangle = t.Vertices[3].XPixel == 0 && t.Vertices[3].YPixel == 0;
        ++(triangle ? triangles : quads)[size];
    }
    EXPECT_GE((quads[{64, 64}]), 16);
    EXPECT_GE((quads[{64, 32}]), 8);
    EXPECT_GE((quads[{64, 16}]), 8);
    EXPECT_GE((triangles[{64, 64}]), 1);
    EXPECT_GE((quads[{48, 48}]), 1) << "a size that is resampled for upload";
    EXPECT_GE((quads[{128, 128}]), 1);
    EXPECT_EQ(level->Textile16.size(), level->Textile8.size() * 2);
}

// Generated materials must read as surfaces, not noise: neighbouring texels differ in brightness
// clearly less than texels taken at random from the same texture (equally for noise), and the
// texture still uses a range of shades.
TEST(DemoLevel, TexturesAreCoherentAndVaried) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR1);
    auto brightness = [&](int x, int y) {
        const uint8_t index = level->Textile8[y * 256 + x];
        const uint8_t* rgb = &level->Palette[index * 3];
        return rgb[0] + rgb[1] + rgb[2];
    };
    std::mt19937 random(7);
    for (int slot = 0; slot < 16; ++slot) {
        const int x0 = (slot % 4) * 64, y0 = (slot / 4) * 64;
        long neighbours = 0, strangers = 0;
        int lowest = 999, highest = 0;
        for (int y = y0; y < y0 + 64; ++y) {
            for (int x = x0; x < x0 + 63; ++x) {
                neighbours += std::abs(brightness(x, y) - brightness(x + 1, y));
                strangers +=
                    std::abs(brightness(x, y) - brightness(x0 + random() % 64, y0 + random() % 64));
                lowest = std::min(lowest, brightness(x, y));
                highest = std::max(highest, brightness(x, y));
            }
        }
        EXPECT_LT(neighbours * 20, strangers * 17) << "texture " << slot << " looks like noise";
        EXPECT_GT(highest - lowest, 30) << "texture " << slot << " is flat";
    }
}

} // namespace
} // namespace morvane
