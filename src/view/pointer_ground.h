#pragma once

#include "view/view_matrix.h"

#include <optional>

namespace morvane {

// A point of the world in the game's units: x and z as the rooms lie, y growing downwards.
struct WorldPoint {
    double X = 0, Y = 0, Z = 0;
};

// The scene is drawn in sector units: x as the world's, y upwards from level 0, z turned round.
WorldPoint WorldOfScene(double x, double y, double z);
// And back.
void SceneOfWorld(const WorldPoint& world, double& x, double& y, double& z);

// Where the line under the pointer meets the level at height worldY: clipFromScene is the view's
// transform of the scene for a pick region around the pointer (the pointer at the region's
// centre), the scene's placement included. None when the line runs along the level or meets it
// behind the eye.
std::optional<WorldPoint> PointerOnHeight(const Mat4& clipFromScene, double worldY);

} // namespace morvane
