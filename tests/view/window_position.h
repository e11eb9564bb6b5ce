#pragma once

#include "view/gl_camera.h"
#include "view/gl_figure.h"
#include "view/gl_viewport.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <utility>

namespace morvane::test {

// Where a world point of a figure shows in a view of width x height pixels (y downward), by the
// transforms of the paint cycle. Needs the view's GL context current.
inline std::pair<int, int> WindowPosition(const TGLViewport& viewport, const TGLCamera& camera,
                                          const GLFigure& figure, int width, int height, double x,
                                          double y, double z) {
    GLdouble projection[16], modelView[16];
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(FieldOfView, double(width) / height, NearPlane, FarPlane);
    camera.Apply();
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(viewport.Placement().Translate.X, viewport.Placement().Translate.Y,
                 viewport.Placement().Translate.Z);
    glScaled(viewport.Placement().Scale.X, viewport.Placement().Scale.Y,
             viewport.Placement().Scale.Z);
    glRotated(viewport.Placement().Rotate.X, 1, 0, 0);
    glRotated(viewport.Placement().Rotate.Y, 0, 1, 0);
    glRotated(viewport.Placement().Rotate.Z, 0, 0, 1);
    glTranslated(figure.Position.X, figure.Position.Y, figure.Position.Z);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glPopMatrix();
    const GLint window[4] = {0, 0, width, height};
    GLdouble wx, wy, wz;
    gluProject(x, y, z, modelView, projection, window, &wx, &wy, &wz);
    return {static_cast<int>(std::lround(wx)), height - static_cast<int>(std::lround(wy))};
}

} // namespace morvane::test
