#include "levelbuild/object_placement.h"

#include "document/object_operations.h"
#include "level/floor_data.h"
#include "level/room_objects.h"
#include "level/world_units.h"

#include <algorithm>

namespace morvane {

namespace {

bool InProject(const TEditorProject& project, const TEditorObject& object) {
    return object.Room >= 1 && object.Room <= project.RoomCount;
}

PlacedKind PlacedKindOf(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Camera:
        return PlacedKind::Camera;
    case ObjectKind::Static:
        return PlacedKind::Static;
    case ObjectKind::Light:
        return PlacedKind::Light;
    default:
        return PlacedKind::Item;
    }
}

// Counts of what the objects put in the level.
struct ObjectTally {
    bool Lara = false;
    int OtherItems = 0, Cameras = 0;
    std::vector<int> Lights, Statics; // per project room, from 1
};

ObjectTally Tally(const TEditorProject& project) {
    ObjectTally tally;
    tally.Lights.assign(project.RoomCount + 1, 0);
    tally.Statics.assign(project.RoomCount + 1, 0);
    for (uint32_t i = 0; i < project.Objects.Count && i < static_cast<uint32_t>(MaxObjects); ++i) {
        const TEditorObject& o = project.Objects.Objects[i];
        if (!InProject(project, o)) {
            continue;
        }
        if (IsLaraStart(o)) {
            tally.Lara = true;
        } else if (o.Is(ObjectKind::Item)) {
            ++tally.OtherItems;
        } else if (o.Is(ObjectKind::Camera)) {
            ++tally.Cameras;
        } else if (o.Is(ObjectKind::Light)) {
            ++tally.Lights[o.Room];
        } else if (o.Is(ObjectKind::Static)) {
            ++tally.Statics[o.Room];
        }
    }
    return tally;
}

std::string ObjectLabel(int index, const TEditorObject& object) {
    const char* kind = object.Kind >= static_cast<uint8_t>(ObjectKind::Item) &&
                               object.Kind <= static_cast<uint8_t>(ObjectKind::Light)
                           ? ObjectKindName(object.KindOf())
                           : "unknown kind";
    return "object " + std::to_string(index) + " (" + kind + ")";
}

} // namespace

std::string ObjectCapacityProblem(const TEditorProject& project) {
    if (project.Objects.Count == 0) {
        return "";
    }
    const ObjectTally tally = Tally(project);
    // Lara is in the level whether the project has her object or not.
    const int items = tally.OtherItems + 1;
    if (items > MaxItems) {
        return "The project has " + std::to_string(items) +
               " items, Lara's included; a level holds at most " + std::to_string(MaxItems) +
               " items";
    }
    if (tally.Cameras > MaxCameras) {
        return "The project has " + std::to_string(tally.Cameras) +
               " cameras; a level holds at most " + std::to_string(MaxCameras) + " cameras";
    }
    for (int r = 1; r <= project.RoomCount; ++r) {
        if (tally.Lights[r] > MaxRoomLights) {
            return "Room " + std::to_string(r) + " has " + std::to_string(tally.Lights[r]) +
                   " lights; a room holds at most " + std::to_string(MaxRoomLights) + " lights";
        }
        if (tally.Statics[r] > MaxRoomStatics) {
            return "Room " + std::to_string(r) + " has " + std::to_string(tally.Statics[r]) +
                   " static meshes; a room holds at most " + std::to_string(MaxRoomStatics) +
                   " static meshes";
        }
    }
    return "";
}

PlacedThing ObjectPlace(const TEditorProject& project, const TLevelData& level,
                        const TEditorObject& object) {
    PlacedThing thing;
    thing.Kind = PlacedKindOf(object.KindOf());
    thing.Room = object.Room - 1;
    thing.Type = object.Type;
    thing.Y = object.Y;
    if (!InProject(project, object) || thing.Room >= level.NumRooms) {
        thing.X = object.X;
        thing.Z = object.Z;
        return thing;
    }
    const TLevelRoom& room = level.Rooms[thing.Room];
    thing.X = room.RoomInfo.X + object.X;
    thing.Z = room.RoomInfo.Z + object.Z;
    if (object.OnFloor != 0) {
        const FloorUnder floor = FindFloorUnder(level, thing.Room, thing.X, thing.Z);
        if (floor.Problem.empty()) {
            thing.Y = floor.FloorY;
        } else if (const int sector = SectorIndexAt(room, thing.X, thing.Z); sector >= 0) {
            thing.Y = room.Sectors[sector].FloorHeight * ClickSize; // the checks report it
        } else {
            thing.Y = room.RoomInfo.YBottom;
        }
    }
    return thing;
}

