// The editor's undo history through its windows: the Edit menu and its keys, each document
// operation as one step that undo takes back with the windows following, refusals that leave no
// step, and the modified marker of the caption.
#include "ui/editor_fixtures.h"

#include "document/project_file.h"
#include "ui/build_dialog.h"
#include "ui/tool_bar_window.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QUndoStack>

#include <cstring>

namespace morvane {
namespace {

using EditHistory = EditorWithRoom;
using EditHistoryOfTwoRooms = EditorWithTwoRooms;

// A key pressed in the window: a shortcut needs its window active, as a person's would be.
void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (!window->isActiveWindow()) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QTest::keyClick(window, key, modifiers);
}

void PressUndo(QWidget* window) {
    PressKey(window, Qt::Key_Z, Qt::ControlModifier);
}

// What the windows show of the document.
struct Shown {
    QStringList rooms;
    QString currentRoom;
    int x, y, z;
    int portalViews;
    QString height;

    static Shown Of(const MainWindow& window) {
        const ToolBarWindow& t = *window.toolBar();
        Shown shown{{},
                    Find<QLabel>(window, "currentRoomLabel")->text(),
                    Find<QSpinBox>(t, "roomXField")->value(),
                    Find<QSpinBox>(t, "roomYField")->value(),
                    Find<QSpinBox>(t, "roomZField")->value(),
                    Find<QListWidget>(t, "portalViewList")->count(),
                    Find<QLabel>(window, "heightSelectorLabel")->text()};
        for (int i = 0; i < Find<QListWidget>(t, "roomList")->count(); ++i) {
            shown.rooms << Find<QListWidget>(t, "roomList")->item(i)->text();
        }
        return shown;
    }
    bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << shown.rooms.join(",").toStdString() << " current " << shown.currentRoom.toStdString()
         << " at " << shown.x << "," << shown.y << "," << shown.z << ", " << shown.portalViews
         << " views, height " << shown.height.toStdString();
}

TEST_F(EditHistory, TheEditMenuUndoesAndRedoesEachClickByItsKeys) {
    QStringList menus;
    for (const QAction* menu : window->menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus.mid(0, 4), (QStringList{"&File", "&Edit", "&View", "&Rooms"}));
    QAction* undo = window->action("undo");
    QAction* redo = window->action("redo");
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(redo->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    EXPECT_EQ(undo->text(), "&Undo Add Room");
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(redo->text(), "&Redo");
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D *") << "the new room is not saved";
    const auto added = CopyOf(*project);

    Click(3, 3); // shape 1 at the floor's own level
    EXPECT_EQ(undo->text(), "&Undo Place Floor Shape");
    QTest::keyClick(window.get(), Qt::Key_Up);
    Click(4, 3);
    EXPECT_EQ(undo->text(), "&Undo Raise Floor");
    Click(4, 4, Qt::ControlModifier);
    EXPECT_EQ(undo->text(), "&Undo Lower Ceiling");
    Find<QCheckBox>(*window->toolBar(), "putShapesBox")->click();
    Find<QSpinBox>(*window->toolBar(), "floorTextureField")->setValue(0); // the face left out
    Click(2, 4);
    EXPECT_EQ(undo->text(), "&Undo Paint Floor Textures");
    EXPECT_EQ(window->undoStack()->count(), 5);
    const auto painted = CopyOf(*project);

    PressUndo(window.get());
    EXPECT_EQ(+Sector(2, 4).FloorSurface.Textures[2], 0) << "the texture as the room made it";
    PressUndo(window.get());
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(4, 4, 6)).CeilingHeight, 3);
    EXPECT_EQ(undo->text(), "&Undo Raise Floor");
    EXPECT_EQ(redo->text(), "&Redo Lower Ceiling");
    PressUndo(window.get());
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(4, 3, 6)).FloorHeight, 0);
    PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(4, 3, 6)).FloorHeight, 1) << "Ctrl+Y";
    PressKey(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(4, 4, 6)).CeilingHeight, 2)
        << "Ctrl+Shift+Z";
    redo->trigger(); // the menu
    EXPECT_TRUE(SameDocument(*project, *painted)) << "redone to the last click, byte for byte";

    for (int i = 0; i < 4; ++i) {
        undo->trigger();
    }
    EXPECT_TRUE(SameDocument(*project, *added)) << "the clicks undone, byte for byte";
    PressUndo(window.get());
    EXPECT_EQ(project->RoomCount, 0);
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->count(), 0);
    EXPECT_EQ(Find<QLabel>(*window, "currentRoomLabel")->text(), "None");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), "&Undo");
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D ") << "back to the state at start";
    for (int i = 0; i < 5; ++i) {
        PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
    }
    EXPECT_TRUE(SameDocument(*project, *painted));
    EXPECT_EQ(Find<QLabel>(*window, "currentRoomLabel")->text(), "Room #1");
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

