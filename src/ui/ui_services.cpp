#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace morvane {

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogOptions& options, bool save) {
    QFileDialog dialog(parent, options.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(
        save ? QFileDialog::AnyFile
             : (options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    // The filter shows its own description; the patterns in brackets are hidden.
    dialog.setNameFilter(options.description + " (" + options.patterns + ")");
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    if (!options.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(options.defaultSuffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

} // namespace

void QtServices::showMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, ApplicationTitle, text);
}

std::optional<QString> QtServices::askOpenFile(QWidget* parent, const FileDialogOptions& options) {
    return runFileDialog(parent, options, false);
}

std::optional<QString> QtServices::askSaveFile(QWidget* parent, const FileDialogOptions& options) {
    return runFileDialog(parent, options, true);
}

int QtServices::runModal(QDialog& dialog) {
    return dialog.exec();
}

void QtServices::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

QString saveChangesQuestion(const QString& projectPath) {
    if (projectPath.isEmpty()) {
        return "The new project has changes that are not saved. Save them?";
    }
    return "The project " + QFileInfo(projectPath).fileName() +
           " has changes that are not saved. Save them?";
}

QString openRecoveryQuestion(const QString& projectPath) {
    const QString which =
        projectPath.isEmpty() ? QString("a new project") : "the project " + projectPath;
    return "The editor did not close normally last time. A recovered copy of " + which +
           " holds changes that were not saved. Open the recovered copy?";
}

SaveChoice QtServices::askSaveChanges(QWidget* parent, const QString& projectPath) {
    QMessageBox box(QMessageBox::Warning, ApplicationTitle, saveChangesQuestion(projectPath),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName("saveChangesBox");
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

bool QtServices::askOpenRecovery(QWidget* parent, const QString& projectPath) {
    QMessageBox box(QMessageBox::Question, ApplicationTitle, openRecoveryQuestion(projectPath),
                    QMessageBox::Open | QMessageBox::Discard, parent);
    box.setObjectName("openRecoveryBox");
    box.setInformativeText("Discard deletes the recovered copy.");
    box.setDefaultButton(QMessageBox::Open);
    return box.exec() == QMessageBox::Open;
}

namespace FileDialogs {

const FileDialogOptions& openProject() {
    static const FileDialogOptions options{
        "Open MVN file", "Morvane3D 's File  (*.MVN)", "*.mvn", "mvn", true, false};
    return options;
}
const FileDialogOptions& saveProject() {
    static const FileDialogOptions options{"",  "Morvane3D 's File  (*.MVN)", "*.mvn", "mvn", false,
                                           true};
    return options;
}
const FileDialogOptions& openLevel() {
    static const FileDialogOptions options{
        "", "All Tomb Raider Files (*.phd, *.tub, *.tr2)", "*.phd *.tub *.tr2", "", false, false};
    return options;
}
const FileDialogOptions& openItemsTable() {
    static const FileDialogOptions options{
        "", "ZorvItem file format  (*.itm)", "*.itm", "", false, false};
    return options;
}
const FileDialogOptions& openMeshesFile() {
    static const FileDialogOptions options{
        "", "Meshview file format  (*.msh)", "*.msh", "", false, false};
    return options;
}
const FileDialogOptions& openScript() {
    static const FileDialogOptions options{"",   "Scripting File  (*.scp)", "*.scp", "", false,
                                           false};
    return options;
}
const FileDialogOptions& saveLevel() {
    static const FileDialogOptions options{
        "", "All Tomb Raider Files  (*.phd, *.tub, *.tr2)", "*.phd *.tub *.tr2", "", false, true};
    return options;
}

} // namespace FileDialogs

} // namespace morvane
