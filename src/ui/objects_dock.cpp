#include "ui/objects_dock.h"

#include "document/object_operations.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace morvane {

namespace {

// The kinds in the order of the kind box.
constexpr ObjectKind KindsInBox[] = {ObjectKind::Item, ObjectKind::Static, ObjectKind::Camera,
                                     ObjectKind::Light};

bool HasTypes(ObjectKind kind) {
    return kind == ObjectKind::Item || kind == ObjectKind::Static;
}

} // namespace

ObjectsDock::ObjectsDock(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);

    auto* placeRow = new QHBoxLayout();
    kindBox_ = named(new QComboBox(this), "objectKindBox", "The kind of object to place");
    kindBox_->addItems({"Item", "Static mesh", "Camera", "Light"});
    placeButton_ = named(new QPushButton("Place", this), "placeObjectButton",
                         "While down, a click on the floor with the object tool places the "
                         "chosen type");
    placeButton_->setCheckable(true);
    placeRow->addWidget(kindBox_, 1);
    placeRow->addWidget(placeButton_);
    layout->addLayout(placeRow);

    searchField_ = named(new QLineEdit(this), "objectTypeSearch", "Find a type by number or name");
    searchField_->setPlaceholderText("Search types");
    layout->addWidget(searchField_);
    typeList_ = named(new QListWidget(this), "objectTypeList", "The base level's types");
    layout->addWidget(typeList_, 2);

    layout->addWidget(new QLabel("Objects of the room (level index)", this));
    objectList_ = named(new QListWidget(this), "objectList", "The current room's objects");
    layout->addWidget(objectList_, 2);

    fields_ = new QWidget(this);
    auto* form = new QFormLayout(fields_);
    form->setContentsMargins(0, 0, 0, 0);
    chosenLabel_ = named(new QLabel(fields_), "chosenObjectLabel");
    form->addRow(chosenLabel_);
    angleField_ = namedSpin(fields_, "objectAngleField", -1, 360, 0, "Degrees, 0 faces north");
    angleField_->setWrapping(true);
    form->addRow("Angle", angleField_);
    typeField_ = namedSpin(fields_, "objectTypeField", 0, 32767, 0, "The item type or mesh id");
    form->addRow("Type", typeField_);
    onFloorBox_ = named(new QCheckBox("On the floor", fields_), "objectOnFloorBox",
                        "The build puts the object on the floor under it");
    form->addRow(onFloorBox_);
    yField_ = namedSpin(fields_, "objectYField", -2000000, 2000000, 0,
                        "Height as the game counts it: downwards");
    yField_->setSingleStep(256);
    form->addRow("Y", yField_);
    auto* activation = new QHBoxLayout();
    // One box for each bit of the five the triggers' codes match.
    const char* bitNames[5] = {"firstCodeBitBox", "secondCodeBitBox", "thirdCodeBitBox",
                               "fourthCodeBitBox", "fifthCodeBitBox"};
    for (int bit = 0; bit < 5; ++bit) {
        activationBoxes_[bit] = named(new QCheckBox(QString::number(bit + 1), fields_),
                                      bitNames[bit], "An activation bit of the item's flags");
        activation->addWidget(activationBoxes_[bit]);
    }
    form->addRow("Activation", activation);
    invisibleBox_ = named(new QCheckBox("Invisible", fields_), "objectInvisibleBox");
    form->addRow(invisibleBox_);
    flagsField_ = namedSpin(fields_, "objectFlagsField", 0, 65535, 0, "Every flag bit");
    form->addRow("Flags", flagsField_);
    intensityField_ =
        namedSpin(fields_, "objectIntensityField", -1, 65535, -1, "-1: lit by the room");
    form->addRow("Intensity", intensityField_);
    intensity2Field_ = namedSpin(fields_, "objectIntensity2Field", -1, 65535, -1);
    form->addRow("Intensity 2", intensity2Field_);
    fadeField_ = namedSpin(fields_, "objectFadeField", 0, 2000000000, 4096);
    form->addRow("Fade", fadeField_);
    colourField_ = named(new QLineEdit(fields_), "objectColourField", "#RRGGBB");
    colourField_->setInputMask("\\#HHHHHH");
    form->addRow("Colour", colourField_);
    layout->addWidget(fields_);
    fields_->setEnabled(false);

    connect(kindBox_, &QComboBox::currentIndexChanged, this, [this] { fillTypeList(); });
    connect(searchField_, &QLineEdit::textChanged, this, [this] { fillTypeList(); });
    connect(typeList_, &QListWidget::itemDoubleClicked, this,
            [this] { placeButton_->setChecked(true); });
    connect(objectList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_ && row >= 0) {
            emit objectChosen(objectList_->item(row)->data(Qt::UserRole).toInt());
        }
    });
    for (QSpinBox* spin : {angleField_, typeField_, yField_, flagsField_, intensityField_,
                           intensity2Field_, fadeField_}) {
        connect(spin, &QSpinBox::valueChanged, this, [this] { emitEdited(); });
    }
    for (QCheckBox* box : activationBoxes_) {
        connect(box, &QCheckBox::toggled, this, [this] { emitEdited(); });
    }
    connect(invisibleBox_, &QCheckBox::toggled, this, [this] { emitEdited(); });
    connect(onFloorBox_, &QCheckBox::toggled, this, [this] { emitEdited(); });
    connect(colourField_, &QLineEdit::editingFinished, this, [this] { emitEdited(); });
    fillTypeList();
}

