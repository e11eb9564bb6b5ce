#include "levelbuild/room_geometry.h"

#include "document/shape_table.h"
#include "level/world_units.h"

#include <algorithm>
#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace morvane {

namespace {

constexpr int FloorBase = 32767;
constexpr int CeilingBase = -32768;

int16_t Wrap16(int value) {
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}
int16_t Clamp16(int value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

enum Side { MinusZ, PlusZ, MinusX, PlusX };
constexpr Side Sides[4] = {MinusZ, PlusZ, MinusX, PlusX};
constexpr int TextureSlot[4] = {0, 1, 3, 4}; // slots 1, 2, 4, 5
constexpr int LightSlot[4] = {0, 1, 2, 3};   // slots 1, 2, 3, 4
constexpr int FaceTextureSlot = 2;           // slot 3
constexpr int FaceLightSlot = 4;             // slot 5

// Own corners on a side, and the neighbour's corners at the same points.
constexpr int OwnCorners[4][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}};
constexpr int NeighbourCorners[4][2] = {{3, 2}, {1, 0}, {7, 6}, {5, 4}};

class GridWalker {
public:
    GridWalker(FaceList& list, const TLevelRoom& room, const TEditorSector* sectors,
               const SectorShapes& shapes)
        : list_(list), sectors_(sectors), shapes_(shapes), nz_(room.NumZSectors),
          nx_(room.NumXSectors) {
        // Everything the walk looks at again and again, once per sector.
        for (int i = 1; i <= nx_; ++i) {
            for (int k = 1; k <= nz_; ++k) {
                const int index = Index(i, k);
                fl_[index] = ClickLevel(room.Sectors[index].FloorHeight);
                cl_[index] = ClickLevel(room.Sectors[index].CeilingHeight);
                floorCorners_[index] = ShapeTable[shapes.Floor[index]].CornerHeights;
                ceilingCorners_[index] = ShapeTable[shapes.Ceiling[index]].CornerHeights;
                neighbours_[index] = {static_cast<int16_t>(k > 1 ? index - 1 : -1),
                                      static_cast<int16_t>(k < nz_ ? index + 1 : -1),
                                      static_cast<int16_t>(i > 1 ? index - nz_ : -1),
                                      static_cast<int16_t>(i < nx_ ? index + nz_ : -1)};
            }
        }
    }

