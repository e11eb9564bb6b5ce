#pragma once

#include <QWidget>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

namespace morvane {

// "Tools Bar": a tool window above the main window with the room list and positions, the
// render settings, the sector tools' settings, the texture numbers with previews and the
// portal-view editor. It holds the controls; the main window gives them their effects (see
// tool_bar_wiring.cpp).
class ToolBarWindow : public QWidget {
    Q_OBJECT
public:
    explicit ToolBarWindow(QWidget* parent = nullptr);

    // The shape a click places (from the shape buttons) and the turn that the direction buttons
    // add to it (0, or TurnedShapeOffset for "Left-Right").
    int selectedShape = 1;
    int shapeMirror = 0;

    // The button of a shape (0..10).
    QToolButton* shapeButton(int shape) const;

    // The four texture fields and their previews, by the texture picker's field number:
    // 0 floor, 1 floor walls, 2 ceiling, 3 ceiling walls.
    QSpinBox* textureField(int field) const { return textureFields_[field]; }
    QLabel* texturePreview(int field) const { return texturePreviews_[field]; }

    QTabWidget* pages; // "Rooms", "Edit", "Textures", "Portals"

    // "Rooms"
    QPushButton *addRoomButton, *roomPropertiesButton, *deleteRoomButton, *cloneRoomButton;
    QRadioButton *wireframeModeButton, *solidModeButton, *texturedModeButton;
    QListWidget* roomList;
    QSpinBox *roomXField, *roomYField, *roomZField;
    QSpinBox* neighbourRoomField;
    QCheckBox* currentRoomOnlyBox;
    QPushButton* centerCameraButton;

    // "Edit"
    QRadioButton *backFrontDirectionButton, *leftRightDirectionButton;
    QSpinBox* replicationCountField;
    QButtonGroup* shapeButtons; // each button's id is its shape
    QSpinBox *roomAboveField, *roomSideField, *roomBelowField;
    QCheckBox *putShapesBox, *putTexturesBox, *putPortalsBox;

    // "Textures"
    QSpinBox *floorTextureField, *floorWallsTextureField;
    QSpinBox *ceilingTextureField, *ceilingWallsTextureField;
    QLabel *floorTexturePreview, *floorWallsTexturePreview;
    QLabel *ceilingTexturePreview, *ceilingWallsTexturePreview;

    // "Portals"
    QSpinBox *portalRoomField, *portalWidthField, *portalHeightField;
    QComboBox* portalFacingBox;
    QPushButton *addPortalViewButton, *replacePortalViewButton, *deletePortalViewButton;
    QCheckBox* hidePortalsBox;
    QListWidget* portalViewList;

private:
    std::array<QSpinBox*, 4> textureFields_{};
    std::array<QLabel*, 4> texturePreviews_{};
};

} // namespace morvane
