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
#include "levelbuild/report_lines.h"
#include "script/script.h"
#include "ui/ui_services.h"
#include "ui/view_tool.h"
#include "view/gl_camera.h"
#include "view/gl_viewport.h"
#include "view/render_mode.h"
#include "view/room_scene.h"

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
class MessagesDock;
class PlayCommandDialog;
class ObjectTool;
class ObjectsDock;
class ModelLibrary;
class ViewLabels;
class RebuildWarningDialog;
class RoomDialog;
class SectorTool;
class TexturePicker;
class ToolBarWindow;
class TriggerTool;
class TriggersDock;
class ViewInputRouter;

// The main window: the 3D view with its mouse and keys, the menus, the file commands and the
// recent files. It makes the other windows and gives the tool bar's controls their effects.
// Its work is kept in one file per concern:
//   main_window.cpp              construction, menus, showing the outcome of an operation
//   main_window_edits.cpp        every change of the document as an undoable step; undo and
//                                redo; the modified marker in the caption
//   main_window_files.cpp        new, open, save, save as, recent files, open base, build,
//                                the question about unsaved changes
//   main_window_recovery.cpp     recovery copies of unsaved work and their offer at start
//   main_window_view_input.cpp   the view's mouse and keys handed to the active tool, and
//                                what the tools may ask of the window
//   main_window_textures.cpp     the level's textures in the picker, the view and the previews
//   main_window_layout.cpp       the docks, the View menu, the window's layout and render mode
//                                kept between runs, the limits panel
//   main_window_objects.cpp      the objects dock, the chosen object and its fields
//   main_window_messages.cpp     the messages dock: the builds' and imports' reports, and the
//                                places their lines name
//   main_window_play.cpp         build and play, and the play command's setting
//   tool_bar_wiring.cpp          the tool bar's controls to document operations
class MainWindow : public QMainWindow, private ViewToolHost {
    Q_OBJECT
public:
    MainWindow(TEditorProject& project, TLevelData& level, UiServices& services,
               std::string programFolder);
    ~MainWindow() override;

    // A menu command by its object name ("newProject", "saveProject", "undo", "addRoom", ...).
    // Controls are found by their object names (findChild); these give what is not a control.
    QAction* action(const QString& objectName) const;
    GLPanel* viewPanel() const { return viewPanel_; }
    ToolBarWindow* toolBar() const { return toolBar_; }
    TexturePicker* texturePicker() const { return texturePicker_; }
    BuildDialog* buildDialog() const { return buildDialog_; }
    RoomDialog* roomDialog() const { return roomDialog_; }
    LimitsPanel* limitsPanel() const { return limitsPanel_; }
    QUndoStack* undoStack() const { return undoStack_; }
    QTimer* recoveryTimer() const { return recoveryTimer_; }
    // The view: its scene, viewport and camera.
    const RoomScene& scene() const { return scene_; }
    RoomScene& scene() { return scene_; }
    TGLViewport& viewport() { return viewport_; }
    const TGLCamera& camera() const { return camera_; }
    // The sectors the sector tool's last drag chose.
    const SectorSelection& sectorSelection() const;
    // The project's file, empty until it is opened or saved.
    QString projectFileName() const { return projectFileName_; }

    // Edits (main_window_edits.cpp). Every operation that changes the document runs through
    // edit: the rooms in scope are taken before it, the operation runs, its outcome reaches the
    // windows, and what changed becomes one step of the history under the given name ("Add
    // Room" shows as "Undo Add Room"). An operation refused with a message is taken back whole
    // and leaves no step; one that changed nothing leaves none either. Steps with the same
    // merge id that change the same rooms one after another become one step. Returns the
    // operation's outcome.
    static constexpr int MoveRoomMerge = 1; // the tool bar's position fields
    DocumentOutcome edit(const EditName& name, const std::function<DocumentOutcome()>& operation,
                         EditScope scope = RoomScope::CurrentAndNext, int mergeId = -1);
    DocumentOutcome edit(const char* name, const std::function<DocumentOutcome()>& operation,
                         EditScope scope = RoomScope::CurrentAndNext, int mergeId = -1);
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
    // project was written (false when the dialog was cancelled, or a build setting the file
    // cannot store was reported); throws IoError.
    bool saveProject();
    void saveProjectAs();
    // With unsaved changes, asks whether to save them: true to go on (saved or discarded),
    // false to stay (cancelled, or the save failed and was reported).
    bool maybeSaveChanges();
    void openRecentFile(int index);
    void openBaseLevel();
    void buildLevel();
    // "Build and Play" (main_window_play.cpp): builds as Build Level does (its dialog only when
    // the level to write has no name) and, when the level was written, starts the play command
    // on it without waiting for it. Without a play command it says so and asks for one.
    void buildAndPlay();
    // The program line that plays a level, kept in the user's settings: "{level}" stands for the
    // level's path (PlayCommandWords). Empty until the user names one.
    QString playCommand() const;
    void setPlayCommand(const QString& command);
    // "Play Command...": the setting in its dialog; whether a command is set once it closes
    // accepted.
    bool askPlayCommand();
    // The Messages dock (main_window_messages.cpp): the reports of the builds and the imports.
    MessagesDock* messagesDock() const { return messagesDock_; }
    // A report line's place: its room made current, its sector chosen (the sector tool's
    // selection), its portal view chosen in the tool bar's list. A room the project does not
    // have is said in the status bar.
    void goToReportPlace(const ReportPlace& place);
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
    // "Make Alternate Room": a copy of the current room as its alternate, made current; one step.
    void makeAlternateRoom();
    // The View menu's "Flipped": the view shows each room's alternate in its place (a room
    // chosen in the list that has an alternate makes the alternate current; the neighbour is
    // drawn by its alternate).
    void setFlipped(bool flipped);
    bool flipped() const { return flipped_; }
    void sendRoomTo(SendDirection direction);
    // "Make Portal Views": the current room's views (and its neighbours' views toward it), or
    // every room's, made from the doorways; one step.
    void makePortalViews(PortalViewScope scope);
    void centerCamera();
    void setRenderMode(RenderMode mode);

