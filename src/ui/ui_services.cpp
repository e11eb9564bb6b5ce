#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace morvane {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogOptions& options, bool save) {
    QFileDialog dialog(parent, options.Title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(
        save ? QFileDialog::AnyFile
             : (options.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    // The filter shows its own description; the patterns in brackets are hidden.
    dialog.setNameFilter(options.Description + " (" + options.Patterns + ")");
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.ConfirmOverwrite);
    if (!options.DefaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(options.DefaultSuffix);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

} // namespace

void QtServices::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, ApplicationTitle, text);
}

std::optional<QString> QtServices::AskOpenFile(QWidget* parent, const FileDialogOptions& options) {
    return RunFileDialog(parent, options, false);
}

std::optional<QString> QtServices::AskSaveFile(QWidget* parent, const FileDialogOptions& options) {
    return RunFileDialog(parent, options, true);
}

int QtServices::RunModal(QDialog& dialog) {
    return dialog.exec();
}

void QtServices::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

namespace FileDialogs {

const FileDialogOptions& OpenProject() {
    static const FileDialogOptions options{
        "Open MVN file", "Morvane3D 's File  (*.MVN)", "*.mvn", "mvn", true, false};
    return options;
}
const FileDialogOptions& SaveProject() {
    static const FileDialogOptions options{"",  "Morvane3D 's File  (*.MVN)", "*.mvn", "mvn", false,
                                           true};
    return options;
}
const FileDialogOptions& OpenLevel() {
    static const FileDialogOptions options{
        "", "All Tomb Raider Files (*.phd, *.tub, *.tr2)", "*.phd *.tub *.tr2", "", false, false};
    return options;
}
const FileDialogOptions& OpenItemsTable() {
    static const FileDialogOptions options{
        "", "ZorvItem file format  (*.itm)", "*.itm", "", false, false};
    return options;
}
const FileDialogOptions& OpenMeshesFile() {
    static const FileDialogOptions options{
        "", "Meshview file format  (*.msh)", "*.msh", "", false, false};
    return options;
}
const FileDialogOptions& OpenScript() {
    static const FileDialogOptions options{"",   "Scripting File  (*.scp)", "*.scp", "", false,
                                           false};
    return options;
}
const FileDialogOptions& SaveLevel() {
    static const FileDialogOptions options{
        "", "All Tomb Raider Files  (*.phd, *.tub, *.tr2)", "*.phd *.tub *.tr2", "", false, true};
    return options;
}

} // namespace FileDialogs

} // namespace morvane
