// The main window's layout: the tool bar, the texture picker and the limits panel as docks, the
// View menu that shows them again, the layout and render mode kept between runs in the user's
// settings, the limits panel's counts, and the box overlay drawn from the boxes they measure.
#include "ui/main_window.h"

#include "document/object_operations.h"
#include "level/level_format.h"
#include "levelbuild/box_overlay.h"
#include "levelbuild/level_usage.h"
#include "ui/gl_panel.h"
#include "ui/limits_panel.h"
#include "ui/objects_dock.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"
#include "ui/triggers_dock.h"
#include "ui/user_folders.h"
#include "ui/window_layout.h"

#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QTimer>

#include <algorithm>

namespace morvane {

namespace {

// The keys in the user's settings file.
constexpr const char* GeometryKey = "window/geometry";
constexpr const char* StateKey = "window/state";
constexpr const char* RenderModeKey = "view/renderMode";
// Changes when the docks change, so that an older layout is not applied to them.
constexpr int LayoutVersion = 2;

// Project room `room` in the measure's level, while it has the room's size: the measure ran
// before an edit that changed it otherwise, and its boxes are shown again once it runs again.
const TLevelRoom* MeasuredRoom(const TLevelData* measure, const TEditorProject& project, int room) {
    if (measure == nullptr || room < 1 || room > project.RoomCount || room > MaxRooms ||
        room > measure->NumRooms) {
        return nullptr;
    }
    const TLevelRoom& built = measure->Rooms[room - 1];
    const TEditorRoom& edited = project.Room(room);
    return built.NumXSectors == edited.XSectors && built.NumZSectors == edited.ZSectors ? &built
                                                                                        : nullptr;
}

// Room for the view beside the tool bar, on a screen of 1000 pixels or more.
constexpr QSize WantedWindowSize(1280, 900);
constexpr int FrameMargin = 40;

} // namespace

QRect initialWindowRect(const QSize& wanted, const QRect& available) {
    const QSize room(std::max(available.width() - FrameMargin, 320),
                     std::max(available.height() - FrameMargin, 240));
    const QSize size = wanted.boundedTo(room);
    QRect rect(QPoint(0, 0), size);
    rect.moveCenter(available.center());
    return rect;
}

void MainWindow::createDocks() {
    setDockNestingEnabled(true);
    auto dock = [this](const char* title, const char* name, QWidget* content) {
        auto* d = new QDockWidget(title, this);
        d->setObjectName(name);
        d->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                       QDockWidget::DockWidgetFloatable);
        d->setWidget(content);
        d->toggleViewAction()->setObjectName(QString(name) + "Toggle");
        addDockWidget(Qt::RightDockWidgetArea, d);
        return d;
    };
    toolBarDock_ = dock("Tools Bar", "toolBarDock", toolBar_);
    limitsPanel_ = new LimitsPanel(this);
    // Docks whose content is taller than the room they may get scroll, so that they never make
    // the window taller than the screen.
    auto scrolled = [this](const char* name, QWidget* content) {
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName(name);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(content);
        return scroll;
    };
    limitsDock_ = dock("Limits", "limitsDock", scrolled("limitsScroll", limitsPanel_));
    texturesDock_ = dock("TEXTURES", "texturesDock", texturePicker_);
    createObjectsDock();
    objectsDockWidget_ = dock("Objects", "objectsDock", scrolled("objectsScroll", objectsDock_));
    createTriggersDock();
    triggersDockWidget_ =
        dock("Triggers", "triggersDock", scrolled("triggersScroll", triggersDock_));
    // The picker shows the texture under the pointer in its title.
    connect(texturePicker_, &QWidget::windowTitleChanged, texturesDock_, &QWidget::setWindowTitle);
    // The picker shares its place with the limits panel, so that the docks fit a screen of
    // 1000 pixels; it is shown by "Show Textures".
    tabifyDockWidget(limitsDock_, texturesDock_);
    texturesDock_->hide();
    // The objects and triggers docks share the tool bar's place: each tool raises its own.
    tabifyDockWidget(toolBarDock_, objectsDockWidget_);
    objectsDockWidget_->hide();
    tabifyDockWidget(toolBarDock_, triggersDockWidget_);
    triggersDockWidget_->hide();
    connect(limitsDock_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) {
            updateLimits();
        }
    });
}

