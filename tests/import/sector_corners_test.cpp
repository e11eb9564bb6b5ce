#include "import/sector_corners.h"

#include "levelbuild/slope_floor_data.h"
#include "document/sector_heights.h"
#include "document/shape_table.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

// The corners a shape gives on a level, from the shape table: a floor's rise stands on its level,
// a ceiling's hangs below it.
CornerClicks ShapeCorners(int shape, int level, int sign) {
    const auto& c = ShapeTable[shape].CornerHeights;
    CornerClicks corners;
    for (int i = 0; i < 4; ++i) {
        corners[i] = 4 * level + sign * c[i] / 256;
    }
    return corners;
}

// A level sector as the build writes it: heights from the project's levels and shapes, slants
// from the floor data of the shapes' slope classes.
std::pair<TGameSector, SectorFloorData> Built(int posY, int floorLevel, int floorShape,
                                              int ceilingLevel, int ceilingShape) {
    TGameSector sector{};
    sector.FloorHeight = LevelFloorHeight(posY, floorLevel - posY, floorShape);
    sector.CeilingHeight = LevelCeilingHeight(posY, ceilingLevel - posY, ceilingShape);
    SectorFloorData entries;
    if (ShapeTable[floorShape].SlopeClass != 0) {
        entries.FloorSlantWord = SlantWord(FloorSlant(floorShape));
    }
    if (ShapeTable[ceilingShape].SlopeClass != 0) {
        entries.CeilingSlantWord = SlantWord(CeilingSlant(ceilingShape));
    }
    return {sector, entries};
}

TEST(SectorCorners, EveryShapeComesBackFromTheHeightsAndSlantsTheBuildWrites) {
    for (int shape = 0; shape < ShapeCount; ++shape) {
        for (int level : {1, 7, 31, 32, 33, 60}) {
            SCOPED_TRACE("shape " + std::to_string(shape) + " on level " + std::to_string(level));
            // The floor on the level under a flat ceiling well above, the ceiling on the level
            // over a flat floor well below.
            const auto [floorSector, floorEntries] = Built(1, level, shape, 64, 0);
            const SectorCorners floor = LevelSectorCorners(floorSector, floorEntries);
            EXPECT_EQ(floor.Floor, ShapeCorners(shape, level, +1));
            const auto [ceilingSector, ceilingEntries] = Built(1, 0, 0, level + 1, shape);
            const SectorCorners ceiling = LevelSectorCorners(ceilingSector, ceilingEntries);
            EXPECT_EQ(ceiling.Ceiling, ShapeCorners(shape, level + 1, -1));

            // Shape 1 is shape 0 one level further; every other shape is found as it was.
            const SurfaceFit floorFit = FitFloor(floor.Floor);
            EXPECT_TRUE(floorFit.Exact);
            EXPECT_EQ(floorFit.Shape, shape == 1 ? 0 : shape);
            EXPECT_EQ(floorFit.Level, shape == 1 ? level + 1 : level);
            const SurfaceFit ceilingFit = FitCeiling(ceiling.Ceiling);
            EXPECT_TRUE(ceilingFit.Exact);
            EXPECT_EQ(ceilingFit.Shape, shape == 1 ? 0 : shape);
            EXPECT_EQ(ceilingFit.Level, shape == 1 ? level : level + 1);
        }
    }
}

TEST(SectorCorners, SlantsNoShapeMakesGetTheNearestShape) {
    // A floor at click 117 rising one click toward +x: flat, at its highest point.
    TGameSector sector{};
    sector.FloorHeight = 128 - 117;
    sector.CeilingHeight = 128 - 130;
    SectorFloorData entries;
    entries.FloorSlantWord = 0x0001;
    SectorCorners corners = LevelSectorCorners(sector, entries);
    EXPECT_EQ(corners.Floor, (CornerClicks{116, 117, 117, 116}));
    SurfaceFit fit = FitFloor(corners.Floor);
    EXPECT_FALSE(fit.Exact);
    EXPECT_EQ(fit.Shape, 4) << "a block one click above level 29";
    EXPECT_EQ(fit.Level, 29);

    // A ceiling rising 3 clicks toward -z (Z slant +3) from click 130: a slope of 2 clicks from its
    // lowest point (a slope of 4 clicks cannot start at click 130, two clicks above a level).
    entries = {};
    entries.CeilingSlantWord = 0x0300;
    corners = LevelSectorCorners(sector, entries);
    EXPECT_EQ(corners.Ceiling, (CornerClicks{133, 133, 130, 130}));
    fit = FitCeiling(corners.Ceiling);
    EXPECT_FALSE(fit.Exact);
    EXPECT_EQ(ShapeCorners(fit.Shape, fit.Level, -1), (CornerClicks{132, 132, 130, 130}));

    // A diagonal floor slant: no shape slopes two ways; the cost stays that of the best flat or
    // straight slope.
    entries = {};
    entries.FloorSlantWord = 0x0202;
    corners = LevelSectorCorners(sector, entries);
    EXPECT_EQ(corners.Floor, (CornerClicks{113, 115, 117, 115}));
    fit = FitFloor(corners.Floor);
    EXPECT_FALSE(fit.Exact);
    int cost = 0;
    const CornerClicks made = ShapeCorners(fit.Shape, fit.Level, +1);
    for (int i = 0; i < 4; ++i) {
        cost += std::abs(made[i] - corners.Floor[i]);
    }
    EXPECT_EQ(cost, 4) << "e.g. the 4-click slope along x or z on level 28";
}

TEST(SectorCorners, WallsAreTheGamesWallHeightOrNoOpening) {
    SectorFloorData none, slanted;
    slanted.CeilingSlantWord = 0xFE00;
    TGameSector sector{};
    sector.FloorHeight = sector.CeilingHeight = -127;
    EXPECT_TRUE(LevelSectorCorners(sector, none).Wall);
    EXPECT_TRUE(LevelSectorCorners(sector, none).Closed());
    EXPECT_TRUE(LevelSectorCorners(sector, slanted).Wall)
        << "a wall keeps its wall height whatever slants its floor data holds";
    EXPECT_FALSE(LevelSectorCorners(sector, slanted).Closed());

    sector.FloorHeight = 4;
    sector.CeilingHeight = 4;
    EXPECT_TRUE(LevelSectorCorners(sector, none).Wall);
    EXPECT_TRUE(LevelSectorCorners(sector, none).Closed());
    sector.CeilingHeight = 6; // the ceiling below the floor
    EXPECT_TRUE(LevelSectorCorners(sector, none).Wall);
    EXPECT_FALSE(LevelSectorCorners(sector, none).Closed());
    sector.CeilingHeight = 2;
    EXPECT_FALSE(LevelSectorCorners(sector, none).Wall);
    sector.CeilingHeight = 4;
    EXPECT_FALSE(LevelSectorCorners(sector, slanted).Wall)
        << "a ceiling sloping up from the floor leaves an opening";
}

} // namespace
} // namespace morvane
