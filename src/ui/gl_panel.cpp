#include "ui/gl_panel.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace morvane {

void useCompatibilityGLFormat() {
    QSurfaceFormat format;
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
}

GLPanel::GLPanel(TGLViewport& viewport, QWidget* parent)
    : QOpenGLWidget(parent), viewport_(viewport) {
    setObjectName("viewPanel");
    setMouseTracking(true); // the view keeps the mouse position for picking with the Space key
    setFocusPolicy(Qt::StrongFocus);
}

bool GLPanel::HasContext() const {
    return context() != nullptr && context()->isValid();
}

void GLPanel::MakeCurrent() {
    makeCurrent();
}

// Qt shows the frame once paintGL returns: frames are drawn there only.
void GLPanel::SwapBuffers() {}

bool GLPanel::PaintLater() {
    if (inPaint_) {
        return false;
    }
    update();
    return true;
}

int GLPanel::Width() const {
    return static_cast<int>(width() * devicePixelRatioF());
}
int GLPanel::Height() const {
    return static_cast<int>(height() * devicePixelRatioF());
}

void GLPanel::initializeGL() {
    std::string problem;
    attached_ = viewport_.Attach(*this, problem);
    if (onContextReady) {
        onContextReady(attached_, problem);
    }
}

void GLPanel::resizeGL(int, int) {
    if (attached_) {
        viewport_.SetupProjection();
    }
}

void GLPanel::paintGL() {
    if (!attached_) {
        return;
    }
    inPaint_ = true;
    viewport_.OnPaint();
    inPaint_ = false;
    emit framePainted();
}

ShiftState GLPanel::shiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    ShiftState state;
    state.Shift = modifiers & Qt::ShiftModifier;
    state.Ctrl = modifiers & Qt::ControlModifier;
    state.Alt = modifiers & Qt::AltModifier;
    state.Left = buttons & Qt::LeftButton;
    state.Right = buttons & Qt::RightButton;
    return state;
}

void GLPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint() * devicePixelRatioF();
    // The press itself is where the tools pick, also when no move came before it.
    viewport_.MouseX = at.x();
    viewport_.MouseY = at.y();
    viewport_.OnMouseDown(shiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

void GLPanel::mouseReleaseEvent(QMouseEvent*) {
    viewport_.OnMouseUp();
}

void GLPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint() * devicePixelRatioF();
    viewport_.OnMouseMove(shiftOf(event->modifiers(), event->buttons()), at.x(), at.y());
}

} // namespace morvane
