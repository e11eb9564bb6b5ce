#pragma once

#include <QSpinBox>
#include <QWidget>

namespace morvane {

// The windows' controls carry the names (and hints) they are known by, so that the tests and
// the tool tips find them.
template <class Control>
Control* Named(Control* control, const char* name, const char* hint = nullptr) {
    control->setObjectName(name);
    if (hint != nullptr) {
        control->setToolTip(hint);
    }
    return control;
}

inline QSpinBox* NamedSpin(QWidget* parent, const char* name, int minimum, int maximum, int value,
                           const char* hint = nullptr) {
    auto* spin = Named(new QSpinBox(parent), name, hint);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

} // namespace morvane
