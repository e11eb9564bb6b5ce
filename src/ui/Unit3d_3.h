#pragma once

#include "document/room_operations.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace morvane {

// "Add new Room": the size, position, name, flags and default textures of a room, for Add and
// for Properties (which shows "ReBuild"). It keeps its values between uses.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);

    RoomDialogValues Values() const;
    void SetValues(const RoomDialogValues& values);
    void SetName(const QString& name);

    // Properties mode: the "Edit Room Properties" caption and the "ReBuild" box.
    void BeginProperties();
    void EndProperties();
    bool RebuildTicked() const;

    QSpinBox *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4, *SpinEdit5, *SpinEdit6, *SpinEdit7,
        *SpinEdit8, *SpinEdit9, *SpinEdit10, *SpinEdit11;
    QLineEdit* Edit1;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5;
};

} // namespace morvane
