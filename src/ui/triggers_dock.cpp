#include "ui/triggers_dock.h"

#include "document/trigger_operations.h"
#include "document/trigger_text.h"
#include "ui/named_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace morvane {

namespace {

// The fields whose edits may become one step.
enum MergedField { TimerField = 1, NumberField, SecondsField };

QPushButton* PickButton(QWidget* parent, const char* name, const char* hint) {
    auto* button = named(new QPushButton("Pick", parent), name, hint);
    button->setCheckable(true);
    return button;
}

} // namespace

TriggersDock::TriggersDock(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    placeLabel_ = named(new QLabel(this), "triggerPlaceLabel");
    placeLabel_->setWordWrap(true);
    layout->addWidget(placeLabel_);

    auto* kindRow = new QHBoxLayout();
    kindBox_ = named(new QComboBox(this), "triggerKindBox", "What sets the trigger off");
    addButton_ = named(new QPushButton("Add", this), "addTriggerButton",
                       "Gives the chosen sectors a trigger of this kind");
    removeButton_ = named(new QPushButton("Remove", this), "removeTriggerButton",
                          "Takes the chosen sectors' triggers away");
    kindRow->addWidget(kindBox_, 1);
    kindRow->addWidget(addButton_);
    kindRow->addWidget(removeButton_);
    layout->addLayout(kindRow);

    fields_ = new QWidget(this);
    auto* form = new QFormLayout(fields_);
    form->setContentsMargins(0, 0, 0, 0);
    auto* timerRow = new QHBoxLayout();
    timerField_ = namedSpin(fields_, "triggerTimerField", 0, MaxTriggerTimer, 0,
                            "Seconds the objects stay on (0: until switched off)");
    onceBox_ = named(new QCheckBox("Once", fields_), "triggerOnceBox", "Fires only the first time");
    timerRow->addWidget(timerField_, 1);
    timerRow->addWidget(onceBox_);
    form->addRow("Timer", timerRow);
    auto* mask = new QHBoxLayout();
    const char* bitNames[5] = {"firstMaskBitBox", "secondMaskBitBox", "thirdMaskBitBox",
                               "fourthMaskBitBox", "fifthMaskBitBox"};
    for (int bit = 0; bit < 5; ++bit) {
        maskBoxes_[bit] = named(new QCheckBox(QString::number(bit + 1), fields_), bitNames[bit],
                                "An activation bit the trigger sets on its objects");
        mask->addWidget(maskBoxes_[bit]);
    }
    form->addRow("Mask", mask);
    deathBox_ = named(new QCheckBox("The floor kills Lara", fields_), "triggerDeathBox");
    form->addRow(deathBox_);
    auto* tiedRow = new QHBoxLayout();
    tiedBox_ = named(new QComboBox(fields_), "triggerTiedBox",
                     "The switch, keyhole or pickup a switch, key or pickup trigger belongs to");
    pickTiedButton_ = PickButton(fields_, "pickTiedObjectButton",
                                 "While down, a click on an item in the view ties it");
    tiedRow->addWidget(tiedBox_, 1);
    tiedRow->addWidget(pickTiedButton_);
    form->addRow("Tied to", tiedRow);

    form->addRow(new QLabel("Actions, in order", fields_));
    actionList_ = named(new QListWidget(fields_), "triggerActionList");
    form->addRow(actionList_);
    auto* actionButtons = new QHBoxLayout();
    addActionButton_ = named(new QPushButton("Add", fields_), "addTriggerActionButton");
    removeActionButton_ = named(new QPushButton("Remove", fields_), "removeTriggerActionButton");
    actionUpButton_ = named(new QPushButton("Up", fields_), "triggerActionUpButton");
    actionDownButton_ = named(new QPushButton("Down", fields_), "triggerActionDownButton");
    for (QPushButton* button :
         {addActionButton_, removeActionButton_, actionUpButton_, actionDownButton_}) {
        actionButtons->addWidget(button);
    }
    form->addRow(actionButtons);

    actionFields_ = new QWidget(fields_);
    auto* actionForm = new QFormLayout(actionFields_);
    actionForm->setContentsMargins(0, 0, 0, 0);
    actionKindBox_ = named(new QComboBox(actionFields_), "triggerActionKindBox");
    actionForm->addRow("Does", actionKindBox_);
    auto* targetRow = new QHBoxLayout();
    targetBox_ = named(new QComboBox(actionFields_), "triggerTargetBox",
                       "The item or camera the action names");
    pickTargetButton_ = PickButton(actionFields_, "pickTriggerTargetButton",
                                   "While down, a click on an object in the view names it");
    targetRow->addWidget(targetBox_, 1);
    targetRow->addWidget(pickTargetButton_);
    actionForm->addRow("Object", targetRow);
    numberField_ = namedSpin(actionFields_, "triggerNumberField", 0, MaxTriggerParameter, 0,
                             "The flip map's, secret's, soundtrack's or flip effect's number");
    actionForm->addRow("Number", numberField_);
    auto* secondsRow = new QHBoxLayout();
    secondsField_ = namedSpin(actionFields_, "triggerSecondsField", 0, MaxCameraSeconds, 0,
                              "How long the camera shows");
    cameraOnceBox_ = named(new QCheckBox("Only once", actionFields_), "triggerCameraOnceBox");
    secondsRow->addWidget(secondsField_, 1);
    secondsRow->addWidget(cameraOnceBox_);
    actionForm->addRow("Seconds", secondsRow);
    form->addRow(actionFields_);
    layout->addWidget(fields_);
    layout->addStretch(1);

    connect(addButton_, &QPushButton::clicked, this, [this] {
        const auto kind = static_cast<TriggerKind>(kindBox_->currentData().toInt());
        emit triggerEdited(WithTriggerKind(NewTrigger(0, 0, 0), kind, firstItem()), -1);
    });
    connect(removeButton_, &QPushButton::clicked, this, [this] { emit triggerRemoved(); });
    connect(kindBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && shown_) {
            const auto kind = static_cast<TriggerKind>(kindBox_->currentData().toInt());
            shown_ = WithTriggerKind(*shown_, kind, firstItem());
            edited();
        }
    });
    connect(timerField_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && shown_) {
            shown_->Timer = static_cast<uint8_t>(value);
            edited(TimerField);
        }
    });
    connect(onceBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shown_) {
            shown_->Once = on ? 1 : 0;
            edited();
        }
    });
    for (int bit = 0; bit < 5; ++bit) {
        connect(maskBoxes_[bit], &QCheckBox::toggled, this, [this, bit](bool on) {
            if (!filling_ && shown_) {
                shown_->Mask = static_cast<uint8_t>(on ? shown_->Mask | (1 << bit)
                                                       : shown_->Mask & ~(1 << bit));
                edited();
            }
        });
    }
    connect(deathBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shown_) {
            shown_->Death = on ? 1 : 0;
            edited();
        }
    });
    connect(tiedBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && shown_) {
            shown_->Object = static_cast<int16_t>(tiedBox_->currentData().toInt());
            edited();
        }
    });
    connect(actionList_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!filling_) {
            chosenAction_ = row;
            showActionFields();
        }
    });
    connect(addActionButton_, &QPushButton::clicked, this, [this] {
        if (!shown_ || shown_->ActionCount >= MaxTriggerActions) {
            return;
        }
        // An object to activate when there is an item, else the first action the layout has
        // that names nothing.
        TTriggerAction action = NewTriggerAction(TriggerActionKind::EndLevel);
        if (firstItem() >= 0) {
            action = NewTriggerAction(TriggerActionKind::Object, firstItem());
        }
        shown_->Actions[shown_->ActionCount++] = action;
        chosenAction_ = shown_->ActionCount - 1;
        edited();
    });
    connect(removeActionButton_, &QPushButton::clicked, this, [this] {
        const int at = chosenAction_;
        if (!shown_ || at < 0 || at >= shown_->ActionCount) {
            return;
        }
        std::copy(shown_->Actions + at + 1, shown_->Actions + shown_->ActionCount,
                  shown_->Actions + at);
        shown_->Actions[--shown_->ActionCount] = TTriggerAction{};
        chosenAction_ = std::min(at, shown_->ActionCount - 1);
        edited();
    });
    for (QPushButton* button : {actionUpButton_, actionDownButton_}) {
        const int step = button == actionUpButton_ ? -1 : 1;
        connect(button, &QPushButton::clicked, this, [this, step] {
            const int at = chosenAction_, to = chosenAction_ + step;
            if (!shown_ || at < 0 || to < 0 || to >= shown_->ActionCount) {
                return;
            }
            std::swap(shown_->Actions[at], shown_->Actions[to]);
            chosenAction_ = to;
            edited();
        });
    }
    connect(actionKindBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && shown_ && chosenAction_ >= 0) {
            const auto kind = static_cast<TriggerActionKind>(actionKindBox_->currentData().toInt());
            editAction(
                WithActionKind(shown_->Actions[chosenAction_], kind, firstItem(), firstCamera()));
        }
    });
    connect(targetBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_ && shown_ && chosenAction_ >= 0) {
            TTriggerAction action = shown_->Actions[chosenAction_];
            action.Value = static_cast<int16_t>(targetBox_->currentData().toInt());
            editAction(action);
        }
    });
    connect(numberField_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && shown_ && chosenAction_ >= 0) {
            TTriggerAction action = shown_->Actions[chosenAction_];
            action.Value = static_cast<int16_t>(value);
            editAction(action, NumberField);
        }
    });
    connect(secondsField_, &QSpinBox::valueChanged, this, [this](int value) {
        if (!filling_ && shown_ && chosenAction_ >= 0) {
            TTriggerAction action = shown_->Actions[chosenAction_];
            action.Seconds = static_cast<uint8_t>(value);
            editAction(action, SecondsField);
        }
    });
    connect(cameraOnceBox_, &QCheckBox::toggled, this, [this](bool on) {
        if (!filling_ && shown_ && chosenAction_ >= 0) {
            TTriggerAction action = shown_->Actions[chosenAction_];
            action.Once = on ? 1 : 0;
            editAction(action);
        }
    });
    // One Pick button waits at a time.
    for (QPushButton* button : {pickTiedButton_, pickTargetButton_}) {
        connect(button, &QPushButton::toggled, this, [this, button](bool down) {
            if (down) {
                QPushButton* other =
                    button == pickTiedButton_ ? pickTargetButton_ : pickTiedButton_;
                const QSignalBlocker blocker(other);
                other->setChecked(false);
            }
            emit waitingChanged(waitsForTarget());
        });
    }
    showLayout(0);
    showTrigger({}, std::nullopt);
}

