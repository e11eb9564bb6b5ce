// The 3D view's mouse and keys, handed to the active tool (see view_input_router.h), and what the
// tools may ask of the window: the pick under the pointer, the one edit path, the tool bar's
// settings and the status bar.
#include "ui/main_window.h"

#include "document/sector_status.h"
#include "ui/document_text.h"
#include "ui/gl_panel.h"
#include "ui/object_tool.h"
#include "ui/objects_dock.h"
#include "ui/sector_tool.h"
#include "ui/tool_bar_window.h"
#include "ui/trigger_tool.h"
#include "ui/triggers_dock.h"
#include "ui/view_input_router.h"
#include "view/scene_geometry.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTimer>

namespace morvane {

void MainWindow::wireView() {
    sectorTool_ = std::make_unique<SectorTool>(static_cast<ViewToolHost&>(*this));
    objectTool_ = std::make_unique<ObjectTool>(static_cast<ViewToolHost&>(*this));
    triggerTool_ = std::make_unique<TriggerTool>(static_cast<ViewToolHost&>(*this));
    scene_.ObjectsPickable = false; // the sector tool's clicks reach the sectors under objects
    inputRouter_ = new ViewInputRouter(*this);
    viewPanel_->setInput(inputRouter_);
    viewport_.SetOverlay([this] { tool().drawOverlay(); });
}

void MainWindow::createToolsMenu(QMenu* menu) {
    auto* tools = new QActionGroup(this);
    QAction* sector = menu->addAction("&Sector Tool");
    sector->setObjectName("sectorTool");
    sector->setCheckable(true);
    sector->setChecked(true);
    sector->setShortcut(QKeySequence(Qt::Key_S));
    tools->addAction(sector);
    connect(sector, &QAction::triggered, this, [this] { setActiveTool(ToolKind::Sector); });
    QAction* object = menu->addAction("&Object Tool");
    object->setObjectName("objectTool");
    object->setCheckable(true);
    object->setShortcut(QKeySequence(Qt::Key_O));
    tools->addAction(object);
    connect(object, &QAction::triggered, this, [this] { setActiveTool(ToolKind::Object); });
    QAction* trigger = menu->addAction("&Trigger Tool");
    trigger->setObjectName("triggerTool");
    trigger->setCheckable(true);
    trigger->setShortcut(QKeySequence(Qt::Key_T));
    tools->addAction(trigger);
    connect(trigger, &QAction::triggered, this, [this] { setActiveTool(ToolKind::Trigger); });
}

void MainWindow::setActiveTool(ToolKind tool) {
    // The menu, its key and the tool bar show the same tool.
    action("sectorTool")->setChecked(tool == ToolKind::Sector);
    action("objectTool")->setChecked(tool == ToolKind::Object);
    action("triggerTool")->setChecked(tool == ToolKind::Trigger);
    toolBar_->setActiveTool(tool);
    if (tool == activeTool_) {
        return;
    }
    this->tool().cancel();
    activeTool_ = tool;
    scene_.ObjectsPickable = tool == ToolKind::Object; // the other tools edit through them
    triggersDock_->stopWaiting();
    if (tool != ToolKind::Object) {
        objectsDock_->stopPlacing();
    }
    // Each tool raises the dock it works with, in the tool bar's place.
    QDockWidget* dock = tool == ToolKind::Object    ? objectsDockWidget_
                        : tool == ToolKind::Trigger ? triggersDockWidget_
                                                    : toolBarDock_;
    dock->show();
    dock->raise();
    showTriggers();
    if (showTints()) { // the trigger tool tints the floors by their triggers' kinds
        viewport_.Redraw();
    }
    viewport_.Paint();
}

ViewTool& MainWindow::tool() {
    switch (activeTool_) {
    case ToolKind::Object:
        return *objectTool_;
    case ToolKind::Trigger:
        return *triggerTool_;
    case ToolKind::Sector:
        break;
    }
    return *sectorTool_;
}

const SectorSelection& MainWindow::sectorSelection() const {
    return sectorTool_->selection();
}

SectorToolState MainWindow::sectorToolState() const {
    return toolBar_->state().Sector;
}

ViewHit MainWindow::pickUnderPointer() {
    return HitOfPickName(viewport_.Pick());
}

DocumentOutcome MainWindow::runEdit(const EditName& name,
                                    const std::function<DocumentOutcome()>& operation,
                                    EditScope scope, int mergeId) {
    return edit(name, operation, scope, mergeId);
}

void MainWindow::showSectorToolState(const SectorToolState& tools) {
    toolBar_->showSectorSettings(tools);
}

int MainWindow::selectedPortalView() const {
    return toolBar_->state().SelectedPortalView;
}

void MainWindow::showStatus(const QString& text) {
    statusLabel_->setText(text);
}

void MainWindow::heightSelectorChanged() {
    redraw();
    heightSelectorLabel_->setText(QString::number(scene_.HeightSelector + 1));
}

void MainWindow::repaintView() {
    viewport_.Paint();
}

void MainWindow::showWhatIsUnderPointer() {
    if (!viewport_.HasContext()) {
        return;
    }
    // The room's name is single-byte text. With the box overlay, a sector's box takes the place
    // of its heights and links.
    const ViewHit hit = pickUnderPointer();
    const std::string box = activeTool_ == ToolKind::Trigger ? std::string() : boxUnderPointer(hit);
    pointerLabel_->setText(fromDocumentText(
        box.empty() ? tool().statusText(hit) : SectorPlaceText(project_, hit) + " | " + box));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    ViewTool& active = tool();
    if (active.takesKey(event->key(), event->modifiers())) {
        runGuarded([&] { active.keyPress(event->key(), event->modifiers()); });
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace morvane
