#include "ui/main_window.h"

#include "io/io_error.h"
#include "ui/about_dialog.h"
#include "ui/build_dialog.h"
#include "ui/document_text.h"
#include "ui/gl_panel.h"
#include "ui/keys_guide.h"
#include "ui/rebuild_warning_dialog.h"
#include "ui/room_dialog.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"
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

constexpr const char* InitialCaption = "Quillon's Morvane3D";
// The status bar names the sector under the pointer once the pointer rests this long (each name
// costs a pick of the scene).
constexpr int PointerPause = 60;
// The whole project's use of the level is measured once the edits pause this long.
constexpr int ProjectLimitsPause = 250;

} // namespace

MainWindow::MainWindow(TEditorProject& project, TLevelData& level, UiServices& services,
                       std::string programFolder)
    : project_(project), level_(level), services_(services),
      programFolder_(std::move(programFolder)) {
    setObjectName("mainWindow");
    captionBase_ = InitialCaption;
    setWindowTitle(captionBase_);

    // The 3D view: viewport, scene and camera; picks only through the sector tools.
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 0);
    auto* top = new QHBoxLayout();
    auto* heightBox = new QGroupBox("Height Selector", central);
    auto* heightLayout = new QHBoxLayout(heightBox);
    heightSelectorLabel = new QLabel("1", heightBox);
    heightSelectorLabel->setObjectName("heightSelectorLabel");
    heightLayout->addWidget(heightSelectorLabel);
    auto* roomBox = new QGroupBox("Current Room", central);
    auto* roomLayout = new QHBoxLayout(roomBox);
    currentRoomLabel = new QLabel("None", roomBox);
    currentRoomLabel->setObjectName("currentRoomLabel");
    roomLayout->addWidget(currentRoomLabel);
    heightBox->setFixedWidth(130);
    roomBox->setMinimumWidth(260);
    top->addWidget(heightBox);
    top->addWidget(roomBox);
    top->addStretch();
    layout->addLayout(top);
    viewPanel = new GLPanel(viewport, central);
    layout->addWidget(viewPanel, 1);
    setCentralWidget(central);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName("statusLabel");
    statusLabel->setMinimumWidth(50);
    statusBar()->addWidget(statusLabel);
    pointerLabel = new QLabel(this);
    pointerLabel->setObjectName("pointerLabel");
    statusBar()->addPermanentWidget(pointerLabel);

    ShowScene(viewport, scene);
    viewport.SetCamera(&camera);
    viewport.PickOnClickDisabled = true;
    viewport.PreviousMouseDown = [this](ShiftState shift, int x, int y) {
        runGuarded([&] { viewMouseDown(shift, x, y); });
    };
    viewport.PreviousMouseMove = [this](ShiftState shift, int x, int y) {
        viewMouseMove(shift, x, y);
    };
    viewPanel->onMouseReleased = [this](Qt::MouseButton button) {
        runGuarded([&] { viewMouseReleased(button); });
    };
    viewPanel->onPointerLeft = [this] {
        pointerTimer_->stop();
        pointerLabel->clear();
    };
    highlight.Project = &project_;
    highlight.Selection = &selection;
    viewport.OverlayCallback = [this] {
        highlight.DrawnRoom = scene.DrawnRoom;
        highlight.Position = scene.Position;
        highlight.Render();
    };
    scene.RenderMode = RenderWireframe;
    scene.SolidTexture = SolidTextureName;
    scene.Project = &project_;
    scene.DrawnRoom = 1;
    scene.NeighbourRoom = 0;
    scene.HeightSelector = 0;
    project_.Clear();
    viewPanel->onContextReady = [this](bool attached, const std::string& problem) {
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
    };

    toolBar = new ToolBarWindow(this);
    roomDialog = new RoomDialog(this);
    rebuildWarningDialog = new RebuildWarningDialog(this);
    aboutDialog = new AboutDialog(this);
    keysGuideDialog = new KeysGuideDialog(this);
    buildDialog = new BuildDialog(services_, this);
    texturePicker = new TexturePicker(this);

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

    createDocks();
    createMenus();
    wireToolBar();
    loadRecentFiles();
    savedSettings_ = buildDialog->settings();

    recoveryTimer = new QTimer(this);
    recoveryTimer->setObjectName("recoveryTimer");
    recoveryTimer->setInterval(DefaultRecoveryIntervalMs);
    connect(recoveryTimer, &QTimer::timeout, this, [this] { saveRecoveryCopyQuietly(); });
    recoveryTimer->start();
    setRecoveryFolder(defaultRecoveryFolder());
    restoreLayout();
    updateLimits();
}

