#pragma once

#include "document/project.h"
#include "document/view_hit.h"

#include <string>

namespace morvane {

// What the status bar says of the thing under the pointer, from the pick's result: the room by
// number and name, the sector's column and row, its floor and ceiling in clicks above the room's
// bottom (the floor at its highest point, the ceiling at its lowest), its shapes and its portal
// links.
// Empty for nothing. The room's name is the project's single-byte text; the rest is ASCII.
std::string SectorStatusText(const TEditorProject& project, int neighbourRoom, const ViewHit& hit);
// Its first part for a sector of the current room: the room and the sector's column and row
// ("Room 1 "Hall" | column 3, row 4"); empty for anything else.
std::string SectorPlaceText(const TEditorProject& project, const ViewHit& hit);

} // namespace morvane
