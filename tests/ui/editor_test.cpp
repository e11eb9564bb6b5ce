#include "ui/editor_fixtures.h"

#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/editor_texts.h"
#include "document/project_file.h"
#include "document/sector_numbering.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "ui/build_dialog.h"
#include "ui/room_dialog.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"
#include "view/window_position.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <set>

namespace morvane {
namespace {

TEST_F(Editor, StartsEmptyWithTheWindowsInPlace) {
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D ") << "the caption of a new project";
    EXPECT_EQ(Find<QLabel>(*window, "heightSelectorLabel")->text(), "1");
    EXPECT_EQ(Find<QLabel>(*window, "currentRoomLabel")->text(), "None");
    EXPECT_TRUE(window->toolBar()->isVisible()) << "the tool bar shows with the main window";
    EXPECT_EQ(window->toolBar()->windowTitle(), "Tools Bar");
    EXPECT_EQ(window->texturePicker()->windowTitle(), "TEXTURES");
    const QList<QAction*> file = Find<QMenu>(*window, "fileMenu")->actions();
    QStringList texts;
    for (const QAction* item : file) {
        texts << (item->isSeparator() ? "-" : item->text());
    }
    EXPECT_EQ(texts.join("|"), "&New|&Open|&Save|Save &As...|-|&Import Rooms from Level...|"
                               "Open &Base|Build &Level|Build and &Play|Play Co&mmand...|-|"
                               "&Exit|-");
    EXPECT_TRUE(file.back()->isSeparator()) << "no recent files: the menu ends with a separator";
    EXPECT_EQ(window->action("openProject")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->action("buildLevel")->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(window->action("addRoom")->shortcut(), QKeySequence("Shift+Ins"));
    EXPECT_EQ(window->action("cloneRoom")->shortcut(), QKeySequence("Ctrl+C"));
    EXPECT_EQ(window->action("showTextures")->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();

    window->action("keysGuide")->trigger();
    window->action("about")->trigger();
    EXPECT_EQ(services.DialogsShown, (std::vector<QString>{"Keys Guide", "About..."}));
    window->toolBar()->hide();
    window->action("showToolBar")->trigger();
    EXPECT_TRUE(window->toolBar()->isVisible());
    window->action("showTextures")->trigger();
    EXPECT_TRUE(window->texturePicker()->isVisible());
}

// The controls that the tests and the wiring find by name carry names of their role: none
// empty, none repeated within its window, none made of a word and a number (the recent files
// are numbered by their place in the list).
TEST_F(Editor, ControlsAreNamedForTheirRole) {
    const QRegularExpression memberName("^[a-z][A-Za-z0-9]*$");
    const QRegularExpression wordAndNumber("^[A-Za-z]+[0-9]+$");
    std::set<QString> seen;
    int checked = 0;
    auto check = [&](const QObject* object, const QString& scope) {
        const QString name = object->objectName();
        SCOPED_TRACE(
            (scope + " " + object->metaObject()->className() + " '" + name + "'").toStdString());
        EXPECT_TRUE(memberName.match(name).hasMatch());
        if (!name.startsWith("recentFile")) {
            EXPECT_FALSE(wordAndNumber.match(name).hasMatch());
        }
        EXPECT_TRUE(seen.insert(scope + "/" + name).second) << "named twice";
        ++checked;
    };
    for (const QAction* action : window->findChildren<QAction*>()) {
        if (!action->isSeparator() && action->menu() == nullptr) {
            check(action, "menus");
        }
    }
    // Widgets that Qt makes inside its own controls (the tab bar's arrows, a spin box's line
    // edit, the menu bar's extension and its untitled menu) are not ours to name.
    auto internal = [](const QWidget* widget) {
        const QWidget* parent = widget->parentWidget();
        const auto* menu = qobject_cast<const QMenu*>(widget);
        return widget->objectName().startsWith("qt_") || (menu && menu->title().isEmpty()) ||
               qobject_cast<const QTabBar*>(parent) ||
               qobject_cast<const QAbstractSpinBox*>(parent) ||
               qobject_cast<const QComboBox*>(parent);
    };
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control =
            qobject_cast<const QAbstractButton*>(widget) != nullptr ||
            qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
            qobject_cast<const QLineEdit*>(widget) != nullptr ||
            qobject_cast<const QAbstractItemView*>(widget) != nullptr ||
            qobject_cast<const QComboBox*>(widget) != nullptr ||
            qobject_cast<const QTabWidget*>(widget) != nullptr ||
            qobject_cast<const QPlainTextEdit*>(widget) != nullptr ||
            qobject_cast<const QScrollArea*>(widget) != nullptr ||
            qobject_cast<const QOpenGLWidget*>(widget) != nullptr || widget->isWindow() ||
            (qobject_cast<const QLabel*>(widget) != nullptr && !widget->objectName().isEmpty());
        if (control && !internal(widget)) {
            check(widget, widget->window()->objectName());
        }
    }
    EXPECT_GT(checked, 100) << "every window's controls were looked at";
}

TEST_F(Editor, AddRoomThroughTheMenuAndTheDialog) {
    services.DialogAnswers.push_back([](QDialog& dialog) {
        auto& form = static_cast<RoomDialog&>(dialog);
        EXPECT_EQ(form.nameField->text(), "Room #1");
        EXPECT_EQ(dialog.windowTitle(), "Add new Room");
        form.lengthField->setValue(8);
        form.widthField->setValue(5);
        return int(QDialog::Accepted);
    });
    window->action("addRoom")->trigger();
    ASSERT_EQ(project->RoomCount, 1);
    EXPECT_EQ(project->Room(1).ZSectors, 8);
    EXPECT_EQ(project->Room(1).XSectors, 5);
    EXPECT_EQ(Find<QLabel>(*window, "currentRoomLabel")->text(), "Room #1");
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->count(), 1);
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "roomXField")->value(), 100);

