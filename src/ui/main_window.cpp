#include "ui/main_window.h"

#include "document/editor_texts.h"
#include "io/io_error.h"
#include "level/level_models.h"
#include "ui/about_dialog.h"
#include "ui/build_dialog.h"
#include "ui/document_text.h"
#include "ui/gl_panel.h"
#include "ui/keys_guide.h"
#include "ui/object_tool.h"
#include "ui/play_command_dialog.h"
#include "ui/rebuild_warning_dialog.h"
#include "ui/room_dialog.h"
#include "ui/sector_tool.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"
#include "ui/trigger_tool.h"
#include "view/texture_upload.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLockFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>

namespace morvane {

namespace {

// The status bar names the sector under the pointer once the pointer rests this long (each name
// costs a pick of the scene_).
constexpr int PointerPause = 60;
// The whole project's use of the level is measured once the edits pause this long.
constexpr int ProjectLimitsPause = 250;

} // namespace

MainWindow::MainWindow(TEditorProject& project, TLevelData& level, UiServices& services,
                       std::string programFolder)
    : project_(project), level_(level), services_(services),
      programFolder_(std::move(programFolder)) {
    setObjectName("mainWindow");
    captionBase_ = CaptionNew; // the editor starts on a new project
    setWindowTitle(captionBase_);

    // The 3D view: viewport_, scene_ and camera_; picks only through the sector tools.
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* top = new QHBoxLayout();
    auto* heightBox = new QGroupBox("Height Selector", central);
    auto* heightLayout = new QHBoxLayout(heightBox);
    heightSelectorLabel_ = new QLabel("1", heightBox);
    heightSelectorLabel_->setObjectName("heightSelectorLabel");
    heightLayout->addWidget(heightSelectorLabel_);
    auto* roomBox = new QGroupBox("Current Room", central);
    auto* roomLayout = new QHBoxLayout(roomBox);
    currentRoomLabel_ = new QLabel("None", roomBox);
    currentRoomLabel_->setObjectName("currentRoomLabel");
    roomLayout->addWidget(currentRoomLabel_);
    heightBox->setFixedWidth(130);
    roomBox->setMinimumWidth(260);
    top->addWidget(heightBox);
    top->addWidget(roomBox);
    top->addStretch();
    layout->addLayout(top);
    viewPanel_ = new GLPanel(viewport_, central);
    layout->addWidget(viewPanel_, 1);
    setCentralWidget(central);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName("statusLabel");
    statusLabel_->setMinimumWidth(50);
    statusBar()->addWidget(statusLabel_);
    pointerLabel_ = new QLabel(this);
    pointerLabel_->setObjectName("pointerLabel");
    statusBar()->addPermanentWidget(pointerLabel_);

    ShowScene(viewport_, scene_);
    viewport_.SetCamera(&camera_);
    scene_.Mode = RenderMode::Wireframe;
    scene_.SolidTexture = SolidTextureName;
    scene_.Project = &project_;
    scene_.DrawnRoom = 1;
    scene_.NeighbourRoom = 0;
    scene_.HeightSelector = 0;
    project_.Clear();
    viewPanel_->setContextReady([this](bool attached, const std::string& problem) {
        if (!attached) {
            services_.showMessage(this, QString::fromStdString(problem));
            return;
        }
        const std::string message = LoadSolidTexture(programFolder_);
        if (!message.empty()) {
            services_.showMessage(this, QString::fromStdString(message));
        }
        if (texturesPending_) {
            loadTexturePicker();
        }
    });

    toolBar_ = new ToolBarWindow(this);
    roomDialog_ = new RoomDialog(this);
    rebuildWarningDialog_ = new RebuildWarningDialog(this);
    aboutDialog_ = new AboutDialog(this);
    keysGuideDialog_ = new KeysGuideDialog(this);
    buildDialog_ = new BuildDialog(services_, this);
    texturePicker_ = new TexturePicker(this);
    playCommandDialog_ = new PlayCommandDialog(this);

    pointerTimer_ = new QTimer(this);
    pointerTimer_->setObjectName("pointerTimer");
    pointerTimer_->setSingleShot(true);
    pointerTimer_->setInterval(PointerPause);
    connect(pointerTimer_, &QTimer::timeout, this, [this] { showWhatIsUnderPointer(); });
    projectLimitsTimer_ = new QTimer(this);
    projectLimitsTimer_->setObjectName("projectLimitsTimer");
    projectLimitsTimer_->setSingleShot(true);
    projectLimitsTimer_->setInterval(ProjectLimitsPause);
    connect(projectLimitsTimer_, &QTimer::timeout, this, [this] { updateProjectLimits(); });

    wireView();
    createDocks();
    createMenus();
    createMessagesDock();
    wireToolBar();
    loadRecentFiles();
    savedSettings_ = buildDialog_->settings();

    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setObjectName("recoveryTimer");
    recoveryTimer_->setInterval(DefaultRecoveryIntervalMs);
    connect(recoveryTimer_, &QTimer::timeout, this, [this] { saveRecoveryCopyQuietly(); });
    recoveryTimer_->start();
    setRecoveryFolder(defaultRecoveryFolder());
    restoreLayout();
    updateLimits();
}

MainWindow::~MainWindow() {
    // The history's last signals would reach windows already gone.
    disconnect(undoStack_, nullptr, this, nullptr);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

void MainWindow::runGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const IoError& e) {
        services_.showMessage(this, e.what());
    }
}

