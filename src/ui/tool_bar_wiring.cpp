// The tool bar's controls wired to the document operations and to the view: the room manager,
// the render mode, the room list and position, the neighbour room, the portal attribute fields,
// the texture fields and the texture picker's keys, and the portal-view editor. Operations that
// change the document run through edit, which makes them undoable steps and hands their outcome
// to applyOutcome.
#include "ui/main_window.h"

#include "document/edit_names.h"
#include "document/editor_texts.h"
#include "document/portal_views.h"
#include "ui/document_text.h"
#include "ui/rebuild_warning_dialog.h"
#include "ui/room_dialog.h"
#include "ui/texture_picker.h"
#include "ui/tool_bar_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>

namespace morvane {

void MainWindow::wireToolBar() {
    ToolBarWindow* t = toolBar;

    // ---- Rooms
    connect(t->addRoomButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { addRoom(); }); });
    connect(t->roomPropertiesButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { editRoomProperties(); }); });
    connect(t->deleteRoomButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { deleteRoom(); }); });
    connect(t->cloneRoomButton, &QPushButton::clicked, this,
            [this] { runGuarded([this] { cloneRoom(); }); });
    connect(t->centerCameraButton, &QPushButton::clicked, this, [this] { centerCamera(); });

    const std::pair<QRadioButton*, uint8_t> modes[] = {{t->wireframeModeButton, RenderWireframe},
                                                       {t->solidModeButton, RenderSolid},
                                                       {t->texturedModeButton, RenderTextured}};
    for (const auto& [button, mode] : modes) {
        const uint8_t m = mode;
        connect(button, &QRadioButton::toggled, this, [this, m](bool on) {
            if (on) {
                scene.RenderMode = m;
                redraw();
            }
        });
    }
    connect(t->roomList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        applyOutcome(SelectRoom(project_, scene, toolBar->roomList->row(item)));
    });
    // The position fields write the current room's place directly (not while the tool bar is
    // being refreshed from the document); successive moves of a room are one step.
    auto position = [this](std::function<void(TEditorRoom&, int)> store) {
        return [this, store](int value) {
            if (!refreshing_ && project_.HasCurrentRoom()) {
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
    connect(t->roomXField, &QSpinBox::valueChanged, this,
            position([](TEditorRoom& r, int v) { r.PosX = v; }));
    connect(t->roomYField, &QSpinBox::valueChanged, this,
            position([](TEditorRoom& r, int v) { r.PosY = static_cast<uint8_t>(v); }));
    connect(t->roomZField, &QSpinBox::valueChanged, this,
            position([](TEditorRoom& r, int v) { r.PosZ = v; }));
    connect(t->neighbourRoomField, &QSpinBox::valueChanged, this, [this](int value) {
        if (!toolBar->currentRoomOnlyBox->isChecked()) {
            scene.NeighbourRoom = value;
            redraw();
        }
    });
    connect(t->currentRoomOnlyBox, &QCheckBox::toggled, this, [this](bool only) {
        scene.NeighbourRoom = only ? 0 : toolBar->neighbourRoomField->value();
        redraw();
    });

    // ---- Edit: "Room Side" is kept apart from "Room Above" and "Room Below".
    connect(t->roomAboveField, &QSpinBox::valueChanged, this, [t](int v) {
        if (v > 0) {
            t->roomSideField->setValue(0);
        }
    });
    connect(t->roomSideField, &QSpinBox::valueChanged, this, [t](int v) {
        if (v > 0) {
            t->roomAboveField->setValue(0);
            t->roomBelowField->setValue(0);
        }
    });
    connect(t->roomBelowField, &QSpinBox::valueChanged, this, [t](int v) {
        if (v > 0) {
            t->roomSideField->setValue(0);
        }
    });

    // ---- Textures: each field shows its texture; the picker's keys 1 to 4 fill them.
    for (int field = 0; field < 4; ++field) {
        connect(t->textureField(field), &QSpinBox::valueChanged, this,
                [this, field] { showTexturePreview(field); });
    }
    connect(texturePicker, &TexturePicker::textureChosen, this,
            [this](int field, int number) { toolBar->textureField(field)->setValue(number); });

    // ---- Portals
    auto fields = [t] {
        return PortalViewFields{t->portalRoomField->value(), t->portalWidthField->value(),
                                t->portalHeightField->value(), t->portalFacingBox->currentIndex()};
    };
    connect(t->addPortalViewButton, &QPushButton::clicked, this, [this, fields] {
        edit(EditNames::AddPortalView, [&] { return AddPortalView(project_, fields()); });
    });
    connect(t->replacePortalViewButton, &QPushButton::clicked, this, [this, fields] {
        const int selected = toolBar->portalViewList->currentRow() + 1;
        edit(EditNames::ReplacePortalView,
             [&] { return ReplacePortalView(project_, selected, fields()); });
    });
    connect(t->deletePortalViewButton, &QPushButton::clicked, this, [this] {
        edit(EditNames::DeletePortalView, [&] { return DeletePortalView(project_); });
    });
    connect(t->hidePortalsBox, &QCheckBox::toggled, this, [this](bool hide) {
        scene.HidePortals = hide;
        redraw();
    });
    connect(t->portalViewList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const PortalViewFields f =
            PortalViewFieldsOf(project_, toolBar->portalViewList->row(item) + 1);
        toolBar->portalRoomField->setValue(f.Room);
        toolBar->portalWidthField->setValue(f.Width);
        toolBar->portalHeightField->setValue(f.Height);
        toolBar->portalFacingBox->setCurrentIndex(std::clamp(f.FacingIndex, 0, 5));
    });
}

// ---- the room manager -------------------------------------------------------------------------

void MainWindow::addRoom() {
    if (ProjectIsFull(project_)) {
        services_.showMessage(this, TooManyRoomsText);
        return;
    }
    roomDialog->setName(fromDocumentText(NextRoomName(project_)));
    if (services_.runModal(*roomDialog) != QDialog::Accepted) {
        return;
    }
    const RoomDialogValues values = roomDialog->values();
    edit(EditNames::AddRoom, [&] { return AddRoom(project_, scene, values); });
}

void MainWindow::editRoomProperties() {
    if (!project_.HasCurrentRoom()) {
        return;
    }
    const RoomDialogValues shown = PropertiesDialogValues(project_);
    roomDialog->setValues(shown);
    roomDialog->beginProperties();
    if (services_.runModal(*roomDialog) == QDialog::Accepted) {
        // The properties and the rebuild they may ask for are one step.
        const DocumentSnapshot before = beginEdit();
        const RoomDialogValues edited = roomDialog->values();
        const PropertiesOutcome applied =
            ApplyRoomProperties(project_, shown, edited, roomDialog->rebuildTicked());
        applyOutcome(applied.Window);
        const char* name = EditNames::EditRoomProperties;
        if (applied.AskRebuild && services_.runModal(*rebuildWarningDialog) == QDialog::Accepted) {
            applyOutcome(RebuildCurrentRoom(project_, edited));
            name = EditNames::RebuildRoom;
        }
        finishEdit(before, [name](const DocumentSnapshot&) { return std::string(name); }, {});
    }
    roomDialog->endProperties();
}

void MainWindow::deleteRoom() {
    edit(EditNames::DeleteRoom, [this] { return DeleteRoom(project_, scene); });
}

void MainWindow::cloneRoom() {
    edit(EditNames::CloneRoom, [this] { return CloneRoom(project_); });
}

void MainWindow::sendRoomTo(SendDirection direction) {
    const int neighbour = toolBar->neighbourRoomField->value();
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
    scene.FrameCurrentRoom();
    viewport.FitToFigure(scene);
    viewport.CenterCamera();
    redraw();
}

void MainWindow::setRenderMode(uint8_t mode) {
    QRadioButton* button = mode == RenderSolid      ? toolBar->solidModeButton
                           : mode == RenderTextured ? toolBar->texturedModeButton
                                                    : toolBar->wireframeModeButton;
    button->setChecked(true);
}

} // namespace morvane
