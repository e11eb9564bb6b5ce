#pragma once

#include "ui/view_tool.h"

#include <QObject>

namespace morvane {

class MainWindow;

// Where the 3D panel hands its mouse after the viewport's own navigation (the right button).
class ViewInput {
public:
    virtual void viewPressed(const ViewPointer& pointer, Qt::MouseButton button) = 0;
    virtual void viewMoved(const ViewPointer& pointer) = 0;
    virtual void viewReleased(const ViewPointer& pointer, Qt::MouseButton button) = 0;
    // A turn of the wheel; false leaves it to the view, which zooms.
    virtual bool viewWheel(const ViewPointer& pointer, double notches) = 0;
    virtual void viewLeft() = 0;

protected:
    ~ViewInput() = default;
};

// Hands the view's mouse and keys to the main window's active tool. The editor's keys reach
// the view whenever the pointer is over it or the view had the last click, whatever control of
// a dock had the keyboard focus before (a button clicked there is never pressed again by them);
// the texture picker's keys 1 to 4 reach it while the pointer is over it.
class ViewInputRouter : public QObject, public ViewInput {
    Q_OBJECT
public:
    explicit ViewInputRouter(MainWindow& window);

    void viewPressed(const ViewPointer& pointer, Qt::MouseButton button) override;
    void viewMoved(const ViewPointer& pointer) override;
    void viewReleased(const ViewPointer& pointer, Qt::MouseButton button) override;
    bool viewWheel(const ViewPointer& pointer, double notches) override;
    void viewLeft() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether a widget is the main window or one of its children (docks floating included).
    bool isEditorWidget(const QObject* object) const;
    bool pointerOver(const QWidget* widget) const;

    MainWindow& window_;
    bool viewHadLastClick_ = false;
};

} // namespace morvane
