#pragma once

#include "level/level_check.h"
#include "level/level_data.h"

#include <vector>

namespace morvane {

// How a level's boxes, overlaps and zones fit together, on a level whose box indexes and overlap
// lists lie within range: lists that name a box that does not touch or that is not listed back, a
// sector outside its box, zone numbers that join boxes the overlaps do not join under that zone's
// rule or part boxes they do (in both states of the flip map), and more boxes than the layout can
// number. The fly zone is held to joining every step of up to four clicks: the game's own levels
// part some higher ones.
std::vector<LevelFinding> CheckBoxStructure(const TLevelData& level);

} // namespace morvane
