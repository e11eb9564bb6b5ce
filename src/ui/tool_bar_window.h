#pragma once

#include "document/portal_views.h"
#include "document/sector_tools.h"
#include "document/tool_bar_view.h"
#include "ui/view_tool.h"
#include "view/render_mode.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPixmap;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace morvane {

// What the tool bar is set to, as one value.
struct ToolBarState {
    // What a click in the view puts: shape, turn, replication, textures, portal links.
    SectorToolState Sector;
    RenderMode Mode = RenderMode::Wireframe;
    int NeighbourRoom = 0;        // "Neighbor" (0 for none)
    bool CurrentRoomOnly = false; // "Current Only"
    bool HidePortals = false;
    PortalViewFields PortalView; // the portal-view editor's fields
    int SelectedPortalView = 0;  // the chosen entry of the portal-view list, from 1; 0 for none

    // The neighbour room the view draws: none while "Current Only" is ticked.
    int DrawnNeighbour() const { return CurrentRoomOnly ? 0 : NeighbourRoom; }
};

// The room commands of the tool bar's "Room Manager".
enum class RoomCommand { Add, Properties, Delete, Clone };

// "Tools Bar": docked beside the 3D view (or floating), with the room list and positions, the
// render settings, the sector tools' settings, the texture numbers with previews and the
// portal-view editor. It hands out its settings as one value (state) and tells what the user
// did through its signals; the main window shows the document in it.
class ToolBarWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolBarWindow(QWidget* parent = nullptr);

    ToolBarState state() const;

    // The document's rooms, the current room's position and its portal views. The position
    // fields tell no edit meanwhile.
    void showDocument(const ToolBarView& view);
    // The portal-view list alone, after the list's own buttons changed it.
    void showPortalList(const PortalListView& list);
    void showPortalViewFields(const PortalViewFields& fields);
    void setNeighbourRoom(int room);
    void setRenderMode(RenderMode mode);
    void setActiveTool(ToolKind tool);
    // A sector's textures and portal links read back into the fields.
    void showSectorSettings(const SectorToolState& settings);
    // The texture fields by the texture picker's field number: 0 floor, 1 floor walls, 2
    // ceiling, 3 ceiling walls. Set quietly, no textureNumberChanged follows.
    int textureNumber(int field) const;
    void setTextureNumber(int field, int number);
    void setTextureNumberQuietly(int field, int number);
    void setTexturePreview(int field, const QPixmap& preview);

signals:
    void roomCommand(RoomCommand command);
    // A tool of the view chosen on the "Edit" page.
    void toolChosen(ToolKind tool);
    void centerCameraClicked();
    void renderModeChosen(RenderMode mode);
    // A room of the list made current (by the mouse or the keys), by its row.
    void roomChosen(int row);
    // The position fields changed by the user: x, y or z of the current room.
    void roomMovedX(int x);
    void roomMovedY(int y);
    void roomMovedZ(int z);
    // "Neighbor" or "Current Only" changed: state().DrawnNeighbour() is the room to draw.
    void drawnNeighbourChanged();
    void textureNumberChanged(int field);
    void addPortalViewClicked();
    void replacePortalViewClicked();
    void deletePortalViewClicked();
    void hidePortalsToggled(bool hide);
    // An entry of the portal-view list clicked: its view, from 1.
    void portalViewChosen(int view);

private:
    QToolButton* shapeButton(int shape) const;
    void wireControls();

    // The shape a click places (from the shape buttons) and the turn that the direction buttons
    // add to it (0, or TurnedShapeOffset for "Left-Right").
    int selectedShape_ = 1;
    int shapeMirror_ = 0;
    bool showing_ = false; // showing the document: the fields tell no edit

    QTabWidget* pages_; // "Rooms", "Edit", "Textures", "Portals"

    // "Rooms"
    QPushButton *addRoomButton_, *roomPropertiesButton_, *deleteRoomButton_, *cloneRoomButton_;
    QRadioButton *wireframeModeButton_, *solidModeButton_, *texturedModeButton_;
    QListWidget* roomList_;
    QSpinBox *roomXField_, *roomYField_, *roomZField_;
    QSpinBox* neighbourRoomField_;
    QCheckBox* currentRoomOnlyBox_;
    QPushButton* centerCameraButton_;

    // "Edit"
    QRadioButton* sectorToolButton_;
    QRadioButton* objectToolButton_;
    QRadioButton* triggerToolButton_;
    QRadioButton *backFrontDirectionButton_, *leftRightDirectionButton_;
    QSpinBox* replicationCountField_;
    QButtonGroup* shapeButtons_; // each button's id is its shape
    QSpinBox *roomAboveField_, *roomSideField_, *roomBelowField_;
    QCheckBox *putShapesBox_, *putTexturesBox_, *putPortalsBox_;

    // "Textures"
    std::array<QSpinBox*, 4> textureFields_{};
    std::array<QLabel*, 4> texturePreviews_{};

    // "Portals"
    QSpinBox *portalRoomField_, *portalWidthField_, *portalHeightField_;
    QComboBox* portalFacingBox_;
    QPushButton *addPortalViewButton_, *replacePortalViewButton_, *deletePortalViewButton_;
    QCheckBox* hidePortalsBox_;
    QListWidget* portalViewList_;
};

} // namespace morvane