void TriggersDock::showLayout(int32_t layout) {
    if (layout == layout_ && kindBox_->count() > 0) {
        return; // the boxes stay as they are (an open list stays open)
    }
    layout_ = layout;
    const bool was = filling_;
    filling_ = true;
    const int kind = kindBox_->currentData().isValid() ? kindBox_->currentData().toInt() : 0;
    kindBox_->clear();
    for (int k = 0; k <= LastTriggerKind; ++k) {
        if (LayoutHasTriggerKind(layout, k)) {
            kindBox_->addItem(QString::fromStdString(TriggerKindTitle(TriggerKind(k))), k);
        }
    }
    kindBox_->setCurrentIndex(std::max(0, kindBox_->findData(kind)));
    actionKindBox_->clear();
    for (int a = 0; a <= LastTriggerActionKind; ++a) {
        if (LayoutHasTriggerAction(layout, a)) {
            actionKindBox_->addItem(
                QString::fromStdString(TriggerActionTitle(TriggerActionKind(a))), a);
        }
    }
    filling_ = was;
    showActionFields();
}

void TriggersDock::showTargets(std::vector<ObjectsDockEntry> items,
                               std::vector<ObjectsDockEntry> cameras) {
    items_ = std::move(items);
    cameras_ = std::move(cameras);
    showTrigger(placeLabel_->text(), shown_);
}

