#pragma once

#include "document/project.h"
#include "level/level_data.h"

#include <optional>

namespace morvane {

// A portal view that makes a level room's portal: its facing from the portal's normal, its
// origin, width and height from its corners, the inverse of the corners the build gives each
// facing. Exact when the view makes the portal as it is across: square to the grid, on whole
// sectors, a floor or ceiling portal at the room's bottom or top. A wall portal's height is that
// from its origin sector's floor up to its top; the build fills the opening the view stands in,
// which only the whole project tells (see WallViewSpanY): Top and Bottom keep its world y for
// that. The target room is the caller's.
struct PortalViewFit {
    TPortalView View;
    bool Exact = false;
    int Top = 0, Bottom = 0;
};

// Empty when no view can make the portal: its normal is not along an axis, or its origin falls
// outside the project room's grid. `room` holds the project room's grid and levels.
std::optional<PortalViewFit> PortalViewOf(const TRoomPortal& portal, const TLevelRoom& from,
                                          const TEditorRoom& room);

} // namespace morvane