ObjectKind ObjectsDock::chosenKind() const {
    const int index = std::max(kindBox_->currentIndex(), 0);
    return KindsInBox[index];
}

void ObjectsDock::showLevelTypes(std::vector<ObjectsDockEntry> items,
                                 std::vector<ObjectsDockEntry> statics) {
    itemTypes_ = std::move(items);
    staticTypes_ = std::move(statics);
    fillTypeList();
}

void ObjectsDock::fillTypeList() {
    const ObjectKind kind = chosenKind();
    const int chosen = typeList_->currentItem() != nullptr
                           ? typeList_->currentItem()->data(Qt::UserRole).toInt()
                           : -1;
    typeList_->clear();
    typeList_->setEnabled(HasTypes(kind));
    searchField_->setEnabled(HasTypes(kind));
    if (!HasTypes(kind)) {
        return;
    }
    const QString wanted = searchField_->text().trimmed();
    for (const ObjectsDockEntry& entry : kind == ObjectKind::Item ? itemTypes_ : staticTypes_) {
        if (!wanted.isEmpty() && !entry.Text.contains(wanted, Qt::CaseInsensitive)) {
            continue;
        }
        auto* item = new QListWidgetItem(entry.Text, typeList_);
        item->setData(Qt::UserRole, entry.Value);
        if (entry.Value == chosen) {
            typeList_->setCurrentItem(item);
        }
    }
    if (typeList_->currentItem() == nullptr && typeList_->count() > 0) {
        typeList_->setCurrentRow(0);
    }
}

void ObjectsDock::showObjects(const std::vector<ObjectsDockEntry>& objects, int selected) {
    filling_ = true;
    objectList_->clear();
    for (const ObjectsDockEntry& entry : objects) {
        auto* item = new QListWidgetItem(entry.Text, objectList_);
        item->setData(Qt::UserRole, entry.Value);
        if (entry.Value == selected) {
            objectList_->setCurrentItem(item);
        }
    }
    filling_ = false;
}

