#include "document/doorways.h"
#include "document/room_operations.h"
#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"

#include <gmock/gmock.h>

#include <memory>

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Doorways : ::testing::Test {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    SectorToolState tools;

    // Rooms at level 20, 4 sector heights high.
    TEditorRoom& Add(int length, int width, int x, int z) {
        RoomDialogValues values = RoomAt(length, width, x, 20, z, 4);
        values.Name = NextRoomName(*project);
        AddRoom(*project, scene, values);
        return project->Current();
    }
    // A click on the floor of the current room: with a room beside in the tools, the sector is
    // opened at the room's bottom (shape 0) or a level higher (shape 1) and gets a wall portal;
    // with a room below, a floor link.
    void Floor(int column, int row, int shape = 0) {
        scene.HeightSelector = 0;
        tools.SelectedShape = shape;
        EditClick(*project, scene, tools,
                  ViewHit::OfSector(SectorNumber(column, row, project->Current().ZSectors)), false,
                  false);
    }
    void Ceiling(int column, int row) {
        tools.PutShapes = false;
        EditClick(*project, scene, tools,
                  ViewHit::OfSector(SectorNumber(column, row, project->Current().ZSectors)), true,
                  false);
        tools.PutShapes = true;
    }
    void Select(int room) { SelectRoom(*project, scene, room - 1); }
};

void ExpectView(const TPortalView& view, uint8_t facing, int target, int width, int height,
                int originX, int originZ, const std::string& what) {
    EXPECT_EQ(view.Facing, facing) << what;
    EXPECT_EQ(view.TargetRoom, target) << what;
    EXPECT_EQ(+view.WidthTiles, width) << what;
    EXPECT_EQ(+view.HeightTiles, height) << what;
    EXPECT_EQ(+view.OriginX, originX) << what;
    EXPECT_EQ(+view.OriginZ, originZ) << what;
}

TEST_F(Doorways, AWallRunOnEachSideGetsAViewOnThePlaneInsideIt) {
    const struct {
        SendDirection Direction;
        int FirstColumn, LastColumn, FirstRow, LastRow; // of the run in the 6 x 7 room
        uint8_t Facing;
        int OriginX, OriginZ;
    } sides[] = {
        {SendDirection::Right, 7, 7, 2, 4, PortalFacingRight, 7, 4},
        {SendDirection::Left, 1, 1, 2, 4, PortalFacingLeft, 1, 2},
        {SendDirection::Front, 2, 4, 6, 6, PortalFacingFront, 2, 6},
        {SendDirection::Back, 2, 4, 1, 1, PortalFacingBack, 2, 1},
    };
    for (const auto& side : sides) {
        project->Clear();
        Add(6, 7, 20, 20);
        Add(6, 6, 0, 0);
        SendRoomTo(*project, side.Direction, 1);
        Select(1);
        tools.SetRoomSide(2);
        for (int c = side.FirstColumn; c <= side.LastColumn; ++c) {
            for (int r = side.FirstRow; r <= side.LastRow; ++r) {
                Floor(c, r);
            }
        }
        const std::vector<Doorway> found = FindDoorways(*project, 1);
        const std::string what = "facing " + std::to_string(side.Facing);
        ASSERT_EQ(found.size(), 1u) << what;
        const Doorway& door = found[0];
        EXPECT_EQ(door.Kind, DoorwayKind::Wall) << what;
        EXPECT_EQ(door.TargetRoom, 2) << what;
        EXPECT_EQ(door.FirstColumn, side.FirstColumn) << what;
        EXPECT_EQ(door.LastColumn, side.LastColumn) << what;
        EXPECT_EQ(door.FirstRow, side.FirstRow) << what;
        EXPECT_EQ(door.LastRow, side.LastRow) << what;
        // Level 20 is y 12288; the room is 4 sector heights (4096 units) high.
        EXPECT_EQ(door.BottomY, 12288) << what;
        EXPECT_EQ(door.TopY, 12288 - 4096) << what;
        ExpectView(door.View, side.Facing, 2, 3, 4, side.OriginX, side.OriginZ, what);
        EXPECT_THAT(FindDoorways(*project, 2), IsEmpty()) << "room 2 has no portal back";
    }
}

