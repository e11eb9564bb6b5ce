#include "ui/build_dialog.h"

#include "ui/document_text.h"
#include "ui/named_controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane {

BuildDialog::BuildDialog(UiServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName("buildDialog");
    setWindowTitle("Build Level File");
    setMinimumWidth(560);
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("Auxiliar Files", this);
    auto* grid = new QGridLayout(group);
    // A field and, for a file, the "Browse" button that fills it from a file dialog.
    struct Row {
        const char* label;
        const char* name;
        QLineEdit** field;
        const FileDialogOptions* browse;
        const char* browseName;
        bool save;
    };
    const Row rows[] = {
        {"Level's Descrip", "levelDescriptionField", &levelDescriptionField, nullptr, nullptr,
         false},
        {"Comments", "commentsField", &commentsField, nullptr, nullptr, false},
        {"Base Level", "baseLevelField", &baseLevelField, &FileDialogs::openLevel(),
         "browseBaseLevelButton", false},
        {"Items Table", "itemsTableField", &itemsTableField, &FileDialogs::openItemsTable(),
         "browseItemsTableButton", false},
        {"Meshes File", "meshesFileField", &meshesFileField, &FileDialogs::openMeshesFile(),
         "browseMeshesFileButton", false},
        {"Scripting File", "scriptFileField", &scriptFileField, &FileDialogs::openScript(),
         "browseScriptFileButton", false},
        {"File's Name", "outputLevelField", &outputLevelField, &FileDialogs::saveLevel(),
         "browseOutputLevelButton", true},
    };
    int line = 0;
    for (const Row& row : rows) {
        auto* field = named(new QLineEdit(group), row.name);
        *row.field = field;
        grid->addWidget(new QLabel(row.label, group), line, 0);
        grid->addWidget(field, line, 1);
        if (row.browse != nullptr) {
            auto* browse = named(new QPushButton("Browse", group), row.browseName);
            grid->addWidget(browse, line, 2);
            const FileDialogOptions* options = row.browse;
            const bool save = row.save;
            connect(browse, &QPushButton::clicked, this, [this, field, options, save] {
                const auto chosen = save ? services_.askSaveFile(this, *options)
                                         : services_.askOpenFile(this, *options);
                if (chosen) {
                    field->setText(*chosen);
                }
            });
        }
        ++line;
    }
    layout->addWidget(group);
    auto* buttons = new QHBoxLayout();
    auto* build = named(new QPushButton("Build Level", this), "buildButton");
    build->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(build);
    buttons->addWidget(closingButton(this, "Cancel", "cancelButton", DialogAnswer::Reject));
    layout->addLayout(buttons);
    connect(build, &QPushButton::clicked, this, &BuildDialog::buildLevelClicked);
}

void BuildDialog::buildLevelClicked() {
    if (outputLevelField->text().trimmed().isEmpty()) {
        // The dialog stays open, and says why.
        services_.showMessage(this, EmptyOutputLevelText);
        outputLevelField->setFocus();
        return;
    }
    if (const QString refused = unstorableSettingMessage(); !refused.isEmpty()) {
        services_.showMessage(this, refused); // the dialog stays open to mend it
        return;
    }
    accept();
}

BuildSettings BuildDialog::settings() const {
    BuildSettings s;
    s.LevelDescription = toDocumentText(levelDescriptionField->text());
    s.Comments = toDocumentText(commentsField->text());
    s.BaseLevelFile = toDocumentText(baseLevelField->text());
    s.ItemsTableFile = toDocumentText(itemsTableField->text());
    s.MeshesFile = toDocumentText(meshesFileField->text());
    s.ScriptFile = toDocumentText(scriptFileField->text());
    s.OutputLevelFile = toDocumentText(outputLevelField->text());
    return s;
}

QString BuildDialog::unstorableSettingMessage() const {
    const std::pair<const char*, const QLineEdit*> fields[] = {
        {"The level's description", levelDescriptionField},
        {"The comments", commentsField},
        {"The base level's file name", baseLevelField},
        {"The items table's file name", itemsTableField},
        {"The meshes file's name", meshesFileField},
        {"The script's file name", scriptFileField},
        {"The output level's file name", outputLevelField},
    };
    for (const auto& [what, field] : fields) {
        if (const QString message = unstorableTextMessage(what, field->text());
            !message.isEmpty()) {
            return message;
        }
    }
    return {};
}

BuildNames BuildDialog::buildNames() const {
    return {localPath(baseLevelField->text()), localPath(outputLevelField->text()),
            localPath(itemsTableField->text()), localPath(meshesFileField->text()),
            localPath(scriptFileField->text())};
}

void BuildDialog::setSettings(const BuildSettings& s) {
    levelDescriptionField->setText(fromDocumentText(s.LevelDescription));
    commentsField->setText(fromDocumentText(s.Comments));
    baseLevelField->setText(fromDocumentText(s.BaseLevelFile));
    itemsTableField->setText(fromDocumentText(s.ItemsTableFile));
    meshesFileField->setText(fromDocumentText(s.MeshesFile));
    scriptFileField->setText(fromDocumentText(s.ScriptFile));
    outputLevelField->setText(fromDocumentText(s.OutputLevelFile));
}

} // namespace morvane
