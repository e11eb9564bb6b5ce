#include "support/test_files.h"

#include "demo/demo_level.h"
#include "image/indexed_image.h"
#include "image/rgb_image.h"
#include "image/texture_strip.h"
#include "io/io_error.h"
#include "level/level_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace morvane {
namespace {

std::string Rows(const IndexedImage& image) {
    std::string text;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            text += static_cast<char>('0' + image.Pixels[y * image.Width + x]);
        }
        text += '\n';
    }
    return text;
}

TEST(IndexedImage, CopyClipsToBothImagesAndNeedsTheMarker) {
    IndexedImage source, target;
    CreateImage(source, 4, 3);
    for (int i = 0; i < 12; ++i) {
        source.Pixels[i] = static_cast<uint8_t>(1 + i % 9);
    }
    CreateImage(target, 3, 3);
    CopyImageRect(source, target, 1, 0, 3, 1, 1, 1); // clipped on the right
    EXPECT_EQ(Rows(target), "000\n023\n067\n");
    CopyImageRect(source, target, 0, 0, 9, 9, -2, -1); // shifted in from the left and top
    EXPECT_EQ(Rows(target), "780\n233\n067\n") << "x2 and y2 are held to the last column and row";
    CopyImageRect(source, target, 0, 0, 1, 1, 3, 0);
    EXPECT_EQ(Rows(target), "780\n233\n067\n") << "a destination column beyond the image";
    IndexedImage loose;
    loose.Width = loose.Height = 3;
    CopyImageRect(source, loose, 0, 0, 1, 1, 0, 0);
    EXPECT_EQ(loose.Pixels, nullptr);
    FreeImage(target);
    EXPECT_FALSE(target.IsSetUp());
    EXPECT_EQ(target.Width, 0);
}

TEST(IndexedImage, LinesFollowTheIntegerBresenham) {
    IndexedImage image;
    CreateImage(image, 6, 4);
    DrawLine(0, 3, 5, 0, 1, image);
    EXPECT_EQ(Rows(image), "000001\n000110\n011000\n100000\n");
    CreateImage(image, 3, 3);
    DrawLine(2, 2, 0, 0, 2, image);
    DrawLine(-5, 1, 9, 1, 3, image); // off the image on both ends
    PutPixel(3, 0, 9, image);
    EXPECT_EQ(Rows(image), "200\n333\n002\n");
}

struct DemoLevelTextures : ::testing::Test {
    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
    void SetUp() override { demo::MakeDemoLevel(*level, FormatTR1); }
};

TEST_F(DemoLevelTextures, TheRectangleTakesCornerOneWhereCornerTwoAgrees) {
    TObjectTexture texture{};
    texture.Tile = 1;
    texture.Vertices[0] = {1, 64, 1, 10};
    texture.Vertices[1] = {255, 127, 1, 10};
    texture.Vertices[2] = {255, 64, 255, 10}; // same pixels as corner 0
    const TextureRect r = TextureRectOf(texture);
    EXPECT_EQ(r.X0, 64);
    EXPECT_EQ(r.X2, 127);
    EXPECT_EQ(r.Y0, 256 + 10);
    EXPECT_EQ(r.Y2, 256 + 10) << "corner 1 has the same y pixel too";
}

