#include "view/pointer_ground.h"

#include "level/world_units.h"

#include <cmath>

namespace morvane {

WorldPoint WorldOfScene(double x, double y, double z) {
    return {x * SectorSize, LevelZeroY - y * SectorSize, -z * SectorSize};
}

void SceneOfWorld(const WorldPoint& world, double& x, double& y, double& z) {
    x = world.X / SectorSize;
    y = (LevelZeroY - world.Y) / SectorSize;
    z = -world.Z / SectorSize;
}

std::optional<WorldPoint> PointerOnHeight(const Mat4& clipFromScene, double worldY) {
    double unusedX = 0, sceneY = 0, unusedZ = 0;
    SceneOfWorld({0, worldY, 0}, unusedX, sceneY, unusedZ);
    // The pointer is where clip x and y are 0: two lines in (x, z) on the plane y = sceneY.
    const Mat4& m = clipFromScene;
    const double a0 = m.At(0, 0), b0 = m.At(0, 2), c0 = m.At(0, 1) * sceneY + m.At(0, 3);
    const double a1 = m.At(1, 0), b1 = m.At(1, 2), c1 = m.At(1, 1) * sceneY + m.At(1, 3);
    const double det = a0 * b1 - a1 * b0;
    const double scale = std::abs(a0 * b1) + std::abs(a1 * b0);
    if (scale == 0 || std::abs(det) < 1e-9 * scale) {
        return std::nullopt;
    }
    const double x = (-c0 * b1 + c1 * b0) / det;
    const double z = (-a0 * c1 + a1 * c0) / det;
    const double w = Transform(m, x, sceneY, z)[3];
    if (!(w > 0)) {
        return std::nullopt;
    }
    return WorldOfScene(x, sceneY, z);
}

} // namespace morvane
