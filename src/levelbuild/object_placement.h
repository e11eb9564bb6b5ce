#pragma once

// The project's objects in the level: Lara's item from her object, the other items after her in
// the layer's order, the cameras, and each room's lights and static meshes, each in the level's
// own records.
#include "document/project.h"
#include "level/level_check.h"
#include "level/level_data.h"
#include "level/placement_check.h"

#include <string>
#include <vector>

namespace morvane {

// The first capacity of the level the project's objects pass, or empty: "The project has 301
// items, Lara's included; a level holds at most 300 items", "... 101 cameras; a level holds at
// most 100 cameras", "Room 2 has 16 lights; a room holds at most 15 lights", "Room 2 has 51 static
// meshes; a room holds at most 50 static meshes".
std::string ObjectCapacityProblem(const TEditorProject& project);

// Where the object goes in the level: its room (0-based) and world place, the height being the
// floor's under it, as the game finds it, when it stands on the floor. The room's corner is the
// level room's, so the rooms must be built and the floor data complete.
PlacedThing ObjectPlace(const TEditorProject& project, const TLevelData& level,
                        const TEditorObject& object);

// Writes the objects into the level built from the project: Lara's item at 0 from her object
// (her place, angle, flags and intensities), the other items from 1, the cameras from 0 and each
// room's lights and static meshes from 0. Without a Lara object item 0 is left as the build
// placed her. The counts become the project's. Runs once the level is prepared for writing (it
// writes the items of both layouts' records); a project without objects leaves the level as it
// is. Objects in rooms the project does not have are left out (the checks report them); the
// capacities must have been checked (ObjectCapacityProblem). Returns where each object of the
// layer went, in the layer's order.
std::vector<PlacedThing> PlaceObjects(const TEditorProject& project, TLevelData& level);

// What the level check leaves to CheckObjects: the items, cameras, lights and static meshes
// placed from the project's objects.
void MarkObjectsChecked(const TEditorProject& project, LevelCheckOptions& options);

// Each object where the build put it (`placed`, from PlaceObjects): an unknown kind or a room the
// project does not have (errors), and what CheckPlacement finds there; each finding names the
// object ("object 3 (item)", from 0 as the layer counts) and its room.
std::vector<LevelFinding> CheckObjects(const TEditorProject& project, const TLevelData& level,
                                       const std::vector<PlacedThing>& placed);

} // namespace morvane
