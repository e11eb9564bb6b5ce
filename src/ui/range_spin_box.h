#pragma once

#include <QSpinBox>
#include <QString>

namespace morvane {

// "1 to 31": the numbers a field takes.
QString RangeText(int minimum, int maximum);

// A number field that says so when a key would take it out of its range: a spin box keeps "3"
// when "2" would make it 32 with 31 the most, and drops a "-" where no number is below 0, without
// a word; this one shows its range beside it then.
class RangeSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

    // What the field last said, empty before it refused anything (for the tests).
    const QString& lastRefusal() const { return lastRefusal_; }

protected:
    QValidator::State validate(QString& text, int& position) const override;

private:
    mutable QString lastRefusal_;
};

} // namespace morvane