    window->action("addRoom")->trigger(); // cancelled: nothing changes
    EXPECT_EQ(project->RoomCount, 1);
    Find<QPushButton>(*window->toolBar(), "cloneRoomButton")->click(); // clone
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->count(), 2);
}

TEST_F(EditorWithRoom, ClicksInTheViewEditTheSectorUnderTheMouse) {
    Click(3, 3);
    EXPECT_EQ(Sector(3, 3).FloorShape, 1) << "the selected shape on the floor";
    Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(5))->click();
    Click(4, 3, Qt::ControlModifier);
    EXPECT_EQ(Sector(4, 3).CeilingShape, 5) << "Ctrl: the ceiling";
    Click(4, 4, Qt::ShiftModifier);
    EXPECT_EQ(Sector(4, 4).FloorShape, 11) << "Shift: the shape turned";
    Find<QSpinBox>(*window->toolBar(), "portalRoomField")->setValue(1);
    services.DialogAnswers.clear();
    // A view needs another room to show: add one, then come back to the first.
    services.DialogAnswers.push_back(AcceptRoom(4, 4));
    window->action("addRoom")->trigger();
    Find<QListWidget>(*window->toolBar(), "roomList")->setCurrentRow(0);
    emit Find<QListWidget>(*window->toolBar(), "roomList")
        ->itemClicked(Find<QListWidget>(*window->toolBar(), "roomList")->item(0));
    Find<QSpinBox>(*window->toolBar(), "portalRoomField")->setValue(2);
    Find<QPushButton>(*window->toolBar(), "addPortalViewButton")->click();
    ASSERT_EQ(project->Room(1).PortalViewCount, 1);
    window->viewport().SetRotation({90, 0, 0});
    window->redraw();
    Click(5, 2, Qt::AltModifier);
    EXPECT_EQ(project->Room(1).PortalView(1).OriginX, 5) << "Alt: the portal view's origin";
    EXPECT_EQ(project->Room(1).PortalView(1).OriginZ, 2);
}

TEST_F(EditorWithRoom, RefusalsShowTheirMessages) {
    Find<QSpinBox>(*window->toolBar(), "roomAboveField")
        ->setValue(1); // the current room above itself
    Click(3, 3);
    ASSERT_FALSE(services.Messages.empty());
    EXPECT_EQ(services.Messages.back(), " Invalid Room Above number ");
    Find<QSpinBox>(*window->toolBar(), "roomAboveField")->setValue(0);
    QTest::keyClick(window.get(), Qt::Key_Up);
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_EQ(Find<QLabel>(*window, "heightSelectorLabel")->text(), "3");
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_EQ(Find<QLabel>(*window, "heightSelectorLabel")->text(), "3")
        << "held to the room's height";
    Find<QToolButton>(*window->toolBar(), QString("shape%1Button").arg(1))->click();
    project->Room(1).GameSector(SectorNumber(3, 3, 6)).CeilingHeight = 2; // 2 + 1 + (3 - 2) > 3
    Click(3, 3);
    EXPECT_EQ(services.Messages.back(), " Invalid height!! ");
    Find<QSpinBox>(*window->toolBar(), "portalRoomField")->setValue(1);
    Find<QPushButton>(*window->toolBar(), "addPortalViewButton")->click();
    EXPECT_EQ(services.Messages.back(), "Invalid Portal View Room number!");
}

