#include "ui/ui_fixture.h"

#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/editor_texts.h"
#include "document/project_file.h"
#include "document/sector_numbering.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "ui/Unit3d_2.h"
#include "ui/Unit3d_3.h"
#include "ui/Unit3d_7.h"
#include "ui/unit3d_8.h"
#include "view/window_position.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

namespace morvane {
namespace {

using Editor = test::EditorFixture;

// The pointer moving over a widget, as the window system reports it.
void Hover(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Answers the "Add new Room" dialog with a size and accepts it.
std::function<int(QDialog&)> AcceptRoom(int length, int width, int height = 3) {
    return [=](QDialog& dialog) {
        auto& form = static_cast<TForm3&>(dialog);
        form.SpinEdit1->setValue(length);
        form.SpinEdit2->setValue(width);
        form.SpinEdit4->setValue(height);
        return int(QDialog::Accepted);
    };
}

struct EditorWithRoom : Editor {
    void SetUp() override {
        Editor::SetUp();
        services.DialogAnswers.push_back(AcceptRoom(6, 6));
        window->Action("AddRoom1")->trigger();
        // Looked at from straight above.
        window->Viewport.Rotate.X = 90;
        window->Redraw();
        WaitForFrame();
    }
    QPoint SectorPoint(int x, int z) {
        const TEditorRoom& room = project->Room(1);
        window->Panel1->MakeCurrent();
        auto [px, py] = test::WindowPosition(
            window->Viewport, window->Camera, window->Scene, window->Panel1->Width(),
            window->Panel1->Height(), room.PosX + x - 0.5, room.PosY, -(room.PosZ + z - 0.5));
        return QPoint(px, py);
    }
    void Click(int x, int z, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint at = SectorPoint(x, z);
        Hover(window->Panel1, at);
        QTest::mouseClick(window->Panel1, Qt::LeftButton, modifiers, at);
    }
    const TEditorSector& Sector(int x, int z) {
        return project->Room(1).Sector(SectorNumber(x, z, 6));
    }
};

TEST_F(Editor, StartsEmptyWithTheWindowsInPlace) {
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D");
    EXPECT_EQ(window->Label1->text(), "1");
    EXPECT_EQ(window->Label2->text(), "None");
    EXPECT_TRUE(window->ToolBar->isVisible()) << "the tool bar shows with the main window";
    EXPECT_EQ(window->ToolBar->windowTitle(), "Tools Bar");
    EXPECT_EQ(window->TexturesWindow->windowTitle(), "TEXTURES");
    const QList<QAction*> file = window->FileMenu->actions();
    ASSERT_GE(file.size(), 9);
    EXPECT_EQ(file[8]->text(), "&Exit");
    EXPECT_TRUE(file.back()->isSeparator()) << "no recent files: the menu ends with a separator";
    EXPECT_EQ(window->Action("Open1")->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->Action("BuildLevel1")->shortcut(), QKeySequence(Qt::Key_F10));
    EXPECT_EQ(window->Action("AddRoom1")->shortcut(), QKeySequence("Shift+Ins"));
    EXPECT_EQ(window->Action("CloneRoom1")->shortcut(), QKeySequence("Ctrl+C"));
    EXPECT_EQ(window->Action("ShowTextures1")->shortcut(), QKeySequence("Ctrl+T"));
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

TEST_F(Editor, AddRoomThroughTheMenuAndTheDialog) {
    services.DialogAnswers.push_back([](QDialog& dialog) {
        auto& form = static_cast<TForm3&>(dialog);
        EXPECT_EQ(form.Edit1->text(), "Room #1");
        EXPECT_EQ(dialog.windowTitle(), "Add new Room");
        form.SpinEdit1->setValue(8);
        form.SpinEdit2->setValue(5);
        return int(QDialog::Accepted);
    });
    window->Action("AddRoom1")->trigger();
    ASSERT_EQ(project->RoomCount, 1);
    EXPECT_EQ(project->Room(1).ZSectors, 8);
    EXPECT_EQ(project->Room(1).XSectors, 5);
    EXPECT_EQ(window->Label2->text(), "Room #1");
    EXPECT_EQ(window->ToolBar->ListBox2->count(), 1);
    EXPECT_EQ(window->ToolBar->SpinEdit5->value(), 100);

    window->Action("AddRoom1")->trigger(); // cancelled: nothing changes
    EXPECT_EQ(project->RoomCount, 1);
    window->ToolBar->SpeedButton22->click(); // clone
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(window->ToolBar->ListBox2->count(), 2);
}

TEST_F(EditorWithRoom, ClicksInTheViewEditTheSectorUnderTheMouse) {
    Click(3, 3);
    EXPECT_EQ(Sector(3, 3).FloorShape, 1) << "the selected shape on the floor";
    window->ToolBar->ShapeButton(5)->click();
    Click(4, 3, Qt::ControlModifier);
    EXPECT_EQ(Sector(4, 3).CeilingShape, 5) << "Ctrl: the ceiling";
    Click(4, 4, Qt::ShiftModifier);
    EXPECT_EQ(Sector(4, 4).FloorShape, 11) << "Shift: the shape turned";
    window->ToolBar->SpinEdit9->setValue(1);
    services.DialogAnswers.clear();
    // A view needs another room to show: add one, then come back to the first.
    services.DialogAnswers.push_back(AcceptRoom(4, 4));
    window->Action("AddRoom1")->trigger();
    window->ToolBar->ListBox2->setCurrentRow(0);
    emit window->ToolBar->ListBox2->itemClicked(window->ToolBar->ListBox2->item(0));
    window->ToolBar->SpinEdit9->setValue(2);
    window->ToolBar->Button1->click();
    ASSERT_EQ(project->Room(1).PortalViewCount, 1);
    window->Viewport.Rotate.X = 90;
    window->Redraw();
    Click(5, 2, Qt::AltModifier);
    EXPECT_EQ(project->Room(1).PortalView(1).OriginX, 5) << "Alt: the portal view's origin";
    EXPECT_EQ(project->Room(1).PortalView(1).OriginZ, 2);
}

TEST_F(EditorWithRoom, RefusalsShowTheirMessages) {
    window->ToolBar->SpinEdit13->setValue(1); // the current room above itself
    Click(3, 3);
    ASSERT_FALSE(services.Messages.empty());
    EXPECT_EQ(services.Messages.back(), " Invalid Room Above number ");
    window->ToolBar->SpinEdit13->setValue(0);
    QTest::keyClick(window.get(), Qt::Key_Up);
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_EQ(window->Label1->text(), "3");
    QTest::keyClick(window.get(), Qt::Key_Up);
    EXPECT_EQ(window->Label1->text(), "3") << "held to the room's height";
    window->ToolBar->ShapeButton(1)->click();
    project->Room(1).GameSector(SectorNumber(3, 3, 6)).CeilingHeight = 2; // 2 + 1 + (3 - 2) > 3
    Click(3, 3);
    EXPECT_EQ(services.Messages.back(), " Invalid height!! ");
    window->ToolBar->SpinEdit9->setValue(1);
    window->ToolBar->Button1->click();
    EXPECT_EQ(services.Messages.back(), "Invalid Portal View Room number!");
}

TEST_F(EditorWithRoom, SpaceReadsTheSectorBack) {
    TEditorSector& sector = project->Room(1).Sector(SectorNumber(2, 4, 6));
    sector.FloorSurface.Textures[2] = 6;
    sector.CeilingSurface.Textures[0] = -1;
    project->Room(1).GameSector(SectorNumber(2, 4, 6)).RoomBelow = 0;
    Hover(window->Panel1, SectorPoint(2, 4));
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->StatusPanel->text(), " Column:2 Row:4");
    EXPECT_EQ(window->ToolBar->SpinEdit15->value(), 1);
    EXPECT_EQ(window->ToolBar->SpinEdit13->value(), 0);
}

TEST_F(EditorWithRoom, PropertiesWithAndWithoutRebuild) {
    project->Room(1).GameSector(SectorNumber(3, 3, 6)).FloorHeight = 2;
    services.DialogAnswers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Edit Room Properties");
        auto& form = static_cast<TForm3&>(dialog);
        EXPECT_TRUE(form.CheckBox5->isVisibleTo(&form)) << "ReBuild is offered";
        form.Edit1->setText("Hall");
        return int(QDialog::Accepted);
    });
    window->ToolBar->SpeedButton20->click();
    EXPECT_EQ(project->Room(1).Name.Str(), "Hall");
    EXPECT_EQ(window->ToolBar->ListBox2->item(0)->text(), "Hall");
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(3, 3, 6)).FloorHeight, 2);
    EXPECT_EQ(window->AddRoomDialog->windowTitle(), "Add New Room");

    services.DialogAnswers.push_back(AcceptRoom(7, 6));
    services.DialogAnswers.push_back([](QDialog& warning) {
        EXPECT_EQ(warning.windowTitle(), "WARNING !!!");
        return int(QDialog::Rejected);
    });
    window->ToolBar->SpeedButton20->click();
    EXPECT_EQ(project->Room(1).ZSectors, 6) << "the rebuild was not confirmed";
    services.DialogAnswers.push_back(AcceptRoom(7, 6));
    services.DialogAnswers.push_back([](QDialog&) { return int(QDialog::Accepted); });
    window->ToolBar->SpeedButton20->click();
    EXPECT_EQ(project->Room(1).ZSectors, 7);
    EXPECT_EQ(project->Room(1).GameSector(SectorNumber(3, 3, 7)).FloorHeight, 0);
}

