#pragma once

#include "level/level_data.h"

namespace morvane {

// One box for every open sector (floor below ceiling) of every room, each overlapping itself
// and its open neighbours of the same room whose floors are at most a click apart; fills the
// boxes, their overlap lists, the zones (all 0) and every sector's box index. A box's true floor
// is the world y of the floor enemies walk on: the sector's floor, or over a room below the
// floor they fall to. Throws CapacityError when the level cannot hold the boxes or the overlaps.
void GenerateBoxes(TLevelData& level);

// The number of boxes a level of this layout can hold.
int BoxLimit(const TLevelData& level);

} // namespace morvane