TEST_F(EditorWithRoom, SpaceReadsTheSectorBack) {
    TEditorSector& sector = project->Room(1).Sector(SectorNumber(2, 4, 6));
    sector.FloorSurface.Textures[2] = 6;
    sector.CeilingSurface.Textures[0] = -1;
    project->Room(1).GameSector(SectorNumber(2, 4, 6)).RoomBelow = 0;
    Hover(window->viewPanel(), SectorPoint(2, 4));
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(Find<QLabel>(*window, "statusLabel")->text(), " Column:2 Row:4");
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "roomBelowField")->value(), 1);
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "roomAboveField")->value(), 0);
}

TEST_F(EditorWithRoom, PropertiesWithAndWithoutRebuild) {
    project->Room(1).GameSector(SectorNumber(3, 3, 6)).FloorHeight = 2;
    services.DialogAnswers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Room Properties");
        auto& form = static_cast<RoomDialog&>(dialog);
        EXPECT_TRUE(form.rebuildBox->isVisibleTo(&form)) << "ReBuild is offered";
        form.nameField->setText("Hall");
        return int(QDialog::Accepted);
    });
    Find<QPushButton>(*window->toolBar(), "roomPropertiesButton")->click();
    EXPECT_EQ(project->Room(1).Name.Str(), "Hall");
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->item(0)->text(), "Hall");
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(3, 3, 6)).FloorHeight, 2);
    EXPECT_EQ(window->roomDialog()->windowTitle(), "Add New Room");

    services.DialogAnswers.push_back(AcceptRoom(7, 6));
    services.DialogAnswers.push_back([](QDialog& warning) {
        EXPECT_EQ(warning.windowTitle(), "WARNING !!!");
        return int(QDialog::Rejected);
    });
    Find<QPushButton>(*window->toolBar(), "roomPropertiesButton")->click();
    EXPECT_EQ(project->Room(1).ZSectors, 6) << "the rebuild was not confirmed";
    services.DialogAnswers.push_back(AcceptRoom(7, 6));
    services.DialogAnswers.push_back([](QDialog&) { return int(QDialog::Accepted); });
    Find<QPushButton>(*window->toolBar(), "roomPropertiesButton")->click();
    EXPECT_EQ(project->Room(1).ZSectors, 7);
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(3, 3, 7)).FloorHeight, 0);
}

TEST_F(EditorWithRoom, SaveNewOpenAndTheRecentFiles) {
    const QString first = QString::fromStdString(files.Path("one.mvn"));
    services.FileAnswers.push_back(first);
    window->action("saveProject")->trigger();
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + first);
    window->action("saveProject")->trigger(); // saved again without a dialog
    EXPECT_EQ(services.FileDialogsShown.size(), 1u);
    EXPECT_EQ(services.FileDialogsShown[0].description, "Morvane3D 's File  (*.MVN)");

    for (const char* name : {"two.mvn", "three.mvn"}) {
        services.FileAnswers.push_back(QString::fromStdString(files.Path(name)));
        window->action("saveProjectAs")->trigger();
    }
    window->action("newProject")->trigger();
    EXPECT_EQ(project->RoomCount, 0);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D ");
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->count(), 0);

    QAction* newest = window->action("recentFile1");
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->text(), "&1 " + QString::fromStdString(files.Path("three.mvn")));
    EXPECT_EQ(window->action("recentFile3")->text(), "&3 " + first);
    window->action("recentFile3")->trigger();
    EXPECT_EQ(project->RoomCount, 1);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + first);
    EXPECT_EQ(window->action("recentFile1")->text(), "&1 " + first)
        << "an opened file moves to the top";

    std::filesystem::remove(files.Path("two.mvn"));
    window->action("recentFile3")->trigger();
    EXPECT_EQ(services.Messages.back(), " File not Found! ");

    test::WriteFileBytes(files.Path("bad.mvn"), test::Bytes(40, 7));
    services.FileAnswers.push_back(QString::fromStdString(files.Path("bad.mvn")));
    window->action("openProject")->trigger();
    EXPECT_EQ(services.Messages.back(),
              QString::fromStdString("Project file \"" + files.Path("bad.mvn") +
                                     "\" refused: Error Opening the file!"));
    EXPECT_EQ(window->projectFileName(), first) << "the previous name stays";
    test::WriteFileBytes(files.Path("short.mvn"), {16, 'Q'});
    services.FileAnswers.push_back(QString::fromStdString(files.Path("short.mvn")));
    window->action("openProject")->trigger();
    EXPECT_EQ(services.Messages.back(),
              QString::fromStdString("Project file \"" + files.Path("short.mvn") +
                                     "\" refused: Read beyond end of file"))
        << "a file error is shown, the editor goes on";
    EXPECT_EQ(project->RoomCount, 1);
}

