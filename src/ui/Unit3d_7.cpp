#include "ui/Unit3d_7.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane {

TForm7::TForm7(UiServices& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName("TForm7");
    setWindowTitle("Build Level File");
    setMinimumWidth(560);
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Auxiliar Files", this);
    auto* grid = new QGridLayout(group);
    struct Row {
        const char* Label;
        const char* Name;
        QLineEdit** Edit;
        const FileDialogOptions* Browse;
        bool Save;
    };
    const Row rows[] = {
        {"Level's Descrip", "Edit1", &Edit1, nullptr, false},
        {"Comments", "Edit2", &Edit2, nullptr, false},
        {"Base Level", "Edit3", &Edit3, &FileDialogs::OpenLevel(), false},
        {"Items Table", "Edit5", &Edit5, &FileDialogs::OpenItemsTable(), false},
        {"Meshes File", "Edit6", &Edit6, &FileDialogs::OpenMeshesFile(), false},
        {"Scripting File", "Edit7", &Edit7, &FileDialogs::OpenScript(), false},
        {"File's Name", "Edit4", &Edit4, &FileDialogs::SaveLevel(), true},
    };
    int line = 0;
    for (const Row& row : rows) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(row.Name);
        *row.Edit = edit;
        grid->addWidget(new QLabel(row.Label, group), line, 0);
        grid->addWidget(edit, line, 1);
        if (row.Browse != nullptr) {
            auto* browse = new QPushButton("Browse", group);
            browse->setObjectName(QString("Browse") + row.Name);
            grid->addWidget(browse, line, 2);
            const FileDialogOptions* options = row.Browse;
            const bool save = row.Save;
            connect(browse, &QPushButton::clicked, this, [this, edit, options, save] {
                const auto chosen = save ? services_.AskSaveFile(this, *options)
                                         : services_.AskOpenFile(this, *options);
                if (chosen) {
                    edit->setText(*chosen);
                }
            });
        }
        ++line;
    }
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout();
    auto* build = new QPushButton("Build Level", this);
    build->setObjectName("Button1");
    build->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("Button2");
    buttons->addStretch();
    buttons->addWidget(build);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(build, &QPushButton::clicked, this, &TForm7::BuildLevelClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm7::BuildLevelClicked() {
    if (!Edit4->text().trimmed().isEmpty()) {
        accept();
    }
}

BuildSettings TForm7::Settings() const {
    return {Edit1->text().toStdString(), Edit2->text().toStdString(), Edit3->text().toStdString(),
            Edit5->text().toStdString(), Edit6->text().toStdString(), Edit7->text().toStdString(),
            Edit4->text().toStdString()};
}

void TForm7::SetSettings(const BuildSettings& s) {
    Edit1->setText(QString::fromStdString(s.LevelDescription));
    Edit2->setText(QString::fromStdString(s.Comments));
    Edit3->setText(QString::fromStdString(s.BaseLevelFile));
    Edit5->setText(QString::fromStdString(s.ItemsTableFile));
    Edit6->setText(QString::fromStdString(s.MeshesFile));
    Edit7->setText(QString::fromStdString(s.ScriptFile));
    Edit4->setText(QString::fromStdString(s.OutputLevelFile));
}

} // namespace morvane