TEST_F(Doorways, TheOpeningSpansTheFloorsAndCeilingsOnBothSidesOfItsPlane) {
    Add(6, 6, 20, 20);
    Add(6, 6, 0, 0);
    SendRoomTo(*project, SendDirection::Right, 1);
    Select(1);
    tools.SetRoomSide(2);
    Floor(6, 2, 1); // the doorway's floor is one level up at row 2 ...
    Floor(6, 3);
    Floor(6, 4);
    tools.SetRoomSide(0);
    Floor(5, 4, 1); // ... and inside at row 4
    tools.SelectedShape = 0;
    scene.HeightSelector = 1;
    tools.PutShapes = true;
    for (int row = 2; row <= 4; ++row) { // the ceiling inside is a level lower all along
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(5, row, 6)), true, false);
    }
    std::vector<Doorway> found = FindDoorways(*project, 1);
    ASSERT_EQ(found.size(), 1u);
    // Row 3 opens lowest (both floors at level 0); the lowered ceiling closes it at level 3.
    EXPECT_EQ(found[0].BottomY, 12288);
    EXPECT_EQ(found[0].TopY, 12288 - 3 * 1024);
    // The view stands on its origin sector (row 4, floor 0) and reaches the top: 3 high.
    ExpectView(found[0].View, PortalFacingRight, 2, 3, 3, 6, 4, "raised");

    // A corner joins a run along its side but never makes one alone; a wall portal inside the
    // room makes no doorway.
    tools.SetRoomSide(2);
    Floor(6, 1);
    Floor(3, 3);
    Floor(1, 6);
    found = FindDoorways(*project, 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].FirstRow, 1);
    EXPECT_EQ(found[0].LastRow, 4);
}

TEST_F(Doorways, FloorAndCeilingLinksMakeOneViewAnArea) {
    Add(8, 8, 20, 20);
    Add(8, 8, 0, 0);
    SendRoomTo(*project, SendDirection::Up, 1);
    Add(8, 8, 0, 0);
    SendRoomTo(*project, SendDirection::Down, 1);
    Select(1);
    tools.SetRoomAbove(2);
    for (int column = 3; column <= 4; ++column) {
        Ceiling(column, 5);
    }
    Ceiling(4, 6); // an L: the view covers its bounding rectangle
    Ceiling(7, 2); // a second area toward the same room
    tools.SetRoomAbove(0);
    tools.SetRoomBelow(3);
    tools.PutShapes = false;
    Floor(2, 2);
    tools.PutShapes = true;

    const std::vector<Doorway> found = FindDoorways(*project, 1);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].Kind, DoorwayKind::Floor);
    EXPECT_EQ(found[0].TopY, 12288);
    EXPECT_EQ(found[0].BottomY, 12288);
    ExpectView(found[0].View, PortalFacingFloor, 3, 1, 1, 2, 2, "floor");
    EXPECT_EQ(found[1].Kind, DoorwayKind::Ceiling);
    EXPECT_EQ(found[1].TopY, 12288 - 4096);
    EXPECT_EQ(found[1].BottomY, 12288 - 4096);
    ExpectView(found[1].View, PortalFacingCeiling, 2, 2, 2, 3, 6, "the L");
    ExpectView(found[2].View, PortalFacingCeiling, 2, 1, 1, 7, 2, "second area");
    const ViewSpan span = SpanOfView(found[1].View);
    EXPECT_EQ(span.FirstColumn, 3);
    EXPECT_EQ(span.LastColumn, 4);
    EXPECT_EQ(span.FirstRow, 5);
    EXPECT_EQ(span.LastRow, 6);
}

TEST_F(Doorways, MakePortalViewsForTheCurrentRoomOrAllRooms) {
    Add(6, 6, 20, 20);
    Add(6, 6, 0, 0);
    SendRoomTo(*project, SendDirection::Right, 1);
    Add(6, 6, 0, 0);
    SendRoomTo(*project, SendDirection::Left, 1);
    // Room 1 opens toward rooms 2 and 3; room 2 answers, room 3 does not.
    Select(1);
    tools.SetRoomSide(2);
    Floor(6, 3);
    Floor(6, 4);
    tools.SetRoomSide(3);
    Floor(1, 3);
    Select(2);
    tools.SetRoomSide(1);
    Floor(1, 3);
    Floor(1, 4);
    project->Room(2).PortalViewCount = 2;
    project->Room(2).PortalView(1) = {PortalFacingBack, 0, 3, 1, 1, 1, 2}; // to room 3: kept
    project->Room(2).PortalView(2) = {PortalFacingLeft, 0, 1, 1, 1, 3, 3}; // off: replaced
    project->Room(3).PortalViewCount = 1;
    project->Room(3).PortalView(1) = {PortalFacingRight, 0, 1, 1, 1, 5, 3}; // no doorway back
    project->Room(1).PortalViewCount = 1;
    project->Room(1).PortalView(1) = {PortalFacingFloor, 0, 2, 1, 1, 2, 2};

    Select(1);
    const DocumentOutcome made = MakePortalViews(*project, PortalViewScope::CurrentRoom);
    EXPECT_EQ(made.Message, "");
    EXPECT_TRUE(made.Redraw);
    ASSERT_TRUE(made.ToolBar.has_value());
    EXPECT_EQ(made.ToolBar->PortalViewList, (std::vector<std::string>{"Door #1", "Door #2"}));
    const TEditorRoom& one = project->Room(1);
    ASSERT_EQ(one.PortalViewCount, 2);
    ExpectView(one.PortalView(1), PortalFacingLeft, 3, 1, 4, 1, 3, "room 1 to 3");
    ExpectView(one.PortalView(2), PortalFacingRight, 2, 2, 4, 6, 4, "room 1 to 2");
    const TEditorRoom& two = project->Room(2);
    ASSERT_EQ(two.PortalViewCount, 2);
    EXPECT_EQ(two.PortalView(1).TargetRoom, 3) << "views toward other rooms stay";
    ExpectView(two.PortalView(2), PortalFacingLeft, 1, 2, 4, 1, 3, "room 2 to 1");
    ASSERT_EQ(project->Room(3).PortalViewCount, 1);
    EXPECT_EQ(+project->Room(3).PortalView(1).OriginZ, 5) << "room 3 has no doorway: untouched";

    const DocumentOutcome all = MakePortalViews(*project, PortalViewScope::AllRooms);
    EXPECT_EQ(all.Message, "");
    EXPECT_EQ(project->Room(1).PortalViewCount, 2);
    ASSERT_EQ(project->Room(2).PortalViewCount, 1);
    EXPECT_EQ(project->Room(2).PortalView(1).TargetRoom, 1);
    EXPECT_EQ(project->Room(3).PortalViewCount, 0) << "a room without doorways keeps no view";
}

