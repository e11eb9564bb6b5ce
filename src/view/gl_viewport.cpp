#include "view/gl_viewport.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

constexpr GLuint SceneList = 1;
constexpr int SelectBufferWords = 256;
constexpr double WheelZoomStep = 0.15;  // of the camera's distance, per notch
constexpr double DegreesPerPixel = 0.5; // of a right-drag's turn
constexpr double MaxPitch = 90;

uint64_t NextContextSerial() {
    static uint64_t serial = 0;
    return ++serial;
}

} // namespace

bool TGLViewport::Attach(GLSurface& surface, std::string& problem) {
    if (!surface.HasContext()) {
        problem = "The 3D view could not get an OpenGL context with a depth buffer; the view "
                  "stays empty.";
        return false;
    }
    surface_ = &surface;
    surface.MakeCurrent();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CW);
    // List 1 is the view's: made now, so that no list the figure asks GL for gets its name.
    glNewList(SceneList, GL_COMPILE);
    glEndList();
    listValid_ = false;
    contextSerial_ = NextContextSerial();
    SetupProjection();
    return true;
}

void TGLViewport::FreeContext() {
    if (surface_ != nullptr) {
        surface_->MakeCurrent();
        glDeleteLists(SceneList, 1);
        if (figure_.Release) {
            figure_.Release();
        }
    }
    surface_ = nullptr;
    listValid_ = false;
}

double TGLViewport::Aspect() const {
    const int height = std::max(1, surface_->Height());
    return static_cast<double>(surface_->Width()) / height;
}

void TGLViewport::SetupProjection() {
    if (surface_ == nullptr) {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FieldOfView, Aspect(), NearPlane, FarPlane);
    glViewport(0, 0, surface_->Width(), surface_->Height());
}

