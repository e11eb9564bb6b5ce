#include "view/drawn_room_key.h"
#include "view/scene_geometry.h"
#include "view/selection_pick.h"

#include "document/room_operations.h"
#include "document/sector_numbering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace morvane {
namespace {

// With the identity transform the coordinates are clip coordinates (w = 1): the pick region is
// -1..1 on every axis and a window depth is z / 2 + 1/2. Front faces run clockwise with y up.
using Corners = float[3][3];

TEST(SelectionPick, NearestFrontFaceInTheRegionWinsTheEarliestOnATie) {
    const Mat4 identity;
    const Corners front = {{-0.5f, -0.5f, 0.2f}, {0, 0.5f, 0.2f}, {0.5f, -0.5f, 0.2f}};
    const Corners back = {{-0.5f, -0.5f, -0.8f}, {0.5f, -0.5f, -0.8f}, {0, 0.5f, -0.8f}};
    const Corners nearer = {{-0.5f, -0.5f, -0.4f}, {0, 0.5f, -0.4f}, {0.5f, -0.5f, -0.4f}};
    const Corners away = {{1.5f, -0.5f, -0.9f}, {2, 0.5f, -0.9f}, {2.5f, -0.5f, -0.9f}};

    SelectionPick nothing(identity);
    EXPECT_FALSE(nothing.Hit());
    EXPECT_EQ(nothing.Name(), 0);

    SelectionPick pick(identity);
    pick.Triangle(front[0], front[1], front[2], 7);
    ASSERT_TRUE(pick.Hit());
    EXPECT_EQ(pick.Name(), 7);
    EXPECT_EQ(pick.Depth(), SelectionDepth(double(0.2f) / 2 + 0.5));
    pick.Triangle(back[0], back[1], back[2], 8);
    EXPECT_EQ(pick.Name(), 7) << "a back face is culled however near";
    pick.Triangle(away[0], away[1], away[2], 9);
    EXPECT_EQ(pick.Name(), 7) << "a face beside the region is no hit";
    pick.Triangle(nearer[0], nearer[1], nearer[2], 10);
    EXPECT_EQ(pick.Name(), 10) << "the nearer face wins";
    pick.Triangle(nearer[0], nearer[1], nearer[2], 11);
    EXPECT_EQ(pick.Name(), 10) << "on a tie the earliest wins";

    EXPECT_EQ(SelectionDepth(0), 0u);
    EXPECT_EQ(SelectionDepth(1), 0xFFFFFFFFu);
    EXPECT_EQ(SelectionDepth(0.5), 0x80000000u);
}

TEST(SelectionPick, DepthIsTheNearestPointOfThePartInsideTheRegion) {
    const Mat4 identity;
    // From z = -0.9 far left (outside the region) to z = 0.5 at its right edge: the part inside
    // starts at x = -1, a third of the way, where z = -0.9 + 1.4 / 3 on both edges.
    const Corners slanted = {{-2, -0.5f, -0.9f}, {-2, 0.5f, -0.9f}, {1, 0, 0.5f}};
    SelectionPick pick(identity);
    pick.Triangle(slanted[0], slanted[1], slanted[2], 3);
    ASSERT_TRUE(pick.Hit());
    const double z = -0.9 + 1.4 * (1.0 / 3.0);
    EXPECT_NEAR(double(pick.Depth()), double(SelectionDepth(z / 2 + 0.5)), 512.0);
    EXPECT_GT(pick.Depth(), SelectionDepth(-0.9 / 2 + 0.5)) << "not the corner outside";

    // A quad is the triangles 0-1-3 and 1-2-3; one with no area is no hit.
    const float flat[4][3] = {{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0.5f, 0, 0}};
    SelectionPick none(identity);
    none.Quad(flat, 4);
    EXPECT_FALSE(none.Hit());

    // A line through the region hits at the nearest point of its part inside.
    const float a[3] = {-3, 0, -0.9f}, b[3] = {3, 0, 0.9f};
    SelectionPick line(identity);
    line.Line(a, b, 5);
    ASSERT_TRUE(line.Hit());
    EXPECT_EQ(line.Name(), 5);
    EXPECT_NEAR(double(line.Depth()), double(SelectionDepth(-0.3 / 2 + 0.5)), 512.0);
    const float c[3] = {-3, 2, 0}, d[3] = {3, 2, 0};
    SelectionPick above(identity);
    above.Line(c, d, 6);
    EXPECT_FALSE(above.Hit()) << "a line above the region";
}

// The names the selection pass reads: every face and grid cell under its sector's number, the
// axis marker under the last name loaded before it, the portal views under the neighbour's name
// when one is drawn and otherwise under the last grid cell's.
TEST(SceneGeometry, FacesAndMarkersCarryTheNamesTheSelectionPassLoads) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values = RoomAt(3, 2, 10, 20, 10, 4);
    AddRoom(*project, scene, values);
    TEditorRoom& room = project->Current();
    room.GameSector(SectorNumber(2, 2, 3)).FloorHeight = 2;
    room.PortalViewCount = 1;
    room.PortalView(1) = {PortalFacingFront, 0, 1, 2, 1, 1, 1};

