#include "ui/Unit3d_3.h"

#include "ui/named_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace morvane {

namespace {

constexpr int TextureFieldMaximum = 99999; // the texture fields have no bound of their own

} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm3");
    setWindowTitle("Add new Room");
    auto* layout = new QVBoxLayout(this);

    auto* dimension = new QGroupBox("Room Dimension", this);
    auto* grid = new QGridLayout(dimension);
    SpinEdit1 = NamedSpin(dimension, "SpinEdit1", 1, 31, 10);
    SpinEdit2 = NamedSpin(dimension, "SpinEdit2", 1, 31, 10);
    Edit1 = new QLineEdit(dimension);
    Edit1->setObjectName("Edit1");
    Edit1->setMaxLength(40);
    SpinEdit10 = NamedSpin(dimension, "SpinEdit10", 0, 200, 100);
    SpinEdit3 = NamedSpin(dimension, "SpinEdit3", 1, 63, 32);
    SpinEdit11 = NamedSpin(dimension, "SpinEdit11", 0, 200, 100);
    SpinEdit4 = NamedSpin(dimension, "SpinEdit4", 1, 63, 3);
    grid->addWidget(new QLabel("Long", dimension), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel("Width", dimension), 0, 2);
    grid->addWidget(SpinEdit2, 0, 3);
    grid->addWidget(new QLabel("Room's Name", dimension), 1, 0);
    grid->addWidget(Edit1, 1, 1, 1, 3);
    grid->addWidget(new QLabel("X-Position", dimension), 2, 0);
    grid->addWidget(SpinEdit10, 2, 1);
    grid->addWidget(new QLabel("Y-Position", dimension), 2, 2);
    grid->addWidget(SpinEdit3, 2, 3);
    grid->addWidget(new QLabel("Z-Position", dimension), 3, 0);
    grid->addWidget(SpinEdit11, 3, 1);
    grid->addWidget(new QLabel("Room Heigth ", dimension), 3, 2);
    grid->addWidget(SpinEdit4, 3, 3);
    layout->addWidget(dimension);

    auto* flags = new QGroupBox("Flags", this);
    auto* flagsLayout = new QGridLayout(flags);
    CheckBox1 = Named(new QCheckBox("Water", flags), "CheckBox1");
    CheckBox2 = Named(new QCheckBox("Sky", flags), "CheckBox2");
    CheckBox3 = Named(new QCheckBox("Wind/Rain", flags), "CheckBox3");
    CheckBox4 = Named(new QCheckBox("Quicksand", flags), "CheckBox4");
    flagsLayout->addWidget(CheckBox1, 0, 0);
    flagsLayout->addWidget(CheckBox2, 0, 1);
    flagsLayout->addWidget(CheckBox3, 1, 0);
    flagsLayout->addWidget(CheckBox4, 1, 1);
    layout->addWidget(flags);

    auto* defaults = new QGroupBox("Defaults", this);
    auto* defaultsLayout = new QGridLayout(defaults);
    SpinEdit5 = NamedSpin(defaults, "SpinEdit5", 0, 31, 16);
    SpinEdit6 = NamedSpin(defaults, "SpinEdit6", 0, TextureFieldMaximum, 1);
    SpinEdit8 = NamedSpin(defaults, "SpinEdit8", 0, TextureFieldMaximum, 1);
    SpinEdit7 = NamedSpin(defaults, "SpinEdit7", 0, TextureFieldMaximum, 1);
    SpinEdit9 = NamedSpin(defaults, "SpinEdit9", 0, TextureFieldMaximum, 1);
    defaultsLayout->addWidget(new QLabel("Ambient Ligtht", defaults), 0, 0);
    defaultsLayout->addWidget(SpinEdit5, 0, 1);
    defaultsLayout->addWidget(new QLabel("Top", defaults), 1, 1);
    defaultsLayout->addWidget(new QLabel("Walls", defaults), 1, 2);
    defaultsLayout->addWidget(new QLabel("Texture Floor", defaults), 2, 0);
    defaultsLayout->addWidget(SpinEdit6, 2, 1);
    defaultsLayout->addWidget(SpinEdit8, 2, 2);
    defaultsLayout->addWidget(new QLabel("Texture Ceiling", defaults), 3, 0);
    defaultsLayout->addWidget(SpinEdit7, 3, 1);
    defaultsLayout->addWidget(SpinEdit9, 3, 2);
    layout->addWidget(defaults);

    auto* buttons = new QHBoxLayout();
    CheckBox5 = Named(new QCheckBox("ReBuild", this), "CheckBox5");
    CheckBox5->hide();
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("Button1");
    ok->setDefault(true);
    auto* cancel = new QPushButton("CANCEL", this);
    cancel->setObjectName("Button2");
    buttons->addWidget(CheckBox5);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

RoomDialogValues TForm3::Values() const {
    RoomDialogValues v;
    v.Long = SpinEdit1->value();
    v.Width = SpinEdit2->value();
    v.Name = Edit1->text().toStdString();
    v.X = SpinEdit10->value();
    v.Y = SpinEdit3->value();
    v.Z = SpinEdit11->value();
    v.Height = SpinEdit4->value();
    v.AmbientLight = SpinEdit5->value();
    v.FloorTop = SpinEdit6->value();
    v.FloorWalls = SpinEdit8->value();
    v.CeilingTop = SpinEdit7->value();
    v.CeilingWalls = SpinEdit9->value();
    v.Water = CheckBox1->isChecked();
    v.Sky = CheckBox2->isChecked();
    v.WindRain = CheckBox3->isChecked();
    v.Quicksand = CheckBox4->isChecked();
    return v;
}

void TForm3::SetValues(const RoomDialogValues& v) {
    SpinEdit1->setValue(v.Long);
    SpinEdit2->setValue(v.Width);
    Edit1->setText(QString::fromStdString(v.Name));
    SpinEdit10->setValue(v.X);
    SpinEdit3->setValue(v.Y);
    SpinEdit11->setValue(v.Z);
    SpinEdit4->setValue(v.Height);
    SpinEdit5->setValue(v.AmbientLight);
    SpinEdit6->setValue(v.FloorTop);
    SpinEdit8->setValue(v.FloorWalls);
    SpinEdit7->setValue(v.CeilingTop);
    SpinEdit9->setValue(v.CeilingWalls);
    CheckBox1->setChecked(v.Water);
    CheckBox2->setChecked(v.Sky);
    CheckBox3->setChecked(v.WindRain);
    CheckBox4->setChecked(v.Quicksand);
}

void TForm3::SetName(const QString& name) {
    Edit1->setText(name);
}

void TForm3::BeginProperties() {
    setWindowTitle("Edit Room Properties");
    CheckBox5->show();
}

void TForm3::EndProperties() {
    setWindowTitle("Add New Room");
    CheckBox5->hide();
    CheckBox5->setChecked(false);
}

bool TForm3::RebuildTicked() const {
    return CheckBox5->isChecked();
}

} // namespace morvane
