#include "view/room_scene.h"

#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "document/shape_table.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace morvane {

namespace {

constexpr uint32_t Green = 0x00FF00;
constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Magenta = 0xFF00FF;
constexpr uint32_t Cyan = 0xFFFF00;
constexpr int NeighbourName = 999;

// Texture-coordinate planes (s, t) of the six face kinds: walls 0-3, top, bottom.
constexpr GLfloat PlaneS[6][4] = {{1, 0, 0, 0},  {-1, 0, 0, 0}, {0, 0, 1, 0},
                                  {0, 0, -1, 0}, {1, 0, 0, 0},  {1, 0, 0, 0}};
constexpr GLfloat PlaneT[6][4] = {{0, -1, 0, 0}, {0, -1, 0, 0}, {0, -1, 0, 0},
                                  {0, -1, 0, 0}, {0, 0, 1, 0},  {0, 0, -1, 0}};

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

uint16_t FaceTexture(uint8_t mode, int32_t solidTexture, int32_t slotTexture) {
    if (mode == RenderTextured) {
        return static_cast<uint16_t>(slotTexture + 1);
    }
    return static_cast<uint16_t>(solidTexture);
}

// Outlined polygons; while picking they are filled so that a point inside a face hits it, as
// the selection of a clipped polygon does.
void SetOutlineMode() {
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    glPolygonMode(GL_FRONT_AND_BACK, renderMode == GL_SELECT ? GL_FILL : GL_LINE);
}

void SetColor(uint32_t color) {
    glColor3ub(static_cast<GLubyte>(color & 0xFF), static_cast<GLubyte>(color >> 8 & 0xFF),
               static_cast<GLubyte>(color >> 16 & 0xFF));
}

} // namespace

bool HorizontalFaceShown(uint8_t mode, const TEditorSector& sector, const TGameSector& game,
                         int passShape) {
    if (mode == RenderWireframe) {
        return uint8_t(game.FloorHeight) < uint8_t(game.CeilingHeight);
    }
    return !IsClosed(sector, game, passShape);
}

void RoomScene::Create() {
    GLFigure::Create();
    Project = nullptr;
    DrawnRoom = 1;
    NeighbourRoom = 1;
    SolidTexture = 0;
    RenderMode = RenderWireframe;
    HeightSelector = 0;
    TexturesLoaded = false;
    HidePortals = false;
}

void RoomScene::Draw() {
    if (Project == nullptr || Project->RoomCount < DrawnRoom || DrawnRoom < 1 ||
        DrawnRoom > MaxRooms) {
        return;
    }
    switch (RenderMode) {
    case RenderWireframe:
        DrawWireframe(DrawnRoom, NeighbourRoom);
        break;
    case RenderSolid:
        DrawSolid(DrawnRoom, NeighbourRoom);
        break;
    case RenderTextured:
        DrawTextured(DrawnRoom, NeighbourRoom);
        break;
    default:
        break;
    }
}

void RoomScene::SetFaceTexGen(int face) {
    glEnable(GL_TEXTURE_GEN_S);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, PlaneS[face]);
    glEnable(GL_TEXTURE_GEN_T);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, PlaneT[face]);
}

