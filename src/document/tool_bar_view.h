#pragma once

#include "document/project.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvane {

// What the tool bar and the main window show of the current room after a refresh.
struct ToolBarView {
    std::vector<std::string> RoomList;       // the room names, in order
    int SelectedRoom = -1;                   // index in RoomList, -1 for none
    std::string CurrentRoomLabel;            // the main window's "Current Room" box
    int PosX = 0, PosY = 1, PosZ = 0;        // position fields
    std::vector<std::string> PortalViewList; // "Door #1", "Door #2", ...
    int SelectedPortalView = -1;             // index, -1 for none
    // The portal fields show view 1 (whatever that slot holds, even with no views); the facing
    // list follows only when the room has views.
    int PortalRoom = 0, PortalWidth = 0, PortalHeight = 0;
    std::optional<int> PortalFacingIndex;
};

ToolBarView ToolBarValues(const TEditorProject& project);

// The portal-view list alone, after the list's own buttons changed it.
struct PortalListView {
    std::vector<std::string> Entries; // "Door #1", "Door #2", ...
    int Selected = -1;                // index, -1 for none
};

// What an operation asks of the windows.
struct DocumentOutcome {
    // An operation that refuses says so with its message (Refusal); the edit is then taken back
    // whole. Only a refusal carries a message today, but a message alone does not refuse.
    static DocumentOutcome Refusal(std::string message) {
        DocumentOutcome outcome;
        outcome.Refused = true;
        outcome.Message = std::move(message);
        return outcome;
    }

    std::string Message;                      // shown in a message box when not empty
    bool Refused = false;                     // the operation refused: take the edit back
    bool Redraw = false;                      // redraw the 3D view
    bool FrameRoom = false;                   // frame the current room in the view before redrawing
    std::optional<ToolBarView> ToolBar;       // refill the tool bar with these values
    std::optional<PortalListView> PortalList; // refill only the portal-view list
    std::optional<int> NeighbourField;        // new value of the tool bar's neighbour field
};

} // namespace morvane