MainWindow::~MainWindow() {
    // The history's last signals would reach windows already gone.
    disconnect(undoStack, nullptr, this, nullptr);
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
    fileMenu = menuBar()->addMenu("&File");
    fileMenu->setObjectName("fileMenu");
    // The usual keys of a desktop program come after the editor's own, where they take no
    // key the editor already uses.
    auto alsoKeys = [](QAction* action, const QKeySequence& keys) {
        action->setShortcuts(action->shortcuts() << keys);
    };
    alsoKeys(add(fileMenu, "newProject", "&New", {}, [this] { newProject(); }),
             QKeySequence("Ctrl+N"));
    alsoKeys(
        add(fileMenu, "openProject", "&Open", QKeySequence(Qt::Key_F3), [this] { openProject(); }),
        QKeySequence("Ctrl+O"));
    add(fileMenu, "saveProject", "&Save", QKeySequence("Ctrl+S"), [this] { saveProject(); });
    alsoKeys(add(fileMenu, "saveProjectAs", "Save &As...", {}, [this] { saveProjectAs(); }),
             QKeySequence("Ctrl+Shift+S"));
    fileMenu->addSeparator();
    add(fileMenu, "importRooms", "&Import Rooms from Level...", {},
        [this] { importRoomsFromLevel(); });
    add(fileMenu, "openBaseLevel", "Open &Base", QKeySequence("Ctrl+B"),
        [this] { openBaseLevel(); });
    alsoKeys(add(fileMenu, "buildLevel", "Build &Level", QKeySequence(Qt::Key_F10),
                 [this] { buildLevel(); }),
             QKeySequence(Qt::Key_F5));
    fileMenu->addSeparator();
    alsoKeys(add(fileMenu, "exit", "&Exit", {}, [this] { close(); }), QKeySequence("Ctrl+Q"));

    createEditMenu();
    menuBar()->addMenu(editMenu);
    createViewMenu();
    menuBar()->addMenu(viewMenu);

    // The room commands press the tool bar's buttons, so that both run the same wiring.
    QMenu* rooms = menuBar()->addMenu("&Rooms");
    rooms->setObjectName("roomsMenu");
    add(rooms, "addRoom", "&Add Room", QKeySequence("Shift+Ins"),
        [this] { toolBar->addRoomButton->click(); });
    add(rooms, "editRoomProperties", "&Edit Properties", QKeySequence("Ctrl+Ins"),
        [this] { toolBar->roomPropertiesButton->click(); });
    add(rooms, "deleteRoom", "&Delete Room", QKeySequence("Ctrl+Del"),
        [this] { toolBar->deleteRoomButton->click(); });
    add(rooms, "cloneRoom", "&Clone Room", QKeySequence("Ctrl+C"),
        [this] { toolBar->cloneRoomButton->click(); });
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
        toolBar->show();
        toolBarDock->show();
        toolBarDock->raise();
    });
    QMenu* textures = menuBar()->addMenu("&Textures");
    textures->setObjectName("texturesMenu");
    add(textures, "showTextures", "&Show Textures", QKeySequence("Ctrl+T"), [this] {
        texturePicker->show();
        texturesDock->show();
        texturesDock->raise();
    });
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("helpMenu");
    add(help, "keysGuide", "&Keys Guide", QKeySequence(Qt::Key_F1), [this] {
        services_.runModal(*keysGuideDialog);
        viewport.Paint();
    });
    add(help, "about", "&About...", {}, [this] {
        services_.runModal(*aboutDialog);
        viewport.Paint();
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
    viewport.Redraw();
    updateLimits();
    if (viewPanel->underMouse()) {
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
        toolBar->portalViewList->clear();
        for (const std::string& entry : outcome.PortalList->Entries) {
            toolBar->portalViewList->addItem(QString::fromStdString(entry));
        }
        toolBar->portalViewList->setCurrentRow(outcome.PortalList->Selected);
    }
    if (outcome.NeighbourField) {
        toolBar->neighbourRoomField->setValue(*outcome.NeighbourField);
    }
    if (outcome.FrameRoom) {
        scene.FrameCurrentRoom();
        viewport.FitToFigure(scene);
        viewport.CenterCamera();
    }
    if (outcome.Redraw || outcome.FrameRoom) {
        redraw();
    }
}

void MainWindow::refreshToolBar(const ToolBarView& view) {
    refreshing_ = true; // the position fields' handlers leave the document alone meanwhile
    ToolBarWindow* t = toolBar;
    t->roomList->clear();
    for (const std::string& name : view.RoomList) {
        t->roomList->addItem(fromDocumentText(name));
    }
    t->roomList->setCurrentRow(view.SelectedRoom);
    currentRoomLabel->setText(fromDocumentText(view.CurrentRoomLabel));
    t->roomXField->setValue(view.PosX);
    t->roomYField->setValue(view.PosY);
    t->roomZField->setValue(view.PosZ);
    t->portalViewList->clear();
    for (const std::string& entry : view.PortalViewList) {
        t->portalViewList->addItem(QString::fromStdString(entry));
    }
    t->portalViewList->setCurrentRow(view.SelectedPortalView);
    t->portalRoomField->setValue(view.PortalRoom);
    t->portalWidthField->setValue(view.PortalWidth);
    t->portalHeightField->setValue(view.PortalHeight);
    if (view.PortalFacingIndex) {
        t->portalFacingBox->setCurrentIndex(std::clamp(*view.PortalFacingIndex, 0, 5));
    }
    refreshing_ = false;
}

} // namespace morvane
