#include "view/gl_camera.h"

#include "view/gl_viewport.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvane {

void TGLCamera::Apply() const {
    glMatrixMode(GL_PROJECTION);
    glTranslatef(-X, -Y, -Z);
    glRotatef(RotX, 1, 0, 0);
    glRotatef(RotY, 0, 1, 0);
    glRotatef(RotZ, 0, 0, 1);
}

void ZoomCameraTowards(TGLCamera& camera, double x, double y, int width, int height,
                       double fraction) {
    // A camera already at (or past) the end it would move toward stays.
    if (width <= 0 || height <= 0 || (fraction > 0 && camera.Z <= NearestCameraZ) ||
        (fraction < 0 && camera.Z >= FarthestCameraZ)) {
        return;
    }
    // The line of sight through the pixel, in the camera's frame, one unit deep.
    const double halfHeight = std::tan(FieldOfView / 2 * std::numbers::pi / 180);
    const double aspect = double(width) / height;
    const double dx = (2 * x / width - 1) * halfHeight * aspect;
    const double dy = (1 - 2 * y / height) * halfHeight;
    // Along it by the fraction of the distance to z = 0, the camera's z kept in its range.
    const double z =
        std::clamp(camera.Z - fraction * camera.Z, double(NearestCameraZ), double(FarthestCameraZ));
    const double step = camera.Z - z;
    camera.SetX(static_cast<float>(camera.X + step * dx));
    camera.SetY(static_cast<float>(camera.Y + step * dy));
    camera.SetZ(static_cast<float>(z));
}

} // namespace morvane
