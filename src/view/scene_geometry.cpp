#include "view/scene_geometry.h"

#include "document/sector_numbering.h"
#include "document/shape_table.h"

#include <algorithm>
#include <initializer_list>

namespace morvane {

namespace {

constexpr uint32_t Green = 0x00FF00;
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Magenta = 0xFF00FF;
constexpr uint32_t Cyan = 0xFFFF00;
constexpr uint32_t Red = 0x0000FF;
constexpr uint32_t Blue = 0xFF0000;

// The surface slot of each box face: walls 0-3 take slots 1, 2, 4, 5, the horizontal face 3.
constexpr int SurfaceSlot[5] = {0, 1, 3, 4, 2};

double RiseInLevels(int shape) {
    return ShapeTable[std::min(shape, HighestShape)].Rise / 4.0;
}

// A sector whose floor meets its ceiling, with the pass's own shape flat.
bool IsClosed(const TEditorSector& sector, const TGameSector& game, int passShape) {
    const double floor = uint8_t(game.FloorHeight) + RiseInLevels(sector.FloorShape);
    const double ceiling = uint8_t(game.CeilingHeight) + RiseInLevels(sector.CeilingShape);
    return floor == ceiling && passShape < FirstSlopeShape;
}

uint16_t FaceTexture(RenderMode mode, int32_t solidTexture, int32_t slotTexture) {
    if (mode == RenderMode::Textured) {
        return static_cast<uint16_t>(slotTexture + 1);
    }
    return static_cast<uint16_t>(solidTexture);
}

using Corners = std::initializer_list<std::array<double, 3>>;

SceneQuad MakeQuad(Corners corners, uint32_t color, int32_t name, uint16_t texture,
                   uint8_t planes) {
    SceneQuad quad{};
    int i = 0;
    for (const auto& c : corners) {
        // GL keeps vertices as 32-bit floats.
        quad.Corners[i][0] = static_cast<float>(c[0]);
        quad.Corners[i][1] = static_cast<float>(c[1]);
        quad.Corners[i][2] = static_cast<float>(c[2]);
        ++i;
    }
    quad.Color = color;
    quad.Name = name;
    quad.Texture = texture;
    quad.Planes = planes;
    return quad;
}

void AppendPortalViews(std::vector<SceneQuad>& quads, const TEditorRoom& room) {
    const int views = std::clamp(room.PortalViewCount, 0, MaxPortalViews);
    for (int d = 1; d <= views; ++d) {
        const TPortalView& view = room.PortalView(d);
        const int ox = view.OriginX & 0xFF, oz = view.OriginZ & 0xFF;
        if (ox < 1 || ox > room.XSectors || oz < 1 || oz > room.ZSectors) {
            continue; // an origin outside the grid has no floor to stand on
        }
        const double w = view.WidthTiles & 0xFF, t = view.HeightTiles & 0xFF;
        const double x0 = room.PosX + ox - 1, z0 = -(room.PosZ + oz);
        const int n = SectorNumber(ox, oz, room.ZSectors);
        const double yb =
            room.PosY + room.GameSector(n).FloorHeight + RiseInLevels(room.Sector(n).FloorShape);
        const double top = room.PosY + room.Height, bottom = room.PosY;
        auto add = [&](Corners corners) { quads.push_back(MakeQuad(corners, 0, 0, 0, 0)); };
        switch (view.Facing) {
        case PortalFacingFront:
            add({{x0, yb + t, z0}, {x0 + w, yb + t, z0}, {x0 + w, yb, z0}, {x0, yb, z0}});
            break;
        case PortalFacingBack:
            add({{x0 + w, yb + t, z0}, {x0, yb + t, z0}, {x0, yb, z0}, {x0 + w, yb, z0}});
            break;
        case PortalFacingLeft:
            add({{x0 + 1, yb + t, z0 + 1},
                 {x0 + 1, yb + t, z0 + 1 - w},
                 {x0 + 1, yb, z0 + 1 - w},
                 {x0 + 1, yb, z0 + 1}});
            break;
        case PortalFacingRight:
            add({{x0 + 1, yb + t, z0},
                 {x0 + 1, yb + t, z0 + w},
                 {x0 + 1, yb, z0 + w},
                 {x0 + 1, yb, z0}});
            break;
        case PortalFacingCeiling:
            add({{x0, top, z0 + t}, {x0 + w, top, z0 + t}, {x0 + w, top, z0}, {x0, top, z0}});
            break;
        case PortalFacingFloor:
            add({{x0, bottom, z0},
                 {x0 + w, bottom, z0},
                 {x0 + w, bottom, z0 + t},
                 {x0, bottom, z0 + t}});
            break;
        default:
            break;
        }
    }
}

} // namespace

uint32_t FacingShade(uint32_t color, int face) {
    constexpr int Percent[6] = {72, 72, 56, 56, 100, 86};
    const int p = Percent[std::clamp(face, 0, 5)];
    uint32_t shaded = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        shaded |= ((color >> shift & 0xFF) * p / 100) << shift;
    }
    return shaded;
}