void MainWindow::createViewMenu() {
    viewMenu_ = new QMenu("&View", this);
    viewMenu_->setObjectName("viewMenu");
    // Each dock by its own name (the picker's title changes as the pointer moves over it).
    const struct {
        QDockWidget* dock;
        const char* name;
        const char* text;
    } docks[] = {{toolBarDock_, "viewToolBar", "&Tools Bar"},
                 {texturesDock_, "viewTextures", "T&extures"},
                 {limitsDock_, "viewLimits", "&Limits"},
                 {objectsDockWidget_, "viewObjects", "&Objects"}};
    for (const auto& d : docks) {
        QAction* action = viewMenu_->addAction(d.text);
        action->setObjectName(d.name);
        action->setCheckable(true);
        QDockWidget* dock = d.dock;
        QAction* toggle = dock->toggleViewAction();
        action->setChecked(toggle->isChecked());
        connect(toggle, &QAction::toggled, action, &QAction::setChecked);
        connect(action, &QAction::triggered, this, [dock](bool shown) {
            if (shown) {
                dock->widget()->show();
                dock->show();
                dock->raise();
            } else {
                dock->hide();
            }
        });
    }
    viewMenu_->addSeparator();
    QAction* center = viewMenu_->addAction("&Center Camera");
    center->setObjectName("viewCenterCamera");
    connect(center, &QAction::triggered, this, [this] { centerCamera(); });
    boxOverlayAction_ = viewMenu_->addAction("&Box Overlay");
    boxOverlayAction_->setObjectName("viewBoxOverlay");
    boxOverlayAction_->setCheckable(true);
    connect(boxOverlayAction_, &QAction::toggled, this, [this](bool shown) {
        if (shown) {
            updateProjectLimits(); // the boxes as they are now
        } else if (showTints()) {
            viewport_.Redraw();
        }
        if (viewPanel_->underMouse()) {
            pointerTimer_->start();
        }
    });
    flippedAction_ = viewMenu_->addAction("&Flipped");
    flippedAction_->setObjectName("viewFlipped");
    flippedAction_->setCheckable(true);
    connect(flippedAction_, &QAction::toggled, this, [this](bool on) {
        if (on != flipped_) {
            setFlipped(on);
        }
    });
}

void MainWindow::saveLayout() const {
    const std::unique_ptr<QSettings> settings = OpenUserSettings();
    settings->setValue(GeometryKey, saveGeometry());
    settings->setValue(StateKey, saveState(LayoutVersion));
    settings->setValue(RenderModeKey, static_cast<int>(scene_.Mode));
}

void MainWindow::restoreLayout() {
    const std::unique_ptr<QSettings> settings = OpenUserSettings();
    if (!restoreGeometry(settings->value(GeometryKey).toByteArray())) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect available =
            screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
        setGeometry(initialWindowRect(WantedWindowSize, available));
    }
    restoreState(settings->value(StateKey).toByteArray(), LayoutVersion);
    bool known = false;
    const int number = settings->value(RenderModeKey).toInt(&known);
    if (const std::optional<RenderMode> mode = RenderModeOfNumber(number); known && mode) {
        setRenderMode(*mode);
    }
}

