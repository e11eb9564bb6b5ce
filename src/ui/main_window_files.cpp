// The main window's file commands: new, open, save, save as, the recent files, open base and
// build, and the question about unsaved changes before the document is replaced. Each runs
// inside the window's guard, which shows a file error as a message.
#include "ui/main_window.h"

#include "document/editor_texts.h"
#include "document/project_file.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/level_reader.h"
#include "levelbuild/build_pipeline.h"
#include "ui/build_dialog.h"
#include "ui/document_text.h"
#include "ui/tool_bar_window.h"
#include "ui/user_folders.h"

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
    if (!maybeSaveChanges()) {
        return;
    }
    BusyCursor busy(services_);
    applyOutcome(NewProject(project_, scene_));
    heightSelectorLabel_->setText("1");
    projectFileName_.clear();
    documentReplaced(CaptionNew);
    redraw();
}

void MainWindow::openProject() {
    if (!maybeSaveChanges()) {
        return;
    }
    const auto path = services_.askOpenFile(this, FileDialogs::openProject());
    if (!path) {
        return;
    }
    BusyCursor busy(services_);
    openProjectFile(*path);
}

bool MainWindow::openProjectFile(const QString& path) {
    const bool opened = readProject(path, path);
    if (opened) {
        rememberRecent(path);
    }
    centerCamera();
    return opened;
}

bool MainWindow::readProject(const QString& file, const QString& name) {
    OpenProjectOutcome opened;
    try {
        opened = OpenProject(project_, scene_, localPath(file));
    } catch (const IoError& e) {
        services_.showMessage(this, QString::fromStdString(e.what()));
        return false; // read into a scratch record: the document and its name are as they were
    }
    if (!opened.Read.Done()) {
        services_.showMessage(this, QString::fromStdString(opened.Read.Text));
        return false;
    }
    projectFileName_ = name;
    refreshToolBar(*opened.Window.ToolBar);
    toolBar_->setNeighbourRoom(0);
    heightSelectorLabel_->setText("1");
    buildDialog_->setSettings(opened.Settings);
    documentReplaced(name.isEmpty() ? QString(CaptionNew) : CaptionWithFilePrefix + name);
    readBaseLevelOf(opened.Settings.BaseLevelFile);
    return true;
}

// The project's base level, when that file exists, gives the textures. One that cannot be read
// is reported; it is then not taken as read, so a build reads it again and says why it fails.
void MainWindow::readBaseLevelOf(const std::string& documentFileName) {
    const std::string base = localPath(fromDocumentText(documentFileName));
    if (!FileExists(base)) {
        return; // a missing base level is no error
    }
    try {
        const ReadResult read = OpenBaseLevel(level_, base);
        if (!read.Done()) {
            services_.showMessage(this, QString::fromStdString(read.Text));
        }
    } catch (const IoError& e) {
        services_.showMessage(this, QString::fromStdString(e.what()));
    }
    loadTexturePicker();
}

void MainWindow::openRecentFile(int index) {
    if (index < 0 || index >= static_cast<int>(recentFiles_.Paths().size())) {
        return;
    }
    const QString path = fromLocalPath(recentFiles_.Paths()[index]);
    if (!FileExists(localPath(path))) {
        services_.showMessage(this, FileNotFoundText);
        return;
    }
    if (maybeSaveChanges()) {
        openProjectFile(path);
    }
}

bool MainWindow::saveTo(const QString& path) {
    // A setting that the file cannot hold is never stored changed: the save is refused.
    if (const QString refused = buildDialog_->unstorableSettingMessage(); !refused.isEmpty()) {
        services_.showMessage(this, refused);
        return false;
    }
    BusyCursor busy(services_);
    SaveProject(project_, buildDialog_->settings(), localPath(path));
    projectFileName_ = path;
    documentSaved(CaptionWithFilePrefix + path);
    rememberRecent(path);
    return true;
}