    // The view's tools (main_window_view_input.cpp): the one whose mouse and keys the view
    // hands on, chosen from the Edit menu, its key or the tool bar.
    void setActiveTool(ToolKind tool);
    ToolKind activeTool() const { return activeTool_; }
    // The objects (main_window_objects.cpp): the one chosen in the view and the objects dock
    // (its index in the layer, -1 for none).
    int selectedObject() const override;
    void selectObject(int index) override;
    ObjectsDock* objectsDock() const { return objectsDock_; }
    // The triggers (main_window_triggers.cpp): the trigger tool's chosen sectors and their
    // trigger in the triggers dock.
    TriggersDock* triggersDock() const { return triggersDock_; }
    TriggerTool& triggerTool() { return *triggerTool_; }
    // The tool bar's settings for a click in the view.
    SectorToolState sectorToolState() const override;

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
    // The box overlay (View menu): the boxes of the project's last measure tint the drawn rooms'
    // floors, and the status bar names the box under the pointer.
    bool boxOverlayShown() const;

signals:
    void limitsUpdated();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class ViewInputRouter;

    void createMenus();
    void createMessagesDock();
    // A report on top of the Messages dock, the dock shown.
    void showReport(const QString& title, const std::vector<ReportLine>& lines);
    // A build's report: the dock, the status bar's line, and a short message when nothing was
    // written.
    void showBuildReport(const BuildResult& result);
    // Builds with the build dialog's settings and reports it; whether the level was written.
    bool buildWithDialogSettings();
    void createDocks();
    void createViewMenu();
    void createToolsMenu(QMenu* menu);
    void wireToolBar();
    void wireView();
    // Every document operation's outcome reaches the windows here: its message, the tool bar's
    // values, the portal-view list, the neighbour field, framing and redrawing the view.
    void applyOutcome(const DocumentOutcome& outcome);
    void refreshToolBar(const ToolBarView& view);
    void refreshRecentMenu();
    void loadRecentFiles();
    void rememberRecent(const QString& path);
    void showTexturePreview(int field);
    bool saveTo(const QString& path);
    // The same as edit in two parts, for an edit that spans several events (a dialog and its
    // warning): the outcomes along the way are shown by the caller.
    DocumentSnapshot beginEdit(EditScope scope = RoomScope::CurrentAndNext);
    void finishEdit(const DocumentSnapshot& before, const EditName& name,
                    const DocumentOutcome& outcome, int mergeId = -1);
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
    // The neighbour room the view draws, as the tool bar says.
    void showDrawnNeighbour();
    // The tints of the drawn rooms given to the scene: their triggers' kinds with the trigger
    // tool, else the box overlay's (none while it is off); whether they changed.
    bool showTints();
    // "Box 3: ..." for a sector of the current room while the overlay is on, else empty.
    std::string boxUnderPointer(const ViewHit& hit) const;

    // The objects (main_window_objects.cpp).
    void createObjectsDock();
    // The base level's types in the objects dock, and its models in the view.
    void showLevelObjectTypes();
    // The type numbers beside the markers in the view, after each frame.
    void showObjectLabels();
    // The current room's objects and the chosen one's fields in the dock, the choice in the view.
    void showObjects();

    // The triggers (main_window_triggers.cpp).
    void createTriggersDock();
    // The chosen sectors' trigger in the dock, with the items and cameras it may name.
    void showTriggers();
    // The drawn rooms' floors tinted by the kinds of their triggers (the trigger tool's view).
    std::vector<RoomTints> triggerTints() const;

