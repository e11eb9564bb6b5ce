#include "document/project.h"
#include "document/sector_numbering.h"
#include "document/shape_table.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <set>

namespace morvane {
namespace {

TEST(ProjectModel, AFreshDocumentIsEmptyWithRoomOneCurrent) {
    auto project = std::make_unique<TEditorProject>();
    EXPECT_EQ(project->RoomCount, 0);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(project->Settings.LevelDescription.Str(), "");
    EXPECT_EQ(project->Settings.OutputLevelFile.Str(), "");
    project->Room(5).Name.Assign("Hall");
    project->RoomCount = 5;
    project->CurrentRoom = 5;
    project->Clear();
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(project->Room(5).Name.Length, 0);
}

TEST(ProjectModel, ShortStringsCutToTheirCapacity) {
    TShortString<100> text{};
    text.Assign(std::string(120, 'a'));
    EXPECT_EQ(text.Length, 100);
    EXPECT_EQ(text.Str(), std::string(100, 'a'));
    text.Assign("short");
    EXPECT_EQ(text.Str(), "short");
}

TEST(SectorNumbering, ColumnAndRowRoundTrip) {
    EXPECT_EQ(SectorNumber(1, 1, 10), 1);
    EXPECT_EQ(SectorNumber(3, 2, 10), 22);
    for (int zSectors : {1, 7, 31, 32}) {
        for (int n = 1; n <= zSectors * 31; ++n) {
            const int x = SectorColumn(n, zSectors), z = SectorRow(n, zSectors);
            ASSERT_GE(z, 1);
            ASSERT_LE(z, zSectors);
            ASSERT_EQ(SectorNumber(x, z, zSectors), n) << "n " << n << " of " << zSectors;
        }
    }
    EXPECT_EQ(SectorColumn(30, 10), 3) << "n = k * ZSectors is the last row of column k";
    EXPECT_EQ(SectorRow(30, 10), 10);
}

// Shape k + 6 is shape k turned by a quarter: its corners (c0 c1 c2 c3, counted around the
// sector) are those of shape k shifted by one place, and its slope class follows.
TEST(ShapeTable, TurnedShapesAndWallCorners) {
    for (int s = 0; s < ShapeCount; ++s) {
        const auto& c = ShapeTable[s].CornerHeights;
        EXPECT_EQ(c[4], c[3]) << "c4 repeats the low-x corner at high z, shape " << s;
        EXPECT_EQ(c[5], c[0]) << "shape " << s;
        EXPECT_EQ(c[6], c[1]) << "shape " << s;
        EXPECT_EQ(c[7], c[2]) << "shape " << s;
        EXPECT_EQ(*std::max_element(c, c + 8), ShapeTable[s].Rise * 256) << "shape " << s;
        EXPECT_EQ(ShapeTable[s].SlopeClass != 0, s >= FirstSlopeShape) << "shape " << s;
    }
    for (int k = FirstSlopeShape; k < FirstSlopeShape + TurnedShapeOffset; ++k) {
        const auto& a = ShapeTable[k].CornerHeights;
        const auto& b = ShapeTable[k + TurnedShapeOffset].CornerHeights;
        const int turned[4] = {b[1], b[2], b[3], b[0]};
        const int original[4] = {a[0], a[1], a[2], a[3]};
        EXPECT_TRUE(std::equal(turned, turned + 4, original)) << "shape " << k;
        EXPECT_EQ(ShapeTable[k + 6].Rise, ShapeTable[k].Rise);
    }
}

TEST(SlopeFloorDataTable, EntriesNeverOverlap) {
    EXPECT_EQ(SlopeFloorDataTable[0][0], 0);
    EXPECT_EQ(SlopeFloorDataTable[1][0], 1);
    EXPECT_EQ(SlopeFloorDataTable[8][0], 15);
    EXPECT_EQ(SlopeFloorDataTable[0][1], 17);
    EXPECT_EQ(SlopeFloorDataTable[0][8], 31);
    EXPECT_EQ(SlopeFloorDataTable[1][1], 33);
    EXPECT_EQ(SlopeFloorDataTable[8][8], 285);
    // Two words for a single slope, four for a pair: the occupied words must be disjoint.
    std::set<int> used;
    for (int f = 0; f < SlopeClassCount; ++f) {
        for (int c = 0; c < SlopeClassCount; ++c) {
            if (f == 0 && c == 0) {
                continue;
            }
            const int words = (f > 0 && c > 0) ? 4 : 2;
            for (int w = 0; w < words; ++w) {
                EXPECT_TRUE(used.insert(SlopeFloorDataTable[f][c] + w).second)
                    << "word " << SlopeFloorDataTable[f][c] + w << " used twice";
            }
        }
    }
    EXPECT_EQ(*used.begin(), 1);
    EXPECT_EQ(*used.rbegin(), 288);
    EXPECT_EQ(SlopeFloorDataIndex(5, 11), SlopeFloorDataTable[1][5]);
    EXPECT_EQ(SlopeFloorDataIndex(4, 0), 0);
}

} // namespace
} // namespace morvane
