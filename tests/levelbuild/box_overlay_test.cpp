#include "import/random_project.h"

#include "demo/demo_project.h"
#include "level/level_format.h"
#include "levelbuild/box_overlay.h"
#include "levelbuild/boxes.h"
#include "levelbuild/level_usage.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <set>
#include <vector>

namespace morvane {
namespace {

std::string DataFolder() {
    return std::string(MORVANE_SOURCE_DIR) + "/data";
}

// The words of a box's list, read as the game reads them.
std::vector<int> ListWords(const TLevelData& level, int box) {
    std::vector<int> words;
    for (uint32_t w = level.Boxes1[box].OverlapIndex & OverlapIndexMask; w < level.NumOverlaps;
         ++w) {
        words.push_back(level.Overlaps[w] & OverlapBoxMask);
        if (level.Overlaps[w] & OverlapEnd) {
            break;
        }
    }
    return words;
}

// What the overlay reads of the scratch level the limits panel measures, for the demo project
// and random projects in every layout: each open sector lies in its box's rectangle in one room,
// each box's overlap count is the number of boxes it and they name each other (its own list's
// length, every word of the lists counted once), its zones are the layout's arrays, and
// overlapping boxes are tinted apart.
TEST(BoxOverlay, AgreesWithTheBoxesTheMeasureBuilds) {
    auto project = std::make_unique<TEditorProject>();
    auto level = std::make_unique<TLevelData>();
    std::mt19937 random(41);
    int measured = 0, isolated = 0, tinted = 0;
    for (int round = 0; round < 24; ++round) {
        if (round == 0) {
            demo::MakeDemoProject(*project, "", "");
        } else {
            test::MakeRandomProject(*project, random, 40);
        }
        const int32_t kind = FormatTR1 + round % 4;
        SCOPED_TRACE("project " + std::to_string(round) + ", layout " + FormatKindName(kind));
        if (!MeasureProject(*project, *level, kind, DataFolder()).Problem.empty()) {
            continue;
        }
        ++measured;
        const int boxes = static_cast<int>(level->NumBoxes);
        std::vector<int> roomOf(boxes, -1);
        for (int r = 0; r < level->NumRooms; ++r) {
            const TLevelRoom& room = level->Rooms[r];
            const std::vector<int> sectorBoxes = RoomSectorBoxes(*level, r);
            ASSERT_EQ(sectorBoxes.size(), std::size_t{room.NumXSectors} * room.NumZSectors);
            for (int n = 0; n < static_cast<int>(sectorBoxes.size()); ++n) {
                const TGameSector& sector = room.Sectors[n];
                const int b = sectorBoxes[n];
                if (sector.FloorHeight == sector.CeilingHeight) {
                    EXPECT_EQ(b, -1) << "room " << r << " sector " << n << " is closed";
                    continue;
                }
                ASSERT_GE(b, 0) << "room " << r << " sector " << n;
                ASSERT_LT(b, boxes);
                const int x = room.RoomInfo.X + n / room.NumZSectors * 1024;
                const int z = room.RoomInfo.Z + n % room.NumZSectors * 1024;
                const TBox1& box = level->Boxes1[b];
                EXPECT_TRUE(box.XMin <= x && x + 1023 <= box.XMax && box.ZMin <= z &&
                            z + 1023 <= box.ZMax)
                    << "box " << b << " holds room " << r << " sector " << n;
                EXPECT_TRUE(roomOf[b] < 0 || roomOf[b] == r) << "box " << b << " in two rooms";
                roomOf[b] = r;
            }
        }
        // Boxes overlap when each one's list names the other; a box that overlaps none names
        // itself alone.
        std::vector<std::set<int>> lists(boxes), overlapping(boxes);
        for (int b = 0; b < boxes; ++b) {
            const std::vector<int> words = ListWords(*level, b);
            lists[b].insert(words.begin(), words.end());
        }
        for (int b = 0; b < boxes; ++b) {
            for (const int other : lists[b]) {
                if (other != b && lists[other].count(b) > 0) {
                    overlapping[b].insert(other);
                }
            }
        }
        int counted = 0;
        const int isolatedBefore = isolated;
        const std::vector<uint32_t> tints = BoxTints(*level);
        ASSERT_EQ(tints.size(), std::size_t(boxes));
        const std::vector<int> arrays = UsesSecondGameRecords(kind)
                                            ? std::vector<int>{0, 1, 2, 3, 4}
                                            : std::vector<int>{0, 1, 4};
        for (int b = 0; b < boxes; ++b) {
            const BoxFacts facts = DescribeBox(*level, b);
            ASSERT_EQ(facts.Box, b);
            EXPECT_EQ(facts.Overlaps, static_cast<int>(overlapping[b].size())) << "box " << b;
            counted += facts.Overlaps;
            if (facts.Overlaps > 0) {
                EXPECT_EQ(facts.Overlaps, static_cast<int>(ListWords(*level, b).size()))
                    << "box " << b;
            } else {
                EXPECT_EQ(ListWords(*level, b), std::vector<int>{b}) << "box " << b;
                ++isolated;
            }
            ASSERT_EQ(facts.Zones.size(), arrays.size());
            for (std::size_t i = 0; i < arrays.size(); ++i) {
                EXPECT_EQ(facts.Zones[i].Array, arrays[i]);
                EXPECT_EQ(facts.Zones[i].Normal, level->Zones[arrays[i]][b]);
                EXPECT_EQ(facts.Zones[i].Flipped, level->Zones[arrays[i] + 5][b]);
            }
            for (const int other : overlapping[b]) {
                if (facts.Overlaps < 12 && OverlapCount(*level, other) < 12) {
                    EXPECT_NE(tints[b], tints[other]) << "boxes " << b << " and " << other;
                    ++tinted;
                }
            }
        }
        EXPECT_EQ(counted + isolated - isolatedBefore, static_cast<int>(level->NumOverlaps))
            << "every word is one box's overlap, but the one word of a box that touches none";
        EXPECT_EQ(DescribeBox(*level, boxes).Box, -1);
        EXPECT_EQ(BoxStatusText(*level, 0, boxes), "");
    }
    EXPECT_GE(measured, 12);
    EXPECT_GT(isolated, 0) << "some boxes overlap none";
    EXPECT_GT(tinted, 100);
}

// The status text of a box: numbered from 1, its floor from the room's bottom, the zones of the
// layout with the flipped state's where it differs, and its overlaps (none for a box that
// touches none).
TEST(BoxOverlay, StatusText) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = FormatTR1;
    level->NumRooms = 2;
    TLevelRoom& room = level->Rooms[0];
    room.RoomInfo = {2048, 4096, 1024, -4096};
    room.NumXSectors = 1;
    room.NumZSectors = 3;
    room.Sectors[0] = {0, 0, NoRoom, 0, NoRoom, -8};
    room.Sectors[1] = {0, 0, NoRoom, -3, NoRoom, -8};
    room.Sectors[2] = {0, 0, NoRoom, -8, NoRoom, -8};
    TLevelRoom& apart = level->Rooms[1];
    apart.RoomInfo = {20480, 4096, 0, -4096};
    apart.NumXSectors = apart.NumZSectors = 1;
    apart.Sectors[0] = {0, 0, NoRoom, 6, NoRoom, -8};
    room.AlternateRoom = apart.AlternateRoom = -1;
    GenerateBoxes(*level);
    ASSERT_EQ(level->NumBoxes, 3u);
    EXPECT_EQ(RoomSectorBoxes(*level, 0), (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(BoxStatusText(*level, 0, 1), "Box 2: floor y -768 (7 clicks above the room's "
                                           "bottom), zones ground 1: 2, ground 2: 2, fly: 1, "
                                           "1 overlap");
    level->Zones[9][0] = 7;
    EXPECT_EQ(BoxStatusText(*level, 0, 0), "Box 1: floor y 0 (4 clicks above the room's bottom), "
                                           "zones ground 1: 1, ground 2: 1, fly: 1 (flipped 7), "
                                           "1 overlap");
    EXPECT_EQ(BoxStatusText(*level, 1, 2), "Box 3: floor y 1536 (6 clicks below the room's "
                                           "bottom), zones ground 1: 3, ground 2: 3, fly: 2, "
                                           "0 overlaps");

    level->FormatKind = FormatTR3; // the number above the material bits
    level->Rooms[0].Sectors[1].BoxIndex = 2 * 16 + 5;
    level->Rooms[0].Sectors[2].BoxIndex = NoBoxTR3;
    level->Rooms[1].Sectors[0].BoxIndex = 3 * 16; // past the level's boxes
    EXPECT_EQ(RoomSectorBoxes(*level, 0)[1], 2);
    EXPECT_EQ(RoomSectorBoxes(*level, 0)[2], -1);
    EXPECT_EQ(RoomSectorBoxes(*level, 1), std::vector<int>{-1});
    EXPECT_TRUE(RoomSectorBoxes(*level, 2).empty());
}

} // namespace
} // namespace morvane
