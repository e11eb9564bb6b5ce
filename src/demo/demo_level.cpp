#include "demo/demo_level.h"

#include "demo/demo_palette.h"
#include "demo/texture_painter.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "level/world_units.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>
#include <tuple>
#include <vector>

namespace morvane::demo {

namespace {

constexpr int RoomColumns = 7; // x
constexpr int RoomRows = 6;    // z
constexpr int8_t WallHeight = -127;
constexpr int8_t FloorClicks = 0;
constexpr int8_t CeilingClicks = -12;
constexpr int RoomsPerRow = 20;
constexpr uint16_t VertexLight = 0x1000; // light 16 of 0..31 in the high byte

// Object textures used by the demo room.
constexpr uint16_t WallTexture = 0;    // bricks
constexpr uint16_t CeilingTexture = 1; // stone blocks
constexpr uint16_t FloorTexture = 2;   // cobbles
constexpr uint16_t MeshTexture = 8;    // metal plate

struct Region {
    int Page, X, Y, Width, Height;
};

// ---- texture pages and object textures -------------------------------------------------------

void AddObjectTexture(TLevelData& level, const Region& r, bool threeCornered) {
    if (level.NumObjectTextures >= MaxObjectTextures) {
        return;
    }
    TObjectTexture& t = level.ObjectTextures[level.NumObjectTextures++];
    t = {};
    t.Tile = static_cast<uint16_t>(r.Page);
    auto corner = [&](int i, bool right, bool bottom) {
        t.Vertices[i] = {static_cast<uint8_t>(right ? 255 : 1),
                         static_cast<uint8_t>(r.X + (right ? r.Width - 1 : 0)),
                         static_cast<uint8_t>(bottom ? 255 : 1),
                         static_cast<uint8_t>(r.Y + (bottom ? r.Height - 1 : 0))};
    };
    corner(0, false, false);
    corner(1, true, false);
    corner(2, true, true);
    if (!threeCornered) {
        corner(3, false, true);
    }
}

void Paint(TLevelData& level, const Region& r, Material material, uint32_t seed) {
    PaintMaterial(level.Textile8.data() + static_cast<std::size_t>(r.Page) * TextilePixels, r.X,
                  r.Y, r.Width, r.Height, material, seed);
}

void PaintAndAdd(TLevelData& level, const Region& r, Material material, uint32_t seed) {
    Paint(level, r, material, seed);
    AddObjectTexture(level, r, false);
}

Material MaterialAt(int i) {
    return static_cast<Material>(i % MaterialCount);
}

void MakeTextures(TLevelData& level, int pages) {
    level.NumTextiles = static_cast<uint32_t>(pages);
    level.TextileBytes = level.NumTextiles * TextilePixels;
    level.Textile8.assign(level.TextileBytes, 1);

    // Page 0: the sixteen materials at 64 x 64, then four of them three-cornered.
    for (int i = 0; i < 16; ++i) {
        PaintAndAdd(level, {0, (i % 4) * 64, (i / 4) * 64, 64, 64}, MaterialAt(i), 100 + i);
    }
    for (int i = 0; i < 4; ++i) {
        AddObjectTexture(level, {0, i * 64, 0, 64, 64}, true);
    }
    // Page 1: sixteen 64 x 32 trims above thirty-two 64 x 16 bands.
    for (int i = 0; i < 16; ++i) {
        PaintAndAdd(level, {1, (i % 4) * 64, (i / 4) * 32, 64, 32}, MaterialAt(i + 3), 200 + i);
    }
    AddObjectTexture(level, {1, 0, 0, 64, 32}, true);
    AddObjectTexture(level, {1, 64, 32, 64, 32}, true);
    for (int i = 0; i < 32; ++i) {
        PaintAndAdd(level, {1, (i % 4) * 64, 128 + (i / 4) * 16, 64, 16}, MaterialAt(i + 7),
                    300 + i);
    }
    // Page 2: other sizes.
    const std::tuple<Region, Material> others[] = {
        {{2, 0, 0, 128, 128}, Material::FloorTiles}, {{2, 128, 0, 48, 48}, Material::Cobbles},
        {{2, 176, 0, 48, 48}, Material::Lava},       {{2, 128, 64, 32, 32}, Material::Grass},
        {{2, 160, 64, 32, 32}, Material::Water},     {{2, 192, 64, 32, 32}, Material::Ice},
        {{2, 224, 64, 32, 32}, Material::Crate},     {{2, 128, 96, 16, 16}, Material::GoldPanel},
        {{2, 144, 96, 16, 16}, Material::Marble},    {{2, 160, 96, 16, 16}, Material::MetalPlate},
        {{2, 176, 96, 16, 16}, Material::Sand},      {{2, 0, 128, 128, 64}, Material::GoldPanel},
        {{2, 128, 128, 64, 128}, Material::Bricks},  {{2, 192, 128, 64, 64}, Material::MossyStone},
        {{2, 192, 192, 64, 64}, Material::Dirt},     {{2, 0, 192, 128, 64}, Material::WoodPlanks},
    };
    uint32_t seed = 400;
    for (const auto& [region, material] : others) {
        PaintAndAdd(level, region, material, seed++);
    }
    // Further pages: variations of the sixteen materials.
    for (int page = 3; page < pages; ++page) {
        for (int i = 0; i < 16; ++i) {
            PaintAndAdd(level, {page, (i % 4) * 64, (i / 4) * 64, 64, 64}, MaterialAt(i + page),
                        1000u * page + i);
        }
    }
}

// The second and third game's pages: 1-5-5-5 colour with the alpha bit clear for index 0.
void MakeTextiles16(TLevelData& level) {
    level.Textile16.resize(level.Textile8.size() * 2);
    for (std::size_t i = 0; i < level.Textile8.size(); ++i) {
        uint8_t index = level.Textile8[i];
        const uint8_t* rgb = &level.Palette[index * 3];
        uint16_t colour = static_cast<uint16_t>((index != 0 ? 0x8000 : 0) | (rgb[0] >> 1) << 10 |
                                                (rgb[1] >> 1) << 5 | (rgb[2] >> 1));
        std::memcpy(&level.Textile16[i * 2], &colour, 2);
    }
}

// 32 levels of darkness: each palette colour mapped to the nearest colour of its darker self.
void MakeLightMap(TLevelData& level) {
    for (int shade = 0; shade < 32; ++shade) {
        double factor = 1.0 - shade / 40.0;
        for (int index = 0; index < 256; ++index) {
            const uint8_t* c = &level.Palette[index * 3];
            double r = c[0] * factor, g = c[1] * factor, b = c[2] * factor;
            int best = 0;
            double bestDistance = 1e18;
            for (int candidate = 1; candidate < 256 && index != 0; ++candidate) {
                const uint8_t* p = &level.Palette[candidate * 3];
                double d =
                    (p[0] - r) * (p[0] - r) + (p[1] - g) * (p[1] - g) + (p[2] - b) * (p[2] - b);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = candidate;
                }
            }
            level.LightMap[shade * 256 + index] = static_cast<uint8_t>(best);
        }
    }
}

// ---- rooms ---------------------------------------------------------------------------------

bool IsWall(int x, int z) {
    return x == 0 || z == 0 || x == RoomColumns - 1 || z == RoomRows - 1;
}

class RoomMesh {
public:
    explicit RoomMesh(TLevelRoom& room) : room_(room) {}

