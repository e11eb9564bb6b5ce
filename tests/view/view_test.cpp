#include "view/view_fixture.h"

#include "demo/demo_level.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "image/rgb_image.h"
#include "level/level_format.h"
#include "support/test_files.h"

#include <GL/glext.h>

#include <filesystem>

namespace morvane {
namespace {

using ViewTest = test::ViewFixture;

bool Near(const uint8_t* pixel, int r, int g, int b) {
    return std::abs(pixel[0] - r) < 24 && std::abs(pixel[1] - g) < 24 &&
           std::abs(pixel[2] - b) < 24;
}

TEST_F(ViewTest, PicksTheSectorTheNeighbourOrNothing) {
    TEditorRoom& hall = Add(6, 6, 10, 20, 10, 3);
    TEditorRoom& above = Add(4, 4, 14, 22, 11, 3); // overlaps the hall's last columns, higher up
    SelectRoom(*project, scene, 0);
    scene.NeighbourRoom = 2;
    FrameFromAbove();
    EXPECT_EQ(PickAt(SectorCentre(hall, 3, 4)), SectorNumber(3, 4, 6));
    EXPECT_EQ(PickAt(SectorCentre(hall, 2, 6)), SectorNumber(2, 6, 6));
    EXPECT_EQ(PickAt(SectorCentre(hall, 1, 3)), 3) << "a solid border sector";
    EXPECT_EQ(PickAt(SectorCentre(above, 2, 2, 2)), 999) << "the neighbour's floor is nearer";
    EXPECT_EQ(PickAt({2, 2}), 0) << "nothing in the window's corner";
    EXPECT_EQ(PickAt({2, 2}), 0) << "the same place picks the same";
    EXPECT_TRUE(viewport.ListValid());
    GLint box[4];
    glGetIntegerv(GL_VIEWPORT, box);
    EXPECT_EQ(box[2], Width) << "the normal projection and viewport come back after a pick";
}

TEST_F(ViewTest, ModesDrawTheirColoursAndHorizontalFaces) {
    // Seen from straight above the middle of a 5 x 5 room, whose middle sector is a closed column.
    TEditorRoom& hall = Add(5, 5, 10, 20, 10, 3);
    hall.GameSector(SectorNumber(3, 3, 5)).FloorHeight = 3;
    hall.GameSector(SectorNumber(2, 2, 5)).RoomBelow = 0;
    hall.Sector(SectorNumber(4, 4, 5)).FloorSurface.Textures[2] = 1;
    hall.Sector(SectorNumber(2, 4, 5)).FloorSurface.Textures[2] = -1;

    scene.Mode = RenderMode::Solid;
    FrameFromAbove();
    RgbImage image = surface.LastFrame();
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 4, 3)), 255, 255, 255));
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 2, 2)), 255, 0, 255)) << "a room below";
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 3, 3)), 0, 0, 0)) << "a closed column";
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 2, 4)), 255, 255, 255))
        << "a face left out in the textures still shows in the solid mode";

    scene.Mode = RenderMode::Wireframe;
    viewport.Redraw();
    image = surface.LastFrame();
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 4, 3)), 0, 0, 0)) << "outlines only";
    int green = 0;
    for (std::size_t i = 0; i < image.Pixels.size(); i += 3) {
        green += image.Pixels[i] < 40 && image.Pixels[i + 1] > 200 && image.Pixels[i + 2] < 40;
    }
    EXPECT_GT(green, 50);

    scene.Mode = RenderMode::Textured;
    viewport.Redraw();
    image = surface.LastFrame();
    EXPECT_TRUE(std::all_of(image.Pixels.begin(), image.Pixels.end(), [](uint8_t b) {
        return b == 0;
    })) << "nothing before the textures are loaded";
    RgbImage red(64, 64), blue(64, 64);
    for (int i = 0; i < 64 * 64; ++i) {
        red.Pixels[i * 3] = 255;
        blue.Pixels[i * 3 + 2] = 255;
    }
    UploadBitmap(1, red, 0);
    UploadBitmap(2, blue, 0);
    scene.TexturesLoaded = true;
    viewport.Redraw();
    image = surface.LastFrame();
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 4, 3)), 255, 0, 0));
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 4, 4)), 0, 0, 255));
    EXPECT_TRUE(Near(PixelAt(image, SectorCentre(hall, 2, 4)), 0, 0, 0)) << "a face left out";
}

