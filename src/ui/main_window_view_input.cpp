// The 3D view's mouse and keys: the edit click (and Alt-click for a portal view's origin), the
// height selector on the Up and Down keys, and Space to read the sector under the mouse back
// into the tool bar.
#include "ui/main_window.h"

#include "document/edit_names.h"
#include "document/sector_status.h"
#include "ui/document_text.h"
#include "ui/tool_bar_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>

namespace morvane {

SectorToolState MainWindow::sectorToolState() const {
    const ToolBarWindow* t = toolBar;
    SectorToolState tools;
    tools.SelectedShape = t->selectedShape;
    tools.ShapeMirror = t->shapeMirror;
    tools.ReplicationCount = t->replicationCountField->value();
    tools.PutShapes = t->putShapesBox->isChecked();
    tools.PutTextures = t->putTexturesBox->isChecked();
    tools.PutPortals = t->putPortalsBox->isChecked();
    tools.FloorTexture = t->floorTextureField->value();
    tools.FloorWalls = t->floorWallsTextureField->value();
    tools.CeilingTexture = t->ceilingTextureField->value();
    tools.CeilingWalls = t->ceilingWallsTextureField->value();
    tools.SetRoomAbove(t->roomAboveField->value());
    tools.SetRoomSide(t->roomSideField->value());
    tools.SetRoomBelow(t->roomBelowField->value());
    return tools;
}

namespace {

bool IsSectorOf(const TEditorProject& project, int picked) {
    return project.HasCurrentRoom() && picked >= 1 && picked <= project.Current().SectorCount() &&
           picked <= MaxSectors;
}

} // namespace

void MainWindow::viewMouseDown(ShiftState shift, int, int) {
    if (!shift.Left) {
        return;
    }
    viewport.Pick();
    const int picked = viewport.PickedName;
    if (shift.Alt) {
        const int selected = toolBar->portalViewList->currentRow() + 1;
        edit(EditNames::PlacePortalView,
             [&] { return PortalOriginClick(project_, picked, selected); });
        return;
    }
    const SectorToolState tools = sectorToolState();
    const bool ceiling = shift.Ctrl;
    // A press on a sector may begin a drag over more: the press's edit and the drag's are one
    // step. A plain press starts a new selection, Shift adds to it.
    drag_ = DragGesture{};
    if (IsSectorOf(project_, picked)) {
        drag_ = {true, false, picked, picked, ceiling, shift.Shift, nextGestureMerge_++};
        selection.Begin(project_.CurrentRoom, shift.Shift);
    }
    // Named by what the click did; a click on the neighbour room only changes the current room
    // and leaves no step.
    auto name = [this, ceiling](const DocumentSnapshot& before) {
        const TEditorRoom* room = before.RoomBefore(project_.CurrentRoom);
        return room != nullptr ? SectorEditName(*room, project_.Current(), ceiling)
                               : std::string(EditNames::PlaceFloorShape);
    };
    DocumentOutcome clicked;
    edit(
        name,
        [&] {
            clicked = EditClick(project_, scene, tools, picked, ceiling, shift.Shift);
            return clicked;
        },
        RoomScope::CurrentAndNext, drag_.MergeId);
    if (!clicked.Message.empty()) {
        drag_ = DragGesture{}; // refused: no drag goes on from it
    }
}

void MainWindow::viewMouseMove(ShiftState shift, int, int) {
    if (!drag_.Active || !shift.Left) {
        pointerTimer_->start();
        return;
    }
    viewport.Pick();
    const int picked = viewport.PickedName;
    if (!IsSectorOf(project_, picked) || picked == drag_.Last) {
        return;
    }
    drag_.Last = picked;
    drag_.Dragged = true;
    selection.Span(project_.Current(), drag_.Anchor, picked);
    viewport.Paint(); // the selection is drawn over the scene: no new display list
    showWhatIsUnderPointer();
}

void MainWindow::viewMouseReleased(Qt::MouseButton button) {
    if (button != Qt::LeftButton || !drag_.Active) {
        return;
    }
    const DragGesture gesture = drag_;
    drag_ = DragGesture{};
    if (!gesture.Dragged || !project_.HasCurrentRoom() ||
        selection.Room() != project_.CurrentRoom) {
        return;
    }
    const SectorToolState tools = sectorToolState();
    const std::vector<int> sectors = selection.Sectors();
    auto name = [this, ceiling = gesture.Ctrl](const DocumentSnapshot& before) {
        const TEditorRoom* room = before.RoomBefore(project_.CurrentRoom);
        return room != nullptr ? SectorEditName(*room, project_.Current(), ceiling)
                               : std::string(EditNames::PlaceFloorShape);
    };
    edit(
        name,
        [&] { return EditSectors(project_, scene, tools, sectors, gesture.Ctrl, gesture.Shift); },
        RoomScope::CurrentAndNext, gesture.MergeId);
}

void MainWindow::showWhatIsUnderPointer() {
    if (!viewport.HasContext()) {
        return;
    }
    viewport.Pick();
    const std::string text = SectorStatusText(project_, scene.NeighbourRoom, viewport.PickedName);
    pointerLabel->setText(fromDocumentText(text)); // the room's name is single-byte text
}

void MainWindow::readSectorUnderMouse() {
    viewport.Pick();
    SectorToolState tools = sectorToolState();
    const ReadSectorOutcome read = ReadSector(project_, viewport.PickedName, tools);
    if (!read.Read) {
        return;
    }
    statusLabel->setText(QString::fromStdString(read.StatusText));
    ToolBarWindow* t = toolBar;
    t->floorTextureField->setValue(tools.FloorTexture);
    t->floorWallsTextureField->setValue(tools.FloorWalls);
    t->ceilingTextureField->setValue(tools.CeilingTexture);
    t->ceilingWallsTextureField->setValue(tools.CeilingWalls);
    t->roomAboveField->setValue(tools.RoomAbove());
    t->roomSideField->setValue(tools.RoomSide());
    t->roomBelowField->setValue(tools.RoomBelow());
}

void MainWindow::stepHeightSelector(int step) {
    scene.HeightSelector += step;
    redraw(); // the scene keeps the selector inside the drawn room
    ClampHeightSelector(scene, project_);
    heightSelectorLabel->setText(QString::number(scene.HeightSelector + 1));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        stepHeightSelector(1);
        break;
    case Qt::Key_Down:
        stepHeightSelector(-1);
        break;
    case Qt::Key_Space:
        readSectorUnderMouse();
        break;
    default:
        QMainWindow::keyPressEvent(event);
    }
}

} // namespace morvane
