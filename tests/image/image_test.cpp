#include "support/test_files.h"

#include "demo/demo_level.h"
#include "image/indexed_image.h"
#include "image/rgb_image.h"
#include "image/texture_strip.h"
#include "io/io_error.h"
#include "level/level_format.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
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
}

// Reads a PNG file with libpng as 8-bit RGB; format is what the file itself holds.
RgbImage ReadPngFile(const std::string& path, png_uint_32& format) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path.c_str()) == 0) {
        ADD_FAILURE() << path << ": " << png.message;
        return {};
    }
    format = png.format;
    png.format = PNG_FORMAT_RGB;
    RgbImage image(static_cast<int>(png.width), static_cast<int>(png.height));
    if (png_image_finish_read(&png, nullptr, image.Pixels.data(), 0, nullptr) == 0) {
        ADD_FAILURE() << path << ": " << png.message;
        png_image_free(&png);
    }
    return image;
}

TEST(RgbImage, PngFilesHoldEveryPixelCompressed) {
    test::TempDir dir;
    // Odd sizes, every byte value in every channel.
    RgbImage noisy(37, 23);
    for (std::size_t i = 0; i < noisy.Pixels.size(); ++i) {
        noisy.Pixels[i] = static_cast<uint8_t>(i * 7 + i / 91);
    }
    // A picture like the view's: smooth areas that compress well.
    RgbImage smooth(320, 200);
    for (int y = 0; y < smooth.Height; ++y) {
        for (int x = 0; x < smooth.Width; ++x) {
            uint8_t* p = smooth.At(x, y);
            p[0] = static_cast<uint8_t>(x * 255 / 319);
            p[1] = static_cast<uint8_t>(y);
            p[2] = x > 100 && x < 200 ? 200 : 30;
        }
    }
    for (const auto& [name, image] : {std::pair{"noisy.png", &noisy}, {"smooth.png", &smooth}}) {
        const std::string path = dir.Path(name);
        WritePng(*image, path);
        png_uint_32 format = 0;
        const RgbImage back = ReadPngFile(path, format);
        EXPECT_EQ(format, png_uint_32{PNG_FORMAT_RGB}) << name << ": 8-bit RGB without alpha";
        ASSERT_EQ(back.Width, image->Width) << name;
        ASSERT_EQ(back.Height, image->Height) << name;
        for (int y = 0; y < image->Height; ++y) {
            for (int x = 0; x < image->Width; ++x) {
                ASSERT_TRUE(std::equal(back.At(x, y), back.At(x, y) + 3, image->At(x, y)))
                    << name << ": pixel " << x << ", " << y;
            }
        }
    }
    const std::size_t raw = smooth.Pixels.size();
    EXPECT_LT(std::filesystem::file_size(dir.Path("smooth.png")), raw / 10)
        << "the pixels are compressed";

    // The old file stays when a new one cannot be written; no temporary file is left behind.
    RgbImage empty;
    try {
        WritePng(empty, dir.Path("smooth.png"));
        ADD_FAILURE() << "an image without pixels was written";
    } catch (const IoError& e) {
        EXPECT_NE(std::string(e.what()).find("could not be written as a PNG image"),
                  std::string::npos)
            << e.what();
    }
    png_uint_32 format = 0;
    EXPECT_EQ(ReadPngFile(dir.Path("smooth.png"), format).Width, 320);
    try {
        WritePng(noisy, dir.Path("no-folder/a.png"));
        ADD_FAILURE() << "written into a missing folder";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "the folder \"" + dir.Path("no-folder") + "\" does not exist");
    }
    EXPECT_THROW(WritePng(noisy, dir.Root().string()), IoError) << "a folder as the target";
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"noisy.png", "smooth.png"}));
}

} // namespace
} // namespace morvane
