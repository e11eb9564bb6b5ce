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

// Where the view's own moves put the scene: moved, scaled, then turned about x, y and z (in
// degrees).
struct ViewPlacement {
    Vec3 Translate;
    Vec3 Rotate;
    Vec3 Scale{1, 1, 1};
};

// What the view shows, and how: the figure draws the scene into display list 1, brings its own
// lists up to date before that, deletes them with the context, and names what lies under a
// pick region, given the transform from its world to clip space (PickTransform).
struct ViewFigureHooks {
    std::function<void()> Draw = [] {};
    std::function<void()> Prepare;
    std::function<void()> Release;
    std::function<int32_t(const Mat4&)> Pick;
};

// The 3D view on a window: the paint cycle with the scene in display list 1, the projection,
// the right-button navigation (rotate, Shift pans, Ctrl zooms), framing and picking.
class TGLViewport {
public:
    // Makes the surface the view's: fixed render state and projection. Returns false, with the
    // reason in `problem`, when the surface has no GL context.
    bool Attach(GLSurface& surface, std::string& problem);
    void FreeContext();
    bool HasContext() const { return surface_ != nullptr; }

    void SetCamera(TGLCamera* camera) { camera_ = camera; }
    TGLCamera* Camera() const { return camera_; }
    GLSurface* Panel() const { return surface_; }

    void SetFigure(ViewFigureHooks hooks) { figure_ = std::move(hooks); }
    const ViewFigureHooks& Figure() const { return figure_; }
    // Drawn over the scene in every frame, outside the display list and not while picking:
    // marks that change without the document (the sectors a drag chooses).
    void SetOverlay(std::function<void()> overlay) { overlay_ = std::move(overlay); }

    void SetupProjection();
    // One frame: replays display list 1, compiling it first when it is not valid (the figure
    // prepares its own lists before that).
    void Paint();
    // Recompiles the scene and paints.
    void Redraw();
    // Whether list 1 holds the scene as it is now (false until the next frame after Redraw).
    bool ListValid() const { return listValid_; }
    void FitToFigure(const GLFigure& figure);
    const Vec3& BoundsMin() const { return boundsMin_; }
    const Vec3& BoundsMax() const { return boundsMax_; }
    // The mouse wheel at (x, y) of the view: the camera moves toward the point under the pointer
    // (away for negative notches; one notch is 15 % of its distance), which stays under it; a
    // later pan starts from there. Paints.
    void WheelZoom(int x, int y, double notches);
    // Frames BoundsMin..BoundsMax in 6 x 4 units; the caller redraws.
    void CenterCamera();
    const ViewPlacement& Placement() const { return placement_; }
    // Puts the scene there; a later drag goes on from it.
    void SetPlacement(const ViewPlacement& placement);
    // Turns the scene to these degrees about x, y and z, keeping its move and scale.
    void SetRotation(const Vec3& degrees);

    // The pointer's place in the view's pixels, which the pick looks under.
    void SetPointer(int x, int y);
    // The name of what lies under the pointer: what the figure's pick gives through a region of
    // 0.01 x 0.01 pixels (the result the selection pass gives; no GL call is made), 0 for
    // nothing.
    int32_t Pick();
    // The same pick by a GL selection pass that draws the scene once more (the reference the
    // geometry pick is checked against).
    int32_t PickBySelection();
    // The transform from the figure's world to clip space for a pick region of
    // size x size pixels around the pointer: the region's matrix, the projection, the camera
    // and the view's own moves, as the paint cycle makes them.
    Mat4 PickTransform(double size) const;
    // The same without a pick region: the figure's world to the view's clip space (for placing
    // texts over the view). Needs a surface and a camera.
    Mat4 ClipTransform() const;
    // Tells GL contexts apart: a new number each time a surface is attached.
    uint64_t ContextSerial() const { return contextSerial_; }

    // Window events: the view's own navigation with the right button (rotate; Shift pans;
    // Ctrl zooms), the pointer kept for the pick.
    void OnPaint();
    void OnResize();
    void OnMouseDown(ShiftState shift, int x, int y);
    void OnMouseUp();
    void OnMouseMove(ShiftState shift, int x, int y);

private:
    double Aspect() const;
    // The camera, the view's own moves and the scene, from display list 1 or drawn directly.
    void DrawScene(bool fromList);

    GLSurface* surface_ = nullptr;
    TGLCamera* camera_ = nullptr;
    uint64_t contextSerial_ = 0;
    ViewFigureHooks figure_;
    std::function<void()> overlay_;

    bool listValid_ = false;
    ViewPlacement placement_;
    Vec3 boundsMin_{BoundsInfinity, BoundsInfinity, BoundsInfinity};
    Vec3 boundsMax_{-BoundsInfinity, -BoundsInfinity, -BoundsInfinity};
    int32_t mouseX_ = 0, mouseY_ = 0;
    // A right-button drag: where it started and what it started from.
    int32_t rotateStartX_ = 0, rotateStartY_ = 0;
    int32_t panStartX_ = 0, panStartY_ = 0;
    int32_t zoomStartX_ = 0, zoomStartY_ = 0;
    bool rotating_ = false;
    bool zooming_ = false;
    double savedRotX_ = 0, savedRotY_ = 0;
    double savedCamX_ = 0, savedCamY_ = 0;
    Vec3 savedScale_{0, 0, 0};
};

inline constexpr double FieldOfView = 45;
inline constexpr double NearPlane = 0.1;
inline constexpr double FarPlane = 100;
// The pick region's size in pixels.
inline constexpr double PickRegionSize = 0.01;

} // namespace morvane
