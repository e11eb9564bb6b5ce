#include "view/gl_camera.h"

#include <GL/gl.h>

namespace morvane {

void TGLCamera::Apply() const {
    glMatrixMode(GL_PROJECTION);
    glTranslatef(-X, -Y, -Z);
    glRotatef(RotX, 1, 0, 0);
    glRotatef(RotY, 0, 1, 0);
    glRotatef(RotZ, 0, 0, 1);
}

} // namespace morvane