TEST_F(EditorWithRoom, BuildLevelThroughItsDialog) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR2);
    WriteLevelFile(*base, files.Path("base.tr2"));
    const std::string out = files.Path("built.tr2");
    services.DialogAnswers.push_back([&](QDialog& dialog) {
        auto& form = static_cast<BuildDialog&>(dialog);
        EXPECT_EQ(dialog.windowTitle(), "Build Level File");
        form.outputLevelField->setText("   ");
        form.buildLevelClicked();
        EXPECT_FALSE(form.result() == QDialog::Accepted)
            << "a blank file name keeps the dialog open";
        EXPECT_EQ(services.Messages, std::vector<QString>{EmptyOutputLevelText}) << "and says why";
        services.Messages.clear();
        form.baseLevelField->setText(QString::fromStdString(files.Path("base.tr2")));
        form.outputLevelField->setText(QString::fromStdString(out));
        return int(QDialog::Accepted);
    });
    window->action("buildLevel")->trigger();
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    auto built = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*built, out).Status, ReadStatus::Done);
    EXPECT_EQ(built->NumRooms, 1);
    EXPECT_EQ(built->Rooms[0].NumXSectors, 6);
    EXPECT_TRUE(window->scene().TexturesLoaded) << "the base level's textures were loaded";
}

TEST_F(Editor, TexturePickerHoverAndKeys) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("BASE.PHD"));
    services.FileAnswers.push_back(QString::fromStdString(files.Path("BASE.PHD")));
    window->action("openBaseLevel")->trigger();
    EXPECT_EQ(window->buildDialog()->baseLevelField->text().toStdString(), files.Path("BASE.PHD"));
    for (QSpinBox* field : {Find<QSpinBox>(*window->toolBar(), "floorTextureField"),
                            Find<QSpinBox>(*window->toolBar(), "ceilingWallsTextureField")}) {
        EXPECT_EQ(field->value(), 1) << "the first 64x64 texture";
    }
    TexturePicker* textures = window->texturePicker();
    textures->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(textures));
    QTest::keyClick(textures, Qt::Key_3);
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "ceilingTextureField")->value(), 1)
        << "no key before the mouse was over a strip";
    Hover(textures->stripViews[0], QPoint(30, 100));
    EXPECT_EQ(textures->windowTitle(), "TEXTURE# 2") << "100 div 96 + 1 is cell 2";
    QTest::keyClick(textures, Qt::Key_3);
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "ceilingTextureField")->value(), 2);
    Hover(textures->stripViews[2], QPoint(30, 30));
    EXPECT_EQ(textures->windowTitle(), "TEXTURA# 40") << "the second 64x16 texture";
    QTest::keyClick(textures, Qt::Key_1);
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "floorTextureField")->value(), 40);
    Find<QSpinBox>(*window->toolBar(), "floorWallsTextureField")->setValue(3000);
    EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "floorWallsTextureField")->value(),
              static_cast<int>(level->NumObjectTextures))
        << "a number beyond the level's textures is lowered";
}

