#pragma once

// Where a placed thing (an item, a camera, a static mesh, a light) stands in the level, and what
// is wrong with it there. The level check asks it of the level's own things; the build asks it of
// the project's objects, which it names by their place in the objects layer.
#include "level/level_check.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

enum class PlacedKind { Item, Camera, Static, Light };

struct PlacedThing {
    PlacedKind Kind = PlacedKind::Item;
    int Room = 0;                // 0-based
    int32_t X = 0, Y = 0, Z = 0; // world units
    int Type = 0;                // an item's type, a static mesh's id
};

struct PlacementProblem {
    FindingSeverity Severity = FindingSeverity::Warning;
    std::string Text;
};

// Errors, as the game breaks on them: a room the level does not have (any kind); an item outside
// its room's grid; Lara over a floor the game cannot find, in a solid sector, under the floor or
// more than two sectors above it. Warnings: cameras, static meshes and lights outside their
// room; any but Lara over a floor the game cannot find; in a solid sector, under the floor or
// above the ceiling (static meshes and lights by more
// than a sector: they have size); other items in a solid sector, more than 16 units under the
// floor or above the ceiling; Lara a little above the floor; an item type or static
// mesh the level has no model for. `roomNames` names the rooms in the texts when known.
std::vector<PlacementProblem> CheckPlacement(const TLevelData& level, const PlacedThing& thing,
                                             const std::vector<std::string>& roomNames = {});

// How the texts call a kind: "camera", "static mesh", "light", "item".
const char* PlacedKindName(PlacedKind kind);

} // namespace morvane
