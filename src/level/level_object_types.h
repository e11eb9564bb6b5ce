#pragma once

#include "level/level_data.h"

#include <vector>

namespace morvane {

// The types a base level has models for, each once and in rising order: the item types (its
// moveables and its sprite sequences) and the static meshes' ids.
std::vector<int> ModelledItemTypes(const TLevelData& level);
std::vector<int> StaticMeshIds(const TLevelData& level);
// Whether a sprite sequence of the level has the type (a sprite item: a pickup, a flame ...).
bool IsSpriteType(const TLevelData& level, int type);

} // namespace morvane
