#pragma once

#include "level/level_data.h"

#include <cstdint>
#include <optional>

namespace morvane {

// What the floor-data entry list of one sector says about its shape and its links: the slants of
// floor and ceiling (X in the low byte, Z in the high byte, in clicks), the room beside it (a wall
// portal), and how many entries a project cannot keep (triggers, kill and climb entries ...).
struct SectorFloorData {
    std::optional<uint16_t> FloorSlant;
    std::optional<uint16_t> CeilingSlant;
    int PortalRoom = -1; // 0-based room of a portal entry, -1 for none
    int OtherEntries = 0;
    // The list runs off the floor data or holds a function that no game of the series knows;
    // what was read before that point is kept.
    bool Malformed = false;
};

// Reads the entry list that starts at `index` (0: no entries). Functions 1 (portal), 2 and 3
// (slants) carry one word; 4 (trigger) a setup word and action words up to the one with the end
// bit, a camera action one word more; 5 (kill), 6 (climbable walls) and the third game's 19 to 21
// none; the third game's triangulated floors and ceilings (7 to 18) one.
SectorFloorData ReadSectorFloorData(const TLevelData& level, uint32_t index);

} // namespace morvane
