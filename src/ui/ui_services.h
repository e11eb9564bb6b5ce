#pragma once

#include <QString>

#include <optional>

class QDialog;
class QWidget;

namespace morvane {

// A file dialog as the editor asks for it. The description is the text the dialog shows for
// its filter; the patterns are the file names it lists.
struct FileDialogOptions {
    QString Title;
    QString Description;
    QString Patterns; // "*.phd *.tub *.tr2"
    QString DefaultSuffix;
    bool MustExist = false;
    bool ConfirmOverwrite = false;
};

// Everything by which the editor waits for the user: message boxes, file dialogs and its own
// modal dialogs, and the hourglass. The tests put answers of their own in its place.
class UiServices {
public:
    virtual ~UiServices() = default;
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    virtual std::optional<QString> AskOpenFile(QWidget* parent,
                                               const FileDialogOptions& options) = 0;
    virtual std::optional<QString> AskSaveFile(QWidget* parent,
                                               const FileDialogOptions& options) = 0;
    // Shows one of the editor's dialogs modally: QDialog::Accepted or QDialog::Rejected.
    virtual int RunModal(QDialog& dialog) = 0;
    virtual void SetBusy(bool busy) = 0;
};

// The real thing: Qt's message boxes and file dialogs, exec() and the wait cursor.
class QtServices : public UiServices {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    std::optional<QString> AskOpenFile(QWidget* parent, const FileDialogOptions& options) override;
    std::optional<QString> AskSaveFile(QWidget* parent, const FileDialogOptions& options) override;
    int RunModal(QDialog& dialog) override;
    void SetBusy(bool busy) override;
};

// The hourglass for as long as it lives.
class BusyCursor {
public:
    explicit BusyCursor(UiServices& services) : services_(services) { services_.SetBusy(true); }
    ~BusyCursor() { services_.SetBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    UiServices& services_;
};

// The editor's file dialogs.
namespace FileDialogs {
const FileDialogOptions& OpenProject();    // OpenDialog1
const FileDialogOptions& SaveProject();    // SaveDialog1
const FileDialogOptions& OpenLevel();      // OpenDialog2
const FileDialogOptions& OpenItemsTable(); // OpenDialog3
const FileDialogOptions& OpenMeshesFile(); // OpenDialog4
const FileDialogOptions& OpenScript();     // OpenDialog5
const FileDialogOptions& SaveLevel();      // SaveDialog2
} // namespace FileDialogs

inline constexpr const char* ApplicationTitle = "Morvane3D";

} // namespace morvane
