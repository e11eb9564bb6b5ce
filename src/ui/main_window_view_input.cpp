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
}

void MainWindow::setActiveTool(ToolKind tool) {
    // The menu, its key and the tool bar show the same tool.
    action("sectorTool")->setChecked(tool == ToolKind::Sector);
    action("objectTool")->setChecked(tool == ToolKind::Object);
    toolBar_->setActiveTool(tool);
    if (tool == activeTool_) {
        return;
    }
    this->tool().cancel();
    activeTool_ = tool;
    scene_.ObjectsPickable = tool == ToolKind::Object; // the sector tool edits through them
    if (tool == ToolKind::Object) {
        objectsDockWidget_->show();
        objectsDockWidget_->raise();
    } else {
        objectsDock_->stopPlacing();
        toolBarDock_->raise();
    }
    viewport_.Paint();
}

ViewTool& MainWindow::tool() {
    if (activeTool_ == ToolKind::Object) {
        return *objectTool_;
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
    const std::string box = boxUnderPointer(hit);
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
