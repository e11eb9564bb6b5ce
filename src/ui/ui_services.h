#pragma once

#include <QString>

#include <optional>

class QDialog;
class QWidget;

namespace morvane {

// A file dialog as the editor asks for it. The description is the text the dialog shows for
// its filter; the patterns are the file names it lists.
struct FileDialogOptions {
    QString title;
    QString description;
    QString patterns; // "*.phd *.tub *.tr2"
    QString defaultSuffix;
    bool mustExist = false;
    bool confirmOverwrite = false;
};

// The answers to "save the changes first?".
enum class SaveChoice { Save, Discard, Cancel };

// Everything by which the editor waits for the user: message boxes, file dialogs and its own
// modal dialogs, and the hourglass. The tests put answers of their own in its place.
class UiServices {
public:
    virtual ~UiServices() = default;
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    virtual std::optional<QString> askOpenFile(QWidget* parent,
                                               const FileDialogOptions& options) = 0;
    virtual std::optional<QString> askSaveFile(QWidget* parent,
                                               const FileDialogOptions& options) = 0;
    // Shows one of the editor's dialogs modally: QDialog::Accepted or QDialog::Rejected.
    virtual int runModal(QDialog& dialog) = 0;
    virtual void setBusy(bool busy) = 0;
    // Before the document with unsaved changes is replaced or the editor closes. The path is the
    // project's, empty for a project never saved.
    virtual SaveChoice askSaveChanges(QWidget* parent, const QString& projectPath) = 0;
    // At start, for work left unsaved by an editor that did not close: true opens the recovered
    // copy, false deletes it. The path is its project's, empty for a project never saved.
    virtual bool askOpenRecovery(QWidget* parent, const QString& projectPath) = 0;
};

// The real thing: Qt's message boxes and file dialogs, exec() and the wait cursor.
class QtServices : public UiServices {
public:
    void showMessage(QWidget* parent, const QString& text) override;
    std::optional<QString> askOpenFile(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> askSaveFile(QWidget* parent, const FileDialogOptions& options) override;
    int runModal(QDialog& dialog) override;
    void setBusy(bool busy) override;
    SaveChoice askSaveChanges(QWidget* parent, const QString& projectPath) override;
    bool askOpenRecovery(QWidget* parent, const QString& projectPath) override;
};

// The texts of those two questions.
QString saveChangesQuestion(const QString& projectPath);
QString openRecoveryQuestion(const QString& projectPath);

// The hourglass for as long as it lives.
class BusyCursor {
public:
    explicit BusyCursor(UiServices& services) : services_(services) { services_.setBusy(true); }
    ~BusyCursor() { services_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UiServices& services_;
};

// The editor's file dialogs, one for each kind of file it opens or writes.
namespace FileDialogs {
const FileDialogOptions& openProject();    // "&Open"
const FileDialogOptions& saveProject();    // "&Save" without a name, "Save &As..."
const FileDialogOptions& openLevel();      // "Open &Base", the build's base level
const FileDialogOptions& openItemsTable(); // the build's items table
const FileDialogOptions& openMeshesFile(); // the build's meshes file
const FileDialogOptions& openScript();     // the build's trigger script
const FileDialogOptions& saveLevel();      // the build's output level
} // namespace FileDialogs

inline constexpr const char* ApplicationTitle = "Morvane3D";

} // namespace morvane
