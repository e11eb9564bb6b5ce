#include "levelbuild/room_geometry.h"
#include "document/shape_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace morvane {
namespace {

// A level room's sector grid with heights given directly as click levels (counted upwards) and
// the project sectors that go with it (shape 0 already replaced by 1, as the build does).
struct GeometryRoom {
    std::unique_ptr<TLevelRoom> room = std::make_unique<TLevelRoom>();
    std::vector<TEditorSector> sectors = std::vector<TEditorSector>(MaxSectors);
    FaceList faces;

    GeometryRoom(int nx, int nz) {
        room->NumXSectors = static_cast<uint16_t>(nx);
        room->NumZSectors = static_cast<uint16_t>(nz);
        for (int i = 1; i <= nx; ++i) {
            for (int k = 1; k <= nz; ++k) {
                Set(i, k, 3, 15);
                TEditorSector& s = Sector(i, k);
                for (int slot = 0; slot < 5; ++slot) {
                    s.FloorSurface.Textures[slot] = 10 + slot;
                    s.CeilingSurface.Textures[slot] = 20 + slot;
                    s.FloorSurface.Lights[slot] = s.CeilingSurface.Lights[slot] = 8;
                }
            }
        }
    }
    int Index(int i, int k) const { return (i - 1) * room->NumZSectors + (k - 1); }
    TEditorSector& Sector(int i, int k) { return sectors[Index(i, k)]; }
    void Set(int i, int k, int floorLevel, int ceilingLevel, int floorShape = 1,
             int ceilingShape = 1) {
        TGameSector& g = room->Sectors[Index(i, k)];
        g.FloorHeight = static_cast<int8_t>(127 - floorLevel);
        g.CeilingHeight = static_cast<int8_t>(127 - ceilingLevel);
        Sector(i, k).FloorShape = static_cast<uint8_t>(floorShape);
        Sector(i, k).CeilingShape = static_cast<uint8_t>(ceilingShape);
    }
    void Build(bool doubleSided = false) {
        faces.Clear();
        BuildRoomFaces(faces, *room, sectors.data(), doubleSided);
    }
    int CountTexture(int texture) const {
        int n = 0;
        for (const auto& f : faces.Faces) {
            n += f.Texture == texture;
        }
        return n;
    }
};

// A 3 x 3 room, one sector-height block high: a solid ring around one open sector.
TEST(RoomGeometry, ARingOfSolidSectorsAroundAnOpenOne) {
    GeometryRoom g(3, 3);
    for (int i = 1; i <= 3; ++i) {
        for (int k = 1; k <= 3; ++k) {
            if (i != 2 || k != 2) {
                g.Set(i, k, 15, 15);
            }
        }
    }
    g.Sector(2, 1).FloorSurface.Textures[1] = 99; // the wall of (2, 1) toward row 2
    g.Build();
    EXPECT_EQ(g.CountTexture(12), 1) << "one floor face, the open sector's";
    EXPECT_EQ(g.CountTexture(22), 1) << "one ceiling face";
    // Each of the four neighbours shows three blocks toward the open sector (levels 1-3 above
    // the open floor at level 0): whole blocks 1 and 2 and the top block.
    EXPECT_EQ(g.CountTexture(99), 3);
    EXPECT_EQ(g.faces.Faces.size(), 14u);
    for (const auto& f : g.faces.Faces) {
        if (f.Texture == 12) {
            EXPECT_EQ(f.Corners[0][1], 32767 - 1024) << "the open floor stands one block up";
            EXPECT_EQ(f.Corners[0][0], 1024);
            EXPECT_EQ(f.Corners[0][2], 2048);
        }
        if (f.Texture == 22) {
            EXPECT_EQ(f.Corners[0][1], -32768 + 1024 * 60);
        }
    }
    std::string problem;
    ASSERT_TRUE(FacesToRoomMesh(g.faces, *g.room, problem));
    EXPECT_EQ(g.room->NumRectangles, 14);
    EXPECT_EQ(g.room->NumTriangles, 0);
}

TEST(RoomGeometry, NeighboursAtTheSameLevelShowNoWall) {
    GeometryRoom g(2, 1);
    g.Build();
    EXPECT_EQ(g.faces.Faces.size(), 4u) << "two floor faces and two ceiling faces only";
    g.Sector(1, 1).FloorSurface.Textures[2] = -1;
    g.Build();
    EXPECT_EQ(g.CountTexture(12), 1) << "a face whose texture is negative is left out";
}

TEST(RoomGeometry, ASlopeBesideAFlatSectorShowsItsHighSide) {
    GeometryRoom g(2, 2);
    // Shape 5 (high along row 1) rising two clicks from the same level as its neighbours.
    g.Set(2, 1, 5, 15, 5);
    g.Sector(2, 1).FloorSurface.Textures[0] = 70; // toward row 0: no neighbour, no wall
    g.Sector(2, 1).FloorSurface.Textures[1] = 71; // toward row 2: the low side
    g.Sector(2, 1).FloorSurface.Textures[3] = 73; // toward column 1: half high
    g.Build();
    EXPECT_EQ(g.CountTexture(70), 0);
    EXPECT_EQ(g.CountTexture(71), 0);
    ASSERT_EQ(g.CountTexture(73), 1);
    std::string problem;
    ASSERT_TRUE(FacesToRoomMesh(g.faces, *g.room, problem));
    int triangles = 0;
    for (int t = 0; t < g.room->NumTriangles; ++t) {
        triangles += g.room->Triangles[t].Texture == 73;
    }
    EXPECT_EQ(triangles, 1) << "the side wall of a slope is a triangle";
}

TEST(RoomGeometry, DoubleSidedCeilingsComeUpwardFirst) {
    GeometryRoom g(1, 1);
    g.Build(true);
    ASSERT_EQ(g.faces.Faces.size(), 3u);
    const TRoomFace& up = g.faces.Faces[1];
    const TRoomFace& down = g.faces.Faces[2];
    EXPECT_EQ(up.Corners[0][2], 1024) << "the upward face starts at the high-z corner";
    EXPECT_EQ(down.Corners[0][2], 0);
    EXPECT_EQ(up.Texture, 22);
    EXPECT_EQ(down.Texture, 22);
}

TEST(RoomGeometry, SharedCornersAverageTheirLightsInFaceOrder) {
    FaceList list;
    const int16_t a[4][3] = {{0, 0, 0}, {1024, 0, 0}, {1024, 0, 1024}, {0, 0, 1024}};
    const int16_t b[4][3] = {{1024, 0, 0}, {2048, 0, 0}, {2048, 0, 1024}, {1024, 0, 1024}};
    const int16_t c[4][3] = {{1024, 0, 0}, {1024, -1024, 0}, {1024, -1024, 0}, {1024, 0, 1024}};
    AddFace(list, a, 1, 10);
    AddFace(list, b, 2, 20);
    AddFace(list, c, 3, 31);
    auto room = std::make_unique<TLevelRoom>();
    room->Vertices1[1].Lighting = 0x0077;
    std::string problem;
    ASSERT_TRUE(FacesToRoomMesh(list, *room, problem));
    ASSERT_EQ(room->NumVertices, 7);
    EXPECT_EQ(room->Vertices1[1].Lighting, (((10 + 20) / 2 + 31) / 2) << 8 | 0x77)
        << "(1024, 0, 0): 10, then 20, then 31; the low byte is left as it was";
    EXPECT_EQ(room->Vertices1[0].Lighting >> 8, 10);
    EXPECT_EQ(room->NumRectangles, 2);
    ASSERT_EQ(room->NumTriangles, 1);
    EXPECT_EQ(room->Triangles[0].Vertices[0], 1);
    EXPECT_EQ(room->Triangles[0].Vertices[2], 2) << "corner 3 repeats corner 2: corner 4 closes it";
}

// The merging must give exactly what a linear search over the vertex list gives.
TEST(RoomGeometry, MergingMatchesALinearSearch) {
    std::mt19937 random(3);
    GeometryRoom g(12, 9);
    for (int i = 1; i <= 12; ++i) {
        for (int k = 1; k <= 9; ++k) {
            const int floor =
                3 + 4 * static_cast<int>(random() % 3) + static_cast<int>(random() % 3);
            g.Set(i, k, floor, floor + 8 + static_cast<int>(random() % 6),
                  1 + static_cast<int>(random() % 16), 1 + static_cast<int>(random() % 16));
            g.Sector(i, k).FloorSurface.Lights[4] = static_cast<uint8_t>(random() % 32);
        }
    }
    g.Build(true);
    std::string problem;
    ASSERT_TRUE(FacesToRoomMesh(g.faces, *g.room, problem)) << problem;

    std::vector<std::array<int, 4>> pool; // x, y, z, light
    auto find = [&](const int16_t(&p)[3]) {
        for (std::size_t v = 0; v < pool.size(); ++v) {
            if (pool[v][0] == p[0] && pool[v][1] == p[1] && pool[v][2] == p[2]) {
                return static_cast<int>(v);
            }
        }
        return -1;
    };
    for (const auto& face : g.faces.Faces) {
        for (const auto& corner : face.Corners) {
            const int v = find(corner);
            if (v < 0) {
                pool.push_back({corner[0], corner[1], corner[2], face.Light});
            } else {
                pool[v][3] = (pool[v][3] + face.Light) / 2;
            }
        }
    }
    ASSERT_EQ(g.room->NumVertices, pool.size());
    for (std::size_t v = 0; v < pool.size(); ++v) {
        const TVertex1& vertex = g.room->Vertices1[v];
        ASSERT_EQ(+vertex.X, pool[v][0]);
        ASSERT_EQ(+vertex.Y, pool[v][1]);
        ASSERT_EQ(+vertex.Z, pool[v][2]);
        ASSERT_EQ(vertex.Lighting >> 8, pool[v][3]) << "vertex " << v;
    }
    int rectangle = 0;
    for (const auto& face : g.faces.Faces) {
        const bool triangle = find(face.Corners[3]) == find(face.Corners[0]) ||
                              find(face.Corners[2]) == find(face.Corners[1]);
        if (!triangle) {
            const TRectangle& r = g.room->Rectangles[rectangle++];
            for (int c = 0; c < 4; ++c) {
                ASSERT_EQ(r.Vertices[c], find(face.Corners[c]));
            }
        }
    }
    EXPECT_EQ(rectangle, g.room->NumRectangles);
    EXPECT_GT(g.room->NumTriangles, 0);
}

TEST(RoomGeometry, ARoomBeyondTheVertexCapacityIsRefused) {
    GeometryRoom g(31, 31);
    std::mt19937 random(4);
    for (int i = 1; i <= 31; ++i) {
        for (int k = 1; k <= 31; ++k) {
            const int floor = 3 + static_cast<int>(random() % 40);
            g.Set(i, k, floor, floor + 1 + static_cast<int>(random() % 60),
                  1 + static_cast<int>(random() % 16));
        }
    }
    g.Build();
    std::string problem;
    EXPECT_FALSE(FacesToRoomMesh(g.faces, *g.room, problem));
    EXPECT_NE(problem, "");
    EXPECT_EQ(g.room->NumVertices, 0);
}

// A grid beyond the sector capacity makes no faces; its two 16-bit sides multiply beyond an int
// (the sanitizer run stops at an overflow).
TEST(RoomGeometry, AGridBeyondTheCapacityMakesNoFaces) {
    GeometryRoom g(1, 1);
    g.room->NumXSectors = 65535;
    g.room->NumZSectors = 65535;
    BuildRoomFaces(g.faces, *g.room, g.sectors.data(), false);
    EXPECT_TRUE(g.faces.Faces.empty());
}

} // namespace
} // namespace morvane
