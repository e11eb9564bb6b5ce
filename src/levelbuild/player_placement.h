#pragma once

#include "level/level_data.h"

namespace morvane {

// Where the build put Lara.
struct PlayerPlacement {
    int Column = 0, Row = 0; // her sector, from 1
    int X = 0, Y = 0, Z = 0; // world units
    // Her usual spot (3072 and 1536 units into the room from its corner) was outside the room
    // or not on an open sector, so she stands in the middle of the room's first open sector.
    bool Fallback = false;
    // The room has no open sector at all: she stands in the middle of the room's sector nearest
    // her usual spot, on its floor.
    bool NoOpenSector = false;
};

// Makes Lara the level's only item, in level room `room` (0-based), standing on the floor: at
// her usual spot when that lies on an open sector of the room, else in the middle of the first
// open sector, column by column. An open sector has its floor below its ceiling, no wall portal
// and no room below. Her height is the floor's at her x and z, slope included, as the game finds
// it, so the floor data must be complete. Her angle's low byte and her flags are kept.
PlayerPlacement PlacePlayer(TLevelData& level, int room);

} // namespace morvane
