// "File > Import Rooms from Level...": the rooms of a level become a new, unsaved document, and
// the level becomes its base level (its textures, the build's base).
#include "ui/main_window.h"

#include "document/editor_texts.h"
#include "document/project_file.h"
#include "document/tool_bar_view.h"
#include "import/import_report.h"
#include "import/level_import.h"
#include "ui/build_dialog.h"
#include "ui/document_text.h"
#include "ui/tool_bar_window.h"

#include <QLabel>
#include <QSpinBox>
#include <QUndoStack>

#include <memory>

namespace morvane {

void MainWindow::importRoomsFromLevel() {
    if (!maybeSaveChanges()) {
        return;
    }
    const auto path = services_.askOpenFile(this, FileDialogs::openLevel());
    if (!path) {
        return;
    }
    BusyCursor busy(services_);
    // Read and import beside the document: a level that is refused, or whose rooms cannot come
    // over, leaves the document and its base level as they were.
    auto level = std::make_unique<TLevelData>();
    auto project = std::make_unique<TEditorProject>();
    const LevelFileImport imported = ImportLevelFile(localPath(*path), *level, *project);
    if (!imported.Refusal.empty()) {
        services_.showMessage(this, QString::fromStdString(imported.Refusal));
        return;
    }
    const ImportResult& result = imported.Result;
    const QString title = "Import of " + *path;
    if (!imported.Imported()) {
        std::vector<ReportLine> lines = ImportReportLines(result);
        for (ReportLine& line : lines) {
            line.Place = {}; // no room came over: the places are not the open document's
        }
        showReport(title + " (nothing was imported)", lines);
        services_.showMessage(this,
                              "No room of " + *path + " could be imported." +
                                  (lines.size() > 1 ? " The Messages dock says why." : QString()));
        return;
    }

    level_.TakeFrom(*level);
    project_.ReplaceWith(*project);
    static_cast<SceneRooms&>(scene_) = SceneRooms{project_.CurrentRoom, 0, 0};
    refreshToolBar(ToolBarValues(project_));
    toolBar_->setNeighbourRoom(0);
    heightSelectorLabel_->setText("1");
    buildDialog_->setSettings(BuildSettingsOf(project_));
    projectFileName_.clear();
    documentReplaced(CaptionNew);
    undoStack_->resetClean(); // a new document that holds work: unsaved until it is saved
    updateCaption();
    loadTexturePicker();
    centerCamera();
    // The summary beside the read-out of Space, which writes over it; the whole report in the
    // Messages dock.
    statusLabel_->setText(QString::fromStdString(ImportSummary(result.Counts)));
    showReport(title, ImportReportLines(result));
}

} // namespace morvane
