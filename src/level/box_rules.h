#pragma once

#include "level/level_data.h"
#include "level/level_format.h"
#include "level/world_units.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace morvane {

// Bit 15 of an overlap word ends a box's list; the rest is the box number.
inline constexpr uint16_t OverlapEnd = 0x8000;
inline constexpr uint16_t OverlapBoxMask = 0x7FFF;
// Bits 0-13 of a box's overlap index point into the list (bit 14 blocked, bit 15 blockable,
// both left clear: a door's box is blocked by the game itself).
inline constexpr uint16_t OverlapIndexMask = 0x3FFF;

// The number of boxes a level of this layout can hold: the third game keeps a sector's box
// number in bits 4-14 of its box index, with all of them set for "no box".
int BoxLimit(int32_t formatKind);
inline int BoxLimit(const TLevelData& level) {
    return BoxLimit(level.FormatKind);
}

// The box a sector stands in, or -1 (read for every sector of a level: inline).
inline int SectorBox(int32_t formatKind, const TGameSector& sector) {
    if (formatKind == FormatTR3) {
        const int box = (sector.BoxIndex >> 4) & NoBoxNumberTR3;
        return box == NoBoxNumberTR3 ? -1 : box;
    }
    return sector.BoxIndex == NoBox ? -1 : int{sector.BoxIndex};
}

// The step a creature of each zone array may climb or drop between two overlapping boxes, by
// array (ground 1-4 and fly, then the same for the alternate state); -1 for an array the layout
// does not have, and a step above any floor difference for the fly zone.
int ZoneStep(int32_t formatKind, int zoneArray);

// Which rooms are there in each state of the flip map: in the normal state every room but the
// alternate versions, in the flipped state every room but those an alternate replaces. Indexed
// by level room; a room that names an alternate outside the level counts as having none, and
// a room that is an earlier room's alternate is one even when it names that room back.
struct FlipStates {
    std::vector<bool> InNormal, InFlipped;
    bool AnyAlternate = false;
};
FlipStates RoomFlipStates(const TLevelData& level);

// An overlapping pair of boxes as one number: the smaller box in the high half.
inline uint32_t OverlapPair(int a, int b) {
    return a < b ? (uint32_t(a) << 16) | uint32_t(b) : (uint32_t(b) << 16) | uint32_t(a);
}

// What the zones are made from, read back from a level's own records: each pair of boxes that
// list each other, once; each box's floor and, in a level with alternate rooms, the room of its
// first sector (-1 when no sector stands in it or the level has none); and the entries (a << 16 |
// b) of boxes a whose list names b without b naming a back. Of boxes that share one overlap index,
// one that no box it names lists back has no list of its own (it touches nothing, and the game
// never takes the boxes that list names): its entries count for neither. Lists are read up to their
// end mark and never past the overlap words or the box count.
struct BoxGraph {
    std::vector<uint32_t> Pairs;
    std::vector<int16_t> Floors;
    std::vector<int> Rooms;
    std::vector<uint32_t> OneWay;
    std::vector<bool> OwnList;
};
BoxGraph ReadBoxGraph(const TLevelData& level);

// Whether each box is there in one state of the flip map (a box without a room always is).
std::vector<bool> BoxesInState(const BoxGraph& graph, const std::vector<bool>& roomInState);

// Numbers every zone array of the level again from its own overlaps, for both states of the
// flip map: what the build does once a script has named alternate rooms.
void RenumberZones(TLevelData& level);

// Numbers one zone array: boxes joined by overlapping pairs (each pair once) whose floors lie at
// most `step` apart share a number, from 1 in the order of their first box. A box that is not
// there in the array's state (present[b] false) is joined only with others that are not.
void NumberZones(const std::vector<uint32_t>& pairs, const std::vector<int16_t>& floors,
                 const std::vector<bool>& present, int step, uint16_t* zones);

} // namespace morvane
