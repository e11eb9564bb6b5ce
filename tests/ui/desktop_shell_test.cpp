// The editor as a desktop program: the docks and their layout kept between runs, the window that
// fits the screen, the wheel zoom, the status bar's word on the sector under the pointer, the
// drag over a rectangle of sectors as one step, the limits panel, the usual keys, the shapes'
// tool tips and the keys guide.
#include "ui/editor_fixtures.h"

#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/project_file.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "levelbuild/level_usage.h"
#include "ui/keys_guide.h"
#include "ui/limits_panel.h"
#include "ui/texture_picker.h"
#include "ui/window_layout.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QUndoStack>
#include <QWheelEvent>

#include <filesystem>
#include <map>
#include <set>

namespace morvane {
namespace {

using DesktopShell = Editor;
using DesktopShellWithRoom = EditorWithRoom;

void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (!window->isActiveWindow()) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QTest::keyClick(window, key, modifiers);
}

TEST_F(DesktopShell, TheToolWindowsAreDocksOfTheMainWindowReopenedFromTheViewMenu) {
    QStringList menus;
    for (const QAction* menu : window->menuBar()->actions()) {
        menus << menu->text();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Rooms", "&Textures", "&Help"}));
    for (QDockWidget* dock :
         {Find<QDockWidget>(*window, "toolBarDock"), Find<QDockWidget>(*window, "texturesDock"),
          Find<QDockWidget>(*window, "limitsDock")}) {
        SCOPED_TRACE(dock->objectName().toStdString());
        EXPECT_EQ(window->dockWidgetArea(dock), Qt::RightDockWidgetArea);
        EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetClosable);
        EXPECT_TRUE(dock->features() & QDockWidget::DockWidgetFloatable);
        EXPECT_FALSE(dock->isFloating());
    }
    EXPECT_EQ(Find<QDockWidget>(*window, "toolBarDock")->widget(), window->toolBar());
    EXPECT_EQ(Find<QDockWidget>(*window, "texturesDock")->widget(), window->texturePicker());
    EXPECT_TRUE(Find<QDockWidget>(*window, "toolBarDock")->isVisible());
    EXPECT_TRUE(Find<QDockWidget>(*window, "limitsDock")->isVisible());
    EXPECT_FALSE(Find<QDockWidget>(*window, "texturesDock")->isVisible())
        << "the textures show when asked for";

    // Closed, and back from the View menu or from the commands that always showed them.
    QAction* viewToolBar = window->action("viewToolBar");
    ASSERT_NE(viewToolBar, nullptr);
    EXPECT_TRUE(viewToolBar->isChecked());
    Find<QDockWidget>(*window, "toolBarDock")->close();
    EXPECT_FALSE(viewToolBar->isChecked());
    viewToolBar->trigger();
    EXPECT_TRUE(Find<QDockWidget>(*window, "toolBarDock")->isVisible());
    Find<QDockWidget>(*window, "toolBarDock")->close();
    window->action("showToolBar")->trigger();
    EXPECT_TRUE(Find<QDockWidget>(*window, "toolBarDock")->isVisible());
    PressKey(window.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(Find<QDockWidget>(*window, "texturesDock")->isVisible()) << "Ctrl+T";
    EXPECT_TRUE(window->action("viewTextures")->isChecked());
    window->texturePicker()->setWindowTitle("TEXTURE# 7");
    EXPECT_EQ(Find<QDockWidget>(*window, "texturesDock")->windowTitle(), "TEXTURE# 7")
        << "the hovered texture shows";
    EXPECT_EQ(window->action("viewTextures")->text(), "T&extures");
}

TEST_F(DesktopShell, LayoutAndRenderModeAreKeptBetweenRuns) {
    // Without a saved layout the first window fits the screen's free area.
    const QRect available = window->screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window->geometry()))
        << window->geometry().width() << "x" << window->geometry().height() << " on "
        << available.width() << "x" << available.height();
    const QRect small = initialWindowRect(QSize(1280, 900), QRect(0, 0, 1024, 700));
    EXPECT_EQ(small.size(), QSize(984, 660)) << "a screen smaller than the wanted size";
    EXPECT_EQ(small.center(), QRect(0, 0, 1024, 700).center());
    EXPECT_EQ(initialWindowRect(QSize(1280, 900), QRect(0, 24, 1920, 1056)),
              QRect(320, 102, 1280, 900))
        << "a large screen: the wanted size, centred in the free area";

