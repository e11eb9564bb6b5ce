#pragma once

// The trigger layer as the command line prints and reads it:
//   {"triggers": [{"room": 1, "column": 4, "row": 6, "kind": "pad", "timer": 0, "once": false,
//                  "mask": 31, "death": false,
//                  "actions": [{"do": "activate", "object": 3},
//                              {"do": "camera", "camera": 0, "seconds": 3, "once": false},
//                              {"do": "secret", "number": 1}, {"do": "end_level"}]}, ...]}
// Rooms, columns and rows count from 1, objects and cameras by their index in the objects layer
// from 0. A switch, key or pickup names its own object under "object" beside "actions".
#include "app/cli_json.h"
#include "document/project.h"
#include "document/triggers.h"

#include <string>
#include <vector>

namespace morvane {

Json TriggersSummary(const TEditorProject& project);

// The triggers of a JSON value of the form TriggersSummary prints, each field checked (keys, JSON
// types, ranges, the sector, the objects named and the kinds the layout has). Returns the
// problem, naming the trigger's index from 0 and the field ("triggers[2].actions[0].camera:
// object 5 is an item, not a camera"), or empty. That no two share a sector is
// ReplaceTriggerLayer's to check.
std::string TriggersOfJson(const Json& value, const TEditorProject& project, int32_t formatKind,
                           std::vector<TEditorTrigger>& triggers);

} // namespace morvane
