#include "document/sector_room_fixture.h"

#include "document/editor_texts.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "document/shape_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

struct SectorTools : test::SectorRoomFixture {
    DocumentOutcome Floor(int n, bool shift = false) {
        return EditClick(*project, scene, tools, ViewHit::OfSector(n), false, shift);
    }
    DocumentOutcome Ceiling(int n) {
        return EditClick(*project, scene, tools, ViewHit::OfSector(n), true, false);
    }
};

TEST_F(SectorTools, FloorShapesAndTheHeightCheck) {
    TEditorRoom& room = Add(10, 10, 3);
    const int n = SectorNumber(3, 4, 10);
    tools.SelectedShape = 1; // rises 4 clicks: 0 + 1 + (3 - 3) + 0 <= 3
    DocumentOutcome edited = Floor(n);
    EXPECT_EQ(edited.Message, "");
    EXPECT_TRUE(edited.Redraw);
    EXPECT_EQ(room.Sector(n).FloorShape, 1);
    EXPECT_EQ(room.GameSector(n).FloorHeight, 0);

    tools.SelectedShape = 5; // a half slope: its slope entry goes into the floor data index
    scene.HeightSelector = 1;
    EXPECT_EQ(Floor(n).Message, "");
    EXPECT_EQ(room.GameSector(n).FloorHeight, 1);
    EXPECT_EQ(room.GameSector(n).FloorDataIndex, SlopeFloorDataTable[1][0]);

    scene.HeightSelector = 2;
    tools.SelectedShape = 1;
    room.Sector(n).CeilingShape = 4; // 2 + 1 + (3 - 3) + 0.25 > 3
    EXPECT_EQ(Floor(n).Message, InvalidHeightText);
    EXPECT_EQ(room.GameSector(n).FloorHeight, 1) << "a refused sector keeps its values";

    tools.SelectedShape = 0; // flat at a raised level: the sector becomes solid
    room.Sector(n).CeilingShape = 7;
    EXPECT_EQ(Floor(n).Message, "");
    EXPECT_EQ(room.GameSector(n).FloorHeight, 3);
    EXPECT_EQ(room.GameSector(n).CeilingHeight, 3);
    EXPECT_EQ(room.Sector(n).CeilingShape, 0);
    EXPECT_EQ(room.GameSector(n).FloorDataIndex, 0);
}

TEST_F(SectorTools, CeilingHeightsCountFromTheTop) {
    TEditorRoom& room = Add(5, 5, 3);
    scene.HeightSelector = 1;
    tools.SelectedShape = 4;
    EXPECT_EQ(Ceiling(7).Message, "");
    EXPECT_EQ(room.GameSector(7).CeilingHeight, 2);
    EXPECT_EQ(room.Sector(7).CeilingShape, 4);
    tools.SelectedShape = 9; // a full slope hanging one level below the top over a raised floor
    room.GameSector(7).FloorHeight = 1;
    room.Sector(7).FloorShape = 1;
    EXPECT_EQ(Ceiling(7).Message, InvalidHeightText); // 1 + 1 + 1 + 1 > 3
    tools.SelectedShape = 5;
    room.Sector(7).FloorShape = 8;
    EXPECT_EQ(Ceiling(7).Message, ""); // 1 + 0.5 + 1 + 0.5 <= 3
    EXPECT_EQ(room.GameSector(7).FloorDataIndex, SlopeFloorDataTable[2][1]);
}

TEST_F(SectorTools, ReplicationIsHeldToTheGrid) {
    TEditorRoom& room = Add(10, 10);
    tools.ReplicationCount = 1000;
    tools.SelectedShape = 2;
    EXPECT_TRUE(Floor(5).Redraw);
    for (int n = 1; n <= 100; ++n) {
        ASSERT_EQ(room.Sector(n).FloorShape, n >= 5 ? 2 : 0) << "sector " << n;
    }

    TEditorRoom& wide = Add(4, 8);
    tools.ShapeMirror = 6; // "Left-Right": one sector a column
    tools.SelectedShape = 3;
    EXPECT_TRUE(Floor(SectorNumber(3, 2, 4)).Redraw);
    int written = 0;
    for (int n = 1; n <= 32; ++n) {
        const bool expected = SectorRow(n, 4) == 2 && SectorColumn(n, 4) >= 3;
        ASSERT_EQ(wide.Sector(n).FloorShape == 3, expected) << "sector " << n;
        written += expected;
    }
    EXPECT_EQ(written, 6);
}

