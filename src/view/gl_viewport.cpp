#include "view/gl_viewport.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

constexpr GLuint SceneList = 1;
constexpr int SelectBufferWords = 256;
constexpr double WheelZoomStep = 0.15; // of the camera's distance, per notch

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
    ListValid = 0;
    contextSerial_ = NextContextSerial();
    SetupProjection();
    return true;
}

void TGLViewport::FreeContext() {
    if (surface_ != nullptr) {
        surface_->MakeCurrent();
        glDeleteLists(SceneList, 1);
        if (ReleaseCallback) {
            ReleaseCallback();
        }
    }
    surface_ = nullptr;
    ListValid = 0;
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
    glClearColor(ClearColor[0], ClearColor[1], ClearColor[2], 1.0f);
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
    glTranslatef(static_cast<float>(Translate.X), static_cast<float>(Translate.Y),
                 static_cast<float>(Translate.Z));
    glScalef(static_cast<float>(Scale.X), static_cast<float>(Scale.Y), static_cast<float>(Scale.Z));
    glRotatef(static_cast<float>(Rotate.X), 1, 0, 0);
    glRotatef(static_cast<float>(Rotate.Y), 0, 1, 0);
    glRotatef(static_cast<float>(Rotate.Z), 0, 0, 1);
    if (!fromList) {
        DrawCallback();
    } else if (ListValid == 1) {
        glCallList(SceneList);
    } else {
        if (PrepareCallback) {
            PrepareCallback();
        }
        glNewList(SceneList, GL_COMPILE_AND_EXECUTE);
        DrawCallback();
        glEndList();
        ListValid = 1;
    }
    if (fromList && OverlayCallback) {
        OverlayCallback();
    }
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
}

void TGLViewport::Redraw() {
    ListValid = 0;
    Paint();
}

void TGLViewport::FitToFigure(const GLFigure& figure) {
    BoundsMin = {figure.BoundsMin.X + figure.Position.X, figure.BoundsMin.Y + figure.Position.Y,
                 figure.BoundsMin.Z + figure.Position.Z};
    BoundsMax = {figure.BoundsMax.X + figure.Position.X, figure.BoundsMax.Y + figure.Position.Y,
                 figure.BoundsMax.Z + figure.Position.Z};
}

void TGLViewport::WheelZoom(int x, int y, double notches) {
    if (surface_ == nullptr || camera_ == nullptr) {
        return;
    }
    ZoomCameraTowards(*camera_, x, y, surface_->Width(), surface_->Height(),
                      1 - std::pow(1 - WheelZoomStep, notches));
    SavedCamX = camera_->X;
    SavedCamY = camera_->Y;
    Paint();
}

void TGLViewport::CenterCamera() {
    const double cx = BoundsMin.X + (BoundsMax.X - BoundsMin.X) / 2;
    const double cy = BoundsMin.Y + (BoundsMax.Y - BoundsMin.Y) / 2;
    const double cz = BoundsMax.Z + 4;
    const double width = std::abs(BoundsMax.X - BoundsMin.X);
    const double height = std::abs(BoundsMax.Y - BoundsMin.Y);
    const double sx = width > 6 ? 6 / width : 1;
    const double sy = height > 4 ? 4 / height : 1;
    const float s = static_cast<float>(std::min(sx, sy));
    if (camera_ != nullptr) {
        camera_->SetX(static_cast<float>(cx * s));
        camera_->SetY(static_cast<float>(cy * s));
        camera_->SetZ(static_cast<float>(cz));
    }
    Scale = {s, s, s};
    Translate = {};
    Rotate = {};
    RotateStartX = RotateStartY = PanStartX = PanStartY = ZoomStartX = ZoomStartY = 0;
    Rotating = Zooming = false;
    SavedRotX = SavedRotY = 0;
    if (camera_ != nullptr) {
        SavedCamX = camera_->X;
        SavedCamY = camera_->Y;
    }
    SavedScale = Scale;
    MouseX = MouseY = 0;
}

