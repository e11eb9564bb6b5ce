#pragma once

#include <QDialog>
#include <QString>

namespace morvane {

// The text of the keys guide.
QString keysGuideText();

// "Keys Guide": the keys and mouse of the 3D view and the texture window.
class KeysGuideDialog : public QDialog {
    Q_OBJECT
public:
    explicit KeysGuideDialog(QWidget* parent = nullptr);
};

} // namespace morvane
