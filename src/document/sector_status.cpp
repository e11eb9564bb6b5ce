#include "document/sector_status.h"

#include "document/sector_numbering.h"
#include "document/shape_table.h"

#include <algorithm>

namespace morvane {

namespace {

std::string RoomText(const TEditorProject& project, int room) {
    return "Room " + std::to_string(room) + " \"" + project.Room(room).Name.Str() + "\"";
}

// A stored room number (NoRoom for none) as the project shows it, from 1.
std::string LinkText(const char* what, uint8_t stored) {
    return std::string(what) + " room " + std::to_string(stored + 1);
}

// The current room's sector the pick found, or null.
const TEditorRoom* PickedRoom(const TEditorProject& project, const ViewHit& hit) {
    if (!project.HasCurrentRoom()) {
        return nullptr;
    }
    const TEditorRoom& room = project.Current();
    if (!hit.IsSector() || hit.Sector < 1 || hit.Sector > room.SectorCount() ||
        hit.Sector > MaxSectors) {
        return nullptr;
    }
    return &room;
}

} // namespace

std::string SectorPlaceText(const TEditorProject& project, const ViewHit& hit) {
    const TEditorRoom* room = PickedRoom(project, hit);
    if (room == nullptr) {
        return {};
    }
    return RoomText(project, project.CurrentRoom) + " | column " +
           std::to_string(SectorColumn(hit.Sector, room->ZSectors)) + ", row " +
           std::to_string(SectorRow(hit.Sector, room->ZSectors));
}

std::string SectorStatusText(const TEditorProject& project, int neighbourRoom, const ViewHit& hit) {
    if (hit.IsNeighbourRoom()) {
        if (neighbourRoom < 1 || neighbourRoom > project.RoomCount || neighbourRoom > MaxRooms) {
            return {};
        }
        return "Neighbour: " + RoomText(project, neighbourRoom) +
               " (click to make it the current room)";
    }
    if (PickedRoom(project, hit) == nullptr) {
        return {};
    }
    const TEditorRoom& room = project.Current();
    const int pickedName = hit.Sector;
    const TEditorSector& sector = room.Sector(pickedName);
    const TGameSector& game = room.GameSector(pickedName);
    const int floorShape = std::min<int>(sector.FloorShape, HighestShape);
    const int ceilingShape = std::min<int>(sector.CeilingShape, HighestShape);
    const int floor = uint8_t(game.FloorHeight) * 4 + ShapeTable[floorShape].Rise;
    const int ceiling = uint8_t(game.CeilingHeight) * 4 - ShapeTable[ceilingShape].Rise;

    std::string text = SectorPlaceText(project, hit);
    text +=
        " | floor " + std::to_string(floor) + ", ceiling " + std::to_string(ceiling) + " clicks";
    if (floor >= ceiling) {
        text += " (closed)";
    }
    text += " | shapes: floor " + std::to_string(sector.FloorShape) + ", ceiling " +
            std::to_string(sector.CeilingShape);
    std::string links;
    auto add = [&](const std::string& link) { links += (links.empty() ? "" : ", ") + link; };
    if (game.RoomBelow != NoRoom) {
        add(LinkText("below:", game.RoomBelow));
    }
    if (game.RoomAbove != NoRoom) {
        add(LinkText(sector.PortalKind == PortalKindSide ? "beside:" : "above:", game.RoomAbove));
    }
    text += " | " + (links.empty() ? std::string("no links") : "links " + links);
    return text;
}

} // namespace morvane
