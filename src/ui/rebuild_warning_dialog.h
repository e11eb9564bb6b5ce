#pragma once

#include <QDialog>

namespace morvane {

// "WARNING !!!": confirms that a room's grid is rebuilt (its sectors' work is lost).
class RebuildWarningDialog : public QDialog {
    Q_OBJECT
public:
    explicit RebuildWarningDialog(QWidget* parent = nullptr);
};

} // namespace morvane
