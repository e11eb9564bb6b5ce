#include "levelbuild/build_fixture.h"

#include "document/portal_views.h"
#include "document/room_limits.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "document/shape_table.h"
#include "level/level_check.h"
#include "level/level_reader.h"
#include "levelbuild/level_usage.h"
#include "levelbuild/slope_floor_data.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace morvane {
namespace {

using test::BuildFixture;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

using BuildPipeline = BuildFixture;

TEST_F(BuildPipeline, RoomPositionHeightsAndThePlayer) {
    const std::string base = MakeBase(FormatTR1, "BASE.PHD");
    TEditorRoom& room = Add(3, 3, 2, 32, 5, 4);
    room.AmbientIntensity = 0x1207;
    room.Sky = 1;
    BuildResult result = Build({base, dir.Path("OUT.PHD"), "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_TRUE(result.Messages.empty());
    EXPECT_TRUE(result.BaseLevelRead);

    auto out = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("OUT.PHD")).Status, ReadStatus::Done);
    ASSERT_EQ(out->NumRooms, 1);
    const TLevelRoom& built = out->Rooms[0];
    EXPECT_EQ(+built.RoomInfo.X, 2048);
    EXPECT_EQ(+built.RoomInfo.Z, 5120);
    EXPECT_EQ(+built.RoomInfo.YBottom, 0);
    EXPECT_EQ(+built.RoomInfo.YTop, -4096);
    EXPECT_EQ(built.AmbientIntensity >> 8, 0x07);
    EXPECT_EQ(built.RoomFlags, RoomFlagSky);
    EXPECT_EQ(built.AlternateRoom, -1);
    // Level 32 is the world's y 0: an open floor is 0 clicks, the ceiling 16 clicks above.
    EXPECT_EQ(built.Sectors[4].FloorHeight, 0);
    EXPECT_EQ(built.Sectors[4].CeilingHeight, -16);
    ASSERT_EQ(out->NumItems, 1u);
    // Her usual spot (3072, 1536 into the room) lies outside a 3 x 3 room: she stands in the
    // middle of its only open sector, on the floor (level 32 is y 0).
    EXPECT_EQ(+out->Items1[0].X, 2048 + 1536);
    EXPECT_EQ(+out->Items1[0].Y, 0);
    EXPECT_EQ(+out->Items1[0].Z, 6656);
    ASSERT_EQ(result.Warnings.size(), 1u);
    EXPECT_EQ(FormatFinding(result.Warnings[0]),
              "warning: room 1 (Room #1), sector (column 2, row 2): Lara's usual start in the "
              "current room, column 4, row 2, lies outside this 3 x 3 room: she starts in the "
              "middle of column 2, row 2 instead. Open column 4, row 2 or make current the room "
              "she should start in.");
    EXPECT_EQ(out->Items1[0].Room, 0);
    EXPECT_EQ(out->Items1[0].Intensity, 0xFFFF);
    EXPECT_EQ(out->NumCameras, 0u);
    EXPECT_EQ(out->NumBoxes, 1u) << "only the middle sector is open";
    EXPECT_EQ(out->FloorData[0], out->NumFloorData);
}

// Rooms at the far edges of the level's coordinates build without any overflow (the sanitizer
// run would stop at one); one sector further, or a room that reaches above level 64, stops the
// build naming the room and the limit, and nothing is written.
TEST_F(BuildPipeline, RoomsAtTheLimitsOfTheLevelsCoordinates) {
    const std::string base = MakeBase(FormatTR1, "BASE.PHD");
    TEditorRoom& far = Add(3, 31, MaxRoomPosition, 20, MinRoomPosition, 3);
    AddPortalView(*project, {2, MaxPortalViewTiles, MaxPortalViewTiles, 0});
    TEditorRoom& other = Add(31, 3, MinRoomPosition, 61, MaxRoomPosition, 3);
    AddPortalView(*project, {1, MaxPortalViewTiles, MaxPortalViewTiles, 4});
    BuildResult result = Build({base, dir.Path("FAR.PHD"), "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    auto out = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("FAR.PHD")).Status, ReadStatus::Done);
    EXPECT_EQ(+out->Rooms[0].RoomInfo.X, MaxRoomPosition * 1024);
    EXPECT_EQ(+out->Rooms[1].RoomInfo.X, MinRoomPosition * 1024);
    EXPECT_EQ(out->Items1[0].Room, 1) << "the player is in room 2, the current room";
    EXPECT_GE(+out->Items1[0].X, MinRoomPosition * 1024);
    EXPECT_LT(+out->Items1[0].X, MinRoomPosition * 1024 + 3 * 1024);
    EXPECT_GE(+out->Items1[0].Z, MaxRoomPosition * 1024);
    EXPECT_LT(+out->Items1[0].Z, MaxRoomPosition * 1024 + 31 * 1024);

    far.PosX = MaxRoomPosition + 1;
    result = Build({base, dir.Path("NOT.PHD"), "", "", ""});
    EXPECT_THAT(result.Messages,
                ElementsAre("Room 1 (\"Room #1\") lies at X position 2097121; room positions go "
                            "from -2097120 to 2097120; the level was not written."));
    far.PosX = 0;
    other.PosY = 62;
    result = Build({base, dir.Path("NOT.PHD"), "", "", ""});
    EXPECT_THAT(result.Messages,
                ElementsAre(HasSubstr("Room 2 (\"Room #2\") reaches level 65 (level 62, height "
                                      "3), above the limit of 64")));
    EXPECT_FALSE(result.Written);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("NOT.PHD")));
}

TEST_F(BuildPipeline, WallPortalsGetAPortalEntryAfterTheirSlope) {
    const std::string base = MakeBase(FormatTR2, "base.tr2");
    for (int r = 0; r < 4; ++r) {
        Add(5, 5, 10 * r, 20, 0, 4);
    }
    TEditorRoom& room = project->Room(4);
    for (int n : {7, 8}) {
        room.Sector(n).PortalKind = PortalKindSide;
    }
    room.GameSector(7).RoomAbove = 2; // room 3
    room.GameSector(8).RoomAbove = 0; // room 1
    room.Sector(8).FloorShape = 5;
    room.GameSector(8).FloorDataIndex = SlopeFloorDataIndex(5, 0);
    BuildResult result = Build({base, dir.Path("out.tr2"), "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);

    const TLevelRoom& built = level->Rooms[3];
    const TGameSector& plain = built.Sectors[6];
    EXPECT_EQ(plain.RoomAbove, NoRoom);
    EXPECT_EQ(level->FloorData[plain.FloorDataIndex], 0x8001);
    EXPECT_EQ(level->FloorData[plain.FloorDataIndex + 1], 2);
    const TGameSector& sloped = built.Sectors[7];
    const uint16_t* entry = &level->FloorData[sloped.FloorDataIndex];
    EXPECT_EQ(entry[0], FloorDataFloorSlant) << "the slope entry without its end mark";
    EXPECT_EQ(entry[1], SlantWord(FloorSlant(5)));
    EXPECT_EQ(entry[2], 0x8001);
    EXPECT_EQ(entry[3], 0);
    EXPECT_EQ(level->FloorData[level->NumFloorData - 1], 0);
}

TEST_F(BuildPipeline, TheBaseLevelIsReadAgainOnlyWhenItsNameChanges) {
    const std::string base = MakeBase(FormatTR1, "base.phd");
    std::filesystem::copy_file(base, dir.Path("BASE.phd"));
    Add(4, 4, 1, 30, 1, 3);
    EXPECT_TRUE(Build({base, dir.Path("a.phd"), "", "", ""}).BaseLevelRead);
    level->Items1[0].Angle = 0x0042; // what a build leaves behind carries over
    BuildResult again = Build({base, dir.Path("a.phd"), "", "", ""});
    EXPECT_FALSE(again.BaseLevelRead);
    EXPECT_EQ(level->Items1[0].Angle, 0x0042);
    BuildResult otherCase = Build({dir.Path("BASE.phd"), dir.Path("a.phd"), "", "", ""});
    EXPECT_TRUE(otherCase.BaseLevelRead);
    EXPECT_EQ(level->Items1[0].Angle, 0x0000) << "the low byte comes from the base level again";
}

TEST_F(BuildPipeline, NamesThatStopTheBuildOrAreSkipped) {
    const std::string base = MakeBase(FormatTR1, "base.phd");
    Add(4, 4, 1, 30, 1, 3);
    EXPECT_THAT(Build({"  ", dir.Path("a.phd"), "", "", ""}).Messages,
                ElementsAre(" Please type the Base Level name "));
    EXPECT_THAT(Build({dir.Path("none.phd"), dir.Path("a.phd"), "", "", ""}).Messages,
                ElementsAre("Base Level file " + dir.Path("none.phd") + " not found"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("a.phd")));

    BuildResult skipped =
        Build({base, dir.Path("a.phd"), "   ", dir.Path("x.msh"), dir.Path("x.scp")});
    EXPECT_TRUE(skipped.Written);
    EXPECT_THAT(skipped.Messages,
                ElementsAre("Meshes file " + dir.Path("x.msh") + " not found",
                            "Scripting file " + dir.Path("x.scp") + " not found"));

    test::WriteFileBytes(dir.Path("junk.tr2"), {1, 2, 3, 4, 5});
    BuildResult junk = Build({dir.Path("junk.tr2"), dir.Path("b.tr2"), "", "", ""});
    EXPECT_FALSE(junk.Written);
    EXPECT_THAT(junk.Messages, ElementsAre(HasSubstr("is not a level of the supported games")));
}

// An installed program has no floor.dat beside it: the build takes the one of the installed data
// folder, and names both folders when neither has it.
TEST_F(BuildPipeline, TheFloorDataFileIsFoundInstalledOrTheFoldersAreNamed) {
    const std::string base = MakeBase(FormatTR1, "base.phd");
    Add(4, 4, 1, 30, 1, 3);
    const std::string bin = dir.Path("prefix/bin");
    const std::string share = dir.Path("prefix/share/morvane3d");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    const BuildNames names{base, dir.Path("out.phd"), "", "", ""};

    BuildResult missing = BuildLevel(*project, *level, names, bin, script);
    EXPECT_FALSE(missing.Written);
    EXPECT_THAT(missing.Messages, ElementsAre("The floor-data file floor.dat cannot be read: File "
                                              "not found in " +
                                              bin + " or " + share));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.phd")));

    const std::string source = std::string(MORVANE_SOURCE_DIR) + "/data";
    std::filesystem::copy_file(source + "/floor.dat", share + "/floor.dat");
    BuildResult installed = BuildLevel(*project, *level, names, bin, script);
    ASSERT_TRUE(installed.Written) << ::testing::PrintToString(installed.Messages);
    auto besideLevel = std::make_unique<TLevelData>();
    const BuildNames beside{base, dir.Path("beside.phd"), "", "", ""};
    ASSERT_TRUE(BuildLevel(*project, *besideLevel, beside, source, script).Written);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("out.phd")), test::ReadFileBytes(dir.Path("beside.phd")))
        << "the installed floor.dat gives the level the copy beside the program gives";
}

// Between the first game's engine limit and the record's capacity a room is built and written,
// and the build's warnings name the engine's limit; the second game's engine holds the same,
// the third game's has no reported limit.
TEST_F(BuildPipeline, ARoomPastItsEnginesLimitIsWrittenWithAWarning) {
    // Open rooms, each a size larger, until the mesh passes 1500 vertices.
    long vertices = 0;
    for (int size = 10; size <= 31 && vertices <= 1500; ++size) {
        NewProject(*project, scene);
        Add(size, size, 1, 1, 1, 4);
        vertices = MeasureRoom(*project, 1, true).Vertices.Used;
    }
    ASSERT_GT(vertices, 1500);
    ASSERT_LE(vertices, MaxRoomVertices) << "within the record: the build goes on";
    for (const auto& [kind, file] :
         {std::pair{FormatTR1, "big.phd"}, std::pair{FormatTR2, "big.tr2"},
          std::pair{FormatTR3, "big3.tr2"}}) {
        SCOPED_TRACE(file);
        const std::string base = MakeBase(kind, std::string("base_") + file);
        const BuildResult result = Build({base, dir.Path(file), "", "", ""});
        ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
        std::vector<std::string> engine;
        for (const LevelFinding& warning : result.Warnings) {
            if (FormatFinding(warning).find("engine holds") != std::string::npos) {
                engine.push_back(FormatFinding(warning));
            }
        }
        if (kind == FormatTR3) {
            EXPECT_THAT(engine, ::testing::IsEmpty());
            continue;
        }
        EXPECT_THAT(engine,
                    ElementsAre(HasSubstr("room 1 (Room #1): the room has " +
                                          std::to_string(vertices) + " vertices, above the 1500 " +
                                          (kind == FormatTR1 ? "the first" : "the second") +
                                          " game's engine holds (source: ")));
    }
}

TEST_F(BuildPipeline, ProjectsTheLevelCannotHoldAreRefusedAndNothingIsWritten) {
    const std::string base = MakeBase(FormatTR1, "base.phd");
    TEditorRoom& room = Add(31, 31, 1, 1, 1, 60);
    for (int n = 1; n <= room.SectorCount(); ++n) {
        room.GameSector(n).FloorHeight = static_cast<int8_t>((n * 7) % 50);
        room.GameSector(n).CeilingHeight = 60;
    }
    BuildResult result = Build({base, dir.Path("big.phd"), "", "", ""});
    EXPECT_FALSE(result.Written);
    EXPECT_THAT(result.Messages,
                ElementsAre(HasSubstr("Room 1 (Room #1) needs more than 2000 vertices")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("big.phd")));

    NewProject(*project, scene);
    Add(4, 4, 1, 30, 1, 3);
    Add(4, 4, 8, 30, 1, 3);
    project->Room(2).PortalViewCount = 1;
    project->Room(2).PortalView(1) = {1, 0, 1, 1, 1, 5, 2};
    EXPECT_THAT(
        Build({base, dir.Path("p.phd"), "", "", ""}).Messages,
        ElementsAre("Portal view Door #1 of room 2 has its origin (column 2, row 5) outside "
                    "the room's grid."));
    project->Room(2).PortalView(1) = {1, 0, 3, 1, 1, 2, 2};
    EXPECT_THAT(
        Build({base, dir.Path("p.phd"), "", "", ""}).Messages,
        ElementsAre(
            "Portal view Door #1 of room 2 shows room 3, which the project does not have."));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("p.phd")));
}

TEST_F(BuildPipeline, ScriptErrorsAreShownAndTheLevelStillWritten) {
    const std::string base = MakeBase(FormatTR1, "base.phd");
    Add(4, 4, 1, 30, 1, 3);
    const std::string text = "; a comment\n\nKill_Lara(1,2,2)\nStart_Trigger(1,2)\n";
    test::WriteFileBytes(dir.Path("a.scp"), test::Bytes(text.begin(), text.end()));
    BuildResult result = Build({base, dir.Path("a.phd"), "", "", dir.Path("a.scp")});
    EXPECT_TRUE(result.Written);
    EXPECT_THAT(result.Messages, ElementsAre("Error at Line 4:Not enough parameters:->"));

    const std::string bad = "Kill_Lara(1,2,x)\n";
    test::WriteFileBytes(dir.Path("b.scp"), test::Bytes(bad.begin(), bad.end()));
    result = Build({base, dir.Path("b.phd"), "", "", dir.Path("b.scp")});
    EXPECT_FALSE(result.Written);
    EXPECT_THAT(result.Messages,
                ElementsAre("Scripting file \"" + dir.Path("b.scp") +
                            "\" refused: line 1: 'X' is not a valid integer value"));
}

} // namespace
} // namespace morvane