Mat4 TGLViewport::PickTransform(double size) const {
    const int width = surface_->Width(), height = surface_->Height();
    const Mat4 camera = TranslationMatrix(-camera_->X, -camera_->Y, -camera_->Z) *
                        RotationMatrix(camera_->RotX, 1, 0, 0) *
                        RotationMatrix(camera_->RotY, 0, 1, 0) *
                        RotationMatrix(camera_->RotZ, 0, 0, 1);
    return PickRegionMatrix(MouseX, height - MouseY, size, size, {0, 0, width, height}) *
           PerspectiveMatrix(FieldOfView, Aspect(), NearPlane, FarPlane) * camera *
           PlacementMatrix(Translate, Scale, Rotate);
}

void TGLViewport::Pick() {
    PickedName = 0;
    if (surface_ != nullptr && camera_ != nullptr && PickCallback) {
        PickedName = PickCallback(PickTransform(PickRegionSize));
    }
}

void TGLViewport::PickBySelection() {
    if (surface_ == nullptr || camera_ == nullptr) {
        PickedName = 0;
        return;
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
    gluPickMatrix(MouseX, viewport[3] - MouseY, PickRegionSize, PickRegionSize, viewport);
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
    PickedName = 0;
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
            PickedName = static_cast<int32_t>(buffer[at + 3 + names - 1]);
        }
        at += 3 + static_cast<int>(names);
    }
    SetupProjection();
}

void TGLViewport::BeginDrag(ShiftState shift, int x, int y) {
    if (shift.Right && !shift.Shift && !shift.Ctrl) {
        RotateStartX = x;
        RotateStartY = y;
        Rotating = true;
    }
    if (shift.Right && shift.Shift) {
        PanStartX = x;
        PanStartY = y;
    }
}

void TGLViewport::Drag(ShiftState shift, int x, int y) {
    MouseX = x;
    MouseY = y;
    if (Rotating && !shift.Shift) {
        Rotate.Y = SavedRotY + (x - RotateStartX);
        Rotate.X = SavedRotX + (y - RotateStartY);
    }
    if (shift.Right && shift.Shift && camera_ != nullptr) {
        camera_->SetX(static_cast<float>(SavedCamX - (x - PanStartX) / 50.0));
        camera_->SetY(static_cast<float>(SavedCamY + (y - PanStartY) / 50.0));
    }
    if (shift.Right && shift.Ctrl) {
        if (!Zooming) {
            Zooming = true;
            SavedScale = Scale;
            ZoomStartX = x;
            ZoomStartY = y;
        }
        auto zoom = [&](double saved) { return std::max(0.0, saved + (y - ZoomStartY) / 100.0); };
        Scale = {zoom(SavedScale.X), zoom(SavedScale.Y), zoom(SavedScale.Z)};
    }
    if (!shift.Ctrl) {
        Zooming = false;
    }
    Paint();
}

void TGLViewport::EndDrag() {
    Rotating = false;
    Zooming = false;
    SavedRotX = Rotate.X;
    SavedRotY = Rotate.Y;
    if (camera_ != nullptr) {
        SavedCamX = camera_->X;
        SavedCamY = camera_->Y;
    }
}

void TGLViewport::OnPaint() {
    if (PreviousPaint) {
        PreviousPaint();
    }
    Paint();
}

void TGLViewport::OnResize() {
    if (PreviousResize) {
        PreviousResize();
    }
    SetupProjection();
    Paint();
}

void TGLViewport::OnClick() {
    if (!PickOnClickDisabled) {
        Pick();
    }
    if (PreviousClick) {
        PreviousClick();
    }
}

void TGLViewport::OnMouseDown(ShiftState shift, int x, int y) {
    BeginDrag(shift, x, y);
    if (PreviousMouseDown) {
        PreviousMouseDown(shift, x, y);
    }
}

void TGLViewport::OnMouseUp() {
    EndDrag();
    if (PreviousMouseUp) {
        PreviousMouseUp();
    }
}

void TGLViewport::OnMouseMove(ShiftState shift, int x, int y) {
    Drag(shift, x, y);
    if (PreviousMouseMove) {
        PreviousMouseMove(shift, x, y);
    }
}

} // namespace morvane
