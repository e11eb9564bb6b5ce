#include "document/room_operations.h"

#include "document/editor_texts.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/sector_numbering.h"
#include "document/trigger_operations.h"
#include "level/world_units.h"

#include <algorithm>

namespace morvane {

namespace {

DocumentOutcome Refreshed(const TEditorProject& project, bool redraw) {
    DocumentOutcome outcome;
    outcome.ToolBar = ToolBarValues(project);
    outcome.Redraw = redraw;
    return outcome;
}

// The dialog's values that Add and Properties store alike.
void StoreDialogValues(TEditorRoom& room, const RoomDialogValues& values) {
    room.PosX = values.X;
    room.PosZ = values.Z;
    room.Name.Assign(values.Name);
    room.PosY = static_cast<uint8_t>(values.Y);
    room.Height = static_cast<uint8_t>(values.Height);
    room.AmbientIntensity = values.AmbientLight;
    room.SectorLight = static_cast<uint8_t>(values.AmbientLight);
    room.Water = values.Water;
    room.WindRain = values.WindRain;
    room.Quicksand = values.Quicksand;
    room.Sky = values.Sky;
    for (int i = 0; i < 4; ++i) {
        room.DefaultTextures[DefaultFloorWall1 + i] = values.FloorWalls - 1;
        room.DefaultTextures[DefaultCeilingWall1 + i] = values.CeilingWalls - 1;
    }
    room.DefaultTextures[DefaultFloorFace] = values.FloorTop - 1;
    room.DefaultTextures[DefaultCeilingFace] = values.CeilingTop - 1;
}

// Defaults of one side: walls 1-4 go to slots 1, 2, 4, 5 and the face to slot 3.
void ApplyDefaults(TSectorSurface& surface, const int32_t* walls, int32_t face, uint8_t light) {
    surface.Textures[0] = walls[0];
    surface.Textures[1] = walls[1];
    surface.Textures[2] = face;
    surface.Textures[3] = walls[2];
    surface.Textures[4] = walls[3];
    std::fill(std::begin(surface.Lights), std::end(surface.Lights), light);
}

void SetAllLights(TEditorRoom& room, uint8_t light) {
    for (int n = 1; n <= room.SectorCount() && n <= MaxSectors; ++n) {
        TEditorSector& sector = room.Sector(n);
        std::fill(std::begin(sector.FloorSurface.Lights), std::end(sector.FloorSurface.Lights),
                  light);
        std::fill(std::begin(sector.CeilingSurface.Lights), std::end(sector.CeilingSurface.Lights),
                  light);
    }
}

} // namespace

RoomDialogValues RoomAt(int length, int width, int x, int y, int z, int height) {
    RoomDialogValues values;
    values.Long = length;
    values.Width = width;
    values.X = x;
    values.Y = y;
    values.Z = z;
    values.Height = height;
    return values;
}

std::string NextRoomName(const TEditorProject& project) {
    return RoomNamePrefix + std::to_string(project.RoomCount + 1);
}

bool BuildSectorGrid(TEditorRoom& room, int zSectors, int xSectors, int posY, int height) {
    if (height <= 0 || posY <= 0 || posY + height > MaxRoomTop || zSectors < 1 || xSectors < 1 ||
        zSectors * xSectors > MaxSectors) {
        return false;
    }
    room.ZSectors = static_cast<uint16_t>(zSectors);
    room.XSectors = static_cast<uint16_t>(xSectors);
    room.PosY = static_cast<uint8_t>(posY);
    room.Height = static_cast<uint8_t>(height);
    const auto h = static_cast<int8_t>(height);
    const TGameSector open{0, NoBox, NoRoom, 0, NoRoom, h};
    for (int n = 1; n <= zSectors * xSectors; ++n) {
        room.GameSector(n) = open;
        TEditorSector& sector = room.Sector(n);
        sector.FloorShape = 0;
        sector.CeilingShape = 0;
        ApplyDefaults(sector.FloorSurface, &room.DefaultTextures[DefaultFloorWall1],
                      room.DefaultTextures[DefaultFloorFace], room.SectorLight);
        ApplyDefaults(sector.CeilingSurface, &room.DefaultTextures[DefaultCeilingWall1],
                      room.DefaultTextures[DefaultCeilingFace], room.SectorLight);
    }
    const TGameSector solid{0, NoBox, NoRoom, h, NoRoom, h};
    for (int z = 1; z <= zSectors; ++z) {
        room.GameSector(SectorNumber(1, z, zSectors)) = solid;
        room.GameSector(SectorNumber(xSectors, z, zSectors)) = solid;
    }
    for (int x = 1; x <= xSectors; ++x) {
        room.GameSector(SectorNumber(x, 1, zSectors)) = solid;
        room.GameSector(SectorNumber(x, zSectors, zSectors)) = solid;
    }
    return true;
}

DocumentOutcome NewProject(TEditorProject& project, SceneRooms& scene) {
    project.Clear();
    scene = SceneRooms{1, 0, 0};
    DocumentOutcome outcome = Refreshed(project, true);
    outcome.NeighbourField = 0;
    return outcome;
}

bool ProjectIsFull(const TEditorProject& project) {
    return project.RoomCount >= MaxRooms;
}

DocumentOutcome AddRoom(TEditorProject& project, SceneRooms& scene,
                        const RoomDialogValues& values) {
    if (ProjectIsFull(project)) {
        return DocumentOutcome::Refusal(TooManyRoomsText);
    }
    ++project.RoomCount;
    project.CurrentRoom = project.RoomCount;
    scene.DrawnRoom = project.CurrentRoom;
    TEditorRoom& room = project.Current();
    StoreDialogValues(room, values);
    BuildSectorGrid(room, values.Long, values.Width, values.Y, values.Height);
    DocumentOutcome outcome = Refreshed(project, true);
    outcome.FrameRoom = true;
    return outcome;
}

RoomDialogValues PropertiesDialogValues(const TEditorProject& project) {
    const TEditorRoom& room = project.Current();
    RoomDialogValues values;
    values.Long = room.ZSectors;
    values.Width = room.XSectors;
    values.X = room.PosX;
    values.Z = room.PosZ;
    values.Name = room.Name.Str();
    values.Y = room.PosY;
    values.Height = room.Height;
    values.AmbientLight = room.SectorLight;
    values.Water = room.Water;
    values.Sky = room.Sky;
    values.WindRain = room.WindRain;
    values.Quicksand = room.Quicksand;
    values.FloorWalls = room.DefaultTextures[DefaultFloorWall1] + 1;
    values.FloorTop = room.DefaultTextures[DefaultFloorFace] + 1;
    values.CeilingWalls = room.DefaultTextures[DefaultCeilingWall1] + 1;
    values.CeilingTop = room.DefaultTextures[DefaultCeilingFace] + 1;
    return values;
}

PropertiesOutcome ApplyRoomProperties(TEditorProject& project, const RoomDialogValues& shown,
                                      const RoomDialogValues& edited, bool rebuildTicked) {
    PropertiesOutcome outcome;
    if (!project.HasCurrentRoom()) {
        return outcome;
    }
    TEditorRoom& room = project.Current();
    StoreDialogValues(room, edited);
    if (edited.AmbientLight != shown.AmbientLight) {
        SetAllLights(room, static_cast<uint8_t>(edited.AmbientLight));
    }
    outcome.AskRebuild = edited.Long != shown.Long || edited.Width != shown.Width || rebuildTicked;
    outcome.Window = Refreshed(project, true);
    return outcome;
}

DocumentOutcome RebuildCurrentRoom(TEditorProject& project, const RoomDialogValues& edited) {
    if (!project.HasCurrentRoom()) {
        return {};
    }
    BuildSectorGrid(project.Current(), edited.Long, edited.Width, edited.Y, edited.Height);
    // What stood on sectors the smaller grid no longer has: objects come inside, triggers go.
    PullObjectsIntoRoomGrid(project, project.CurrentRoom);
    DropTriggersOutsideRoomGrid(project, project.CurrentRoom);
    return Refreshed(project, true);
}

DocumentOutcome DeleteRoom(TEditorProject& project, SceneRooms& scene) {
    if (project.RoomCount < 2) {
        return {};
    }
    --project.RoomCount;
    DropObjectsOfMissingRooms(project); // the room's objects and triggers go with it
    DropTriggersOfMissingRooms(project);
    DropFlipMapsOfMissingRooms(project); // and its links to and from an alternate
    project.CurrentRoom = project.RoomCount;
    scene.DrawnRoom = project.CurrentRoom;
    return Refreshed(project, true);
}

DocumentOutcome CloneRoom(TEditorProject& project) {
    if (ProjectIsFull(project)) {
        return DocumentOutcome::Refusal(TooManyRoomsText);
    }
    if (project.RoomCount == 0) {
        return {}; // nothing to copy
    }
    const TEditorRoom& model = project.Current();
    ++project.RoomCount;
    TEditorRoom& clone = project.Room(project.RoomCount);
    clone = model;
    clone.PosX = model.PosX + 1;
    clone.PosZ = model.PosZ + 1;
    return Refreshed(project, false);
}

DocumentOutcome SelectRoom(TEditorProject& project, SceneRooms& scene, int listIndex) {
    if (listIndex < 0 || listIndex >= project.RoomCount) {
        return {};
    }
    project.CurrentRoom = static_cast<uint8_t>(listIndex + 1);
    scene.DrawnRoom = project.CurrentRoom;
    return Refreshed(project, true);
}

DocumentOutcome SendRoomTo(TEditorProject& project, SendDirection direction, int neighbourField) {
    // A room is not sent against itself.
    if (neighbourField < 1 || neighbourField > project.RoomCount || !project.HasCurrentRoom() ||
        neighbourField == project.CurrentRoom) {
        return {};
    }
    const TEditorRoom& n = project.Room(neighbourField);
    TEditorRoom& m = project.Current();
    int x = n.PosX, y = n.PosY, z = n.PosZ;
    switch (direction) {
    case SendDirection::Front:
        z = std::max(0, n.PosZ + n.ZSectors - 2);
        break;
    case SendDirection::Back:
        z = std::max(0, n.PosZ - m.ZSectors + 2);
        break;
    case SendDirection::Left:
        x = std::max(0, n.PosX - m.XSectors + 2);
        break;
    case SendDirection::Right:
        x = std::max(0, n.PosX + n.XSectors - 2);
        break;
    case SendDirection::Down:
        y = std::max(1, n.PosY - m.Height);
        break;
    case SendDirection::Up:
        y = n.PosY + n.Height;
        if (y + m.Height > MaxRoomTop) {
            y = MaxRoomTop - m.Height;
        }
        break;
    }
    m.PosX = x;
    m.PosY = static_cast<uint8_t>(y);
    m.PosZ = z;
    return Refreshed(project, true);
}

} // namespace morvane
