#pragma once

#include "document/project.h"
#include "document/tool_bar_view.h"

namespace morvane {

// The fields of the tool bar's "Portals" page.
struct PortalViewFields {
    int Room = 1;        // "Room #": the room shown through the portal
    int Width = 1;       // sectors
    int Height = 1;      // sectors
    int FacingIndex = 0; // "Front", "Back", "Left", "Right", "Ceiling", "Floor"
};

// Appends a view to the current room (origin at column 3, row 2) and selects it. Refused with
// "Invalid Portal View Room number!" for the current room or a room beyond the last, and at 20.
DocumentOutcome AddPortalView(TEditorProject& project, const PortalViewFields& fields);
// Changes the selected view (from 1) to the fields' values; its origin stays.
DocumentOutcome ReplacePortalView(TEditorProject& project, int selectedView,
                                  const PortalViewFields& fields);
// Removes the last view and selects the one before it.
DocumentOutcome DeletePortalView(TEditorProject& project);
// What the fields show for the selected view (from 1).
PortalViewFields PortalViewFieldsOf(const TEditorProject& project, int selectedView);

} // namespace morvane
