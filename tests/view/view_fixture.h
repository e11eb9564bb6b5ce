#pragma once

#include "glx/glx_surface.h"
#include "view/window_position.h"

#include "document/room_operations.h"
#include "view/gl_viewport.h"
#include "view/room_scene.h"
#include "view/texture_upload.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace morvane::test {

// A viewport, camera and scene on a window of the X display (run under Xvfb), drawing a
// document of the test's own.
struct ViewFixture : ::testing::Test {
    static constexpr int Width = 320;
    static constexpr int Height = 240;
    GlxSurface surface{Width, Height};
    TGLViewport viewport;
    TGLCamera camera;
    RoomScene scene;
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();

    void SetUp() override {
        ASSERT_TRUE(surface.HasContext())
            << "no GL context: " << surface.Problem() << " (the view tests run under xvfb-run)";
        std::string problem;
        ASSERT_TRUE(viewport.Attach(surface, problem)) << problem;
        viewport.SetCamera(&camera);
        ShowScene(viewport, scene);
        scene.Project = project.get();
        scene.NeighbourRoom = 0;
        scene.SolidTexture = SolidTextureName;
        RgbImage white(64, 64);
        std::fill(white.Pixels.begin(), white.Pixels.end(), 255);
        UploadBitmap(SolidTextureName, white, 0);
    }

    TEditorRoom& Add(int length, int width, int x, int y, int z, int height) {
        RoomDialogValues values = RoomAt(length, width, x, y, z, height);
        values.Name = NextRoomName(*project);
        AddRoom(*project, scene, values);
        return project->Current();
    }

    // Frames the drawn room as the editor does, then looks at it from straight above.
    void FrameFromAbove() {
        scene.FrameCurrentRoom();
        viewport.FitToFigure(scene);
        viewport.CenterCamera();
        Turn(90, 0);
        viewport.Redraw();
    }

    // Turns the scene to (x, y) degrees, keeping the framing's move and scale.
    void Turn(double x, double y) {
        ViewPlacement placement = viewport.Placement();
        placement.Rotate = {x, y, 0};
        viewport.SetPlacement(placement);
    }
    void Zoom(double factor) {
        ViewPlacement placement = viewport.Placement();
        placement.Scale = {placement.Scale.X * factor, placement.Scale.Y * factor,
                           placement.Scale.Z * factor};
        viewport.SetPlacement(placement);
    }

    // Where a world point shows in the window (panel pixels, y downward), by the transforms of
    // the paint cycle.
    std::pair<int, int> ToWindow(double x, double y, double z) {
        surface.MakeCurrent();
        return WindowPosition(viewport, camera, scene, Width, Height, x, y, z);
    }
    // The window position of the middle of sector (x, z) of a room at height y above its bottom.
    std::pair<int, int> SectorCentre(const TEditorRoom& room, int x, int z, double y = 0) {
        return ToWindow(room.PosX + x - 0.5, room.PosY + y, -(room.PosZ + z - 0.5));
    }
    int PickAt(std::pair<int, int> at) {
        viewport.SetPointer(at.first, at.second);
        return viewport.Pick();
    }
    const uint8_t* PixelAt(const RgbImage& image, std::pair<int, int> at) {
        return image.At(at.first, at.second);
    }
};

} // namespace morvane::test
