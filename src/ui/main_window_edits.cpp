// Every change of the document as one step of the undo history: the edit helper, the Edit
// menu, undo and redo, and the modified marker of the caption.
#include "ui/main_window.h"

#include "ui/build_dialog.h"
#include "ui/tool_bar_window.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QUndoCommand>
#include <QUndoStack>

namespace morvane {

namespace {

// The history keeps at least this many steps; a step holds only the bytes it changed.
constexpr int UndoLimit = 200;

// One step: the change and the window that shows the document again after it.
class DocumentEditCommand : public QUndoCommand {
public:
    DocumentEditCommand(MainWindow& window, TEditorProject& project, SceneRooms& scene,
                        const QString& name, DocumentChange change, int mergeId)
        : QUndoCommand(name), window_(window), project_(project), scene_(scene),
          change_(std::move(change)), mergeId_(mergeId), rooms_(change_.ChangedRooms()) {}

    void undo() override {
        change_.ApplyBefore(project_, scene_);
        window_.refreshFromDocument();
    }
    void redo() override {
        if (done_) { // pushed: the operation has just run
            done_ = false;
            return;
        }
        change_.ApplyAfter(project_, scene_);
        window_.refreshFromDocument();
    }
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* later = static_cast<const DocumentEditCommand*>(other);
        if (later->rooms_ != rooms_) {
            return false;
        }
        change_.Append(later->change_);
        return true;
    }

private:
    MainWindow& window_;
    TEditorProject& project_;
    SceneRooms& scene_;
    DocumentChange change_;
    int mergeId_;
    std::vector<int> rooms_;
    bool done_ = true;
};

} // namespace

void MainWindow::createEditMenu() {
    undoStack = new QUndoStack(this);
    undoStack->setUndoLimit(UndoLimit);
    connect(undoStack, &QUndoStack::cleanChanged, this, [this] { updateCaption(); });

    editMenu = new QMenu("&Edit", this);
    editMenu->setObjectName("editMenu");
    QAction* undo = undoStack->createUndoAction(editMenu, "&Undo");
    undo->setObjectName("undo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    QAction* redo = undoStack->createRedoAction(editMenu, "&Redo");
    redo->setObjectName("redo");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    // Also while the tool bar or the texture picker has the focus (a modal dialog still takes
    // the keys, and a text field keeps its own Ctrl+Z).
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        editMenu->addAction(action);
    }
}

DocumentSnapshot MainWindow::beginEdit(RoomScope scope) const {
    return DocumentSnapshot(project_, scene, scope);
}

void MainWindow::finishEdit(const DocumentSnapshot& before, const EditName& name,
                            const DocumentOutcome& outcome, int mergeId) {
    std::optional<DocumentChange> change = before.Finish(project_, scene, outcome);
    if (!outcome.Message.empty()) {
        redraw(); // a refused click may have written sectors before it stopped: they are back
        return;
    }
    if (change) {
        const QString text = QString::fromStdString(name(before));
        undoStack->push(
            new DocumentEditCommand(*this, project_, scene, text, std::move(*change), mergeId));
    }
}

void MainWindow::edit(const EditName& name, const std::function<DocumentOutcome()>& operation,
                      RoomScope scope, int mergeId) {
    const DocumentSnapshot before = beginEdit(scope);
    const DocumentOutcome outcome = operation();
    finishEdit(before, name, outcome, mergeId);
    applyOutcome(outcome);
}

void MainWindow::edit(const char* name, const std::function<DocumentOutcome()>& operation,
                      RoomScope scope, int mergeId) {
    const std::string text = name;
    edit([text](const DocumentSnapshot&) { return text; }, operation, scope, mergeId);
}

void MainWindow::refreshFromDocument() {
    refreshToolBar(ToolBarValues(project_));
    ClampHeightSelector(scene, project_);
    heightSelectorLabel->setText(QString::number(scene.HeightSelector + 1));
    updateCaption();
    redraw();
}

bool MainWindow::isModified() const {
    return !undoStack->isClean() || buildDialog->settings() != savedSettings_;
}

void MainWindow::updateCaption() {
    setWindowTitle(isModified() ? captionBase_ + "*" : captionBase_);
}

void MainWindow::documentReplaced(const QString& caption) {
    undoStack->clear();
    documentSaved(caption);
}

void MainWindow::documentSaved(const QString& caption) {
    undoStack->setClean();
    savedSettings_ = buildDialog->settings();
    captionBase_ = caption;
    updateCaption();
    discardRecoveryCopy();
}

} // namespace morvane
