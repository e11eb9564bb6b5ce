#pragma once

#include <QDialog>

namespace morvane {

// "About...": a picture and three lines on the program.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace morvane