    Find<QDockWidget>(*window, "limitsDock")->setFloating(true);
    Find<QDockWidget>(*window, "texturesDock")->show();
    Find<QRadioButton>(*window->toolBar(), "solidModeButton")->click();
    window->resize(1100, 760);
    QTest::qWait(50);
    const QSize size = window->size();
    window->close();
    ASSERT_FALSE(window->isVisible());

    auto again = std::make_unique<MainWindow>(*project, *level, services, program.Root().string());
    again->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(again.get(), WaitLimitMs));
    EXPECT_EQ(again->size(), size);
    EXPECT_TRUE(Find<QDockWidget>(*again, "limitsDock")->isFloating());
    EXPECT_TRUE(Find<QDockWidget>(*again, "texturesDock")->isVisible());
    EXPECT_TRUE(Find<QDockWidget>(*again, "toolBarDock")->isVisible());
    EXPECT_EQ(again->scene().Mode, RenderMode::Solid);
    EXPECT_TRUE(Find<QRadioButton>(*again->toolBar(), "solidModeButton")->isChecked());
    again->toolBar()->hide();
    again.reset();
}

TEST_F(DesktopShellWithRoom, TheWheelZoomsTowardThePointer) {
    const QPoint at = SectorPoint(2, 5);
    const QPoint neighbour = SectorPoint(3, 5);
    const float z = window->camera().Z;
    const double width = QLineF(at, neighbour).length();
    QWheelEvent wheel(QPointF(at), QPointF(window->viewPanel()->mapToGlobal(at)), QPoint(),
                      QPoint(0, 240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->viewPanel(), &wheel);
    EXPECT_LT(window->camera().Z, z * 0.8) << "two notches forward come nearer";
    const QPoint after = SectorPoint(2, 5);
    EXPECT_LE((after - at).manhattanLength(), 2) << "the sector under the pointer stays there";
    EXPECT_GT(QLineF(after, SectorPoint(3, 5)).length(), width * 1.2) << "and looks larger";
    // A pan of fifty pixels moves the camera one unit from where the wheel left it.
    const float panFrom = window->camera().X;
    auto send = [&](QEvent::Type type, QPoint p, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(p), QPointF(window->viewPanel()->mapToGlobal(p)),
                          Qt::RightButton, held, Qt::ShiftModifier);
        QApplication::sendEvent(window->viewPanel(), &event);
    };
    send(QEvent::MouseButtonPress, at, Qt::RightButton);
    send(QEvent::MouseMove, at + QPoint(50, 0), Qt::RightButton);
    EXPECT_NEAR(window->camera().X, panFrom - 1, 1e-4) << "a pan starts from the new place";
    send(QEvent::MouseButtonRelease, at + QPoint(50, 0), Qt::NoButton);

    QWheelEvent back(QPointF(at), QPointF(window->viewPanel()->mapToGlobal(at)), QPoint(),
                     QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->viewPanel(), &back);
    EXPECT_NEAR(window->camera().Z, z, 1e-3) << "back out by the same notches";
}

