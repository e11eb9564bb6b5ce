#include "ui/play_command_dialog.h"

#include "ui/named_controls.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace morvane {

PlayCommandDialog::PlayCommandDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("playCommandDialog");
    setWindowTitle("Play Command");
    setMinimumWidth(560);
    auto* layout = new QVBoxLayout(this);
    auto* explained = new QLabel(
        "The program that plays a level, and its arguments, as on a command line. "
        "<b>{level}</b> stands for the path of the level just built; without it, the path is "
        "given as the last argument. Double quotes keep blanks within an argument.<br>"
        "For example: <tt>\"/opt/my engine/play\" --level {level}</tt>",
        this);
    explained->setWordWrap(true);
    layout->addWidget(explained);
    commandField = named(new QLineEdit(this), "commandField",
                         "The program and its arguments; {level} is the level's path");
    layout->addWidget(commandField);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch();
    buttons->addWidget(closingButton(this, "OK", "okButton", DialogAnswer::Accept));
    buttons->addWidget(closingButton(this, "Cancel", "cancelButton", DialogAnswer::Reject));
    layout->addLayout(buttons);
}

} // namespace morvane
