#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace morvane {

// What "Build and Play" says when no program is named to play the level with.
inline constexpr const char* NoPlayCommandText =
    "No program is set to play the level with. Name one (for example a game engine that takes "
    "the level file as its argument) in the dialog that follows, or later with File > Play "
    "Command.";

// "Play Command": the program line that "Build and Play" starts on the written level, with
// "{level}" standing for the level's path.
class PlayCommandDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlayCommandDialog(QWidget* parent = nullptr);

    QLineEdit* commandField;
};

} // namespace morvane
