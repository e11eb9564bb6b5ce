#pragma once

// The steps of the level build that also measure how full a project makes the level (see
// level_usage.h): the same code runs for both.
#include "levelbuild/room_geometry.h"
#include "document/project.h"
#include "level/level_data.h"

#include <string>
#include <utility>
#include <vector>

namespace morvane {

// Refuses (with BuildError) what the level cannot be built from: no rooms, too many sectors or
// portal views, views outside their room, links to rooms the project does not have.
void CheckProject(const TEditorProject& project);

// Buffers reused from room to room, and the wall-portal sectors found on the way.
struct RoomScratch {
    SectorShapes Shapes;
    FaceList Faces;
    std::vector<std::pair<int, int>> WallPortals; // level room, sector index
};

// A project room's place, flags and sectors in a level room (heights into clicks); the sectors'
// shapes go to the scratch for the geometry, and its wall portals are listed there.
void BuildRoomSectors(const TEditorRoom& project, TLevelRoom& room, int number,
                      RoomScratch& scratch);

// Whether the room's ceiling faces are made from both sides (water and quicksand rooms, once a
// base level is read).
bool DoubleSidedCeiling(const TEditorRoom& project, bool baseLoaded);

// The floor data of the slopes from "floor.dat" in the program folder.
void LoadFloorData(TLevelData& level, const std::string& programFolder);

// Each wall-portal sector gets a copy of its slope entries and a portal entry; throws
// CapacityError past the level's floor-data words.
void AddWallPortals(TLevelData& level, const std::vector<std::pair<int, int>>& wallPortals);

} // namespace morvane
