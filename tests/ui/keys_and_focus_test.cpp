// The editor's keys as a person presses them: the pointer moved by the window system, each key
// sent to the main window (not to a widget), with whatever control of a dock had the focus
// before; and the texts that reach the status bar, the caption and the project file.
#include "editor_fixtures.h"

#include "demo/demo_level.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "ui/build_dialog.h"
#include "ui/named_controls.h"
#include "ui/texture_picker.h"
#include "view/pick_names.h"

#include <QCursor>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QUndoStack>
#include <gmock/gmock.h>

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct KeysOverTheView : EditorWithTwoRooms {
    void SetUp() override {
        EditorWithTwoRooms::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // The pointer put on a widget's point by the window system.
    void PointAt(QWidget* widget, QPoint at) {
        QCursor::setPos(widget->mapToGlobal(at));
        ASSERT_TRUE(test::WaitUntil(
            [&] {
                QWidget* under = QApplication::widgetAt(QCursor::pos());
                return under == widget || widget->isAncestorOf(under);
            },
            WaitLimitMs))
            << "the pointer did not reach " << widget->objectName().toStdString();
    }
    void PointAtSector(int x, int z) {
        PointAt(window->viewPanel(), SectorPoint(x, z));
        Hover(window->viewPanel(), SectorPoint(x, z)); // the view's own record of the pointer
    }
    void Press(Qt::Key key) { QTest::keyClick(window->windowHandle(), key); }
    QString Status() { return Find<QLabel>(*window, "statusLabel")->text(); }
    QString HeightSelector() { return Find<QLabel>(*window, "heightSelectorLabel")->text(); }
};

TEST_F(KeysOverTheView, TheViewsKeysNeverGoToTheLastClickedControl) {
    // Space after a click on the tool bar's Delete reads the sector; it deletes no second room.
    services.DialogAnswers.push_back(AcceptRoom(4, 4));
    window->action("addRoom")->trigger();
    ASSERT_EQ(project->RoomCount, 3);
    QTest::mouseClick(Find<QPushButton>(*window->toolBar(), "deleteRoomButton"), Qt::LeftButton);
    ASSERT_EQ(project->RoomCount, 2);
    Find<QListWidget>(*window->toolBar(), "roomList")->setCurrentRow(0);
    ASSERT_EQ(project->CurrentRoom, 1);
    PointAtSector(3, 4);
    Press(Qt::Key_Space);
    EXPECT_EQ(project->RoomCount, 2) << "Space pressed the Delete button again";
    EXPECT_EQ(Status(), " Column:3 Row:4");
    QTest::mouseClick(Find<QPushButton>(*window->toolBar(), "cloneRoomButton"), Qt::LeftButton);
    ASSERT_EQ(project->RoomCount, 3);
    Find<QListWidget>(*window->toolBar(), "roomList")->setCurrentRow(0);
    PointAtSector(2, 5);
    Press(Qt::Key_Space);
    EXPECT_EQ(project->RoomCount, 3) << "Space pressed the Clone button again";
    EXPECT_EQ(Status(), " Column:2 Row:5");

    // Up over the view after typing in a position field moves the height selector, not the room.
    QSpinBox* x = Find<QSpinBox>(*window->toolBar(), "roomXField");
    QTest::mouseClick(x, Qt::LeftButton);
    ASSERT_TRUE(x->hasFocus());
    const int placed = project->Current().PosX;
    PointAtSector(3, 3);
    Press(Qt::Key_Up);
    EXPECT_EQ(project->Current().PosX, placed);
    EXPECT_EQ(HeightSelector(), "2");

    // The view had the last click: its keys follow it while the pointer is over the docks.
    QTest::mouseClick(window->viewPanel(), Qt::LeftButton, {}, SectorPoint(3, 3));
    PointAt(x, QPoint(4, 4));
    Press(Qt::Key_Down);
    EXPECT_EQ(HeightSelector(), "1");
    EXPECT_EQ(project->Current().PosX, placed);
}

TEST_F(KeysOverTheView, AnOpenMenuKeepsItsKeys) {
    PointAtSector(3, 3);
    QMenu* file = Find<QMenu>(*window, "fileMenu");
    file->popup(window->mapToGlobal(QPoint(10, 30)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    Press(Qt::Key_Up);
    EXPECT_NE(file->activeAction(), nullptr) << "the menu took the key";
    EXPECT_EQ(HeightSelector(), "1") << "the view did not";
    file->close();
}

TEST_F(KeysOverTheView, ThePickersKeysReachItDockedAndFloating) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("BASE.PHD"));
    services.FileAnswers.push_back(QString::fromStdString(files.Path("BASE.PHD")));
    window->action("openBaseLevel")->trigger();
    TexturePicker* picker = window->texturePicker();
    QDockWidget* dock = Find<QDockWidget>(*window, "texturesDock");
    dock->show();
    dock->raise();
    QSpinBox* ceiling = Find<QSpinBox>(*window->toolBar(), "ceilingTextureField");
    QSpinBox* floor = Find<QSpinBox>(*window->toolBar(), "floorTextureField");
    QTest::mouseClick(Find<QSpinBox>(*window->toolBar(), "replicationCountField"), Qt::LeftButton);

    PointAt(picker->stripViews[0], QPoint(30, 100));
    ASSERT_TRUE(
        test::WaitUntil([&] { return picker->windowTitle() == "TEXTURE# 2"; }, WaitLimitMs));
    Press(Qt::Key_3);
    EXPECT_EQ(ceiling->value(), 2) << "docked";

    dock->setFloating(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dock));
    dock->raise();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    PointAt(picker->stripViews[0], QPoint(30, 10));
    ASSERT_TRUE(
        test::WaitUntil([&] { return picker->windowTitle() == "TEXTURE# 1"; }, WaitLimitMs));
    PointAt(picker->stripViews[0], QPoint(30, 100));
    ASSERT_TRUE(
        test::WaitUntil([&] { return picker->windowTitle() == "TEXTURE# 2"; }, WaitLimitMs));
    Press(Qt::Key_1);
    EXPECT_EQ(floor->value(), 2) << "floating";
    dock->setFloating(false);
}

