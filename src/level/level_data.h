#pragma once

#include "io/zeroed_pages.h"
#include "level/game_sector.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace morvane {

// Capacities of the level record. Every count read from a file or produced by a build is checked
// against these before it is used.
inline constexpr int MaxLevelRooms = 200;
inline constexpr int MaxRoomVertices = 2000;
inline constexpr int MaxRoomRectangles = 3000;
inline constexpr int MaxRoomTriangles = 1250;
inline constexpr int MaxRoomSprites = 50;
inline constexpr int MaxRoomPortals = 20;
inline constexpr int MaxRoomSectors = 1024;
inline constexpr int MaxRoomLights = 15;
inline constexpr int MaxRoomStatics = 50;
inline constexpr int MaxFloorData = 20001;
inline constexpr int MaxMeshData = 110000;
inline constexpr int MaxMeshPointers = 1000;
inline constexpr int MaxAnimations = 900;
inline constexpr int MaxStateChanges = 900;
inline constexpr int MaxAnimDispatches = 800;
inline constexpr int MaxAnimCommands = 3000;
inline constexpr int MaxMeshLinks = 3000;
inline constexpr int MaxFrames = 230000;
inline constexpr int MaxMoveables = 250;
inline constexpr int MaxStaticMeshes = 250;
inline constexpr int MaxObjectTextures = 3100;
inline constexpr int MaxSpriteTextures = 2000;
inline constexpr int MaxSpriteSequences = 250;
inline constexpr int MaxCameras = 100;
inline constexpr int MaxSoundSources = 200;
inline constexpr int MaxBoxes = 5000;
inline constexpr int MaxOverlaps = 15000;
inline constexpr int ZoneArrayCount = 10;
inline constexpr int MaxAnimatedTextures = 200;
inline constexpr int MaxItems = 300;
inline constexpr int MaxCinematicFrames = 90;
inline constexpr int MaxDemoData = 16000;
inline constexpr int MaxSoundDetails = 200;
inline constexpr int MaxSampleIndices = 255;

inline constexpr int TextilePixels = 256 * 256;
inline constexpr int LightMapBytes = 8192;
inline constexpr int PaletteBytes = 768;
inline constexpr int Palette16Bytes = 1024;
inline constexpr int SoundMapBytesTR1 = 512;
inline constexpr int SoundMapBytesTR2 = 740;

// A record the editor never looks into: kept as its bytes and written back unchanged.
template <int N> struct TOpaque { uint8_t Bytes[N]; };

#pragma pack(push, 1)
struct TVertex1 {
    int16_t X, Y, Z;
    uint16_t Lighting; // the editor's light sits in the high byte
};
struct TVertex2 {
    int16_t X, Y, Z;
    uint16_t Lighting;
    uint16_t Attributes;
    uint16_t Lighting2;
};
struct TRectangle {
    uint16_t Vertices[4];
    uint16_t Texture;
};
struct TTriangle {
    uint16_t Vertices[3];
    uint16_t Texture;
};
struct TPortalVertex {
    int16_t X, Y, Z;
};
struct TRoomPortal {
    uint16_t AdjoiningRoom;
    TPortalVertex Normal;
    TPortalVertex Vertices[4];
};
struct TItem1 {
    int16_t Type;
    int16_t Room;
    int32_t X, Y, Z;
    uint16_t Angle;
    uint16_t Intensity;
    uint16_t Flags;
};
struct TItem2 {
    int16_t Type;
    int16_t Room;
    int32_t X, Y, Z;
    uint16_t Angle;
    uint16_t Intensity;
    uint16_t Intensity2;
    uint16_t Flags;
};
struct TBox1 {
    int32_t ZMin, ZMax, XMin, XMax; // world units, the maxima the last unit inside
    int16_t TrueFloor;
    uint16_t OverlapIndex;
};
struct TBox2 {
    uint8_t ZMin, ZMax, XMin, XMax; // sectors
    int16_t TrueFloor;
    uint16_t OverlapIndex;
};
struct TObjectTextureVertex {
    uint8_t XCoordinate;
    uint8_t XPixel;
    uint8_t YCoordinate;
    uint8_t YPixel;
};
struct TObjectTexture {
    uint16_t Attribute;
    uint16_t Tile; // texture page
    TObjectTextureVertex Vertices[4];
};
struct TCamera {
    int32_t X, Y, Z;
    int16_t Room;
    uint16_t Flags;
};
struct TRoomInfo {
    int32_t X, Z, YBottom, YTop;
};
#pragma pack(pop)

