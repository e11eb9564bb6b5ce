#pragma once

#include "ui/gl_panel.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QMouseEvent>

#include <cstdio>
#include <cstdlib>

// The editor driven as a person drives it, for the editor's benchmarks: a control found by its
// object name, and the left button pressed and released over the view at a point of its
// pixels.
template <class Control> Control* Find(const QObject& root, const QString& name) {
    Control* found = root.findChild<Control*>(name);
    if (found == nullptr) {
        std::fprintf(stderr, "no control named %s\n", name.toStdString().c_str());
        std::abort();
    }
    return found;
}

inline void SendLeftButton(morvane::MainWindow& window, QEvent::Type type, QPoint pixels,
                           Qt::MouseButtons held) {
    morvane::GLPanel* panel = window.viewPanel();
    const QPointF at = QPointF(pixels) / panel->devicePixelRatioF();
    QMouseEvent event(type, at, panel->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(panel, &event);
}

inline void PressLeftButton(morvane::MainWindow& window, QPoint pixels) {
    SendLeftButton(window, QEvent::MouseButtonPress, pixels, Qt::LeftButton);
}

inline void ReleaseLeftButton(morvane::MainWindow& window, QPoint pixels) {
    SendLeftButton(window, QEvent::MouseButtonRelease, pixels, Qt::NoButton);
}

// The pointer moved over the view with the left button held (a drag).
inline void DragLeftButton(morvane::MainWindow& window, QPoint pixels) {
    morvane::GLPanel* panel = window.viewPanel();
    const QPointF at = QPointF(pixels) / panel->devicePixelRatioF();
    QMouseEvent event(QEvent::MouseMove, at, panel->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(panel, &event);
}
