#include "ui/sector_tool.h"

#include "document/edit_names.h"
#include "document/sector_status.h"
#include "view/room_scene.h"

namespace morvane {

SectorTool::SectorTool(ViewToolHost& host) : host_(host) {
    highlight_.Project = &host_.document();
    highlight_.Selection = &selection_;
}

EditName SectorTool::editName(bool ceiling) const {
    // Named by what the edit did; a click on the neighbour room only changes the current room
    // and leaves no step.
    return [this, ceiling](const DocumentSnapshot& before) {
        const TEditorProject& project = host_.document();
        const TEditorRoom* room = before.RoomBefore(project.CurrentRoom);
        return room != nullptr ? SectorEditName(*room, project.Current(), ceiling)
                               : std::string(EditNames::PlaceFloorShape);
    };
}

void SectorTool::press(const ViewPointer& pointer) {
    TEditorProject& project = host_.document();
    const ViewHit hit = host_.pickUnderPointer();
    if (pointer.Keys.Alt) {
        const int view = host_.selectedPortalView();
        host_.runEdit(
            [](const DocumentSnapshot&) { return std::string(EditNames::PlacePortalView); },
            [&] { return PortalOriginClick(project, hit, view); }, RoomScope::CurrentAndNext, -1);
        return;
    }
    const SectorToolState tools = host_.sectorToolState();
    const bool ceiling = pointer.Keys.Ctrl;
    const bool shift = pointer.Keys.Shift;
    // A press on a sector may begin a drag over more: the press's edit and the drag's are one
    // step. A plain press starts a new selection, Shift adds to it.
    gesture_ = Gesture{};
    if (IsSectorOfCurrentRoom(host_.document(), hit)) {
        gesture_ = {true, false, hit.Sector, hit.Sector, ceiling, shift, host_.newGestureMerge()};
        selection_.Begin(project.CurrentRoom, shift);
    }
    RoomScene& scene = host_.roomScene();
    const DocumentOutcome clicked = host_.runEdit(
        editName(ceiling), [&] { return EditClick(project, scene, tools, hit, ceiling, shift); },
        RoomScope::CurrentAndNext, gesture_.MergeId);
    if (clicked.Refused) {
        gesture_ = Gesture{}; // refused: no drag goes on from it
    }
}

bool SectorTool::drag(const ViewPointer&) {
    if (!gesture_.Active) {
        return false;
    }
    const ViewHit hit = host_.pickUnderPointer();
    if (!IsSectorOfCurrentRoom(host_.document(), hit) || hit.Sector == gesture_.Last) {
        return true;
    }
    gesture_.Last = hit.Sector;
    gesture_.Dragged = true;
    selection_.Span(host_.document().Current(), gesture_.Anchor, hit.Sector);
    host_.repaintView(); // the selection is drawn over the scene: no new display list
    host_.showWhatIsUnderPointer();
    return true;
}

void SectorTool::release(const ViewPointer&) {
    if (!gesture_.Active) {
        return;
    }
    const Gesture gesture = gesture_;
    gesture_ = Gesture{};
    TEditorProject& project = host_.document();
    if (!gesture.Dragged || !project.HasCurrentRoom() || selection_.Room() != project.CurrentRoom) {
        return;
    }
    const SectorToolState tools = host_.sectorToolState();
    const std::vector<int> sectors = selection_.Sectors();
    RoomScene& scene = host_.roomScene();
    host_.runEdit(
        editName(gesture.Ctrl),
        [&] { return EditSectors(project, scene, tools, sectors, gesture.Ctrl, gesture.Shift); },
        RoomScope::CurrentAndNext, gesture.MergeId);
}

bool SectorTool::wheel(const ViewPointer&, double) {
    return false; // the view zooms
}

bool SectorTool::takesKey(int key, Qt::KeyboardModifiers modifiers) const {
    const bool plain = (modifiers & ~Qt::KeypadModifier) == Qt::NoModifier;
    return plain && (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Space);
}

void SectorTool::keyPress(int key, Qt::KeyboardModifiers) {
    TEditorProject& project = host_.document();
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        StepHeightSelector(host_.roomScene(), project, key == Qt::Key_Up ? 1 : -1);
        host_.heightSelectorChanged();
        break;
    case Qt::Key_Space: {
        SectorToolState tools = host_.sectorToolState();
        const ReadSectorOutcome read = ReadSector(project, host_.pickUnderPointer(), tools);
        if (read.Read) {
            host_.showStatus(QString::fromStdString(read.StatusText));
            host_.showSectorToolState(tools);
        }
        break;
    }
    default:
        break;
    }
}

std::string SectorTool::statusText(const ViewHit& hit) const {
    return SectorStatusText(host_.document(), host_.roomScene().NeighbourRoom, hit);
}

void SectorTool::drawOverlay() {
    const RoomScene& scene = host_.roomScene();
    highlight_.DrawnRoom = scene.DrawnRoom;
    highlight_.Position = scene.Position;
    highlight_.Render();
}

void SectorTool::selectSector(int room, int sector) {
    const TEditorProject& project = host_.document();
    selection_.Clear();
    if (room >= 1 && room <= project.RoomCount && sector >= 1 &&
        sector <= project.Room(room).SectorCount()) {
        selection_.Begin(room, false);
        selection_.Span(project.Room(room), sector, sector);
    }
}

void SectorTool::cancel() {
    gesture_ = Gesture{};
    selection_.Clear();
}

} // namespace morvane
