// The tool bar's controls wired to the document operations and to the view: the room manager,
// the render mode, the room list and position, the neighbour room, the portal attribute fields,
// the texture fields and the texture picker's keys, and the portal-view editor. Operations that
// change the document hand their outcome to applyOutcome.
#include "ui/main_window.h"

#include "document/editor_texts.h"
#include "document/portal_views.h"
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
    // being refreshed from the document).
    auto position = [this](std::function<void(TEditorRoom&, int)> store) {
        return [this, store](int value) {
            if (!refreshing_ && project_.HasCurrentRoom()) {
                store(project_.Current(), value);
                redraw();
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
    connect(t->addPortalViewButton, &QPushButton::clicked, this,
            [this, fields] { applyOutcome(AddPortalView(project_, fields())); });
    connect(t->replacePortalViewButton, &QPushButton::clicked, this, [this, fields] {
        applyOutcome(
            ReplacePortalView(project_, toolBar->portalViewList->currentRow() + 1, fields()));
    });
    connect(t->deletePortalViewButton, &QPushButton::clicked, this,
            [this] { applyOutcome(DeletePortalView(project_)); });
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
    roomDialog->setName(QString::fromStdString(NextRoomName(project_)));
    if (services_.runModal(*roomDialog) != QDialog::Accepted) {
        return;
    }
    applyOutcome(AddRoom(project_, scene, roomDialog->values()));
}

void MainWindow::editRoomProperties() {
    if (!project_.HasCurrentRoom()) {
        return;
    }
    const RoomDialogValues shown = PropertiesDialogValues(project_);
    roomDialog->setValues(shown);
    roomDialog->beginProperties();
    if (services_.runModal(*roomDialog) == QDialog::Accepted) {
        const RoomDialogValues edited = roomDialog->values();
        const PropertiesOutcome applied =
            ApplyRoomProperties(project_, shown, edited, roomDialog->rebuildTicked());
        applyOutcome(applied.Window);
        if (applied.AskRebuild && services_.runModal(*rebuildWarningDialog) == QDialog::Accepted) {
            applyOutcome(RebuildCurrentRoom(project_, edited));
        }
    }
    roomDialog->endProperties();
}

void MainWindow::deleteRoom() {
    applyOutcome(DeleteRoom(project_, scene));
}

void MainWindow::cloneRoom() {
    applyOutcome(CloneRoom(project_));
}

void MainWindow::sendRoomTo(SendDirection direction) {
    applyOutcome(SendRoomTo(project_, direction, toolBar->neighbourRoomField->value()));
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
