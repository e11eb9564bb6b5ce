#pragma once

#include "document/project.h"
#include "document/recent_files.h"
#include "document/room_operations.h"
#include "document/sector_tools.h"
#include "level/level_data.h"
#include "script/script.h"
#include "ui/ui_services.h"
#include "view/gl_camera.h"
#include "view/gl_viewport.h"
#include "view/room_scene.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;

namespace morvane {

class AboutDialog;
class BuildDialog;
class GLPanel;
class KeysGuideDialog;
class RebuildWarningDialog;
class RoomDialog;
class TexturePicker;
class ToolBarWindow;

// The main window: the 3D view with its mouse and keys, the menus, the file commands and the
// recent files. It makes the other windows and gives the tool bar's controls their effects.
// Its work is kept in one file per concern:
//   main_window.cpp              construction, menus, showing the outcome of an operation
//   main_window_files.cpp        new, open, save, save as, recent files, open base, build
//   main_window_view_input.cpp   the view's mouse and keys: edit click, height selector,
//                                reading a sector back
//   main_window_textures.cpp     the level's textures in the picker, the view and the previews
//   tool_bar_wiring.cpp          the tool bar's controls to document operations
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(TEditorProject& project, TLevelData& level, UiServices& services,
               std::string programFolder);
    ~MainWindow() override;

    // The other windows, in the order they are made.
    ToolBarWindow* toolBar;
    RoomDialog* roomDialog;
    RebuildWarningDialog* rebuildWarningDialog;
    AboutDialog* aboutDialog;
    KeysGuideDialog* keysGuideDialog;
    BuildDialog* buildDialog;
    TexturePicker* texturePicker;

    GLPanel* viewPanel;
    QLabel* heightSelectorLabel; // the height selector, as H + 1
    QLabel* currentRoomLabel;    // the current room's name
    QLabel* statusLabel;         // the status bar's text: the sector read with Space

    TGLViewport viewport;
    TGLCamera camera;
    RoomScene scene;
    TScriptState script;
    RecentFiles recentFiles;
    QString projectFileName; // empty until the project is opened or saved

    // A menu command by its object name ("newProject", "saveProject", "addRoom", ...).
    QAction* action(const QString& objectName) const;
    QMenu* fileMenu;

    // File commands (main_window_files.cpp).
    void newProject();
    void openProject();
    void openProjectFile(const QString& path);
    void saveProject();
    void saveProjectAs();
    void openRecentFile(int index);
    void openBaseLevel();
    void buildLevel();

    // Room manager and view settings (tool_bar_wiring.cpp).
    void addRoom();
    void editRoomProperties();
    void deleteRoom();
    void cloneRoom();
    void sendRoomTo(SendDirection direction);
    void centerCamera();
    void setRenderMode(uint8_t mode);

    // The view's mouse and keys (main_window_view_input.cpp).
    // The tool bar's settings for a click in the view.
    SectorToolState sectorToolState() const;
    // The view's mouse-down, run after the viewport's own handling of it.
    void viewMouseDown(ShiftState shift, int x, int y);
    void readSectorUnderMouse();
    void stepHeightSelector(int step);

    // The level's textures (main_window_textures.cpp): the picker's strips, the view's GL
    // textures, and the tool bar's texture fields set to the first texture.
    void loadTexturePicker();

    void redraw();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void wireToolBar();
    // Every document operation's outcome reaches the windows here: its message, the tool bar's
    // values, the portal-view list, the neighbour field, framing and redrawing the view.
    void applyOutcome(const DocumentOutcome& outcome);
    void refreshToolBar(const ToolBarView& view);
    void refreshRecentMenu();
    void rememberRecent(const QString& path);
    void showTexturePreview(int field);
    void saveTo(const QString& path);
    // Runs a command, showing a file error instead of letting it end the program.
    void runGuarded(const std::function<void()>& command);
    std::string recentListPath() const;

    TEditorProject& project_;
    TLevelData& level_;
    UiServices& services_;
    std::string programFolder_;
    bool refreshing_ = false;
    bool texturesPending_ = false;
    std::vector<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
};

} // namespace morvane
