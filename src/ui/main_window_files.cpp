// The main window's file commands: new, open, save, save as, the recent files, open base and
// build. Each runs inside the window's guard, which shows a file error as a message.
#include "ui/main_window.h"

#include "build/build_pipeline.h"
#include "document/editor_texts.h"
#include "document/project_file.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/level_reader.h"
#include "ui/build_dialog.h"
#include "ui/tool_bar_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

namespace morvane {

namespace {

constexpr const char* FileNotFoundText = " File not Found! ";

} // namespace

void MainWindow::newProject() {
    BusyCursor busy(services_);
    applyOutcome(NewProject(project_, scene));
    heightSelectorLabel->setText("1");
    setWindowTitle(CaptionNew);
    projectFileName.clear();
    redraw();
}

void MainWindow::openProject() {
    const auto path = services_.askOpenFile(this, FileDialogs::openProject());
    if (!path) {
        return;
    }
    BusyCursor busy(services_);
    openProjectFile(*path);
}

void MainWindow::openProjectFile(const QString& path) {
    const QString previous = projectFileName;
    projectFileName = path;
    try {
        const OpenProjectOutcome opened = OpenProject(project_, scene, path.toStdString());
        if (!opened.Message.empty()) {
            projectFileName = previous;
            services_.showMessage(this, QString::fromStdString(opened.Message));
        } else {
            refreshToolBar(*opened.Window.ToolBar);
            toolBar->neighbourRoomField->setValue(0);
            heightSelectorLabel->setText("1");
            setWindowTitle(QString::fromStdString(opened.Caption));
            buildDialog->setSettings(opened.Settings);
            if (opened.BaseLevelToRead) {
                ReadLevelFile(level_, *opened.BaseLevelToRead);
                level_.LastBaseLevelName = *opened.BaseLevelToRead;
                loadTexturePicker();
            }
            rememberRecent(path);
        }
    } catch (const IoError&) {
        projectFileName = previous;
        centerCamera();
        throw;
    }
    centerCamera();
}

void MainWindow::openRecentFile(int index) {
    if (index < 0 || index >= static_cast<int>(recentFiles.Paths().size())) {
        return;
    }
    const QString path = QString::fromStdString(recentFiles.Paths()[index]);
    if (!FileExists(path.toStdString())) {
        services_.showMessage(this, FileNotFoundText);
        return;
    }
    openProjectFile(path);
}

void MainWindow::saveTo(const QString& path) {
    BusyCursor busy(services_);
    const std::string caption = SaveProject(project_, buildDialog->settings(), path.toStdString());
    projectFileName = path;
    setWindowTitle(QString::fromStdString(caption));
    rememberRecent(path);
}

void MainWindow::saveProject() {
    if (projectFileName.isEmpty()) {
        const auto path = services_.askSaveFile(this, FileDialogs::saveProject());
        if (!path) {
            return;
        }
        projectFileName = *path;
    }
    saveTo(projectFileName);
}

void MainWindow::saveProjectAs() {
    const auto path = services_.askSaveFile(this, FileDialogs::saveProject());
    if (path) {
        saveTo(*path);
    }
}

std::string MainWindow::recentListPath() const {
    return programFolder_ + "/" + RecentFilesName;
}

void MainWindow::rememberRecent(const QString& path) {
    recentFiles.Remember(path.toStdString());
    try {
        recentFiles.Save(recentListPath());
    } catch (const IoError&) {
        // A program folder that cannot be written keeps the list for this run only.
    }
    refreshRecentMenu();
}

// The recent files follow a separator at the end of the File menu; their actions are named
// by their place in the list ("recentFile1" is the newest).
void MainWindow::refreshRecentMenu() {
    const auto& paths = recentFiles.Paths();
    if (recentSeparator_ == nullptr) {
        recentSeparator_ = fileMenu->addSeparator();
    }
    while (recentActions_.size() < paths.size()) {
        const int index = static_cast<int>(recentActions_.size());
        QAction* action = fileMenu->addAction("");
        action->setObjectName(QString("recentFile%1").arg(index + 1));
        connect(action, &QAction::triggered, this,
                [this, index] { runGuarded([this, index] { openRecentFile(index); }); });
        recentActions_.push_back(action);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        recentActions_[i]->setText(
            QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(paths[i])));
    }
}

void MainWindow::openBaseLevel() {
    const auto path = services_.askOpenFile(this, FileDialogs::openLevel());
    if (!path) {
        return;
    }
    redraw();
    BusyCursor busy(services_);
    const std::string message = OpenBaseLevel(level_, path->toStdString());
    buildDialog->baseLevelField->setText(*path);
    if (!message.empty()) {
        services_.showMessage(this, QString::fromStdString(message));
    }
    loadTexturePicker();
}

void MainWindow::buildLevel() {
    if (services_.runModal(*buildDialog) != QDialog::Accepted) {
        return;
    }
    redraw();
    BusyCursor busy(services_);
    const BuildSettings s = buildDialog->settings();
    const BuildResult result = BuildLevel(
        project_, level_,
        {s.BaseLevelFile, s.OutputLevelFile, s.ItemsTableFile, s.MeshesFile, s.ScriptFile},
        programFolder_, script);
    if (result.BaseLevelRead) {
        loadTexturePicker();
    }
    for (const std::string& message : result.Messages) {
        services_.showMessage(this, QString::fromStdString(message));
    }
}

} // namespace morvane
