#pragma once

#include "image/rgb_image.h"
#include "view/gl_surface.h"

#include <memory>

namespace morvane {

// A window of its own on the X display (Xvfb in the tests and benchmarks) with a GLX context:
// the stand-in for the editor's Qt OpenGL widget.
class GlxSurface : public GLSurface {
public:
    GlxSurface(int width, int height);
    ~GlxSurface() override;
    GlxSurface(const GlxSurface&) = delete;
    GlxSurface& operator=(const GlxSurface&) = delete;

    bool HasContext() const override;
    void MakeCurrent() override;
    void SwapBuffers() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }

    // The picture of the last frame, read from the back buffer just before it was swapped to
    // the screen (when capturing is on).
    const RgbImage& LastFrame() const { return lastFrame_; }
    bool CaptureFrames = true;
    // The renderer's name, for the logs.
    const char* Renderer();

private:
    struct Handles;
    RgbImage ReadBackBuffer();

    std::unique_ptr<Handles> handles_;
    int width_, height_;
    RgbImage lastFrame_;
};

} // namespace morvane
