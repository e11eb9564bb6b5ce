#pragma once

// The editor with a room or two, and the mouse and dialog answers the tests drive it with.
#include "ui/ui_fixture.h"

#include "document/object_operations.h"
#include "document/sector_numbering.h"
#include "level/world_units.h"
#include "ui/room_dialog.h"
#include "view/window_position.h"

#include <QApplication>
#include <QCursor>
#include <QListWidget>
#include <QMouseEvent>
#include <QSpinBox>
#include <QString>

#include <cstring>
#include <memory>
#include <ostream>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace morvane {

using Editor = test::EditorFixture;

// The pointer moving over a widget, as the window system reports it.
inline void Hover(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// A copy of the document to compare with, byte for byte.
inline std::unique_ptr<TEditorProject> CopyOf(const TEditorProject& project) {
    auto copy = std::make_unique<TEditorProject>();
    copy->ReplaceWith(project);
    return copy;
}

inline bool SameDocument(const TEditorProject& a, const TEditorProject& b) {
    return std::memcmp(&a, &b, sizeof(TEditorProject)) == 0;
}

// Answers the "Add new Room" dialog with a size and accepts it.
inline std::function<int(QDialog&)> AcceptRoom(int length, int width, int height = 3) {
    return [=](QDialog& dialog) {
        auto& form = static_cast<RoomDialog&>(dialog);
        form.lengthField->setValue(length);
        form.widthField->setValue(width);
        form.heightField->setValue(height);
        return int(QDialog::Accepted);
    };
}

struct EditorWithRoom : Editor {
    void SetUp() override {
        Editor::SetUp();
        services.DialogAnswers.push_back(AcceptRoom(6, 6));
        window->action("addRoom")->trigger();
        // Looked at from straight above.
        window->viewport().SetRotation({90, 0, 0});
        window->redraw();
        WaitForFrame();
    }
    QPoint SectorPoint(int x, int z) {
        const TEditorRoom& room = project->Room(1);
        window->viewPanel()->MakeCurrent();
        auto [px, py] = test::WindowPosition(
            window->viewport(), window->camera(), window->scene(), window->viewPanel()->Width(),
            window->viewPanel()->Height(), room.PosX + x - 0.5, room.PosY, -(room.PosZ + z - 0.5));
        return QPoint(px, py);
    }
    void Click(int x, int z, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint at = SectorPoint(x, z);
        Hover(window->viewPanel(), at);
        QTest::mouseClick(window->viewPanel(), Qt::LeftButton, modifiers, at);
    }
    const TEditorSector& Sector(int x, int z) {
        return project->Room(1).Sector(SectorNumber(x, z, 6));
    }
};

// Room 1 (6 x 6, 3 high) current, room 2 (4 x 4, 3 high) beside it: both at the dialog's
// place (100, 32, 100).
struct EditorWithTwoRooms : EditorWithRoom {
    void SetUp() override {
        EditorWithRoom::SetUp();
        services.DialogAnswers.push_back(AcceptRoom(4, 4));
        window->action("addRoom")->trigger();
        ASSERT_EQ(project->RoomCount, 2);
        QListWidget* rooms = Find<QListWidget>(*window->toolBar(), "roomList");
        rooms->setCurrentRow(0);
        emit rooms->itemClicked(rooms->item(0));
        ASSERT_EQ(project->CurrentRoom, 1);
    }
};

// The demo project without its objects, its first room current and looked at from straight
// above without a neighbour, and the pointer put over its points.
struct EditorOnDemoProject : Editor {
    void SetUp() override {
        Editor::SetUp();
        OpenDemoProject(false);
        Find<QSpinBox>(*window->toolBar(), "neighbourRoomField")->setValue(0);
        window->viewport().SetRotation({90, 0, 0});
        window->redraw();
        WaitForFrame();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // Where a point of the current room (x and z from its corner, y as the game counts) shows.
    QPoint RoomPoint(double x, double z, double y) {
        const TEditorRoom& room = project->Current();
        window->viewPanel()->MakeCurrent();
        auto [px, py] = test::WindowPosition(
            window->viewport(), window->camera(), window->scene(), window->viewPanel()->Width(),
            window->viewPanel()->Height(), room.PosX + x / SectorSize,
            (LevelZeroY - y) / SectorSize, -(room.PosZ + z / SectorSize));
        return QPoint(px, py);
    }
    QPoint SectorCentre(int column, int row) {
        const int x = (column - 1) * SectorSize + SectorSize / 2;
        const int z = (row - 1) * SectorSize + SectorSize / 2;
        return RoomPoint(x, z, FloorYUnder(*project, project->CurrentRoom, x, z));
    }
    // The pointer put there by the window system, and the view told of it.
    void PointAt(QPoint at) {
        QWidget* view = window->viewPanel();
        QCursor::setPos(view->mapToGlobal(at));
        ASSERT_TRUE(test::WaitUntil(
            [&] {
                QWidget* under = QApplication::widgetAt(QCursor::pos());
                return under == view || view->isAncestorOf(under);
            },
            WaitLimitMs));
        Hover(view, at);
    }
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }
    // The left button pressed at one point, moved over others and released at the last.
    void Drag(std::initializer_list<QPoint> points, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* view = window->viewPanel();
        const QPoint first = *points.begin();
        PointAt(first);
        QTest::mousePress(view, Qt::LeftButton, modifiers, first);
        QPoint last = first;
        for (const QPoint to : points) {
            QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, modifiers);
            QApplication::sendEvent(view, &move);
            last = to;
        }
        QTest::mouseRelease(view, Qt::LeftButton, modifiers, last);
    }
};

} // namespace morvane
