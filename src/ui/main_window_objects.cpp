// The objects in the windows: the objects dock with the base level's types and the current
// room's objects, the object chosen in the view and the dock, its fields typed in the dock as
// undoable steps, and what the object tool asks of the window.
#include "ui/main_window.h"

#include "document/edit_names.h"
#include "document/object_operations.h"
#include "level/level_format.h"
#include "level/level_models.h"
#include "level/level_object_types.h"
#include "level/object_type_names.h"
#include "ui/document_text.h"
#include "ui/gl_panel.h"
#include "ui/objects_dock.h"
#include "ui/view_labels.h"
#include "view/view_matrix.h"

#include <QDockWidget>

#include <algorithm>

namespace morvane {

namespace {

// The dock's fields of one object edit one step of the history until another object is chosen.
constexpr int ObjectFieldsMerge = 500000;

} // namespace

void MainWindow::createObjectsDock() {
    models_ = std::make_unique<ModelLibrary>();
    viewLabels_ = new ViewLabels(viewPanel_);
    connect(viewPanel_, &GLPanel::framePainted, this, [this] { showObjectLabels(); });
    objectsDock_ = new ObjectsDock(this);
    connect(objectsDock_, &ObjectsDock::objectChosen, this,
            [this](int index) { selectObject(index); });
    connect(objectsDock_, &ObjectsDock::objectEdited, this, [this](const TEditorObject& object) {
        const int index = selectedObject_;
        edit(
            EditNames::ChangeObject, [&] { return ChangeObject(project_, index, object); },
            ObjectsScope(), ObjectFieldsMerge + index);
    });
}

std::string MainWindow::objectTypeLabel(const TEditorObject& object) const {
    if (object.Is(ObjectKind::Static)) {
        return std::to_string(object.Type);
    }
    return ObjectTypeLabel(level_.FormatKind, object.Type);
}

void MainWindow::showObjectLabels() {
    std::vector<ViewLabels::Label> labels;
    const int width = viewPanel_->Width(), height = viewPanel_->Height();
    const double ratio = viewPanel_->devicePixelRatioF();
    for (const RoomScene::ObjectLabel& label :
         scene_.ObjectLabels(viewport_.ClipTransform(), width, height)) {
        labels.push_back(
            {QPointF(label.WindowX, label.WindowY) / ratio, QString::fromStdString(label.Text)});
    }
    viewLabels_->setLabels(std::move(labels));
}

void MainWindow::showLevelObjectTypes() {
    models_->Build(level_);
    scene_.Models = models_.get();
    // The base level's types, and the other types the game knows, which are placed all the same
    // (the view shows them as markers and the build warns).
    std::vector<int> modelled = ModelledItemTypes(level_);
    std::vector<int> types = modelled;
    for (const ObjectTypeEntry& known : ObjectTypeTable(level_.FormatKind)) {
        types.push_back(known.id);
    }
    std::sort(types.begin(), types.end());
    types.erase(std::unique(types.begin(), types.end()), types.end());
    std::vector<ObjectsDockEntry> items, statics;
    for (int type : types) {
        QString text = QString::fromStdString(ObjectTypeLabel(level_.FormatKind, type));
        if (!std::binary_search(modelled.begin(), modelled.end(), type)) {
            text += " (no model)";
        }
        items.push_back({type, text});
    }
    for (int id : StaticMeshIds(level_)) {
        statics.push_back({id, QString::number(id)});
    }
    objectsDock_->showLevelTypes(std::move(items), std::move(statics));
}

void MainWindow::showObjects() {
    if (!HasObject(project_, selectedObject_)) {
        selectedObject_ = -1;
    }
    std::vector<ObjectsDockEntry> entries;
    for (uint32_t i = 0; i < project_.Objects.Count; ++i) {
        const TEditorObject& object = project_.Objects.Objects[i];
        if (object.Room != project_.CurrentRoom) {
            continue;
        }
        const int index = static_cast<int>(i);
        const QString text =
            QString::fromStdString(ObjectListName(project_, index, objectTypeLabel(object)));
        entries.push_back({index, text});
    }
    objectsDock_->showObjects(entries, selectedObject_);
    std::optional<TEditorObject> shown;
    if (selectedObject_ >= 0) {
        shown = project_.Objects.Objects[selectedObject_];
    }
    objectsDock_->showObjectFields(shown, UsesSecondGameRecords(level_.FormatKind),
                                   level_.FormatKind == FormatTR3);
    scene_.SelectedObject = selectedObject_;
}

int MainWindow::selectedObject() const {
    return selectedObject_;
}

void MainWindow::selectObject(int index) {
    selectedObject_ = HasObject(project_, index) ? index : -1;
    showObjects();
    viewport_.Redraw(); // the box is part of the scene's list; the rooms' lists stay
}

std::optional<TEditorObject> MainWindow::objectToPlace() const {
    return objectsDock_->objectToPlace();
}

std::optional<WorldPoint> MainWindow::pointerOnHeight(double worldY) {
    const Mat4 clip = viewport_.PickTransform(PickRegionSize) *
                      PlacementMatrix(scene_.Position, scene_.Scale, scene_.Rotation);
    return PointerOnHeight(clip, worldY);
}

} // namespace morvane
