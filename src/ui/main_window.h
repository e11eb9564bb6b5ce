#pragma once

#include "document/document_change.h"
#include "document/doorways.h"
#include "document/project.h"
#include "document/project_file.h"
#include "document/recent_files.h"
#include "document/room_operations.h"
#include "document/sector_selection.h"
#include "document/sector_tools.h"
#include "level/level_data.h"
#include "script/script.h"
#include "ui/ui_services.h"
#include "view/gl_camera.h"
#include "view/gl_viewport.h"
#include "view/room_scene.h"
#include "view/sector_highlight.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QDockWidget;
class QLabel;
class QLockFile;
class QMenu;
class QTimer;
class QUndoStack;

namespace morvane {

class AboutDialog;
class BuildDialog;
class GLPanel;
class KeysGuideDialog;
class LimitsPanel;
class RebuildWarningDialog;
class RoomDialog;
class TexturePicker;
class ToolBarWindow;

// The main window: the 3D view with its mouse and keys, the menus, the file commands and the
// recent files. It makes the other windows and gives the tool bar's controls their effects.
// Its work is kept in one file per concern:
//   main_window.cpp              construction, menus, showing the outcome of an operation
//   main_window_edits.cpp        every change of the document as an undoable step; undo and
//                                redo; the modified marker in the caption
//   main_window_files.cpp        new, open, save, save as, recent files, open base, build,
//                                the question about unsaved changes
//   main_window_recovery.cpp     recovery copies of unsaved work and their offer at start
//   main_window_view_input.cpp   the view's mouse and keys: edit click, height selector,
//                                reading a sector back
//   main_window_textures.cpp     the level's textures in the picker, the view and the previews
//   main_window_layout.cpp       the docks, the View menu, the window's layout and render mode
//                                kept between runs, the limits panel
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
    QLabel* pointerLabel;        // the status bar's right part: the sector under the pointer

    // The tool bar, the texture picker and the limits panel, docked beside the view.
    QDockWidget* toolBarDock;
    QDockWidget* texturesDock;
    QDockWidget* limitsDock;
    LimitsPanel* limitsPanel;
    QMenu* viewMenu;

    TGLViewport viewport;
    TGLCamera camera;
    RoomScene scene;
    // The sectors a drag with the edit tool chose, drawn over the view.
    SectorSelection selection;
    SectorHighlight highlight;
    TScriptState script;
    RecentFiles recentFiles;
    QString projectFileName; // empty until the project is opened or saved

    // The history of the document's edits; its clean state is the saved document.
    QUndoStack* undoStack;
    // Writes a recovery copy of unsaved work every few minutes.
    QTimer* recoveryTimer;

    // A menu command by its object name ("newProject", "saveProject", "undo", "addRoom", ...).
    QAction* action(const QString& objectName) const;
    QMenu* fileMenu;
    QMenu* editMenu;

    // Edits (main_window_edits.cpp). Every operation that changes the document runs through
    // edit: the rooms in scope are taken before it, the operation runs, its outcome reaches the
    // windows, and what changed becomes one step of the history under the given name ("Add
    // Room" shows as "Undo Add Room"). An operation refused with a message is taken back whole
    // and leaves no step; one that changed nothing leaves none either. Steps with the same
    // merge id that change the same rooms one after another become one step.
    using EditName = std::function<std::string(const DocumentSnapshot& before)>;
    static constexpr int MoveRoomMerge = 1; // the tool bar's position fields
    void edit(const EditName& name, const std::function<DocumentOutcome()>& operation,
              RoomScope scope = RoomScope::CurrentAndNext, int mergeId = -1);
    void edit(const char* name, const std::function<DocumentOutcome()>& operation,
              RoomScope scope = RoomScope::CurrentAndNext, int mergeId = -1);
    // The same in two parts, for an edit that spans several events (a dialog and its warning,
    // a drag of the mouse): the outcomes along the way are shown by the caller.
    DocumentSnapshot beginEdit(RoomScope scope = RoomScope::CurrentAndNext) const;
    void finishEdit(const DocumentSnapshot& before, const EditName& name,
                    const DocumentOutcome& outcome, int mergeId = -1);
    // The windows shown again from the document: after an undo or a redo.
    void refreshFromDocument();
    // Unsaved changes: edits since the last save, or build settings changed in their dialog.
    bool isModified() const;

    // File commands (main_window_files.cpp).
    void newProject();
    void openProject();
    // Opens a project, all or nothing: on success the document, its name, the caption and the
    // history change together (a base level that cannot be read is reported and the project
    // stays open). A file that cannot be read is reported and nothing changes.
    bool openProjectFile(const QString& path);
    // Save: under the current name, asking for one when there is none. Returns whether the
    // project was written (false when the dialog was cancelled); throws IoError.
    bool saveProject();
    void saveProjectAs();
    // With unsaved changes, asks whether to save them: true to go on (saved or discarded),
    // false to stay (cancelled, or the save failed and was reported).
    bool maybeSaveChanges();
    void openRecentFile(int index);
    void openBaseLevel();
    void buildLevel();
    // The rooms of a level as a new, unsaved document, the level as its base level
    // (main_window_import.cpp). A level that is refused or gives no room changes nothing.
    void importRoomsFromLevel();

