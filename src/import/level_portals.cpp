#include "import/level_portals.h"

#include "document/sector_heights.h"
#include "import/rounded_division.h"
#include "level/world_units.h"

#include <algorithm>
#include <array>

namespace morvane {

namespace {

constexpr int MaxTiles = 32;

// The facing of a portal from its normal; 0 when the normal is not along an axis.
uint8_t FacingOf(const TPortalVertex& normal) {
    const int x = normal.X, y = normal.Y, z = normal.Z;
    if (x == 0 && y == 0 && z == -1) {
        return PortalFacingFront;
    }
    if (x == 0 && y == 0 && z == 1) {
        return PortalFacingBack;
    }
    if (x == 1 && y == 0 && z == 0) {
        return PortalFacingLeft;
    }
    if (x == -1 && y == 0 && z == 0) {
        return PortalFacingRight;
    }
    if (x == 0 && y == 1 && z == 0) {
        return PortalFacingCeiling;
    }
    if (x == 0 && y == -1 && z == 0) {
        return PortalFacingFloor;
    }
    return 0;
}

// A length in whole sectors, 1..32, and whether it was one.
int Tiles(int units, bool& exact) {
    exact =
        exact && units % SectorSize == 0 && units >= SectorSize && units <= MaxTiles * SectorSize;
    return std::clamp((units + SectorSize / 2) / SectorSize, 1, MaxTiles);
}

// A sector number along x or z from a coordinate on the grid, and whether it was on a line.
int GridLine(int units, bool& exact) {
    exact = exact && units % SectorSize == 0;
    return FloorDiv(units + SectorSize / 2, SectorSize);
}

// A portal's corners as whole numbers, each coordinate read relative to the first corner in 16
// bits: a corner the build places past 32767 wraps.
struct PortalCorners {
    std::array<std::array<int, 3>, 4> At;
    std::array<int, 3> Min, Max;
};

PortalCorners Unwrapped(const TRoomPortal& portal) {
    PortalCorners corners;
    const TPortalVertex& first = portal.Vertices[0];
    for (int v = 0; v < 4; ++v) {
        const TPortalVertex& p = portal.Vertices[v];
        corners.At[v] = {first.X + int16_t(uint16_t(p.X - first.X)),
                         first.Y + int16_t(uint16_t(p.Y - first.Y)),
                         first.Z + int16_t(uint16_t(p.Z - first.Z))};
    }
    for (int axis = 0; axis < 3; ++axis) {
        corners.Min[axis] = corners.Max[axis] = corners.At[0][axis];
        for (const auto& corner : corners.At) {
            corners.Min[axis] = std::min(corners.Min[axis], corner[axis]);
            corners.Max[axis] = std::max(corners.Max[axis], corner[axis]);
        }
    }
    return corners;
}

// The portal view whose corners are the portal's, when its x and z lie `shiftX` and `shiftZ`
// further (the first corner itself may have wrapped); empty when the origin falls outside the
// room's grid.
std::optional<TPortalView> ViewOf(const PortalCorners& corners, uint8_t facing, int shiftX,
                                  int shiftZ, const TLevelRoom& from, const TEditorRoom& room,
                                  bool& exact) {
    const int minX = corners.Min[0] + shiftX, maxX = corners.Max[0] + shiftX;
    const int minY = corners.Min[1], maxY = corners.Max[1];
    const int minZ = corners.Min[2] + shiftZ, maxZ = corners.Max[2] + shiftZ;
    exact = true;
    TPortalView view{};
    view.Facing = facing;
    switch (facing) {
    case PortalFacingFront:
    case PortalFacingBack:
        exact = minZ == maxZ;
        view.OriginZ = GridLine(minZ, exact) + (facing == PortalFacingFront ? 1 : 0);
        view.OriginX = GridLine(minX, exact) + 1;
        view.WidthTiles = Tiles(maxX - minX, exact);
        break;
    case PortalFacingLeft:
    case PortalFacingRight:
        exact = minX == maxX;
        view.OriginX = GridLine(minX, exact) + (facing == PortalFacingRight ? 1 : 0);
        view.OriginZ =
            facing == PortalFacingLeft ? GridLine(minZ, exact) + 1 : GridLine(maxZ, exact);
        view.WidthTiles = Tiles(maxZ - minZ, exact);
        break;
    default: { // ceiling and floor, at the room's top or bottom
        const int level = facing == PortalFacingCeiling ? room.PosY + room.Height : room.PosY;
        exact = minY == maxY && minY == LevelHeightOfClicks(LevelClicks * level - 1) * ClickSize;
        view.OriginX = GridLine(minX, exact) + 1;
        view.OriginZ = GridLine(maxZ, exact);
        view.WidthTiles = Tiles(maxX - minX, exact);
        view.HeightTiles = Tiles(maxZ - minZ, exact);
        break;
    }
    }
    if (view.OriginX < 1 || view.OriginX > room.XSectors || view.OriginZ < 1 ||
        view.OriginZ > room.ZSectors) {
        return std::nullopt;
    }
    if (facing <= PortalFacingRight) {
        // A wall view reaches from its origin sector's floor up to the portal's top, in whole
        // sectors.
        const TGameSector& origin =
            from.Sectors[(view.OriginX - 1) * from.NumZSectors + (view.OriginZ - 1)];
        const int floor = origin.FloorHeight * ClickSize;
        view.HeightTiles = std::clamp((floor - minY + SectorSize - 1) / SectorSize, 1, MaxTiles);
    }
    // Each corner a corner of the rectangle: not a skewed quadrilateral.
    for (const auto& corner : corners.At) {
        for (int axis = 0; axis < 3; ++axis) {
            exact =
                exact && (corner[axis] == corners.Min[axis] || corner[axis] == corners.Max[axis]);
        }
    }
    return view;
}

} // namespace

std::optional<PortalViewFit> PortalViewOf(const TRoomPortal& portal, const TLevelRoom& from,
                                          const TEditorRoom& room) {
    const uint8_t facing = FacingOf(portal.Normal);
    if (facing == 0) {
        return std::nullopt;
    }
    const PortalCorners corners = Unwrapped(portal);
    PortalViewFit fit;
    for (int shiftX : {0, 65536, -65536}) {
        for (int shiftZ : {0, 65536, -65536}) {
            if (const auto view = ViewOf(corners, facing, shiftX, shiftZ, from, room, fit.Exact)) {
                fit.View = *view;
                fit.Top = corners.Min[1];
                fit.Bottom = corners.Max[1];
                return fit;
            }
        }
    }
    return std::nullopt;
}

} // namespace morvane
