#include "levelbuild/build_fixture.h"

#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "level/level_check.h"
#include "level/level_reader.h"

#include <gmock/gmock.h>

#include <filesystem>

namespace morvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct Start {
    int Room, X, Y, Z;
};

class PlayerPlacementTest : public test::BuildFixture {
protected:
    // Builds onto a first-game base level and reads Lara's start back from the written file.
    Start BuildAndRead(BuildResult& result) {
        if (base_.empty()) {
            base_ = MakeBase(FormatTR1, "base.phd");
        }
        result = Build({base_, dir.Path("out.phd"), "", "", ""});
        EXPECT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
        auto out = std::make_unique<TLevelData>();
        EXPECT_EQ(ReadLevelFile(*out, dir.Path("out.phd")).Status, ReadStatus::Done);
        EXPECT_EQ(out->NumItems, 1u);
        const TItem1& lara = out->Items1[0];
        EXPECT_EQ(lara.Type, 0);
        std::vector<std::string> findings;
        for (const LevelFinding& f : CheckLevel(*out)) {
            findings.push_back(FormatFinding(f));
        }
        EXPECT_THAT(findings, IsEmpty()) << "the level check finds her start sound";
        return {lara.Room, lara.X, lara.Y, lara.Z};
    }
    void Click(int column, int row, int shape, int level) {
        SectorToolState tools;
        tools.SelectedShape = shape;
        scene.HeightSelector = level;
        EditClick(*project, scene, tools,
                  ViewHit::OfSector(SectorNumber(column, row, project->Current().ZSectors)), false,
                  false);
    }
    std::string base_;
};

TEST_F(PlayerPlacementTest, SheStandsOnTheFloorOfHerUsualSpotAtAnyHeight) {
    // A room at level p has its floor at y (128 - 4p) x 256, in 8 bits as the build counts.
    for (const auto& [posY, floorY] :
         {std::pair{4, 28672}, std::pair{16, 16384}, std::pair{20, 12288}, std::pair{40, -8192}}) {
        NewProject(*project, scene);
        Add(8, 8, 2, posY, 5, 4);
        BuildResult result;
        const Start start = BuildAndRead(result);
        EXPECT_EQ(start.Room, 0) << posY;
        EXPECT_EQ(start.X, 2048 + 3072) << posY;
        EXPECT_EQ(start.Y, floorY) << "level " << posY;
        EXPECT_EQ(start.Z, 5120 + 1536) << posY;
        EXPECT_THAT(result.Warnings, IsEmpty()) << posY;
    }
}

TEST_F(PlayerPlacementTest, OnASlopeSheStandsOnItsSurface) {
    Add(8, 8, 2, 20, 5, 4);
    Click(4, 2, 5, 0); // a half slope of 2 clicks, falling toward +z
    BuildResult result;
    const Start start = BuildAndRead(result);
    // The slope's top edge (z 6144 in the world, the sector's -z side) is at y 12288 - 512; her
    // spot lies halfway down, one click lower.
    EXPECT_EQ(start.Y, 12288 - 512 + 256);
    EXPECT_EQ(start.X, 2048 + 3072);
}

TEST_F(PlayerPlacementTest, OffTheRoomOrOnAPillarSheStartsInTheFirstOpenSector) {
    Add(3, 3, 2, 20, 5, 4);
    BuildResult result;
    Start start = BuildAndRead(result);
    EXPECT_EQ(start.X, 2048 + 1536) << "3 x 3: the middle sector, the only open one";
    EXPECT_EQ(start.Z, 5120 + 1536);
    EXPECT_EQ(start.Y, 12288);
    EXPECT_THAT(result.Warnings,
                ElementsAre(::testing::Field(&LevelFinding::Text,
                                             HasSubstr("lies outside this 3 x 3 room"))));

    NewProject(*project, scene);
    Add(8, 8, 2, 20, 5, 4);
    Click(4, 2, 0, 2); // a pillar up to the ceiling on her spot
    start = BuildAndRead(result);
    EXPECT_EQ(start.X, 2048 + 1024 + 512) << "column 2, row 2: column 1 and row 1 are walls";
    EXPECT_EQ(start.Z, 5120 + 1024 + 512);
    EXPECT_EQ(start.Y, 12288);
    ASSERT_EQ(result.Warnings.size(), 1u);
    EXPECT_EQ(FormatFinding(result.Warnings[0]),
              "warning: room 1 (Room #1), sector (column 2, row 2): Lara's usual start in the "
              "current room, column 4, row 2, is not an open sector: she starts in the middle "
              "of column 2, row 2 instead. Open column 4, row 2 or make current the room she "
              "should start in.");

    // She does not start over a link to the room below either; and always in the current room.
    NewProject(*project, scene);
    Add(8, 8, 2, 16, 5, 4); // right under the next one
    TEditorRoom& upper = Add(8, 8, 2, 20, 5, 4);
    upper.GameSector(SectorNumber(4, 2, 8)).RoomBelow = 0;
    start = BuildAndRead(result);
    EXPECT_EQ(start.Room, 1);
    EXPECT_EQ(start.X, 2048 + 1536);
}

// Lara in a wall would leave the level unplayable: the error stops the write.
TEST_F(PlayerPlacementTest, ARoomWithoutAnOpenSectorIsReported) {
    Add(2, 2, 2, 20, 5, 4);
    const std::string base = MakeBase(FormatTR2, "base.tr2");
    BuildResult result = Build({base, dir.Path("out.tr2"), "", "", ""});
    EXPECT_FALSE(result.Written);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("out.tr2")));
    ASSERT_GE(result.Warnings.size(), 1u);
    EXPECT_THAT(FormatFinding(result.Warnings[0]),
                HasSubstr("sector (column 2, row 2): Lara's usual start in the current room, "
                          "column 4, row 2, lies outside this 2 x 2 room, and the room has no "
                          "open sector: she starts in a wall."));
    ASSERT_EQ(result.Messages.size(), 1u);
    EXPECT_THAT(result.Messages[0], ::testing::StartsWith("The level was not written: "));
    EXPECT_THAT(result.Messages[0],
                HasSubstr("\nerror: room 1 (Room #1), item 1: Lara starts inside a solid sector "
                          "(room 1 (Room #1), column 2, row 2)"));
    EXPECT_EQ(+level->Items2[0].X, 2048 + 1536);
    EXPECT_EQ(+level->Items2[0].Y, 8192) << "on the solid sector's floor, at the room's top";
}

} // namespace
} // namespace morvane