static_assert(sizeof(TVertex1) == 8);
static_assert(sizeof(TVertex2) == 12);
static_assert(sizeof(TRectangle) == 10);
static_assert(sizeof(TTriangle) == 8);
static_assert(sizeof(TRoomPortal) == 32);
static_assert(sizeof(TItem1) == 22);
static_assert(sizeof(TItem2) == 24);
static_assert(sizeof(TBox1) == 20);
static_assert(sizeof(TBox2) == 8);
static_assert(sizeof(TObjectTexture) == 20);
static_assert(sizeof(TCamera) == 16);

using TSprite = TOpaque<4>;
using TLight1 = TOpaque<18>;
using TLight2 = TOpaque<24>;
using TRoomStatic1 = TOpaque<18>;
using TRoomStatic2 = TOpaque<20>;

struct TLevelRoom {
    TRoomInfo RoomInfo;
    uint32_t NumDataWords;
    uint16_t NumVertices;
    TVertex1 Vertices1[MaxRoomVertices];
    TVertex2 Vertices2[MaxRoomVertices];
    uint16_t NumRectangles;
    TRectangle Rectangles[MaxRoomRectangles];
    uint16_t NumTriangles;
    TTriangle Triangles[MaxRoomTriangles];
    uint16_t NumSprites;
    TSprite Sprites[MaxRoomSprites];
    uint16_t NumPortals;
    TRoomPortal Portals[MaxRoomPortals];
    uint16_t NumZSectors;
    uint16_t NumXSectors;
    TGameSector Sectors[MaxRoomSectors]; // column-major: x * NumZSectors + z
    uint16_t AmbientIntensity;           // low byte, then high byte
    int16_t AmbientIntensity2;
    int16_t LightMode;
    uint16_t NumLights;
    TLight1 Lights1[MaxRoomLights];
    TLight2 Lights2[MaxRoomLights];
    uint16_t NumStaticMeshes;
    TRoomStatic1 RoomStatics1[MaxRoomStatics];
    TRoomStatic2 RoomStatics2[MaxRoomStatics];
    int16_t AlternateRoom;
    uint16_t RoomFlags; // low byte, then high byte
    uint8_t RoomExtra[3];
};

// Room flag bits (low byte of RoomFlags).
inline constexpr uint8_t RoomFlagWater = 0x01;
inline constexpr uint8_t RoomFlagSky = 0x08;
inline constexpr uint8_t RoomFlagWindRain = 0x20;
inline constexpr uint8_t RoomFlagQuicksand = 0x80;

// Zone arrays: ground 1-4 and fly for the normal state, then the same for the alternate state.
// The first game's files carry only arrays 0, 1, 4, 5, 6 and 9.
inline constexpr int ZoneArraysTR1[6] = {0, 1, 4, 5, 6, 9};