TEST_F(DesktopShellWithRoom, TheStatusBarNamesTheSectorUnderThePointer) {
    TEditorRoom& room = project->Room(1);
    room.GameSector(SectorNumber(3, 4, 6)).RoomBelow = 1; // a link to room 2 (not there yet)
    Hover(window->viewPanel(), SectorPoint(3, 4));
    const QString expected("Room 1 \"Room #1\" | column 3, row 4 | floor 0, ceiling 12 clicks | "
                           "shapes: floor 0, ceiling 0 | links below: room 2");
    EXPECT_TRUE(test::WaitUntil(
        [&] { return Find<QLabel>(*window, "pointerLabel")->text() == expected; }, WaitLimitMs))
        << Find<QLabel>(*window, "pointerLabel")->text().toStdString();
    Click(5, 2); // shape 1 at the height selector's level
    Hover(window->viewPanel(), SectorPoint(5, 2));
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return Find<QLabel>(*window, "pointerLabel")
                ->text()
                .contains("column 5, row 2 | floor 4, ceiling 12 clicks");
        },
        WaitLimitMs))
        << Find<QLabel>(*window, "pointerLabel")->text().toStdString();
    EXPECT_TRUE(window->statusBar()->isAncestorOf(Find<QLabel>(*window, "pointerLabel")));

    // Space still writes its own text beside it.
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(Find<QLabel>(*window, "statusLabel")->text(), " Column:5 Row:2");
}

// The box overlay (View menu, off at first) tints each open sector by its box, follows the edits
// without the limits panel, and names the box under the pointer in place of the sector's heights
// and links; off, the status bar says what it said before.
TEST_F(DesktopShellWithRoom, TheBoxOverlayTintsTheBoxesAndNamesTheOneUnderThePointer) {
    QAction* overlay = window->action("viewBoxOverlay");
    ASSERT_NE(overlay, nullptr);
    EXPECT_EQ(overlay->text(), "&Box Overlay");
    EXPECT_TRUE(overlay->isCheckable());
    EXPECT_FALSE(overlay->isChecked());
    EXPECT_TRUE(window->scene().Tints.empty());
    Find<QDockWidget>(*window, "limitsDock")->hide();
    QLabel* pointer = Find<QLabel>(*window, "pointerLabel");
    const auto hover = [&](int x, int z, const QString& expected) {
        pointer->clear();
        Hover(window->viewPanel(), SectorPoint(x, z));
        EXPECT_TRUE(test::WaitUntil([&] { return pointer->text() == expected; }, WaitLimitMs))
            << pointer->text().toStdString();
    };
    const QString place("Room 1 \"Room #1\" | column 2, row 3");
    const QString sector(place + " | floor 0, ceiling 12 clicks | shapes: floor 0, ceiling 0 | "
                                 "no links");
    // Seen from above in the wireframe mode, the middle of a sector is black without a tint.
    const auto lightAt = [&](int x, int z) {
        const QPoint at = SectorPoint(x, z) * window->viewPanel()->devicePixelRatioF();
        const QColor c = window->viewPanel()->grabFramebuffer().pixelColor(at);
        return c.red() + c.green() + c.blue();
    };
    EXPECT_LT(lightAt(2, 3), 30);
    const auto tintOf = [&](int x, int z) {
        return window->scene().Tints.at(0).Colors.at(SectorNumber(x, z, 6) - 1);
    };

    overlay->trigger();
    ASSERT_EQ(window->scene().Tints.size(), 1u);
    EXPECT_EQ(window->scene().Tints[0].Room, 1);
    ASSERT_EQ(window->scene().Tints[0].Colors.size(), 36u);
    for (int x = 1; x <= 6; ++x) {
        for (int z = 1; z <= 6; ++z) {
            const bool open = x > 1 && x < 6 && z > 1 && z < 6;
            EXPECT_EQ(tintOf(x, z) != NoSectorTint, open) << x << ", " << z;
            EXPECT_TRUE(!open || tintOf(x, z) == tintOf(2, 2)) << "the open 4 x 4 is one box";
        }
    }
    EXPECT_GT(lightAt(2, 3), 90) << "the tint shows";
    hover(2, 3,
          place + " | Box 1: floor y 0 (0 clicks above the room's bottom), zones ground 1: 1, "
                  "ground 2: 1, fly: 1, 0 overlaps");

    // A block in the middle parts the floor into four boxes, tinted apart.
    QSignalSpy updated(window.get(), &MainWindow::limitsUpdated);
    QTest::keyClick(window.get(), Qt::Key_Up);
    Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(0))->click();
    Click(3, 3);
    ASSERT_TRUE(updated.wait(WaitLimitMs)) << "measured with the limits panel hidden";
    EXPECT_EQ(tintOf(3, 3), NoSectorTint);
    std::set<uint32_t> tints;
    for (int x = 2; x <= 5; ++x) {
        for (int z = 2; z <= 5; ++z) {
            tints.insert(tintOf(x, z));
        }
    }
    EXPECT_EQ(tints.size(), 5u) << "four boxes and the block";
    hover(2, 3,
          place + " | Box 1: floor y 0 (0 clicks above the room's bottom), zones ground 1: "
                  "1, ground 2: 1, fly: 1, 2 overlaps");

    overlay->trigger();
    EXPECT_TRUE(window->scene().Tints.empty());
    EXPECT_LT(lightAt(2, 3), 30);
    hover(2, 3, sector);
}