void TGLViewport::Paint() {
    if (surface_ == nullptr || camera_ == nullptr || surface_->PaintLater()) {
        return;
    }
    surface_->MakeCurrent();
    glClearColor(0, 0, 0, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawScene(true);
    glFlush();
    surface_->SwapBuffers();
}

void TGLViewport::DrawScene(bool fromList) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    camera_->Apply();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(static_cast<float>(placement_.Translate.X),
                 static_cast<float>(placement_.Translate.Y),
                 static_cast<float>(placement_.Translate.Z));
    glScalef(static_cast<float>(placement_.Scale.X), static_cast<float>(placement_.Scale.Y),
             static_cast<float>(placement_.Scale.Z));
    glRotatef(static_cast<float>(placement_.Rotate.X), 1, 0, 0);
    glRotatef(static_cast<float>(placement_.Rotate.Y), 0, 1, 0);
    glRotatef(static_cast<float>(placement_.Rotate.Z), 0, 0, 1);
    if (!fromList) {
        figure_.Draw();
    } else if (listValid_) {
        glCallList(SceneList);
    } else {
        if (figure_.Prepare) {
            figure_.Prepare();
        }
        glNewList(SceneList, GL_COMPILE_AND_EXECUTE);
        figure_.Draw();
        glEndList();
        listValid_ = true;
    }
    if (fromList && overlay_) {
        overlay_();
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void TGLViewport::Redraw() {
    listValid_ = false;
    Paint();
}

void TGLViewport::FitToFigure(const GLFigure& figure) {
    boundsMin_ = {figure.BoundsMin.X + figure.Position.X, figure.BoundsMin.Y + figure.Position.Y,
                  figure.BoundsMin.Z + figure.Position.Z};
    boundsMax_ = {figure.BoundsMax.X + figure.Position.X, figure.BoundsMax.Y + figure.Position.Y,
                  figure.BoundsMax.Z + figure.Position.Z};
}

void TGLViewport::WheelZoom(int x, int y, double notches) {
    if (surface_ == nullptr || camera_ == nullptr) {
        return;
    }
    ZoomCameraTowards(*camera_, x, y, surface_->Width(), surface_->Height(),
                      1 - std::pow(1 - WheelZoomStep, notches));
    savedCamX_ = camera_->X;
    savedCamY_ = camera_->Y;
    Paint();
}

void TGLViewport::CenterCamera() {
    const double cx = boundsMin_.X + (boundsMax_.X - boundsMin_.X) / 2;
    const double cy = boundsMin_.Y + (boundsMax_.Y - boundsMin_.Y) / 2;
    const double cz = boundsMax_.Z + 4;
    const double width = std::abs(boundsMax_.X - boundsMin_.X);
    const double height = std::abs(boundsMax_.Y - boundsMin_.Y);
    const double sx = width > 6 ? 6 / width : 1;
    const double sy = height > 4 ? 4 / height : 1;
    const float s = static_cast<float>(std::min(sx, sy));
    if (camera_ != nullptr) {
        camera_->SetX(static_cast<float>(cx * s));
        camera_->SetY(static_cast<float>(cy * s));
        camera_->SetZ(static_cast<float>(cz));
    }
    placement_.Scale = {s, s, s};
    placement_.Translate = {};
    placement_.Rotate = {};
    rotateStartX_ = rotateStartY_ = panStartX_ = panStartY_ = zoomStartX_ = zoomStartY_ = 0;
    rotating_ = zooming_ = false;
    savedRotX_ = savedRotY_ = 0;
    if (camera_ != nullptr) {
        savedCamX_ = camera_->X;
        savedCamY_ = camera_->Y;
    }
    savedScale_ = placement_.Scale;
    mouseX_ = mouseY_ = 0;
}

Mat4 TGLViewport::ClipTransform() const {
    const Mat4 camera = TranslationMatrix(-camera_->X, -camera_->Y, -camera_->Z) *
                        RotationMatrix(camera_->RotX, 1, 0, 0) *
                        RotationMatrix(camera_->RotY, 0, 1, 0) *
                        RotationMatrix(camera_->RotZ, 0, 0, 1);
    return PerspectiveMatrix(FieldOfView, Aspect(), NearPlane, FarPlane) * camera *
           PlacementMatrix(placement_.Translate, placement_.Scale, placement_.Rotate);
}

Mat4 TGLViewport::PickTransform(double size) const {
    const int width = surface_->Width(), height = surface_->Height();
    return PickRegionMatrix(mouseX_, height - mouseY_, size, size, {0, 0, width, height}) *
           ClipTransform();
}

int32_t TGLViewport::Pick() {
    if (surface_ == nullptr || camera_ == nullptr || !figure_.Pick) {
        return 0;
    }
    return figure_.Pick(PickTransform(PickRegionSize));
}

int32_t TGLViewport::PickBySelection() {
    if (surface_ == nullptr || camera_ == nullptr) {
        return 0;
    }
    surface_->MakeCurrent();
    GLuint buffer[SelectBufferWords] = {};
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glSelectBuffer(SelectBufferWords, buffer);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glRenderMode(GL_SELECT);
    glLoadIdentity();
    gluPickMatrix(mouseX_, viewport[3] - mouseY_, PickRegionSize, PickRegionSize, viewport);
    gluPerspective(FieldOfView, Aspect(), NearPlane, FarPlane);
    glInitNames();
    glPushName(0);
    // The scene is drawn once more outside the display list, so that the list keeps what the
    // screen shows; in selection mode the scene fills its outlined polygons (see RoomScene), so
    // a point inside a face or a grid cell hits it.
    DrawScene(false);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    const GLint hits = glRenderMode(GL_RENDER);
    // The nearest hit by its smallest depth; the earliest record wins a tie. A buffer that
    // overflowed (a negative count) counts as no hit.
    int32_t picked = 0;
    GLuint best = 0;
    int at = 0;
    for (GLint hit = 0; hit < hits; ++hit) {
        const GLuint names = buffer[at];
        if (names == 0 || at + 3 + int(names) > SelectBufferWords) {
            break;
        }
        const GLuint depth = buffer[at + 1];
        if (hit == 0 || depth < best) {
            best = depth;
            picked = static_cast<int32_t>(buffer[at + 3 + names - 1]);
        }
        at += 3 + static_cast<int>(names);
    }
    SetupProjection();
    return picked;
}

void TGLViewport::OnMouseMove(ShiftState shift, int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
    if (rotating_ && !shift.Shift) {
        // Half a degree a pixel, and never over the top: a turn of the pitch past straight
        // down or up would show the rooms upside down.
        placement_.Rotate.Y = savedRotY_ + (x - rotateStartX_) * DegreesPerPixel;
        placement_.Rotate.X =
            std::clamp(savedRotX_ + (y - rotateStartY_) * DegreesPerPixel, -MaxPitch, MaxPitch);
    }
    if (shift.Right && shift.Shift && camera_ != nullptr) {
        camera_->SetX(static_cast<float>(savedCamX_ - (x - panStartX_) / 50.0));
        camera_->SetY(static_cast<float>(savedCamY_ + (y - panStartY_) / 50.0));
    }
    if (shift.Right && shift.Ctrl) {
        if (!zooming_) {
            zooming_ = true;
            savedScale_ = placement_.Scale;
            zoomStartX_ = x;
            zoomStartY_ = y;
        }
        auto zoom = [&](double saved) { return std::max(0.0, saved + (y - zoomStartY_) / 100.0); };
        placement_.Scale = {zoom(savedScale_.X), zoom(savedScale_.Y), zoom(savedScale_.Z)};
    }
    if (!shift.Ctrl) {
        zooming_ = false;
    }
    Paint();
}

void TGLViewport::OnPaint() {
    Paint();
}

void TGLViewport::OnResize() {
    SetupProjection();
    Paint();
}

void TGLViewport::OnMouseDown(ShiftState shift, int x, int y) {
    SetPointer(x, y);
    if (shift.Right && !shift.Shift && !shift.Ctrl) {
        rotateStartX_ = x;
        rotateStartY_ = y;
        rotating_ = true;
    }
    if (shift.Right && shift.Shift) {
        panStartX_ = x;
        panStartY_ = y;
    }
}

void TGLViewport::OnMouseUp() {
    rotating_ = false;
    zooming_ = false;
    savedRotX_ = placement_.Rotate.X;
    savedRotY_ = placement_.Rotate.Y;
    if (camera_ != nullptr) {
        savedCamX_ = camera_->X;
        savedCamY_ = camera_->Y;
    }
}

void TGLViewport::SetPointer(int x, int y) {
    mouseX_ = x;
    mouseY_ = y;
}

void TGLViewport::SetRotation(const Vec3& degrees) {
    ViewPlacement placement = placement_;
    placement.Rotate = degrees;
    SetPlacement(placement);
}

void TGLViewport::SetPlacement(const ViewPlacement& placement) {
    placement_ = placement;
    savedRotX_ = placement.Rotate.X;
    savedRotY_ = placement.Rotate.Y;
    savedScale_ = placement.Scale;
}

} // namespace morvane
