#pragma once

#include "document/project.h"
#include "document/scene_rooms.h"
#include "document/tool_bar_view.h"

#include <string>

namespace morvane {

// The values of the "Add new Room" dialog, which keeps them between uses.
struct RoomDialogValues {
    int Long = 10;  // ZSectors
    int Width = 10; // XSectors
    std::string Name;
    int X = 100;
    int Y = 32;
    int Z = 100;
    int Height = 3;
    int AmbientLight = 16;
    int FloorTop = 1; // texture numbers as shown (stored minus 1)
    int FloorWalls = 1;
    int CeilingTop = 1;
    int CeilingWalls = 1;
    bool Water = false;
    bool Sky = false;
    bool WindRain = false;
    bool Quicksand = false;
};

// Dialog values for a room of a size at a place (x, y, z); the other fields keep their defaults.
RoomDialogValues RoomAt(int length, int width, int x, int y, int z, int height);

// The name the dialog offers for the next room: "Room #" and its number.
std::string NextRoomName(const TEditorProject& project);

// Lays out a room's sector grid: open sectors with the room's default textures and light, a
// solid border. Nothing is touched when the height or level is 0, when the room would reach
// above level 64, or when the grid is empty or larger than 1024 sectors; returns whether the
// grid was built.
bool BuildSectorGrid(TEditorRoom& room, int zSectors, int xSectors, int posY, int height);

// Clears the document and the view's rooms.
DocumentOutcome NewProject(TEditorProject& project, SceneRooms& scene);

// Appends a room from the dialog's values and makes it current. Refused at 128 rooms.
DocumentOutcome AddRoom(TEditorProject& project, SceneRooms& scene, const RoomDialogValues& values);
bool ProjectIsFull(const TEditorProject& project);

// Properties: the dialog is shown with the current room's values, then applied. When the grid
// size changed or "ReBuild" was ticked the user is asked ("WARNING !!!") before the grid is
// rebuilt. Without a current room (no rooms) there is nothing to edit: see HasCurrentRoom.
RoomDialogValues PropertiesDialogValues(const TEditorProject& project);
struct PropertiesOutcome {
    DocumentOutcome Window;
    bool AskRebuild = false;
};
PropertiesOutcome ApplyRoomProperties(TEditorProject& project, const RoomDialogValues& shown,
                                      const RoomDialogValues& edited, bool rebuildTicked);
DocumentOutcome RebuildCurrentRoom(TEditorProject& project, const RoomDialogValues& edited);

// Removes the last room (never the only one), its objects and its alternate-room links: an edit
// in FlipMapsScope(LayerBit(ObjectsLayerIndex) | LayerBit(TriggersLayerIndex)).
DocumentOutcome DeleteRoom(TEditorProject& project, SceneRooms& scene);
// Appends a copy of the current room, one sector further in X and Z. Refused at 128 rooms.
DocumentOutcome CloneRoom(TEditorProject& project);
// A click on entry listIndex (from 0) of the room list.
DocumentOutcome SelectRoom(TEditorProject& project, SceneRooms& scene, int listIndex);

enum class SendDirection { Front, Back, Left, Right, Down, Up };
// Places the current room against the room in the tool bar's neighbour field (nothing when that
// is the current room itself).
DocumentOutcome SendRoomTo(TEditorProject& project, SendDirection direction, int neighbourField);

} // namespace morvane
