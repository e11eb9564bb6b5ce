#include "ui/gl_panel.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWheelEvent>

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
    if (contextReady_) {
        contextReady_(attached_, problem);
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

ViewPointer GLPanel::pointerOf(const QPointF& position, Qt::KeyboardModifiers modifiers,
                               Qt::MouseButtons buttons) const {
    const QPointF at = position * devicePixelRatioF();
    return {static_cast<int>(at.x()), static_cast<int>(at.y()), shiftOf(modifiers, buttons)};
}

void GLPanel::mousePressEvent(QMouseEvent* event) {
    // The press itself is where the tools pick, also when no move came before it.
    const ViewPointer pointer =
        pointerOf(QPointF(event->position().toPoint()), event->modifiers(), event->buttons());
    viewport_.OnMouseDown(pointer.Keys, pointer.X, pointer.Y);
    if (input_ != nullptr) {
        input_->viewPressed(pointer, event->button());
    }
}

void GLPanel::mouseReleaseEvent(QMouseEvent* event) {
    viewport_.OnMouseUp();
    if (input_ != nullptr) {
        input_->viewReleased(
            pointerOf(QPointF(event->position().toPoint()), event->modifiers(), event->buttons()),
            event->button());
    }
}

void GLPanel::mouseMoveEvent(QMouseEvent* event) {
    const ViewPointer pointer =
        pointerOf(QPointF(event->position().toPoint()), event->modifiers(), event->buttons());
    viewport_.OnMouseMove(pointer.Keys, pointer.X, pointer.Y);
    if (input_ != nullptr) {
        input_->viewMoved(pointer);
    }
}

void GLPanel::wheelEvent(QWheelEvent* event) {
    const ViewPointer pointer = pointerOf(event->position(), event->modifiers(), event->buttons());
    // One notch of a wheel is 120 eighths of a degree; finer wheels send parts of it.
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0 && (input_ == nullptr || !input_->viewWheel(pointer, notches))) {
        viewport_.WheelZoom(pointer.X, pointer.Y, notches);
    }
    event->accept();
}

void GLPanel::leaveEvent(QEvent* event) {
    QOpenGLWidget::leaveEvent(event);
    if (input_ != nullptr) {
        input_->viewLeft();
    }
}

} // namespace morvane