// Each "Send to" command places the current room against the neighbour room on its own side.
TEST_F(EditorWithTwoRooms, SendToPlacesTheRoomAgainstTheNeighbour) {
    Find<QSpinBox>(*window->toolBar(), "neighbourRoomField")->setValue(2);
    struct Case {
        const char* command;
        int x, y, z;
    };
    const Case cases[] = {
        {"sendRoomToFront", 100, 32, 102}, {"sendRoomToBack", 100, 32, 96},
        {"sendRoomToLeft", 96, 32, 100},   {"sendRoomToRight", 102, 32, 100},
        {"sendRoomToDown", 100, 29, 100},  {"sendRoomToUp", 100, 35, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        window->action(c.command)->trigger();
        const TEditorRoom& room = project->Room(1);
        EXPECT_EQ(room.PosX, c.x);
        EXPECT_EQ(room.PosY, c.y);
        EXPECT_EQ(room.PosZ, c.z);
        EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "roomXField")->value(), c.x)
            << "the tool bar shows the place";
        EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "roomYField")->value(), c.y);
        EXPECT_EQ(Find<QSpinBox>(*window->toolBar(), "roomZField")->value(), c.z);
    }
    EXPECT_EQ(project->Room(2).PosX, 100) << "the neighbour stays";
    window->action("deleteRoom")->trigger();
    EXPECT_EQ(project->RoomCount, 1) << "the menu presses the tool bar's Delete";
}

TEST_F(EditorWithTwoRooms, ToolBarSettingsReachTheSceneAndTheRoom) {
    ToolBarWindow& t = *window->toolBar();
    Find<QRadioButton>(t, "solidModeButton")->click();
    EXPECT_EQ(window->scene().Mode, RenderMode::Solid);
    Find<QRadioButton>(t, "texturedModeButton")->click();
    EXPECT_EQ(window->scene().Mode, RenderMode::Textured);
    window->setRenderMode(RenderMode::Wireframe);
    EXPECT_TRUE(Find<QRadioButton>(t, "wireframeModeButton")->isChecked());
    EXPECT_EQ(window->scene().Mode, RenderMode::Wireframe);

    Find<QSpinBox>(t, "neighbourRoomField")->setValue(2);
    EXPECT_EQ(window->scene().NeighbourRoom, 2);
    Find<QCheckBox>(t, "currentRoomOnlyBox")->click();
    EXPECT_EQ(window->scene().NeighbourRoom, 0);
    Find<QSpinBox>(t, "neighbourRoomField")->setValue(1);
    EXPECT_EQ(window->scene().NeighbourRoom, 0) << "Current Only keeps the neighbour out";
    Find<QCheckBox>(t, "currentRoomOnlyBox")->click();
    EXPECT_EQ(window->scene().NeighbourRoom, 1) << "unchecked: the field's value";
    Find<QCheckBox>(t, "hidePortalsBox")->click();
    EXPECT_TRUE(window->scene().HidePortals);

    Find<QSpinBox>(t, "roomXField")->setValue(120);
    Find<QSpinBox>(t, "roomYField")->setValue(10);
    Find<QSpinBox>(t, "roomZField")->setValue(7);
    EXPECT_EQ(project->Room(1).PosX, 120);
    EXPECT_EQ(project->Room(1).PosY, 10);
    EXPECT_EQ(project->Room(1).PosZ, 7);
    EXPECT_EQ(project->Room(2).PosX, 100) << "only the current room moves";

    // "Room Side" is kept apart from "Room Above" and "Room Below", which go together.
    Find<QSpinBox>(t, "roomAboveField")->setValue(3);
    Find<QSpinBox>(t, "roomBelowField")->setValue(2);
    Find<QSpinBox>(t, "roomSideField")->setValue(5);
    EXPECT_EQ(Find<QSpinBox>(t, "roomAboveField")->value(), 0);
    EXPECT_EQ(Find<QSpinBox>(t, "roomBelowField")->value(), 0);
    Find<QSpinBox>(t, "roomAboveField")->setValue(3);
    EXPECT_EQ(Find<QSpinBox>(t, "roomSideField")->value(), 0);
    Find<QSpinBox>(t, "roomSideField")->setValue(4);
    Find<QSpinBox>(t, "roomBelowField")->setValue(2);
    EXPECT_EQ(Find<QSpinBox>(t, "roomSideField")->value(), 0);
    EXPECT_EQ(Find<QSpinBox>(t, "roomAboveField")->value(), 0);
    Find<QSpinBox>(t, "roomAboveField")->setValue(3);
    EXPECT_EQ(Find<QSpinBox>(t, "roomBelowField")->value(), 2) << "above and below may both be set";
    const SectorToolState tools = window->sectorToolState();
    EXPECT_EQ(tools.RoomAbove(), 3);
    EXPECT_EQ(tools.RoomBelow(), 2);
    EXPECT_EQ(tools.RoomSide(), 0);
}