void TriggersDock::fillTargetBox(QComboBox* box, const std::vector<ObjectsDockEntry>& entries,
                                 int value, bool allowNone) {
    box->clear();
    if (allowNone) {
        box->addItem("(none)", int(NoTriggerObject));
    }
    for (const ObjectsDockEntry& entry : entries) {
        box->addItem(entry.Text, entry.Value);
    }
    int at = box->findData(value);
    if (at < 0 && value != NoTriggerObject) { // a missing object still shows what it was
        box->addItem(QString("missing object %1").arg(value), value);
        at = box->count() - 1;
    }
    box->setCurrentIndex(std::max(at, 0));
}

void TriggersDock::showTrigger(const QString& place, const std::optional<TEditorTrigger>& trigger) {
    const bool was = filling_;
    filling_ = true;
    if (!shown_ || !trigger || shown_->Room != trigger->Room || shown_->Column != trigger->Column ||
        shown_->Row != trigger->Row) {
        chosenAction_ = trigger && trigger->ActionCount > 0 ? 0 : -1;
    }
    shown_ = trigger;
    placeLabel_->setText(place.isEmpty() ? QString("Click or drag over sectors with the trigger "
                                                   "tool to choose them.")
                                         : place);
    addButton_->setEnabled(!place.isEmpty() && !trigger);
    removeButton_->setEnabled(trigger.has_value());
    fields_->setEnabled(trigger.has_value());
    const TEditorTrigger shown = trigger.value_or(NewTrigger(0, 0, 0));
    if (trigger) {
        kindBox_->setCurrentIndex(std::max(0, kindBox_->findData(int(shown.Kind))));
    }
    timerField_->setValue(shown.Timer);
    onceBox_->setChecked(shown.Once != 0);
    for (int bit = 0; bit < 5; ++bit) {
        maskBoxes_[bit]->setChecked((shown.Mask >> bit) & 1);
    }
    deathBox_->setChecked(shown.Death != 0);
    fillTargetBox(tiedBox_, items_, shown.Object, true);
    tiedBox_->setEnabled(TriggerKindTiesObject(shown.KindOf()));
    pickTiedButton_->setEnabled(TriggerKindTiesObject(shown.KindOf()));
    chosenAction_ = std::min<int>(chosenAction_, shown.ActionCount - 1);
    fillActionList();
    filling_ = was;
    showActionFields();
}

