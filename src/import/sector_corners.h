#pragma once

#include "level/floor_data.h"
#include "level/game_sector.h"

#include <array>
#include <cstdint>

namespace morvane {

// Heights at a sector's four corners in clicks counted upwards (128 minus the game's height byte,
// so 1..256), in the order of the shape table: c0 (low x, low z), c1 (high x, low z), c2 (high
// x, high z), c3 (low x, high z).
using CornerClicks = std::array<int, 4>;

struct SectorCorners {
    CornerClicks Floor;
    CornerClicks Ceiling;
    // Nothing can enter the sector: its floor stands at the game's wall height (-127, whatever
    // its ceiling and slants say), or floor and ceiling leave no opening anywhere.
    bool Wall = false;
    // Floor and ceiling meet everywhere and neither slopes: nothing can stand in the sector.
    bool Closed() const;
};

// The corners of a level sector: its floor height is the floor's highest point and a floor slant
// only lowers corners; its ceiling height is the ceiling's lowest point and a ceiling slant only
// raises corners. A floor rises toward +X for a positive X slant and toward +Z for a positive Z
// slant; a ceiling rises toward +X for a positive X slant but toward -Z for a positive Z slant.
SectorCorners LevelSectorCorners(const TGameSector& sector, const SectorFloorData& entries);

// How a project sector makes a floor or a ceiling: a shape on a level (in sector heights above
// the world's bottom, i.e. PosY plus the sector's height).
struct SurfaceFit {
    int Level = 0;
    int Shape = 0;
    bool Exact = false; // the shape on that level has exactly the corners asked for
};

// The shape and level whose corners are the given ones or, when no shape makes them, those
// nearest to them (least sum of differences, then the highest point of a floor and the lowest
// point of a ceiling kept where it was). A flat floor or ceiling a whole sector height above
// another is made with shape 0 on the higher level, never with shape 1 on the lower one: the two
// build the same level.
SurfaceFit FitFloor(const CornerClicks& corners);
SurfaceFit FitCeiling(const CornerClicks& corners);

} // namespace morvane
