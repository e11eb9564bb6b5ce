#include "support/test_files.h"

#include "level/level_format.h"
#include "level/level_models.h"
#include "level/level_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace morvane {
namespace {

template <class T> void Put(uint8_t* bytes, int at, T value) {
    std::memcpy(bytes + at, &value, sizeof(T));
}

// A mesh of three vertices on the axes at 100 units, one textured triangle (object texture 1)
// and one coloured triangle (16-bit palette entry 5 in the high byte, 8-bit entry 9 in the low
// byte).
std::vector<int16_t> TriangleMesh() {
    return {0,  0,   0, 100, 0,                        // centre, radius
            3,  100, 0, 0,   0,     100, 0, 0, 0, 100, // vertices
            -3, 1,   1, 1,                             // lights
            0,                                         // no textured rectangles
            1,  2,   1, 0,   1,                        // one textured triangle
            0,                                         // no coloured rectangles
            1,  0,   1, 2,   0x0509};                  // one coloured triangle
}

// Three meshes in a tree: mesh 1 hangs 200 above mesh 0 and pushes mesh 0's place; mesh 2 pops
// it and stands 300 ahead of mesh 0. The first frame moves the whole to (10, 20, 30), turns
// mesh 0 a quarter about y and mesh 1 a quarter about x.
void AssembleModel(TLevelData& level, int32_t kind) {
    level.Clear();
    level.FormatKind = kind;
    const std::vector<int16_t> mesh = TriangleMesh();
    std::memcpy(level.MeshData, mesh.data(), mesh.size() * 2);
    level.NumMeshData = static_cast<uint32_t>(mesh.size());
    level.NumMeshPointers = 3;
    level.MeshPointers[0] = level.MeshPointers[1] = level.MeshPointers[2] = 0;
    const uint32_t tree[8] = {2, 0, uint32_t(-200), 0, 1, 0, 0, 300};
    std::memcpy(level.MeshLinks + 4, tree, sizeof tree);
    level.NumMeshLinks = 12;
    std::vector<uint16_t> frame = {0, 0, 0, 0, 0, 0, 10, 20, 30};
    if (kind == FormatTR1) {
        // Two angle sets, each as a long with its low word first: y 256 is the high word 0x0004.
        frame.insert(frame.end(), {2, 0x0000, 0x0004, 0x0000, 0x1000});
    } else {
        // A single-axis y set, a three-axis set of x 256, an unturned single-axis x set.
        frame.insert(frame.end(), {0x8000 | 256, 0x1000, 0x0000, 0x4000});
    }
    const uint32_t frameStart = 7; // words: the frame does not start the array
    std::memcpy(level.Frames + frameStart, frame.data(), frame.size() * 2);
    level.NumFrames = frameStart + static_cast<uint32_t>(frame.size());
    level.NumAnimations = 2;
    Put<uint32_t>(level.Animations[1].Bytes, 0, frameStart * 2);
    level.NumMoveables = 1;
    uint8_t* m = level.Moveables[0].Bytes;
    Put<uint32_t>(m, 0, 42); // item type
    Put<uint16_t>(m, 4, 3);  // meshes
    Put<uint16_t>(m, 6, 0);  // starting mesh
    Put<uint32_t>(m, 8, 4);  // tree from link 4
    Put<uint32_t>(m, 12, 0); // frame offset of the moveable (not the animation's)
    Put<uint16_t>(m, 16, 1); // first animation
    // Object texture 1 on page 1, its corners at pixels (16, 32), (47, 32) high and (16, 63)
    // high.
    level.NumTextiles = 2;
    level.Textile8.assign(2 * 65536, 1);
    level.NumObjectTextures = 2;
    level.ObjectTextures[1] = {0, 1, {{1, 16, 1, 32}, {255, 47, 1, 32}, {1, 16, 255, 63}, {}}};
    level.Palette[9 * 3] = 63;
    level.Palette16[5 * 4 + 0] = 11;
    level.Palette16[5 * 4 + 1] = 22;
    level.Palette16[5 * 4 + 2] = 33;
}

void ExpectCorner(const ModelFace& face, int c, float x, float y, float z, const char* what) {
    EXPECT_NEAR(face.Corners[c][0], x, 1e-3) << what << " corner " << c;
    EXPECT_NEAR(face.Corners[c][1], y, 1e-3) << what << " corner " << c;
    EXPECT_NEAR(face.Corners[c][2], z, 1e-3) << what << " corner " << c;
}

TEST(LevelModels, TreeOffsetsAndFrameRotationsPlaceEveryVertex) {
    auto level = std::make_unique<TLevelData>();
    for (const int32_t kind : {FormatTR1, FormatTR2, FormatTR3}) {
        SCOPED_TRACE(FormatKindName(kind));
        AssembleModel(*level, kind);
        ModelLibrary library;
        library.Build(*level);
        const ObjectModel* model = library.Item(42);
        ASSERT_NE(model, nullptr);
        ASSERT_EQ(model->Faces.size(), 6u);
        // Each mesh's textured face first (its corners vertices 2, 1, 0, its texture
        // coordinates from the texture's corners 0, 1, 2), then its coloured face.
        const ModelFace& textured = model->Faces[0];
        EXPECT_TRUE(textured.Textured);
        EXPECT_EQ(textured.Page, 1);
        EXPECT_FLOAT_EQ(textured.TexCoords[0][0], 16 / 256.0f);
        EXPECT_FLOAT_EQ(textured.TexCoords[1][0], 48 / 256.0f);
        EXPECT_FLOAT_EQ(textured.TexCoords[2][1], 64 / 256.0f);
        ExpectCorner(textured, 0, 110, 20, 30, "mesh 0 textured");
        // Mesh 0: a quarter about y takes +x to -z and +z to +x.
        ExpectCorner(model->Faces[1], 0, 10, 20, -70, "mesh 0");
        ExpectCorner(model->Faces[1], 1, 10, 120, 30, "mesh 0");
        ExpectCorner(model->Faces[1], 2, 110, 20, 30, "mesh 0");
        // Mesh 1: 200 above, its own quarter about x (+y to +z) before mesh 0's turn.
        ExpectCorner(model->Faces[3], 0, 10, -180, -70, "mesh 1");
        ExpectCorner(model->Faces[3], 1, 110, -180, 30, "mesh 1");
        ExpectCorner(model->Faces[3], 2, 10, -280, 30, "mesh 1");
        // Mesh 2: from mesh 0's place again, 300 ahead turned to +x, unturned itself.
        ExpectCorner(model->Faces[5], 0, 310, 20, -70, "mesh 2");
        ExpectCorner(model->Faces[5], 2, 410, 20, 30, "mesh 2");
        EXPECT_FALSE(model->Faces[1].Textured);
        EXPECT_EQ(model->Faces[1].Color, kind == FormatTR1 ? 0x0000FFu : 0x21160Bu);
        EXPECT_FLOAT_EQ(model->Min[1], -280);
        EXPECT_FLOAT_EQ(model->Max[0], 410);
        EXPECT_EQ(library.Item(0), nullptr);
        ASSERT_EQ(library.Pages().size(), 1u) << "the one page the model uses";
        EXPECT_EQ(library.Pages()[0].Number, 1);
    }
}

// Random words over a level that holds a working model, a static mesh and a sprite: whatever the
// bytes, the library reads nothing outside the arrays (the sanitizer run checks this), and every
// model it keeps is finite and names only what exists.
TEST(LevelModels, GarbageNeverReadsOutsideAndKeepsSaneModels) {
    auto level = std::make_unique<TLevelData>();
    std::mt19937 random(1234);
    int built = 0, sprites = 0, textured = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const int32_t kind = trial % 2 == 0 ? FormatTR1 : FormatTR3;
        AssembleModel(*level, kind);
        level->NumStaticMeshes = 1;
        Put<uint32_t>(level->StaticMeshes[0].Bytes, 0, 7);
        level->Textile16.assign(kind == FormatTR3 ? 2 * 131072 : 0, 0x80);
        level->NumSpriteTextures = 1;
        level->NumSpriteSequences = 1;
        Put<int32_t>(level->SpriteSequences[0].Bytes, 0, 99);
        uint8_t* t = level->SpriteTextures[0].Bytes;
        Put<uint16_t>(t, 4, 16 * 256 - 1);
        Put<uint16_t>(t, 6, 16 * 256 - 1);
        Put<int16_t>(t, 10, -100);
        Put<int16_t>(t, 12, 50);
        Put<int16_t>(t, 14, 0);
        const auto word = [&] { return static_cast<uint16_t>(random()); };
        const int changes = 1 + trial % 12;
        for (int c = 0; c < changes; ++c) {
            switch (random() % 9) {
            case 0:
                level->MeshData[random() % 40] = word();
                break;
            case 1:
                level->Frames[random() % 24] = word();
                break;
            case 2:
                level->MeshLinks[random() % 12] = random();
                break;
            case 3:
                level->MeshPointers[random() % 3] = random() % 2 ? random() : word();
                break;
            case 4:
                level->Moveables[0].Bytes[random() % 18] = uint8_t(random());
                break;
            case 5:
                level->Animations[1].Bytes[random() % 4] = uint8_t(random());
                break;
            case 6:
                level->SpriteTextures[0].Bytes[random() % 16] = uint8_t(random());
                break;
            case 7:
                level->StaticMeshes[0].Bytes[4 + random() % 2] = uint8_t(random());
                break;
            default: {
                // Counts up to the capacities, the arrays behind them left as zero bytes.
                uint32_t* counts[] = {&level->NumMeshData, &level->NumFrames, &level->NumMeshLinks,
                                      &level->NumMeshPointers, &level->NumObjectTextures};
                *counts[random() % 5] = random() % 2 ? random() % 60 : uint32_t(random());
            }
            }
        }
        ModelLibrary library;
        library.Build(*level);
        built += static_cast<int>(library.Models().size());
        for (const ModelLibrary::Page& page : library.Pages()) {
            ASSERT_LT(page.Number, level->NumTextiles);
            ASSERT_EQ(page.Rgba.size(), 256u * 256u * 4u);
        }
        for (const ObjectModel& model : library.Models()) {
            for (int k = 0; k < 3; ++k) {
                ASSERT_TRUE(std::isfinite(model.Min[k]) && std::isfinite(model.Max[k]));
                ASSERT_LE(model.Min[k], model.Max[k]) << "trial " << trial;
            }
            if (model.IsSprite) {
                const ModelSprite& s = model.Sprite;
                ASSERT_LT(s.Page, level->NumTextiles);
                ASSERT_LE(s.X + s.Width, 256);
                ASSERT_LE(s.Y + s.Height, 256);
                ASSERT_GE(s.Width, 1);
                sprites += 1;
                continue;
            }
            ASSERT_FALSE(model.Faces.empty());
            for (const ModelFace& face : model.Faces) {
                if (face.Textured) {
                    ASSERT_LT(face.Texture,
                              std::min<uint32_t>(level->NumObjectTextures, MaxObjectTextures));
                    ASSERT_LT(face.Page, level->NumTextiles);
                    for (int c = 0; c < face.CornerCount; ++c) {
                        ASSERT_TRUE(face.TexCoords[c][0] >= 0 && face.TexCoords[c][0] <= 1);
                        ASSERT_TRUE(face.TexCoords[c][1] >= 0 && face.TexCoords[c][1] <= 1);
                    }
                    textured += 1;
                }
                for (int c = 0; c < face.CornerCount; ++c) {
                    for (int k = 0; k < 3; ++k) {
                        ASSERT_GE(face.Corners[c][k], model.Min[k]);
                        ASSERT_LE(face.Corners[c][k], model.Max[k]);
                    }
                }
            }
        }
    }
    EXPECT_GT(built, 400) << "most trials keep some model: the garbage did not break them all";
    EXPECT_GT(sprites, 100);
    EXPECT_GT(textured, 400);
}