void TriggersDock::fillActionList() {
    actionList_->clear();
    if (!shown_) {
        return;
    }
    auto label = [this](int index) {
        for (const auto* list : {&items_, &cameras_}) {
            for (const ObjectsDockEntry& entry : *list) {
                if (entry.Value == index) {
                    return entry.Text.toStdString();
                }
            }
        }
        return "missing object " + std::to_string(index);
    };
    for (int i = 0; i < std::min<int>(shown_->ActionCount, MaxTriggerActions); ++i) {
        actionList_->addItem(
            QString::fromStdString(TriggerActionText(*shown_, shown_->Actions[i], label)));
    }
    actionList_->setCurrentRow(chosenAction_);
}

void TriggersDock::showActionFields() {
    const bool was = filling_;
    filling_ = true;
    const bool chosen = shown_ && chosenAction_ >= 0 && chosenAction_ < shown_->ActionCount;
    actionFields_->setEnabled(chosen);
    removeActionButton_->setEnabled(chosen);
    actionUpButton_->setEnabled(chosen && chosenAction_ > 0);
    actionDownButton_->setEnabled(chosen && chosenAction_ + 1 < shown_->ActionCount);
    addActionButton_->setEnabled(shown_ && shown_->ActionCount < MaxTriggerActions);
    const TTriggerAction action =
        chosen ? shown_->Actions[chosenAction_] : NewTriggerAction(TriggerActionKind::EndLevel);
    const TriggerActionKind kind = action.KindOf();
    actionKindBox_->setCurrentIndex(std::max(0, actionKindBox_->findData(int(kind))));
    const bool names = TriggerActionNamesObject(kind) || TriggerActionNamesCamera(kind);
    fillTargetBox(targetBox_, TriggerActionNamesCamera(kind) ? cameras_ : items_,
                  names ? action.Value : NoTriggerObject, !names);
    targetBox_->setEnabled(names);
    pickTargetButton_->setEnabled(names);
    const TriggerNumberRange numbers = TriggerActionNumbers(kind);
    numberField_->setEnabled(numbers.Highest > 0);
    numberField_->setRange(numbers.Lowest, numbers.Highest);
    numberField_->setValue(numbers.Highest > 0 ? action.Value : 0);
    const bool camera = kind == TriggerActionKind::Camera;
    secondsField_->setEnabled(camera);
    cameraOnceBox_->setEnabled(camera);
    secondsField_->setValue(action.Seconds);
    cameraOnceBox_->setChecked(action.Once != 0);
    filling_ = was;
}

void TriggersDock::edited(int field) {
    if (shown_) {
        emit triggerEdited(*shown_, field);
    }
}

void TriggersDock::editAction(const TTriggerAction& action, int field) {
    shown_->Actions[chosenAction_] = action;
    edited(field);
}

int TriggersDock::firstItem() const {
    return items_.empty() ? NoTriggerObject : items_.front().Value;
}

int TriggersDock::firstCamera() const {
    return cameras_.empty() ? NoTriggerObject : cameras_.front().Value;
}

bool TriggersDock::waitsForTarget() const {
    return pickTiedButton_->isChecked() || pickTargetButton_->isChecked();
}

void TriggersDock::takeTarget(int object) {
    if (!shown_) {
        stopWaiting();
        return;
    }
    if (pickTiedButton_->isChecked()) {
        shown_->Object = static_cast<int16_t>(object);
        stopWaiting();
        edited();
    } else if (pickTargetButton_->isChecked() && chosenAction_ >= 0) {
        TTriggerAction action = shown_->Actions[chosenAction_];
        action.Value = static_cast<int16_t>(object);
        stopWaiting();
        editAction(action);
    }
}

void TriggersDock::stopWaiting() {
    for (QPushButton* button : {pickTiedButton_, pickTargetButton_}) {
        const QSignalBlocker blocker(button);
        button->setChecked(false);
    }
    emit waitingChanged(false);
}

int TriggersDock::chosenAction() const {
    return chosenAction_;
}

} // namespace morvane