TEST_F(SectorTools, AFailedHeightCheckKeepsTheSectorsBeforeIt) {
    TEditorRoom& room = Add(6, 6, 4);
    room.GameSector(10).CeilingHeight = 0; // a ceiling in the way of the third replica
    tools.ReplicationCount = 4;
    tools.SelectedShape = 3;
    DocumentOutcome edited = Floor(8);
    EXPECT_EQ(edited.Message, InvalidHeightText);
    EXPECT_FALSE(edited.Redraw);
    EXPECT_EQ(room.Sector(8).FloorShape, 3);
    EXPECT_EQ(room.Sector(9).FloorShape, 3);
    EXPECT_EQ(room.Sector(10).FloorShape, 0);
    EXPECT_EQ(room.Sector(11).FloorShape, 0);
}

TEST_F(SectorTools, ShiftAndLeftRightTurnTheSlopes) {
    TEditorRoom& room = Add(8, 8);
    tools.SelectedShape = 5;
    Floor(10);
    EXPECT_EQ(room.Sector(10).FloorShape, 5);
    Floor(11, true);
    EXPECT_EQ(room.Sector(11).FloorShape, 11) << "Shift turns it in Back-Front mode";
    tools.ShapeMirror = 6;
    Floor(12);
    EXPECT_EQ(room.Sector(12).FloorShape, 11) << "Left-Right turns it";
    Floor(13, true);
    EXPECT_EQ(room.Sector(13).FloorShape, 5) << "Shift in Left-Right mode places it unturned";
    tools.SelectedShape = 4;
    Floor(14);
    EXPECT_EQ(room.Sector(14).FloorShape, 4) << "flat blocks are never turned";
}

TEST_F(SectorTools, TexturesAndOnlyTheTickedKinds) {
    TEditorRoom& room = Add(5, 5);
    tools.FloorTexture = 12;
    tools.FloorWalls = 0;
    tools.CeilingTexture = 30;
    tools.CeilingWalls = 31;
    tools.PutShapes = false;
    tools.SelectedShape = 3;
    Floor(7);
    EXPECT_EQ(room.Sector(7).FloorShape, 0);
    EXPECT_EQ(+room.Sector(7).FloorSurface.Textures[2], 11);
    EXPECT_EQ(+room.Sector(7).FloorSurface.Textures[0], -1);
    EXPECT_EQ(+room.Sector(7).FloorSurface.Textures[4], -1);
    EXPECT_EQ(+room.Sector(7).CeilingSurface.Textures[2], 0) << "a floor click leaves the ceiling";
    Ceiling(7);
    EXPECT_EQ(+room.Sector(7).CeilingSurface.Textures[2], 29);
    EXPECT_EQ(+room.Sector(7).CeilingSurface.Textures[3], 30);
}

TEST_F(SectorTools, PortalFieldsAreCheckedInOrder) {
    Add(5, 5);
    Add(5, 5);
    TEditorRoom& room = Add(5, 5); // room 3 of 3
    tools.SetRoomAbove(3);
    tools.SetRoomBelow(4);
    EXPECT_EQ(Floor(7).Message, InvalidRoomAboveText);
    tools.SetRoomAbove(1);
    EXPECT_EQ(Floor(7).Message, InvalidRoomBelowText);
    tools.SetRoomSide(9);
    EXPECT_EQ(Floor(7).Message, InvalidRoomSideText);
    EXPECT_EQ(room.Sector(7).FloorShape, 0) << "nothing written";
    tools.PutPortals = false;
    EXPECT_EQ(Floor(7).Message, "") << "portal fields are only checked when they are put";
}

TEST_F(SectorTools, FloorAndCeilingClicksClearTheirOwnLinksOnly) {
    Add(5, 5);
    Add(5, 5);
    TEditorRoom& room = Add(5, 5);
    tools.PutShapes = tools.PutTextures = false;

    tools.SetRoomSide(2);
    Floor(7);
    EXPECT_EQ(room.GameSector(7).RoomAbove, 1);
    EXPECT_EQ(+room.Sector(7).PortalKind, PortalKindSide);
    EXPECT_EQ(room.GameSector(7).RoomBelow, NoRoom);
    tools.SetRoomSide(0);
    Ceiling(7);
    EXPECT_EQ(+room.Sector(7).PortalKind, PortalKindSide) << "a ceiling click keeps a side portal";
    Floor(7);
    EXPECT_EQ(room.GameSector(7).RoomAbove, NoRoom);
    EXPECT_EQ(+room.Sector(7).PortalKind, PortalKindAbove);

    tools.SetRoomAbove(1);
    Ceiling(8);
    EXPECT_EQ(room.GameSector(8).RoomAbove, 0);
    EXPECT_EQ(+room.Sector(8).PortalKind, PortalKindAbove);
    tools.SetRoomAbove(0);
    tools.SetRoomBelow(2);
    Floor(8);
    EXPECT_EQ(room.GameSector(8).RoomAbove, 0) << "a floor click keeps the room above";
    EXPECT_EQ(room.GameSector(8).RoomBelow, 1);
    tools.SetRoomBelow(0);
    Ceiling(8);
    EXPECT_EQ(room.GameSector(8).RoomAbove, NoRoom);
    EXPECT_EQ(+room.Sector(8).PortalKind, PortalKindAbove);
    EXPECT_EQ(room.GameSector(8).RoomBelow, 1) << "a ceiling click keeps the room below";
}