    void Quad(const int (&corners)[4][3], uint16_t texture) {
        TRectangle& face = room_.Rectangles[room_.NumRectangles++];
        for (int i = 0; i < 4; ++i) {
            face.Vertices[i] = Vertex(corners[i][0], corners[i][1], corners[i][2]);
        }
        face.Texture = texture;
    }

private:
    uint16_t Vertex(int x, int y, int z) {
        auto key = std::make_tuple(x, y, z);
        auto found = index_.find(key);
        if (found != index_.end()) {
            return found->second;
        }
        uint16_t n = room_.NumVertices++;
        room_.Vertices1[n] = {static_cast<int16_t>(x), static_cast<int16_t>(y),
                              static_cast<int16_t>(z), VertexLight};
        index_.emplace(key, n);
        return n;
    }

    TLevelRoom& room_;
    std::map<std::tuple<int, int, int>, uint16_t> index_;
};

void MakeRoomGeometry(TLevelRoom& room) {
    RoomMesh mesh(room);
    const int floorY = FloorClicks * ClickSize, ceilingY = CeilingClicks * ClickSize;
    for (int x = 0; x < RoomColumns; ++x) {
        for (int z = 0; z < RoomRows; ++z) {
            const int x0 = x * SectorSize, z0 = z * SectorSize, x1 = x0 + SectorSize,
                      z1 = z0 + SectorSize;
            if (!IsWall(x, z)) {
                mesh.Quad({{x0, floorY, z1}, {x1, floorY, z1}, {x1, floorY, z0}, {x0, floorY, z0}},
                          FloorTexture);
                mesh.Quad({{x0, ceilingY, z0},
                           {x1, ceilingY, z0},
                           {x1, ceilingY, z1},
                           {x0, ceilingY, z1}},
                          CeilingTexture);
                continue;
            }
            // A wall column shows a face toward each open neighbour.
            const int yt = ceilingY, yb = floorY;
            if (z > 0 && !IsWall(x, z - 1)) {
                mesh.Quad({{x0, yt, z0}, {x1, yt, z0}, {x1, yb, z0}, {x0, yb, z0}}, WallTexture);
            }
            if (z < RoomRows - 1 && !IsWall(x, z + 1)) {
                mesh.Quad({{x1, yt, z1}, {x0, yt, z1}, {x0, yb, z1}, {x1, yb, z1}}, WallTexture);
            }
            if (x > 0 && !IsWall(x - 1, z)) {
                mesh.Quad({{x0, yt, z1}, {x0, yt, z0}, {x0, yb, z0}, {x0, yb, z1}}, WallTexture);
            }
            if (x < RoomColumns - 1 && !IsWall(x + 1, z)) {
                mesh.Quad({{x1, yt, z0}, {x1, yt, z1}, {x1, yb, z1}, {x1, yb, z0}}, WallTexture);
            }
        }
    }
}

template <class T> void Put(uint8_t* bytes, int offset, T value) {
    std::memcpy(bytes + offset, &value, sizeof(T));
}

void MakeRoomLight(TLevelRoom& room, int32_t kind) {
    const int32_t x = room.RoomInfo.X + RoomColumns * SectorSize / 2,
                  z = room.RoomInfo.Z + RoomRows * SectorSize / 2;
    const int32_t y = CeilingClicks * ClickSize + 2 * ClickSize;
    room.NumLights = 1;
    if (UsesSecondGameRecords(kind)) {
        uint8_t* b = room.Lights2[0].Bytes;
        Put<int32_t>(b, 0, x);
        Put<int32_t>(b, 4, y);
        Put<int32_t>(b, 8, z);
        if (kind == FormatTR3) {
            b[12] = 255; // colour
            b[13] = 230;
            b[14] = 200;
            b[15] = 1; // point light
            Put<uint32_t>(b, 16, 0x1000);
            Put<uint32_t>(b, 20, 0x1800);
        } else {
            Put<uint16_t>(b, 12, 0x1000);
            Put<uint16_t>(b, 14, 0x1000);
            Put<uint32_t>(b, 16, 0x1800);
            Put<uint32_t>(b, 20, 0x1800);
        }
    } else {
        uint8_t* b = room.Lights1[0].Bytes;
        Put<int32_t>(b, 0, x);
        Put<int32_t>(b, 4, y);
        Put<int32_t>(b, 8, z);
        Put<uint16_t>(b, 12, 0x1000);
        Put<uint32_t>(b, 14, 0x1800);
    }
}

void MakeRoomStatic(TLevelRoom& room, int32_t kind) {
    room.NumStaticMeshes = 1;
    const int32_t x = room.RoomInfo.X + 2 * SectorSize + SectorSize / 2,
                  z = room.RoomInfo.Z + 2 * SectorSize + SectorSize / 2;
    uint8_t* b =
        UsesSecondGameRecords(kind) ? room.RoomStatics2[0].Bytes : room.RoomStatics1[0].Bytes;
    Put<int32_t>(b, 0, x);
    Put<int32_t>(b, 4, FloorClicks * ClickSize);
    Put<int32_t>(b, 8, z);
    Put<uint16_t>(b, 12, 0x4000); // rotation
    Put<uint16_t>(b, 14, 0x1000); // intensity
    if (UsesSecondGameRecords(kind)) {
        Put<uint16_t>(b, 16, 0x1000);
        Put<uint16_t>(b, 18, 0); // mesh id
    } else {
        Put<uint16_t>(b, 16, 0);
    }
}

void MakeRoom(TLevelData& level, int index, int32_t kind) {
    TLevelRoom& room = level.Rooms[index];
    room.RoomInfo = {(index % RoomsPerRow) * (RoomColumns + 2) * SectorSize,
                     (index / RoomsPerRow) * (RoomRows + 2) * SectorSize, FloorClicks * ClickSize,
                     CeilingClicks * ClickSize};
    room.NumZSectors = RoomRows;
    room.NumXSectors = RoomColumns;
    for (int x = 0; x < RoomColumns; ++x) {
        for (int z = 0; z < RoomRows; ++z) {
            TGameSector& s = room.Sectors[x * RoomRows + z];
            s = {0, NoBox, NoRoom, FloorClicks, NoRoom, CeilingClicks};
            if (IsWall(x, z)) {
                s.FloorHeight = s.CeilingHeight = WallHeight;
            }
        }
    }
    MakeRoomGeometry(room);
    room.AmbientIntensity = 0x0800;
    MakeRoomLight(room, kind);
    if (index == 0) {
        MakeRoomStatic(room, kind);
    }
    room.AlternateRoom = -1;
    room.RoomFlags = 0;
}

// One box per open sector, each overlapping its open neighbours of the same room.
void MakeBoxes(TLevelData& level, int32_t kind) {
    level.NumBoxes = 0;
    level.NumOverlaps = 0;
    for (int r = 0; r < level.NumRooms; ++r) {
        TLevelRoom& room = level.Rooms[r];
        const int first = static_cast<int>(level.NumBoxes);
        auto boxOf = [&](int x, int z) {
            return first + (x - 1) * (RoomRows - 2) + (z - 1); // open sectors only
        };
        for (int x = 1; x < RoomColumns - 1; ++x) {
            for (int z = 1; z < RoomRows - 1; ++z) {
                const int box = boxOf(x, z);
                TBox1& b = level.Boxes1[box];
                b.ZMin = room.RoomInfo.Z + z * SectorSize;
                b.ZMax = b.ZMin + SectorSize - 1;
                b.XMin = room.RoomInfo.X + x * SectorSize;
                b.XMax = b.XMin + SectorSize - 1;
                b.TrueFloor = FloorClicks * ClickSize;
                b.OverlapIndex = static_cast<uint16_t>(level.NumOverlaps);
                const int neighbours[4][2] = {{x, z + 1}, {x, z - 1}, {x + 1, z}, {x - 1, z}};
                for (const auto& n : neighbours) {
                    if (!IsWall(n[0], n[1])) {
                        level.Overlaps[level.NumOverlaps++] =
                            static_cast<uint16_t>(boxOf(n[0], n[1]));
                    }
                }
                level.Overlaps[level.NumOverlaps - 1] |= 0x8000;
                room.Sectors[x * RoomRows + z].BoxIndex =
                    static_cast<uint16_t>(kind == FormatTR3 ? box << 4 : box);
            }
        }
        level.NumBoxes += (RoomColumns - 2) * (RoomRows - 2);
    }
    if (kind == FormatTR3) {
        for (int r = 0; r < level.NumRooms; ++r) {
            for (int s = 0; s < RoomColumns * RoomRows; ++s) {
                TGameSector& sector = level.Rooms[r].Sectors[s];
                if (sector.BoxIndex == NoBox) {
                    sector.BoxIndex = NoBoxTR3;
                }
            }
        }
    }
    level.NumZones = level.NumBoxes; // every box in zone 0 of every array
}

// ---- items, meshes, animation, sprites, sounds -----------------------------------------------

void MakeItems(TLevelData& level) {
    const TRoomInfo& info = level.Rooms[0].RoomInfo;
    level.NumItems = 2;
    level.Items1[0] = {LaraItemType,
                       0,
                       info.X + 3 * SectorSize + SectorSize / 2,
                       FloorClicks * ClickSize,
                       info.Z + 2 * SectorSize + SectorSize / 2,
                       0x4000,
                       0xFFFF,
                       0};
    // A pickup of the level's one sprite sequence, so that the level has a model for it.
    level.Items1[1] = {163,
                       0,
                       info.X + 5 * SectorSize + SectorSize / 2,
                       FloorClicks * ClickSize,
                       info.Z + 3 * SectorSize + SectorSize / 2,
                       0,
                       0xFFFF,
                       0};
}

// A cube of side 256 in the game's mesh layout, textured with one object texture.
void MakeMesh(TLevelData& level) {
    std::vector<int16_t> words = {0, 0, 0, 222, 0, 8};
    const int16_t c[8][3] = {{-128, -128, -128}, {128, -128, -128}, {128, -128, 128},
                             {-128, -128, 128},  {-128, 128, -128}, {128, 128, -128},
                             {128, 128, 128},    {-128, 128, 128}};
    for (const auto& v : c) {
        words.insert(words.end(), {v[0], v[1], v[2]});
    }
    words.push_back(-8); // eight vertex lights instead of normals
    for (int i = 0; i < 8; ++i) {
        words.push_back(0x1000);
    }
    // Each face's corners go clockwise seen from outside (y grows downwards), as the game's do.
    const int16_t faces[6][4] = {{3, 2, 1, 0}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                 {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
    words.push_back(6);
    for (const auto& f : faces) {
        words.insert(words.end(), {f[0], f[1], f[2], f[3], static_cast<int16_t>(MeshTexture)});
    }
    words.insert(words.end(), {0, 0, 0}); // no textured triangles, no coloured faces
    level.NumMeshData = static_cast<uint32_t>(words.size());
    std::memcpy(level.MeshData, words.data(), words.size() * 2);
    level.NumMeshPointers = 1;
    level.MeshPointers[0] = 0;
}

void MakeAnimation(TLevelData& level, int32_t kind) {
    // One frame of one mesh: bounding box, offset, (first game: the angle count), one rotation.
    std::vector<int16_t> frame = {-128, 128, -128, 128, -128, 128, 0, 0, 0};
    if (!UsesSecondGameRecords(kind)) {
        frame.push_back(1);
    }
    frame.insert(frame.end(), {0, 0});
    level.NumFrames = static_cast<uint32_t>(frame.size());
    std::memcpy(level.Frames, frame.data(), frame.size() * 2);

    level.NumAnimations = 1;
    uint8_t* a = level.Animations[0].Bytes;
    std::memset(a, 0, 32);
    a[4] = 1;                                  // frame rate
    a[5] = static_cast<uint8_t>(frame.size()); // frame size in words
    level.NumMoveables = 1;
    uint8_t* m = level.Moveables[0].Bytes;
    std::memset(m, 0, 18);
    Put<uint16_t>(m, 4, 1); // one mesh, starting at mesh 0, Lara's object id 0
    level.NumStaticMeshes = 1;
    uint8_t* s = level.StaticMeshes[0].Bytes;
    std::memset(s, 0, 32);
    const int16_t box[6] = {-128, 128, -128, 128, -128, 128};
    std::memcpy(s + 6, box, 12);
    std::memcpy(s + 18, box, 12);
    Put<uint16_t>(s, 30, 2);
    level.NumAnimatedTextures = 1;
    level.AnimatedTextures[0] = 0; // no animated ranges
}

void MakeSprite(TLevelData& level) {
    level.NumSpriteTextures = 1;
    uint8_t* t = level.SpriteTextures[0].Bytes;
    Put<uint16_t>(t, 0, 2);
    t[2] = 128;
    t[3] = 96;
    Put<uint16_t>(t, 4, 16 * 256 - 1);
    Put<uint16_t>(t, 6, 16 * 256 - 1);
    Put<int16_t>(t, 8, -128);
    Put<int16_t>(t, 10, -256);
    Put<int16_t>(t, 12, 128);
    Put<int16_t>(t, 14, 0);
    level.NumSpriteSequences = 1;
    uint8_t* q = level.SpriteSequences[0].Bytes;
    Put<int32_t>(q, 0, 163);
    Put<int16_t>(q, 4, -1);
    Put<int16_t>(q, 6, 0);
}

void MakeCameraAndSoundSource(TLevelData& level) {
    const TRoomInfo& info = level.Rooms[0].RoomInfo;
    level.NumCameras = 1;
    level.Cameras[0] = {info.X + 4 * SectorSize, CeilingClicks * ClickSize + ClickSize,
                        info.Z + SectorSize + SectorSize / 2, 0, 0};
    level.NumSoundSources = 1;
    uint8_t* s = level.SoundSources[0].Bytes;
    Put<int32_t>(s, 0, info.X + 4 * SectorSize);
    Put<int32_t>(s, 4, FloorClicks * ClickSize);
    Put<int32_t>(s, 8, info.Z + 3 * SectorSize);
    Put<uint16_t>(s, 12, 0);
    Put<uint16_t>(s, 14, 0x40);
}

// A short tone as a RIFF wave file, the form the first game keeps its samples in.
std::vector<uint8_t> MakeWave() {
    const int rate = 11025, count = 2205;
    std::vector<uint8_t> wave(44 + count);
    auto put32 = [&](int at, uint32_t v) { std::memcpy(&wave[at], &v, 4); };
    auto put16 = [&](int at, uint16_t v) { std::memcpy(&wave[at], &v, 2); };
    std::memcpy(&wave[0], "RIFF", 4);
    put32(4, static_cast<uint32_t>(wave.size() - 8));
    std::memcpy(&wave[8], "WAVEfmt ", 8);
    put32(16, 16);
    put16(20, 1);
    put16(22, 1);
    put32(24, rate);
    put32(28, rate);
    put16(32, 1);
    put16(34, 8);
    std::memcpy(&wave[36], "data", 4);
    put32(40, count);
    for (int i = 0; i < count; ++i) {
        double fade = 1.0 - double(i) / count;
        wave[44 + i] =
            static_cast<uint8_t>(128 + 90 * fade * std::sin(i * 2 * 3.14159265 * 440 / rate));
    }
    return wave;
}

void MakeSounds(TLevelData& level, int32_t kind) {
    const bool secondGame = UsesSecondGameRecords(kind);
    const int mapBytes = secondGame ? SoundMapBytesTR2 : SoundMapBytesTR1;
    std::memset(level.SoundMap, 0xFF, mapBytes);
    level.SoundMap[0] = level.SoundMap[1] = 0; // sound 0 -> detail 0
    level.NumSoundDetails = 1;
    uint8_t* d = level.SoundDetails[0].Bytes;
    Put<uint16_t>(d, 0, 0);
    Put<uint16_t>(d, 2, 0x7FFF);
    Put<uint16_t>(d, 4, 0);
    Put<uint16_t>(d, 6, 0x0004); // one sample
    level.NumSampleIndices = 1;
    level.SampleIndices[0] = 0;
    if (!secondGame) {
        const std::vector<uint8_t> wave = MakeWave();
        level.Samples.assign(wave.begin(), wave.end());
        level.NumSamples = static_cast<uint32_t>(level.Samples.size());
    }
}

uint32_t VersionFor(int32_t kind) {
    switch (kind) {
    case FormatTR1:
    case FormatTUB:
        return VersionTR1;
    case FormatTR2:
        return VersionTR2;
    case FormatTR3:
        return VersionTR3Alt;
    default:
        throw std::invalid_argument("unknown level layout");
    }
}

} // namespace

void MakeDemoLevel(TLevelData& level, int32_t kind, const DemoLevelOptions& options) {
    if (options.RoomCount < 1 || options.RoomCount > MaxLevelRooms || options.TextilePages < 3 ||
        options.TextilePages > 64) {
        throw std::invalid_argument("demo level: 1..200 rooms and 3..64 texture pages");
    }
    const uint32_t version = VersionFor(kind);
    level.Clear();
    level.Version = version;
    level.FormatKind = kind;
    level.SetSignature();

    const auto palette = MakeDemoPalette();
    std::memcpy(level.Palette, palette.data(), palette.size());
    for (int i = 0; i < 256; ++i) {
        for (int c = 0; c < 3; ++c) {
            level.Palette16[i * 4 + c] = static_cast<uint8_t>(level.Palette[i * 3 + c] * 4);
        }
    }
    MakeTextures(level, options.TextilePages);
    if (UsesSecondGameRecords(kind)) {
        MakeTextiles16(level);
    }
    MakeLightMap(level);

    level.NumRooms = static_cast<uint16_t>(options.RoomCount);
    for (int r = 0; r < level.NumRooms; ++r) {
        MakeRoom(level, r, kind);
    }
    level.NumFloorData = 1; // word 0 is the unused dummy
    MakeBoxes(level, kind);
    MakeItems(level);
    MakeMesh(level);
    MakeAnimation(level, kind);
    MakeSprite(level);
    MakeCameraAndSoundSource(level);
    MakeSounds(level, kind);

    // The demo is made in the first game's layouts; the second and third game's records come
    // from them the way a build makes them.
    PrepareLevelForWrite(level);
    for (int r = 0; r < level.NumRooms; ++r) {
        level.Rooms[r].LightMode = 0;
        level.Rooms[r].AmbientIntensity2 = static_cast<int16_t>(level.Rooms[r].AmbientIntensity);
        for (int v = 0; v < level.Rooms[r].NumVertices; ++v) {
            TVertex2& vertex = level.Rooms[r].Vertices2[v];
            if (kind == FormatTR2) {
                vertex.Lighting2 = vertex.Lighting;
            }
        }
        level.Rooms[r].NumDataWords = RoomDataWords(level.Rooms[r], kind);
    }
    for (uint32_t i = 0; i < level.NumItems; ++i) {
        level.Items2[i].Intensity2 = level.Items2[i].Intensity;
    }
}

} // namespace morvane::demo
