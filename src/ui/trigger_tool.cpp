#include "ui/trigger_tool.h"

#include "document/edit_names.h"
#include "document/sector_numbering.h"
#include "document/sector_status.h"
#include "document/trigger_operations.h"
#include "document/trigger_text.h"
#include "view/room_scene.h"

namespace morvane {

namespace {

EditName Named(const char* name) {
    return [name](const DocumentSnapshot&) { return std::string(name); };
}

} // namespace

TriggerTool::TriggerTool(ViewToolHost& host) : host_(host) {
    highlight_.Project = &host_.document();
    highlight_.Selection = &selection_;
    links_.Project = &host_.document();
}

std::vector<TriggerSector> TriggerTool::chosenSectors() const {
    const TEditorProject& project = host_.document();
    std::vector<TriggerSector> sectors;
    const int room = selection_.Room();
    // A choice in another room than the current one is not offered to the edits.
    if (selection_.Empty() || room != project.CurrentRoom || room < 1 || room > project.RoomCount) {
        return sectors;
    }
    const int zSectors = project.Room(room).ZSectors;
    for (const int n : selection_.Sectors()) {
        if (n <= project.Room(room).SectorCount()) {
            sectors.push_back({room, SectorColumn(n, zSectors), SectorRow(n, zSectors)});
        }
    }
    return sectors;
}

std::optional<TEditorTrigger> TriggerTool::shownTrigger() const {
    const TEditorProject& project = host_.document();
    for (const TriggerSector& s : chosenSectors()) {
        if (const int index = TriggerAt(project, s.Room, s.Column, s.Row); index >= 0) {
            return project.Triggers.Triggers[index];
        }
    }
    return std::nullopt;
}

void TriggerTool::chooseSector(int sector) {
    TEditorProject& project = host_.document();
    if (!IsSectorOfCurrentRoom(host_.document(), ViewHit::OfSector(sector))) {
        return;
    }
    selection_.Begin(project.CurrentRoom, false);
    selection_.Span(project.Current(), sector, sector);
    host_.triggerSectorsChosen();
}

void TriggerTool::press(const ViewPointer& pointer) {
    TEditorProject& project = host_.document();
    const ViewHit hit = host_.pickUnderPointer();
    gesture_ = Gesture{};
    if (host_.waitsForTriggerTarget()) {
        if (hit.IsObject()) {
            host_.triggerTargetPicked(hit.Object);
        }
        return; // a click beside the objects leaves the chosen sectors as they are
    }
    if (!IsSectorOfCurrentRoom(host_.document(), hit)) {
        selection_.Clear();
        host_.triggerSectorsChosen();
        return;
    }
    gesture_ = {true, hit.Sector, hit.Sector};
    selection_.Begin(project.CurrentRoom, pointer.Keys.Shift);
    selection_.Span(project.Current(), hit.Sector, hit.Sector);
    host_.triggerSectorsChosen();
}

bool TriggerTool::drag(const ViewPointer&) {
    if (!gesture_.Active) {
        return false;
    }
    const ViewHit hit = host_.pickUnderPointer();
    if (!IsSectorOfCurrentRoom(host_.document(), hit) || hit.Sector == gesture_.Last) {
        return true;
    }
    gesture_.Last = hit.Sector;
    selection_.Span(host_.document().Current(), gesture_.Anchor, hit.Sector);
    host_.triggerSectorsChosen();
    host_.showWhatIsUnderPointer();
    return true;
}

void TriggerTool::release(const ViewPointer&) {
    gesture_ = Gesture{};
}

bool TriggerTool::takesKey(int key, Qt::KeyboardModifiers modifiers) const {
    return IsDeleteCopyOrPaste(key, modifiers);
}

void TriggerTool::keyPress(int key, Qt::KeyboardModifiers) {
    TEditorProject& project = host_.document();
    const std::vector<TriggerSector> sectors = chosenSectors();
    switch (key) {
    case Qt::Key_Delete:
        if (!sectors.empty()) {
            host_.runEdit(
                Named(EditNames::DeleteTrigger), [&] { return DeleteTriggers(project, sectors); },
                TriggersScope(), -1);
            host_.triggerSectorsChosen();
        }
        break;
    case Qt::Key_C:
        if (const auto trigger = shownTrigger()) {
            clipboard_ = trigger;
            host_.showStatus("Trigger copied");
        }
        break;
    case Qt::Key_V:
        if (clipboard_ && !sectors.empty()) {
            const int32_t layout = host_.levelLayout();
            host_.runEdit(
                Named(EditNames::PasteTrigger),
                [&] { return SetTriggers(project, layout, sectors, *clipboard_); }, TriggersScope(),
                -1);
            host_.triggerSectorsChosen();
        }
        break;
    default:
        break;
    }
}

std::string TriggerTool::statusText(const ViewHit& hit) const {
    const TEditorProject& project = host_.document();
    if (hit.IsObject()) {
        return host_.objectListName(hit.Object);
    }
    if (IsSectorOfCurrentRoom(host_.document(), hit)) {
        const int zSectors = project.Current().ZSectors;
        const int index =
            TriggerAt(project, project.CurrentRoom, SectorColumn(hit.Sector, zSectors),
                      SectorRow(hit.Sector, zSectors));
        if (index >= 0) {
            return TriggerStatusText(project.Triggers.Triggers[index],
                                     [this](int object) { return host_.objectListName(object); });
        }
    }
    return SectorStatusText(project, host_.roomScene().NeighbourRoom, hit);
}

void TriggerTool::drawOverlay() {
    const RoomScene& scene = host_.roomScene();
    highlight_.DrawnRoom = scene.DrawnRoom;
    highlight_.Position = scene.Position;
    highlight_.Render();
    links_.Room = 0;
    if (const auto trigger = shownTrigger(); trigger && trigger->Room == scene.DrawnRoom) {
        links_.Room = trigger->Room;
        links_.Column = trigger->Column;
        links_.Row = trigger->Row;
        links_.Objects = TriggerTargetObjects(host_.document(), *trigger);
    }
    links_.Position = scene.Position;
    links_.Render();
}

void TriggerTool::cancel() {
    gesture_ = Gesture{};
    selection_.Clear();
}

} // namespace morvane