TEST_F(EditorWithRoom, SaveNewOpenAndTheRecentFiles) {
    const QString first = QString::fromStdString(files.Path("one.mvn"));
    services.FileAnswers.push_back(first);
    window->Action("Save1")->trigger();
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + first);
    window->Action("Save1")->trigger(); // saved again without a dialog
    EXPECT_EQ(services.FileDialogsShown.size(), 1u);
    EXPECT_EQ(services.FileDialogsShown[0].Description, "Morvane3D 's File  (*.MVN)");

    for (const char* name : {"two.mvn", "three.mvn"}) {
        services.FileAnswers.push_back(QString::fromStdString(files.Path(name)));
        window->Action("SaveAs1")->trigger();
    }
    window->Action("New1")->trigger();
    EXPECT_EQ(project->RoomCount, 0);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D ");
    EXPECT_EQ(window->ToolBar->ListBox2->count(), 0);

    QAction* newest = window->Action("Recent1");
    ASSERT_NE(newest, nullptr);
    EXPECT_EQ(newest->text(), "&1 " + QString::fromStdString(files.Path("three.mvn")));
    EXPECT_EQ(window->Action("Recent3")->text(), "&3 " + first);
    window->Action("Recent3")->trigger();
    EXPECT_EQ(project->RoomCount, 1);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + first);
    EXPECT_EQ(window->Action("Recent1")->text(), "&1 " + first)
        << "an opened file moves to the top";

    std::filesystem::remove(files.Path("two.mvn"));
    window->Action("Recent3")->trigger();
    EXPECT_EQ(services.Messages.back(), " File not Found! ");

    test::WriteFileBytes(files.Path("bad.mvn"), test::Bytes(40, 7));
    services.FileAnswers.push_back(QString::fromStdString(files.Path("bad.mvn")));
    window->Action("Open1")->trigger();
    EXPECT_EQ(services.Messages.back(),
              QString::fromStdString("Project file \"" + files.Path("bad.mvn") +
                                     "\" refused: Error Opening the file!"));
    EXPECT_EQ(window->FileName, first) << "the previous name stays";
    test::WriteFileBytes(files.Path("short.mvn"), {16, 'Q'});
    services.FileAnswers.push_back(QString::fromStdString(files.Path("short.mvn")));
    window->Action("Open1")->trigger();
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
        auto& form = static_cast<TForm7&>(dialog);
        EXPECT_EQ(dialog.windowTitle(), "Build Level File");
        form.Edit4->setText("   ");
        form.BuildLevelClicked();
        EXPECT_FALSE(form.result() == QDialog::Accepted)
            << "a blank file name keeps the dialog open";
        form.Edit3->setText(QString::fromStdString(files.Path("base.tr2")));
        form.Edit4->setText(QString::fromStdString(out));
        return int(QDialog::Accepted);
    });
    window->Action("BuildLevel1")->trigger();
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    auto built = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*built, out), LevelReadDone);
    EXPECT_EQ(built->NumRooms, 1);
    EXPECT_EQ(built->Rooms[0].NumXSectors, 6);
    EXPECT_TRUE(window->Scene.TexturesLoaded) << "the base level's textures were loaded";
}

