#include "build_fixture.h"

#include "document/sector_numbering.h"
#include "document/shape_table.h"
#include "levelbuild/level_usage.h"

#include <gmock/gmock.h>

namespace morvane {
namespace {

using ::testing::HasSubstr;
using LevelUsage = test::BuildFixture;

std::string DataFolder() {
    return std::string(MORVANE_SOURCE_DIR) + "/data";
}

CapacityUse Use(long used, long limit) {
    CapacityUse use;
    use.Used = used;
    use.Limit = limit;
    use.Counted = true;
    return use;
}

TEST(CapacityUse, AmberAboveNinetyAndRedAboveAHundredPercent) {
    EXPECT_EQ(LevelOfUse(Use(1780, 2000)), UseLevel::Normal) << "89 %";
    EXPECT_EQ(LevelOfUse(Use(1800, 2000)), UseLevel::Normal) << "90 % is not above 90 %";
    EXPECT_EQ(LevelOfUse(Use(1801, 2000)), UseLevel::High);
    EXPECT_EQ(LevelOfUse(Use(1820, 2000)), UseLevel::High) << "91 %";
    EXPECT_EQ(LevelOfUse(Use(2000, 2000)), UseLevel::High) << "full is not over";
    EXPECT_EQ(LevelOfUse(Use(2020, 2000)), UseLevel::Over) << "101 %";
    CapacityUse beyond;
    beyond.Limit = 5000;
    beyond.Beyond = true;
    EXPECT_EQ(LevelOfUse(beyond), UseLevel::Over);
    EXPECT_EQ(UseText(beyond), "more than 5000 / 5000");
    CapacityUse uncounted;
    uncounted.Limit = 15000;
    EXPECT_EQ(LevelOfUse(uncounted), UseLevel::Normal);
    EXPECT_EQ(UseText(uncounted), "- / 15000");
    EXPECT_EQ(UseText(Use(1820, 2000)), "1820 / 2000 (91 %)");
}

// Where the layout's engine holds less than the record, the count shows its limit too and is
// amber above it, whatever the share of the capacity; the note names the engine and the source.
TEST(CapacityUse, TheEnginesOwnLimitFollowsTheCount) {
    CapacityUse vertices = Use(1500, 2000);
    AddEngineLimit(vertices, FormatTR1, EngineMeasure::RoomVertices);
    EXPECT_EQ(UseText(vertices), "1500 / 2000 (75 %), engine 1500");
    EXPECT_EQ(LevelOfUse(vertices), UseLevel::Normal) << "at the engine's limit";
    EXPECT_THAT(EngineLimitNote(vertices),
                ::testing::StartsWith("The first game's engine holds 1500 (source: http"));
    vertices.Used = 1501;
    EXPECT_EQ(LevelOfUse(vertices), UseLevel::High) << "75 % of the capacity, past the engine";
    EXPECT_THAT(EngineLimitNote(vertices), HasSubstr("; this is above it, the game may crash."));
    vertices.Used = 2001;
    EXPECT_EQ(LevelOfUse(vertices), UseLevel::Over) << "past the capacity: the build stops";

    CapacityUse items = Use(280, 300);
    AddEngineLimit(items, FormatTR3, EngineMeasure::Items);
    EXPECT_EQ(UseText(items), "280 / 300 (93 %), engine 256");
    EXPECT_THAT(EngineLimitNote(items),
                ::testing::StartsWith("The third game's engine holds 256 (source: "));
    CapacityUse thirdGameVertices = Use(1900, 2000);
    AddEngineLimit(thirdGameVertices, FormatTR3, EngineMeasure::RoomVertices);
    EXPECT_EQ(UseText(thirdGameVertices), "1900 / 2000 (95 %)") << "no report: the record only";
    EXPECT_EQ(EngineLimitNote(thirdGameVertices), "");

    // The base level's textures: the pages have no capacity of the record, only the engine's.
    auto level = std::make_unique<TLevelData>();
    BaseLevelUse base = MeasureBaseLevel(*level);
    EXPECT_EQ(UseText(base.ObjectTextures), "- / 3100") << "no base level read";
    EXPECT_EQ(UseText(base.TexturePages), "-");
    level->FormatKind = FormatTR2;
    level->NumObjectTextures = 2049;
    level->NumSpriteTextures = 512;
    level->NumTextiles = 33;
    base = MeasureBaseLevel(*level);
    EXPECT_EQ(UseText(base.ObjectTextures), "2049 / 3100 (66 %), engine 2048");
    EXPECT_EQ(LevelOfUse(base.ObjectTextures), UseLevel::High);
    EXPECT_EQ(UseText(base.SpriteTextures), "512 / 2000 (25 %), engine 512");
    EXPECT_EQ(LevelOfUse(base.SpriteTextures), UseLevel::Normal);
    EXPECT_EQ(UseText(base.TexturePages), "33, engine 32");
    EXPECT_EQ(LevelOfUse(base.TexturePages), UseLevel::High) << "past the engine, never red";
    level->FormatKind = FormatTR3;
    base = MeasureBaseLevel(*level);
    EXPECT_EQ(UseText(base.TexturePages), "33");
    EXPECT_EQ(LevelOfUse(base.TexturePages), UseLevel::Normal);
}

// The panel's counts are the built level's: rooms of every kind of sector the build handles.
TEST_F(LevelUsage, CountsWhatTheBuildMakes) {
    const std::string base = MakeBase(FormatTR2, "base.tr2");
    TEditorRoom& steps = Add(8, 7, 10, 20, 10, 4);
    for (int n = 1; n <= steps.SectorCount(); ++n) {
        const int x = SectorColumn(n, 8), z = SectorRow(n, 8);
        if (x > 1 && x < 7 && z > 1 && z < 8) {
            steps.GameSector(n).FloorHeight = static_cast<int8_t>((x + z) % 3);
            steps.Sector(n).FloorShape = static_cast<uint8_t>(n % 11);
            steps.Sector(n).CeilingShape = static_cast<uint8_t>(n % 5 == 0 ? 9 : 0);
            steps.GameSector(n).FloorDataIndex =
                SlopeFloorDataIndex(steps.Sector(n).FloorShape, steps.Sector(n).CeilingShape);
        }
    }
    TEditorRoom& pool = Add(6, 6, 17, 20, 10, 3);
    pool.Water = 1; // its ceiling is made from both sides once a base level is read
    const int door = SectorNumber(1, 3, 6);
    pool.Sector(door).PortalKind = PortalKindSide;
    pool.GameSector(door).RoomAbove = 0;
    pool.GameSector(door).FloorHeight = 0;
    Add(5, 5, 10, 24, 10, 3);
    project->CurrentRoom = 1;
    const BuildResult result = Build({base, dir.Path("out.tr2"), "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);

    for (int r = 1; r <= 3; ++r) {
        SCOPED_TRACE("room " + std::to_string(r));
        const RoomUse use = MeasureRoom(*project, r, true);
        const TLevelRoom& built = level->Rooms[r - 1];
        EXPECT_EQ(use.Vertices.Used, built.NumVertices);
        EXPECT_EQ(use.Rectangles.Used, built.NumRectangles);
        EXPECT_EQ(use.Triangles.Used, built.NumTriangles);
        EXPECT_EQ(use.Vertices.Limit, 2000);
        EXPECT_EQ(use.Vertices.Engine.Value, 0) << "no layout given";
        EXPECT_EQ(MeasureRoom(*project, r, true, FormatTR2).Vertices.Engine.Value, 1500);
        EXPECT_EQ(use.Rectangles.Limit, 3000);
        EXPECT_EQ(use.Triangles.Limit, 1250);
        EXPECT_TRUE(use.Vertices.Counted);
    }
    EXPECT_GT(MeasureRoom(*project, 1, true).Triangles.Used, 0) << "the slopes make triangles";
    EXPECT_NE(MeasureRoom(*project, 2, false).Rectangles.Used,
              MeasureRoom(*project, 2, true).Rectangles.Used)
        << "without a base level the water room's ceiling is one-sided";
    EXPECT_FALSE(MeasureRoom(*project, 4, true).Vertices.Counted) << "no room 4";

    auto scratch = std::make_unique<TLevelData>();
    const ProjectUse use = MeasureProject(*project, *scratch, FormatTR2, DataFolder());
    EXPECT_EQ(use.Problem, "");
    EXPECT_EQ(use.Boxes.Used, level->NumBoxes);
    EXPECT_EQ(use.OverlapWords.Used, level->NumOverlaps);
    EXPECT_EQ(use.FloorDataWords.Used, level->NumFloorData);
    EXPECT_EQ(use.Boxes.Limit, 5000);
    EXPECT_EQ(use.OverlapWords.Limit, 15000);
    EXPECT_EQ(use.FloorDataWords.Limit, 20001);
    EXPECT_GT(use.FloorDataWords.Used, level->NumFloorData - 1) << "the wall portal's entry";
}

TEST_F(LevelUsage, PastTheCapacities) {
    // A room too detailed for the build is still counted.
    TEditorRoom& rough = Add(31, 31, 1, 1, 1, 60);
    for (int n = 1; n <= rough.SectorCount(); ++n) {
        rough.GameSector(n).FloorHeight = static_cast<int8_t>((n * 7) % 50);
        rough.GameSector(n).CeilingHeight = 60;
    }
    const RoomUse roughUse = MeasureRoom(*project, 1, false);
    EXPECT_GT(roughUse.Vertices.Used, 2000);
    EXPECT_EQ(LevelOfUse(roughUse.Vertices), UseLevel::Over);

    // Open rooms whose neighbouring floors are a sector height apart: a box each sector, each
    // overlapping its four neighbours. Five of them pass the first game's overlap words and the
    // third game's 4095 boxes (the others hold 5000); four fit.
    const auto chequered = [&](int rooms) {
        NewProject(*project, scene);
        for (int r = 0; r < rooms; ++r) {
            TEditorRoom& room = Add(31, 31, 40 * r, 10, 1, 4);
            for (int n = 1; n <= room.SectorCount(); ++n) {
                if (room.GameSector(n).FloorHeight == 0) {
                    room.GameSector(n).FloorHeight = static_cast<int8_t>(n % 2);
                }
            }
        }
    };
    chequered(5);
    auto scratch = std::make_unique<TLevelData>();
    const ProjectUse first = MeasureProject(*project, *scratch, FormatTR1, DataFolder());
    EXPECT_TRUE(first.OverlapWords.Beyond);
    EXPECT_EQ(LevelOfUse(first.OverlapWords), UseLevel::Over);
    EXPECT_THAT(first.Problem, HasSubstr("overlap words"));
    const ProjectUse third = MeasureProject(*project, *scratch, FormatTR3, DataFolder());
    EXPECT_TRUE(third.Boxes.Beyond);
    EXPECT_EQ(third.Boxes.Limit, 2047) << "eleven bits of the box index number the box";
    EXPECT_THAT(third.Problem, HasSubstr("more than 2047 boxes"));
    EXPECT_FALSE(third.OverlapWords.Counted) << "the build stopped before the overlaps";
    EXPECT_TRUE(third.FloorDataWords.Counted) << "the floor data came before the boxes";

    chequered(4);
    const ProjectUse fits = MeasureProject(*project, *scratch, FormatTR1, DataFolder());
    EXPECT_EQ(fits.Problem, "");
    EXPECT_EQ(fits.Boxes.Used, 4 * 29 * 29);
    EXPECT_EQ(fits.OverlapWords.Used, 4 * 2 * (2 * 29 * 28)) << "each touching pair twice";
    EXPECT_EQ(LevelOfUse(fits.Boxes), UseLevel::Normal) << "3364 of 5000 is 67 %";

    // What stops the build before it counts is said; nothing is counted.
    project->Room(2).GameSector(40).RoomBelow = 9;
    const ProjectUse broken = MeasureProject(*project, *scratch, FormatTR1, DataFolder());
    EXPECT_THAT(broken.Problem, HasSubstr("links to room 10"));
    EXPECT_FALSE(broken.Boxes.Counted);
    EXPECT_FALSE(broken.FloorDataWords.Counted);
}

} // namespace
} // namespace morvane
