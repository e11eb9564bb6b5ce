#include "levelbuild/player_placement.h"

#include "level/floor_data.h"
#include "level/world_units.h"

#include <algorithm>

namespace morvane {

namespace {

constexpr int SpotX = 3 * SectorSize; // her usual spot, from the room's corner
constexpr int SpotZ = SectorSize + SectorSize / 2;

// The floor under (x, z) when the point is on an open sector of the room itself: no wall portal
// or room below takes the search elsewhere, and the sector is not solid.
bool OpenFloorAt(const TLevelData& level, int room, int x, int z, int& y) {
    const FloorUnder floor = FindFloorUnder(level, room, x, z);
    if (!floor.Problem.empty() || floor.Wall || floor.Room != room ||
        level.Rooms[room].Sectors[floor.Sector].RoomBelow != NoRoom) {
        return false;
    }
    y = floor.FloorY;
    return true;
}

} // namespace

PlayerPlacement PlacePlayer(TLevelData& level, int room) {
    const TLevelRoom& r = level.Rooms[room];
    PlayerPlacement placed;
    placed.X = r.RoomInfo.X + SpotX;
    placed.Z = r.RoomInfo.Z + SpotZ;
    if (!OpenFloorAt(level, room, placed.X, placed.Z, placed.Y)) {
        placed.Fallback = true;
        placed.NoOpenSector = true;
        for (int column = 0; column < r.NumXSectors && placed.NoOpenSector; ++column) {
            for (int row = 0; row < r.NumZSectors; ++row) {
                const int x = r.RoomInfo.X + column * SectorSize + SectorSize / 2;
                const int z = r.RoomInfo.Z + row * SectorSize + SectorSize / 2;
                if (OpenFloorAt(level, room, x, z, placed.Y)) {
                    placed.X = x;
                    placed.Z = z;
                    placed.NoOpenSector = false;
                    break;
                }
            }
        }
        if (placed.NoOpenSector) {
            // In the room all the same: in the middle of its sector nearest the usual spot.
            const int column = std::clamp(SpotX / SectorSize, 0, std::max(r.NumXSectors - 1, 0));
            const int row = std::clamp(SpotZ / SectorSize, 0, std::max(r.NumZSectors - 1, 0));
            placed.X = r.RoomInfo.X + column * SectorSize + SectorSize / 2;
            placed.Z = r.RoomInfo.Z + row * SectorSize + SectorSize / 2;
            placed.Y = r.Sectors[column * r.NumZSectors + row].FloorHeight * ClickSize;
        }
    }
    placed.Column = (placed.X - r.RoomInfo.X) / SectorSize + 1;
    placed.Row = (placed.Z - r.RoomInfo.Z) / SectorSize + 1;

    level.NumItems = 1;
    TItem1& lara = level.Items1[0];
    lara.Type = LaraItemType;
    lara.Room = static_cast<int16_t>(room);
    lara.X = placed.X;
    lara.Y = placed.Y;
    lara.Z = placed.Z;
    lara.Angle &= 0x00FF;
    lara.Intensity = 0xFFFF;
    return placed;
}

} // namespace morvane