TEST_F(EditorWithTwoRooms, PortalViewEditor) {
    ToolBarWindow& t = *window->toolBar();
    Find<QSpinBox>(t, "portalRoomField")->setValue(2);
    for (int width : {2, 3, 4}) {
        Find<QSpinBox>(t, "portalWidthField")->setValue(width);
        Find<QPushButton>(t, "addPortalViewButton")->click();
    }
    ASSERT_EQ(project->Room(1).PortalViewCount, 3);
    ASSERT_EQ(Find<QListWidget>(t, "portalViewList")->count(), 3);
    EXPECT_EQ(Find<QListWidget>(t, "portalViewList")->item(2)->text(), "Door #3");
    Find<QPushButton>(t, "deletePortalViewButton")->click();
    EXPECT_EQ(project->Room(1).PortalViewCount, 2);
    EXPECT_EQ(Find<QListWidget>(t, "portalViewList")->count(), 2);
    EXPECT_EQ(Find<QListWidget>(t, "portalViewList")->currentRow(), 1)
        << "the entry before the deleted one";

    Find<QListWidget>(t, "portalViewList")->setCurrentRow(0);
    emit Find<QListWidget>(t, "portalViewList")
        ->itemClicked(Find<QListWidget>(t, "portalViewList")->item(0));
    EXPECT_EQ(Find<QSpinBox>(t, "portalWidthField")->value(), 2)
        << "the first view shows in the fields";
    EXPECT_EQ(Find<QSpinBox>(t, "portalRoomField")->value(), 2);
    Find<QComboBox>(t, "portalFacingBox")->setCurrentIndex(4); // "Ceiling"
    Find<QSpinBox>(t, "portalHeightField")->setValue(5);
    Find<QPushButton>(t, "replacePortalViewButton")->click();
    EXPECT_EQ(project->Room(1).PortalView(1).Facing, 5);
    EXPECT_EQ(project->Room(1).PortalView(1).HeightTiles, 5);
    EXPECT_EQ(project->Room(1).PortalView(2).WidthTiles, 3) << "the other view stays";
    EXPECT_EQ(project->Room(1).PortalView(2).HeightTiles, 1);
}

// Pictures of the editor on the demo project in its three render modes.
TEST_F(Editor, ScreenshotsOfTheEditor) {
    ASSERT_NO_FATAL_FAILURE(OpenDemoProject());
    window->texturePicker()->show();
    const std::string folder = std::string(MORVANE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    const std::pair<RenderMode, const char*> modes[] = {{RenderMode::Wireframe, "wireframe"},
                                                        {RenderMode::Solid, "solid"},
                                                        {RenderMode::Textured, "textured"}};
    for (const auto& [mode, name] : modes) {
        window->setRenderMode(mode);
        window->viewport().SetRotation({30, -35, 0});
        window->redraw();
        WaitForFrame();
        const QImage main = window->grab().toImage();
        EXPECT_FALSE(main.isNull());
        EXPECT_TRUE(main.save(QString::fromStdString(folder + "/editor-" + name + ".png")));
        EXPECT_TRUE(
            window->toolBar()->grab().save(QString::fromStdString(folder + "/toolbar.png")));
        EXPECT_TRUE(
            window->texturePicker()->grab().save(QString::fromStdString(folder + "/textures.png")));
    }
    // The tool bar's other pages and the dialogs.
    for (int page = 1; page < 4; ++page) {
        Find<QTabWidget>(*window->toolBar(), "pages")->setCurrentIndex(page);
        EXPECT_TRUE(window->toolBar()->grab().save(
            QString::fromStdString(folder + "/toolbar-page" + std::to_string(page + 1) + ".png")));
    }
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{window->roomDialog(), window->buildDialog()}) {
        dialog->adjustSize();
        EXPECT_TRUE(dialog->grab().save(
            QString::fromStdString(folder + "/" + dialog->objectName().toStdString() + ".png")));
    }
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

} // namespace
} // namespace morvane
