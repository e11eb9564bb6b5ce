// The triggers in the windows: the triggers dock with the trigger of the sectors the trigger
// tool chose, its fields and actions edited as undoable steps, the kinds' tints on the drawn
// rooms' floors, and what the trigger tool asks of the window.
#include "ui/main_window.h"

#include "document/edit_names.h"
#include "document/object_operations.h"
#include "document/trigger_operations.h"
#include "document/trigger_text.h"
#include "ui/trigger_tool.h"
#include "ui/triggers_dock.h"

#include <array>

namespace morvane {

namespace {

// The dock's edits of one field become one step while the same sectors stay chosen.
constexpr int TriggerFieldsMerge = 600000;
constexpr int TriggerFieldsPerChoice = 8;

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

// A colour a kind, told apart on the floors' textures: Lara's own kinds warm, the heavy
// objects' cold, the switches' and keys' green.
constexpr std::array<uint32_t, LastTriggerKind + 1> KindTints = {
    Rgb(255, 64, 64),   // trigger
    Rgb(255, 160, 32),  // pad
    Rgb(48, 208, 64),   // switch
    Rgb(32, 224, 192),  // key
    Rgb(255, 240, 64),  // pickup
    Rgb(64, 96, 255),   // heavy
    Rgb(160, 96, 32),   // antipad
    Rgb(255, 32, 160),  // combat
    Rgb(160, 160, 160), // dummy
    Rgb(128, 32, 32),   // antitrigger
    Rgb(128, 64, 255),  // heavy switch
    Rgb(32, 48, 128),   // heavy antitrigger
    Rgb(192, 255, 128), // monkey
};

uint32_t TriggerKindTint(int kind) {
    return kind >= 0 && kind <= LastTriggerKind ? KindTints[kind] : NoSectorTint;
}

} // namespace

void MainWindow::createTriggersDock() {
    triggersDock_ = new TriggersDock(this);
    connect(triggersDock_, &TriggersDock::triggerEdited, this,
            [this](const TEditorTrigger& trigger, int field) {
                const std::vector<TriggerSector> sectors = triggerTool_->chosenSectors();
                if (sectors.empty()) {
                    return;
                }
                const int32_t layout = levelLayout();
                const int merge = field < 0 ? -1
                                            : TriggerFieldsMerge +
                                                  triggerChoice_ * TriggerFieldsPerChoice + field;
                edit(
                    EditNames::SetTrigger,
                    [&] { return SetTriggers(project_, layout, sectors, trigger); },
                    TriggersScope(), merge);
                showTriggers();
            });
    connect(triggersDock_, &TriggersDock::triggerRemoved, this, [this] {
        const std::vector<TriggerSector> sectors = triggerTool_->chosenSectors();
        edit(
            EditNames::DeleteTrigger, [&] { return DeleteTriggers(project_, sectors); },
            TriggersScope(), -1);
        showTriggers();
    });
    connect(triggersDock_, &TriggersDock::waitingChanged, this, [this](bool waiting) {
        // While a Pick button waits, the view's clicks reach the objects before the floor.
        scene_.ObjectsPickable = activeTool_ == ToolKind::Object || waiting;
        if (waiting) {
            showStatus("Click an object in the view to name it");
        }
    });
}

void MainWindow::showTriggers() {
    if (triggersDock_ == nullptr || triggerTool_ == nullptr) {
        return;
    }
    std::vector<ObjectsDockEntry> items, cameras;
    for (uint32_t i = 0; i < project_.Objects.Count; ++i) {
        const TEditorObject& object = project_.Objects.Objects[i];
        if (object.Is(ObjectKind::Item) || object.Is(ObjectKind::Camera)) {
            (object.Is(ObjectKind::Item) ? items : cameras)
                .push_back({static_cast<int>(i),
                            QString::fromStdString(objectListName(static_cast<int>(i)))});
        }
    }
    triggersDock_->showLayout(levelLayout());
    triggersDock_->showTargets(std::move(items), std::move(cameras));
    const std::vector<TriggerSector> sectors = triggerTool_->chosenSectors();
    QString place;
    if (sectors.size() == 1) {
        place = QString("Room %1, column %2, row %3")
                    .arg(sectors[0].Room)
                    .arg(sectors[0].Column)
                    .arg(sectors[0].Row);
    } else if (!sectors.empty()) {
        place = QString("Room %1: %2 sectors, given the same trigger (the first one's is shown)")
                    .arg(sectors[0].Room)
                    .arg(sectors.size());
    }
    triggersDock_->showTrigger(place, triggerTool_->shownTrigger());
}

std::string MainWindow::objectListName(int index) const {
    if (!HasObject(project_, index)) {
        return ObjectListName(project_, index, {});
    }
    return ObjectListName(project_, index, objectTypeLabel(project_.Objects.Objects[index]));
}

int32_t MainWindow::levelLayout() const {
    return level_.FormatKind;
}

void MainWindow::triggerSectorsChosen() {
    ++triggerChoice_;
    showTriggers();
    viewport_.Paint(); // the chosen sectors and the lines are drawn over the scene
}

bool MainWindow::waitsForTriggerTarget() const {
    return triggersDock_ != nullptr && triggersDock_->waitsForTarget();
}

void MainWindow::triggerTargetPicked(int object) {
    triggersDock_->takeTarget(object);
}

std::vector<RoomTints> MainWindow::triggerTints() const {
    std::vector<RoomTints> tints;
    for (const int room : {scene_.DrawnRoom, scene_.NeighbourRoom}) {
        const std::vector<int> kinds = RoomTriggerKinds(project_, room);
        if (kinds.empty() || (!tints.empty() && tints.front().Room == room)) {
            continue;
        }
        RoomTints& drawn = tints.emplace_back();
        drawn.Room = room;
        for (const int kind : kinds) {
            drawn.Colors.push_back(TriggerKindTint(kind));
        }
    }
    return tints;
}

} // namespace morvane