// Each room operation is one step; its undo gives back the document byte for byte and the
// windows as they were, its redo the document after it.
TEST_F(EditHistoryOfTwoRooms, EachRoomOperationIsOneStepThatUndoTakesBack) {
    ToolBarWindow& t = *window->toolBar();
    Find<QSpinBox>(t, "neighbourRoomField")->setValue(2);
    struct Case {
        const char* step;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"Delete Room", [&] { window->action("deleteRoom")->trigger(); }},
        {"Clone Room", [&] { window->action("cloneRoom")->trigger(); }},
        {"Make Alternate Room", [&] { window->action("makeAlternateRoom")->trigger(); }},
        {"Send to Front", [&] { window->action("sendRoomToFront")->trigger(); }},
        {"Send to Up", [&] { window->action("sendRoomToUp")->trigger(); }},
        {"Move Room", // typed into the fields: one step
         [&] {
             Find<QSpinBox>(t, "roomXField")->setValue(1);
             Find<QSpinBox>(t, "roomXField")->setValue(12);
             Find<QSpinBox>(t, "roomXField")->setValue(120);
             Find<QSpinBox>(t, "roomZField")->setValue(7);
         }},
        {"Add Portal View",
         [&] {
             Find<QSpinBox>(t, "portalRoomField")->setValue(2);
             Find<QPushButton>(t, "addPortalViewButton")->click();
         }},
        {"Edit Room Properties",
         [&] {
             services.DialogAnswers.push_back([](QDialog& dialog) {
                 auto& form = static_cast<RoomDialog&>(dialog);
                 form.nameField->setText("Hall");
                 form.ambientLightField->setValue(3);
                 return int(QDialog::Accepted);
             });
             Find<QPushButton>(t, "roomPropertiesButton")->click();
         }},
        {"Rebuild Room", // the properties and the rebuild: one step
         [&] {
             services.DialogAnswers.push_back(AcceptRoom(9, 5));
             services.DialogAnswers.push_back([](QDialog&) { return int(QDialog::Accepted); });
             Find<QPushButton>(t, "roomPropertiesButton")->click();
         }},
        {"Add Room",
         [&] {
             services.DialogAnswers.push_back(AcceptRoom(3, 3));
             window->action("addRoom")->trigger();
         }},
    };
    // Work on the room of the tests so far, so that the rebuild has sectors to lose.
    project->Room(1).GameSector(SectorNumber(3, 3, 6)).FloorHeight = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        const auto before = CopyOf(*project);
        const Shown shownBefore = Shown::Of(*window);
        const int steps = window->undoStack()->index();
        c.run();
        ASSERT_EQ(window->undoStack()->index(), steps + 1) << "one step";
        EXPECT_EQ(window->undoStack()->undoText(), c.step);
        ASSERT_FALSE(SameDocument(*project, *before));
        const auto after = CopyOf(*project);
        const Shown shownAfter = Shown::Of(*window);

        window->action("undo")->trigger();
        EXPECT_TRUE(SameDocument(*project, *before)) << "undone byte for byte";
        EXPECT_EQ(Shown::Of(*window), shownBefore) << "the windows show it as before";
        EXPECT_EQ(window->scene().DrawnRoom, project->CurrentRoom);
        window->action("redo")->trigger();
        EXPECT_TRUE(SameDocument(*project, *after)) << "redone byte for byte";
        EXPECT_EQ(Shown::Of(*window), shownAfter);
        window->action("undo")->trigger();
    }
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

