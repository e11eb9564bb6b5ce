#pragma once

#include "level/box_rules.h"
#include "level/level_data.h"

namespace morvane {

// Covers the open sectors (floor below ceiling) of every room with boxes: rectangles of sectors
// of one room that share the floor enemies walk on (a slanted floor's at its middle, rounded
// down to a click; the third game's floor triangles only with the same triangle; the sectors
// beside a doorway only with each other), grown greedily (from the first free sector in the room's order, as far
// as it goes along z, then as far along x as every sector of that strip fits). Two boxes overlap
// when their rectangles touch along an edge inside a room, across a doorway (a wall sector's
// portal) or through a hole (a sector over a room below and the sector under it). Fills the
// boxes, their overlap lists, every zone array of the layout and every sector's box index. A
// box's true floor is the world y of the floor enemies walk on: the sector's floor, or over a
// room below the floor they fall to. A doorway or a hole into a room that has an alternate joins
// the alternate's box there too, and each zone array of the flipped state counts the alternates
// in place of their originals. Throws CapacityError when the level cannot hold the boxes or the
// overlaps.
void GenerateBoxes(TLevelData& level);

} // namespace morvane
