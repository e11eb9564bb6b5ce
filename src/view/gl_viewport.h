#pragma once

#include "view/gl_camera.h"
#include "view/gl_figure.h"
#include "view/gl_surface.h"
#include "view/view_matrix.h"

#include <cstdint>
#include <functional>
#include <string>

namespace morvane {

// The state of the keys and buttons with a mouse event.
struct ShiftState {
    bool Shift = false;
    bool Ctrl = false;
    bool Alt = false;
    bool Left = false;
    bool Right = false;
};

// The 3D view on a window: the paint cycle with the scene in display list 1, the projection,
// the right-button navigation (rotate, Shift pans, Ctrl zooms), framing and picking.
class TGLViewport {
public:
    using MouseHandler = std::function<void(ShiftState, int, int)>;

    // Makes the surface the view's: fixed render state and projection. Returns false, with the
    // reason in `problem`, when the surface has no GL context.
    bool Attach(GLSurface& surface, std::string& problem);
    void FreeContext();
    bool HasContext() const { return surface_ != nullptr; }

    void SetCamera(TGLCamera* camera) { camera_ = camera; }
    TGLCamera* Camera() const { return camera_; }
    GLSurface* Panel() const { return surface_; }

    void SetupProjection();
    // One frame: replays display list 1, compiling it first when it is not valid (the figure
    // prepares its own lists before that, through PrepareCallback).
    void Paint();
    // Recompiles the scene and paints.
    void Redraw();
    void FitToFigure(const GLFigure& figure);
    // The mouse wheel at (x, y) of the view: the camera moves toward the point under the pointer
    // (away for negative notches; one notch is 15 % of its distance), which stays under it; a
    // later pan starts from there. Paints.
    void WheelZoom(int x, int y, double notches);
    // Frames BoundsMin..BoundsMax in 6 x 4 units; the caller redraws.
    void CenterCamera();
    // The name of what lies under (MouseX, MouseY): a sector number, 999, or 0 for nothing.
    // Computed by the figure from its own geometry (PickCallback) through a region of
    // 0.01 x 0.01 pixels, with the result the selection pass gives; no GL call is made.
    void Pick();
    // The same pick by a GL selection pass that draws the scene once more (the reference the
    // geometry pick is checked against).
    void PickBySelection();
    // The transform from the figure's world to clip space for a pick region of
    // size x size pixels around (MouseX, MouseY): the region's matrix, the projection, the
    // camera and the view's own moves, as the paint cycle makes them.
    Mat4 PickTransform(double size) const;
    // Tells GL contexts apart: a new number each time a surface is attached.
    uint64_t ContextSerial() const { return contextSerial_; }

    // Window events. Each does the view's own work and chains to the handler set for it.
    void OnPaint();
    void OnResize();
    void OnClick();
    void OnMouseDown(ShiftState shift, int x, int y);
    void OnMouseUp();
    void OnMouseMove(ShiftState shift, int x, int y);

    // The previous handlers of the window's events, called after (paint, resize: before) the
    // view's own work.
    std::function<void()> PreviousPaint;
    std::function<void()> PreviousResize;
    std::function<void()> PreviousClick;
    MouseHandler PreviousMouseDown;
    std::function<void()> PreviousMouseUp;
    MouseHandler PreviousMouseMove;

    std::function<void()> DrawCallback = [] {};
    // Drawn over the scene in every frame, outside the display list and not while picking:
    // marks that change without the document (the sectors a drag chooses).
    std::function<void()> OverlayCallback;
    // Brings the figure's own display lists up to date; called outside any list, before list 1
    // is compiled.
    std::function<void()> PrepareCallback;
    // Deletes the figure's own display lists; called by FreeContext with the context current.
    std::function<void()> ReleaseCallback;
    // The name the figure shows under a pick region, given the transform from its world to
    // clip space (PickTransform).
    std::function<int32_t(const Mat4&)> PickCallback;

    int32_t ListValid = 0;
    uint8_t ClearColor[3] = {0, 0, 0};
    int32_t RotateStartX = 0, RotateStartY = 0;
    int32_t PanStartX = 0, PanStartY = 0;
    int32_t ZoomStartX = 0, ZoomStartY = 0;
    bool Rotating = false;
    bool Zooming = false;
    double SavedRotX = 0, SavedRotY = 0;
    double SavedCamX = 0, SavedCamY = 0;
    Vec3 SavedScale{0, 0, 0};
    Vec3 Translate;
    Vec3 Rotate;
    Vec3 Scale{1, 1, 1};
    int32_t PickedName = 0;
    Vec3 BoundsMin{BoundsInfinity, BoundsInfinity, BoundsInfinity};
    Vec3 BoundsMax{-BoundsInfinity, -BoundsInfinity, -BoundsInfinity};
    int32_t MouseX = 0, MouseY = 0;
    bool PickOnClickDisabled = false;

    void BeginDrag(ShiftState shift, int x, int y);
    void Drag(ShiftState shift, int x, int y);
    void EndDrag();

private:
    double Aspect() const;
    // The camera, the view's own moves and the scene, from display list 1 or drawn directly.
    void DrawScene(bool fromList);

    GLSurface* surface_ = nullptr;
    TGLCamera* camera_ = nullptr;
    uint64_t contextSerial_ = 0;
};

inline constexpr double FieldOfView = 45;
inline constexpr double NearPlane = 0.1;
inline constexpr double FarPlane = 100;
// The pick region's size in pixels.
inline constexpr double PickRegionSize = 0.01;

} // namespace morvane
