#include "ui/room_dialog.h"

#include "ui/document_text.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace morvane {

namespace {

constexpr int TextureFieldMaximum = 99999; // the texture fields have no bound of their own

} // namespace

RoomDialog::RoomDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("roomDialog");
    setWindowTitle("Add new Room");
    auto* layout = new QVBoxLayout(this);

    auto* dimension = new QGroupBox("Room Dimension", this);
    auto* grid = new QGridLayout(dimension);
    lengthField = namedSpin(dimension, "lengthField", 1, 31, 10);
    widthField = namedSpin(dimension, "widthField", 1, 31, 10);
    nameField = named(new QLineEdit(dimension), "nameField");
    nameField->setMaxLength(40);
    xField = namedSpin(dimension, "xField", 0, 200, 100);
    yField = namedSpin(dimension, "yField", 1, 63, 32, RoomLevelHint);
    zField = namedSpin(dimension, "zField", 0, 200, 100);
    heightField = namedSpin(dimension, "heightField", 1, 63, 3);
    grid->addWidget(new QLabel("Long", dimension), 0, 0);
    grid->addWidget(lengthField, 0, 1);
    grid->addWidget(new QLabel("Width", dimension), 0, 2);
    grid->addWidget(widthField, 0, 3);
    grid->addWidget(new QLabel("Room's Name", dimension), 1, 0);
    grid->addWidget(nameField, 1, 1, 1, 3);
    grid->addWidget(new QLabel("X-Position", dimension), 2, 0);
    grid->addWidget(xField, 2, 1);
    grid->addWidget(new QLabel("Y-Position", dimension), 2, 2);
    grid->addWidget(yField, 2, 3);
    grid->addWidget(new QLabel("Z-Position", dimension), 3, 0);
    grid->addWidget(zField, 3, 1);
    grid->addWidget(new QLabel("Room Heigth ", dimension), 3, 2);
    grid->addWidget(heightField, 3, 3);
    // A newcomer reads Y as a depth; it is the floor's level, counted upwards.
    auto* levelNote = named(new QLabel(RoomLevelHint, dimension), "roomLevelNote");
    levelNote->setWordWrap(true);
    grid->addWidget(levelNote, 4, 0, 1, 4);
    layout->addWidget(dimension);

    auto* flags = new QGroupBox("Flags", this);
    auto* flagsLayout = new QGridLayout(flags);
    waterBox = named(new QCheckBox("Water", flags), "waterBox");
    skyBox = named(new QCheckBox("Sky", flags), "skyBox");
    windRainBox = named(new QCheckBox("Wind/Rain", flags), "windRainBox");
    quicksandBox = named(new QCheckBox("Quicksand", flags), "quicksandBox");
    flagsLayout->addWidget(waterBox, 0, 0);
    flagsLayout->addWidget(skyBox, 0, 1);
    flagsLayout->addWidget(windRainBox, 1, 0);
    flagsLayout->addWidget(quicksandBox, 1, 1);
    layout->addWidget(flags);

    auto* defaults = new QGroupBox("Defaults", this);
    auto* defaultsLayout = new QGridLayout(defaults);
    ambientLightField = namedSpin(defaults, "ambientLightField", 0, 31, 16);
    floorTextureField = namedSpin(defaults, "floorTextureField", 0, TextureFieldMaximum, 1);
    floorWallsTextureField =
        namedSpin(defaults, "floorWallsTextureField", 0, TextureFieldMaximum, 1);
    ceilingTextureField = namedSpin(defaults, "ceilingTextureField", 0, TextureFieldMaximum, 1);
    ceilingWallsTextureField =
        namedSpin(defaults, "ceilingWallsTextureField", 0, TextureFieldMaximum, 1);
    defaultsLayout->addWidget(new QLabel("Ambient Ligtht", defaults), 0, 0);
    defaultsLayout->addWidget(ambientLightField, 0, 1);
    defaultsLayout->addWidget(new QLabel("Top", defaults), 1, 1);
    defaultsLayout->addWidget(new QLabel("Walls", defaults), 1, 2);
    defaultsLayout->addWidget(new QLabel("Texture Floor", defaults), 2, 0);
    defaultsLayout->addWidget(floorTextureField, 2, 1);
    defaultsLayout->addWidget(floorWallsTextureField, 2, 2);
    defaultsLayout->addWidget(new QLabel("Texture Ceiling", defaults), 3, 0);
    defaultsLayout->addWidget(ceilingTextureField, 3, 1);
    defaultsLayout->addWidget(ceilingWallsTextureField, 3, 2);
    layout->addWidget(defaults);

    auto* buttons = new QHBoxLayout();
    rebuildBox = named(new QCheckBox("ReBuild", this), "rebuildBox");
    rebuildBox->hide();
    auto* ok = closingButton(this, "OK", "okButton", DialogAnswer::Accept);
    ok->setDefault(true);
    auto* cancel = closingButton(this, "CANCEL", "cancelButton", DialogAnswer::Reject);
    buttons->addWidget(rebuildBox);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

RoomDialogValues RoomDialog::values() const {
    RoomDialogValues v;
    v.Long = lengthField->value();
    v.Width = widthField->value();
    v.Name = toDocumentText(nameField->text());
    v.X = xField->value();
    v.Y = yField->value();
    v.Z = zField->value();
    v.Height = heightField->value();
    v.AmbientLight = ambientLightField->value();
    v.FloorTop = floorTextureField->value();
    v.FloorWalls = floorWallsTextureField->value();
    v.CeilingTop = ceilingTextureField->value();
    v.CeilingWalls = ceilingWallsTextureField->value();
    v.Water = waterBox->isChecked();
    v.Sky = skyBox->isChecked();
    v.WindRain = windRainBox->isChecked();
    v.Quicksand = quicksandBox->isChecked();
    return v;
}

void RoomDialog::setValues(const RoomDialogValues& v) {
    lengthField->setValue(v.Long);
    widthField->setValue(v.Width);
    nameField->setText(fromDocumentText(v.Name));
    xField->setValue(v.X);
    yField->setValue(v.Y);
    zField->setValue(v.Z);
    heightField->setValue(v.Height);
    ambientLightField->setValue(v.AmbientLight);
    floorTextureField->setValue(v.FloorTop);
    floorWallsTextureField->setValue(v.FloorWalls);
    ceilingTextureField->setValue(v.CeilingTop);
    ceilingWallsTextureField->setValue(v.CeilingWalls);
    waterBox->setChecked(v.Water);
    skyBox->setChecked(v.Sky);
    windRainBox->setChecked(v.WindRain);
    quicksandBox->setChecked(v.Quicksand);
}

void RoomDialog::setName(const QString& name) {
    nameField->setText(name);
}

void RoomDialog::beginProperties() {
    setWindowTitle("Edit Room Properties");
    rebuildBox->show();
}

void RoomDialog::endProperties() {
    setWindowTitle("Add New Room");
    rebuildBox->hide();
    rebuildBox->setChecked(false);
}

bool RoomDialog::rebuildTicked() const {
    return rebuildBox->isChecked();
}

} // namespace morvane
