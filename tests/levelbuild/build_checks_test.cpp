#include "levelbuild/build_fixture.h"

#include "document/doorways.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "level/level_check.h"
#include "level/level_reader.h"
#include "levelbuild/build_checks.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace morvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::vector<std::string> Lines(const std::vector<LevelFinding>& findings) {
    std::vector<std::string> lines;
    for (const LevelFinding& finding : findings) {
        lines.push_back(FormatFinding(finding));
    }
    return lines;
}

// A hall (room 1, 8 x 8 at level 20, 4 high), a pool beside it (room 2, sent to its right)
// joined by wall portals in rows 3 to 5, and a gallery above it (room 3) joined by a ceiling
// link at column 4, row 4; the portal views are made from the doorways.
class BuildChecks : public test::BuildFixture {
protected:
    void SetUp() override {
        Add(8, 8, 10, 20, 10, 4).Name.Assign("Hall");
        Add(6, 6, 0, 20, 0, 4).Name.Assign("Pool");
        SendRoomTo(*project, SendDirection::Right, 1);
        Add(8, 8, 0, 20, 0, 4).Name.Assign("Gallery");
        SendRoomTo(*project, SendDirection::Up, 1);
        SectorToolState tools;
        tools.SelectedShape = 0;
        Select(1);
        tools.SetRoomSide(2);
        for (int row = 3; row <= 5; ++row) {
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(8, row, 8)), false,
                      false);
        }
        tools.SetRoomAbove(3);
        tools.PutShapes = false;
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(4, 4, 8)), true, false);
        Select(2);
        tools.PutShapes = true;
        tools.SetRoomSide(1);
        for (int row = 3; row <= 5; ++row) {
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(1, row, 6)), false,
                      false);
        }
        Select(3);
        tools.SetRoomBelow(1);
        tools.PutShapes = false;
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(4, 4, 8)), false, false);
        MakePortalViews(*project, PortalViewScope::AllRooms);
        Select(1);
    }
    void Select(int room) { SelectRoom(*project, scene, room - 1); }
    TPortalView& HallView() { return project->Room(1).PortalView(1); }
};

TEST_F(BuildChecks, DoorwaysThatAnswerEachOtherGiveNoWarning) {
    ASSERT_EQ(project->Room(1).PortalViewCount, 2);
    EXPECT_EQ(HallView().Facing, PortalFacingRight);
    EXPECT_THAT(Lines(CheckOpenings(*project)), IsEmpty());
    EXPECT_THAT(Lines(CheckPortalViews(*project)), IsEmpty());
}

TEST_F(BuildChecks, OpeningsWithoutAnAnswerOnTheOtherSide) {
    project->Room(2).Sector(SectorNumber(1, 5, 6)).PortalKind = PortalKindAbove;
    project->Room(2).GameSector(SectorNumber(1, 5, 6)).RoomAbove = NoRoom;
    EXPECT_THAT(Lines(CheckOpenings(*project)),
                ElementsAre("warning: room 1 (Hall), sector (column 8, row 5): its wall portal "
                            "to room 2 (Pool) has no wall portal back: room 2 (Pool) needs one "
                            "at column 1, row 5, where it overlaps this room's sector inside, "
                            "or Lara cannot walk back. Give that sector a wall portal to room "
                            "1, or place the rooms so that they overlap by two sectors."));

    project->Room(2).Sector(SectorNumber(1, 5, 6)).PortalKind = PortalKindSide;
    project->Room(2).GameSector(SectorNumber(1, 5, 6)).RoomAbove = 0;
    project->Room(3).GameSector(SectorNumber(4, 4, 8)).RoomBelow = NoRoom;
    EXPECT_THAT(Lines(CheckOpenings(*project)),
                ElementsAre("warning: room 1 (Hall), sector (column 4, row 4): its link to room "
                            "3 (Gallery) above has no link back: room 3 (Gallery) needs a room "
                            "below link to room 1 at column 4, row 4, or the doorway works one "
                            "way only. Set it there."));

    project->Room(3).GameSector(SectorNumber(4, 4, 8)).RoomBelow = 0;
    project->Room(3).PosY = 25;
    EXPECT_THAT(Lines(CheckOpenings(*project)),
                ElementsAre("warning: room 1 (Hall), sector (column 4, row 4): its ceiling (y "
                            "8192) does not meet the floor of room 3 (Gallery) above (y 7168, "
                            "column 4, row 4): passing through jumps 1024 units. Move one of "
                            "the rooms so that they meet (Send to Up).",
                            HasSubstr("room 3 (Gallery), sector (column 4, row 4): its floor (y "
                                      "7168) does not meet the ceiling of room 1 (Hall) below")));
}

