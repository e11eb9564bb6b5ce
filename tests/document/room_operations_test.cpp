#include "document/editor_texts.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

struct Fixture : ::testing::Test {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;

    TEditorRoom& Add(int length, int width, int y = 32, int height = 3,
                     const std::string& name = "") {
        RoomDialogValues values;
        values.Long = length;
        values.Width = width;
        values.Y = y;
        values.Height = height;
        values.Name = name.empty() ? NextRoomName(*project) : name;
        EXPECT_EQ(AddRoom(*project, scene, values).Message, "");
        return project->Current();
    }
};

using RoomOperations = Fixture;

TEST_F(RoomOperations, AddBuildsAGridWithASolidBorder) {
    RoomDialogValues values;
    values.Long = 31;
    values.Width = 31;
    values.Name = NextRoomName(*project);
    values.Height = 5;
    values.AmbientLight = 9;
    values.FloorTop = 4;
    values.FloorWalls = 2;
    values.CeilingTop = 0; // left out
    values.CeilingWalls = 7;
    DocumentOutcome added = AddRoom(*project, scene, values);
    EXPECT_TRUE(added.Redraw);
    EXPECT_TRUE(added.FrameRoom);
    ASSERT_TRUE(added.ToolBar.has_value());
    EXPECT_EQ(added.ToolBar->CurrentRoomLabel, "Room #1");
    EXPECT_EQ(added.ToolBar->PosX, 100);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(scene.DrawnRoom, 1);

    const TEditorRoom& room = project->Room(1);
    ASSERT_EQ(room.SectorCount(), 961);
    int solid = 0;
    for (int n = 1; n <= 961; ++n) {
        const TGameSector& g = room.GameSector(n);
        ASSERT_EQ(g.CeilingHeight, 5);
        ASSERT_EQ(g.BoxIndex, 0xFFFF);
        ASSERT_EQ(g.RoomAbove, NoRoom);
        const int x = SectorColumn(n, 31), z = SectorRow(n, 31);
        const bool border = x == 1 || x == 31 || z == 1 || z == 31;
        ASSERT_EQ(g.FloorHeight, border ? 5 : 0) << "sector " << n;
        solid += border;
    }
    EXPECT_EQ(solid, 120);
    const TEditorSector& s = room.Sector(500);
    EXPECT_EQ(+s.FloorSurface.Textures[2], 3);
    EXPECT_EQ(+s.FloorSurface.Textures[0], 1);
    EXPECT_EQ(+s.FloorSurface.Textures[4], 1);
    EXPECT_EQ(+s.CeilingSurface.Textures[2], -1);
    EXPECT_EQ(+s.CeilingSurface.Textures[3], 6);
    EXPECT_EQ(s.CeilingSurface.Lights[4], 9);
    EXPECT_EQ(room.AmbientIntensity, 9);
}

TEST_F(RoomOperations, AnInvalidHeightKeepsWhatTheSlotHeld) {
    Add(10, 10, 32, 3, "first");
    Add(4, 6, 32, 3, "second");
    project->Room(2).GameSector(8).FloorHeight = 2;
    DeleteRoom(*project, scene);
    TEditorRoom& again = Add(10, 10, 60, 10, "too tall");
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(again.Name.Str(), "too tall");
    EXPECT_EQ(again.PosY, 60);
    EXPECT_EQ(again.Height, 10);
    EXPECT_EQ(again.ZSectors, 4) << "the grid of the deleted room stays";
    EXPECT_EQ(again.GameSector(8).FloorHeight, 2);
}

TEST_F(RoomOperations, AddAndCloneAreRefusedAt128Rooms) {
    for (int r = 0; r < MaxRooms; ++r) {
        Add(3, 3);
    }
    EXPECT_TRUE(ProjectIsFull(*project));
    EXPECT_EQ(NextRoomName(*project), "Room #129");
    RoomDialogValues values;
    values.Name = "one too many";
    DocumentOutcome refused = AddRoom(*project, scene, values);
    EXPECT_EQ(refused.Message, TooManyRoomsText);
    EXPECT_TRUE(refused.Refused);
    EXPECT_FALSE(refused.Redraw);
    EXPECT_EQ(CloneRoom(*project).Message, TooManyRoomsText);
    EXPECT_TRUE(CloneRoom(*project).Refused);
    EXPECT_EQ(project->RoomCount, 128);
    EXPECT_EQ(project->Room(128).Name.Str(), "Room #128");
}

TEST_F(RoomOperations, PropertiesKeepSectorsUnlessRebuilt) {
    TEditorRoom& room = Add(6, 5);
    room.GameSector(9).FloorHeight = 2;
    const RoomDialogValues shown = PropertiesDialogValues(*project);
    EXPECT_EQ(shown.Long, 6);
    EXPECT_EQ(shown.Width, 5);
    EXPECT_EQ(shown.FloorTop, 1);

    RoomDialogValues edited = shown;
    edited.Name = "Renamed";
    edited.X = 40;
    PropertiesOutcome applied = ApplyRoomProperties(*project, shown, edited, false);
    EXPECT_FALSE(applied.AskRebuild);
    EXPECT_EQ(applied.Window.ToolBar->RoomList, std::vector<std::string>{"Renamed"});
    EXPECT_EQ(room.PosX, 40);
    EXPECT_EQ(room.GameSector(9).FloorHeight, 2);

    edited.AmbientLight = 25;
    EXPECT_FALSE(ApplyRoomProperties(*project, shown, edited, false).AskRebuild);
    for (int n = 1; n <= 30; ++n) {
        ASSERT_EQ(room.Sector(n).FloorSurface.Lights[0], 25);
        ASSERT_EQ(room.Sector(n).CeilingSurface.Lights[4], 25);
    }
    EXPECT_EQ(room.GameSector(9).FloorHeight, 2);

    EXPECT_TRUE(ApplyRoomProperties(*project, shown, edited, true).AskRebuild);
    edited.Long = 8;
    EXPECT_TRUE(ApplyRoomProperties(*project, shown, edited, false).AskRebuild);
    RebuildCurrentRoom(*project, edited);
    EXPECT_EQ(room.ZSectors, 8);
    EXPECT_EQ(room.GameSector(9).FloorHeight, 3) << "sector 9 is on the border of the new grid";
    EXPECT_EQ(room.GameSector(10).FloorHeight, 0);
}

