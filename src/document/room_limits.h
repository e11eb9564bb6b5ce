#pragma once

#include "document/project.h"
#include "level/world_units.h"

#include <cstdint>
#include <limits>
#include <string>

namespace morvane {

// Limits that keep every room within the fields of a level, so that the build's arithmetic on
// positions (room corners, boxes, the player's place, portal-view corners) never overflows:
// - a room has 1 to 31 columns and rows: its vertices lie 0 to 31 sectors (31744 units) from its
//   corner, within the level's 16-bit vertex coordinates (32 columns would reach 32768);
// - its position, counted in sectors, keeps its corner plus or minus any 16-bit coordinate
//   relative to it (vertices, portal corners, the player 3 sectors in) within the level's
//   32-bit world coordinates;
// - a portal view is 1 to 32 sectors wide and high, the tool bar's range;
// - for the build also its levels: it stands on level 1 or above and reaches level 64 at most,
//   so that each height fits the level's height byte.
inline constexpr int MaxRoomSide = 31;
inline constexpr int32_t MinRoomPosition =
    (std::numeric_limits<int32_t>::min() + 32768) / SectorSize;
inline constexpr int32_t MaxRoomPosition =
    (std::numeric_limits<int32_t>::max() - 32767) / SectorSize;
inline constexpr int MaxPortalViewTiles = 32;
inline constexpr int LowestRoomLevel = 1;

enum class RoomLimits {
    // Grid, position and portal views: what a project file is refused for when it is opened.
    Placement,
    // The same and the room levels, checked by the build. The tool bar's "Y" can put a room's
    // top above level 64, and a project saved so must still open.
    PlacementAndLevels,
};

// The first room (1..RoomCount) that breaks a limit, as a text naming the room, the value and
// the limit, e.g. Room 2 ("Pool") has 40 columns and 8 rows; a room has 1 to 31 of each. Empty
// when every room keeps the limits. The room count must be within the document's capacity.
std::string RoomLimitsProblem(const TEditorProject& project, RoomLimits limits);
// The same for one room, numbered `number` in the messages.
std::string RoomLimitsProblem(const TEditorRoom& room, int number, RoomLimits limits);

} // namespace morvane