TEST_F(BuildChecks, PortalViewsOffTheirDoorwayOrWithoutAViewBack) {
    auto viewLines = [&] { return Lines(CheckPortalViews(*project)); };
    const TPortalView made = HallView();
    HallView().OriginX = 7; // one sector inside the room, as the demo project had it
    EXPECT_THAT(viewLines(),
                ElementsAre("warning: room 1 (Hall), view Door #1: the view to room 2 (Pool) "
                            "lies off the doorway to that room: the doorway shows nothing. It "
                            "should be a Right view with its origin at column 8, row 5, 3 wide "
                            "and 4 high (Make Portal Views makes it)."));
    HallView() = made;
    HallView().WidthTiles = 1;
    EXPECT_THAT(viewLines(), ElementsAre(HasSubstr("covers only part of its doorway (columns 8 "
                                                   "to 8, rows 3 to 5)")));
    HallView() = made;
    HallView().HeightTiles = 2;
    EXPECT_THAT(viewLines(), ElementsAre(HasSubstr("spans y 10240 to 12288 but its doorway opens "
                                                   "from y 8192 to 12288")));
    HallView() = made;
    HallView().Facing = 0;
    EXPECT_THAT(viewLines(), ElementsAre(HasSubstr("has no facing (0)")));
    HallView() = made;

    Add(4, 4, 40, 20, 40, 4).Name.Assign("Shed");
    HallView().TargetRoom = 4;
    EXPECT_THAT(viewLines(),
                ElementsAre(HasSubstr("view Door #1: the view shows room 4 (Shed), but this room "
                                      "has no opening to it"),
                            HasSubstr("view Door #1: the view to room 4 (Shed) has no view back "
                                      "from that room"),
                            HasSubstr("room 2 (Pool), view Door #1: the view to room 1 (Hall) "
                                      "has no view back")));
    HallView() = made;

    // The gallery's linked floor a level up: its floor view, at the room's bottom, is off it.
    TEditorRoom& gallery = project->Room(3);
    gallery.Sector(SectorNumber(4, 4, 8)).FloorShape = 1;
    EXPECT_THAT(viewLines(),
                ElementsAre("warning: room 3 (Gallery), view Door #1: the view to room 1 (Hall) "
                            "lies on the room's bottom (y 8192) but its linked sectors' floors "
                            "lie at y 7168: the view is off the opening. Put those floors at the "
                            "room's bottom."));
}

TEST_F(BuildChecks, RoomsNearACapacity) {
    auto built = std::make_unique<TLevelData>();
    built->NumRooms = 3;
    built->Rooms[0].NumVertices = 1799;
    built->Rooms[0].NumRectangles = 2700;
    built->Rooms[2].NumTriangles = 1250;
    EXPECT_THAT(Lines(CheckRoomCapacities(*project, *built)),
                ElementsAre("warning: room 1 (Hall): the room uses 2700 of the 3000 rectangles a "
                            "room can have: a little more detail and the build stops. Split the "
                            "room or make it simpler.",
                            HasSubstr("room 3 (Gallery): the room uses 1250 of the 1250 "
                                      "triangles")));
    built->Rooms[0].NumVertices = 1800;
    EXPECT_THAT(Lines(CheckRoomCapacities(*project, *built))[0],
                HasSubstr("uses 1800 of the 2000 vertices"));
}

