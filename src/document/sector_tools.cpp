#include "document/sector_tools.h"

#include "document/editor_texts.h"
#include "document/sector_numbering.h"
#include "document/shape_table.h"

#include <algorithm>

namespace morvane {

namespace {

constexpr int HighestToolShape = 10;

bool IsSector(const TEditorRoom& room, int n) {
    return n >= 1 && n <= room.SectorCount() && n <= MaxSectors;
}

uint8_t StoredRoom(int shownRoom) {
    return static_cast<uint8_t>(shownRoom - 1);
}

const char* InvalidPortalField(const TEditorProject& project, const SectorToolState& tools) {
    if (tools.RoomAbove() + tools.RoomSide() + tools.RoomBelow() <= 0) {
        return nullptr;
    }
    auto invalid = [&](int room) {
        return room != 0 && (room == project.CurrentRoom || room > project.RoomCount);
    };
    if (invalid(tools.RoomAbove())) {
        return InvalidRoomAboveText;
    }
    if (invalid(tools.RoomSide())) {
        return InvalidRoomSideText;
    }
    if (invalid(tools.RoomBelow())) {
        return InvalidRoomBelowText;
    }
    return nullptr;
}

double Rise(int shape) {
    return ShapeTable[shape].Rise / 4.0;
}

void SetWallTextures(TSectorSurface& surface, int walls, int face) {
    surface.Textures[0] = surface.Textures[1] = surface.Textures[3] = surface.Textures[4] =
        walls - 1;
    surface.Textures[2] = face - 1;
}

// Returns false when the shape does not fit between floor and ceiling.
bool EditFloor(TEditorRoom& room, int n, const SectorToolState& tools, int shape, int h) {
    TEditorSector& sector = room.Sector(n);
    TGameSector& game = room.GameSector(n);
    if (tools.PutShapes) {
        const int c = sector.CeilingShape;
        if (room.Height < (h + Rise(shape)) + ((room.Height - game.CeilingHeight) + Rise(c))) {
            return false;
        }
        game.FloorHeight = static_cast<int8_t>(h);
        if (shape == 0 && h != 0) {
            game.FloorHeight = game.CeilingHeight = static_cast<int8_t>(room.Height);
            sector.CeilingShape = 0;
        }
        sector.FloorShape = static_cast<uint8_t>(shape);
        game.FloorDataIndex = SlopeFloorDataIndex(sector.FloorShape, sector.CeilingShape);
    }
    if (tools.PutTextures) {
        SetWallTextures(sector.FloorSurface, tools.FloorWalls, tools.FloorTexture);
    }
    if (tools.PutPortals) {
        game.RoomBelow = StoredRoom(tools.RoomBelow());
        if (tools.RoomSide() != 0) {
            game.RoomAbove = StoredRoom(tools.RoomSide());
            sector.PortalKind = PortalKindSide;
        } else if (sector.PortalKind == PortalKindSide) {
            game.RoomAbove = NoRoom;
            sector.PortalKind = PortalKindAbove;
        }
    }
    return true;
}

bool EditCeiling(TEditorRoom& room, int n, const SectorToolState& tools, int shape, int h) {
    TEditorSector& sector = room.Sector(n);
    TGameSector& game = room.GameSector(n);
    if (tools.PutShapes) {
        const int f = sector.FloorShape;
        if (room.Height < (h + Rise(shape)) + (game.FloorHeight + Rise(f))) {
            return false;
        }
        game.CeilingHeight = static_cast<int8_t>(room.Height - h);
        sector.CeilingShape = static_cast<uint8_t>(shape);
        game.FloorDataIndex = SlopeFloorDataIndex(f, shape);
    }
    if (tools.PutTextures) {
        SetWallTextures(sector.CeilingSurface, tools.CeilingWalls, tools.CeilingTexture);
    }
    if (tools.PutPortals) {
        if (tools.RoomAbove() != 0) {
            game.RoomAbove = StoredRoom(tools.RoomAbove());
            sector.PortalKind = PortalKindAbove;
        } else if (sector.PortalKind == PortalKindAbove) {
            game.RoomAbove = NoRoom;
        }
    }
    return true;
}

DocumentOutcome SwapWithNeighbour(TEditorProject& project, SceneRooms& scene) {
    std::swap(scene.DrawnRoom, scene.NeighbourRoom);
    project.CurrentRoom = static_cast<uint8_t>(scene.DrawnRoom);
    DocumentOutcome outcome;
    outcome.NeighbourField = scene.NeighbourRoom;
    outcome.ToolBar = ToolBarValues(project);
    outcome.Redraw = true;
    return outcome;
}

} // namespace

void SectorToolState::SetRoomAbove(int room) {
    roomAbove_ = room;
    if (room > 0) {
        roomSide_ = 0;
    }
}

void SectorToolState::SetRoomSide(int room) {
    roomSide_ = room;
    if (room > 0) {
        roomAbove_ = 0;
        roomBelow_ = 0;
    }
}

void SectorToolState::SetRoomBelow(int room) {
    roomBelow_ = room;
    if (room > 0) {
        roomSide_ = 0;
    }
}

DocumentOutcome EditClick(TEditorProject& project, SceneRooms& scene, const SectorToolState& tools,
                          const ViewHit& hit, bool ctrl, bool shift) {
    DocumentOutcome outcome;
    if (hit.IsNeighbourRoom()) {
        if (scene.NeighbourRoom >= 1 && scene.NeighbourRoom <= project.RoomCount) {
            return SwapWithNeighbour(project, scene);
        }
        return outcome;
    }
    if (!project.HasCurrentRoom()) {
        return outcome;
    }
    TEditorRoom& room = project.Current();
    if (!hit.IsSector() || !IsSector(room, hit.Sector) || tools.SelectedShape < 0 ||
        tools.SelectedShape > HighestToolShape) {
        return outcome;
    }
    if (tools.PutPortals) {
        if (const char* message = InvalidPortalField(project, tools)) {
            return DocumentOutcome::Refusal(message);
        }
    }
    int shape = tools.SelectedShape;
    int mirror = tools.ShapeMirror;
    if (shift) {
        mirror = mirror == 0 ? TurnedShapeOffset : 0;
    }
    if (shape >= FirstSlopeShape) {
        shape += mirror;
    }

    int n = hit.Sector;
    int count = tools.ReplicationCount;
    if (!tools.ReplicatesColumns()) {
        count = static_cast<int>(std::min<int64_t>(count, room.SectorCount() - n + 1));
    } else {
        count = std::min(count, room.XSectors - SectorColumn(n, room.ZSectors) + 1);
    }
    const int step = tools.ReplicatesColumns() ? room.ZSectors : 1;
    for (int i = 0; i < count; ++i, n += step) {
        const bool fits = ctrl ? EditCeiling(room, n, tools, shape, scene.HeightSelector)
                               : EditFloor(room, n, tools, shape, scene.HeightSelector);
        if (!fits) {
            // The sectors written so far keep their changes: the edit's end takes them back.
            return DocumentOutcome::Refusal(InvalidHeightText);
        }
    }
    outcome.Redraw = true;
    return outcome;
}

DocumentOutcome EditSectors(TEditorProject& project, SceneRooms& scene,
                            const SectorToolState& tools, const std::vector<int>& sectors,
                            bool ctrl, bool shift) {
    SectorToolState once = tools;
    once.ReplicationCount = 1;
    DocumentOutcome outcome;
    for (const int n : sectors) {
        if (!project.HasCurrentRoom() || !IsSector(project.Current(), n)) {
            continue; // only the current room's sectors are part of a selection
        }
        outcome = EditClick(project, scene, once, ViewHit::OfSector(n), ctrl, shift);
        if (outcome.Refused) {
            return outcome;
        }
    }
    outcome.Redraw = true;
    return outcome;
}

DocumentOutcome PortalOriginClick(TEditorProject& project, const ViewHit& hit, int selectedView) {
    DocumentOutcome outcome;
    if (!project.HasCurrentRoom()) {
        return outcome;
    }
    TEditorRoom& room = project.Current();
    if (!hit.IsSector() || !IsSector(room, hit.Sector) || selectedView < 1 ||
        selectedView > room.PortalViewCount || selectedView > MaxPortalViews) {
        return outcome;
    }
    TPortalView& view = room.PortalView(selectedView);
    view.OriginZ = SectorRow(hit.Sector, room.ZSectors);
    view.OriginX = SectorColumn(hit.Sector, room.ZSectors);
    outcome.Redraw = true;
    return outcome;
}

ReadSectorOutcome ReadSector(const TEditorProject& project, const ViewHit& hit,
                             SectorToolState& tools) {
    ReadSectorOutcome outcome;
    if (!project.HasCurrentRoom()) {
        return outcome;
    }
    const TEditorRoom& room = project.Current();
    if (!hit.IsSector() || !IsSector(room, hit.Sector)) {
        return outcome;
    }
    outcome.Read = true;
    outcome.StatusText = " Column:" + std::to_string(SectorColumn(hit.Sector, room.ZSectors)) +
                         " Row:" + std::to_string(SectorRow(hit.Sector, room.ZSectors));
    const TEditorSector& sector = room.Sector(hit.Sector);
    const TGameSector& game = room.GameSector(hit.Sector);
    tools.FloorTexture = sector.FloorSurface.Textures[2] + 1;
    tools.FloorWalls = sector.FloorSurface.Textures[0] + 1;
    tools.CeilingTexture = sector.CeilingSurface.Textures[2] + 1;
    tools.CeilingWalls = sector.CeilingSurface.Textures[0] + 1;
    // Each field shows its byte plus one (255, none, shows as 0); they are set in this order
    // with the fields' own rules between them.
    auto shown = [](uint8_t stored) { return static_cast<uint8_t>(stored + 1); };
    const bool side = (sector.PortalKind & 0xFF) == PortalKindSide;
    tools.SetRoomAbove(side ? 0 : shown(game.RoomAbove));
    tools.SetRoomSide(side ? shown(game.RoomAbove) : 0);
    tools.SetRoomBelow(shown(game.RoomBelow));
    return outcome;
}

void ClampHeightSelector(SceneRooms& scene, const TEditorProject& project) {
    if (scene.DrawnRoom < 1 || scene.DrawnRoom > std::min<int>(project.RoomCount, MaxRooms)) {
        return;
    }
    const int height = project.Room(scene.DrawnRoom).Height;
    scene.HeightSelector = std::min(scene.HeightSelector, height - 1);
    scene.HeightSelector = std::max(scene.HeightSelector, 0);
}

int StepHeightSelector(SceneRooms& scene, const TEditorProject& project, int step) {
    scene.HeightSelector += step;
    ClampHeightSelector(scene, project);
    return scene.HeightSelector + 1;
}

} // namespace morvane