TEST_F(DemoLevelTextures, StripsHoldEveryTextureOfTheirSize) {
    TextureStrip strip;
    BuildTextureStrip(64, 64, *level, strip);
    ASSERT_GE(strip.Count(), 20u);
    EXPECT_EQ(strip.Image.Width, 64);
    EXPECT_EQ(strip.Image.Height, 64 * static_cast<int>(strip.Count()));
    EXPECT_EQ(strip.Numbers[0], 1u);
    // Cell 1 holds the top-left texture of page 0, except its separator row.
    EXPECT_EQ(strip.Image.Pixels[5 * 64 + 7], level->Textile8[5 * 256 + 7]);
    for (uint32_t cell = 0; cell < strip.Count(); ++cell) {
        const int last = (cell * 64 + 63) * 64;
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(strip.Image.Pixels[last + x], 0) << "separator of cell " << cell + 1;
        }
    }
    // The three-cornered textures follow the sixteen squares: a diagonal from bottom-left.
    const int triangle = 16;
    ASSERT_TRUE(IsThreeCornered(level->ObjectTextures[strip.Numbers[triangle] - 1]));
    EXPECT_EQ(strip.Image.Pixels[(triangle * 64 + 62) * 64 + 1], 0);
    EXPECT_EQ(strip.Image.Pixels[(triangle * 64 + 0) * 64 + 63], 0);
    EXPECT_NE(strip.Image.Pixels[(triangle * 64 + 10) * 64 + 10], 0);
    EXPECT_EQ(strip.Image.Colors->at(3), level->Palette[3]);

    // No limit on the count: every matching texture gets its cell.
    for (uint32_t i = level->NumObjectTextures; i < 1300; ++i) {
        level->ObjectTextures[i] = level->ObjectTextures[0];
    }
    level->NumObjectTextures = 1300;
    BuildTextureStrip(64, 64, *level, strip);
    EXPECT_GT(strip.Count(), 1000u);
}

TEST_F(DemoLevelTextures, PreviewsAndTexturesOutsideThePages) {
    EXPECT_EQ(ClampTextureNumber(*level, 3000), level->NumObjectTextures);
    EXPECT_EQ(ClampTextureNumber(*level, -4), 0u);
    const RgbImage black = TexturePreview(*level, 0);
    ASSERT_EQ(black.Width, 64);
    EXPECT_TRUE(
        std::all_of(black.Pixels.begin(), black.Pixels.end(), [](uint8_t b) { return b == 0; }));
    const RgbImage first = TexturePreview(*level, 1);
    const uint8_t index = level->Textile8[10 * 256 + 20];
    EXPECT_EQ(first.At(20, 10)[0], level->Palette[index * 3] * 4);

    const RgbImage wide = ObjectTextureImage(*level, 21); // the first 64 x 32 texture
    EXPECT_EQ(wide.Width, 64);
    EXPECT_EQ(wide.Height, 32);
    const RgbImage triangle = ObjectTextureImage(*level, 17); // boxed by its three corners
    EXPECT_EQ(triangle.Width, 64);
    EXPECT_EQ(triangle.Height, 64);
    level->ObjectTextures[0].Tile = 7; // beyond the three pages
    const RgbImage outside = ObjectTextureImage(*level, 1);
    EXPECT_EQ(outside.Width, 64);
    EXPECT_TRUE(std::all_of(outside.Pixels.begin(), outside.Pixels.end(),
                            [](uint8_t b) { return b == 0; }));
    TextureStrip strip;
    BuildTextureStrip(64, 64, *level, strip);
    EXPECT_EQ(strip.Image.Pixels[5 * 64 + 7], 0) << "a texture outside the pages stays blank";
}

TEST(RgbImage, BitmapsRoundTripAndScale) {
    test::TempDir dir;
    RgbImage image(5, 3);
    for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
        image.Pixels[i] = static_cast<uint8_t>(i * 7);
    }
    WriteBmp(image, dir.Path("a.bmp"));
    const RgbImage back = ReadBmp(dir.Path("a.bmp"));
    EXPECT_EQ(back.Width, 5);
    EXPECT_EQ(back.Pixels, image.Pixels);
    test::WriteFileBytes(dir.Path("bad.bmp"), {'B', 'M', 0, 0});
    EXPECT_THROW(ReadBmp(dir.Path("bad.bmp")), IoError);

    const RgbImage big = ScaleRgb(image, 10, 6);
    EXPECT_EQ(big.At(9, 5)[0], image.At(4, 2)[0]);
    EXPECT_EQ(big.At(2, 2)[1], image.At(1, 1)[1]);

    WritePng(image, dir.Path("a.png"));
    const test::Bytes png = test::ReadFileBytes(dir.Path("a.png"));
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[19], 5) << "width in the header";
}

} // namespace
} // namespace morvane
