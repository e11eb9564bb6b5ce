// "Build and Play": the level built as "Build Level" builds it, then the user's program started on
// the written level, without waiting for it; and the setting that names that program.
#include "ui/main_window.h"

#include "io/play_command.h"
#include "ui/build_dialog.h"
#include "ui/document_text.h"
#include "ui/play_command_dialog.h"
#include "ui/user_folders.h"

#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace morvane {

namespace {

constexpr const char* PlayCommandKey = "play/command";
constexpr int PlayedProgramsLook = 2000; // ms

} // namespace

QString MainWindow::playCommand() const {
    return OpenUserSettings()->value(PlayCommandKey).toString();
}

void MainWindow::setPlayCommand(const QString& command) {
    OpenUserSettings()->setValue(PlayCommandKey, command.trimmed());
}

bool MainWindow::askPlayCommand() {
    playCommandDialog_->commandField->setText(playCommand());
    if (services_.runModal(*playCommandDialog_) != QDialog::Accepted) {
        return false;
    }
    setPlayCommand(playCommandDialog_->commandField->text());
    return !playCommand().isEmpty();
}

void MainWindow::buildAndPlay() {
    if (playCommand().isEmpty()) {
        services_.showMessage(this, NoPlayCommandText);
        if (!askPlayCommand()) {
            return;
        }
    }
    // One key from an edit to the game: the dialog only when the level to write has no name.
    if (buildDialog_->outputLevelField->text().trimmed().isEmpty()) {
        const int answer = services_.runModal(*buildDialog_);
        updateCaption(); // the dialog's settings may have changed
        if (answer != QDialog::Accepted) {
            return;
        }
    }
    if (!buildWithDialogSettings()) {
        return;
    }
    // The program may change its folder: it gets the level's full path.
    const std::string level =
        std::filesystem::absolute(buildDialog_->buildNames().OutputLevel).lexically_normal();
    const std::vector<std::string> words = PlayCommandWords(localPath(playCommand()), level);
    playedPrograms_.push_back(StartProgram(words)); // a program that cannot start: IoError
    // A program that ended leaves nothing behind once it is looked at.
    if (playedProgramsTimer_ == nullptr) {
        playedProgramsTimer_ = new QTimer(this);
        playedProgramsTimer_->setObjectName("playedProgramsTimer");
        playedProgramsTimer_->setInterval(PlayedProgramsLook);
        connect(playedProgramsTimer_, &QTimer::timeout, this, [this] {
            std::erase_if(playedPrograms_, [](int process) { return ProgramEnded(process); });
            if (playedPrograms_.empty()) {
                playedProgramsTimer_->stop();
            }
        });
    }
    playedProgramsTimer_->start();
    statusLabel_->setText(statusLabel_->text() + " — playing with " + fromLocalPath(words.front()));
}

} // namespace morvane
