#include "glx/glx_surface.h"

#include "glx/x_display.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace morvane {

struct GlxSurface::Handles {
    Display* display = nullptr;
    Window window = 0;
    Colormap colormap = 0;
    GLXContext context = nullptr;
};

GlxSurface::GlxSurface(int width, int height)
    : handles_(std::make_unique<Handles>()), width_(width), height_(height) {
    Handles& h = *handles_;
    std::string problem;
    h.display = SharedXDisplay(problem);
    if (h.display == nullptr) {
        Fail("XOpenDisplay", problem);
        return;
    }
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(h.display, &errorBase, &eventBase)) {
        Fail("glXQueryExtension", "the X server has no GLX extension");
        return;
    }
    XErrorTrap trap(h.display);
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
        8,        GLX_DEPTH_SIZE,   24,           None};
    XVisualInfo* visual = glXChooseVisual(h.display, DefaultScreen(h.display), attributes);
    if (visual == nullptr) {
        const std::string error = trap.Check();
        Fail("glXChooseVisual", error.empty() ? "no double-buffered RGBA visual with 8-bit "
                                                "channels and a 24-bit depth buffer"
                                              : error);
        return;
    }
    const Window root = RootWindow(h.display, visual->screen);
    h.colormap = XCreateColormap(h.display, root, visual->visual, AllocNone);
    if (const std::string error = trap.Check(); !error.empty()) {
        h.colormap = 0; // no such colormap to free
        XFree(visual);
        Fail("XCreateColormap", error);
        return;
    }
    XSetWindowAttributes window{};
    window.colormap = h.colormap;
    window.border_pixel = 0;
    h.window = XCreateWindow(h.display, root, 0, 0, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                             visual->visual, CWColormap | CWBorderPixel, &window);
    if (const std::string error = trap.Check(); !error.empty()) {
        h.window = 0; // no such window to destroy
        XFree(visual);
        Fail("XCreateWindow", error);
        return;
    }
    h.context = glXCreateContext(h.display, visual, nullptr, True);
    XFree(visual);
    if (const std::string error = trap.Check(); h.context == nullptr || !error.empty()) {
        Fail("glXCreateContext", error.empty() ? "no context returned" : error);
        return;
    }
    XMapWindow(h.display, h.window);
    const bool current = glXMakeCurrent(h.display, h.window, h.context);
    if (const std::string error = trap.Check(); !current || !error.empty()) {
        Fail("glXMakeCurrent", error.empty() ? "the context could not be made current" : error);
    }
}

GlxSurface::~GlxSurface() {
    Handles& h = *handles_;
    if (h.display == nullptr) {
        return;
    }
    if (h.context != nullptr) {
        glXMakeCurrent(h.display, None, nullptr);
        glXDestroyContext(h.display, h.context);
    }
    if (h.window != 0) {
        XDestroyWindow(h.display, h.window);
    }
    if (h.colormap != 0) {
        XFreeColormap(h.display, h.colormap);
    }
    XFlush(h.display); // the connection stays open for the next surface
}

void GlxSurface::Fail(const char* step, const std::string& detail) {
    Handles& h = *handles_;
    problem_ = detail.rfind(step, 0) == 0 ? detail : std::string(step) + ": " + detail;
    if (h.display != nullptr) {
        problem_ += " (display \"" + std::string(DisplayString(h.display)) + "\")";
        if (h.context != nullptr) {
            glXMakeCurrent(h.display, None, nullptr);
            glXDestroyContext(h.display, h.context);
            h.context = nullptr;
        }
    }
    std::fprintf(stderr, "glx surface: %s\n", problem_.c_str());
}

bool GlxSurface::HasContext() const {
    return handles_->context != nullptr;
}

void GlxSurface::MakeCurrent() {
    if (HasContext()) {
        glXMakeCurrent(handles_->display, handles_->window, handles_->context);
    }
}

void GlxSurface::SwapBuffers() {
    if (HasContext()) {
        if (CaptureFrames) {
            lastFrame_ = ReadBackBuffer();
        }
        glXSwapBuffers(handles_->display, handles_->window);
    }
}

RgbImage GlxSurface::ReadBackBuffer() {
    std::vector<uint8_t> rows(std::size_t(width_) * height_ * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width_, height_, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    RgbImage image(width_, height_);
    for (int y = 0; y < height_; ++y) { // GL rows run upward
        std::copy_n(&rows[std::size_t(height_ - 1 - y) * width_ * 3], std::size_t(width_) * 3,
                    image.At(0, y));
    }
    return image;
}

const char* GlxSurface::Renderer() {
    MakeCurrent();
    const GLubyte* name = glGetString(GL_RENDERER);
    return name != nullptr ? reinterpret_cast<const char*>(name) : "none";
}

} // namespace morvane