// A refused operation is taken back whole and leaves no step; choosing a room, reading a sector
// and the height selector are no edits.
TEST_F(EditHistoryOfTwoRooms, RefusalsAndChoicesLeaveNoStep) {
    ToolBarWindow& t = *window->toolBar();
    const int steps = window->undoStack()->index();
    const auto before = CopyOf(*project);

    Find<QSpinBox>(t, "roomAboveField")->setValue(1); // the current room above itself
    Click(3, 3);
    EXPECT_EQ(services.Messages.back(), " Invalid Room Above number ");
    Find<QSpinBox>(t, "roomAboveField")->setValue(0);
    Find<QSpinBox>(t, "portalRoomField")->setValue(1);
    Find<QPushButton>(t, "addPortalViewButton")->click();
    EXPECT_EQ(services.Messages.back(), "Invalid Portal View Room number!");

    // A replication that meets a sector where the shape does not fit: the sectors before it
    // are taken back with it.
    TEditorRoom& room = project->Room(1);
    room.Sector(SectorNumber(3, 5, 6)).CeilingShape = 4;
    room.GameSector(SectorNumber(3, 5, 6)).CeilingHeight = 2;
    const auto blocked = CopyOf(*project);
    Find<QSpinBox>(t, "replicationCountField")->setValue(4);
    QTest::keyClick(window.get(), Qt::Key_Up);
    Click(3, 2);
    EXPECT_EQ(services.Messages.back(), " Invalid height!! ");
    EXPECT_TRUE(SameDocument(*project, *blocked)) << "the sectors before the stop are back";
    room.Sector(SectorNumber(3, 5, 6)).CeilingShape = 0;
    room.GameSector(SectorNumber(3, 5, 6)).CeilingHeight = 3;

    Find<QListWidget>(*window->toolBar(), "roomList")->setCurrentRow(1);
    emit Find<QListWidget>(*window->toolBar(), "roomList")
        ->itemClicked(Find<QListWidget>(*window->toolBar(), "roomList")->item(1));
    EXPECT_EQ(project->CurrentRoom, 2);
    Hover(window->viewPanel(), SectorPoint(2, 2));
    QTest::keyClick(window.get(), Qt::Key_Space);
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(window->undoStack()->index(), steps) << "no step was made";
    EXPECT_EQ(services.Messages.size(), 3u);
    project->CurrentRoom = 1; // the choice of room is all that changed
    EXPECT_TRUE(SameDocument(*project, *before));
}

// The caption marks unsaved changes after the file name; undoing back to the saved state clears
// the mark; the build dialog's settings count; New and Open start a new history.
TEST_F(EditHistory, TheCaptionMarksUnsavedChanges) {
    const QString path = QString::fromStdString(files.Path("marked.mvn"));
    services.FileAnswers.push_back(path);
    window->action("saveProject")->trigger();
    const QString saved = "Quillon's Morvane3D - " + path;
    EXPECT_EQ(window->windowTitle(), saved);
    EXPECT_FALSE(window->isModified());
    EXPECT_TRUE(window->action("undo")->isEnabled()) << "a save keeps the history";

    Click(3, 3);
    EXPECT_EQ(window->windowTitle(), saved + "*");
    PressUndo(window.get());
    EXPECT_EQ(window->windowTitle(), saved) << "undone to the saved state";
    PressUndo(window.get());
    EXPECT_EQ(window->windowTitle(), saved + "*") << "before the saved state is a change too";
    PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(window->windowTitle(), saved);

    services.DialogAnswers.push_back([](QDialog& dialog) {
        static_cast<BuildDialog&>(dialog).levelDescriptionField->setText("The crypt");
        return int(QDialog::Rejected);
    });
    window->action("buildLevel")->trigger();
    EXPECT_EQ(window->windowTitle(), saved + "*") << "a build setting changed in its dialog";
    window->action("saveProject")->trigger();
    EXPECT_EQ(window->windowTitle(), saved);

    Click(4, 4);
    window->action("newProject")->trigger(); // discarded (the fake's default answer)
    EXPECT_EQ(services.SaveQuestions, std::vector<QString>{path});
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D ");
    EXPECT_EQ(window->undoStack()->count(), 0) << "the history went with its document";
    EXPECT_FALSE(window->action("undo")->isEnabled());

    services.DialogAnswers.push_back(AcceptRoom(4, 4));
    window->action("addRoom")->trigger();
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D *");
    services.FileAnswers.push_back(path);
    window->action("openProject")->trigger();
    EXPECT_EQ(window->windowTitle(), saved);
    EXPECT_EQ(window->undoStack()->count(), 0);
    EXPECT_EQ(project->Room(1).ZSectors, 6) << "the saved room";
}

} // namespace
} // namespace morvane
