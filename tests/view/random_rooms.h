#pragma once

#include "document/project.h"
#include "document/room_operations.h"

#include <random>

namespace morvane::test {

// Rooms of many shapes for the view's comparisons, the same for a seed: sizes from 1 x 1 to
// 31 x 31, floors and ceilings at every level (floors above ceilings too), every floor and
// ceiling shape, textures of the level (some faces left out), portals to the rooms above, below
// and beside, and portal views of every facing (some that draw nothing).
class RandomRooms {
public:
    // Rooms of up to maxSide x maxSide sectors.
    explicit RandomRooms(unsigned seed, int maxSide = 31) : rng_(seed), maxSide_(maxSide) {}

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool OneIn(int n) { return Between(1, n) == 1; }

    // Adds a random room to the project and makes it current; false when it is full.
    bool Add(TEditorProject& project, SceneRooms& scene, int textureCount) {
        RoomDialogValues values;
        values.Long = OneIn(4) ? Between(1, 4) : Between(2, maxSide_);
        values.Width = OneIn(4) ? Between(1, 4) : Between(2, maxSide_);
        while (values.Long * values.Width > MaxSectors) {
            --values.Width;
        }
        values.Height = Between(1, 9);
        values.Y = Between(1, 20);
        values.X = Between(80, 110);
        values.Z = Between(80, 110);
        values.Name = NextRoomName(project);
        if (ProjectIsFull(project)) {
            return false;
        }
        AddRoom(project, scene, values);
        TEditorRoom& room = project.Current();
        for (int n = 1; n <= room.SectorCount(); ++n) {
            Randomise(room, n, project.RoomCount, textureCount);
        }
        room.PortalViewCount = Between(0, 4);
        for (int d = 1; d <= room.PortalViewCount; ++d) {
            TPortalView& view = room.PortalView(d);
            view.Facing = static_cast<uint8_t>(Between(0, 7));
            view.TargetRoom = 1;
            view.WidthTiles = Between(1, 4);
            view.HeightTiles = Between(1, 4);
            view.OriginX = Between(1, room.XSectors);
            view.OriginZ = Between(1, room.ZSectors);
        }
        return true;
    }

private:
    void Randomise(TEditorRoom& room, int n, int rooms, int textureCount) {
        TGameSector& game = room.GameSector(n);
        TEditorSector& sector = room.Sector(n);
        const int height = room.Height;
        if (OneIn(3)) {
            game.FloorHeight = static_cast<int8_t>(Between(0, height));
            game.CeilingHeight = static_cast<int8_t>(OneIn(8) ? Between(0, height)
                                                              : Between(game.FloorHeight, height));
        }
        sector.FloorShape = static_cast<uint8_t>(OneIn(2) ? 0 : Between(0, 16));
        sector.CeilingShape = static_cast<uint8_t>(OneIn(2) ? 0 : Between(0, 16));
        for (TSectorSurface* surface : {&sector.FloorSurface, &sector.CeilingSurface}) {
            for (int32_t& texture : surface->Textures) {
                texture = OneIn(10) ? -1 : Between(0, textureCount - 1);
            }
        }
        if (OneIn(12)) {
            game.RoomBelow = static_cast<uint8_t>(Between(0, rooms - 1));
        }
        if (OneIn(12)) {
            game.RoomAbove = static_cast<uint8_t>(Between(0, rooms - 1));
            sector.PortalKind = Between(PortalKindAbove, PortalKindSide);
        }
    }

    std::mt19937 rng_;
    int maxSide_;
};

} // namespace morvane::test
