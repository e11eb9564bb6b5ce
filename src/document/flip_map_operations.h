#pragma once

// The edits of the alternate rooms, each one step of the undo history (run through the editor's
// one edit path with FlipMapsScope), and what the rest of the program asks of the links.
#include "document/document_change.h"
#include "document/flip_maps.h"
#include "document/project.h"
#include "document/scene_rooms.h"
#include "document/tool_bar_view.h"

#include <string>
#include <vector>

namespace morvane {

// The place of the alternate rooms among the document's layers, and the scope of their edits
// (other layers an edit also writes may be added, e.g. the objects of Delete Room).
inline constexpr int FlipMapsLayerIndex = 2;
inline constexpr const char* FlipMapsLayerName = "alternate rooms";
inline EditScope FlipMapsScope(uint32_t otherLayers = 0) {
    return EditScope(RoomScope::CurrentAndNext, LayerBit(FlipMapsLayerIndex) | otherLayers);
}

// The alternate of a room, or 0; the room a room is the alternate of, or 0.
int AlternateOf(const TEditorProject& project, int room);
int OriginalOf(const TEditorProject& project, int room);
// How many rooms are alternates.
int AlternateRoomCount(const TEditorProject& project);
// The room the game shows in a room's place: while the flip is on, its alternate when it has
// one; otherwise the room itself.
int ShownRoom(const TEditorProject& project, int room, bool flipped);

// The room the view turns to when the flip is turned on or off with a room current: on, the
// room's alternate; off, an alternate's original; otherwise the room itself.
int RoomAfterFlip(const TEditorProject& project, int room, bool flipped);

// One link: a room (from 1) and its alternate.
struct FlipLink {
    int Room = 0;
    int Alternate = 0;
    bool operator==(const FlipLink&) const = default;
};
// The links in the order of their rooms.
std::vector<FlipLink> FlipLinks(const TEditorProject& project);

// What makes the links inconsistent for a project of roomCount rooms, or empty: a link to or
// from a room the project does not have, a room its own alternate, a room the alternate of two
// rooms, an alternate with an alternate of its own. "room 3 is the alternate of both room 1 and
// room 2".
std::string FlipMapsProblem(const TFlipMaps& maps, int roomCount);

// The record of a list of links for a project of roomCount rooms: the problem of
// FlipMapsProblem, or of a link to or from a room the project does not have, or of a room given
// twice, or empty.
std::string FlipMapsOfLinks(const std::vector<FlipLink>& links, int roomCount, TFlipMaps& maps);

// Every link replaced, as the project file and the import do: checked first (FlipMapsProblem,
// and a room given twice), nothing changes on a problem, which is returned.
std::string ReplaceFlipMaps(TEditorProject& project, const std::vector<FlipLink>& links);

// Rooms > Make Alternate Room: a copy of the current room (its grid, textures, size, place and
// portal views: what Clone Room copies), at the same place, appended as the current room's
// alternate and made current. Refused when the current room already has an alternate, is an
// alternate itself, or the project is full.
DocumentOutcome MakeAlternateRoom(TEditorProject& project, SceneRooms& scene);

// The links of the rooms above RoomCount go: after the last room is deleted (a link to it goes
// too; undo brings them back). Returns whether any link went.
bool DropFlipMapsOfMissingRooms(TEditorProject& project);

} // namespace morvane
