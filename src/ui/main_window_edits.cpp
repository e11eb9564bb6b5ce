// Every change of the document as one step of the undo history: the edit helper, the Edit
// menu, undo and redo, and the modified marker of the caption.
#include "ui/main_window.h"

#include "ui/build_dialog.h"
#include "ui/object_tool.h"
#include "ui/sector_tool.h"
#include "ui/tool_bar_window.h"
#include "ui/trigger_tool.h"

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

// One step: the change, the tool bar's neighbour room at either end of it (a step that made
// another room current gives the neighbour back with it), and the window that shows the
// document again after it.
class DocumentEditCommand : public QUndoCommand {
public:
    using Show = std::function<void(int neighbourRoom)>;

    DocumentEditCommand(Show show, TEditorProject& project, SceneRooms& scene, const QString& name,
                        DocumentChange change, int mergeId, int neighbourBefore, int neighbourAfter)
        : QUndoCommand(name), show_(std::move(show)), project_(project), scene_(scene),
          change_(std::move(change)), mergeId_(mergeId), rooms_(change_.ChangedRooms()),
          neighbourBefore_(neighbourBefore), neighbourAfter_(neighbourAfter) {}

    void undo() override {
        change_.ApplyBefore(project_, scene_);
        show_(neighbourBefore_);
    }
    void redo() override {
        if (done_) { // pushed: the operation has just run
            done_ = false;
            return;
        }
        change_.ApplyAfter(project_, scene_);
        show_(neighbourAfter_);
    }
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* later = static_cast<const DocumentEditCommand*>(other);
        if (later->rooms_ != rooms_) {
            return false;
        }
        change_.Append(later->change_);
        neighbourAfter_ = later->neighbourAfter_;
        setText(later->text()); // a drag after its press is named for what the two did
        return true;
    }

private:
    Show show_;
    TEditorProject& project_;
    SceneRooms& scene_;
    DocumentChange change_;
    int mergeId_;
    std::vector<int> rooms_;
    int neighbourBefore_;
    int neighbourAfter_;
    bool done_ = true;
};

} // namespace

void MainWindow::createEditMenu() {
    undoStack_ = new QUndoStack(this);
    undoStack_->setUndoLimit(UndoLimit);
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this] { updateCaption(); });

    editMenu_ = new QMenu("&Edit", this);
    editMenu_->setObjectName("editMenu");
    QAction* undo = undoStack_->createUndoAction(editMenu_, "&Undo");
    undo->setObjectName("undo");
    undo->setShortcut(QKeySequence("Ctrl+Z"));
    QAction* redo = undoStack_->createRedoAction(editMenu_, "&Redo");
    redo->setObjectName("redo");
    redo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    // Also while the tool bar or the texture picker has the focus (a modal dialog still takes
    // the keys, and a text field keeps its own Ctrl+Z).
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::ApplicationShortcut);
        editMenu_->addAction(action);
    }
}

DocumentSnapshot MainWindow::beginEdit(EditScope scope) {
    neighbourAtEditStart_ = toolBar_->state().NeighbourRoom;
    return DocumentSnapshot(project_, scene_, scope);
}

void MainWindow::finishEdit(const DocumentSnapshot& before, const EditName& name,
                            const DocumentOutcome& outcome, int mergeId) {
    std::optional<DocumentChange> change = before.Finish(project_, scene_, outcome);
    if (outcome.Refused) {
        redraw(); // a refused click may have written sectors before it stopped: they are back
        return;
    }
    if (change) {
        const QString text = QString::fromStdString(name(before));
        undoStack_->push(new DocumentEditCommand(
            [this](int neighbour) {
                toolBar_->setNeighbourRoom(neighbour);
                showDrawnNeighbour();
                refreshFromDocument();
            },
            project_, scene_, text, std::move(*change), mergeId, neighbourAtEditStart_,
            outcome.NeighbourField.value_or(toolBar_->state().NeighbourRoom)));
    }
}

DocumentOutcome MainWindow::edit(const EditName& name,
                                 const std::function<DocumentOutcome()>& operation, EditScope scope,
                                 int mergeId) {
    const DocumentSnapshot before = beginEdit(scope);
    const DocumentOutcome outcome = operation();
    finishEdit(before, name, outcome, mergeId);
    applyOutcome(outcome);
    return outcome;
}

DocumentOutcome MainWindow::edit(const char* name,
                                 const std::function<DocumentOutcome()>& operation, EditScope scope,
                                 int mergeId) {
    const std::string text = name;
    return edit([text](const DocumentSnapshot&) { return text; }, operation, scope, mergeId);
}

void MainWindow::refreshFromDocument() {
    refreshToolBar(ToolBarValues(project_));
    ClampHeightSelector(scene_, project_);
    heightSelectorLabel_->setText(QString::number(scene_.HeightSelector + 1));
    updateCaption();
    redraw();
}

bool MainWindow::isModified() const {
    return !undoStack_->isClean() || buildDialog_->settings() != savedSettings_;
}

void MainWindow::updateCaption() {
    setWindowTitle(isModified() ? captionBase_ + "*" : captionBase_);
}

void MainWindow::documentReplaced(const QString& caption) {
    undoStack_->clear();
    // A gesture or the sectors a drag chose belonged to the document that went.
    sectorTool_->cancel();
    objectTool_->cancel();
    triggerTool_->cancel();
    documentSaved(caption);
}

void MainWindow::documentSaved(const QString& caption) {
    undoStack_->setClean();
    savedSettings_ = buildDialog_->settings();
    captionBase_ = caption;
    updateCaption();
    discardRecoveryCopy();
}

} // namespace morvane