// The hall (5 high) opens on rows 2 to 5 toward the pool (3 high, a level up), which answers on
// its rows 3 and 4 only: both rooms' views cover the two rows they share and span the same
// opening, and the hall's wall-portal sectors take the pool's floor and ceiling there.
TEST_F(Doorways, TheTwoViewsOfADoorwayCoverTheOpeningBothRoomsShare) {
    AddRoom(*project, scene, RoomAt(6, 6, 20, 20, 20, 5));
    AddRoom(*project, scene, RoomAt(6, 6, 0, 20, 0, 3));
    SendRoomTo(*project, SendDirection::Right, 1);
    project->Room(2).PosY = 21;
    Select(1);
    tools.SetRoomSide(2);
    for (int row = 2; row <= 5; ++row) {
        Floor(6, row);
    }
    Select(2);
    tools.SetRoomSide(1);
    Floor(1, 3);
    Floor(1, 4);
    Select(1);
    ASSERT_EQ(MakePortalViews(*project, PortalViewScope::AllRooms).Message, "");
    ASSERT_EQ(project->Room(1).PortalViewCount, 1);
    ASSERT_EQ(project->Room(2).PortalViewCount, 1);
    const TPortalView& hall = project->Room(1).PortalView(1);
    const TPortalView& pool = project->Room(2).PortalView(1);
    // Each reaches from the floor beyond its origin sector to the opening's top.
    ExpectView(hall, PortalFacingRight, 2, 2, 3, 6, 4, "hall to pool");
    ExpectView(pool, PortalFacingLeft, 1, 2, 4, 1, 3, "pool to hall");
    // The same rows of the world, and the same heights: from the pool's floor (level 21, y
    // 11264) to its ceiling (level 24, y 8192), below the hall's (y 7168).
    EXPECT_EQ(hall.OriginZ + project->Room(1).PosZ, pool.OriginZ + 1 + project->Room(2).PosZ);
    int top[2] = {}, bottom[2] = {};
    ASSERT_TRUE(WallViewSpanY(*project, 1, hall, top[0], bottom[0]));
    ASSERT_TRUE(WallViewSpanY(*project, 2, pool, top[1], bottom[1]));
    EXPECT_EQ(top[0], 8192);
    EXPECT_EQ(bottom[0], 11264);
    EXPECT_EQ(top[1], top[0]);
    EXPECT_EQ(bottom[1], bottom[0]);
    const TEditorRoom& room = project->Room(1);
    for (int row = 3; row <= 4; ++row) {
        const int n = SectorNumber(6, row, 6);
        EXPECT_EQ(FloorY(room, n), 11264) << "row " << row << " frames the opening";
        EXPECT_EQ(CeilingY(room, n), 8192) << "row " << row;
    }
    EXPECT_EQ(CeilingY(room, SectorNumber(6, 2, 6)), 12288 - 5 * 1024)
        << "a wall-portal sector the pool does not answer keeps its heights";
}

TEST_F(Doorways, MoreDoorwaysThanViewsAreRefusedAndNothingChanges) {
    Add(30, 30, 20, 20);
    Add(30, 30, 0, 0);
    SendRoomTo(*project, SendDirection::Right, 1);
    Select(1);
    // 21 floor links to room 2, none touching another.
    tools.SetRoomBelow(2);
    tools.PutShapes = false;
    for (int i = 0; i < 21; ++i) {
        Floor(2 + 2 * (i % 7), 2 + 2 * (i / 7));
    }
    project->Room(1).PortalViewCount = 1;
    project->Room(1).PortalView(1) = {PortalFacingFloor, 0, 2, 1, 1, 2, 2};
    const DocumentOutcome refused = MakePortalViews(*project, PortalViewScope::CurrentRoom);
    EXPECT_EQ(refused.Message, "Room 1 (Room #1) would need 21 portal views, more than the 20 a "
                               "room can hold. No view was changed.");
    EXPECT_TRUE(refused.Refused);
    EXPECT_FALSE(refused.Redraw);
    EXPECT_EQ(project->Room(1).PortalViewCount, 1);
}

} // namespace
} // namespace morvane