TEST_F(DesktopShellWithRoom, ADragEditsARectangleOfSectorsInOneStep) {
    QTest::keyClick(window.get(), Qt::Key_Up); // floors to level 1
    const int steps = window->undoStack()->count();
    auto press = [&](int x, int z, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint at = SectorPoint(x, z);
        Hover(window->viewPanel(), at);
        QTest::mousePress(window->viewPanel(), Qt::LeftButton, modifiers, at);
    };
    auto dragTo = [&](int x, int z, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint at = SectorPoint(x, z);
        QMouseEvent move(QEvent::MouseMove, at, window->viewPanel()->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(window->viewPanel(), &move);
    };
    auto release = [&](int x, int z, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseRelease(window->viewPanel(), Qt::LeftButton, modifiers, SectorPoint(x, z));
    };
    auto raised = [&] {
        std::set<std::pair<int, int>> sectors;
        for (int x = 2; x <= 5; ++x) {
            for (int z = 2; z <= 5; ++z) {
                if (project->Room(1).GameSector(SectorNumber(x, z, 6)).FloorHeight == 1) {
                    sectors.insert({x, z});
                }
            }
        }
        return sectors;
    };
    press(4, 4);
    dragTo(3, 4);
    dragTo(2, 3); // the rectangle follows the pointer
    EXPECT_EQ(window->sectorSelection().Sectors().size(), 6u);
    WaitForFrame();
    const QImage shown = window->viewPanel()->grabFramebuffer();
    auto yellowish = [&](QPoint p) {
        const QColor c = shown.pixelColor(p * window->viewPanel()->devicePixelRatioF());
        return c.red() > 60 && c.green() > 40 && c.blue() < 40;
    };
    EXPECT_TRUE(yellowish(SectorPoint(3, 3))) << "a chosen sector is drawn highlighted";
    EXPECT_FALSE(yellowish(SectorPoint(5, 5))) << "another is not";
    release(2, 3);

    const std::set<std::pair<int, int>> rectangle{{2, 3}, {2, 4}, {3, 3}, {3, 4}, {4, 3}, {4, 4}};
    EXPECT_EQ(raised(), rectangle);
    EXPECT_EQ(window->undoStack()->count(), steps + 1) << "the press and the drag are one step";
    EXPECT_EQ(window->action("undo")->text(), "&Undo Raise Floor");
    PressKey(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(raised().empty()) << "one undo takes the whole rectangle back";
    PressKey(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(raised(), rectangle);

    // Shift adds a rectangle (and turns the shapes, as a Shift-click does).
    Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(5))->click();
    press(5, 2, Qt::ShiftModifier);
    dragTo(5, 5, Qt::ShiftModifier);
    release(5, 5, Qt::ShiftModifier);
    EXPECT_EQ(window->sectorSelection().Sectors().size(), 10u) << "6 chosen before and 4 added";
    EXPECT_EQ(project->Room(1).Sector(SectorNumber(5, 5, 6)).FloorShape, 11);
    EXPECT_EQ(window->undoStack()->count(), steps + 2);

    // A click without a drag is the click it always was, on one sector.
    Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(1))->click();
    QTest::keyClick(window.get(), Qt::Key_Up);
    press(2, 2);
    release(2, 2);
    EXPECT_TRUE(window->sectorSelection().Empty()) << "a plain press starts a new selection";
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(2, 2, 6)).FloorHeight, 2);
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(2, 3, 6)).FloorHeight, 1);
    EXPECT_EQ(window->undoStack()->count(), steps + 3);
}

