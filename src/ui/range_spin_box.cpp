#include "ui/range_spin_box.h"

#include <QToolTip>

namespace morvane {

QString RangeText(int minimum, int maximum) {
    return QString("%1 to %2").arg(minimum).arg(maximum);
}

QValidator::State RangeSpinBox::validate(QString& text, int& position) const {
    const QValidator::State state = QSpinBox::validate(text, position);
    if (state == QValidator::Invalid) {
        lastRefusal_ = RangeText(minimum(), maximum());
        QToolTip::showText(mapToGlobal(rect().bottomLeft()), lastRefusal_,
                           const_cast<RangeSpinBox*>(this));
    }
    return state;
}

} // namespace morvane