void ObjectsDock::showObjectFields(const std::optional<TEditorObject>& object, bool secondGame,
                                   bool thirdGame) {
    filling_ = true;
    shown_ = object;
    fields_->setEnabled(object.has_value());
    const TEditorObject o = object.value_or(TEditorObject{});
    const ObjectKind kind = object ? o.KindOf() : ObjectKind::Item;
    const bool item = kind == ObjectKind::Item, statik = kind == ObjectKind::Static;
    const bool light = kind == ObjectKind::Light, camera = kind == ObjectKind::Camera;
    QString kindName = ObjectKindName(kind);
    kindName[0] = kindName[0].toUpper();
    chosenLabel_->setText(
        object ? QString("%1 in room %2, x %3, z %4").arg(kindName).arg(o.Room).arg(o.X).arg(o.Z)
               : QString("No object chosen"));
    angleField_->setValue(DegreesOfAngle(o.Angle));
    angleField_->setEnabled(item || statik);
    typeField_->setValue(o.Type);
    typeField_->setEnabled(item || statik);
    onFloorBox_->setChecked(o.OnFloor != 0);
    yField_->setValue(o.Y);
    yField_->setEnabled(o.OnFloor == 0);
    for (int bit = 0; bit < 5; ++bit) {
        activationBoxes_[bit]->setChecked(o.Flags & (1u << (9 + bit)));
        activationBoxes_[bit]->setEnabled(item);
    }
    invisibleBox_->setChecked(o.Flags & ItemInvisibleFlag);
    invisibleBox_->setEnabled(item);
    flagsField_->setValue(o.Flags);
    flagsField_->setEnabled(item || camera);
    intensityField_->setValue(std::clamp(o.Intensity, -1, 65535));
    intensityField_->setEnabled(!camera);
    intensity2Field_->setValue(std::clamp(o.Intensity2, -1, 65535));
    intensity2Field_->setEnabled(secondGame && !camera);
    fadeField_->setValue(static_cast<int>(std::min<uint32_t>(o.Fade, 2000000000)));
    fadeField_->setEnabled(light);
    colourField_->setText(QString("#%1").arg(o.Colour & 0xFFFFFF, 6, 16, QChar('0')).toUpper());
    colourField_->setEnabled(light && thirdGame);
    filling_ = false;
}

void ObjectsDock::emitEdited() {
    if (filling_ || !shown_) {
        return;
    }
    TEditorObject o = *shown_;
    o.Angle = AngleOfDegrees(angleField_->value());
    o.Type = static_cast<int16_t>(typeField_->value());
    o.OnFloor = onFloorBox_->isChecked() ? 1 : 0;
    o.Y = yField_->value();
    // The flag boxes and the flags field say the same: the one the user touched counts.
    uint16_t flags = static_cast<uint16_t>(flagsField_->value());
    if (flags == shown_->Flags) {
        flags &= static_cast<uint16_t>(~(ItemActivationMask | ItemInvisibleFlag));
        for (int bit = 0; bit < 5; ++bit) {
            if (activationBoxes_[bit]->isChecked()) {
                flags |= static_cast<uint16_t>(1u << (9 + bit));
            }
        }
        if (invisibleBox_->isChecked()) {
            flags |= ItemInvisibleFlag;
        }
    }
    o.Flags = flags;
    o.Intensity = intensityField_->value();
    o.Intensity2 = intensity2Field_->value();
    o.Fade = static_cast<uint32_t>(fadeField_->value());
    bool ok = false;
    const uint32_t colour = colourField_->text().mid(1).toUInt(&ok, 16);
    if (ok) {
        o.Colour = colour;
    }
    emit objectEdited(o);
}

std::optional<TEditorObject> ObjectsDock::objectToPlace() const {
    if (!placeButton_->isChecked()) {
        return std::nullopt;
    }
    const ObjectKind kind = chosenKind();
    int type = 0;
    if (HasTypes(kind)) {
        if (typeList_->currentItem() == nullptr) {
            return std::nullopt;
        }
        type = typeList_->currentItem()->data(Qt::UserRole).toInt();
    }
    return NewObject(kind, 0, 0, 0, type);
}

void ObjectsDock::stopPlacing() {
    placeButton_->setChecked(false);
}

} // namespace morvane