void RoomScene::DrawSectorBox(const TSectorBox& box, double x, double y, double z) {
    SetColor(box.Color);
    const double* h = box.Heights;
    // Corners of each face in clockwise order as seen from outside: the top edge (heights)
    // first for standing boxes, the base first for hanging ones.
    auto quad = [&](int face, const double(&v)[4][3]) {
        glBindTexture(GL_TEXTURE_2D, box.FaceTextures[face > 4 ? 4 : face]);
        SetFaceTexGen(face);
        glBegin(GL_QUADS);
        for (const auto& p : v) {
            glVertex3d(p[0], p[1], p[2]);
        }
        glEnd();
    };
    if (!box.Hanging) {
        if (box.FaceTextures[0]) {
            quad(0, {{x, y + h[0], z}, {x + 1, y + h[1], z}, {x + 1, y, z}, {x, y, z}});
        }
        if (box.FaceTextures[1]) {
            quad(
                1,
                {{x + 1, y + h[2], z - 1}, {x, y + h[3], z - 1}, {x, y, z - 1}, {x + 1, y, z - 1}});
        }
        if (box.FaceTextures[2]) {
            quad(2, {{x, y + h[4], z - 1}, {x, y + h[5], z}, {x, y, z}, {x, y, z - 1}});
        }
        if (box.FaceTextures[3]) {
            quad(
                3,
                {{x + 1, y + h[6], z}, {x + 1, y + h[7], z - 1}, {x + 1, y, z - 1}, {x + 1, y, z}});
        }
        if (box.FaceTextures[4]) {
            quad(4, {{x, y + h[3], z - 1},
                     {x + 1, y + h[2], z - 1},
                     {x + 1, y + h[1], z},
                     {x, y + h[0], z}});
        }
    } else {
        if (box.FaceTextures[0]) {
            quad(0, {{x, y, z}, {x + 1, y, z}, {x + 1, y - h[1], z}, {x, y - h[0], z}});
        }
        if (box.FaceTextures[1]) {
            quad(
                1,
                {{x + 1, y, z - 1}, {x, y, z - 1}, {x, y - h[3], z - 1}, {x + 1, y - h[2], z - 1}});
        }
        if (box.FaceTextures[2]) {
            quad(2, {{x, y, z - 1}, {x, y, z}, {x, y - h[5], z}, {x, y - h[4], z - 1}});
        }
        if (box.FaceTextures[3]) {
            quad(
                3,
                {{x + 1, y, z}, {x + 1, y, z - 1}, {x + 1, y - h[7], z - 1}, {x + 1, y - h[6], z}});
        }
        if (box.FaceTextures[4]) {
            quad(5, {{x, y - h[0], z},
                     {x + 1, y - h[1], z},
                     {x + 1, y - h[2], z - 1},
                     {x, y - h[3], z - 1}});
        }
    }
}

void RoomScene::DrawRoomPasses(uint8_t mode, const TEditorRoom& room, bool current) {
    const int zs = room.ZSectors, xs = room.XSectors, height = room.Height;
    if (zs * xs > MaxSectors) {
        return;
    }
    const uint32_t base = mode == RenderWireframe ? Green : White;
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
                                mode, SolidTexture, surface.Textures[SurfaceSlot[wall]]);
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
                                mode, SolidTexture, surface.Textures[SurfaceSlot[wall]]);
                        }
                    }
                    if (HorizontalFaceShown(mode, sector, g, shape)) {
                        box.FaceTextures[4] = FaceTexture(mode, SolidTexture, surface.Textures[2]);
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
                if (!current && mode == RenderTextured) {
                    box.Color = White;
                }
                if (current) {
                    glLoadName(n);
                }
                DrawSectorBox(box, wx, baseY, wz);
            }
        }
    }
}

void RoomScene::DrawPortalViews(const TEditorRoom& room) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glColor3f(255, 255, 0);
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
        double q[4][3];
        auto set = [&](double(&v)[4][3], std::initializer_list<std::array<double, 3>> points) {
            int i = 0;
            for (const auto& p : points) {
                v[i][0] = p[0], v[i][1] = p[1], v[i][2] = p[2];
                ++i;
            }
        };
        switch (view.Facing) {
        case PortalFacingFront:
            set(q, {{x0, yb + t, z0}, {x0 + w, yb + t, z0}, {x0 + w, yb, z0}, {x0, yb, z0}});
            break;
        case PortalFacingBack:
            set(q, {{x0 + w, yb + t, z0}, {x0, yb + t, z0}, {x0, yb, z0}, {x0 + w, yb, z0}});
            break;
        case PortalFacingLeft:
            set(q, {{x0 + 1, yb + t, z0 + 1},
                    {x0 + 1, yb + t, z0 + 1 - w},
                    {x0 + 1, yb, z0 + 1 - w},
                    {x0 + 1, yb, z0 + 1}});
            break;
        case PortalFacingRight:
            set(q, {{x0 + 1, yb + t, z0},
                    {x0 + 1, yb + t, z0 + w},
                    {x0 + 1, yb, z0 + w},
                    {x0 + 1, yb, z0}});
            break;
        case PortalFacingCeiling:
            set(q, {{x0, top, z0 + t}, {x0 + w, top, z0 + t}, {x0 + w, top, z0}, {x0, top, z0}});
            break;
        case PortalFacingFloor:
            set(q, {{x0, bottom, z0},
                    {x0 + w, bottom, z0},
                    {x0 + w, bottom, z0 + t},
                    {x0, bottom, z0 + t}});
            break;
        default:
            continue;
        }
        glBegin(GL_QUADS);
        for (const auto& p : q) {
            glVertex3d(p[0], p[1], p[2]);
        }
        glEnd();
    }
}

