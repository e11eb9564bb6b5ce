#pragma once

namespace morvane {

// What the viewport needs of the window it draws in: the editor implements it with a Qt OpenGL
// widget, the tests with an X window of their own.
class GLSurface {
public:
    virtual ~GLSurface() = default;
    // Whether a GL context with a double-buffered RGBA framebuffer and a depth buffer exists.
    virtual bool HasContext() const = 0;
    virtual void MakeCurrent() = 0;
    virtual void SwapBuffers() = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // A window that paints when it chooses (the editor's Qt widget) takes a request for a frame
    // here and returns true; the viewport then draws in the window's next paint.
    virtual bool PaintLater() { return false; }
};

} // namespace morvane
