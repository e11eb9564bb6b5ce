#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
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
