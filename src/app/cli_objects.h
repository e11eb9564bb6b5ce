#pragma once

// The objects layer as the command line prints and reads it:
//   {"objects": [{"kind": "item", "room": 1, "x": 2560, "z": 3584, "y": null, "angle": 90,
//                 "type": 7, "flags": 15872, "intensity": -1}, ...]}
// Rooms count from 1, y null stands on the floor, angles are degrees, a static's "type" is its
// "mesh". Which fields an object has depends on its kind and on the layout of the project's
// base level (see ObjectJsonFields).
#include "app/cli_json.h"
#include "document/objects.h"
#include "document/project.h"

#include <string>
#include <vector>

namespace morvane {

// The keys of a kind's objects, in their printed order, in a layout (FormatTR1 ... FormatTR3;
// FormatNone prints the first game's): items and statics have "intensity2" in the second and
// third games, lights "intensity2" in the second and "colour" in the third.
std::vector<std::string> ObjectJsonFields(ObjectKind kind, int32_t formatKind);

Json ObjectsSummary(const TEditorProject& project, int32_t formatKind);

// The objects of a JSON value of the form ObjectsSummary prints, each field checked (keys, JSON
// types, ranges, the room and the place in it). Returns the problem, naming the object's index
// from 0 and the field ("objects[2].flags: 70000 is outside 0 to 65535"), or empty. The layer's
// limits are ReplaceObjectLayer's to check.
std::string ObjectsOfJson(const Json& value, const TEditorProject& project, int32_t formatKind,
                          std::vector<TEditorObject>& objects);

} // namespace morvane