// Everything of the level record except the heap buffers; cleared to zero bytes in one go.
struct TLevelRecord {
    uint8_t Signature[8]; // length byte 7 and "Quillon" while the record owns buffers
    uint32_t Version;
    int32_t FormatKind;
    uint32_t TextileBytes;
    uint32_t NumTextiles;
    uint32_t SpareLong;
    uint16_t NumRooms;
    TLevelRoom Rooms[MaxLevelRooms];
    uint32_t NumFloorData;
    uint16_t FloorData[MaxFloorData];
    uint32_t NumMeshData;
    uint16_t MeshData[MaxMeshData];
    uint32_t NumMeshPointers;
    uint32_t MeshPointers[MaxMeshPointers];
    uint32_t NumAnimations;
    TOpaque<32> Animations[MaxAnimations];
    uint32_t NumStateChanges;
    TOpaque<6> StateChanges[MaxStateChanges];
    uint32_t NumAnimDispatches;
    TOpaque<8> AnimDispatches[MaxAnimDispatches];
    uint32_t NumAnimCommands;
    uint16_t AnimCommands[MaxAnimCommands];
    uint32_t NumMeshLinks;
    uint32_t MeshLinks[MaxMeshLinks];
    uint32_t NumFrames;
    uint16_t Frames[MaxFrames];
    uint32_t NumMoveables;
    TOpaque<18> Moveables[MaxMoveables];
    uint32_t NumStaticMeshes;
    TOpaque<32> StaticMeshes[MaxStaticMeshes];
    uint32_t NumObjectTextures;
    TObjectTexture ObjectTextures[MaxObjectTextures];
    uint32_t NumSpriteTextures;
    TOpaque<16> SpriteTextures[MaxSpriteTextures];
    uint32_t NumSpriteSequences;
    TOpaque<8> SpriteSequences[MaxSpriteSequences];
    uint32_t NumCameras;
    TCamera Cameras[MaxCameras];
    uint32_t NumSoundSources;
    TOpaque<16> SoundSources[MaxSoundSources];
    uint32_t NumBoxes;
    TBox1 Boxes1[MaxBoxes];
    TBox2 Boxes2[MaxBoxes];
    uint32_t NumOverlaps;
    uint16_t Overlaps[MaxOverlaps];
    uint32_t NumZones;
    uint16_t Zones[ZoneArrayCount][MaxBoxes];
    uint32_t NumAnimatedTextures;
    uint16_t AnimatedTextures[MaxAnimatedTextures];
    uint32_t NumItems;
    TItem1 Items1[MaxItems];
    TItem2 Items2[MaxItems];
    uint8_t LightMap[LightMapBytes];
    uint8_t Palette[PaletteBytes]; // red, green, blue; 0..63 each
    uint8_t Palette16[Palette16Bytes];
    uint16_t NumCinematicFrames;
    TOpaque<16> CinematicFrames[MaxCinematicFrames];
    uint16_t NumDemoData;
    uint8_t DemoData[MaxDemoData];
    uint8_t SoundMap[SoundMapBytesTR2];
    uint32_t NumSoundDetails;
    TOpaque<8> SoundDetails[MaxSoundDetails];
    uint32_t NumSamples; // byte size of the sample block (first game)
    uint32_t NumSampleIndices;
    uint32_t SampleIndices[MaxSampleIndices];
};

// An allocator whose resize leaves new bytes as they come: the level's big buffers are filled
// from the file right after they are sized, and zero-filling them first would cost a pass.
template <class T> struct UninitializedAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UninitializedAllocator<U>; };
    UninitializedAllocator() = default;
    template <class U> UninitializedAllocator(const UninitializedAllocator<U>&) noexcept {}
    template <class U> void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
using ByteBuffer = std::vector<uint8_t, UninitializedAllocator<uint8_t>>;

// The current base level: one instance for the whole run, never copied. The texture pages and
// the sound samples are heap buffers owned by the record and released by the next read.
//
// Made with new (std::make_unique), in zero pages that are mapped only as the parts in use are
// written: a new record starts as Clear() leaves it without writing its 19 MB.
struct TLevelData : TLevelRecord {
    TLevelData();
    TLevelData(const TLevelData&) = delete;
    TLevelData& operator=(const TLevelData&) = delete;
    static void* operator new(std::size_t bytes) { return AllocateZeroedPages(bytes); }
    static void operator delete(void* memory, std::size_t bytes) { FreeZeroedPages(memory, bytes); }

    ByteBuffer Textile8;  // NumTextiles pages of 256 x 256 palette indices
    ByteBuffer Textile16; // second and third game: 16-bit pages (1-5-5-5)
    ByteBuffer Samples;   // first game: the sound sample block

    // The name of the base level last read into the record; the build re-reads the base level
    // only when its name differs.
    std::string LastBaseLevelName;

    // Zero bytes everywhere, buffers emptied, LastBaseLevelName kept.
    void Clear();
    // This record becomes what the other holds, its name included; the other is left with this
    // record's buffers and is to be cleared or dropped. For a level read beside the current one
    // and taken only once it has proved good.
    void TakeFrom(TLevelData& other);
    bool HasSignature() const;
    void SetSignature();
};

} // namespace morvane