void RoomScene::DrawPlan(uint8_t mode, int r, int m) {
    if (mode == RenderTextured && !TexturesLoaded) {
        return;
    }
    if (mode == RenderWireframe) {
        SetOutlineMode();
        glDisable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
    } else {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
        if (mode == RenderSolid) {
            glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(SolidTexture & 0xFFFF));
        }
    }
    const TEditorRoom& room = Project->Room(r);
    DrawRoomPasses(mode, room, true);
    if (mode != RenderWireframe) {
        SetOutlineMode();
        glDisable(GL_TEXTURE_2D);
        glLoadName(0);
    }
    // Axis marker at the room's origin: red along growing rows, green along growing columns,
    // blue upward.
    const double ax = room.PosX, ay = room.PosY, az = -room.PosZ;
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3d(ax, ay, az);
    glVertex3d(ax, ay, az - 1);
    glColor3f(0, 1, 0);
    glVertex3d(ax, ay, az);
    glVertex3d(ax + 1, ay, az);
    glColor3f(0, 0, 1);
    glVertex3d(ax, ay, az);
    glVertex3d(ax, ay + 1, az);
    glEnd();
    if (mode == RenderWireframe) {
        SetOutlineMode();
        glDisable(GL_TEXTURE_2D);
    }
    ClampHeightSelector(*this, *Project);
    // The sector grid on the room's bottom, outlined from above and from below.
    glColor3f(0, 0, 255);
    for (int x = 1; x <= room.XSectors; ++x) {
        for (int z = 1; z <= room.ZSectors; ++z) {
            const double gx = room.PosX + x - 1, gz = -(room.PosZ + z - 1), gy = room.PosY;
            glLoadName(SectorNumber(x, z, room.ZSectors));
            glBegin(GL_QUADS);
            glVertex3d(gx, gy, gz - 1);
            glVertex3d(gx + 1, gy, gz - 1);
            glVertex3d(gx + 1, gy, gz);
            glVertex3d(gx, gy, gz);
            glVertex3d(gx, gy, gz);
            glVertex3d(gx + 1, gy, gz);
            glVertex3d(gx + 1, gy, gz - 1);
            glVertex3d(gx, gy, gz - 1);
            glEnd();
        }
    }
    if (mode != RenderWireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
    }
    if (m != r && m >= 1 && m <= Project->RoomCount) {
        glLoadName(NeighbourName);
        DrawRoomPasses(mode, Project->Room(m), false);
    }
    if (!HidePortals) {
        DrawPortalViews(room);
    }
}

void RoomScene::FrameCurrentRoom() {
    if (Project == nullptr || DrawnRoom < 1 || DrawnRoom > MaxRooms) {
        return;
    }
    const TEditorRoom& room = Project->Room(DrawnRoom);
    BoundsMin = {double(room.PosX), double(room.PosY), double(-room.PosZ - room.ZSectors)};
    BoundsMax = {double(room.PosX + room.XSectors), double(room.PosY + room.Height),
                 double(-room.PosZ)};
    Position = {-static_cast<float>((BoundsMin.X + BoundsMax.X) / 2),
                -static_cast<float>((BoundsMin.Y + BoundsMax.Y) / 2),
                -static_cast<float>((BoundsMin.Z + BoundsMax.Z) / 2)};
}

} // namespace morvane