    for (RenderMode mode : {RenderMode::Wireframe, RenderMode::Solid, RenderMode::Textured}) {
        CurrentRoomDrawing drawing;
        BuildCurrentRoomDrawing(drawing, mode, room, 4000);
        ASSERT_FALSE(drawing.Faces.empty());
        for (const SceneQuad& quad : drawing.Faces) {
            EXPECT_GE(quad.Name, 1);
            EXPECT_LE(quad.Name, 6);
            EXPECT_NE(quad.Texture, 0) << "a face left out is not drawn";
        }
        EXPECT_EQ(drawing.Grid.size(), 12u) << "each cell both ways round";
        EXPECT_EQ(drawing.Grid.front().Name, 1);
        EXPECT_EQ(drawing.NameAfterGrid, SectorNumber(2, 3, 3));
        EXPECT_EQ(drawing.AxisName, mode == RenderMode::Wireframe ? SectorNumber(2, 3, 3) : 0);
        EXPECT_EQ(drawing.PortalViews.size(), 1u);

        std::vector<SceneQuad> neighbour;
        AppendRoomPasses(neighbour, mode, room, false, 4000);
        for (const SceneQuad& quad : neighbour) {
            EXPECT_EQ(quad.Name, NeighbourRoomPickName);
        }
    }
}

// The box overlay's tints lie on the floors they tint, slopes and steps followed: each is the top
// of its sector's floor surface as the scene draws it. Tints of another size draw nothing.
TEST(SceneGeometry, TintsLieOnTheFloorsTheyTint) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    AddRoom(*project, scene, RoomAt(5, 4, 10, 20, 10, 4));
    TEditorRoom& room = project->Current();
    std::vector<uint32_t> colors(static_cast<std::size_t>(room.SectorCount()));
    for (int n = 1; n <= room.SectorCount(); ++n) {
        room.Sector(n).FloorShape = static_cast<uint8_t>(n % 11);
        room.GameSector(n).FloorHeight = static_cast<int8_t>(n % 3);
        colors[n - 1] = n == 7 ? NoSectorTint : 0x010203u * static_cast<uint32_t>(n);
    }
    CurrentRoomDrawing drawing;
    BuildCurrentRoomDrawing(drawing, RenderMode::Solid, room, 4000);
    std::vector<SceneQuad> tints;
    AppendFloorTints(tints, room, colors);
    ASSERT_EQ(tints.size(), std::size_t(room.SectorCount() - 1)) << "all but the untinted one";
    for (const SceneQuad& tint : tints) {
        SCOPED_TRACE("sector " + std::to_string(tint.Name));
        EXPECT_EQ(tint.Color, colors[tint.Name - 1]);
        const auto floor = std::find_if(drawing.Faces.begin(), drawing.Faces.end(), [&](auto& f) {
            return f.Name == tint.Name && f.Planes == 4; // a standing box's top
        });
        ASSERT_NE(floor, drawing.Faces.end());
        EXPECT_EQ(std::memcmp(floor->Corners, tint.Corners, sizeof(tint.Corners)), 0);
    }
    colors.pop_back();
    tints.clear();
    AppendFloorTints(tints, room, colors);
    EXPECT_TRUE(tints.empty());
}

TEST(DrawnRoomKey, AnyByteOfTheRoomOrTheModeMakesItDiffer) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    AddRoom(*project, scene, RoomAt(4, 4, 0, 0, 0, 3));
    TEditorRoom& room = project->Current();
    DrawnRoomKey key;
    EXPECT_FALSE(key.Matches(room, RenderMode::Solid, 4000)) << "an empty key matches nothing";
    key.Take(room, RenderMode::Solid, 4000);
    EXPECT_TRUE(key.Matches(room, RenderMode::Solid, 4000));
    EXPECT_FALSE(key.Matches(room, RenderMode::Textured, 4000));
    EXPECT_FALSE(key.Matches(room, RenderMode::Solid, 4001));
    room.PortalViews[MaxPortalViews - 1].WidthTiles = 9; // the record's last bytes
    EXPECT_FALSE(key.Matches(room, RenderMode::Solid, 4000));
    key.Take(room, RenderMode::Solid, 4000);
    room.Sector(1).FloorSurface.Textures[2] = 17;
    EXPECT_FALSE(key.Matches(room, RenderMode::Solid, 4000));
}

} // namespace
} // namespace morvane
