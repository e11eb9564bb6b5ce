#pragma once

#include "level/level_data.h"

namespace morvane {

// Covers the open sectors (floor below ceiling) of every room with boxes: rectangles of sectors
// of one room that share the floor enemies walk on and its slope, grown greedily (from the first
// free sector in the room's order, as far as it goes along z, then as far along x as every
// sector of that strip fits). Two boxes overlap when their rectangles touch along an edge inside
// a room, across a doorway (a wall sector's portal) or through a hole (a sector over a room
// below and the sector under it). Fills the boxes, their overlap lists, every zone array of the
// layout and every sector's box index. A box's true floor is the world y of the floor enemies
// walk on: the sector's floor, or over a room below the floor they fall to. Throws
// CapacityError when the level cannot hold the boxes or the overlaps.
void GenerateBoxes(TLevelData& level);

// The number of boxes a level of this layout can hold.
int BoxLimit(const TLevelData& level);

// The step a creature of each zone array may climb or drop between two overlapping boxes, by
// array (ground 1-4 and fly, then the same for the alternate state); -1 for an array the layout
// does not have, and a step above any floor difference for the fly zone.
int ZoneStep(int32_t formatKind, int zoneArray);

// Bit 15 of an overlap word ends a box's list; the rest is the box number.
inline constexpr uint16_t OverlapEnd = 0x8000;
inline constexpr uint16_t OverlapBoxMask = 0x7FFF;
// Bits 0-13 of a box's overlap index point into the list (bit 14 blocked, bit 15 blockable,
// both left clear: a door's box is blocked by the game itself).
inline constexpr uint16_t OverlapIndexMask = 0x3FFF;

} // namespace morvane