TEST_F(KeysOverTheView, TheRoomListsKeysMakeTheHighlightedRoomCurrent) {
    QListWidget* rooms = Find<QListWidget>(*window->toolBar(), "roomList");
    QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {},
                      rooms->visualItemRect(rooms->item(0)).center());
    ASSERT_EQ(project->CurrentRoom, 1);
    PointAt(rooms->viewport(), rooms->visualItemRect(rooms->item(0)).center());
    Press(Qt::Key_Down);
    EXPECT_EQ(rooms->currentRow(), 1);
    EXPECT_EQ(project->CurrentRoom, 2) << "the highlighted room is the current one";
    EXPECT_EQ(window->scene().DrawnRoom, 2);
    Press(Qt::Key_Up);
    EXPECT_EQ(project->CurrentRoom, 1);
}

TEST_F(KeysOverTheView, UndoGivesTheNeighbourBackWithTheCurrentRoom) {
    // Room 2 below room 1 shows beside it: a click on it makes it current (no step).
    project->Room(2).PosY = static_cast<uint8_t>(project->Room(1).PosY - 4);
    QSpinBox* neighbour = Find<QSpinBox>(*window->toolBar(), "neighbourRoomField");
    neighbour->setValue(2);
    window->redraw();
    const int steps = window->undoStack()->count();
    Click(5, 5); // an edit of room 1
    ASSERT_EQ(window->undoStack()->count(), steps + 1);
    QPoint onNeighbour;
    for (int y = 0; y < window->viewPanel()->height() && onNeighbour.isNull(); y += 4) {
        for (int x = 0; x < window->viewPanel()->width() && onNeighbour.isNull(); x += 4) {
            window->viewport().SetPointer(x, y);
            if (HitOfPickName(window->viewport().Pick()).IsNeighbourRoom()) {
                onNeighbour = QPoint(x, y);
            }
        }
    }
    ASSERT_FALSE(onNeighbour.isNull()) << "the neighbour room shows in the view";
    QTest::mouseClick(window->viewPanel(), Qt::LeftButton, {}, onNeighbour);
    ASSERT_EQ(project->CurrentRoom, 2) << "the neighbour made current";
    ASSERT_EQ(neighbour->value(), 1);
    QTest::keyClick(window->windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(neighbour->value(), 2) << "the neighbour as it was when the step began";
    EXPECT_EQ(window->scene().NeighbourRoom, 2);
    QTest::keyClick(window->windowHandle(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(neighbour->value(), 2);

    // A room is never sent against itself.
    neighbour->setValue(project->CurrentRoom);
    const TEditorRoom& room = project->Current();
    const int x = room.PosX, z = room.PosZ, before = window->undoStack()->count();
    window->action("sendRoomToFront")->trigger();
    EXPECT_EQ(room.PosX, x);
    EXPECT_EQ(room.PosZ, z);
    EXPECT_EQ(window->undoStack()->count(), before);
}

TEST_F(KeysOverTheView, TheBuildsReportLeavesTheSectorReadOutInSight) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("BASE.PHD"));
    services.DialogAnswers.push_back([&](QDialog& dialog) {
        auto& form = static_cast<BuildDialog&>(dialog);
        form.baseLevelField->setText(QString::fromStdString(files.Path("BASE.PHD")));
        form.outputLevelField->setText(QString::fromStdString(files.Path("OUT.PHD")));
        return int(QDialog::Accepted);
    });
    window->action("buildLevel")->trigger();
    EXPECT_THAT(Status().toStdString(), StartsWith("Level written: "));
    PointAtSector(4, 2);
    Press(Qt::Key_Space);
    EXPECT_EQ(Status(), " Column:4 Row:2");
    EXPECT_TRUE(Find<QLabel>(*window, "statusLabel")->isVisible());
    EXPECT_EQ(window->statusBar()->currentMessage(), "") << "no message covers the read-out";
}

TEST_F(KeysOverTheView, NamesBeyondLatin1AreRefusedNeverStoredChanged) {
    const std::string named = project->Current().Name.Str();
    services.DialogAnswers.push_back([](QDialog& dialog) {
        static_cast<RoomDialog&>(dialog).nameField->setText("Poziom \u0142\u00f3d\u017a");
        return int(QDialog::Accepted);
    });
    window->action("editRoomProperties")->trigger();
    ASSERT_FALSE(services.Messages.empty());
    EXPECT_THAT(services.Messages.back().toStdString(),
                HasSubstr("cannot be stored in the project file"));
    EXPECT_THAT(services.Messages.back().toStdString(), HasSubstr("(\u0142 \u017a)"))
        << "the characters beyond Latin-1, each once (\u00f3 is Latin-1)";
    EXPECT_EQ(project->Current().Name.Str(), named) << "the name is left as it was";

    const int rooms = project->RoomCount;
    services.DialogAnswers.push_back([](QDialog& dialog) {
        static_cast<RoomDialog&>(dialog).nameField->setText("\u0141\u00f3d\u017a");
        return int(QDialog::Accepted);
    });
    window->action("addRoom")->trigger();
    EXPECT_EQ(project->RoomCount, rooms) << "no room under a name the file cannot hold";

    const QString folder = QString::fromStdString(files.Path("Poziom \u0142\u00f3d\u017a"));
    QDir().mkpath(folder);
    services.FileAnswers.push_back(folder + "/BASE.PHD");
    const QString base = window->buildDialog()->baseLevelField->text();
    window->action("openBaseLevel")->trigger();
    EXPECT_THAT(services.Messages.back().toStdString(), HasSubstr("The base level's file name"));
    EXPECT_EQ(window->buildDialog()->baseLevelField->text(), base);

    window->buildDialog()->scriptFileField->setText(folder + "/SCRIPT.TXT");
    services.FileAnswers.push_back(QString::fromStdString(files.Path("p.mvn")));
    window->action("saveProject")->trigger();
    EXPECT_THAT(services.Messages.back().toStdString(), HasSubstr("The script's file name"));
    EXPECT_FALSE(std::filesystem::exists(files.Path("p.mvn"))) << "nothing is stored changed";
    EXPECT_TRUE(window->isModified());
}

TEST_F(Editor, ANewProjectHasOneCaption) {
    auto edited = [&] {
        services.DialogAnswers.push_back(AcceptRoom(3, 3));
        window->action("addRoom")->trigger();
        return window->windowTitle();
    };
    const QString atStart = window->windowTitle();
    const QString editedAtStart = edited();
    window->action("newProject")->trigger();
    EXPECT_EQ(window->windowTitle(), atStart);
    EXPECT_EQ(edited(), editedAtStart);
    EXPECT_EQ(editedAtStart, "Quillon's Morvane3D *");
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

// A key that would take a number field out of its range is refused, and the field says its
// range instead of keeping a part of what was typed without a word.
TEST(RangeSpinBox, AKeyOutOfRangeShowsTheRange) {
    QWidget window;
    auto* column = static_cast<RangeSpinBox*>(namedSpin(&window, "column", 1, 31, 1));
    auto* height = static_cast<RangeSpinBox*>(namedSpin(&window, "height", 0, 255, 0));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    column->setFocus();
    column->selectAll();
    QTest::keyClicks(column, "3");
    EXPECT_TRUE(column->lastRefusal().isEmpty()) << "3 is within 1 to 31";
    QTest::keyClicks(column, "2");
    EXPECT_EQ(column->value(), 3);
    EXPECT_EQ(column->lastRefusal(), "1 to 31");
    height->setFocus();
    height->selectAll();
    QTest::keyClicks(height, "-5");
    EXPECT_EQ(height->value(), 5);
    EXPECT_EQ(height->lastRefusal(), "0 to 255");
}

} // namespace
} // namespace morvane