bool MainWindow::saveProject() {
    if (projectFileName_.isEmpty()) {
        const auto path = services_.askSaveFile(this, FileDialogs::saveProject());
        if (!path) {
            return false;
        }
        return saveTo(*path);
    }
    return saveTo(projectFileName_);
}

void MainWindow::saveProjectAs() {
    const auto path = services_.askSaveFile(this, FileDialogs::saveProject());
    if (path) {
        saveTo(*path);
    }
}

bool MainWindow::maybeSaveChanges() {
    if (!isModified()) {
        return true;
    }
    switch (services_.askSaveChanges(this, projectFileName_)) {
    case SaveChoice::Cancel:
        return false;
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Save:
        break;
    }
    try {
        return saveProject();
    } catch (const IoError& e) {
        // Disk full, a folder that cannot be written: the document stays, still marked.
        services_.showMessage(this, QString::fromStdString(e.what()));
        return false;
    }
}

// The list lives in the user's config folder, never beside the program; empty when no such
// folder is known.
std::string MainWindow::recentListPath() const {
    return UserConfigFile(RecentFilesName).toStdString();
}

// At start: the list of the config folder, or once the one an older version kept beside the
// program.
void MainWindow::loadRecentFiles() {
    recentFiles_.LoadTakingOver(recentListPath(), programFolder_ + "/" + RecentFilesName);
    refreshRecentMenu();
}

void MainWindow::rememberRecent(const QString& path) {
    recentFiles_.Remember(localPath(path));
    try {
        recentFiles_.Save(recentListPath());
    } catch (const IoError&) {
        // A config folder that cannot be written (or none) keeps the list for this run only.
    }
    refreshRecentMenu();
}

// The recent files follow a separator at the end of the File menu; their actions are named
// by their place in the list ("recentFile1" is the newest).
void MainWindow::refreshRecentMenu() {
    const auto& paths = recentFiles_.Paths();
    if (recentSeparator_ == nullptr) {
        recentSeparator_ = fileMenu_->addSeparator();
    }
    while (recentActions_.size() < paths.size()) {
        const int index = static_cast<int>(recentActions_.size());
        QAction* action = fileMenu_->addAction("");
        action->setObjectName(QString("recentFile%1").arg(index + 1));
        connect(action, &QAction::triggered, this,
                [this, index] { runGuarded([this, index] { openRecentFile(index); }); });
        recentActions_.push_back(action);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        recentActions_[i]->setText(QString("&%1 %2").arg(i + 1).arg(fromLocalPath(paths[i])));
    }
}

void MainWindow::openBaseLevel() {
    const auto path = services_.askOpenFile(this, FileDialogs::openLevel());
    if (!path) {
        return;
    }
    // The project keeps the base level's name: one it cannot store is not taken.
    if (const QString refused = unstorableTextMessage("The base level's file name", *path);
        !refused.isEmpty()) {
        services_.showMessage(this, refused);
        return;
    }
    redraw();
    BusyCursor busy(services_);
    const ReadResult read = OpenBaseLevel(level_, localPath(*path));
    buildDialog_->baseLevelField->setText(*path);
    if (!read.Done()) {
        services_.showMessage(this, QString::fromStdString(read.Text));
    }
    loadTexturePicker();
}

void MainWindow::buildLevel() {
    const int answer = services_.runModal(*buildDialog_);
    updateCaption(); // the dialog's settings may have changed
    if (answer != QDialog::Accepted) {
        return;
    }
    buildWithDialogSettings();
}

bool MainWindow::buildWithDialogSettings() {
    if (const QString refused = buildDialog_->unstorableSettingMessage(); !refused.isEmpty()) {
        services_.showMessage(this, refused);
        return false;
    }
    redraw();
    BusyCursor busy(services_);
    saveRecoveryCopyQuietly(); // a build that brings the editor down keeps the work
    const BuildResult result =
        BuildLevel(project_, level_, buildDialog_->buildNames(), programFolder_, script_);
    if (result.BaseLevelRead) {
        loadTexturePicker();
    }
    showBuildReport(result);
    return result.Written;
}

} // namespace morvane
