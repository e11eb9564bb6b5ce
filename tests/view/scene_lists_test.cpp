// The scene's display lists against its face-by-face drawing: the frames must be the same pixel
// for pixel in every mode, from several angles, before and after edits, and an edit must
// compile the edited room's lists alone.
#include "view/view_fixture.h"

#include "random_rooms.h"

#include "demo/demo_level.h"
#include "document/sector_numbering.h"
#include "image/rgb_image.h"
#include "level/level_format.h"

#include <sstream>

namespace morvane {
namespace {

struct SceneListsTest : test::ViewFixture {
    // The frame drawn face by face (the reference) and from the lists, from the same camera,
    // each as the view replays its list 1 (after any camera move). The first frame after a
    // redraw, drawn while list 1 is compiled, is not compared: GL draws it by another path, and
    // Mesa splits quads and breaks depth ties there differently from a replay by some pixels.
    std::pair<RgbImage, RgbImage> BothFrames() {
        scene.DrawFromLists = false;
        viewport.Redraw();
        viewport.Paint();
        RgbImage reference = surface.LastFrame();
        scene.DrawFromLists = true;
        viewport.Redraw();
        viewport.Paint();
        return {std::move(reference), surface.LastFrame()};
    }

    // How the two frames differ, or "" when they are the same; a frame with almost nothing on it
    // is reported too, since it would compare equal whatever the lists hold.
    static std::string Difference(const RgbImage& reference, const RgbImage& lists) {
        if (reference.Width != lists.Width || reference.Height != lists.Height) {
            return "frames of different sizes";
        }
        int different = 0, lit = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < reference.Height; ++y) {
            for (int x = 0; x < reference.Width; ++x) {
                const uint8_t* a = reference.At(x, y);
                const uint8_t* b = lists.At(x, y);
                lit += a[0] + a[1] + a[2] > 60;
                if (a[0] != b[0] || a[1] != b[1] || a[2] != b[2]) {
                    if (different++ == 0) {
                        firstX = x;
                        firstY = y;
                    }
                }
            }
        }
        std::ostringstream text;
        if (lit < 300) {
            text << "only " << lit << " pixels drawn";
        } else if (different > 0) {
            text << different << " pixels differ, the first at (" << firstX << ", " << firstY
                 << ")";
        }
        return text.str();
    }

    void LookAt(double rotateX, double rotateY, double zoom) {
        scene.FrameCurrentRoom();
        viewport.FitToFigure(scene);
        viewport.CenterCamera();
        Turn(rotateX, rotateY);
        Zoom(zoom);
    }
};

TEST_F(SceneListsTest, ListsDrawTheSamePixelsAsFaceByFace) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR1);
    BuildLevelTextures(*level);
    scene.TexturesLoaded = true;
    test::RandomRooms random(7);
    for (int r = 0; r < 5; ++r) {
        ASSERT_TRUE(random.Add(*project, scene, static_cast<int>(level->NumObjectTextures)));
    }
    const struct {
        double X, Y, Zoom;
    } views[] = {{35, -30, 1}, {90, 0, 1.4}, {-30, 120, 1.8}, {10, 250, 2.5}};
    for (int r = 1; r <= 5; ++r) {
        SelectRoom(*project, scene, r - 1);
        scene.NeighbourRoom = r % 5 + 1;
        scene.HidePortals = r == 3;
        for (auto [mode, name] :
             {std::pair{RenderMode::Wireframe, "wireframe"}, std::pair{RenderMode::Solid, "solid"},
              std::pair{RenderMode::Textured, "textured"}}) {
            scene.Mode = mode;
            for (const auto& view : views) {
                LookAt(view.X, view.Y, view.Zoom);
                const auto [reference, lists] = BothFrames();
                EXPECT_EQ(Difference(reference, lists), "")
                    << "room " << r << ", " << name << " mode, view (" << view.X << ", " << view.Y
                    << ")";
            }
        }
    }
}

TEST_F(SceneListsTest, AnEditCompilesTheEditedRoomAloneAndShowsAtOnce) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR1);
    BuildLevelTextures(*level);
    scene.TexturesLoaded = true;
    scene.Mode = RenderMode::Textured;
    TEditorRoom& hall = Add(8, 8, 10, 20, 10, 4);
    TEditorRoom& next = Add(8, 8, 17, 20, 10, 4);
    SelectRoom(*project, scene, 0);
    scene.NeighbourRoom = 2;
    LookAt(40, -25, 1);
    viewport.Redraw();
    const int before = scene.ListCompilations();
    viewport.Redraw();
    viewport.Paint();
    EXPECT_EQ(scene.ListCompilations(), before) << "nothing changed, nothing compiled";

    // The current room edited: its lists alone are compiled, and the frame shows the edit.
    hall.GameSector(SectorNumber(3, 3, 8)).FloorHeight = 2;
    hall.Sector(SectorNumber(4, 5, 8)).FloorSurface.Textures[2] = 5;
    viewport.Redraw();
    EXPECT_EQ(scene.ListCompilations(), before + 1);
    auto [reference, lists] = BothFrames();
    EXPECT_EQ(Difference(reference, lists), "") << "after an edit of the current room";

    // The neighbour edited, then the mode changed: the neighbour alone, then both.
    next.Sector(SectorNumber(2, 2, 8)).FloorShape = 7;
    const int beforeNeighbour = scene.ListCompilations();
    viewport.Redraw();
    EXPECT_EQ(scene.ListCompilations(), beforeNeighbour + 1);
    std::tie(reference, lists) = BothFrames();
    EXPECT_EQ(Difference(reference, lists), "") << "after an edit of the neighbour";
    scene.Mode = RenderMode::Solid;
    const int beforeMode = scene.ListCompilations();
    viewport.Redraw();
    EXPECT_EQ(scene.ListCompilations(), beforeMode + 2);
    std::tie(reference, lists) = BothFrames();
    EXPECT_EQ(Difference(reference, lists), "") << "after a change of mode";

    // Portal views hidden and shown without a compile; another current room.
    hall.PortalViewCount = 1;
    hall.PortalView(1) = {PortalFacingFront, 0, 1, 2, 2, 2, 3};
    viewport.Redraw();
    scene.HidePortals = true;
    const int beforeHide = scene.ListCompilations();
    std::tie(reference, lists) = BothFrames();
    EXPECT_EQ(Difference(reference, lists), "") << "portal views hidden";
    EXPECT_EQ(scene.ListCompilations(), beforeHide);
    scene.HidePortals = false;
    SelectRoom(*project, scene, 1);
    scene.NeighbourRoom = 1;
    std::tie(reference, lists) = BothFrames();
    EXPECT_EQ(Difference(reference, lists), "") << "the rooms swapped";

    // A new GL context (the window made anew) gets lists of its own; the old ones are deleted
    // with the view's own list, so none is left behind in the context.
    viewport.FreeContext();
    for (GLuint name = 1; name <= 16; ++name) {
        EXPECT_FALSE(glIsList(name)) << "list " << name << " left after the context was freed";
    }
    std::string problem;
    ASSERT_TRUE(viewport.Attach(surface, problem)) << problem;
    std::tie(reference, lists) = BothFrames();
    EXPECT_EQ(Difference(reference, lists), "") << "after the context was attached again";
}

} // namespace
} // namespace morvane