void MainWindow::createMenus() {
    auto add = [this](QMenu* menu, const char* name, const char* text, const QKeySequence& keys,
                      std::function<void()> command) {
        QAction* action = menu->addAction(text);
        action->setObjectName(name);
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
        }
        connect(action, &QAction::triggered, this, [this, command] { runGuarded(command); });
        return action;
    };
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->setObjectName("fileMenu");
    // The usual keys of a desktop program come after the editor's own, where they take no
    // key the editor already uses.
    auto alsoKeys = [](QAction* action, const QKeySequence& keys) {
        action->setShortcuts(action->shortcuts() << keys);
    };
    alsoKeys(add(fileMenu_, "newProject", "&New", {}, [this] { newProject(); }),
             QKeySequence("Ctrl+N"));
    alsoKeys(
        add(fileMenu_, "openProject", "&Open", QKeySequence(Qt::Key_F3), [this] { openProject(); }),
        QKeySequence("Ctrl+O"));
    add(fileMenu_, "saveProject", "&Save", QKeySequence("Ctrl+S"), [this] { saveProject(); });
    alsoKeys(add(fileMenu_, "saveProjectAs", "Save &As...", {}, [this] { saveProjectAs(); }),
             QKeySequence("Ctrl+Shift+S"));
    fileMenu_->addSeparator();
    add(fileMenu_, "importRooms", "&Import Rooms from Level...", {},
        [this] { importRoomsFromLevel(); });
    add(fileMenu_, "openBaseLevel", "Open &Base", QKeySequence("Ctrl+B"),
        [this] { openBaseLevel(); });
    alsoKeys(add(fileMenu_, "buildLevel", "Build &Level", QKeySequence(Qt::Key_F10),
                 [this] { buildLevel(); }),
             QKeySequence(Qt::Key_F5));
    add(fileMenu_, "buildAndPlay", "Build and &Play", QKeySequence(Qt::Key_F9),
        [this] { buildAndPlay(); });
    add(fileMenu_, "setPlayCommand", "Play Co&mmand...", {}, [this] { askPlayCommand(); });
    fileMenu_->addSeparator();
    alsoKeys(add(fileMenu_, "exit", "&Exit", {}, [this] { close(); }), QKeySequence("Ctrl+Q"));

    createEditMenu();
    editMenu_->addSeparator();
    createToolsMenu(editMenu_);
    menuBar()->addMenu(editMenu_);
    createViewMenu();
    menuBar()->addMenu(viewMenu_);

    // The room commands run what the tool bar's buttons run.
    QMenu* rooms = menuBar()->addMenu("&Rooms");
    rooms->setObjectName("roomsMenu");
    add(rooms, "addRoom", "&Add Room", QKeySequence("Shift+Ins"), [this] { addRoom(); });
    add(rooms, "editRoomProperties", "&Edit Properties", QKeySequence("Ctrl+Ins"),
        [this] { editRoomProperties(); });
    add(rooms, "deleteRoom", "&Delete Room", QKeySequence("Ctrl+Del"), [this] { deleteRoom(); });
    add(rooms, "cloneRoom", "&Clone Room", QKeySequence("Ctrl+C"), [this] { cloneRoom(); });
    add(rooms, "makeAlternateRoom", "Make Al&ternate Room", {}, [this] { makeAlternateRoom(); });
    rooms->addSeparator();
    struct SendCommand {
        const char* name;
        const char* text;
        SendDirection direction;
    };
    const SendCommand sends[] = {
        {"sendRoomToFront", "Send to &Front", SendDirection::Front},
        {"sendRoomToBack", "Send to &Back", SendDirection::Back},
        {"sendRoomToLeft", "Send to &Left", SendDirection::Left},
        {"sendRoomToRight", "Send to &Right", SendDirection::Right},
        {"sendRoomToDown", "Send to &Down", SendDirection::Down},
        {"sendRoomToUp", "Send to &Up", SendDirection::Up},
    };
    for (const SendCommand& send : sends) {
        const SendDirection direction = send.direction;
        add(rooms, send.name, send.text, {}, [this, direction] { sendRoomTo(direction); });
    }
    rooms->addSeparator();
    add(rooms, "makePortalViews", "Make &Portal Views", {},
        [this] { makePortalViews(PortalViewScope::CurrentRoom); });
    add(rooms, "makePortalViewsForAllRooms", "Make Portal Views for All R&ooms", {},
        [this] { makePortalViews(PortalViewScope::AllRooms); });
    rooms->addSeparator();
    add(rooms, "showToolBar", "&Show Tools bar", {}, [this] {
        toolBar_->show();
        toolBarDock_->show();
        toolBarDock_->raise();
    });
    QMenu* textures = menuBar()->addMenu("&Textures");
    textures->setObjectName("texturesMenu");
    add(textures, "showTextures", "&Show Textures", QKeySequence("Ctrl+T"), [this] {
        texturePicker_->show();
        texturesDock_->show();
        texturesDock_->raise();
    });
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("helpMenu");
    add(help, "keysGuide", "&Keys Guide", QKeySequence(Qt::Key_F1), [this] {
        services_.runModal(*keysGuideDialog_);
        viewport_.Paint();
    });
    add(help, "about", "&About...", {}, [this] {
        services_.runModal(*aboutDialog_);
        viewport_.Paint();
    });
}

