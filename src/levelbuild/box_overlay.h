#pragma once

#include "level/box_rules.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

// What the view's box overlay shows of a level whose boxes are made (GenerateBoxes): each
// sector's box, a tint per box, and what a box is to the enemies (its floor, zones and overlaps).
// Boxes are counted from 0 here and shown from 1, as the level check counts them.

// The box of each sector of a level room (from 0, in the room's sector order); -1 for a sector
// without one or whose number is past the level's boxes. Empty for a room the level lacks.
std::vector<int> RoomSectorBoxes(const TLevelData& level, int room);

// The boxes a box's overlap list names, the box itself left out. None for a box that overlaps
// none: such a box points at another box's list (the game reads a word of every list), which
// no box it names points back from.
int OverlapCount(const TLevelData& level, int box);

// A box's zone in one zone array of the layout (0-4: ground 1-4 and fly), in the normal and
// the flipped state.
struct BoxZone {
    int Array = 0;
    int Normal = 0;
    int Flipped = 0;
};
struct BoxFacts {
    int Box = -1;
    int TrueFloor = 0;          // world y, growing downwards
    std::vector<BoxZone> Zones; // the arrays the layout has, in order
    int Overlaps = 0;
};
// Nothing (Box -1) for a number past the level's boxes.
BoxFacts DescribeBox(const TLevelData& level, int box);

// "Box 12: floor y -768 (3 clicks above the room's bottom), zones ground 1: 4, ground 2: 2,
// fly: 1, 5 overlaps", the box numbered from 1, the clicks counted from the bottom of the given
// level room (the one the box lies in), a zone followed by "(flipped N)" where the flipped
// state's differs. Empty for a box the level does not have.
std::string BoxStatusText(const TLevelData& level, int room, int box);

// A tint for each box (red in the lowest byte, then green, then blue) from a palette of twelve
// hues, box by box: the first hue from the one the box's number picks that no box it overlaps
// has taken yet, so that overlapping boxes differ while a box overlaps fewer than twelve. The
// same boxes and lists give the same tints.
std::vector<uint32_t> BoxTints(const TLevelData& level);

} // namespace morvane
