#pragma once

// How the editor names a trigger to the user: the status bar's line for the trigger under the
// pointer, each action in words, and the objects a trigger acts on (the view draws a line to
// each).
#include "document/project.h"
#include "document/triggers.h"

#include <functional>
#include <string>
#include <vector>

namespace morvane {

// Names an object of the objects layer by its index ("[2] Wolf"); the window knows the types.
using TriggerObjectLabel = std::function<std::string(int index)>;

// A kind's or an action's name as a list shows it: "Heavy switch", "Flip map", "Look at".
std::string TriggerKindTitle(TriggerKind kind);
std::string TriggerActionTitle(TriggerActionKind kind);

// One action in words, as the trigger's kind makes it act: "activate [2] Wolf" (or "switch
// off", "toggle"), "camera [0] Camera for 3 s, only once", "flip map 1 on", "secret 2", ...
std::string TriggerActionText(const TEditorTrigger& trigger, const TTriggerAction& action,
                              const TriggerObjectLabel& label);

// "Pad trigger, room 2, column 4, row 6: timer 3 s, once, mask 10111, tied to [4] Switch;
// activate [2] Wolf, end of the level; the floor kills Lara".
std::string TriggerStatusText(const TEditorTrigger& trigger, const TriggerObjectLabel& label);

// The objects the trigger names, the tied one first, each once, in the layer's range.
std::vector<int> TriggerTargetObjects(const TEditorProject& project, const TEditorTrigger& trigger);

// The kind of each sector's trigger of a room in the sectors' order (column by column), -1 where
// there is none.
std::vector<int> RoomTriggerKinds(const TEditorProject& project, int room);

} // namespace morvane
