#pragma once

#include "document/project_file.h"
#include "ui/ui_services.h"

#include <QDialog>

class QLineEdit;

namespace morvane {

// "Build Level File": the project's seven build settings; the build starts on "Build Level".
class TForm7 : public QDialog {
    Q_OBJECT
public:
    TForm7(UiServices& services, QWidget* parent = nullptr);

    BuildSettings Settings() const;
    void SetSettings(const BuildSettings& settings);

    // "Build Level": accepted only with a "File's Name" that is not blank.
    void BuildLevelClicked();

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7;

private:
    UiServices& services_;
};

} // namespace morvane