bool HorizontalFaceShown(RenderMode mode, const TEditorSector& sector, const TGameSector& game,
                         int passShape) {
    if (mode == RenderMode::Wireframe) {
        return uint8_t(game.FloorHeight) < uint8_t(game.CeilingHeight);
    }
    return !IsClosed(sector, game, passShape);
}

std::array<float, 2> FaceTexCoord(uint8_t planes, const float (&corner)[3]) {
    const auto generate = [&](const float(&plane)[4]) {
        return plane[0] * corner[0] + plane[1] * corner[1] + plane[2] * corner[2] + plane[3];
    };
    return {generate(TexturePlaneS[planes]), generate(TexturePlaneT[planes])};
}

void AppendSectorBox(std::vector<SceneQuad>& quads, const TSectorBox& box, double x, double y,
                     double z, int32_t name) {
    const double* h = box.Heights;
    const uint16_t* t = box.FaceTextures;
    auto add = [&](int face, Corners corners) {
        if (t[face] != 0) {
            const auto planes = static_cast<uint8_t>(face == 4 && box.Hanging ? 5 : face);
            const uint32_t color = box.ShadeByFacing ? FacingShade(box.Color, planes) : box.Color;
            quads.push_back(MakeQuad(corners, color, name, t[face], planes));
        }
    };
    // Corners of each face in clockwise order as seen from outside: the top edge (heights)
    // first for standing boxes, the base first for hanging ones.
    if (!box.Hanging) {
        add(0, {{x, y + h[0], z}, {x + 1, y + h[1], z}, {x + 1, y, z}, {x, y, z}});
        add(1, {{x + 1, y + h[2], z - 1}, {x, y + h[3], z - 1}, {x, y, z - 1}, {x + 1, y, z - 1}});
        add(2, {{x, y + h[4], z - 1}, {x, y + h[5], z}, {x, y, z}, {x, y, z - 1}});
        add(3, {{x + 1, y + h[6], z}, {x + 1, y + h[7], z - 1}, {x + 1, y, z - 1}, {x + 1, y, z}});
        add(4, {{x, y + h[3], z - 1},
                {x + 1, y + h[2], z - 1},
                {x + 1, y + h[1], z},
                {x, y + h[0], z}});
    } else {
        add(0, {{x, y, z}, {x + 1, y, z}, {x + 1, y - h[1], z}, {x, y - h[0], z}});
        add(1, {{x + 1, y, z - 1}, {x, y, z - 1}, {x, y - h[3], z - 1}, {x + 1, y - h[2], z - 1}});
        add(2, {{x, y, z - 1}, {x, y, z}, {x, y - h[5], z}, {x, y - h[4], z - 1}});
        add(3, {{x + 1, y, z}, {x + 1, y, z - 1}, {x + 1, y - h[7], z - 1}, {x + 1, y - h[6], z}});
        add(4, {{x, y - h[0], z},
                {x + 1, y - h[1], z},
                {x + 1, y - h[2], z - 1},
                {x, y - h[3], z - 1}});
    }
}

