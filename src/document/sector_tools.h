#pragma once

#include "document/project.h"
#include "document/scene_rooms.h"
#include "document/tool_bar_view.h"
#include "document/view_hit.h"

#include <string>
#include <vector>

namespace morvane {

// The tool bar's settings that a click in the view applies (values as the tool bar shows them).
struct SectorToolState {
    int SelectedShape = 1; // 0..10, from the shape buttons
    // 0 for "Back-Front" (replicate along the rows), 6 for "Left-Right" (along the columns,
    // and sloped shapes placed turned by a quarter).
    int ShapeMirror = 0;
    int ReplicationCount = 1; // 1..1000
    bool PutShapes = true;    // the "When Click put" boxes
    bool PutTextures = true;
    bool PutPortals = true;
    int FloorTexture = 1; // texture numbers from 1; 0 leaves the face out
    int FloorWalls = 1;
    int CeilingTexture = 1;
    int CeilingWalls = 1;

    // The portal fields (room numbers, 0 for none). "Room Side" is kept apart from the other two:
    // a positive side clears above and below, a positive above or below clears the side.
    int RoomAbove() const { return roomAbove_; }
    int RoomSide() const { return roomSide_; }
    int RoomBelow() const { return roomBelow_; }
    void SetRoomAbove(int room);
    void SetRoomSide(int room);
    void SetRoomBelow(int room);

    bool ReplicatesColumns() const { return ShapeMirror != 0; }

private:
    int roomAbove_ = 0;
    int roomSide_ = 0;
    int roomBelow_ = 0;
};

// A left click in the view on what the pick found: the neighbour becomes the current room, or
// the floor (the ceiling with Ctrl) of the sector and its replicas is edited. Shift places the
// other turn of the sloped shapes.
DocumentOutcome EditClick(TEditorProject& project, SceneRooms& scene, const SectorToolState& tools,
                          const ViewHit& hit, bool ctrl, bool shift);

// The edit of a click (floor, or ceiling with Ctrl; Shift turns the sloped shapes) applied to
// each of the sectors of the current room once, without replication: what a drag over them
// does. Stops at the first sector the shape does not fit, with the click's message.
DocumentOutcome EditSectors(TEditorProject& project, SceneRooms& scene,
                            const SectorToolState& tools, const std::vector<int>& sectors,
                            bool ctrl, bool shift);

// An Alt-click: the selected portal view (from 1; 0 for none) gets its origin at the sector.
DocumentOutcome PortalOriginClick(TEditorProject& project, const ViewHit& hit, int selectedView);

// The Space key: the sector's textures and portal links go back into the tool bar.
struct ReadSectorOutcome {
    bool Read = false;
    std::string StatusText; // " Column:" x " Row:" z for the status bar
};
ReadSectorOutcome ReadSector(const TEditorProject& project, const ViewHit& hit,
                             SectorToolState& tools);

// The view keeps the height selector within 0 .. Height - 1 of the drawn room.
void ClampHeightSelector(SceneRooms& scene, const TEditorProject& project);
// Up (+1) and Down (-1): returns what the "Height Selector" box shows afterwards.
int StepHeightSelector(SceneRooms& scene, const TEditorProject& project, int step);

} // namespace morvane