void MainWindow::updateLimits() {
    if (!limitsDock_->isVisible()) {
        if (boxOverlayShown()) {
            projectLimitsTimer_->start(); // the overlay shows the measure's boxes
        }
        return; // measured when it shows again
    }
    // Without a base level the first game's capacities and engine hold.
    const int32_t layout = level_.FormatKind != 0 ? level_.FormatKind : FormatTR1;
    limitsPanel_->showRoom(
        MeasureRoom(project_, project_.CurrentRoom, level_.FormatKind >= FormatTR1, layout));
    int statics = 0, lights = 0;
    for (uint32_t i = 0; i < project_.Objects.Count; ++i) {
        const TEditorObject& object = project_.Objects.Objects[i];
        statics += object.Room == project_.CurrentRoom && object.Is(ObjectKind::Static);
        lights += object.Room == project_.CurrentRoom && object.Is(ObjectKind::Light);
    }
    const ObjectCounts counts = CountObjects(project_);
    auto use = [](long used, long limit) {
        CapacityUse counted;
        counted.Used = used;
        counted.Limit = limit;
        counted.Counted = true;
        return counted;
    };
    // Without her own object the build adds Lara.
    const int items = counts.Items + (LaraStartIndex(project_) < 0 ? 1 : 0);
    CapacityUse itemsUse = use(items, MaxObjectItems);
    AddEngineLimit(itemsUse, layout, EngineMeasure::Items);
    limitsPanel_->showObjects(use(statics, MaxObjectStaticsPerRoom),
                              use(lights, MaxObjectLightsPerRoom), itemsUse,
                              use(counts.Cameras, MaxObjectCameras));
    limitsPanel_->showBaseLevel(MeasureBaseLevel(level_));
    projectLimitsTimer_->start();
}

void MainWindow::updateProjectLimits() {
    if (!limitsLevel_) {
        limitsLevel_ = std::make_unique<TLevelData>();
    }
    // Without a base level the first game's capacities hold.
    const int32_t layout = level_.FormatKind != 0 ? level_.FormatKind : FormatTR1;
    const ProjectUse use = MeasureProject(project_, *limitsLevel_, layout, programFolder_);
    limitsPanel_->showProject(use);
    boxesMeasured_ = use.Problem.empty(); // else the build stopped before the boxes, or in them
    boxTints_ =
        boxesMeasured_ && boxOverlayShown() ? BoxTints(*limitsLevel_) : std::vector<uint32_t>{};
    if (showTints()) {
        viewport_.Redraw();
        if (viewPanel_->underMouse()) {
            pointerTimer_->start();
        }
    }
    emit limitsUpdated();
}

bool MainWindow::boxOverlayShown() const {
    return boxOverlayAction_ != nullptr && boxOverlayAction_->isChecked();
}

bool MainWindow::showTints() {
    std::vector<RoomTints> tints;
    if (activeTool_ == ToolKind::Trigger) {
        tints = triggerTints();
    } else if (boxOverlayShown() && boxesMeasured_) {
        for (const int room : {scene_.DrawnRoom, scene_.NeighbourRoom}) {
            const TLevelRoom* built = MeasuredRoom(limitsLevel_.get(), project_, room);
            if (built == nullptr || (!tints.empty() && tints.front().Room == room)) {
                continue;
            }
            RoomTints& drawn = tints.emplace_back();
            drawn.Room = room;
            for (const int box : RoomSectorBoxes(*limitsLevel_, room - 1)) {
                drawn.Colors.push_back(box >= 0 && box < static_cast<int>(boxTints_.size())
                                           ? boxTints_[box]
                                           : NoSectorTint);
            }
        }
    }
    if (tints == scene_.Tints) {
        return false;
    }
    scene_.Tints = std::move(tints);
    return true;
}

std::string MainWindow::boxUnderPointer(const ViewHit& hit) const {
    if (!boxOverlayShown() || !boxesMeasured_ || !hit.IsSector()) {
        return {};
    }
    const TLevelRoom* built = MeasuredRoom(limitsLevel_.get(), project_, project_.CurrentRoom);
    if (built == nullptr || hit.Sector < 1 ||
        hit.Sector > built->NumXSectors * built->NumZSectors) {
        return {};
    }
    return BoxStatusText(*limitsLevel_, project_.CurrentRoom - 1,
                         SectorBox(limitsLevel_->FormatKind, built->Sectors[hit.Sector - 1]));
}

} // namespace morvane
