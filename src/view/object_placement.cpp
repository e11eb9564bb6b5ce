#include "view/object_placement.h"

#include "document/sector_heights.h"
#include "document/sector_numbering.h"
#include "document/shape_table.h"
#include "level/world_units.h"
#include "view/pick_names.h"

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

bool RoomExists(const TEditorProject& project, int room) {
    return room >= 1 && room <= std::min<int>(project.RoomCount, MaxRooms);
}

} // namespace

std::vector<int> ObjectsOfRooms(const TEditorProject& project, int room, int neighbour) {
    std::vector<int> drawn;
    const bool withNeighbour = neighbour != room && RoomExists(project, neighbour);
    const uint32_t count = std::min<uint32_t>(project.Objects.Count, MaxObjects);
    for (uint32_t i = 0; i < count; ++i) {
        const int r = project.Objects.Objects[i].Room;
        if (r == room || (withNeighbour && r == neighbour)) {
            drawn.push_back(static_cast<int>(i));
        }
    }
    return drawn;
}

int ObjectWorldY(const TEditorProject& project, const TEditorObject& object) {
    if (object.OnFloor == 0 || !RoomExists(project, object.Room)) {
        return object.Y;
    }
    const TEditorRoom& room = project.Room(object.Room);
    if (room.XSectors < 1 || room.ZSectors < 1) {
        return object.Y;
    }
    const int column = std::clamp(object.X / SectorSize + 1, 1, int(room.XSectors));
    const int row = std::clamp(object.Z / SectorSize + 1, 1, int(room.ZSectors));
    const int n = SectorNumber(column, row, room.ZSectors);
    // FloorY is the floor's highest point; a slope is lower by its corners' heights, taken
    // between the corners at the object's place in the sector.
    const TShapeInfo& shape = ShapeTable[std::min<int>(room.Sector(n).FloorShape, HighestShape)];
    const double fx =
        std::clamp(double(object.X - (column - 1) * SectorSize) / SectorSize, 0.0, 1.0);
    const double fz = std::clamp(double(object.Z - (row - 1) * SectorSize) / SectorSize, 0.0, 1.0);
    const int32_t* c = shape.CornerHeights;
    const double height =
        c[0] * (1 - fx) * (1 - fz) + c[1] * fx * (1 - fz) + c[2] * fx * fz + c[3] * (1 - fx) * fz;
    return FloorY(room, n) + shape.Rise * ClickSize - static_cast<int>(std::lround(height));
}

std::array<double, 3> ObjectScenePoint(const TEditorProject& project, const TEditorObject& object) {
    double cornerX = 0, cornerZ = 0;
    if (RoomExists(project, object.Room)) {
        cornerX = project.Room(object.Room).PosX;
        cornerZ = project.Room(object.Room).PosZ;
    }
    return {cornerX + double(object.X) / SectorSize,
            double(LevelZeroY - ObjectWorldY(project, object)) / LevelSize,
            -(cornerZ + double(object.Z) / SectorSize)};
}

Mat4 ObjectSceneTransform(const TEditorProject& project, const TEditorObject& object) {
    const std::array<double, 3> p = ObjectScenePoint(project, object);
    // The game's y grows downwards and its z runs against the scene's: a half turn about x,
    // which keeps the faces' sense of turning.
    Mat4 m = TranslationMatrix(p[0], p[1], p[2]) *
             ScalingMatrix(1.0 / SectorSize, -1.0 / LevelSize, -1.0 / SectorSize);
    if (object.Is(ObjectKind::Item) || object.Is(ObjectKind::Static)) {
        m = m * RotationMatrix(object.Angle * 360.0 / 65536.0, 0, 1, 0);
    }
    return m;
}

const ObjectModel* ObjectModelOf(const ModelLibrary* models, const TEditorObject& object) {
    if (models == nullptr || object.Type < 0) {
        return nullptr;
    }
    if (object.Is(ObjectKind::Item)) {
        return models->Item(object.Type);
    }
    return object.Is(ObjectKind::Static) ? models->Static(object.Type) : nullptr;
}

ObjectBox ObjectDrawnBox(const ModelLibrary* models, const TEditorObject& object) {
    if (const ObjectModel* model = ObjectModelOf(models, object)) {
        return {model->Min, model->Max};
    }
    const float h = MarkerHalfSize;
    if (object.Is(ObjectKind::Camera) || object.Is(ObjectKind::Light)) {
        return {{-h, -h, -h}, {h, h, h}};
    }
    return {{-h, -2 * h, -h}, {h, 0, h}};
}

int PickObjects(const Mat4& clipFromScene, const TEditorProject& project,
                const ModelLibrary* models, const std::vector<int>& objects) {
    int nearest = -1;
    uint32_t nearestDepth = 0;
    for (const int index : objects) {
        const TEditorObject& object = project.Objects.Objects[index];
        const ObjectBox box = ObjectDrawnBox(models, object);
        SelectionPick pick(clipFromScene * ObjectSceneTransform(project, object));
        const float x[2] = {box.Min[0], box.Max[0]}, y[2] = {box.Min[1], box.Max[1]},
                    z[2] = {box.Min[2], box.Max[2]};
        // Each face of the box as its four corners going round, then the other way round.
        for (int axis = 0; axis < 3; ++axis) {
            for (int side = 0; side < 2; ++side) {
                float face[4][3];
                const int u = (axis + 1) % 3, v = (axis + 2) % 3;
                const int corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
                for (int c = 0; c < 4; ++c) {
                    float point[3];
                    point[axis] = side == 0 ? (axis == 0   ? x[0]
                                               : axis == 1 ? y[0]
                                                           : z[0])
                                            : (axis == 0   ? x[1]
                                               : axis == 1 ? y[1]
                                                           : z[1]);
                    const float* const span[3] = {x, y, z};
                    point[u] = span[u][corners[c][0]];
                    point[v] = span[v][corners[c][1]];
                    std::copy_n(point, 3, face[c]);
                }
                pick.Quad(face, PickNameOfObject(index));
                const float reversed[4][3] = {{face[3][0], face[3][1], face[3][2]},
                                              {face[2][0], face[2][1], face[2][2]},
                                              {face[1][0], face[1][1], face[1][2]},
                                              {face[0][0], face[0][1], face[0][2]}};
                pick.Quad(reversed, PickNameOfObject(index));
            }
        }
        if (pick.Hit() && (nearest < 0 || pick.Depth() < nearestDepth)) {
            nearest = index;
            nearestDepth = pick.Depth();
        }
    }
    return nearest;
}

std::string MarkerLabelOf(const ModelLibrary* models, const TEditorObject& object) {
    if (!object.Is(ObjectKind::Item) && !object.Is(ObjectKind::Static)) {
        return "";
    }
    return ObjectModelOf(models, object) == nullptr ? std::to_string(object.Type) : "";
}

} // namespace morvane
