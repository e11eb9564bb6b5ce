#pragma once

#include "image/rgb_image.h"
#include "view/gl_surface.h"

#include <memory>
#include <string>

namespace morvane {

// A window of its own on the X display (Xvfb in the tests and benchmarks) with a GLX context of
// its own, so that nothing of one test's GL state reaches the next: the stand-in for the
// editor's Qt OpenGL widget. All surfaces share the process's one display connection.
class GlxSurface : public GLSurface {
public:
    GlxSurface(int width, int height);
    ~GlxSurface() override;
    GlxSurface(const GlxSurface&) = delete;
    GlxSurface& operator=(const GlxSurface&) = delete;

    bool HasContext() const override;
    // Why there is no context: the step that failed (XOpenDisplay, glXChooseVisual,
    // glXCreateContext, ...), the display and the error; empty when there is one.
    const std::string& Problem() const { return problem_; }
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
    void Fail(const char* step, const std::string& detail);

    std::unique_ptr<Handles> handles_;
    int width_, height_;
    RgbImage lastFrame_;
    std::string problem_;
};

} // namespace morvane
