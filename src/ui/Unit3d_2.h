#pragma once

#include <QWidget>

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
// portal-view editor. It holds the controls; the main window gives them their effects.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    // The shape a click places (from the shape buttons) and the mirror of the direction buttons.
    int SelectedShape = 1;
    int ShapeMirror = 0;

    // The button of a shape (0..10).
    QToolButton* ShapeButton(int shape) const;

    QTabWidget* PageControl1;
    // Rooms
    QPushButton *SpeedButton19, *SpeedButton20, *SpeedButton21, *SpeedButton22;
    QRadioButton *RadioButton3, *RadioButton4, *RadioButton5;
    QListWidget* ListBox2;
    QSpinBox *SpinEdit5, *SpinEdit6, *SpinEdit7, *SpinEdit11;
    QCheckBox* CheckBox1;
    QPushButton* Button4;
    // Edit
    QRadioButton *RadioButton1, *RadioButton2;
    QSpinBox* SpinEdit12;
    QButtonGroup* Shapes;
    QSpinBox *SpinEdit13, *SpinEdit14, *SpinEdit15;
    QCheckBox *CheckBox2, *CheckBox3, *CheckBox4;
    // Textures
    QSpinBox *SpinEdit1, *SpinEdit2, *SpinEdit3, *SpinEdit4;
    QLabel *Image1, *Image2, *Image3, *Image4;
    // Portals
    QSpinBox *SpinEdit9, *SpinEdit8, *SpinEdit10;
    QComboBox* ComboBox1;
    QPushButton *Button1, *Button2, *Button3;
    QCheckBox* CheckBox5;
    QListWidget* ListBox1;
};

} // namespace morvane
