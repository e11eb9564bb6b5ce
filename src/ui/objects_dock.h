#pragma once

#include "document/objects.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace morvane {

// A line of one of the dock's lists: what it stands for (a type, or an object's index in the
// layer) and what it shows.
struct ObjectsDockEntry {
    int Value = 0;
    QString Text;
};

// The objects dock: the base level's types to place (items or static meshes, with a search
// field), the current room's objects with their level index, and the chosen object's fields.
// It shows what the main window gives it and tells what the user did through its signals; the
// document changes only through the window's edits.
class ObjectsDock : public QWidget {
    Q_OBJECT
public:
    explicit ObjectsDock(QWidget* parent = nullptr);

    // The types of the base level: its item types and its static meshes.
    void showLevelTypes(std::vector<ObjectsDockEntry> items, std::vector<ObjectsDockEntry> statics);
    // The current room's objects (Value: the index in the layer), and the chosen one among them
    // (-1 for none).
    void showObjects(const std::vector<ObjectsDockEntry>& objects, int selected);
    // The chosen object's fields, or none; `secondGame` shows the second intensity, `thirdGame`
    // a light's colour.
    void showObjectFields(const std::optional<TEditorObject>& object, bool secondGame,
                          bool thirdGame);

    // While "Place" is down: an object of the chosen kind and type, for a click on the floor.
    std::optional<TEditorObject> objectToPlace() const;
    void stopPlacing();

signals:
    // A line of the objects list chosen (the object's index in the layer).
    void objectChosen(int index);
    // A field of the chosen object typed or ticked: the object as it would be.
    void objectEdited(const TEditorObject& object);

private:
    ObjectKind chosenKind() const;
    void fillTypeList();
    void emitEdited();

    QComboBox* kindBox_;
    QLineEdit* searchField_;
    QListWidget* typeList_;
    QPushButton* placeButton_;
    QListWidget* objectList_;

    QLabel* chosenLabel_;
    QSpinBox* angleField_;
    QSpinBox* typeField_;
    QCheckBox* onFloorBox_;
    QSpinBox* yField_;
    QCheckBox* activationBoxes_[5];
    QCheckBox* invisibleBox_;
    QSpinBox* flagsField_;
    QSpinBox* intensityField_;
    QSpinBox* intensity2Field_;
    QSpinBox* fadeField_;
    QLineEdit* colourField_;
    QWidget* fields_;

    std::vector<ObjectsDockEntry> itemTypes_;
    std::vector<ObjectsDockEntry> staticTypes_;
    std::optional<TEditorObject> shown_; // the object the fields show
    bool filling_ = false;               // the fields are being set from the document
};

} // namespace morvane