    void FloorPass();
    void CeilingPass(bool doubleSided);

private:
    int Index(int i, int k) const { return (i - 1) * nz_ + (k - 1); }
    uint8_t FL(int index) const { return fl_[index]; }
    uint8_t CL(int index) const { return cl_[index]; }
    const int32_t* FloorCorners(int index) const { return floorCorners_[index]; }
    const int32_t* CeilingCorners(int index) const { return ceilingCorners_[index]; }
    bool IsFlatClosed(int index) const {
        return FL(index) == CL(index) && ShapeTable[shapes_.Floor[index]].SlopeClass == 0 &&
               ShapeTable[shapes_.Ceiling[index]].SlopeClass == 0;
    }
    // The neighbour across a side, or -1.
    int Neighbour(int i, int k, Side side) const { return neighbours_[Index(i, k)][side]; }
    void Emit(const int (&corners)[4][3], const TSectorSurface& surface, int textureSlot,
              int lightSlot, bool clamp = false) {
        const int32_t texture = surface.Textures[textureSlot];
        if (texture < 0) {
            return;
        }
        int16_t c[4][3];
        for (int v = 0; v < 4; ++v) {
            c[v][0] = Wrap16(corners[v][0]);
            c[v][1] = clamp ? Clamp16(corners[v][1]) : Wrap16(corners[v][1]);
            c[v][2] = Wrap16(corners[v][2]);
        }
        AddFace(list_, c, static_cast<uint16_t>(texture), surface.Lights[lightSlot]);
    }
    void EmitFloorFace(int x0, int x1, int z0, int z1, int g, const int32_t* c,
                       const TSectorSurface& surface) {
        Emit({{x0, g - c[3], z1}, {x1, g - c[2], z1}, {x1, g - c[1], z0}, {x0, g - c[0], z0}},
             surface, FaceTextureSlot, FaceLightSlot);
    }
    // The ceiling face, seen from below; a double-sided ceiling first gets its upward face.
    void EmitCeilingFaces(int x0, int x1, int z0, int z1, int g, const int32_t* c,
                          const TSectorSurface& surface, bool doubleSided, bool clamp) {
        if (doubleSided) {
            Emit({{x0, g + c[3], z1}, {x1, g + c[2], z1}, {x1, g + c[1], z0}, {x0, g + c[0], z0}},
                 surface, FaceTextureSlot, FaceLightSlot, clamp);
        }
        Emit({{x0, g + c[0], z0}, {x1, g + c[1], z0}, {x1, g + c[2], z1}, {x0, g + c[3], z1}},
             surface, FaceTextureSlot, FaceLightSlot, clamp);
    }
    // A whole block's wall on a side, from yt (top) to yb (bottom).
    void BlockWall(Side side, int x0, int z0, int yt, int yb, const TSectorSurface& surface) {
        const int x1 = x0 + SectorSize, z1 = z0 + SectorSize;
        switch (side) {
        case MinusZ:
            Emit({{x0, yt, z0}, {x1, yt, z0}, {x1, yb, z0}, {x0, yb, z0}}, surface,
                 TextureSlot[side], LightSlot[side]);
            break;
        case PlusZ:
            Emit({{x1, yt, z1}, {x0, yt, z1}, {x0, yb, z1}, {x1, yb, z1}}, surface,
                 TextureSlot[side], LightSlot[side]);
            break;
        case MinusX:
            Emit({{x0, yt, z1}, {x0, yt, z0}, {x0, yb, z0}, {x0, yb, z1}}, surface,
                 TextureSlot[side], LightSlot[side]);
            break;
        case PlusX:
            Emit({{x1, yt, z0}, {x1, yt, z1}, {x1, yb, z1}, {x1, yb, z0}}, surface,
                 TextureSlot[side], LightSlot[side]);
            break;
        }
    }
    // Whether the side of the top (or lowest) block shows: one of the own corners on the side
    // stands out beyond the neighbour's corner at the same point.
    static bool CutBlockShows(const int32_t* own, const int32_t* neighbour, Side side,
                              int replace) {
        int n0 = neighbour[NeighbourCorners[side][0]], n1 = neighbour[NeighbourCorners[side][1]];
        if (replace >= 0) {
            n0 = n1 = replace;
        }
        return own[OwnCorners[side][0]] > n0 || own[OwnCorners[side][1]] > n1;
    }
    static bool SharedEdgeDiffers(const int32_t* neighbour, Side side) {
        return neighbour[NeighbourCorners[side][0]] != neighbour[NeighbourCorners[side][1]];
    }
    // A flat sector among neighbours at its own level with the same shape shows no wall at all:
    // no block rises above them and no cut corner stands out.
    bool HidesItsWalls(int self, const std::array<uint8_t, MaxRoomSectors>& levels,
                       const std::array<const int32_t*, MaxRoomSectors>& corners, int shape) const {
        if (ShapeTable[shape].SlopeClass != 0) {
            return false;
        }
        for (int16_t n : neighbours_[self]) {
            if (n >= 0 && (levels[n] != levels[self] || corners[n] != corners[self])) {
                return false;
            }
        }
        return true;
    }
    // Whole blocks show from the lowest one that rises above a neighbour's floor (test level
    // 4m + 3 above it, or level with it where its edge is sloped) up to the top: the blocks
    // below the first such block show on no side and are skipped.
    int FirstExposedFloorBlock(int i, int k, int wholeBlocks) const {
        int first = wholeBlocks;
        for (Side side : Sides) {
            const int n = Neighbour(i, k, side);
            if (n >= 0) {
                const int level = FL(n) + (SharedEdgeDiffers(FloorCorners(n), side) ? 0 : 1);
                first = std::min(first, level / 4); // the least m with 4m + 3 >= level
            }
        }
        return first;
    }
    // The same for the ceiling's blocks, whose test level 255 - 4m falls as m grows.
    int FirstExposedCeilingBlock(int i, int k, int wholeBlocks) const {
        int first = wholeBlocks;
        for (Side side : Sides) {
            const int n = Neighbour(i, k, side);
            if (n >= 0) {
                const int gap = 255 - CL(n) + (SharedEdgeDiffers(CeilingCorners(n), side) ? 0 : 1);
                first = std::min(first, std::max(0, (gap + 3) / 4));
            }
        }
        return first;
    }