TEST_F(SectorTools, PortalFieldsKeepTheSideApart) {
    tools.SetRoomAbove(2);
    tools.SetRoomBelow(4);
    tools.SetRoomSide(5);
    EXPECT_EQ(tools.RoomAbove(), 0);
    EXPECT_EQ(tools.RoomBelow(), 0);
    tools.SetRoomAbove(3);
    EXPECT_EQ(tools.RoomSide(), 0);
    EXPECT_EQ(tools.RoomBelow(), 0);
    tools.SetRoomBelow(6);
    EXPECT_EQ(tools.RoomAbove(), 3) << "above and below may both be set";
}

TEST_F(SectorTools, ClickingTheNeighbourMakesItCurrent) {
    Add(5, 5);
    Add(6, 6);
    scene.NeighbourRoom = 1;
    DocumentOutcome swapped =
        EditClick(*project, scene, tools, ViewHit::OfNeighbourRoom(), false, false);
    EXPECT_EQ(scene.DrawnRoom, 1);
    EXPECT_EQ(scene.NeighbourRoom, 2);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(swapped.NeighbourField, 2);
    EXPECT_EQ(swapped.ToolBar->SelectedRoom, 0);
    EXPECT_FALSE(EditClick(*project, scene, tools, ViewHit::Nothing(), false, false).Redraw);
    EXPECT_FALSE(Floor(26).Redraw) << "room 1 has 25 sectors";
}

TEST_F(SectorTools, AltClickPlacesTheSelectedPortalOrigin) {
    TEditorRoom& room = Add(6, 6);
    room.PortalViewCount = 2;
    EXPECT_TRUE(PortalOriginClick(*project, ViewHit::OfSector(SectorNumber(4, 6, 6)), 2).Redraw);
    EXPECT_EQ(+room.PortalView(2).OriginX, 4);
    EXPECT_EQ(+room.PortalView(2).OriginZ, 6);
    EXPECT_FALSE(PortalOriginClick(*project, ViewHit::OfSector(5), 0).Redraw) << "no view selected";
    EXPECT_FALSE(PortalOriginClick(*project, ViewHit::OfSector(5), 3).Redraw);
    EXPECT_FALSE(PortalOriginClick(*project, ViewHit::OfNeighbourRoom(), 1).Redraw);
}

TEST_F(SectorTools, SpaceReadsTheSectorBack) {
    TEditorRoom& room = Add(5, 5);
    tools.SetRoomAbove(7);
    ReadSectorOutcome read = ReadSector(*project, ViewHit::OfSector(SectorNumber(2, 5, 5)), tools);
    EXPECT_TRUE(read.Read);
    EXPECT_EQ(read.StatusText, " Column:2 Row:5");
    EXPECT_EQ(tools.RoomAbove(), 0);
    EXPECT_EQ(tools.RoomSide(), 0);
    EXPECT_EQ(tools.RoomBelow(), 0);
    EXPECT_EQ(tools.FloorTexture, 1);

    TEditorSector& s = room.Sector(7);
    s.FloorSurface.Textures[2] = 40;
    s.FloorSurface.Textures[0] = -1;
    s.CeilingSurface.Textures[2] = 8;
    s.PortalKind = PortalKindSide;
    room.GameSector(7).RoomAbove = 4;
    ReadSector(*project, ViewHit::OfSector(7), tools);
    EXPECT_EQ(tools.FloorTexture, 41);
    EXPECT_EQ(tools.FloorWalls, 0);
    EXPECT_EQ(tools.CeilingTexture, 9);
    EXPECT_EQ(tools.RoomSide(), 5);
    room.GameSector(7).RoomBelow = 1;
    ReadSector(*project, ViewHit::OfSector(7), tools);
    EXPECT_EQ(tools.RoomSide(), 0) << "setting Room Below clears Room Side";
    EXPECT_EQ(tools.RoomBelow(), 2);
    EXPECT_FALSE(ReadSector(*project, ViewHit::OfNeighbourRoom(), tools).Read);
}

TEST_F(SectorTools, HeightSelectorStaysInsideTheRoom) {
    Add(5, 5, 4);
    scene.HeightSelector = 10;
    ClampHeightSelector(scene, *project);
    EXPECT_EQ(scene.HeightSelector, 3);
    scene.HeightSelector = -1;
    ClampHeightSelector(scene, *project);
    EXPECT_EQ(scene.HeightSelector, 0);
    EXPECT_EQ(StepHeightSelector(scene, *project, 1), 2);
    EXPECT_EQ(StepHeightSelector(scene, *project, -1), 1);
    EXPECT_EQ(StepHeightSelector(scene, *project, -1), 1);
}

} // namespace
} // namespace morvane
