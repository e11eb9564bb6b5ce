#include "import/sector_corners.h"

#include "document/shape_table.h"
#include "import/rounded_division.h"
#include "level/world_units.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace morvane {

namespace {

// Corner positions in sectors: c0 (0, 0), c1 (1, 0), c2 (1, 1), c3 (0, 1).
constexpr int CornerX[4] = {0, 1, 1, 0};
constexpr int CornerZ[4] = {0, 0, 1, 1};
constexpr int8_t WallHeight = -127;

int SlantX(uint16_t word) {
    return static_cast<int8_t>(word & 0xFF);
}
int SlantZ(uint16_t word) {
    return static_cast<int8_t>(word >> 8);
}

int ClicksUp(int8_t heightByte) {
    return 128 - heightByte;
}

// The corner rises of a shape in clicks (c0..c3).
CornerClicks ShapeRises(int shape) {
    const auto& c = ShapeTable[shape].CornerHeights;
    return {c[0] / ClickSize, c[1] / ClickSize, c[2] / ClickSize, c[3] / ClickSize};
}

// Finds the level and shape whose corners, level * 4 + sign * rise, are nearest to the corners.
// A floor's rises stand on its level (sign +1), a ceiling's hang below it (sign -1).
SurfaceFit Fit(const CornerClicks& corners, int sign) {
    SurfaceFit best;
    long bestCost = std::numeric_limits<long>::max();
    int bestExtremeMiss = std::numeric_limits<int>::max();
    const int extreme = sign > 0 ? *std::max_element(corners.begin(), corners.end())
                                 : *std::min_element(corners.begin(), corners.end());
    for (int shape = 0; shape < ShapeCount; ++shape) {
        if (shape == 1) {
            continue; // shape 0 one level higher (lower, for a ceiling) builds the same
        }
        const CornerClicks rises = ShapeRises(shape);
        int lowest = std::numeric_limits<int>::max(), highest = std::numeric_limits<int>::min();
        for (int i = 0; i < 4; ++i) {
            const int base = corners[i] - sign * rises[i];
            lowest = std::min(lowest, base);
            highest = std::max(highest, base);
        }
        for (int level = FloorDiv(lowest, LevelClicks); level <= FloorDiv(highest, LevelClicks) + 1;
             ++level) {
            long cost = 0;
            int shapeExtreme =
                sign > 0 ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
            for (int i = 0; i < 4; ++i) {
                const int made = level * LevelClicks + sign * rises[i];
                cost += std::abs(made - corners[i]);
                shapeExtreme =
                    sign > 0 ? std::max(shapeExtreme, made) : std::min(shapeExtreme, made);
            }
            const int extremeMiss = std::abs(shapeExtreme - extreme);
            if (cost < bestCost || (cost == bestCost && extremeMiss < bestExtremeMiss)) {
                bestCost = cost;
                bestExtremeMiss = extremeMiss;
                best = {level, shape, cost == 0};
            }
        }
    }
    return best;
}

} // namespace

bool SectorCorners::Closed() const {
    return Floor == Ceiling &&
           std::all_of(Floor.begin(), Floor.end(), [&](int c) { return c == Floor[0]; });
}

SectorCorners LevelSectorCorners(const TGameSector& sector, const SectorFloorData& entries) {
    SectorCorners corners;
    const int floorTop = ClicksUp(sector.FloorHeight);
    const int ceilingBottom = ClicksUp(sector.CeilingHeight);
    const uint16_t floorSlant = entries.FloorSlantWord;
    const uint16_t ceilingSlant = entries.CeilingSlantWord;
    int floorRaw[4], ceilingRaw[4];
    for (int i = 0; i < 4; ++i) {
        floorRaw[i] = SlantX(floorSlant) * CornerX[i] + SlantZ(floorSlant) * CornerZ[i];
        ceilingRaw[i] = SlantX(ceilingSlant) * CornerX[i] - SlantZ(ceilingSlant) * CornerZ[i];
    }
    const int floorHighest = *std::max_element(floorRaw, floorRaw + 4);
    const int ceilingLowest = *std::min_element(ceilingRaw, ceilingRaw + 4);
    for (int i = 0; i < 4; ++i) {
        corners.Floor[i] = floorTop - (floorHighest - floorRaw[i]);
        corners.Ceiling[i] = ceilingBottom + (ceilingRaw[i] - ceilingLowest);
    }
    bool opening = false;
    for (int i = 0; i < 4; ++i) {
        opening = opening || corners.Floor[i] < corners.Ceiling[i];
    }
    corners.Wall = sector.FloorHeight == WallHeight || !opening;
    return corners;
}

SurfaceFit FitFloor(const CornerClicks& corners) {
    return Fit(corners, +1);
}

SurfaceFit FitCeiling(const CornerClicks& corners) {
    return Fit(corners, -1);
}

} // namespace morvane
