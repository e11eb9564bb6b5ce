#pragma once

#include "document/project.h"
#include "level/level_data.h"

#include <optional>

namespace morvane {

// A portal view that makes a level room's portal: its facing from the portal's normal, its
// origin, width and height from its corners, the inverse of the corners the build gives each
// facing. Exact when the view makes the portal as it is: square to the grid, on whole sectors,
// a wall portal standing on its origin sector's floor, a floor or ceiling portal at the room's
// bottom or top. The target room is the caller's.
struct PortalViewFit {
    TPortalView View;
    bool Exact = false;
};

// Empty when no view can make the portal: its normal is not along an axis, or its origin falls
// outside the project room's grid. `room` holds the project room's grid and levels.
std::optional<PortalViewFit> PortalViewOf(const TRoomPortal& portal, const TLevelRoom& from,
                                          const TEditorRoom& room);

} // namespace morvane
