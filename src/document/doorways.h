#pragma once

#include "document/project.h"
#include "document/tool_bar_view.h"

#include <vector>

namespace morvane {

// An opening a room shares with another room, and the portal view that lies on it:
// - a run of wall-portal sectors along one side of the room (its border column or row) toward
//   the same room: the view stands on the plane between the run and the room's inside, as wide
//   as the run and as high as the opening in whole sectors;
// - an area of sectors linked to the same room below (or above): the view lies on the room's
//   bottom (or top) and covers the area's bounding rectangle.
// When the other room has the doorway back (a run on the same plane facing this one, or an area
// linked back), the doorway is cut to the part the two share, so that both rooms' views cover
// the same opening.
enum class DoorwayKind { Wall, Floor, Ceiling };
struct Doorway {
    DoorwayKind Kind = DoorwayKind::Wall;
    int TargetRoom = 0; // from 1
    // The opening's sectors: columns and rows from 1, first <= last. A wall run lies in one
    // column or row.
    int FirstColumn = 0, LastColumn = 0, FirstRow = 0, LastRow = 0;
    // World y, the top above the bottom. For a wall run, the opening between the run and the
    // sectors inside the room: each pair of sectors opens from the higher of their floors to the
    // lower of their ceilings; the run's opening spans them all. A run's sector counts with the
    // heights of the sector beyond it (see SectorBeyond), as the level gets it. For a floor
    // (ceiling) area, the highest and lowest of its sectors' floors (ceilings): one plane when they
    // are equal.
    int TopY = 0, BottomY = 0;
    TPortalView View{};
};

// The sector of the room beside that a wall-portal sector (room and sector from 1) stands over.
// An opening counts the wall-portal sector with that sector's floor and ceiling, so that the
// rooms on both sides of a doorway find the same opening whatever heights the wall-portal sectors
// hold; Make Portal Views gives them those heights, so that the room's own step faces frame the
// opening. {0, 0} when the sector has no wall portal to another room of the project, the room
// beside has no sector there, or that sector is a wall portal itself.
struct RoomSector {
    int Room = 0, Sector = 0;
};
RoomSector SectorBeyond(const TEditorProject& project, int room, int n);
// A sector's floor and ceiling in world y as an opening counts them (for a wall-portal sector,
// those of the sector beyond it).
int BuiltFloorY(const TEditorProject& project, int room, int n);
int BuiltCeilingY(const TEditorProject& project, int room, int n);

// The opening a wall view of the room (from 1) stands in, in world y: over each sector of its
// width, the view's own sector and the one across its plane open from the higher of their floors
// to the lower of their ceilings; the opening spans them all. The level's portal fills it, so
// the views of both rooms of a doorway are one quad. False when no pair opens (or for a floor or
// ceiling view).
bool WallViewOpening(const TEditorProject& project, int room, const TPortalView& view, int& top,
                     int& bottom);

// The room's (from 1) doorways in this order: wall runs of the sides -x, +x, -z, +z, each from
// low to high rows or columns, then floor areas, then ceiling areas, each in the order of their
// first sector. A wall-portal sector inside the room or alone in a corner, and links to the room
// itself or to rooms the project does not have, make no doorway.
std::vector<Doorway> FindDoorways(const TEditorProject& project, int room);

// The portal view's rectangle on its plane, in sectors of the room: the columns and rows it
// spans (a wall view spans one column or one row on its plane side).
struct ViewSpan {
    int FirstColumn = 0, LastColumn = 0, FirstRow = 0, LastRow = 0;
};
ViewSpan SpanOfView(const TPortalView& view);

// The height (world y) at which a floor or ceiling view of the room (from 1) lies in the level:
// on the floors (ceilings) of the sectors it covers that are linked to its room, when they lie at
// one height and meet the ceilings (floors) of that room's sectors over them, as the two rooms'
// views of one opening must; otherwise on the room's bottom (top).
int LinkViewY(const TEditorProject& project, int room, const TPortalView& view);

// The world y a wall view of the room (from 1) spans in the level: the opening it stands in, up
// to the view's own height from its origin sector's floor when that stops short of the
// opening's top; with no opening, its own height from its origin sector's floor. False for a
// floor or ceiling view, or an origin outside the room's grid.
bool WallViewSpanY(const TEditorProject& project, int room, const TPortalView& view, int& top,
                   int& bottom);

enum class PortalViewScope { CurrentRoom, AllRooms };

// "Make Portal Views": the room's portal views (every room's, for AllRooms) are replaced by the
// views of its doorways, one a doorway. For the current room, each room it shares an opening
// with also gets its views toward the current room replaced by those of its own doorways toward
// it (its other views stay). Each wall-portal sector of a doorway whose view is made takes the
// floor, ceiling and shapes of the sector beyond it (see SectorBeyond). Refused, with nothing
// changed, when a room would need more than 20 views. A pure function of the document: the
// editor records the rooms before and after for undo.
DocumentOutcome MakePortalViews(TEditorProject& project, PortalViewScope scope);

} // namespace morvane