TEST_F(Editor, TexturePickerHoverAndKeys) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("BASE.PHD"));
    services.FileAnswers.push_back(QString::fromStdString(files.Path("BASE.PHD")));
    window->Action("OpenBase1")->trigger();
    EXPECT_EQ(window->BuildDialog->Edit3->text().toStdString(), files.Path("BASE.PHD"));
    for (QSpinBox* field : {window->ToolBar->SpinEdit1, window->ToolBar->SpinEdit4}) {
        EXPECT_EQ(field->value(), 1) << "the first 64x64 texture";
    }
    TForm8* textures = window->TexturesWindow;
    textures->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(textures));
    QTest::keyClick(textures, Qt::Key_3);
    EXPECT_EQ(window->ToolBar->SpinEdit3->value(), 1) << "no key before the mouse was over a strip";
    Hover(textures->Strips[0], QPoint(30, 100));
    EXPECT_EQ(textures->windowTitle(), "TEXTURE# 2") << "100 div 96 + 1 is cell 2";
    QTest::keyClick(textures, Qt::Key_3);
    EXPECT_EQ(window->ToolBar->SpinEdit3->value(), 2);
    Hover(textures->Strips[2], QPoint(30, 30));
    EXPECT_EQ(textures->windowTitle(), "TEXTURA# 40") << "the second 64x16 texture";
    QTest::keyClick(textures, Qt::Key_1);
    EXPECT_EQ(window->ToolBar->SpinEdit1->value(), 40);
    window->ToolBar->SpinEdit2->setValue(3000);
    EXPECT_EQ(window->ToolBar->SpinEdit2->value(), static_cast<int>(level->NumObjectTextures))
        << "a number beyond the level's textures is lowered";
}

