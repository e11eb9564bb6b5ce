#pragma once

#include "document/room_operations.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace morvane {

// Under the room's dimensions: what Y means.
inline constexpr const char* RoomLevelHint =
    "Y-Position is the level of the room's floor in blocks, counted upwards: a room with a "
    "lower Y lies below one with a higher Y.";

// "Add new Room": the size, position, name, flags and default textures of a room, for Add and
// for Properties (which shows "ReBuild"). It keeps its values between uses.
class RoomDialog : public QDialog {
    Q_OBJECT
public:
    explicit RoomDialog(QWidget* parent = nullptr);

    RoomDialogValues values() const;
    void setValues(const RoomDialogValues& values);
    void setName(const QString& name);

    // Properties mode: the "Edit Room Properties" caption and the "ReBuild" box.
    void beginProperties();
    void endProperties();
    bool rebuildTicked() const;

    // "Room Dimension"
    QSpinBox* lengthField; // "Long": sectors along z
    QSpinBox* widthField;  // sectors along x
    QLineEdit* nameField;
    QSpinBox *xField, *yField, *zField;
    QSpinBox* heightField;
    // "Flags"
    QCheckBox *waterBox, *skyBox, *windRainBox, *quicksandBox;
    // "Defaults"
    QSpinBox* ambientLightField;
    QSpinBox *floorTextureField, *floorWallsTextureField;
    QSpinBox *ceilingTextureField, *ceilingWallsTextureField;
    QCheckBox* rebuildBox;
};

} // namespace morvane