    // Recovery copies (main_window_recovery.cpp). The folder defaults to "recovery" in the
    // user's data folder; the interval is recoveryTimer's.
    static constexpr int DefaultRecoveryIntervalMs = 3 * 60 * 1000;
    static QString defaultRecoveryFolder();
    void setRecoveryFolder(const QString& folder);
    QString recoveryFolder() const { return recoveryFolder_; }
    // The copy of this editor's unsaved work, empty until one is written or recovered.
    QString recoveryCopyPath() const { return recoveryCopyPath_; }
    // Writes the copy when there are unsaved changes not yet in it; removes it when there are
    // none. Throws IoError.
    void saveRecoveryCopy();
    void discardRecoveryCopy();
    // At start: offers each copy left by an editor that did not close, newer than its project,
    // until one is opened; returns whether one was. A copy declined, or older than its
    // project, is removed.
    bool offerRecovery();

    // Room manager and view settings (tool_bar_wiring.cpp).
    void addRoom();
    void editRoomProperties();
    void deleteRoom();
    void cloneRoom();
    void sendRoomTo(SendDirection direction);
    // "Make Portal Views": the current room's views (and its neighbours' views toward it), or
    // every room's, made from the doorways; one step.
    void makePortalViews(PortalViewScope scope);
    void centerCamera();
    void setRenderMode(uint8_t mode);

    // The view's mouse and keys (main_window_view_input.cpp).
    // The tool bar's settings for a click in the view.
    SectorToolState sectorToolState() const;
    // The view's mouse-down, run after the viewport's own handling of it.
    void viewMouseDown(ShiftState shift, int x, int y);
    // The pointer moving over the view: a drag with the left button chooses the rectangle of
    // sectors from the one pressed to the one under the pointer (added to the earlier ones with
    // Shift); otherwise the status bar soon says what is under the pointer.
    void viewMouseMove(ShiftState shift, int x, int y);
    // The left button released after a drag: the press's tool on every chosen sector, one step
    // with the press's own edit.
    void viewMouseReleased(Qt::MouseButton button);
    // Picks and shows what is under the pointer in the status bar.
    void showWhatIsUnderPointer();
    void readSectorUnderMouse();
    void stepHeightSelector(int step);

    // The level's textures (main_window_textures.cpp): the picker's strips, the view's GL
    // textures, and the tool bar's texture fields set to the first texture.
    void loadTexturePicker();

    void redraw();

    // Layout (main_window_layout.cpp). The window's place and size, the docks and the render
    // mode, kept in the user's settings when the window closes and taken back at start; without
    // them the window fits the screen's free area.
    void saveLayout() const;
    void restoreLayout();
    // The limits panel shows the current room's use at once and the whole project's a little
    // later (several edits in a row are measured once); limitsUpdated follows the project's.
    void updateLimits();
    void updateProjectLimits();

signals:
    void limitsUpdated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createDocks();
    void createViewMenu();
    void wireToolBar();
    // Every document operation's outcome reaches the windows here: its message, the tool bar's
    // values, the portal-view list, the neighbour field, framing and redrawing the view.
    void applyOutcome(const DocumentOutcome& outcome);
    void refreshToolBar(const ToolBarView& view);
    void refreshRecentMenu();
    void loadRecentFiles();
    void rememberRecent(const QString& path);
    void showTexturePreview(int field);
    bool saveTo(const QString& path);
    // The document was replaced (New, Open) or written (Save): the history, the caption's base
    // text and the saved build settings start again from it.
    void documentReplaced(const QString& caption);
    void documentSaved(const QString& caption);
    void updateCaption();
    // Reads a project into the document and gives it a name (the file itself, or the project
    // a recovered copy belongs to).
    bool readProject(const QString& file, const QString& name);
    void readBaseLevelOf(const std::string& documentFileName);
    // The timer's copy: a copy that cannot be written is tried again at the next tick.
    void saveRecoveryCopyQuietly();
    void createEditMenu();
    // Runs a command, showing a file error instead of letting it end the program.
    void runGuarded(const std::function<void()>& command);
    std::string recentListPath() const;

    TEditorProject& project_;
    TLevelData& level_;
    UiServices& services_;
    std::string programFolder_;
    bool refreshing_ = false;
    QString captionBase_;
    BuildSettings savedSettings_; // the build dialog's settings as last saved or opened
    QString recoveryFolder_;
    QString recoveryCopyPath_;
    std::unique_ptr<QLockFile> recoveryLock_; // marks the copy as this running editor's
    int recoveryIndex_ = -1;                  // the history's place when the copy was written
    BuildSettings recoverySettings_;
    bool texturesPending_ = false;
    std::vector<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;

    // A press of the left button on a sector and the drag that may follow it. Its edits carry
    // a merge id of their own, so that the press and the drag are one step.
    struct DragGesture {
        bool Active = false;
        bool Dragged = false;
        int Anchor = 0; // the sector pressed
        int Last = 0;   // the sector under the pointer
        bool Ctrl = false;
        bool Shift = false;
        int MergeId = -1;
    };
    DragGesture drag_;
    int nextGestureMerge_ = FirstGestureMerge;
    static constexpr int FirstGestureMerge = 1000;
    QTimer* pointerTimer_;
    QTimer* projectLimitsTimer_;
    std::unique_ptr<TLevelData> limitsLevel_; // the measure's own level record, made when needed
};

} // namespace morvane
