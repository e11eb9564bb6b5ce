#include "view/gl_figure.h"

#include <GL/gl.h>

namespace morvane {

void GLFigure::Draw() {
    if (OnDraw) {
        OnDraw();
    }
}

void GLFigure::Create() {
    Position = {};
    Rotation = {};
    Scale = {1, 1, 1};
    BoundsMin = {BoundsInfinity, BoundsInfinity, BoundsInfinity};
    BoundsMax = {-BoundsInfinity, -BoundsInfinity, -BoundsInfinity};
    OnDraw = nullptr;
}

void GLFigure::Render() {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(static_cast<float>(Position.X), static_cast<float>(Position.Y),
                 static_cast<float>(Position.Z));
    glScalef(static_cast<float>(Scale.X), static_cast<float>(Scale.Y), static_cast<float>(Scale.Z));
    glRotatef(static_cast<float>(Rotation.X), 1, 0, 0);
    glRotatef(static_cast<float>(Rotation.Y), 0, 1, 0);
    glRotatef(static_cast<float>(Rotation.Z), 0, 0, 1);
    Draw();
    glPopMatrix();
}

} // namespace morvane