TEST_F(BuildChecks, TheReportAndTheWarningsAreKeptApartFromTheMessages) {
    const std::string base = MakeBase(FormatTR3, "base.tr3");
    BuildResult result = Build({base, dir.Path("out.tr3"), "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(result.Messages, IsEmpty());
    EXPECT_THAT(Lines(result.Warnings), IsEmpty());
    auto out = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("out.tr3")).Status, ReadStatus::Done);
    int vertices = 0;
    for (int r = 0; r < out->NumRooms; ++r) {
        vertices += out->Rooms[r].NumVertices;
    }
    EXPECT_EQ(result.Report,
              "Level written: " + dir.Path("out.tr3") + " \u2014 3 rooms, " +
                  std::to_string(vertices) + " vertices, " + std::to_string(out->NumBoxes) +
                  " boxes, " + std::to_string(out->NumOverlaps) + " overlap words, " +
                  std::to_string(out->NumFloorData) + " floor-data words, 0 warnings");

    HallView().OriginX = 7;
    result = Build({base, dir.Path("out.tr3"), "", "", dir.Path("none.scp")});
    EXPECT_THAT(result.Messages,
                ElementsAre("Scripting file " + dir.Path("none.scp") + " not found"));
    // The project's check and the level's find the fault each in its own way.
    EXPECT_THAT(Lines(result.Warnings),
                ElementsAre(HasSubstr("room 1 (Hall), view Door #1: the view to room 2 (Pool) "
                                      "lies off the doorway"),
                            HasSubstr("room 1 (Hall), portal 1: the portal to room 2 (Pool) has "
                                      "no portal back"),
                            HasSubstr("room 2 (Pool), portal 1: the portal to room 1 (Hall) has "
                                      "no portal back")));
    EXPECT_THAT(result.Report, HasSubstr(" floor-data words, 3 warnings"));

    result = Build({base, "", "", "", ""});
    EXPECT_FALSE(result.Written);
    EXPECT_EQ(result.Report, "");
}

