#pragma once

#include "level/level_data.h"

#include <string>
#include <vector>

namespace morvane {

// Error: the game would crash, hang or be unplayable there. Warning: something looks wrong (a
// doorway renders black, an enemy cannot follow) but the level runs.
enum class FindingSeverity { Warning, Error };

// One thing the level check found. Where it is: rooms, sector columns and rows, portals, portal
// views, items and boxes are counted from 1 as the editor shows them; 0 means "not about one".
struct LevelFinding {
    FindingSeverity Severity = FindingSeverity::Warning;
    int Room = 0;
    std::string RoomName; // when the caller knows the rooms' names
    int Column = 0, Row = 0;
    int Portal = 0; // a portal of the level room
    int View = 0;   // a portal view of the project room ("Door #n")
    int Item = 0;
    int Camera = 0;
    int Static = 0; // a static mesh of the room
    int Light = 0;  // a light of the room
    int Box = 0;
    // A project's object, as the build names it: "object 3 (item)".
    std::string Object;
    std::string Text; // what is wrong and what to do
};

struct LevelCheckOptions {
    // The rooms' names in level order, when known (the build knows them); findings carry them.
    std::vector<std::string> RoomNames;
    // Things the caller has checked itself (the build checks the project's objects and names
    // them by their place in the project): items First to First + Count - 1 (from 0), the first
    // Cameras cameras and, per room in level order, its first lights and static meshes.
    struct {
        int First = 0, Count = 0;
    } CheckedItems;
    int CheckedCameras = 0;
    std::vector<int> CheckedLights, CheckedStatics;
};

// Looks through a level for what would break it in the game: floor-data indexes and entry lists
// (unknown functions, lists that run off the data, triggers that name missing items or cameras),
// portals without a portal back, wall portals and room links to missing rooms, outside their
// target room or into its solid sectors, items, cameras, static meshes and lights placed where the
// game cannot have them (see CheckPlacement), boxes, overlaps and zones out of range or not fitting
// together (see CheckBoxStructure), sectors' box
// indexes, faces whose vertices or textures do not exist, and counts past the limits of the
// layout's own engine (see FindEngineLimit; warnings). Findings come in the order rooms (with
// their static meshes and lights), the level's engine limits, items, cameras, boxes.
std::vector<LevelFinding> CheckLevel(const TLevelData& level,
                                     const LevelCheckOptions& options = {});

bool HasErrors(const std::vector<LevelFinding>& findings);

// One line: "error: room 3 (Gallery), sector (column 4, row 5): text"; a project's object comes
// after the room: "warning: room 2, object 7 (light): text".
std::string FormatFinding(const LevelFinding& finding);

// The room part of a finding's place: "room 3" or "room 3 (Gallery)".
std::string RoomLabel(int room, const std::string& name);

} // namespace morvane
