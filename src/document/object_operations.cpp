#include "document/object_operations.h"

#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "document/shape_table.h"
#include "document/trigger_operations.h"
#include "level/world_units.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace morvane {

namespace {

DocumentOutcome Changed() {
    DocumentOutcome outcome;
    outcome.Redraw = true;
    return outcome;
}

int CountOf(const TEditorProject& project, ObjectKind kind, int room, int leaveOut) {
    int count = 0;
    for (uint32_t i = 0; i < project.Objects.Count; ++i) {
        const TEditorObject& o = project.Objects.Objects[i];
        if (static_cast<int>(i) != leaveOut && o.Is(kind) && (room == 0 || o.Room == room)) {
            ++count;
        }
    }
    return count;
}

bool HasAngle(const TEditorObject& object) {
    return object.Is(ObjectKind::Item) || object.Is(ObjectKind::Static);
}

} // namespace

bool IsLaraStart(const TEditorObject& object) {
    return object.Is(ObjectKind::Item) && object.Type == LaraItemType;
}

int LaraStartIndex(const TEditorProject& project) {
    for (uint32_t i = 0; i < project.Objects.Count; ++i) {
        if (IsLaraStart(project.Objects.Objects[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

uint16_t AngleOfDegrees(int degrees) {
    const int turned = ((degrees % 360) + 360) % 360;
    return static_cast<uint16_t>((turned * 65536 + 180) / 360);
}

int DegreesOfAngle(uint16_t angle) {
    return static_cast<int>((angle * 360L + 32768) / 65536) % 360;
}

const char* ObjectKindName(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Item:
        return "item";
    case ObjectKind::Camera:
        return "camera";
    case ObjectKind::Static:
        return "static";
    case ObjectKind::Light:
        return "light";
    }
    return "unknown";
}

std::optional<ObjectKind> ObjectKindOfName(const std::string& name) {
    for (ObjectKind kind :
         {ObjectKind::Item, ObjectKind::Camera, ObjectKind::Static, ObjectKind::Light}) {
        if (name == ObjectKindName(kind)) {
            return kind;
        }
    }
    return std::nullopt;
}

ObjectValueRange IntensityRange(ObjectKind kind) {
    constexpr int64_t highest = 8191; // 13 bits
    return {kind == ObjectKind::Light ? 0 : int64_t{RoomLitIntensity}, highest};
}

TEditorObject NewObject(ObjectKind kind, int room, int x, int z, int type) {
    TEditorObject object{};
    object.Kind = static_cast<uint8_t>(kind);
    object.Room = static_cast<uint8_t>(room);
    object.X = x;
    object.Z = z;
    object.OnFloor = kind == ObjectKind::Camera || kind == ObjectKind::Light ? 0 : 1;
    object.Type = static_cast<int16_t>(type);
    switch (kind) {
    case ObjectKind::Item:
    case ObjectKind::Static:
        object.Intensity = RoomLitIntensity;
        object.Intensity2 = RoomLitIntensity;
        break;
    case ObjectKind::Light:
        object.Intensity = 4096;
        object.Intensity2 = 4096;
        object.Fade = 4096;
        object.Colour = 0xFFFFFF;
        break;
    case ObjectKind::Camera:
        break;
    }
    return object;
}

std::optional<ObjectFieldProblem> CheckObjectFields(const TEditorProject& project,
                                                    const TEditorObject& object) {
    if (object.Kind < static_cast<uint8_t>(ObjectKind::Item) ||
        object.Kind > static_cast<uint8_t>(ObjectKind::Light)) {
        return ObjectFieldProblem{"kind", "unknown kind " + std::to_string(object.Kind)};
    }
    if (object.Room < 1 || object.Room > project.RoomCount) {
        return ObjectFieldProblem{"room", "room " + std::to_string(object.Room) +
                                              " does not exist (the project has " +
                                              std::to_string(project.RoomCount) + ")"};
    }
    const TEditorRoom& room = project.Room(object.Room);
    if (object.X < 0 || object.X >= room.XSectors * SectorSize) {
        return ObjectFieldProblem{"x", std::to_string(object.X) + " is outside room " +
                                           std::to_string(object.Room) + " (0 to " +
                                           std::to_string(room.XSectors * SectorSize - 1) + ")"};
    }
    if (object.Z < 0 || object.Z >= room.ZSectors * SectorSize) {
        return ObjectFieldProblem{"z", std::to_string(object.Z) + " is outside room " +
                                           std::to_string(object.Room) + " (0 to " +
                                           std::to_string(room.ZSectors * SectorSize - 1) + ")"};
    }
    if ((object.Is(ObjectKind::Item) || object.Is(ObjectKind::Static)) && object.Type < 0) {
        return ObjectFieldProblem{object.Is(ObjectKind::Item) ? "type" : "mesh",
                                  "a negative number (" + std::to_string(object.Type) + ")"};
    }
    if (object.OnFloor > 1) {
        return ObjectFieldProblem{"y", "the on-the-floor mark is " +
                                           std::to_string(object.OnFloor) + ", not 0 or 1"};
    }
    return std::nullopt;
}

std::string ObjectLimitProblem(const TEditorProject& project, const TEditorObject& object,
                               int replacing) {
    const auto leaveOut = HasObject(project, replacing) ? replacing : -1;
    switch (object.KindOf()) {
    case ObjectKind::Item: {
        if (IsLaraStart(object)) {
            const int lara = LaraStartIndex(project);
            if (lara >= 0 && lara != leaveOut) {
                return "The project already has Lara's start (object " + std::to_string(lara) + ")";
            }
        }
        // Without her own object the build puts Lara in the level all the same.
        const bool laraAdded = LaraStartIndex(project) < 0 && !IsLaraStart(object);
        const int items = CountOf(project, ObjectKind::Item, 0, leaveOut) + 1 + (laraAdded ? 1 : 0);
        if (items > MaxObjectItems) {
            return "A level holds at most " + std::to_string(MaxObjectItems) +
                   " items, Lara's included";
        }
        break;
    }
    case ObjectKind::Camera:
        if (CountOf(project, ObjectKind::Camera, 0, leaveOut) + 1 > MaxObjectCameras) {
            return "A level holds at most " + std::to_string(MaxObjectCameras) + " cameras";
        }
        break;
    case ObjectKind::Static:
        if (CountOf(project, ObjectKind::Static, object.Room, leaveOut) + 1 >
            MaxObjectStaticsPerRoom) {
            return "Room " + std::to_string(object.Room) + " holds at most " +
                   std::to_string(MaxObjectStaticsPerRoom) + " static meshes";
        }
        break;
    case ObjectKind::Light:
        if (CountOf(project, ObjectKind::Light, object.Room, leaveOut) + 1 >
            MaxObjectLightsPerRoom) {
            return "Room " + std::to_string(object.Room) + " holds at most " +
                   std::to_string(MaxObjectLightsPerRoom) + " lights";
        }
        break;
    }
    if (leaveOut < 0 && project.Objects.Count >= static_cast<uint32_t>(MaxObjects)) {
        return "The project holds at most " + std::to_string(MaxObjects) + " objects";
    }
    return {};
}

int ObjectLevelIndex(const TEditorProject& project, int index) {
    if (!HasObject(project, index)) {
        return -1;
    }
    const TEditorObject& object = project.Objects.Objects[index];
    if (IsLaraStart(object)) {
        return 0;
    }
    int before = 0;
    for (int i = 0; i < index; ++i) {
        const TEditorObject& other = project.Objects.Objects[i];
        if (other.Kind != object.Kind || IsLaraStart(other)) {
            continue;
        }
        if (object.Is(ObjectKind::Item) || object.Is(ObjectKind::Camera) ||
            other.Room == object.Room) {
            ++before;
        }
    }
    return object.Is(ObjectKind::Item) ? before + 1 : before;
}

int FloorYUnder(const TEditorProject& project, int room, int x, int z) {
    if (room < 1 || room > std::min<int>(project.RoomCount, MaxRooms)) {
        return 0;
    }
    const TEditorRoom& r = project.Room(room);
    if (r.XSectors < 1 || r.ZSectors < 1) {
        return RoomBottomY(r);
    }
    const int column = std::clamp(x / SectorSize + 1, 1, int(r.XSectors));
    const int row = std::clamp(z / SectorSize + 1, 1, int(r.ZSectors));
    const int n = SectorNumber(column, row, r.ZSectors);
    // FloorY is the floor's highest point; a slope is lower by its corners' heights, taken
    // between the corners at the point's place in the sector.
    const TShapeInfo& shape = ShapeTable[std::min<int>(r.Sector(n).FloorShape, HighestShape)];
    const double fx = std::clamp(double(x - (column - 1) * SectorSize) / SectorSize, 0.0, 1.0);
    const double fz = std::clamp(double(z - (row - 1) * SectorSize) / SectorSize, 0.0, 1.0);
    const int32_t* c = shape.CornerHeights;
    const double height =
        c[0] * (1 - fx) * (1 - fz) + c[1] * fx * (1 - fz) + c[2] * fx * fz + c[3] * (1 - fx) * fz;
    return FloorY(r, n) + shape.Rise * ClickSize - static_cast<int>(std::lround(height));
}

int ObjectY(const TEditorProject& project, const TEditorObject& object) {
    return object.OnFloor ? FloorYUnder(project, object.Room, object.X, object.Z) : object.Y;
}

std::string ObjectListName(const TEditorProject& project, int index, const std::string& typeLabel) {
    if (!HasObject(project, index)) {
        return "[missing object " + std::to_string(index) + "]";
    }
    const TEditorObject& object = project.Objects.Objects[index];
    const std::string level = "[" + std::to_string(ObjectLevelIndex(project, index)) + "] ";
    switch (object.KindOf()) {
    case ObjectKind::Item:
        return level + (IsLaraStart(object) ? std::string("Lara's start") : typeLabel);
    case ObjectKind::Static:
        return level + "Static mesh " + std::to_string(object.Type);
    case ObjectKind::Camera:
        return level + "Camera";
    case ObjectKind::Light:
        return level + "Light";
    }
    return level;
}

std::string ObjectDescription(const TEditorProject& project, int index,
                              const std::string& typeLabel) {
    if (!HasObject(project, index)) {
        return {};
    }
    const TEditorObject& object = project.Objects.Objects[index];
    const int level = ObjectLevelIndex(project, index);
    std::string text;
    switch (object.KindOf()) {
    case ObjectKind::Item:
        text = (IsLaraStart(object) ? "Lara's start" : "Item " + typeLabel) + ", level item " +
               std::to_string(level);
        break;
    case ObjectKind::Camera:
        text = "Camera " + std::to_string(level);
        break;
    case ObjectKind::Static:
        text = "Static mesh " + typeLabel + ", room's static " + std::to_string(level);
        break;
    case ObjectKind::Light:
        text = "Light, room's light " + std::to_string(level);
        break;
    }
    text += ": room " + std::to_string(object.Room) + ", x " + std::to_string(object.X) + ", z " +
            std::to_string(object.Z) + ", " +
            (object.OnFloor ? std::string("on the floor") : "y " + std::to_string(object.Y));
    if (HasAngle(object)) {
        text += ", angle " + std::to_string(DegreesOfAngle(object.Angle));
    }
    return text;
}

ObjectCounts CountObjects(const TEditorProject& project) {
    ObjectCounts counts;
    for (uint32_t i = 0; i < project.Objects.Count; ++i) {
        switch (project.Objects.Objects[i].KindOf()) {
        case ObjectKind::Item:
            ++counts.Items;
            break;
        case ObjectKind::Camera:
            ++counts.Cameras;
            break;
        case ObjectKind::Static:
            ++counts.Statics;
            break;
        case ObjectKind::Light:
            ++counts.Lights;
            break;
        }
    }
    return counts;
}

DocumentOutcome PlaceObject(TEditorProject& project, const TEditorObject& object) {
    if (const auto problem = CheckObjectFields(project, object)) {
        return DocumentOutcome::Refusal("The object was not placed: its " + problem->Field +
                                        " is " + problem->Text + ".");
    }
    if (const std::string limit = ObjectLimitProblem(project, object); !limit.empty()) {
        return DocumentOutcome::Refusal(limit + "; the object was not placed.");
    }
    project.Objects.Objects[project.Objects.Count++] = object;
    return Changed();
}

DocumentOutcome ChangeObject(TEditorProject& project, int index, const TEditorObject& object) {
    if (!HasObject(project, index)) {
        return {};
    }
    if (const auto problem = CheckObjectFields(project, object)) {
        return DocumentOutcome::Refusal("The object was not changed: its " + problem->Field +
                                        " is " + problem->Text + ".");
    }
    if (const std::string limit = ObjectLimitProblem(project, object, index); !limit.empty()) {
        return DocumentOutcome::Refusal(limit + "; the object was not changed.");
    }
    TEditorObject& target = project.Objects.Objects[index];
    if (std::memcmp(&target, &object, sizeof(object)) == 0) {
        return {};
    }
    const bool kindChanged = target.Kind != object.Kind;
    target = object;
    if (kindChanged) {
        // An item that became a camera (or the other way) no longer fits what named it.
        ForgetMissingTriggerObjects(project);
    }
    return Changed();
}

DocumentOutcome DeleteObject(TEditorProject& project, int index) {
    if (!HasObject(project, index)) {
        return {};
    }
    TObjectLayer& layer = project.Objects;
    std::memmove(&layer.Objects[index], &layer.Objects[index + 1],
                 (layer.Count - index - 1) * sizeof(TEditorObject));
    --layer.Count;
    layer.Objects[layer.Count] = TEditorObject{};
    ForgetTriggerObject(project, index);
    return Changed();
}

DocumentOutcome TurnObject(TEditorProject& project, int index, int degrees) {
    if (!HasObject(project, index) || !HasAngle(project.Objects.Objects[index])) {
        return {};
    }
    TEditorObject turned = project.Objects.Objects[index];
    turned.Angle = static_cast<uint16_t>(turned.Angle + AngleOfDegrees(degrees));
    return ChangeObject(project, index, turned);
}

DocumentOutcome MoveObject(TEditorProject& project, int index, int x, int z, bool snap) {
    if (!HasObject(project, index)) {
        return {};
    }
    TEditorObject moved = project.Objects.Objects[index];
    if (moved.Room < 1 || moved.Room > project.RoomCount) {
        return {};
    }
    const TEditorRoom& room = project.Room(moved.Room);
    x = std::clamp(x, 0, std::max(room.XSectors * SectorSize - 1, 0));
    z = std::clamp(z, 0, std::max(room.ZSectors * SectorSize - 1, 0));
    if (snap) {
        x = x / SectorSize * SectorSize + SectorSize / 2;
        z = z / SectorSize * SectorSize + SectorSize / 2;
    }
    moved.X = x;
    moved.Z = z;
    return ChangeObject(project, index, moved);
}

bool PullObjectsIntoRoomGrid(TEditorProject& project, int room) {
    if (room < 1 || room > project.RoomCount) {
        return false;
    }
    const TEditorRoom& grid = project.Room(room);
    bool moved = false;
    for (uint32_t i = 0; i < project.Objects.Count; ++i) {
        TEditorObject& object = project.Objects.Objects[i];
        if (object.Room != room) {
            continue;
        }
        const int x = std::clamp(object.X, 0, std::max(grid.XSectors * SectorSize - 1, 0));
        const int z = std::clamp(object.Z, 0, std::max(grid.ZSectors * SectorSize - 1, 0));
        moved = moved || x != object.X || z != object.Z;
        object.X = x;
        object.Z = z;
    }
    return moved;
}

bool DropObjectsOfMissingRooms(TEditorProject& project) {
    TObjectLayer& layer = project.Objects;
    // From the last, so that each object's triggers are renumbered past the ones still there.
    for (uint32_t i = layer.Count; i-- > 0;) {
        if (layer.Objects[i].Room > project.RoomCount) {
            ForgetTriggerObject(project, static_cast<int>(i));
        }
    }
    uint32_t kept = 0;
    for (uint32_t i = 0; i < layer.Count; ++i) {
        if (layer.Objects[i].Room <= project.RoomCount) {
            layer.Objects[kept++] = layer.Objects[i];
        }
    }
    const bool dropped = kept != layer.Count;
    for (uint32_t i = kept; i < layer.Count; ++i) {
        layer.Objects[i] = TEditorObject{};
    }
    layer.Count = kept;
    return dropped;
}

std::string ReplaceObjectLayer(TEditorProject& project, const std::vector<TEditorObject>& objects) {
    if (objects.size() > static_cast<std::size_t>(MaxObjects)) {
        return "The project holds at most " + std::to_string(MaxObjects) + " objects; " +
               std::to_string(objects.size()) + " were given";
    }
    // Checked one by one on a layer that grows as the new one would, so the limits count the
    // objects before each; the document is changed only once all passed.
    TObjectLayer& layer = project.Objects;
    const uint32_t oldCount = layer.Count;
    std::vector<TEditorObject> old(layer.Objects, layer.Objects + oldCount);
    layer.Count = 0;
    std::string problem;
    for (std::size_t i = 0; i < objects.size() && problem.empty(); ++i) {
        const std::string at = "objects[" + std::to_string(i) + "].";
        if (const auto field = CheckObjectFields(project, objects[i])) {
            problem = at + field->Field + ": " + field->Text;
        } else if (const std::string limit = ObjectLimitProblem(project, objects[i]);
                   !limit.empty()) {
            problem = at + "kind: " + limit;
        } else {
            layer.Objects[layer.Count++] = objects[i];
        }
    }
    if (!problem.empty()) {
        std::copy(old.begin(), old.end(), layer.Objects);
        for (uint32_t i = oldCount; i < layer.Count; ++i) {
            layer.Objects[i] = TEditorObject{};
        }
        layer.Count = oldCount;
        return problem;
    }
    for (uint32_t i = layer.Count; i < oldCount; ++i) {
        layer.Objects[i] = TEditorObject{};
    }
    ForgetMissingTriggerObjects(project);
    return {};
}

} // namespace morvane