    // The view's input (main_window_view_input.cpp).
    ViewTool& tool();
    // What the view shows under the pointer, in the status bar's right part.
    void showWhatIsUnderPointer() override;
    // ViewToolHost
    TEditorProject& document() override { return project_; }
    RoomScene& roomScene() override { return scene_; }
    ViewHit pickUnderPointer() override;
    DocumentOutcome runEdit(const EditName& name, const std::function<DocumentOutcome()>& operation,
                            EditScope scope, int mergeId) override;
    int newGestureMerge() override { return nextGestureMerge_++; }
    void showSectorToolState(const SectorToolState& tools) override;
    int selectedPortalView() const override;
    void showStatus(const QString& text) override;
    void heightSelectorChanged() override;
    void repaintView() override;
    std::optional<TEditorObject> objectToPlace() const override;
    std::optional<WorldPoint> pointerOnHeight(double worldY) override;
    std::string objectTypeLabel(const TEditorObject& object) const override;
    std::string objectListName(int index) const override;
    int32_t levelLayout() const override;
    void triggerSectorsChosen() override;
    bool waitsForTriggerTarget() const override;
    void triggerTargetPicked(int object) override;

    TEditorProject& project_;
    TLevelData& level_;
    UiServices& services_;
    std::string programFolder_;

    // The other windows, in the order they are made.
    ToolBarWindow* toolBar_;
    RoomDialog* roomDialog_;
    RebuildWarningDialog* rebuildWarningDialog_;
    AboutDialog* aboutDialog_;
    KeysGuideDialog* keysGuideDialog_;
    BuildDialog* buildDialog_;
    TexturePicker* texturePicker_;
    PlayCommandDialog* playCommandDialog_;

    GLPanel* viewPanel_;
    QLabel* heightSelectorLabel_; // the height selector, as H + 1
    QLabel* currentRoomLabel_;    // the current room's name
    QLabel* statusLabel_;         // the status bar's text: the sector read with Space, a build
    QLabel* pointerLabel_;        // the status bar's right part: what is under the pointer

    // The tool bar, the texture picker and the limits panel, docked beside the view.
    QDockWidget* toolBarDock_;
    QDockWidget* texturesDock_;
    QDockWidget* limitsDock_;
    QDockWidget* objectsDockWidget_;
    QDockWidget* messagesDockWidget_ = nullptr;
    MessagesDock* messagesDock_ = nullptr;
    ObjectsDock* objectsDock_;
    LimitsPanel* limitsPanel_;
    QMenu* viewMenu_;
    QMenu* fileMenu_;
    QMenu* editMenu_;

    TGLViewport viewport_;
    TGLCamera camera_;
    RoomScene scene_;
    TScriptState script_;
    RecentFiles recentFiles_;
    QString projectFileName_; // empty until the project is opened or saved

    // The history of the document's edits; its clean state is the saved document.
    QUndoStack* undoStack_;
    // Writes a recovery copy of unsaved work every few minutes.
    QTimer* recoveryTimer_;

    // The view's tools and the one that is active; the router hands them the view's input.
    std::unique_ptr<SectorTool> sectorTool_;
    std::unique_ptr<ObjectTool> objectTool_;
    std::unique_ptr<TriggerTool> triggerTool_;
    TriggersDock* triggersDock_ = nullptr;
    QDockWidget* triggersDockWidget_ = nullptr;
    int triggerChoice_ = 0; // counts the trigger tool's choices of sectors
    int selectedObject_ = -1;
    std::unique_ptr<ModelLibrary> models_; // the base level's models, drawn in the view
    ViewLabels* viewLabels_ = nullptr;
    ToolKind activeTool_ = ToolKind::Sector;
    ViewInputRouter* inputRouter_;

    QString captionBase_;
    BuildSettings savedSettings_; // the build dialog's settings as last saved or opened
    QString recoveryFolder_;
    QString recoveryCopyPath_;
    std::unique_ptr<QLockFile> recoveryLock_; // marks the copy as this running editor's
    int recoveryIndex_ = -1;                  // the history's place when the copy was written
    BuildSettings recoverySettings_;
    bool texturesPending_ = false;
    std::vector<int> playedPrograms_;       // the programs Build and Play started, until they end
    QTimer* playedProgramsTimer_ = nullptr; // looks for ended ones while there are any
    std::vector<QAction*> recentActions_;
    QAction* recentSeparator_ = nullptr;
    // The neighbour field when the edit under way began: its step puts it back on undo.
    int neighbourAtEditStart_ = 0;

    int nextGestureMerge_ = FirstGestureMerge;
    static constexpr int FirstGestureMerge = 1000;
    QTimer* pointerTimer_;
    QTimer* projectLimitsTimer_;
    std::unique_ptr<TLevelData> limitsLevel_; // the measure's own level record, made when needed
    QAction* boxOverlayAction_ = nullptr;
    QAction* flippedAction_ = nullptr;
    bool flipped_ = false;
    bool boxesMeasured_ = false;     // the measure's level holds the project's boxes
    std::vector<uint32_t> boxTints_; // of the measure's boxes
};

} // namespace morvane
