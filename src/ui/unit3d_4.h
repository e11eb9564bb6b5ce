#pragma once

#include <QDialog>

namespace morvane {

// "WARNING !!!": confirms that a room's grid is rebuilt.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};

} // namespace morvane