    FaceList& list_;
    const TEditorSector* sectors_; // textures and lights
    const SectorShapes& shapes_;
    int nz_, nx_;
    std::array<uint8_t, MaxRoomSectors> fl_, cl_;
    std::array<const int32_t*, MaxRoomSectors> floorCorners_, ceilingCorners_;
    std::array<std::array<int16_t, 4>, MaxRoomSectors> neighbours_;
};

void GridWalker::FloorPass() {
    for (int i = 1; i <= nx_; ++i) {
        for (int k = 1; k <= nz_; ++k) {
            const int self = Index(i, k);
            const TSectorSurface& surface = sectors_[self].FloorSurface;
            const int x0 = (i - 1) * SectorSize, z0 = (k - 1) * SectorSize, x1 = x0 + SectorSize,
                      z1 = z0 + SectorSize;
            const int h = FL(self);
            const int wholeBlocks = h / 4;
            const int g = FloorBase - SectorSize * wholeBlocks;
            const int32_t* c = FloorCorners(self);
            if (HidesItsWalls(self, fl_, floorCorners_, shapes_.Floor[self])) {
                if (!IsFlatClosed(self)) {
                    EmitFloorFace(x0, x1, z0, z1, g, c, surface);
                }
                continue;
            }
            for (int m = FirstExposedFloorBlock(i, k, wholeBlocks); m < wholeBlocks; ++m) {
                const int yb = FloorBase - SectorSize * m, yt = yb - SectorSize, t = 4 * m + 3;
                for (Side side : Sides) {
                    const int n = Neighbour(i, k, side);
                    if (n >= 0 &&
                        (t > FL(n) || (t == FL(n) && SharedEdgeDiffers(FloorCorners(n), side)))) {
                        BlockWall(side, x0, z0, yt, yb, surface);
                    }
                }
            }
            const int top = wholeBlocks + 1;
            for (Side side : Sides) {
                const int n = Neighbour(i, k, side);
                if (n < 0) {
                    continue;
                }
                const int neighbourTop = FL(n) / 4 + 1;
                const int replace = neighbourTop > top ? SectorSize : neighbourTop < top ? 0 : -1;
                if (!CutBlockShows(c, FloorCorners(n), side, replace)) {
                    continue;
                }
                switch (side) {
                case MinusZ:
                    Emit({{x0, g - c[0], z0}, {x1, g - c[1], z0}, {x1, g, z0}, {x0, g, z0}},
                         surface, TextureSlot[side], LightSlot[side]);
                    break;
                case PlusZ:
                    Emit({{x1, g - c[2], z1}, {x0, g - c[3], z1}, {x0, g, z1}, {x1, g, z1}},
                         surface, TextureSlot[side], LightSlot[side]);
                    break;
                case MinusX:
                    Emit({{x0, g - c[4], z1}, {x0, g - c[5], z0}, {x0, g, z0}, {x0, g, z1}},
                         surface, TextureSlot[side], LightSlot[side]);
                    break;
                case PlusX:
                    Emit({{x1, g - c[6], z0}, {x1, g - c[7], z1}, {x1, g, z1}, {x1, g, z0}},
                         surface, TextureSlot[side], LightSlot[side]);
                    break;
                }
            }
            if (!IsFlatClosed(self)) {
                EmitFloorFace(x0, x1, z0, z1, g, c, surface);
            }
        }
    }
}

void GridWalker::CeilingPass(bool doubleSided) {
    for (int i = 1; i <= nx_; ++i) {
        for (int k = 1; k <= nz_; ++k) {
            const int self = Index(i, k);
            const TSectorSurface& surface = sectors_[self].CeilingSurface;
            const int x0 = (i - 1) * SectorSize, z0 = (k - 1) * SectorSize, x1 = x0 + SectorSize,
                      z1 = z0 + SectorSize;
            const int h = CL(self);
            const int wholeBlocks = 64 - (h + 1) / 4;
            // A ceiling at the very top of the world has no whole block above it: its lowest
            // block starts above the world, and its corners are held to the world's top.
            const int g = CeilingBase + SectorSize * (wholeBlocks - 1);
            const bool clamp = wholeBlocks == 0;
            const int32_t* c = CeilingCorners(self);
            if (HidesItsWalls(self, cl_, ceilingCorners_, shapes_.Ceiling[self])) {
                if (!IsFlatClosed(self)) {
                    EmitCeilingFaces(x0, x1, z0, z1, g, c, surface, doubleSided, clamp);
                }
                continue;
            }
            for (int m = FirstExposedCeilingBlock(i, k, wholeBlocks); m < wholeBlocks; ++m) {
                // 16-bit arithmetic: the topmost block's upper edge wraps to 31744.
                const int yb = Wrap16(CeilingBase + SectorSize * m), yt = Wrap16(yb - SectorSize);
                const int t = 255 - 4 * m;
                for (Side side : Sides) {
                    const int n = Neighbour(i, k, side);
                    if (n >= 0 &&
                        (t < CL(n) || (t == CL(n) && SharedEdgeDiffers(CeilingCorners(n), side)))) {
                        BlockWall(side, x0, z0, yt, yb, surface);
                    }
                }
            }
            const int lowest = (h + 1) / 4 + 1;
            for (Side side : Sides) {
                const int n = Neighbour(i, k, side);
                if (n < 0) {
                    continue;
                }
                const int neighbourLowest = (CL(n) + 1) / 4 + 1;
                const int replace = neighbourLowest < lowest   ? SectorSize
                                    : neighbourLowest > lowest ? 0
                                                               : -1;
                if (!CutBlockShows(c, CeilingCorners(n), side, replace)) {
                    continue;
                }
                switch (side) {
                case MinusZ:
                    Emit({{x0, g, z0}, {x1, g, z0}, {x1, g + c[1], z0}, {x0, g + c[0], z0}},
                         surface, TextureSlot[side], LightSlot[side], clamp);
                    break;
                case PlusZ:
                    Emit({{x1, g, z1}, {x0, g, z1}, {x0, g + c[3], z1}, {x1, g + c[2], z1}},
                         surface, TextureSlot[side], LightSlot[side], clamp);
                    break;
                case MinusX:
                    Emit({{x0, g, z1}, {x0, g, z0}, {x0, g + c[5], z0}, {x0, g + c[4], z1}},
                         surface, TextureSlot[side], LightSlot[side], clamp);
                    break;
                case PlusX:
                    Emit({{x1, g, z0}, {x1, g, z1}, {x1, g + c[7], z1}, {x1, g + c[6], z0}},
                         surface, TextureSlot[side], LightSlot[side], clamp);
                    break;
                }
            }
            if (!IsFlatClosed(self)) {
                EmitCeilingFaces(x0, x1, z0, z1, g, c, surface, doubleSided, clamp);
            }
        }
    }
}

uint64_t PositionKey(const int16_t (&p)[3]) {
    return uint64_t(uint16_t(p[0])) | uint64_t(uint16_t(p[1])) << 16 |
           uint64_t(uint16_t(p[2])) << 32;
}

// Vertex numbers by position: an open-addressing table sized for the faces at hand, so that
// merging stays linear in the number of corners.
class PositionIndex {
public:
    explicit PositionIndex(std::size_t corners) {
        std::size_t size = 16;
        while (size < corners * 2) {
            size *= 2;
        }
        slots_.assign(size, Slot{Empty, 0});
        mask_ = size - 1;
    }
    // The number stored for the position, or `next` stored as its number when it is new.
    std::pair<uint16_t, bool> FindOrAdd(uint64_t key, uint16_t next) {
        for (std::size_t at = (key * 0x9E3779B97F4A7C15ull) >> 40 & mask_;; at = (at + 1) & mask_) {
            Slot& slot = slots_[at];
            if (slot.Key == key) {
                return {slot.Number, false};
            }
            if (slot.Key == Empty) {
                slot = {key, next};
                return {next, true};
            }
        }
    }

private:
    static constexpr uint64_t Empty = ~uint64_t{0}; // no position has all 64 bits set
    struct Slot {
        uint64_t Key;
        uint16_t Number;
    };
    std::vector<Slot> slots_;
    std::size_t mask_;
};

bool SameCorner(const int16_t (&a)[3], const int16_t (&b)[3]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

} // namespace

void AddFace(FaceList& list, const int16_t (&corners)[4][3], uint16_t texture, uint8_t light) {
    if (static_cast<int>(list.Faces.size()) >= MaxFaces) {
        return;
    }
    TRoomFace face;
    std::copy(&corners[0][0], &corners[0][0] + 12, &face.Corners[0][0]);
    face.Texture = texture;
    face.Light = light;
    list.Faces.push_back(face);
}

void BuildRoomFaces(FaceList& list, const TLevelRoom& room, const TEditorSector* sectors,
                    bool doubleSidedCeiling) {
    const auto count = static_cast<int>(
        std::min<int64_t>(int64_t{room.NumZSectors} * room.NumXSectors, MaxRoomSectors));
    auto shapes = std::make_unique<SectorShapes>();
    for (int n = 0; n < count; ++n) {
        shapes->Floor[n] = std::min<uint8_t>(sectors[n].FloorShape, HighestShape);
        shapes->Ceiling[n] = std::min<uint8_t>(sectors[n].CeilingShape, HighestShape);
    }
    BuildRoomFaces(list, room, sectors, *shapes, doubleSidedCeiling);
}

void BuildRoomFaces(FaceList& list, const TLevelRoom& room, const TEditorSector* sectors,
                    const SectorShapes& shapes, bool doubleSidedCeiling) {
    if (int64_t{room.NumZSectors} * room.NumXSectors > MaxRoomSectors) {
        return;
    }
    GridWalker walker(list, room, sectors, shapes);
    walker.FloorPass();
    walker.CeilingPass(doubleSidedCeiling);
}

namespace {

// The faces' corners merged into vertices: positions in first-seen order, each light the running
// average of the faces that touch it, in face order; and the faces counted as rectangles and
// triangles (a face with a repeated corner).
struct MergedMesh {
    struct PoolVertex {
        int16_t Position[3];
        uint8_t Light;
    };
    std::vector<PoolVertex> Pool;
    std::vector<std::array<uint16_t, 4>> FaceVertices;
    int Rectangles = 0;
    int Triangles = 0;
};

bool IsTriangle(const TRoomFace& face) {
    return SameCorner(face.Corners[3], face.Corners[0]) ||
           SameCorner(face.Corners[2], face.Corners[1]);
}

// At most MaxFaces faces of four corners: every vertex number fits 16 bits.
MergedMesh MergeCorners(const FaceList& list) {
    MergedMesh mesh;
    mesh.Pool.reserve(MaxRoomVertices + 1);
    PositionIndex index(list.Faces.size() * 4);
    mesh.FaceVertices.resize(list.Faces.size());
    for (std::size_t f = 0; f < list.Faces.size(); ++f) {
        const TRoomFace& face = list.Faces[f];
        for (int v = 0; v < 4; ++v) {
            auto [number, added] = index.FindOrAdd(PositionKey(face.Corners[v]),
                                                   static_cast<uint16_t>(mesh.Pool.size()));
            if (added) {
                mesh.Pool.push_back(
                    {{face.Corners[v][0], face.Corners[v][1], face.Corners[v][2]}, face.Light});
            } else {
                uint8_t& light = mesh.Pool[number].Light;
                light = static_cast<uint8_t>((light + face.Light) / 2);
            }
            mesh.FaceVertices[f][v] = number;
        }
        ++(IsTriangle(face) ? mesh.Triangles : mesh.Rectangles);
    }
    return mesh;
}

} // namespace

RoomMeshCounts CountRoomMesh(const FaceList& list) {
    const MergedMesh mesh = MergeCorners(list);
    return {static_cast<int>(mesh.Pool.size()), mesh.Rectangles, mesh.Triangles};
}

bool FacesToRoomMesh(const FaceList& list, TLevelRoom& room, std::string& problem) {
    const MergedMesh mesh = MergeCorners(list);
    const auto& pool = mesh.Pool;
    const auto& faceVertices = mesh.FaceVertices;
    const int rectangles = mesh.Rectangles, triangles = mesh.Triangles;
    if (pool.size() > MaxRoomVertices) {
        problem = "more than " + std::to_string(MaxRoomVertices) + " vertices";
        room.NumVertices = room.NumRectangles = room.NumTriangles = 0;
        return false;
    }
    if (rectangles > MaxRoomRectangles || triangles > MaxRoomTriangles) {
        problem = rectangles > MaxRoomRectangles
                      ? std::to_string(rectangles) + " rectangles, more than " +
                            std::to_string(MaxRoomRectangles)
                      : std::to_string(triangles) + " triangles, more than " +
                            std::to_string(MaxRoomTriangles);
        room.NumVertices = room.NumRectangles = room.NumTriangles = 0;
        return false;
    }

    room.NumVertices = static_cast<uint16_t>(pool.size());
    for (std::size_t v = 0; v < pool.size(); ++v) {
        TVertex1& vertex = room.Vertices1[v];
        vertex.X = pool[v].Position[0];
        vertex.Y = pool[v].Position[1];
        vertex.Z = pool[v].Position[2];
        // The light goes into the high byte; the low byte is left as it was.
        vertex.Lighting = static_cast<uint16_t>((vertex.Lighting & 0x00FF) | pool[v].Light << 8);
    }
    room.NumRectangles = room.NumTriangles = 0;
    for (std::size_t f = 0; f < list.Faces.size(); ++f) {
        const TRoomFace& face = list.Faces[f];
        const auto& v = faceVertices[f];
        if (IsTriangle(face)) {
            const uint16_t third = SameCorner(face.Corners[2], face.Corners[1]) ? v[3] : v[2];
            room.Triangles[room.NumTriangles++] = {{v[0], v[1], third}, face.Texture};
        } else {
            room.Rectangles[room.NumRectangles++] = {{v[0], v[1], v[2], v[3]}, face.Texture};
        }
    }
    return true;
}

} // namespace morvane
