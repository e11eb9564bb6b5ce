#include "ui/object_tool.h"

#include "document/edit_names.h"
#include "document/object_operations.h"
#include "document/sector_status.h"
#include "level/world_units.h"
#include "view/room_scene.h"

#include <cmath>

namespace morvane {

namespace {

std::function<std::string(const DocumentSnapshot&)> Named(const char* name) {
    return [name](const DocumentSnapshot&) { return std::string(name); };
}

} // namespace

std::optional<WorldPoint> ObjectTool::floorUnderPointer(const ViewHit& hit) {
    const TEditorProject& project = host_.document();
    if (!hit.IsSector() || !project.HasCurrentRoom() || hit.Sector < 1 ||
        hit.Sector > project.Current().SectorCount()) {
        return std::nullopt;
    }
    const TEditorRoom& room = project.Current();
    const int column = (hit.Sector - 1) / room.ZSectors, row = (hit.Sector - 1) % room.ZSectors;
    const int floorY =
        FloorYUnder(project, project.CurrentRoom, column * SectorSize + 1, row * SectorSize + 1);
    std::optional<WorldPoint> point = host_.pointerOnHeight(floorY);
    if (!point) {
        return std::nullopt;
    }
    // From the room's corner, and inside the sector the pick found (the point may fall just
    // beyond its edge when the floor is seen from the side).
    const double cornerX = double(room.PosX) * SectorSize, cornerZ = double(room.PosZ) * SectorSize;
    point->X = std::clamp(point->X - cornerX, column * double(SectorSize),
                          (column + 1) * double(SectorSize) - 1);
    point->Z = std::clamp(point->Z - cornerZ, row * double(SectorSize),
                          (row + 1) * double(SectorSize) - 1);
    return point;
}

void ObjectTool::placeAt(TEditorObject object, const WorldPoint& point, const char* name) {
    TEditorProject& project = host_.document();
    object.Room = project.CurrentRoom;
    object.X = static_cast<int32_t>(std::lround(point.X));
    object.Z = static_cast<int32_t>(std::lround(point.Z));
    if (!object.OnFloor && name == EditNames::PlaceObject) {
        object.Y = static_cast<int32_t>(std::lround(point.Y)) - SectorSize; // above the floor
    }
    const DocumentOutcome placed = host_.runEdit(
        Named(name), [&] { return PlaceObject(project, object); }, ObjectsScope(), -1);
    if (!placed.Refused) {
        host_.selectObject(static_cast<int>(project.Objects.Count) - 1);
    }
}

void ObjectTool::press(const ViewPointer&) {
    TEditorProject& project = host_.document();
    const ViewHit hit = host_.pickUnderPointer();
    gesture_ = Gesture{};
    if (hit.IsObject() && HasObject(project, hit.Object)) {
        host_.selectObject(hit.Object);
        const TEditorObject& object = project.Objects.Objects[hit.Object];
        const TEditorRoom& room = project.Room(object.Room);
        if (const auto point = host_.pointerOnHeight(ObjectY(project, object))) {
            gesture_ = {true, hit.Object, point->X - double(room.PosX) * SectorSize - object.X,
                        point->Z - double(room.PosZ) * SectorSize - object.Z,
                        host_.newGestureMerge()};
        }
        return;
    }
    if (const auto placing = host_.objectToPlace()) {
        if (const auto point = floorUnderPointer(hit)) {
            placeAt(*placing, *point, EditNames::PlaceObject);
            return;
        }
    }
    host_.selectObject(-1);
}

bool ObjectTool::drag(const ViewPointer& pointer) {
    TEditorProject& project = host_.document();
    if (!gesture_.Active || !HasObject(project, gesture_.Object)) {
        return false;
    }
    const TEditorObject object = project.Objects.Objects[gesture_.Object];
    const TEditorRoom& room = project.Room(object.Room);
    const double cornerX = double(room.PosX) * SectorSize, cornerZ = double(room.PosZ) * SectorSize;
    // On the floor's height where the object is, then where the pointer's point lies: a step
    // between them is met from above.
    std::optional<WorldPoint> point = host_.pointerOnHeight(ObjectY(project, object));
    if (point && object.OnFloor) {
        const int floorY =
            FloorYUnder(project, object.Room, static_cast<int>(point->X - cornerX - gesture_.GrabX),
                        static_cast<int>(point->Z - cornerZ - gesture_.GrabZ));
        if (const auto again = host_.pointerOnHeight(floorY)) {
            point = again;
        }
    }
    if (!point) {
        return true;
    }
    const int x = static_cast<int>(std::lround(point->X - cornerX - gesture_.GrabX));
    const int z = static_cast<int>(std::lround(point->Z - cornerZ - gesture_.GrabZ));
    const int index = gesture_.Object;
    host_.runEdit(
        Named(EditNames::MoveObject),
        [&] { return MoveObject(project, index, x, z, pointer.Keys.Ctrl); }, ObjectsScope(),
        gesture_.MergeId);
    host_.showWhatIsUnderPointer();
    return true;
}

void ObjectTool::release(const ViewPointer&) {
    gesture_ = Gesture{};
}

void ObjectTool::turnSelected(int degrees) {
    TEditorProject& project = host_.document();
    const int index = host_.selectedObject();
    if (!HasObject(project, index)) {
        return;
    }
    host_.runEdit(
        Named(EditNames::TurnObject), [&] { return TurnObject(project, index, degrees); },
        ObjectsScope(), -1);
}

bool ObjectTool::wheel(const ViewPointer& pointer, double notches) {
    const int selected = host_.selectedObject();
    if (!HasObject(host_.document(), selected) || notches == 0) {
        return false;
    }
    const ViewHit hit = host_.pickUnderPointer();
    if (!hit.IsObject() || hit.Object != selected) {
        return false; // the view zooms
    }
    turnSelected((notches > 0 ? 1 : -1) * TurnStep(pointer.Keys.Shift));
    return true;
}

bool ObjectTool::takesKey(int key, Qt::KeyboardModifiers modifiers) const {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    const bool turn = key == Qt::Key_Left || key == Qt::Key_Right;
    return (turn && (held == Qt::NoModifier || held == Qt::ShiftModifier)) ||
           IsDeleteCopyOrPaste(key, modifiers);
}

void ObjectTool::keyPress(int key, Qt::KeyboardModifiers modifiers) {
    TEditorProject& project = host_.document();
    const int selected = host_.selectedObject();
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        turnSelected((key == Qt::Key_Right ? 1 : -1) * TurnStep(shift));
        break;
    case Qt::Key_Delete:
        if (HasObject(project, selected)) {
            host_.runEdit(
                Named(EditNames::DeleteObject), [&] { return DeleteObject(project, selected); },
                ObjectsScope(), -1);
            host_.selectObject(-1);
        }
        break;
    case Qt::Key_C:
        if (HasObject(project, selected)) {
            clipboard_ = project.Objects.Objects[selected];
            host_.showStatus("Object copied");
        }
        break;
    case Qt::Key_V:
        if (clipboard_) {
            TEditorObject copy = *clipboard_;
            if (const auto point = floorUnderPointer(host_.pickUnderPointer())) {
                placeAt(copy, *point, EditNames::PasteObject);
            } else if (project.HasCurrentRoom()) {
                // Not over the floor: one sector on from the original, inside the current room.
                const TEditorRoom& room = project.Current();
                WorldPoint beside;
                beside.X = std::clamp(copy.X + SectorSize, 0, room.XSectors * SectorSize - 1);
                beside.Z = std::clamp(copy.Z, 0, room.ZSectors * SectorSize - 1);
                placeAt(copy, beside, EditNames::PasteObject);
            }
        }
        break;
    default:
        break;
    }
}

std::string ObjectTool::statusText(const ViewHit& hit) const {
    const TEditorProject& project = host_.document();
    if (hit.IsObject() && HasObject(project, hit.Object)) {
        return ObjectDescription(project, hit.Object,
                                 host_.objectTypeLabel(project.Objects.Objects[hit.Object]));
    }
    return SectorStatusText(project, host_.roomScene().NeighbourRoom, hit);
}

void ObjectTool::cancel() {
    gesture_ = Gesture{};
}

} // namespace morvane
