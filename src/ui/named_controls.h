#pragma once

#include "ui/range_spin_box.h"

#include <QDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>

namespace morvane {

// The windows' controls carry the names (and hints) they are known by, so that the tests and
// the tool tips find them. A control's object name is the name of the member that holds it.
template <class Control>
Control* named(Control* control, const char* name, const char* hint = nullptr) {
    control->setObjectName(name);
    if (hint != nullptr) {
        control->setToolTip(hint);
    }
    return control;
}

// Number fields say their range when a key would take them out of it (see RangeSpinBox).
inline QSpinBox* namedSpin(QWidget* parent, const char* name, int minimum, int maximum, int value,
                           const char* hint = nullptr) {
    auto* spin = named(new RangeSpinBox(parent), name, hint);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

// A button that closes its dialog: accepting it ("OK") or rejecting it ("CANCEL").
enum class DialogAnswer { Accept, Reject };
inline QPushButton* closingButton(QDialog* dialog, const char* text, const char* name,
                                  DialogAnswer answer) {
    auto* button = named(new QPushButton(text, dialog), name);
    QObject::connect(button, &QPushButton::clicked, dialog,
                     answer == DialogAnswer::Accept ? &QDialog::accept : &QDialog::reject);
    return button;
}

} // namespace morvane
