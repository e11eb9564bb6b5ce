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
#include "view/tr_scene.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;

namespace morvane {

class GLPanel;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;

// The main window: the 3D view with its mouse and keys, the menus, the file dialogs and the
// recent files. It makes the other windows and gives the tool bar's controls their effects.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(TEditorProject& project, TLevelData& level, UiServices& services,
           std::string programFolder);
    ~TForm1() override;

    // The other windows, in the order they are made.
    TForm2* ToolBar;
    TForm3* AddRoomDialog;
    TForm4* WarningDialog;
    TForm5* AboutDialog;
    TForm6* KeysGuideDialog;
    TForm7* BuildDialog;
    TForm8* TexturesWindow;

    GLPanel* Panel1;
    QLabel* Label1; // the height selector, as H + 1
    QLabel* Label2; // the current room's name
    QLabel* StatusPanel;

    TGLViewport Viewport;
    TGLCamera Camera;
    tr_scene Scene;
    TScriptState Script;
    RecentFiles Recent;
    QString FileName;

    QAction* Action(const QString& objectName) const;
    QMenu* FileMenu;

    // Menu commands.
    void New1Click();
    void Open1Click();
    void OpenProjectFile(const QString& path);
    void Save1Click();
    void SaveAs1Click();
    void OpenBase1Click();
    void BuildLevel1Click();
    void OpenRecentFile(int index);
    void SetRenderMode(uint8_t mode);

    // Room manager buttons.
    void AddRoomClick();
    void PropertiesClick();
    void DeleteRoomClick();
    void CloneRoomClick();
    void SendTo(SendDirection direction);
    void CenterCameraClick();

    // The tool bar's settings for a click in the view.
    SectorToolState ToolState() const;
    // The view's mouse-down, run after the viewport's own handling of it.
    void Panel1MouseDown(ShiftState shift, int x, int y);
    void ReadSectorUnderMouse();
    void StepHeightSelector(int step);

    void LoadTexturePicker();
    void Redraw();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void WireToolBar();
    void ApplyOutcome(const DocumentOutcome& outcome);
    void RefreshToolBar(const ToolBarView& view);
    void RefreshRecentMenu();
    void RememberRecent(const QString& path);
    void ShowTexturePreview(int field);
    void Save(const QString& path);
    // Runs a command, showing a file error instead of letting it end the program.
    void Guard(const std::function<void()>& command);
    std::string RecentListPath() const;

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
