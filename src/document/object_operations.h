#pragma once

// The edits of the objects layer, each one step of the undo history (run through the editor's
// one edit path with ObjectsScope), and what the rest of the program asks of the layer.
#include "document/document_change.h"
#include "document/objects.h"
#include "document/project.h"
#include "document/tool_bar_view.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The place of the objects layer among the document's layers, and the scope of its edits: the
// trigger layer with it, as deleting an object (or a room) takes its triggers along.
inline constexpr int ObjectsLayerIndex = 0;
inline constexpr const char* ObjectsLayerName = "objects";
inline constexpr int ObjectTriggersLayerIndex = 1; // TriggersLayerIndex of trigger_operations.h
inline EditScope ObjectsScope(RoomScope rooms = RoomScope::CurrentAndNext) {
    return EditScope(rooms, LayerBit(ObjectsLayerIndex) | LayerBit(ObjectTriggersLayerIndex));
}

// The object's index in the layer (from 0), or -1.
inline bool HasObject(const TEditorProject& project, int index) {
    return index >= 0 && static_cast<uint32_t>(index) < project.Objects.Count;
}

// Lara's start: the one item of the player's type.
bool IsLaraStart(const TEditorObject& object);
// The layer's Lara, or -1.
int LaraStartIndex(const TEditorProject& project);

// Degrees (any, negative included) into the game's angle and back (0..359, rounded).
uint16_t AngleOfDegrees(int degrees);
int DegreesOfAngle(uint16_t angle);

// What a kind is called in messages and the JSON: "item", "camera", "static", "light".
const char* ObjectKindName(ObjectKind kind);
std::optional<ObjectKind> ObjectKindOfName(const std::string& name);

// The values of an object's intensities in the games' records: an item's or a static mesh's -1
// (lit by the room) or 0 to 8191, a light's 0 to 8191.
struct ObjectValueRange {
    int64_t Min, Max;
};
ObjectValueRange IntensityRange(ObjectKind kind);

// A new object of a kind with the fields a user expects: items and statics on the floor, facing
// north, lit by the room, items with every activation bit clear; cameras and lights at Y (not on
// the floor), a light of intensity 4096 and fade 4096.
TEditorObject NewObject(ObjectKind kind, int room, int x, int z, int type = 0);

// What is wrong with an object's own fields, or empty: an unknown kind, a room the project does
// not have, a place outside the room's grid (x and z from 0 to the room's size, exclusive), a
// negative type. The message names the field: "room 9 does not exist (the project has 3)".
struct ObjectFieldProblem {
    std::string Field; // "kind", "room", "x", "z", "type"
    std::string Text;
};
std::optional<ObjectFieldProblem> CheckObjectFields(const TEditorProject& project,
                                                    const TEditorObject& object);

// The limit the layer would pass with one more object like this one (the object at `replacing`,
// when given, counted out: it is the one being changed), or empty. The texts name the limit:
// "A level holds at most 300 items", "Room 2 holds at most 15 lights" ...
std::string ObjectLimitProblem(const TEditorProject& project, const TEditorObject& object,
                               int replacing = -1);

// Where the build puts the object in the level: an item's index in the level's items (Lara 0,
// the project's other items from 1 in the layer's order), a camera's in the cameras, a static
// mesh's or light's in its room. -1 when the index is not an object.
int ObjectLevelIndex(const TEditorProject& project, int index);

// The floor's height (the game's y, world units) under a point of a room, x and z from its
// corner: the floor of the sector there, on a slope between the shape's corners at the point's
// place; a point outside the grid takes the nearest sector's edge.
int FloorYUnder(const TEditorProject& project, int room, int x, int z);
// The height an object stands at: its Y, or the floor under it.
int ObjectY(const TEditorProject& project, const TEditorObject& object);

// What the status bar says of an object: "Item 7 Wolf, level item 2: room 1, x 2560, z 3584,
// on the floor, angle 90" (typeLabel names its type or mesh).
std::string ObjectDescription(const TEditorProject& project, int index,
                              const std::string& typeLabel);

// What a list names an object by: its level index and its type ("[2] Wolf", "[0] Lara's
// start", "[1] Static mesh 5", "[3] Camera", "[0] Light"); typeLabel names an item's type.
std::string ObjectListName(const TEditorProject& project, int index, const std::string& typeLabel);

// Counts of the layer by kind.
struct ObjectCounts {
    int Items = 0, Cameras = 0, Statics = 0, Lights = 0;
    bool operator==(const ObjectCounts&) const = default;
};
ObjectCounts CountObjects(const TEditorProject& project);

// The edits. Each refuses (DocumentOutcome::Refusal, nothing changed) with the problem's text
// when the result would break a field or a limit, and asks for a redraw when it changed
// something. Place appends; the new object is the layer's last.
DocumentOutcome PlaceObject(TEditorProject& project, const TEditorObject& object);
// Replaces the object with another version of it (a move, a turn, a field typed in the dock).
// An object of another kind than before loses the triggers tied to it and the actions naming it
// that need the kind it was (see ForgetMissingTriggerObjects).
DocumentOutcome ChangeObject(TEditorProject& project, int index, const TEditorObject& object);
// Deleting an object takes the triggers tied to it and the actions naming it along, and moves the
// indexes the triggers hold after it down by one (see ForgetTriggerObject).
DocumentOutcome DeleteObject(TEditorProject& project, int index);
// Turns the object by the given degrees (cameras and lights have no angle: nothing happens).
DocumentOutcome TurnObject(TEditorProject& project, int index, int degrees);
// Moves the object to (x, z) of its room, clamped into the room's grid; snapped, to the centre of
// the sector (x, z) lies in.
DocumentOutcome MoveObject(TEditorProject& project, int index, int x, int z, bool snap);

// The rooms above RoomCount lose their objects: after the last room is deleted (its objects go
// with it; undo brings both back). The triggers naming them go as DeleteObject takes them.
// Returns whether any object went.
bool DropObjectsOfMissingRooms(TEditorProject& project);
// After a room's grid was made smaller: its objects beyond it are moved to the nearest point of
// the grid. Returns whether any moved.
bool PullObjectsIntoRoomGrid(TEditorProject& project, int room);
// The whole layer replaced, as the command line and the import do: every object's fields and the
// layer's limits are checked first, nothing changes on a problem. Returns the problem, naming
// the object by its index from 0 and the field: "objects[3].room: room 9 does not exist ...".
// The triggers keep their indexes; those naming an object no longer there, or not of the kind
// they need, lose it (see ForgetMissingTriggerObjects).
std::string ReplaceObjectLayer(TEditorProject& project, const std::vector<TEditorObject>& objects);

} // namespace morvane