std::vector<PlacedThing> PlaceObjects(const TEditorProject& project, TLevelData& level) {
    const uint32_t count = std::min<uint32_t>(project.Objects.Count, MaxObjects);
    std::vector<PlacedThing> placed;
    if (count == 0) {
        return placed;
    }
    uint32_t items = 1, cameras = 0;
    for (int r = 0; r < project.RoomCount; ++r) {
        level.Rooms[r].NumLights = 0;
        level.Rooms[r].NumStaticMeshes = 0;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const TEditorObject& o = project.Objects.Objects[i];
        placed.push_back(ObjectPlace(project, level, o));
        if (!InProject(project, o)) {
            continue;
        }
        const PlacedThing& at = placed.back();
        TLevelRoom& room = level.Rooms[at.Room];
        switch (o.KindOf()) {
        case ObjectKind::Item: {
            const bool lara = IsLaraStart(o);
            if (!lara && items >= MaxItems) {
                break;
            }
            LevelItem item;
            item.Type = o.Type;
            item.Room = static_cast<int16_t>(at.Room);
            item.X = at.X;
            item.Y = at.Y;
            item.Z = at.Z;
            item.Angle = o.Angle;
            item.Intensity = static_cast<uint16_t>(o.Intensity);
            item.Intensity2 = static_cast<uint16_t>(o.Intensity2);
            item.Flags = o.Flags;
            SetLevelItem(level, lara ? 0 : static_cast<int>(items++), item);
            break;
        }
        case ObjectKind::Camera:
            if (cameras < MaxCameras) {
                level.Cameras[cameras++] = {at.X, at.Y, at.Z, static_cast<int16_t>(at.Room),
                                            o.Flags};
            }
            break;
        case ObjectKind::Light:
            if (room.NumLights < MaxRoomLights) {
                RoomLight light;
                light.X = at.X;
                light.Y = at.Y;
                light.Z = at.Z;
                light.Intensity = static_cast<uint16_t>(o.Intensity);
                light.Intensity2 = static_cast<uint16_t>(o.Intensity2);
                light.Fade = light.Fade2 = o.Fade;
                light.Colour = o.Colour & 0xFFFFFF;
                SetRoomLight(level, room, room.NumLights++, light);
            }
            break;
        case ObjectKind::Static:
            if (room.NumStaticMeshes < MaxRoomStatics) {
                RoomStatic mesh;
                mesh.X = at.X;
                mesh.Y = at.Y;
                mesh.Z = at.Z;
                mesh.Angle = o.Angle;
                mesh.Intensity = static_cast<uint16_t>(o.Intensity);
                mesh.Intensity2 = static_cast<uint16_t>(o.Intensity2);
                mesh.MeshId = static_cast<uint16_t>(o.Type);
                SetRoomStatic(level, room, room.NumStaticMeshes++, mesh);
            }
            break;
        }
    }
    level.NumItems = items;
    level.NumCameras = cameras;
    return placed;
}

void MarkObjectsChecked(const TEditorProject& project, LevelCheckOptions& options) {
    if (project.Objects.Count == 0) {
        return;
    }
    const ObjectTally tally = Tally(project);
    options.CheckedItems.First = tally.Lara ? 0 : 1;
    options.CheckedItems.Count = tally.OtherItems + (tally.Lara ? 1 : 0);
    options.CheckedCameras = tally.Cameras;
    options.CheckedLights.assign(tally.Lights.begin() + 1, tally.Lights.end());
    options.CheckedStatics.assign(tally.Statics.begin() + 1, tally.Statics.end());
}

std::vector<LevelFinding> CheckObjects(const TEditorProject& project, const TLevelData& level,
                                       const std::vector<PlacedThing>& placed) {
    std::vector<LevelFinding> found;
    std::vector<std::string> names;
    for (int r = 1; r <= project.RoomCount; ++r) {
        names.push_back(project.Room(r).Name.Str());
    }
    for (std::size_t i = 0; i < placed.size() && i < project.Objects.Count; ++i) {
        const TEditorObject& o = project.Objects.Objects[i];
        LevelFinding finding;
        finding.Object = ObjectLabel(static_cast<int>(i), o);
        const auto fields = CheckObjectFields(project, o);
        if (fields && fields->Field == "kind") {
            finding.Text = "its kind is " + fields->Text +
                           ": the build leaves it out. Delete it, or place it again as an item, "
                           "camera, static mesh or light.";
            found.push_back(std::move(finding));
            continue;
        }
        if (fields && fields->Field == "room") {
            finding.Severity = FindingSeverity::Error;
            finding.Text =
                fields->Text + ": the build cannot place it. Put it in one of the project's rooms.";
            found.push_back(std::move(finding));
            continue;
        }
        finding.Room = o.Room;
        finding.RoomName = names[o.Room - 1];
        for (PlacementProblem& problem : CheckPlacement(level, placed[i], names)) {
            LevelFinding one = finding;
            one.Severity = problem.Severity;
            one.Text = std::move(problem.Text);
            found.push_back(std::move(one));
        }
    }
    return found;
}

} // namespace morvane