// What would break the level in the game stops the write, naming its place; a side file that
// brings such a fault is taken back out and the level is written without it; sector textures
// beyond the level's are reported with their room and sector.
TEST_F(BuildChecks, ErrorsStopTheWriteAndSideFilesThatBringThemAreNotMerged) {
    const std::string base = MakeBase(FormatTR3, "base.tr3");
    ASSERT_TRUE(Build({base, dir.Path("clean.tr3"), "", "", ""}).Written);
    auto clean = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*clean, dir.Path("clean.tr3")).Status, ReadStatus::Done);
    const TLevelRoom& hall = clean->Rooms[0];

    // A meshes file whose first rectangle names a vertex the room does not have.
    test::ByteBuilder meshes;
    meshes.U8(16).Raw("Quillon MSH file", 16).U32(FormatTR3).U16(1).U16(hall.NumVertices);
    meshes.Raw(hall.Vertices2, sizeof(TVertex2) * hall.NumVertices).U16(hall.NumRectangles);
    meshes.U16(hall.NumVertices)
        .Raw(reinterpret_cast<const uint8_t*>(hall.Rectangles) + 2,
             sizeof(TRectangle) * hall.NumRectangles - 2);
    meshes.U16(hall.NumTriangles).Raw(hall.Triangles, sizeof(TTriangle) * hall.NumTriangles);
    test::WriteFileBytes(dir.Path("bad.msh"), meshes.Get());
    // An items table whose floor data has an entry of no known function, linked to a sector.
    test::ByteBuilder items;
    items.U8(7).Raw("QUILLON", 7).U32(0).U16(1).U16(0x801F).U32(0).U16(0);
    items.U16(1).U16(SectorNumber(3, 3, 8)).U16(0);
    test::WriteFileBytes(dir.Path("bad.itm"), items.Get());

    // A script whose trigger names an item the level does not have.
    const std::string script =
        "Start_Trigger(1,3,3)\nDo_with_Activate(62,0,0)\nItem(9)\nEnd()\nEnd_Trigger()\n";
    test::WriteFileBytes(dir.Path("bad.scp"), test::Bytes(script.begin(), script.end()));

    BuildResult result = Build(
        {base, dir.Path("out.tr3"), dir.Path("bad.itm"), dir.Path("bad.msh"), dir.Path("bad.scp")});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(result.Messages,
                ElementsAre(HasSubstr("Items file " + dir.Path("bad.itm") +
                                      " would break the level (error: room 1 (Hall), sector "
                                      "(column 3, row 3): "),
                            HasSubstr("Meshes file " + dir.Path("bad.msh") +
                                      " would break the level (error: room 1 (Hall): 1 "
                                      "rectangle uses vertices beyond the room's "),
                            HasSubstr("Scripting file " + dir.Path("bad.scp") +
                                      " would break the level (error: room 1 (Hall), sector "
                                      "(column 3, row 3): a trigger here names item ")));
    for (const std::string& message : result.Messages) {
        EXPECT_THAT(message, ::testing::EndsWith("); it was not merged"));
    }
    auto out = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("out.tr3")).Status, ReadStatus::Done);
    EXPECT_EQ(out->Rooms[0].NumRectangles, hall.NumRectangles);
    EXPECT_EQ(out->Rooms[0].Rectangles[0].Vertices[0], hall.Rectangles[0].Vertices[0])
        << "the meshes file was taken back out";
    EXPECT_EQ(out->NumFloorData, clean->NumFloorData) << "and the items table and the script";
    EXPECT_FALSE(HasErrors(CheckLevel(*out)));

    // A sound items table (Lara and a second item at her place) stays merged when the meshes
    // file after it is taken back out.
    TItem2 second = clean->Items2[0];
    second.Type = 1;
    test::ByteBuilder good;
    good.U8(7).Raw("QUILLON", 7).U32(2).Raw(&clean->Items2[0], sizeof(TItem2));
    good.Raw(&second, sizeof(TItem2)).U16(0).U32(0).U16(0);
    test::WriteFileBytes(dir.Path("good.itm"), good.Get());
    result = Build({base, dir.Path("kept.tr3"), dir.Path("good.itm"), dir.Path("bad.msh"), ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(result.Messages, ElementsAre(HasSubstr("Meshes file " + dir.Path("bad.msh"))));
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("kept.tr3")).Status, ReadStatus::Done);
    EXPECT_EQ(out->NumItems, 2u) << "the items table merged before the meshes file is kept";
    EXPECT_EQ(out->Items2[1].Type, 1);
    EXPECT_EQ(out->Rooms[0].Rectangles[0].Vertices[0], hall.Rectangles[0].Vertices[0]);

    // A floor face with a texture the base level does not have: the level check's error about
    // the face stops the write; the project's check names the sector.
    project->Room(1).Sector(SectorNumber(3, 3, 8)).FloorSurface.Textures[2] = 5000;
    result = Build({base, dir.Path("none.tr3"), "", "", ""});
    EXPECT_FALSE(result.Written);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("none.tr3")));
    EXPECT_THAT(Lines(result.Warnings),
                ElementsAre(HasSubstr("room 1 (Hall), sector (column 3, row 3): texture 5001 is "
                                      "beyond the level's ")));
    ASSERT_EQ(result.Messages.size(), 1u) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(result.Messages[0], ::testing::StartsWith("The level was not written: 1 error "
                                                          "would break it in the game:\nerror: "
                                                          "room 1 (Hall)"));
}

} // namespace
} // namespace morvane