TEST_F(DesktopShell, TheLimitsPanelColoursCountsAboveNinetyAndAHundredPercent) {
    const std::map<int, QLabel*> labels = {{89, window->limitsPanel()->roomVerticesLabel},
                                           {91, window->limitsPanel()->roomRectanglesLabel},
                                           {101, window->limitsPanel()->roomTrianglesLabel}};
    RoomUse use;
    auto at = [](int percent, long limit) {
        CapacityUse c;
        c.Limit = limit;
        c.Used = limit * percent / 100;
        c.Counted = true;
        return c;
    };
    use.Vertices = at(89, 2000);
    use.Rectangles = at(91, 3000);
    use.Triangles = at(101, 1250);
    window->limitsPanel()->showRoom(use);
    EXPECT_EQ(labels.at(89)->text(), "1780 / 2000 (89 %)");
    EXPECT_FALSE(labels.at(89)->autoFillBackground()) << "89 %: as the panel is";
    EXPECT_TRUE(labels.at(91)->autoFillBackground());
    EXPECT_EQ(labels.at(91)->palette().color(QPalette::Window), LimitsPanel::HighColor)
        << "91 %: amber";
    EXPECT_TRUE(labels.at(101)->autoFillBackground());
    EXPECT_EQ(labels.at(101)->palette().color(QPalette::Window), LimitsPanel::OverColor)
        << "101 %: red";
    // The colours show on screen.
    Find<QDockWidget>(*window, "limitsDock")->show();
    QTest::qWait(20);
    const QImage panel = window->limitsPanel()->grab().toImage();
    const QPoint red = labels.at(101)->geometry().topLeft() + QPoint(2, 2);
    EXPECT_EQ(panel.pixelColor(red * panel.devicePixelRatio()), LimitsPanel::OverColor);

    use.Triangles = at(50, 1250); // back under: the colour goes
    window->limitsPanel()->showRoom(use);
    EXPECT_FALSE(labels.at(101)->autoFillBackground());

    // Where the game's own engine holds less, its limit follows the count and the tip names it
    // and its source; past it the count is amber, well below the record's capacity.
    use.Vertices = at(80, 2000);
    AddEngineLimit(use.Vertices, FormatTR1, EngineMeasure::RoomVertices);
    for (int shown = 0; shown < 2; ++shown) { // shown again: the tip is not said twice
        window->limitsPanel()->showRoom(use);
    }
    QLabel* vertices = labels.at(89);
    EXPECT_EQ(vertices->text(), "1600 / 2000 (80 %), engine 1500");
    EXPECT_TRUE(vertices->autoFillBackground());
    EXPECT_EQ(vertices->palette().color(QPalette::Window), LimitsPanel::HighColor);
    EXPECT_TRUE(vertices->toolTip().startsWith(
        "The room's vertices against the 2000 a room holds. The first game's engine holds 1500 "
        "(source: http"))
        << vertices->toolTip().toStdString();
    EXPECT_EQ(vertices->toolTip().count("engine holds"), 1);
    use.Vertices = at(50, 2000); // a layout without a reported limit: the hint alone
    window->limitsPanel()->showRoom(use);
    EXPECT_EQ(vertices->toolTip(), "The room's vertices against the 2000 a room holds");
    EXPECT_FALSE(vertices->autoFillBackground());
}