// Looked at from the front and above: the solid mode shades the raised block's front wall, the
// textured mode draws it as it is.
TEST_F(ViewTest, TheSolidModeShadesFacesByTheWayTheyFace) {
    TEditorRoom& hall = Add(5, 5, 10, 20, 10, 3);
    hall.GameSector(SectorNumber(3, 3, 5)).FloorHeight = 1;
    hall.GameSector(SectorNumber(3, 2, 5)).RoomBelow = 0; // magenta, shaded alike
    scene.Mode = RenderMode::Solid;
    FrameFromAbove();
    Turn(35, 0);
    viewport.Redraw();
    RgbImage image = surface.LastFrame();
    // The front wall of sector (3, 3) faces row 2, toward the camera.
    const auto wall = ToWindow(hall.PosX + 2.5, hall.PosY + 0.5, -(hall.PosZ + 2));
    const auto floor = SectorCentre(hall, 4, 3);
    const auto top = SectorCentre(hall, 3, 3, 1);
    EXPECT_TRUE(Near(PixelAt(image, floor), 255, 255, 255)) << "floors as they were";
    EXPECT_TRUE(Near(PixelAt(image, top), 255, 255, 255)) << "the block's top too";
    EXPECT_TRUE(Near(PixelAt(image, wall), 183, 183, 183)) << "its wall darker";

    RgbImage red(64, 64);
    for (int i = 0; i < 64 * 64; ++i) {
        red.Pixels[i * 3] = 255;
    }
    UploadBitmap(1, red, 0);
    scene.TexturesLoaded = true;
    scene.Mode = RenderMode::Textured;
    viewport.Redraw();
    image = surface.LastFrame();
    EXPECT_TRUE(Near(PixelAt(image, wall), 255, 0, 0)) << "the textured mode is unchanged";

    EXPECT_EQ(FacingShade(0xFF00FF, 4), 0xFF00FFu);
    EXPECT_EQ(FacingShade(0xFF00FF, 0), 0xB700B7u) << "72 % of magenta";
    EXPECT_EQ(FacingShade(0xFFFFFF, 3), 0x8E8E8Eu);
    EXPECT_EQ(FacingShade(0xFFFFFF, 5), 0xDBDBDBu);
}

TEST(HorizontalFaces, WireframeAndSolidRulesDiffer) {
    TEditorSector sector{};
    TGameSector raised{0, 0, NoRoom, 2, NoRoom, 3};
    sector.FloorShape = 1; // a full block on level 2 meets the ceiling at 3
    EXPECT_TRUE(HorizontalFaceShown(RenderMode::Wireframe, sector, raised, 1));
    EXPECT_FALSE(HorizontalFaceShown(RenderMode::Solid, sector, raised, 1));
    TGameSector column{0, 0, NoRoom, 3, NoRoom, 3};
    sector.FloorShape = 0;
    EXPECT_FALSE(HorizontalFaceShown(RenderMode::Wireframe, sector, column, 0));
    EXPECT_FALSE(HorizontalFaceShown(RenderMode::Textured, sector, column, 0));
    EXPECT_TRUE(HorizontalFaceShown(RenderMode::Solid, sector, column, 5))
        << "a slope is never closed";
}

TEST_F(ViewTest, TexturesOfAcceptedSizesGoUpAsTheyAre) {
    auto size = [](uint32_t name) {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        return std::make_pair(int(w), int(h));
    };
    std::vector<uint8_t> pixels(64 * 48 * 3, 90);
    UploadPixels(10, 64, 32, 0, pixels.data(), GL_BGR_EXT);
    EXPECT_EQ(size(10), std::make_pair(64, 32));
    UploadPixels(11, 48, 48, 0, pixels.data(), GL_BGR_EXT);
    EXPECT_EQ(size(11), std::make_pair(64, 64));

    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR2);
    BuildLevelTextures(*level);
    EXPECT_EQ(size(1), std::make_pair(64, 64));
    EXPECT_EQ(size(21), std::make_pair(64, 32));
    EXPECT_EQ(size(71), std::make_pair(128, 128));
    EXPECT_EQ(size(72), std::make_pair(64, 64)) << "48 x 48 is resampled";

    // The plain texture is the program's data file, found beside the program or installed.
    EXPECT_EQ(LoadSolidTexture(std::string(MORVANE_SOURCE_DIR) + "/data"), "");
    test::TempDir prefix;
    std::filesystem::create_directories(prefix.Path("bin"));
    std::filesystem::create_directories(prefix.Path("share/morvane3d"));
    std::filesystem::copy_file(std::string(MORVANE_SOURCE_DIR) + "/data/solid.bmp",
                               prefix.Path("share/morvane3d/solid.bmp"));
    EXPECT_EQ(LoadSolidTexture(prefix.Path("bin")), "") << "installed in share/morvane3d";
    EXPECT_EQ(LoadSolidTexture("/nowhere/bin"),
              "The plain texture solid.bmp could not be read (File not found in /nowhere/bin or "
              "/nowhere/share/morvane3d); the solid view uses plain white.");
    std::vector<uint8_t> white(64 * 64 * 3);
    glBindTexture(GL_TEXTURE_2D, SolidTextureName);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, white.data());
    EXPECT_EQ(size(SolidTextureName), std::make_pair(64, 64));
    EXPECT_TRUE(std::all_of(white.begin(), white.end(), [](uint8_t b) { return b == 255; }));
}