void AppendRoomPasses(std::vector<SceneQuad>& quads, RenderMode mode, const TEditorRoom& room,
                      bool current, int32_t solidTexture) {
    const int zs = room.ZSectors, xs = room.XSectors, height = room.Height;
    if (zs * xs > MaxSectors) {
        return;
    }
    const uint32_t base = mode == RenderMode::Wireframe ? Green : White;
    auto exists = [&](int x, int z) { return x >= 1 && x <= xs && z >= 1 && z <= zs; };
    auto game = [&](int x, int z) -> const TGameSector& {
        return room.GameSector(SectorNumber(x, z, zs));
    };
    // The level of a sector's floor and how far its ceiling hangs below the room's top.
    auto floorLevel = [&](int x, int z) { return int(uint8_t(game(x, z).FloorHeight)); };
    auto hang = [&](int x, int z) {
        return (height - int(uint8_t(game(x, z).CeilingHeight))) & 0xFF;
    };
    const int neighbours[4][2] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}}; // walls 0-3 face these

    for (int pass = 1; pass <= 4; ++pass) {
        const bool ceiling = pass >= 3;
        for (int x = 1; x <= xs; ++x) {
            for (int z = 1; z <= zs; ++z) {
                const int n = SectorNumber(x, z, zs);
                const TEditorSector& sector = room.Sector(n);
                const TGameSector& g = room.GameSector(n);
                const TSectorSurface& surface =
                    ceiling ? sector.CeilingSurface : sector.FloorSurface;
                const double wx = room.PosX + x - 1, wz = -(room.PosZ + z - 1);
                TSectorBox box;
                box.Hanging = ceiling;
                double baseY = room.PosY;
                const int F = floorLevel(x, z), G = hang(x, z);
                if (pass == 1 || pass == 3) {
                    const int own = pass == 1 ? F : G;
                    std::fill(std::begin(box.Heights), std::end(box.Heights), own);
                    baseY = pass == 1 ? room.PosY : room.PosY + height;
                    for (int wall = 0; wall < 4; ++wall) {
                        const int nx = x + neighbours[wall][0], nz = z + neighbours[wall][1];
                        const bool lower = exists(nx, nz) && (pass == 1 ? floorLevel(nx, nz) < own
                                                                        : hang(nx, nz) < own);
                        if (lower) {
                            box.FaceTextures[wall] = FaceTexture(
                                mode, solidTexture, surface.Textures[SurfaceSlot[wall]]);
                        }
                    }
                } else {
                    const int shape = std::min<int>(
                        ceiling ? sector.CeilingShape : sector.FloorShape, HighestShape);
                    for (int i = 0; i < 8; ++i) {
                        box.Heights[i] = ShapeTable[shape].CornerHeights[i] / 1024.0;
                    }
                    baseY = pass == 2 ? room.PosY + F : room.PosY + height - G;
                    for (int wall = 0; wall < 4; ++wall) {
                        if (exists(x + neighbours[wall][0], z + neighbours[wall][1])) {
                            box.FaceTextures[wall] = FaceTexture(
                                mode, solidTexture, surface.Textures[SurfaceSlot[wall]]);
                        }
                    }
                    if (HorizontalFaceShown(mode, sector, g, shape)) {
                        box.FaceTextures[4] = FaceTexture(mode, solidTexture, surface.Textures[2]);
                    }
                }
                // Colours: the mode's base, portals in magenta (and a side portal in cyan).
                box.Color = current ? base : White;
                if (pass == 2 && g.RoomBelow != NoRoom) {
                    box.Color =
                        current ? Magenta : (sector.PortalKind == PortalKindAbove ? Magenta : Cyan);
                }
                if (current && pass == 2 && g.RoomAbove != NoRoom &&
                    sector.PortalKind == PortalKindSide) {
                    box.Color = Cyan;
                }
                if (pass == 4 && g.RoomAbove != NoRoom &&
                    (!current || sector.PortalKind == PortalKindAbove)) {
                    box.Color = Magenta;
                }
                if (!current && mode == RenderMode::Textured) {
                    box.Color = White;
                }
                box.ShadeByFacing = mode == RenderMode::Solid;
                AppendSectorBox(quads, box, wx, baseY, wz, current ? n : NeighbourRoomPickName);
            }
        }
    }
}

