#include "glx/glx_surface.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
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
    h.display = XOpenDisplay(nullptr);
    if (h.display == nullptr) {
        return;
    }
    int attributes[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8,   GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE,
        8,        GLX_DEPTH_SIZE,   24,           None};
    XVisualInfo* visual = glXChooseVisual(h.display, DefaultScreen(h.display), attributes);
    if (visual == nullptr) {
        return;
    }
    const Window root = RootWindow(h.display, visual->screen);
    h.colormap = XCreateColormap(h.display, root, visual->visual, AllocNone);
    XSetWindowAttributes window{};
    window.colormap = h.colormap;
    window.border_pixel = 0;
    h.window = XCreateWindow(h.display, root, 0, 0, static_cast<unsigned>(width),
                             static_cast<unsigned>(height), 0, visual->depth, InputOutput,
                             visual->visual, CWColormap | CWBorderPixel, &window);
    h.context = glXCreateContext(h.display, visual, nullptr, True);
    XFree(visual);
    XMapWindow(h.display, h.window);
    XSync(h.display, False);
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
    XCloseDisplay(h.display);
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