TEST_F(ViewTest, FramingRotatingPanningAndZooming) {
    GLFigure box;
    box.BoundsMin = {0, 0, -10};
    box.BoundsMax = {20, 3, 0};
    box.Position = {};
    viewport.FitToFigure(box);
    viewport.CenterCamera();
    EXPECT_FLOAT_EQ(static_cast<float>(viewport.Placement().Scale.X), 0.3f);
    EXPECT_FLOAT_EQ(camera.X, 10 * 0.3f);
    EXPECT_FLOAT_EQ(camera.Z, 4);
    box.BoundsMax = {6, 3, 0};
    viewport.FitToFigure(box);
    viewport.CenterCamera();
    EXPECT_EQ(viewport.Placement().Scale.X, 1);

    ShiftState right;
    right.Right = true;
    viewport.OnMouseDown(right, 10, 10);
    viewport.OnMouseMove(right, 30, 15);
    EXPECT_EQ(viewport.Placement().Rotate.Y, 10) << "half a degree a pixel";
    EXPECT_EQ(viewport.Placement().Rotate.X, 2.5);
    ShiftState shifted = right;
    shifted.Shift = true;
    viewport.OnMouseMove(shifted, 60, 60);
    EXPECT_EQ(viewport.Placement().Rotate.Y, 10) << "Shift freezes the rotation";
    viewport.OnMouseMove(right, 40, 10);
    EXPECT_EQ(viewport.Placement().Rotate.Y, 15) << "and releasing it resumes from the same start";
    viewport.OnMouseUp();
    viewport.OnMouseDown(right, 0, 0);
    viewport.OnMouseMove(right, 5, 0);
    EXPECT_EQ(viewport.Placement().Rotate.Y, 17.5)
        << "the next rotation starts where this one ended";
    viewport.OnMouseMove(right, 5, 400);
    EXPECT_EQ(viewport.Placement().Rotate.X, 90) << "a long drag looks straight down, no further";
    viewport.OnMouseUp();

    const float x = camera.X;
    viewport.OnMouseDown(shifted, 100, 100);
    viewport.OnMouseMove(shifted, 150, 100);
    EXPECT_FLOAT_EQ(camera.X, x - 1) << "fifty pixels move the camera one unit";
    viewport.OnMouseUp();

    ShiftState zoom = right;
    zoom.Ctrl = true;
    viewport.OnMouseDown(zoom, 0, 300);
    viewport.OnMouseMove(zoom, 0, 300);
    viewport.OnMouseMove(zoom, 0, 0);
    EXPECT_EQ(viewport.Placement().Scale.X, 0) << "a zoom stops at scale 0";
}

// Pictures of a room in the three modes, for people to look at.
TEST_F(ViewTest, ScreenshotsOfTheThreeModes) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR1);
    BuildLevelTextures(*level);
    scene.TexturesLoaded = true;
    TEditorRoom& room = Add(8, 10, 10, 20, 10, 4);
    for (int n = 1; n <= room.SectorCount(); ++n) {
        const int x = SectorColumn(n, 8), z = SectorRow(n, 8);
        TEditorSector& s = room.Sector(n);
        s.FloorSurface.Textures[2] = (x + z) % 2 ? 2 : 9;
        for (int slot : {0, 1, 3, 4}) {
            s.FloorSurface.Textures[slot] = 0;
            s.CeilingSurface.Textures[slot] = 1;
        }
        s.CeilingSurface.Textures[2] = 1;
        if (x == 4 && z > 1 && z < 8) {
            s.FloorShape = z % 2 ? 5 : 11;
            room.GameSector(n).FloorHeight = 1;
        }
        if (x >= 6 && x <= 8 && z >= 3 && z <= 5) {
            room.GameSector(n).FloorHeight = 1;
        }
    }
    room.GameSector(SectorNumber(2, 3, 8)).RoomBelow = 0;
    room.PortalViewCount = 1;
    room.PortalView(1) = {PortalFacingFront, 0, 1, 2, 2, 2, 3};
    const std::string folder = std::string(MORVANE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    for (auto [mode, name] :
         {std::pair{RenderMode::Wireframe, "wireframe"}, std::pair{RenderMode::Solid, "solid"},
          std::pair{RenderMode::Textured, "textured"}}) {
        scene.Mode = mode;
        scene.FrameCurrentRoom();
        viewport.FitToFigure(scene);
        viewport.CenterCamera();
        Turn(35, -30);
        viewport.Redraw();
        const RgbImage image = surface.LastFrame();
        EXPECT_GT(std::count_if(image.Pixels.begin(), image.Pixels.end(),
                                [](uint8_t b) { return b > 30; }),
                  1000)
            << name;
        WritePng(image, folder + "/view-" + name + ".png");
    }
}

} // namespace
} // namespace morvane
