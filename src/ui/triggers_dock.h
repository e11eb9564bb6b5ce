#pragma once

#include "document/triggers.h"
#include "ui/objects_dock.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace morvane {

// The triggers dock: the trigger of the sectors the trigger tool chose (the first one's; a change
// gives all of them the same trigger), its kind, timer, flags and tied object, and its actions in
// order with the object, camera or number each names. Objects and cameras are chosen from lists
// or, after "Pick", by a click on them in the view. It shows what the main window gives it and
// tells what the user did through its signals; the document changes only through the window's
// edits.
class TriggersDock : public QWidget {
    Q_OBJECT
public:
    explicit TriggersDock(QWidget* parent = nullptr);

    // The kinds and actions the level's layout has.
    void showLayout(int32_t layout);
    // The project's items and cameras the trigger may name (Value: the index in the layer).
    void showTargets(std::vector<ObjectsDockEntry> items, std::vector<ObjectsDockEntry> cameras);
    // The chosen sectors in words (empty: none chosen), and their trigger, or none.
    void showTrigger(const QString& place, const std::optional<TEditorTrigger>& trigger);

    // Whether a "Pick" button waits for an object clicked in the view, and the object clicked:
    // the tied object or the chosen action takes it.
    bool waitsForTarget() const;
    void takeTarget(int object);
    void stopWaiting();

    // The action chosen in the list (-1 for none).
    int chosenAction() const;

signals:
    // The trigger as it would be after a change ("Add" gives a new one of the chosen kind):
    // `field` is the same for edits of one field that may become one step (a number typed digit
    // by digit), -1 for an edit of its own.
    void triggerEdited(const TEditorTrigger& trigger, int field);
    void triggerRemoved();
    // A "Pick" button went down or up.
    void waitingChanged(bool waiting);

private:
    void fillActionList();
    void showActionFields();
    void fillTargetBox(QComboBox* box, const std::vector<ObjectsDockEntry>& entries, int value,
                       bool allowNone);
    void edited(int field = -1);
    void editAction(const TTriggerAction& action, int field = -1);
    int firstItem() const;
    int firstCamera() const;

    QLabel* placeLabel_;
    QComboBox* kindBox_;
    QPushButton* addButton_;
    QPushButton* removeButton_;
    QWidget* fields_;
    QSpinBox* timerField_;
    QCheckBox* onceBox_;
    QCheckBox* maskBoxes_[5];
    QCheckBox* deathBox_;
    QComboBox* tiedBox_;
    QPushButton* pickTiedButton_;
    QListWidget* actionList_;
    QPushButton* addActionButton_;
    QPushButton* removeActionButton_;
    QPushButton* actionUpButton_;
    QPushButton* actionDownButton_;
    QWidget* actionFields_;
    QComboBox* actionKindBox_;
    QComboBox* targetBox_;
    QPushButton* pickTargetButton_;
    QSpinBox* numberField_;
    QSpinBox* secondsField_;
    QCheckBox* cameraOnceBox_;

    int32_t layout_ = 0;
    std::vector<ObjectsDockEntry> items_, cameras_;
    std::optional<TEditorTrigger> shown_;
    int chosenAction_ = -1;
    bool filling_ = false;
};

} // namespace morvane
