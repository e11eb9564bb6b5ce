#pragma once

#include "ui/view_input_router.h"
#include "view/gl_surface.h"
#include "view/gl_viewport.h"

#include <QOpenGLWidget>

#include <functional>

namespace morvane {

// Display lists, selection and immediate mode need a compatibility-profile context: set before
// the application object is made.
void useCompatibilityGLFormat();

// The main window's 3D panel: a Qt OpenGL widget (compatibility profile) that the viewport draws
// on, passing its paint, resize and mouse events to the viewport.
class GLPanel : public QOpenGLWidget, public GLSurface {
    Q_OBJECT
public:
    GLPanel(TGLViewport& viewport, QWidget* parent);

    // Called once the GL context exists (the viewport is attached by then).
    void setContextReady(std::function<void(bool attached, const std::string& problem)> ready) {
        contextReady_ = std::move(ready);
    }
    // Where the mouse goes after the viewport's own navigation.
    void setInput(ViewInput* input) { input_ = input; }

    bool HasContext() const override;
    void MakeCurrent() override;
    void SwapBuffers() override;
    int Width() const override;
    int Height() const override;
    bool PaintLater() override;

    static ShiftState shiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);

signals:
    // A frame has been drawn and is about to show.
    void framePainted();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // The wheel zooms toward the point under the pointer.
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    ViewPointer pointerOf(const QPointF& position, Qt::KeyboardModifiers modifiers,
                          Qt::MouseButtons buttons) const;

    TGLViewport& viewport_;
    ViewInput* input_ = nullptr;
    std::function<void(bool attached, const std::string& problem)> contextReady_;
    bool inPaint_ = false;
    bool attached_ = false;
};

} // namespace morvane
