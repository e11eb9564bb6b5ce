#include "ui/ui_services.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace morvane {

namespace {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogSpec& spec, bool save) {
    QFileDialog dialog(parent, spec.Title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : (spec.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
    // The filter shows its own description; the patterns in brackets are hidden.
    dialog.setNameFilter(spec.Description + " (" + spec.Patterns + ")");
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.ConfirmOverwrite);
    if (!spec.DefaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(spec.DefaultSuffix);
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

std::optional<QString> QtServices::AskOpenFile(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, false);
}

std::optional<QString> QtServices::AskSaveFile(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, true);
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

const FileDialogSpec& OpenProject() {
    static const FileDialogSpec spec{
        "Open MVN file", "Morvane3D 's File  (*.MVN)", "*.mvn", "mvn", true, false};
    return spec;
}
const FileDialogSpec& SaveProject() {
    static const FileDialogSpec spec{"", "Morvane3D 's File  (*.MVN)", "*.mvn", "mvn", false, true};
    return spec;
}
const FileDialogSpec& OpenLevel() {
    static const FileDialogSpec spec{
        "", "All Tomb Raider Files (*.phd, *.tub, *.tr2)", "*.phd *.tub *.tr2", "", false, false};
    return spec;
}
const FileDialogSpec& OpenItemsTable() {
    static const FileDialogSpec spec{"",   "ZorvItem file format  (*.itm)", "*.itm", "", false,
                                     false};
    return spec;
}
const FileDialogSpec& OpenMeshesFile() {
    static const FileDialogSpec spec{"",   "Meshview file format  (*.msh)", "*.msh", "", false,
                                     false};
    return spec;
}
const FileDialogSpec& OpenScript() {
    static const FileDialogSpec spec{"", "Scripting File  (*.scp)", "*.scp", "", false, false};
    return spec;
}
const FileDialogSpec& SaveLevel() {
    static const FileDialogSpec spec{
        "", "All Tomb Raider Files  (*.phd, *.tub, *.tr2)", "*.phd *.tub *.tr2", "", false, true};
    return spec;
}

} // namespace FileDialogs

} // namespace morvane