// Closing the main window ends the program: its tool windows go with it. Unsaved changes are
// saved or discarded first, or the window stays.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (!maybeSaveChanges()) {
        event->ignore();
        return;
    }
    discardRecoveryCopy();
    saveLayout();
    QMainWindow::closeEvent(event);
}

void MainWindow::redraw() {
    showObjects(); // the objects and triggers may have changed with the document
    showTriggers();
    showTints();
    viewport_.Redraw();
    updateLimits();
    if (viewPanel_->underMouse()) {
        pointerTimer_->start(); // what is under the pointer may have changed
    }
}

void MainWindow::applyOutcome(const DocumentOutcome& outcome) {
    if (!outcome.Message.empty()) { // the document's messages may name its rooms
        services_.showMessage(this, fromDocumentText(outcome.Message));
    }
    if (outcome.ToolBar) {
        refreshToolBar(*outcome.ToolBar);
    }
    if (outcome.PortalList) {
        toolBar_->showPortalList(*outcome.PortalList);
    }
    if (outcome.NeighbourField) {
        toolBar_->setNeighbourRoom(*outcome.NeighbourField);
    }
    if (outcome.FrameRoom) {
        scene_.FrameCurrentRoom();
        viewport_.FitToFigure(scene_);
        viewport_.CenterCamera();
    }
    if (outcome.Redraw || outcome.FrameRoom) {
        redraw();
    }
}

void MainWindow::refreshToolBar(const ToolBarView& view) {
    toolBar_->showDocument(view);
    currentRoomLabel_->setText(fromDocumentText(view.CurrentRoomLabel));
}

} // namespace morvane
