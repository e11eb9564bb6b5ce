// The 3D view's mouse and keys: the edit click (and Alt-click for a portal view's origin), the
// height selector on the Up and Down keys, and Space to read the sector under the mouse back
// into the tool bar.
#include "ui/main_window.h"

#include "document/edit_names.h"
#include "ui/tool_bar_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

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
    // Named by what the click did; a click on the neighbour room only changes the current room
    // and leaves no step.
    auto name = [this, ceiling](const DocumentSnapshot& before) {
        const TEditorRoom* room = before.RoomBefore(project_.CurrentRoom);
        return room != nullptr ? SectorEditName(*room, project_.Current(), ceiling)
                               : std::string(EditNames::PlaceFloorShape);
    };
    edit(name, [&] { return EditClick(project_, scene, tools, picked, ceiling, shift.Shift); });
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
