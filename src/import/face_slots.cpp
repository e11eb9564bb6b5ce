#include "import/face_slots.h"

#include "level/world_units.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace morvane {

namespace {

constexpr uint16_t TextureBits = 0x7FFF; // the third game keeps a double-sided mark in bit 15
constexpr uint64_t NoCorner = ~uint64_t{0};

struct Point {
    int X, Y, Z;
};

// A face as its corner positions, 3 or 4.
struct Face {
    Point Corners[4];
    int Count = 0;
};

// Heights are compared by the click: the builder draws a floor one unit above the height it
// stands for.
int ClickOf(int y) {
    return (y + ClickSize / 2 + 2 * 32768) / ClickSize - 2 * 32768 / ClickSize;
}

uint64_t CornerCode(const Point& p) {
    return uint64_t(uint16_t(p.X)) | uint64_t(uint16_t(ClickOf(p.Y))) << 16 |
           uint64_t(uint16_t(p.Z)) << 32;
}

// The corners in order, turned so that the smallest sequence comes first: the same face drawn
// from another starting corner has the same key; the face seen from the other side does not.
struct FaceKey {
    std::array<uint64_t, 4> Codes{NoCorner, NoCorner, NoCorner, NoCorner};
    bool operator==(const FaceKey& other) const { return Codes == other.Codes; }
};

struct FaceKeyHash {
    std::size_t operator()(const FaceKey& key) const {
        uint64_t h = 0;
        for (uint64_t code : key.Codes) {
            h = (h ^ code) * 0x9E3779B97F4A7C15ull;
        }
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

FaceKey KeyOf(const Face& face) {
    FaceKey best;
    for (int start = 0; start < face.Count; ++start) {
        FaceKey key;
        for (int i = 0; i < face.Count; ++i) {
            key.Codes[i] = CornerCode(face.Corners[(start + i) % face.Count]);
        }
        if (start == 0 || key.Codes < best.Codes) {
            best = key;
        }
    }
    return best;
}

// Which way a face looks: the axis along which its normal (Newell's method) is longest, and the
// normal's sign on it.
struct Facing {
    int Axis = -1; // 0 x, 1 y, 2 z; -1 for a face without area
    int Sign = 0;
};

Facing FacingOf(const Face& face) {
    long long n[3] = {0, 0, 0};
    for (int i = 0; i < face.Count; ++i) {
        const Point& a = face.Corners[i];
        const Point& b = face.Corners[(i + 1) % face.Count];
        n[0] += static_cast<long long>(a.Y - b.Y) * (a.Z + b.Z);
        n[1] += static_cast<long long>(a.Z - b.Z) * (a.X + b.X);
        n[2] += static_cast<long long>(a.X - b.X) * (a.Y + b.Y);
    }
    Facing facing;
    long long largest = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (std::llabs(n[axis]) > largest) {
            largest = std::llabs(n[axis]);
            facing = {axis, n[axis] > 0 ? 1 : -1};
        }
    }
    return facing;
}

struct Box2 {
    int MinU, MaxU, MinV, MaxV;
};

// The face's extent in the plane across its facing axis (for a wall its run and its heights,
// for a floor or ceiling its x and z).
Box2 ExtentAcross(const Face& face, int axis) {
    auto u = [&](const Point& p) { return axis == 0 ? p.Z : p.X; };
    auto v = [&](const Point& p) { return axis == 1 ? p.Z : p.Y; };
    Box2 box{u(face.Corners[0]), u(face.Corners[0]), v(face.Corners[0]), v(face.Corners[0])};
    for (int i = 1; i < face.Count; ++i) {
        box.MinU = std::min(box.MinU, u(face.Corners[i]));
        box.MaxU = std::max(box.MaxU, u(face.Corners[i]));
        box.MinV = std::min(box.MinV, v(face.Corners[i]));
        box.MaxV = std::max(box.MaxV, v(face.Corners[i]));
    }
    return box;
}

long long Overlap(const Box2& a, const Box2& b) {
    const long long u = std::min(a.MaxU, b.MaxU) - std::max(a.MinU, b.MinU);
    const long long v = std::min(a.MaxV, b.MaxV) - std::max(a.MinV, b.MinV);
    return u > 0 && v > 0 ? u * v : 0;
}

// Whether two floor or ceiling faces lie at the same height: their heights overlap, give or take
// half a click.
bool SameHeight(const Face& a, const Face& b) {
    auto range = [](const Face& face) {
        int low = face.Corners[0].Y, high = low;
        for (int i = 1; i < face.Count; ++i) {
            low = std::min(low, face.Corners[i].Y);
            high = std::max(high, face.Corners[i].Y);
        }
        return std::pair{low, high};
    };
    constexpr int Tolerance = 128;
    const auto [lowA, highA] = range(a);
    const auto [lowB, highB] = range(b);
    return lowA <= highB + Tolerance && lowB <= highA + Tolerance;
}

// Level faces grouped by where they lie: walls by their plane (axis, position, facing), floors
// and ceilings by facing and the sector under their middle. Walls not square to the grid have
// none.
constexpr uint64_t NoBucket = ~uint64_t{0};

uint64_t PlaneBucket(const Face& face, const Facing& facing) {
    int position;
    if (facing.Axis == 1) {
        long long x = 0, z = 0;
        for (int i = 0; i < face.Count; ++i) {
            x += face.Corners[i].X;
            z += face.Corners[i].Z;
        }
        const int column = static_cast<int>(x / face.Count) >> 10;
        const int row = static_cast<int>(z / face.Count) >> 10;
        position = (column & 0xFF) << 8 | (row & 0xFF);
    } else {
        position = facing.Axis == 0 ? face.Corners[0].X : face.Corners[0].Z;
        for (int i = 1; i < face.Count; ++i) {
            if ((facing.Axis == 0 ? face.Corners[i].X : face.Corners[i].Z) != position) {
                return NoBucket; // a wall that is not square to the grid
            }
        }
    }
    return uint64_t(facing.Axis) << 40 | uint64_t(facing.Sign > 0) << 32 | uint32_t(position);
}

struct LevelFace {
    Face Shape;
    uint16_t Texture;
    int Light; // the average light of its corners
    bool Used = false;
};

// The level room's faces, skipping those with a vertex beyond the room's vertices.
std::vector<LevelFace> LevelFaces(const TLevelRoom& room) {
    std::vector<LevelFace> faces;
    const int vertices = std::min<int>(room.NumVertices, MaxRoomVertices);
    auto add = [&](const uint16_t* indices, int count, uint16_t texture) {
        LevelFace face{};
        int light = 0;
        for (int i = 0; i < count; ++i) {
            if (indices[i] >= vertices) {
                return;
            }
            const TVertex1& v = room.Vertices1[indices[i]];
            face.Shape.Corners[i] = {v.X, v.Y, v.Z};
            light += v.Lighting >> 8;
        }
        face.Shape.Count = count;
        face.Texture = texture & TextureBits;
        face.Light = light / count;
        faces.push_back(face);
    };
    for (int f = 0; f < std::min<int>(room.NumRectangles, MaxRoomRectangles); ++f) {
        add(room.Rectangles[f].Vertices, 4, room.Rectangles[f].Texture);
    }
    for (int f = 0; f < std::min<int>(room.NumTriangles, MaxRoomTriangles); ++f) {
        add(room.Triangles[f].Vertices, 3, room.Triangles[f].Texture);
    }
    return faces;
}

bool SamePoint(const int16_t (&a)[3], const int16_t (&b)[3]) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// A built face as the room mesh keeps it: a face with a repeated corner is a triangle.
Face MeshFace(const TRoomFace& built) {
    Face face;
    auto point = [&](int i) {
        return Point{built.Corners[i][0], built.Corners[i][1], built.Corners[i][2]};
    };
    if (SamePoint(built.Corners[3], built.Corners[0]) ||
        SamePoint(built.Corners[2], built.Corners[1])) {
        const int third = SamePoint(built.Corners[2], built.Corners[1]) ? 3 : 2;
        face.Corners[0] = point(0);
        face.Corners[1] = point(1);
        face.Corners[2] = point(third);
        face.Count = 3;
    } else {
        for (int i = 0; i < 4; ++i) {
            face.Corners[i] = point(i);
        }
        face.Count = 4;
    }
    return face;
}

// Votes of the faces found for one slot: the texture most of them carry and their mean light.
struct SlotVotes {
    std::vector<std::pair<uint16_t, int>> Textures; // texture, count
    int LightSum = 0;
    int Faces = 0;
    void Add(const LevelFace& face) {
        auto at = std::find_if(Textures.begin(), Textures.end(),
                               [&](const auto& t) { return t.first == face.Texture; });
        if (at == Textures.end()) {
            Textures.emplace_back(face.Texture, 1);
        } else {
            ++at->second;
        }
        LightSum += face.Light;
        ++Faces;
    }
};

} // namespace

RoomFaceSlots MatchFacesToSlots(const TLevelRoom& levelRoom, const TLevelRoom& grid,
                                const SectorShapes& shapes, bool doubleSidedCeiling,
                                FaceMatchScratch& scratch) {
    const int sectors = std::min(int{grid.NumZSectors} * grid.NumXSectors, MaxRoomSectors);
    RoomFaceSlots result;
    result.Sectors.assign(static_cast<std::size_t>(sectors), SectorSlots{});

    // Every slot marked with its own texture number: sector n's slot s is n * 10 + s.
    for (int n = 0; n < sectors; ++n) {
        TEditorSector& tagged = scratch.TaggedSectors[n];
        for (int t = 0; t < SlotsPerSurface; ++t) {
            tagged.FloorSurface.Textures[t] = n * SlotCount + t;
            tagged.CeilingSurface.Textures[t] = n * SlotCount + SlotsPerSurface + t;
        }
    }
    scratch.Faces.Clear();
    BuildRoomFaces(scratch.Faces, grid, scratch.TaggedSectors.data(), shapes, doubleSidedCeiling);

    std::vector<LevelFace> levelFaces = LevelFaces(levelRoom);
    result.LevelFaces = static_cast<int>(levelFaces.size());
    std::unordered_map<FaceKey, std::vector<int>, FaceKeyHash> byCorners;
    byCorners.reserve(levelFaces.size() * 2);
    for (int f = 0; f < static_cast<int>(levelFaces.size()); ++f) {
        byCorners[KeyOf(levelFaces[f].Shape)].push_back(f);
    }

    std::vector<SlotVotes> votes(static_cast<std::size_t>(sectors) * SlotCount);
    std::vector<std::pair<Face, int>> unmatched; // built face, slot tag
    for (const TRoomFace& built : scratch.Faces.Faces) {
        const int tag = built.Texture;
        result.Sectors[tag / SlotCount][tag % SlotCount].Built = true;
        const Face face = MeshFace(built);
        auto found = byCorners.find(KeyOf(face));
        if (found == byCorners.end()) {
            unmatched.emplace_back(face, tag);
            continue;
        }
        for (int f : found->second) {
            levelFaces[f].Used = true;
            votes[tag].Add(levelFaces[f]);
        }
    }

    // What the corners did not find: the level face on the same side that overlaps most.
    if (!unmatched.empty()) {
        std::unordered_map<uint64_t, std::vector<int>> byPlane;
        for (int f = 0; f < static_cast<int>(levelFaces.size()); ++f) {
            if (!levelFaces[f].Used) {
                const Facing facing = FacingOf(levelFaces[f].Shape);
                const uint64_t bucket =
                    facing.Axis >= 0 ? PlaneBucket(levelFaces[f].Shape, facing) : NoBucket;
                if (bucket != NoBucket) {
                    byPlane[bucket].push_back(f);
                }
            }
        }
        for (const auto& [face, tag] : unmatched) {
            const Facing facing = FacingOf(face);
            if (facing.Axis < 0) {
                continue;
            }
            auto plane = byPlane.find(PlaneBucket(face, facing));
            if (plane == byPlane.end()) {
                continue;
            }
            const Box2 extent = ExtentAcross(face, facing.Axis);
            int best = -1;
            long long bestOverlap = 0;
            for (int f : plane->second) {
                if (facing.Axis == 1 && !SameHeight(face, levelFaces[f].Shape)) {
                    continue; // a floor and the top of a double-sided ceiling face the same way
                }
                const long long overlap =
                    Overlap(extent, ExtentAcross(levelFaces[f].Shape, facing.Axis));
                if (overlap > bestOverlap) {
                    bestOverlap = overlap;
                    best = f;
                }
            }
            if (best >= 0) {
                levelFaces[best].Used = true;
                votes[tag].Add(levelFaces[best]);
            }
        }
    }

    for (int tag = 0; tag < static_cast<int>(votes.size()); ++tag) {
        const SlotVotes& slotVotes = votes[tag];
        if (slotVotes.Faces == 0) {
            continue;
        }
        SlotFace& slot = result.Sectors[tag / SlotCount][tag % SlotCount];
        slot.Found = true;
        slot.Texture =
            std::max_element(slotVotes.Textures.begin(), slotVotes.Textures.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; })
                ->first;
        slot.Light = slotVotes.LightSum / slotVotes.Faces;
    }
    result.UsedFaces = static_cast<int>(
        std::count_if(levelFaces.begin(), levelFaces.end(), [](const auto& f) { return f.Used; }));
    return result;
}

} // namespace morvane