// Pictures of the editor on the demo project in its three render modes.
TEST_F(Editor, ScreenshotsOfTheEditor) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("DEMO.PHD"));
    auto demo = std::make_unique<TEditorProject>();
    demo::MakeDemoProject(*demo, files.Path("DEMO.PHD"), files.Path("BUILT.PHD"));
    WriteProjectFile(*demo, files.Path("demo.mvn"));
    window->OpenProjectFile(QString::fromStdString(files.Path("demo.mvn")));
    ASSERT_EQ(project->RoomCount, 3);
    window->ToolBar->SpinEdit11->setValue(2);
    window->TexturesWindow->show();
    const std::string folder = std::string(MORVANE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    const std::pair<uint8_t, const char*> modes[] = {
        {RenderWireframe, "wireframe"}, {RenderSolid, "solid"}, {RenderTextured, "textured"}};
    for (const auto& [mode, name] : modes) {
        window->SetRenderMode(mode);
        window->Viewport.Rotate = {30, -35, 0};
        window->Redraw();
        WaitForFrame();
        const QImage main = window->grab().toImage();
        EXPECT_FALSE(main.isNull());
        EXPECT_TRUE(main.save(QString::fromStdString(folder + "/editor-" + name + ".png")));
        EXPECT_TRUE(window->ToolBar->grab().save(QString::fromStdString(folder + "/toolbar.png")));
        EXPECT_TRUE(
            window->TexturesWindow->grab().save(QString::fromStdString(folder + "/textures.png")));
    }
    // The tool bar's other pages and the dialogs.
    for (int page = 1; page < 4; ++page) {
        window->ToolBar->PageControl1->setCurrentIndex(page);
        EXPECT_TRUE(window->ToolBar->grab().save(
            QString::fromStdString(folder + "/toolbar-page" + std::to_string(page + 1) + ".png")));
    }
    for (QWidget* dialog :
         std::initializer_list<QWidget*>{window->AddRoomDialog, window->BuildDialog}) {
        dialog->adjustSize();
        EXPECT_TRUE(dialog->grab().save(
            QString::fromStdString(folder + "/" + dialog->objectName().toStdString() + ".png")));
    }
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

} // namespace
} // namespace morvane
