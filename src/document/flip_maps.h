#pragma once

// Alternate rooms ("flip maps"): while the game's flip is on, a room's alternate is there in its
// place. A plain record beside the rooms, changed only by the operations of
// flip_map_operations.h, and stored in the project file as a block after the rooms.
#include <cstdint>

namespace morvane {

// One slot for each room the document can hold (its MaxRooms).
inline constexpr int FlipMapSlots = 128;

// Per room (slot r - 1 for room r), the number of its alternate room, 0 for none. A room is
// either an original, an alternate or neither: an alternate has no alternate of its own, and no
// room is the alternate of two rooms.
struct TFlipMaps {
    uint8_t Alternate[FlipMapSlots];
};
static_assert(sizeof(TFlipMaps) == 128);

} // namespace morvane