TEST(LevelModels, RealLevelsPoseLaraAndTheirOtherModels) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    struct Expected {
        const char* File;
        std::size_t MinimumModels;
    };
    const Expected files[] = {
        {"tr1-demo-level2.tub", 80}, {"tr1-opentomb-altroom1.phd", 60}, {"tr2-hiltop.tr2", 100}};
    auto level = std::make_unique<TLevelData>();
    for (const Expected& file : files) {
        SCOPED_TRACE(file.File);
        ASSERT_EQ(ReadLevelFile(*level, dir + "/" + file.File).Status, ReadStatus::Done);
        ModelLibrary library;
        library.Build(*level);
        EXPECT_GE(library.Models().size(), file.MinimumModels);
        const ObjectModel* lara = library.Item(0);
        ASSERT_NE(lara, nullptr);
        ASSERT_FALSE(lara->IsSprite);
        // Her first animation's first frame: upright, her head some 780 units above her
        // origin, her feet just off the ground, a stride long and a body wide.
        EXPECT_NEAR(lara->Min[1], -778, 30);
        EXPECT_NEAR(lara->Max[1] - lara->Min[1], 690, 40);
        EXPECT_NEAR(lara->Max[0] - lara->Min[0], 210, 40);
        EXPECT_NEAR(lara->Max[2] - lara->Min[2], 545, 60);
        EXPECT_GT(lara->Faces.size(), 300u);
        // Every model stays within a few sectors (the sky, the largest, within twenty).
        int sprites = 0;
        for (const ObjectModel& model : library.Models()) {
            sprites += model.IsSprite;
            for (int k = 0; k < 3; ++k) {
                EXPECT_GT(model.Min[k], -20 * 1024);
                EXPECT_LT(model.Max[k], 20 * 1024);
            }
        }
        EXPECT_GT(sprites, 5);
    }
}

} // namespace
} // namespace morvane
