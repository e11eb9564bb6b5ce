#include "document/edit_names.h"

#include <algorithm>
#include <cstring>

namespace morvane {

std::string SendRoomToName(SendDirection direction) {
    switch (direction) {
    case SendDirection::Front:
        return "Send to Front";
    case SendDirection::Back:
        return "Send to Back";
    case SendDirection::Left:
        return "Send to Left";
    case SendDirection::Right:
        return "Send to Right";
    case SendDirection::Down:
        return "Send to Down";
    case SendDirection::Up:
        return "Send to Up";
    }
    return "Send to";
}

std::string SectorEditName(const TEditorRoom& before, const TEditorRoom& after, bool ceiling) {
    bool raised = false, lowered = false, filled = false, shaped = false, painted = false,
         linked = false;
    const auto sectors = static_cast<int>(
        std::min<int64_t>({before.SectorCount(), after.SectorCount(), MaxSectors}));
    for (int n = 1; n <= sectors; ++n) {
        const TGameSector& g0 = before.GameSector(n);
        const TGameSector& g1 = after.GameSector(n);
        const TEditorSector& s0 = before.Sector(n);
        const TEditorSector& s1 = after.Sector(n);
        const int h0 = ceiling ? g0.CeilingHeight : g0.FloorHeight;
        const int h1 = ceiling ? g1.CeilingHeight : g1.FloorHeight;
        raised |= h1 > h0;
        lowered |= h1 < h0;
        filled |= !ceiling && h1 > h0 && g1.FloorHeight == g1.CeilingHeight &&
                  g0.FloorHeight != g0.CeilingHeight;
        shaped |= (ceiling ? s1.CeilingShape != s0.CeilingShape : s1.FloorShape != s0.FloorShape);
        const TSectorSurface& t0 = ceiling ? s0.CeilingSurface : s0.FloorSurface;
        const TSectorSurface& t1 = ceiling ? s1.CeilingSurface : s1.FloorSurface;
        painted |= std::memcmp(t0.Textures, t1.Textures, sizeof(t0.Textures)) != 0;
        linked |= g0.RoomAbove != g1.RoomAbove || g0.RoomBelow != g1.RoomBelow ||
                  s0.PortalKind != s1.PortalKind;
    }
    if (filled) {
        return EditNames::FillSector;
    }
    if (raised && lowered) {
        return ceiling ? EditNames::EditCeilingHeights : EditNames::EditFloorHeights;
    }
    if (raised) {
        return ceiling ? EditNames::RaiseCeiling : EditNames::RaiseFloor;
    }
    if (lowered) {
        return ceiling ? EditNames::LowerCeiling : EditNames::LowerFloor;
    }
    if (shaped) {
        return ceiling ? EditNames::PlaceCeilingShape : EditNames::PlaceFloorShape;
    }
    if (painted) {
        return ceiling ? EditNames::PaintCeilingTextures : EditNames::PaintFloorTextures;
    }
    if (linked) {
        return ceiling ? EditNames::SetCeilingPortals : EditNames::SetFloorPortals;
    }
    // Only bytes no tool names changed (a floor-data index, say): the shape tool did it.
    return ceiling ? EditNames::PlaceCeilingShape : EditNames::PlaceFloorShape;
}

} // namespace morvane
