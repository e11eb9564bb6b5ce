#pragma once

// The edits of the trigger layer, each one step of the undo history (run through the editor's
// one edit path with TriggersScope), and what the rest of the program asks of the layer.
#include "document/document_change.h"
#include "document/project.h"
#include "document/triggers.h"

#include <optional>
#include <string>
#include <vector>

namespace morvane {

// The place of the trigger layer among the document's layers, and the scope of its edits.
inline constexpr int TriggersLayerIndex = 1;
inline constexpr const char* TriggersLayerName = "triggers";
inline EditScope TriggersScope(RoomScope rooms = RoomScope::CurrentAndNext) {
    return EditScope(rooms, LayerBit(TriggersLayerIndex));
}

// What a kind or an action is called in messages and the JSON: "trigger", "pad", "switch",
// "key", "pickup", "heavy", "antipad", "combat", "dummy", "antitrigger", "heavy_switch",
// "heavy_antitrigger", "monkey"; "activate", "camera", "current", "flip_map", "flip_on",
// "flip_off", "look_at", "end_level", "soundtrack", "flip_effect", "secret", "clear_bodies".
const char* TriggerKindName(TriggerKind kind);
std::optional<TriggerKind> TriggerKindOfName(const std::string& name);
const char* TriggerActionName(TriggerActionKind kind);
std::optional<TriggerActionKind> TriggerActionOfName(const std::string& name);

// Whether a level layout (a FormatKind of level_format.h) has the kind or the action. A layout
// of FormatNone (not known yet) has all that the third game has.
bool LayoutHasTriggerKind(int32_t layout, int kind);
bool LayoutHasTriggerAction(int32_t layout, int action);

// Switch, Key and Pickup are tied to an object: their switch, keyhole or pickup item.
bool TriggerKindTiesObject(TriggerKind kind);
// Which actions name an object, and of which kind: Object and LookAt an item, Camera and
// Current a camera.
bool TriggerActionNamesObject(TriggerActionKind kind);
bool TriggerActionNamesCamera(TriggerActionKind kind);

// A trigger of a kind on a sector: no actions, no tied object, all activation bits.
TEditorTrigger NewTrigger(int room, int column, int row, TriggerKind kind = TriggerKind::Trigger);
// The action of a kind with a value (an object's index or a number).
TTriggerAction NewTriggerAction(TriggerActionKind kind, int value = 0, int seconds = 0,
                                bool once = false);

// The trigger with another kind: a kind tied to an object keeps the one it had, or takes `item`
// (an item's index in the objects layer, or NoTriggerObject); the other kinds are tied to none.
TEditorTrigger WithTriggerKind(TEditorTrigger trigger, TriggerKind kind, int item);
// The action with another kind: it keeps what it names when the new kind names the same sort of
// thing, else names `item` or `camera` (indexes in the objects layer), or the kind's lowest
// number; only a camera keeps its seconds.
TTriggerAction WithActionKind(const TTriggerAction& action, TriggerActionKind kind, int item,
                              int camera);
// The numbers a numbered action takes (flip maps, secrets, soundtracks, flip effects); {0, 0}
// for the others.
struct TriggerNumberRange {
    int Lowest = 0, Highest = 0;
};
TriggerNumberRange TriggerActionNumbers(TriggerActionKind kind);

// What is wrong with a trigger, or empty. The field names the place ("kind", "timer", "mask",
// "room", "column", "row", "object", "actions[2].object", "actions[0].number" ...), the text
// what is wrong: "a kind the first game does not have", "256 is above 255".
struct TriggerFieldProblem {
    std::string Field;
    std::string Text;
};
std::optional<TriggerFieldProblem>
CheckTriggerFields(const TEditorProject& project, const TEditorTrigger& trigger, int32_t layout);

// The index (from 0) of the trigger on a sector, or -1.
int TriggerAt(const TEditorProject& project, int room, int column, int row);

// A sector of a room, as the editor counts them.
struct TriggerSector {
    int Room = 0, Column = 0, Row = 0;
};

// The edits. Each refuses (DocumentOutcome::Refusal, nothing changed) with a text naming the
// sector and the field, and asks for a redraw when it changed something.
// Gives every sector the trigger (its own room, column and row put in): a sector that had one
// has it replaced, in its place in the layer; the others are appended.
DocumentOutcome SetTriggers(TEditorProject& project, int32_t layout,
                            const std::vector<TriggerSector>& sectors,
                            const TEditorTrigger& trigger);
DocumentOutcome DeleteTriggers(TEditorProject& project, const std::vector<TriggerSector>& sectors);

// The whole layer replaced, as the command line, the project file and the import do: every
// trigger is checked, and no two may share a sector; nothing changes on a problem. Returns the
// problem, naming the trigger by its index from 0 and the field: "triggers[3].timer: ...".
std::string ReplaceTriggerLayer(TEditorProject& project,
                                const std::vector<TEditorTrigger>& triggers, int32_t layout);

// After object `index` left the objects layer: the triggers tied to it go, the actions naming it
// go, and the indexes after it move down by one. Returns whether any trigger changed.
bool ForgetTriggerObject(TEditorProject& project, int index);
// After the objects layer was replaced whole: the triggers tied to an object that is no longer
// there (or no longer an item) go, and so do the actions naming one that is not there or not of
// their kind; the indexes stay as they are. Returns whether any trigger changed.
bool ForgetMissingTriggerObjects(TEditorProject& project);
// The rooms above RoomCount lose their triggers (after the last room is deleted; undo brings
// them back). Returns whether any trigger went.
bool DropTriggersOfMissingRooms(TEditorProject& project);
// After a room's grid was made smaller: its triggers on sectors no longer there go. Returns
// whether any went.
bool DropTriggersOutsideRoomGrid(TEditorProject& project, int room);

// A trigger as the status bar and messages name it: "the trigger of room 2, column 4, row 6".
std::string TriggerPlaceText(const TEditorTrigger& trigger);

} // namespace morvane
