#pragma once

#include "document/project.h"
#include "document/room_operations.h"

#include <string>

namespace morvane {

// The names of the edits as the Edit menu shows them after "Undo " and "Redo ".
namespace EditNames {
inline constexpr const char* AddRoom = "Add Room";
inline constexpr const char* EditRoomProperties = "Edit Room Properties";
inline constexpr const char* RebuildRoom = "Rebuild Room";
inline constexpr const char* DeleteRoom = "Delete Room";
inline constexpr const char* CloneRoom = "Clone Room";
inline constexpr const char* MakeAlternateRoom = "Make Alternate Room";
inline constexpr const char* MoveRoom = "Move Room"; // the tool bar's position fields
inline constexpr const char* AddPortalView = "Add Portal View";
inline constexpr const char* ReplacePortalView = "Replace Portal View";
inline constexpr const char* DeletePortalView = "Delete Portal View";
inline constexpr const char* PlacePortalView = "Place Portal View"; // Alt-click: its origin
inline constexpr const char* MakePortalViews = "Make Portal Views"; // from the doorways
inline constexpr const char* MakePortalViewsForAllRooms = "Make Portal Views for All Rooms";
// A sector click, by what it did, the most telling first.
inline constexpr const char* RaiseFloor = "Raise Floor";
inline constexpr const char* LowerFloor = "Lower Floor";
inline constexpr const char* RaiseCeiling = "Raise Ceiling";
inline constexpr const char* LowerCeiling = "Lower Ceiling";
inline constexpr const char* FillSector = "Fill Sector"; // a floor raised to the ceiling
inline constexpr const char* EditFloorHeights = "Edit Floor Heights";     // raised and lowered
inline constexpr const char* EditCeilingHeights = "Edit Ceiling Heights"; // raised and lowered
inline constexpr const char* PlaceFloorShape = "Place Floor Shape";
inline constexpr const char* PlaceCeilingShape = "Place Ceiling Shape";
inline constexpr const char* PaintFloorTextures = "Paint Floor Textures";
inline constexpr const char* PaintCeilingTextures = "Paint Ceiling Textures";
inline constexpr const char* SetFloorPortals = "Set Floor Portals";
inline constexpr const char* SetCeilingPortals = "Set Ceiling Portals";
// The objects.
inline constexpr const char* PlaceObject = "Place Object";
inline constexpr const char* MoveObject = "Move Object";
inline constexpr const char* TurnObject = "Turn Object";
inline constexpr const char* DeleteObject = "Delete Object";
inline constexpr const char* PasteObject = "Paste Object";
inline constexpr const char* ChangeObject = "Change Object"; // a field of the objects dock
inline constexpr const char* SetTrigger = "Set Trigger";     // added, or a field of its dock
inline constexpr const char* DeleteTrigger = "Delete Trigger";
inline constexpr const char* PasteTrigger = "Paste Trigger";
} // namespace EditNames

// "Send to Front", ... as the Rooms menu names them.
std::string SendRoomToName(SendDirection direction);

// The name of a sector click (the floor, or the ceiling with Ctrl) from the room before and
// after it: heights raised or lowered, a floor filled up to its ceiling, a shape placed, textures
// painted, or portal links set. Sectors beyond the room's grid are not looked at.
std::string SectorEditName(const TEditorRoom& before, const TEditorRoom& after, bool ceiling);

} // namespace morvane