void AppendFloorTints(std::vector<SceneQuad>& quads, const TEditorRoom& room,
                      const std::vector<uint32_t>& colors) {
    const int zs = room.ZSectors, xs = room.XSectors;
    if (zs * xs > MaxSectors || colors.size() != static_cast<std::size_t>(zs * xs)) {
        return;
    }
    for (int x = 1; x <= xs; ++x) {
        for (int z = 1; z <= zs; ++z) {
            const int n = SectorNumber(x, z, zs);
            if (colors[n - 1] == NoSectorTint) {
                continue;
            }
            // The corners of the floor surface pass's top face.
            const int shape = std::min<int>(room.Sector(n).FloorShape, HighestShape);
            const auto h = [shape](int i) { return ShapeTable[shape].CornerHeights[i] / 1024.0; };
            const double wx = room.PosX + x - 1, wz = -(room.PosZ + z - 1);
            const double y = room.PosY + uint8_t(room.GameSector(n).FloorHeight);
            quads.push_back(MakeQuad({{wx, y + h(3), wz - 1},
                                      {wx + 1, y + h(2), wz - 1},
                                      {wx + 1, y + h(1), wz},
                                      {wx, y + h(0), wz}},
                                     colors[n - 1], n, 0, 4));
        }
    }
}

void BuildCurrentRoomDrawing(CurrentRoomDrawing& drawing, RenderMode mode, const TEditorRoom& room,
                             int32_t solidTexture) {
    const int xs = room.XSectors, zs = room.ZSectors;
    drawing.Faces.clear();
    AppendRoomPasses(drawing.Faces, mode, room, true, solidTexture);
    // Every box of the passes loads its sector's name, the last one that of sector (xs, zs);
    // the solid and textured modes then load 0 for the axis marker.
    const bool passesDrawn = xs >= 1 && zs >= 1 && xs * zs <= MaxSectors;
    const int32_t afterPasses = passesDrawn ? SectorNumber(xs, zs, zs) : NoPickName;
    drawing.AxisName = mode == RenderMode::Wireframe ? afterPasses : NoPickName;

    // Red along growing rows, green along growing columns, blue upward.
    const float ax = static_cast<float>(room.PosX), ay = static_cast<float>(room.PosY),
                az = static_cast<float>(-room.PosZ);
    drawing.Axis = {SceneLine{{{ax, ay, az}, {ax, ay, az - 1}}, Red},
                    SceneLine{{{ax, ay, az}, {ax + 1, ay, az}}, Green},
                    SceneLine{{{ax, ay, az}, {ax, ay + 1, az}}, Blue}};

    drawing.Grid.clear();
    for (int x = 1; x <= xs; ++x) {
        for (int z = 1; z <= zs; ++z) {
            const double gx = room.PosX + x - 1, gz = -(room.PosZ + z - 1), gy = room.PosY;
            const int32_t name = SectorNumber(x, z, zs);
            drawing.Grid.push_back(
                MakeQuad({{gx, gy, gz - 1}, {gx + 1, gy, gz - 1}, {gx + 1, gy, gz}, {gx, gy, gz}},
                         Blue, name, 0, 0));
            drawing.Grid.push_back(
                MakeQuad({{gx, gy, gz}, {gx + 1, gy, gz}, {gx + 1, gy, gz - 1}, {gx, gy, gz - 1}},
                         Blue, name, 0, 0));
        }
    }
    drawing.NameAfterGrid = drawing.Grid.empty() ? drawing.AxisName : drawing.Grid.back().Name;

    drawing.PortalViews.clear();
    AppendPortalViews(drawing.PortalViews, room);
}

void PickScene(SelectionPick& pick, const CurrentRoomDrawing& current,
               const std::vector<SceneQuad>* neighbour, bool portalViewsShown) {
    for (const SceneQuad& quad : current.Faces) {
        pick.Quad(quad.Corners, quad.Name);
    }
    for (const SceneLine& line : current.Axis) {
        pick.Line(line.Ends[0], line.Ends[1], current.AxisName);
    }
    for (const SceneQuad& quad : current.Grid) {
        pick.Quad(quad.Corners, quad.Name);
    }
    if (neighbour != nullptr) {
        for (const SceneQuad& quad : *neighbour) {
            pick.Quad(quad.Corners, quad.Name);
        }
    }
    if (portalViewsShown) {
        const int32_t name = neighbour != nullptr ? NeighbourRoomPickName : current.NameAfterGrid;
        for (const SceneQuad& quad : current.PortalViews) {
            pick.Quad(quad.Corners, name);
        }
    }
}

} // namespace morvane
