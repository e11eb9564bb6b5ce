#include "levelbuild/boxes.h"
#include "levelbuild/build_error.h"
#include "level/level_format.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

// One room of 1 x 3 sectors: open, open, closed. The open floors stand `apart` clicks apart.
std::unique_ptr<TLevelData> Strip(int32_t kind, int apart) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = kind;
    level->NumRooms = 1;
    TLevelRoom& room = level->Rooms[0];
    room.RoomInfo = {2048, 4096, 0, -4096};
    room.NumXSectors = 1;
    room.NumZSectors = 3;
    room.Sectors[0] = {0, 0, NoRoom, 0, NoRoom, -8};
    room.Sectors[1] = {0, 0, NoRoom, static_cast<int8_t>(-apart), NoRoom, -8};
    room.Sectors[2] = {0, 0, NoRoom, -8, NoRoom, -8};
    return level;
}

TEST(GenerateBoxes, OpenSectorsGetBoxesThatOverlapWithinAClick) {
    auto level = Strip(FormatTR1, 1);
    GenerateBoxes(*level);
    ASSERT_EQ(level->NumBoxes, 2u);
    EXPECT_EQ(level->NumZones, 2u);
    const TBox1& second = level->Boxes1[1];
    EXPECT_EQ(+second.ZMin, 4096 + 1024);
    EXPECT_EQ(+second.ZMax, 4096 + 2048);
    EXPECT_EQ(+second.XMin, 2048);
    EXPECT_EQ(second.TrueFloor, -256) << "the world y of a floor one click above y 0";
    EXPECT_EQ(level->Boxes1[0].TrueFloor, 0);
    EXPECT_EQ(level->Rooms[0].Sectors[1].BoxIndex, 1);
    EXPECT_EQ(level->Rooms[0].Sectors[2].BoxIndex, 0xFFFF);
    // Each list starts with the box itself; +z is looked at before -z.
    ASSERT_EQ(level->NumOverlaps, 4u);
    EXPECT_EQ(level->Overlaps[0], 0);
    EXPECT_EQ(level->Overlaps[1], 0x8001);
    EXPECT_EQ(level->Overlaps[2], 1);
    EXPECT_EQ(level->Overlaps[3], 0x8000);
    EXPECT_EQ(second.OverlapIndex, 2);

    auto apart = Strip(FormatTR1, 2);
    GenerateBoxes(*apart);
    ASSERT_EQ(apart->NumOverlaps, 2u) << "floors 256 apart do not overlap";
    EXPECT_EQ(apart->Overlaps[0], 0x8000);
    EXPECT_EQ(apart->Overlaps[1], 0x8001);
}

TEST(GenerateBoxes, ThirdGameBoxIndexesAndTheRoomBelow) {
    auto level = Strip(FormatTR3, 1);
    // Room 2 lies under the strip's first sector, with its floor 3 sectors lower, and room 3
    // under room 2 there, 5 sectors lower.
    level->NumRooms = 3;
    level->Rooms[1].RoomInfo = {2048, 4096, 3072, 0};
    level->Rooms[1].NumXSectors = level->Rooms[1].NumZSectors = 1;
    level->Rooms[1].Sectors[0] = {0, 0, 2, 12, NoRoom, 0};
    level->Rooms[2].RoomInfo = {0, 0, 5120, 0};
    level->Rooms[2].NumXSectors = level->Rooms[2].NumZSectors = 8;
    for (auto& sector : level->Rooms[2].Sectors) {
        sector = {0, 0, NoRoom, 20, NoRoom, 0};
    }
    level->Rooms[0].Sectors[0].RoomBelow = 1;
    level->Rooms[0].Sectors[1].RoomBelow = 7; // a room the level does not have
    GenerateBoxes(*level);
    EXPECT_EQ(level->Rooms[0].Sectors[1].BoxIndex, 16);
    EXPECT_EQ(level->Rooms[0].Sectors[2].BoxIndex, 0xFFF0);
    EXPECT_EQ(level->Boxes1[0].TrueFloor, 20 * 256)
        << "over rooms below, enemies walk on the floor they fall to";
    EXPECT_EQ(level->Boxes1[1].TrueFloor, -256) << "a link to a missing room keeps its own floor";
    EXPECT_EQ(level->Overlaps[0], 0x8000) << "a pit does not overlap the floor beside it";
}

TEST(GenerateBoxes, TooManyBoxesStopTheBuild) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = FormatTR2;
    level->NumRooms = 5;
    for (int r = 0; r < 5; ++r) {
        level->Rooms[r].NumXSectors = 32;
        level->Rooms[r].NumZSectors = 32;
        for (auto& sector : level->Rooms[r].Sectors) {
            sector = {0, 0, NoRoom, 0, NoRoom, -8};
        }
    }
    EXPECT_THROW(GenerateBoxes(*level), BuildError) << "5120 open sectors";
}

} // namespace
} // namespace morvane
