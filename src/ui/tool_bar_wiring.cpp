// The tool bar's controls wired to the document operations and to the view: the room manager,
// the render mode, the room list and position, the neighbour room, the portal attribute fields,
// the texture fields and the texture picker's keys, and the portal-view editor. Operations that
// change the document run through edit, which makes them undoable steps and hands their outcome
// to applyOutcome.
#include "ui/main_window.h"

#include "document/edit_names.h"
#include "document/editor_texts.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/portal_views.h"
#include "document/trigger_operations.h"
#include "ui/document_text.h"
#include "ui/rebuild_warning_dialog.h"
#include "ui/room_dialog.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>

namespace morvane {

void MainWindow::wireToolBar() {
    ToolBarWindow* t = toolBar_;

    // ---- Rooms
    connect(t, &ToolBarWindow::roomCommand, this, [this](RoomCommand command) {
        runGuarded([this, command] {
            switch (command) {
            case RoomCommand::Add:
                addRoom();
                break;
            case RoomCommand::Properties:
                editRoomProperties();
                break;
            case RoomCommand::Delete:
                deleteRoom();
                break;
            case RoomCommand::Clone:
                cloneRoom();
                break;
            }
        });
    });
    connect(t, &ToolBarWindow::centerCameraClicked, this, [this] { centerCamera(); });
    connect(t, &ToolBarWindow::toolChosen, this, [this](ToolKind tool) { setActiveTool(tool); });
    connect(t, &ToolBarWindow::renderModeChosen, this, [this](RenderMode mode) {
        scene_.Mode = mode;
        redraw();
    });
    connect(t, &ToolBarWindow::roomChosen, this, [this](int row) {
        // Flipped, the view shows a room's alternate in its place.
        applyOutcome(SelectRoom(project_, scene_, ShownRoom(project_, row + 1, flipped_) - 1));
    });
    // The position fields write the current room's place directly (the tool bar tells no
    // move while it shows the document); successive moves of a room are one step.
    auto position = [this](std::function<void(TEditorRoom&, int)> store) {
        return [this, store](int value) {
            if (project_.HasCurrentRoom()) {
                edit(
                    EditNames::MoveRoom,
                    [&] {
                        store(project_.Current(), value);
                        DocumentOutcome moved;
                        moved.Redraw = true;
                        return moved;
                    },
                    RoomScope::CurrentAndNext, MoveRoomMerge);
            }
        };
    };
    connect(t, &ToolBarWindow::roomMovedX, this,
            position([](TEditorRoom& r, int v) { r.PosX = v; }));
    connect(t, &ToolBarWindow::roomMovedY, this,
            position([](TEditorRoom& r, int v) { r.PosY = static_cast<uint8_t>(v); }));
    connect(t, &ToolBarWindow::roomMovedZ, this,
            position([](TEditorRoom& r, int v) { r.PosZ = v; }));
    connect(t, &ToolBarWindow::drawnNeighbourChanged, this, [this] { showDrawnNeighbour(); });

    // ---- Textures: each field shows its texture; the picker's keys 1 to 4 fill them.
    connect(t, &ToolBarWindow::textureNumberChanged, this,
            [this](int field) { showTexturePreview(field); });
    connect(texturePicker_, &TexturePicker::textureChosen, this,
            [this](int field, int number) { toolBar_->setTextureNumber(field, number); });

    // ---- Portals
    connect(t, &ToolBarWindow::addPortalViewClicked, this, [this] {
        const PortalViewFields fields = toolBar_->state().PortalView;
        edit(EditNames::AddPortalView, [&] { return AddPortalView(project_, fields); });
    });
    connect(t, &ToolBarWindow::replacePortalViewClicked, this, [this] {
        const ToolBarState state = toolBar_->state();
        edit(EditNames::ReplacePortalView, [&] {
            return ReplacePortalView(project_, state.SelectedPortalView, state.PortalView);
        });
    });
    connect(t, &ToolBarWindow::deletePortalViewClicked, this, [this] {
        edit(EditNames::DeletePortalView, [&] { return DeletePortalView(project_); });
    });
    connect(t, &ToolBarWindow::hidePortalsToggled, this, [this](bool hide) {
        scene_.HidePortals = hide;
        redraw();
    });
    connect(t, &ToolBarWindow::portalViewChosen, this, [this](int view) {
        toolBar_->showPortalViewFields(PortalViewFieldsOf(project_, view));
    });
}

void MainWindow::showDrawnNeighbour() {
    // Flipped, the neighbour too is shown by its alternate.
    scene_.NeighbourRoom = ShownRoom(project_, toolBar_->state().DrawnNeighbour(), flipped_);
    redraw();
}

// ---- the room manager -------------------------------------------------------------------------

void MainWindow::addRoom() {
    if (ProjectIsFull(project_)) {
        services_.showMessage(this, TooManyRoomsText);
        return;
    }
    roomDialog_->setName(fromDocumentText(NextRoomName(project_)));
    if (services_.runModal(*roomDialog_) != QDialog::Accepted) {
        return;
    }
    if (const QString refused =
            unstorableTextMessage("The room name", roomDialog_->nameField->text());
        !refused.isEmpty()) {
        services_.showMessage(this, refused);
        return;
    }
    const RoomDialogValues values = roomDialog_->values();
    edit(EditNames::AddRoom, [&] { return AddRoom(project_, scene_, values); });
}

void MainWindow::editRoomProperties() {
    if (!project_.HasCurrentRoom()) {
        return;
    }
    const RoomDialogValues shown = PropertiesDialogValues(project_);
    roomDialog_->setValues(shown);
    roomDialog_->beginProperties();
    const int answer = services_.runModal(*roomDialog_);
    const QString refused = unstorableTextMessage("The room name", roomDialog_->nameField->text());
    if (answer == QDialog::Accepted && !refused.isEmpty()) {
        services_.showMessage(this, refused);
    } else if (answer == QDialog::Accepted) {
        // The properties and the rebuild they may ask for are one step; a rebuild to a smaller
        // grid moves the objects and drops the triggers beyond it.
        const DocumentSnapshot before =
            beginEdit(EditScope(RoomScope::CurrentAndNext,
                                LayerBit(ObjectsLayerIndex) | LayerBit(TriggersLayerIndex)));
        const RoomDialogValues edited = roomDialog_->values();
        const PropertiesOutcome applied =
            ApplyRoomProperties(project_, shown, edited, roomDialog_->rebuildTicked());
        applyOutcome(applied.Window);
        const char* name = EditNames::EditRoomProperties;
        if (applied.AskRebuild && services_.runModal(*rebuildWarningDialog_) == QDialog::Accepted) {
            applyOutcome(RebuildCurrentRoom(project_, edited));
            name = EditNames::RebuildRoom;
        }
        finishEdit(before, [name](const DocumentSnapshot&) { return std::string(name); }, {});
    }
    roomDialog_->endProperties();
}

void MainWindow::deleteRoom() {
    edit(
        EditNames::DeleteRoom, [this] { return DeleteRoom(project_, scene_); },
        FlipMapsScope(LayerBit(ObjectsLayerIndex) | LayerBit(TriggersLayerIndex)));
}

void MainWindow::cloneRoom() {
    edit(EditNames::CloneRoom, [this] { return CloneRoom(project_); });
}

void MainWindow::makeAlternateRoom() {
    edit(
        EditNames::MakeAlternateRoom, [this] { return MakeAlternateRoom(project_, scene_); },
        FlipMapsScope());
}

void MainWindow::setFlipped(bool flipped) {
    flipped_ = flipped;
    if (flippedAction_->isChecked() != flipped) {
        flippedAction_->setChecked(flipped);
    }
    if (project_.HasCurrentRoom()) {
        const int room = RoomAfterFlip(project_, project_.CurrentRoom, flipped);
        applyOutcome(SelectRoom(project_, scene_, room - 1));
    }
    showDrawnNeighbour();
}

void MainWindow::sendRoomTo(SendDirection direction) {
    const int neighbour = toolBar_->state().NeighbourRoom;
    edit(SendRoomToName(direction).c_str(),
         [&] { return SendRoomTo(project_, direction, neighbour); });
}

void MainWindow::makePortalViews(PortalViewScope scope) {
    const char* name = scope == PortalViewScope::AllRooms ? EditNames::MakePortalViewsForAllRooms
                                                          : EditNames::MakePortalViews;
    // The current room's doorways change its neighbours' views too.
    edit(
        name, [&] { return MakePortalViews(project_, scope); }, RoomScope::All);
}

void MainWindow::centerCamera() {
    scene_.FrameCurrentRoom();
    viewport_.FitToFigure(scene_);
    viewport_.CenterCamera();
    redraw();
}

void MainWindow::setRenderMode(RenderMode mode) {
    toolBar_->setRenderMode(mode);
}

} // namespace morvane
