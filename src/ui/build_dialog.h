#pragma once

#include "document/project_file.h"
#include "levelbuild/build_pipeline.h"
#include "ui/ui_services.h"

#include <QDialog>

class QLineEdit;

namespace morvane {

// What "Build Level" says when the output level has no name.
inline constexpr const char* EmptyOutputLevelText =
    "Give the level file to write a name in \"File's Name\" (Browse chooses one).";

// "Build Level File": the project's seven build settings; the build starts on "Build Level".
class BuildDialog : public QDialog {
    Q_OBJECT
public:
    BuildDialog(UiServices& services, QWidget* parent = nullptr);

    // The seven settings as the project keeps them (single-byte text).
    BuildSettings settings() const;
    void setSettings(const BuildSettings& settings);
    // The five file names for a build, as the file system names them.
    BuildNames buildNames() const;
    // The refusal of the first setting the project cannot store (a character beyond Latin-1),
    // naming it; empty when all seven can be stored.
    QString unstorableSettingMessage() const;

    // "Build Level": accepted only with a "File's Name" that is not blank (else it says so).
    void buildLevelClicked();

    QLineEdit* levelDescriptionField; // "Level's Descrip"
    QLineEdit* commentsField;
    QLineEdit* baseLevelField;
    QLineEdit* itemsTableField;
    QLineEdit* meshesFileField;
    QLineEdit* scriptFileField;
    QLineEdit* outputLevelField; // "File's Name"

private:
    UiServices& services_;
};

} // namespace morvane