// The base level's textures are held to its layout's engine, which the tip names with its
// source; the pages have no capacity of the record.
TEST_F(DesktopShell, TheLimitsPanelShowsTheBaseLevelsTexturesAgainstItsEngine) {
    ASSERT_NO_FATAL_FAILURE(OpenDemoProject());
    Find<QDockWidget>(*window, "limitsDock")->show();
    window->updateLimits();
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    const LimitsPanel& panel = *window->limitsPanel();
    EXPECT_EQ(panel.baseTexturePagesLabel->text(), QString("%1, engine 32").arg(base->NumTextiles));
    EXPECT_EQ(panel.baseObjectTexturesLabel->text(),
              QString::fromStdString(std::to_string(base->NumObjectTextures) + " / 3100 (" +
                                     std::to_string(base->NumObjectTextures * 100 / 3100) +
                                     " %), engine 2048"));
    EXPECT_TRUE(panel.baseSpriteTexturesLabel->text().endsWith(", engine 512"));
    EXPECT_EQ(panel.baseTexturePagesLabel->toolTip(),
              "The base level's 256 x 256 texture pages. The first game's engine holds 32 "
              "(source: https://github.com/LostArtefacts/TRX/blob/HEAD/docs/tr1/IMPROVEMENTS.md).");
}

TEST_F(DesktopShellWithRoom, TheLimitsPanelFollowsTheEdits) {
    QSignalSpy updated(window.get(), &MainWindow::limitsUpdated);
    window->updateLimits();
    ASSERT_TRUE(updated.wait(WaitLimitMs));
    LimitsPanel& panel = *window->limitsPanel();
    EXPECT_EQ(panel.levelBoxesLabel->text(), "1 / 5000 (0 %)") << "the 4 x 4 open sectors: one box";
    EXPECT_TRUE(panel.levelItemsLabel->text().endsWith(", engine 256"))
        << "every layout's engine holds 256 items: " << panel.levelItemsLabel->text().toStdString();
    const QString vertices = panel.roomVerticesLabel->text();
    QTest::keyClick(window.get(), Qt::Key_Up);
    Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(0))->click();
    Click(3, 3); // shape 0 above the lowest level: a solid block, no box
    EXPECT_NE(panel.roomVerticesLabel->text(), vertices) << "the room's part follows at once";
    ASSERT_TRUE(updated.wait(WaitLimitMs));
    EXPECT_EQ(panel.levelBoxesLabel->text(), "4 / 5000 (0 %)") << "the 15 around the block";
    EXPECT_TRUE(panel.levelFloorDataWordsLabel->text().endsWith("/ 20001 (1 %)"))
        << panel.levelFloorDataWordsLabel->text().toStdString();

    project->Room(1).GameSector(8).RoomBelow = 5; // a room the project does not have
    window->redraw();
    ASSERT_TRUE(updated.wait(WaitLimitMs));
    EXPECT_TRUE(panel.projectProblemLabel->isVisible());
    EXPECT_TRUE(panel.projectProblemLabel->text().contains("links to room 6"));
    EXPECT_EQ(panel.levelBoxesLabel->text(), "- / 5000");
}

