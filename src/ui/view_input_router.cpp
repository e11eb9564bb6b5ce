#include "ui/view_input_router.h"

#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/texture_picker.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

namespace morvane {

ViewInputRouter::ViewInputRouter(MainWindow& window) : QObject(&window), window_(window) {
    qApp->installEventFilter(this);
}

bool ViewInputRouter::isEditorWidget(const QObject* object) const {
    // Up the parents, across windows: a floating dock and a menu of the window count too.
    for (auto* widget = qobject_cast<const QWidget*>(object); widget != nullptr;
         widget = widget->parentWidget()) {
        if (widget == &window_) {
            return true;
        }
    }
    return false;
}

bool ViewInputRouter::pointerOver(const QWidget* widget) const {
    if (widget == nullptr || !widget->isVisible()) {
        return false;
    }
    const QWidget* under = QApplication::widgetAt(QCursor::pos());
    return under != nullptr && (under == widget || widget->isAncestorOf(under));
}

bool ViewInputRouter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (isEditorWidget(watched)) {
            const auto* widget = static_cast<const QWidget*>(watched);
            viewHadLastClick_ =
                widget == window_.viewPanel_ || window_.viewPanel_->isAncestorOf(widget);
        }
        break;
    case QEvent::ShortcutOverride: {
        // A key the tool takes beats a menu's shortcut while the view has the keys (Ctrl+C
        // copies an object with the object tool, and clones the room otherwise).
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isEditorWidget(watched) && QApplication::activeModalWidget() == nullptr &&
            QApplication::activePopupWidget() == nullptr &&
            window_.tool().takesKey(key->key(), key->modifiers()) &&
            (viewHadLastClick_ || pointerOver(window_.viewPanel_))) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        // Keys sent to the main window itself go on to its own handler; a modal dialog and an
        // open menu or list keep their keys.
        if (watched == &window_ || !isEditorWidget(watched) ||
            QApplication::activeModalWidget() != nullptr ||
            QApplication::activePopupWidget() != nullptr) {
            break;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (pointerOver(window_.texturePicker_) &&
            window_.texturePicker_->chooseTexture(key->key(), key->modifiers())) {
            return true;
        }
        ViewTool& tool = window_.tool();
        if (tool.takesKey(key->key(), key->modifiers()) &&
            (viewHadLastClick_ || pointerOver(window_.viewPanel_))) {
            window_.runGuarded([&] { tool.keyPress(key->key(), key->modifiers()); });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ViewInputRouter::viewPressed(const ViewPointer& pointer, Qt::MouseButton button) {
    viewHadLastClick_ = true;
    if (button == Qt::LeftButton) {
        window_.runGuarded([&] { window_.tool().press(pointer); });
    }
}

void ViewInputRouter::viewMoved(const ViewPointer& pointer) {
    if (pointer.Keys.Left && window_.tool().drag(pointer)) {
        return;
    }
    window_.pointerTimer_->start(); // the status bar soon says what is under the pointer
}

void ViewInputRouter::viewReleased(const ViewPointer& pointer, Qt::MouseButton button) {
    if (button == Qt::LeftButton) {
        window_.runGuarded([&] { window_.tool().release(pointer); });
    }
}

bool ViewInputRouter::viewWheel(const ViewPointer& pointer, double notches) {
    return window_.tool().wheel(pointer, notches);
}

void ViewInputRouter::viewLeft() {
    window_.pointerTimer_->stop();
    window_.pointerLabel_->clear();
}

} // namespace morvane