TEST_F(RoomOperations, PropertiesWithoutRoomsDoNothing) {
    EXPECT_FALSE(project->HasCurrentRoom());
    RoomDialogValues values;
    PropertiesOutcome applied = ApplyRoomProperties(*project, values, values, true);
    EXPECT_FALSE(applied.AskRebuild);
    EXPECT_FALSE(applied.Window.ToolBar.has_value());
    EXPECT_EQ(project->Room(1).PosX, 0);
}

TEST_F(RoomOperations, DeleteCloneAndSelect) {
    Add(3, 3, 32, 3, "one");
    EXPECT_FALSE(DeleteRoom(*project, scene).Redraw) << "the only room stays";
    EXPECT_EQ(project->RoomCount, 1);

    TEditorRoom& two = Add(4, 5, 20, 6, "two");
    two.PortalViewCount = 2;
    two.PortalView(2).OriginX = 4;
    two.GameSector(7).FloorHeight = 3;
    DocumentOutcome cloned = CloneRoom(*project);
    EXPECT_FALSE(cloned.Redraw);
    EXPECT_EQ(cloned.ToolBar->RoomList, (std::vector<std::string>{"one", "two", "two"}));
    EXPECT_EQ(project->CurrentRoom, 2) << "the cloned room stays current";
    const TEditorRoom& copy = project->Room(3);
    EXPECT_EQ(copy.PosX, 101);
    EXPECT_EQ(copy.PosZ, 101);
    EXPECT_EQ(copy.PosY, 20);
    EXPECT_EQ(copy.PortalViewCount, 2);
    EXPECT_EQ(+copy.PortalView(2).OriginX, 4);
    EXPECT_EQ(copy.GameSector(7).FloorHeight, 3);

    EXPECT_TRUE(SelectRoom(*project, scene, 0).Redraw);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(scene.DrawnRoom, 1);
    EXPECT_FALSE(SelectRoom(*project, scene, 3).Redraw) << "no fourth entry";
    EXPECT_FALSE(SelectRoom(*project, scene, -1).Redraw);
    EXPECT_EQ(project->CurrentRoom, 1);

    DocumentOutcome deleted = DeleteRoom(*project, scene);
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(project->CurrentRoom, 2);
    EXPECT_EQ(scene.DrawnRoom, 2);
    EXPECT_EQ(deleted.ToolBar->SelectedRoom, 1);
}

TEST_F(RoomOperations, SendToPlacesTheRoomAgainstTheNeighbour) {
    TEditorRoom& neighbour = Add(6, 8, 2, 4, "neighbour");
    neighbour.PosX = 10;
    neighbour.PosZ = 1;
    TEditorRoom& moved = Add(10, 5, 40, 5, "moved");
    struct Case {
        SendDirection Direction;
        int X, Y, Z;
    };
    const Case cases[] = {
        {SendDirection::Front, 10, 2, 5}, // 1 + 6 - 2
        {SendDirection::Back, 10, 2, 0},  // 1 - 10 + 2, held at 0
        {SendDirection::Left, 7, 2, 1},   // 10 - 5 + 2
        {SendDirection::Right, 16, 2, 1}, // 10 + 8 - 2
        {SendDirection::Down, 10, 1, 1},  // 2 - 5, held at 1
        {SendDirection::Up, 10, 6, 1},    // 2 + 4
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SendRoomTo(*project, c.Direction, 1).Redraw);
        EXPECT_EQ(+moved.PosX, c.X) << static_cast<int>(c.Direction);
        EXPECT_EQ(+moved.PosY, c.Y) << static_cast<int>(c.Direction);
        EXPECT_EQ(+moved.PosZ, c.Z) << static_cast<int>(c.Direction);
    }
    neighbour.PosY = 58;
    SendRoomTo(*project, SendDirection::Up, 1);
    EXPECT_EQ(moved.PosY, 59) << "held so that the room ends at level 64";
    EXPECT_FALSE(SendRoomTo(*project, SendDirection::Up, 0).Redraw);
    EXPECT_FALSE(SendRoomTo(*project, SendDirection::Up, 3).Redraw);
}

TEST_F(RoomOperations, NewClearsTheDocumentAndTheView) {
    Add(3, 3);
    scene.NeighbourRoom = 1;
    scene.HeightSelector = 2;
    DocumentOutcome cleared = NewProject(*project, scene);
    EXPECT_EQ(project->RoomCount, 0);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(scene.DrawnRoom, 1);
    EXPECT_EQ(scene.NeighbourRoom, 0);
    EXPECT_EQ(scene.HeightSelector, 0);
    EXPECT_TRUE(cleared.ToolBar->RoomList.empty());
    EXPECT_EQ(cleared.ToolBar->PosY, 1);
    EXPECT_EQ(cleared.ToolBar->CurrentRoomLabel, "None");
    EXPECT_EQ(cleared.NeighbourField, 0);
}

} // namespace
} // namespace morvane