TEST_F(DesktopShell, TheUsualKeysBesideTheEditorsOwn) {
    const std::map<QString, QList<QKeySequence>> expected = {
        {"newProject", {QKeySequence("Ctrl+N")}},
        {"openProject", {QKeySequence(Qt::Key_F3), QKeySequence("Ctrl+O")}},
        {"saveProject", {QKeySequence("Ctrl+S")}},
        {"saveProjectAs", {QKeySequence("Ctrl+Shift+S")}},
        {"buildLevel", {QKeySequence(Qt::Key_F10), QKeySequence(Qt::Key_F5)}},
        {"exit", {QKeySequence("Ctrl+Q")}},
    };
    for (const auto& [name, keys] : expected) {
        EXPECT_EQ(window->action(name)->shortcuts(), keys) << name.toStdString();
    }
    // No key does two things.
    std::map<QString, QString> owner;
    for (const QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            const auto [at, added] = owner.emplace(key.toString(), action->objectName());
            EXPECT_TRUE(added) << key.toString().toStdString() << " is taken by both "
                               << at->second.toStdString() << " and "
                               << action->objectName().toStdString();
        }
    }
    PressKey(window.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(services.FileDialogsShown.size(), 1u) << "Ctrl+O asks for a project";
    EXPECT_EQ(services.FileDialogsShown[0].description, "Morvane3D 's File  (*.MVN)");
    PressKey(window.get(), Qt::Key_F5, Qt::NoModifier);
    EXPECT_EQ(services.DialogsShown, (std::vector<QString>{"Build Level File"})) << "F5 builds";
}

TEST_F(DesktopShell, ShapeTipsShowThePictureAndTheKeysGuideEveryKey) {
    std::set<QString> tips;
    for (int shape = 0; shape <= 10; ++shape) {
        SCOPED_TRACE(shape);
        const QString tip =
            Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(shape))->toolTip();
        EXPECT_TRUE(tip.contains(QString("Shape %1: ").arg(shape)));
        const QRegularExpression picture("src=\"data:image/png;base64,([A-Za-z0-9+/=]+)\"");
        const QRegularExpressionMatch found = picture.match(tip);
        ASSERT_TRUE(found.hasMatch());
        const QImage image =
            QImage::fromData(QByteArray::fromBase64(found.captured(1).toLatin1()), "PNG");
        EXPECT_EQ(image.size(), QSize(40, 32)) << "the button's own picture";
        tips.insert(tip);
    }
    EXPECT_EQ(tips.size(), 11u) << "each shape says its own";

    const QString guide = keysGuideText();
    for (const char* kept : {"RIGHT MOUSE BUTTON", "Rotate de Room.", "CURSOR UP/DOWN  KEY",
                             "Make the Neighbor room  current.", "from that sector."}) {
        EXPECT_TRUE(guide.contains(kept)) << kept;
    }
    for (const QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts()) {
            const QString text = key.toString().toUpper();
            EXPECT_TRUE(guide.contains(text))
                << text.toStdString() << " (" << action->objectName().toStdString()
                << ") is missing from the keys guide";
        }
    }
    for (const char* mouse : {"MOUSE WHEEL", "DRAG", "SHIFT+DRAG", "CTRL+DRAG"}) {
        EXPECT_TRUE(guide.contains(mouse)) << mouse;
    }
}

// Pictures of the main window with its docks, for a person to look at.
TEST_F(DesktopShell, ScreenshotsOfTheMainWindow) {
    ASSERT_NO_FATAL_FAILURE(OpenDemoProject());
    window->resize(1280, 900);
    const std::string folder = std::string(MORVANE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    QSignalSpy updated(window.get(), &MainWindow::limitsUpdated);
    window->setRenderMode(RenderMode::Solid);
    window->viewport().SetRotation({30, -35, 0});
    window->redraw();
    ASSERT_TRUE(updated.wait(WaitLimitMs));
    Hover(window->viewPanel(), window->viewPanel()->rect().center());
    EXPECT_TRUE(test::WaitUntil(
        [&] { return !Find<QLabel>(*window, "pointerLabel")->text().isEmpty(); }, WaitLimitMs));
    WaitForFrame();
    EXPECT_TRUE(window->grab().save(QString::fromStdString(folder + "/main-window.png")));
    window->action("showTextures")->trigger();
    window->setRenderMode(RenderMode::Textured);
    WaitForFrame();
    EXPECT_TRUE(window->grab().save(QString::fromStdString(folder + "/main-window-textures.png")));
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

} // namespace
} // namespace morvane
