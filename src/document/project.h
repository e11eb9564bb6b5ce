#pragma once

#include "document/build_settings.h"
#include "document/flip_maps.h"
#include "document/objects.h"
#include "document/short_string.h"
#include "document/triggers.h"
#include "io/zeroed_pages.h"
#include "level/game_sector.h"

#include <cstddef>
#include <cstdint>

namespace morvane {

// Capacities of the document.
inline constexpr int MaxRooms = 128;
inline constexpr int MaxSectors = 1024;
inline constexpr int MaxPortalViews = 20;
inline constexpr int MaxRoomTop = 64; // PosY + Height may not exceed this

// Texture numbers and lights of one side (floor or ceiling) of a sector.
// Texture slots: 1 the wall toward row z - 1, 2 toward row z + 1, 3 the horizontal face,
// 4 toward column x - 1, 5 toward column x + 1. Light slots: 1-4 the walls toward row z - 1,
// row z + 1, column x - 1, column x + 1, and 5 the horizontal face. A negative texture leaves
// the face out.
#pragma pack(push, 1)
struct TSectorSurface {
    int32_t Textures[5];
    uint8_t Lights[5];
};

struct TEditorSector {
    uint8_t FloorShape;
    uint8_t CeilingShape;
    uint8_t Reserved1[2];
    TSectorSurface FloorSurface;
    TSectorSurface CeilingSurface;
    uint8_t Reserved2[4];
    int32_t PortalKind; // what RoomAbove of the game sector holds, see PortalKind* below
    uint8_t Reserved3[40];
};

struct TPortalView {
    uint8_t Facing; // PortalFacing* below
    uint8_t Reserved;
    uint16_t TargetRoom; // 1..128
    int32_t WidthTiles;
    int32_t HeightTiles;
    int32_t OriginZ; // row of the origin sector, from 1
    int32_t OriginX; // column of the origin sector, from 1
};
#pragma pack(pop)

static_assert(sizeof(TSectorSurface) == 25);
static_assert(sizeof(TEditorSector) == 102);
static_assert(sizeof(TPortalView) == 20);
static_assert(FlipMapSlots == MaxRooms);

inline constexpr int32_t PortalKindNone = 0;  // never set: RoomAbove is 255
inline constexpr int32_t PortalKindAbove = 1; // RoomAbove is the room above (or none)
inline constexpr int32_t PortalKindSide = 2;  // RoomAbove is the room beside (a wall portal)

inline constexpr uint8_t PortalFacingFront = 1;
inline constexpr uint8_t PortalFacingBack = 2;
inline constexpr uint8_t PortalFacingLeft = 3;
inline constexpr uint8_t PortalFacingRight = 4;
inline constexpr uint8_t PortalFacingCeiling = 5;
inline constexpr uint8_t PortalFacingFloor = 6;

// Default texture slots of a room, in stored order.
inline constexpr int DefaultFloorWall1 = 0; // floor walls 1-4: indices 0..3
inline constexpr int DefaultFloorFace = 4;
inline constexpr int DefaultCeilingWall1 = 5; // ceiling walls 1-4: indices 5..8
inline constexpr int DefaultCeilingFace = 9;

// One room: a grid of XSectors columns by ZSectors rows. Sectors, GameSectors and PortalViews
// are numbered from 1 in the editor; use the accessors.
struct TEditorRoom {
    int32_t PosX; // sectors
    int32_t PosZ; // sectors
    TShortString<40> Name;
    uint8_t PosY;   // level of the room's bottom, in sector heights
    uint8_t Height; // inner height, in sector heights
    int32_t DefaultTextures[10];
    uint8_t SectorLight;
    int32_t AmbientIntensity;
    uint8_t Water; // the four flags are booleans kept as their stored bytes
    uint8_t WindRain;
    uint8_t Quicksand;
    uint8_t Sky;
    uint8_t Reserved[2];
    TEditorSector Sectors[MaxSectors];
    uint16_t ZSectors; // rows ("Long")
    uint16_t XSectors; // columns ("Width")
    TGameSector GameSectors[MaxSectors];
    int32_t PortalViewCount;
    TPortalView PortalViews[MaxPortalViews];

    TEditorSector& Sector(int n) { return Sectors[n - 1]; }
    const TEditorSector& Sector(int n) const { return Sectors[n - 1]; }
    TGameSector& GameSector(int n) { return GameSectors[n - 1]; }
    const TGameSector& GameSector(int n) const { return GameSectors[n - 1]; }
    TPortalView& PortalView(int d) { return PortalViews[d - 1]; }
    const TPortalView& PortalView(int d) const { return PortalViews[d - 1]; }
    // In 64 bits: two 16-bit sides from a damaged file multiply beyond an int.
    int64_t SectorCount() const { return int64_t{ZSectors} * XSectors; }
};

// The document: build settings and up to 128 rooms. One instance for the whole run, never
// copied; New clears it to zero bytes.
//
// Made with new (std::make_unique), in zero pages that are mapped only as the rooms in use are
// written: a new record starts as Clear() leaves it without writing its 14 MB.
struct TEditorProject {
    TEditorProject() { CurrentRoom = 1; } // the rest is zero: see operator new
    TEditorProject(const TEditorProject&) = delete;
    TEditorProject& operator=(const TEditorProject&) = delete;
    static void* operator new(std::size_t bytes) { return AllocateZeroedPages(bytes); }
    static void operator delete(void* memory, std::size_t bytes) { FreeZeroedPages(memory, bytes); }

    TBuildSettings Settings;
    uint8_t CurrentRoom; // 1..128
    uint8_t RoomCount;   // 0..128
    TEditorRoom Rooms[MaxRooms];
    TFlipMaps FlipMaps;     // see flip_maps.h
    TObjectLayer Objects;   // see objects.h
    TTriggerLayer Triggers; // see triggers.h

    TEditorRoom& Room(int r) { return Rooms[r - 1]; }
    const TEditorRoom& Room(int r) const { return Rooms[r - 1]; }
    // Whether CurrentRoom names one of the rooms in use (operations on the current room need it).
    bool HasCurrentRoom() const {
        return RoomCount <= MaxRooms && CurrentRoom >= 1 && CurrentRoom <= RoomCount;
    }
    TEditorRoom& Current() { return Rooms[CurrentRoom - 1]; }
    const TEditorRoom& Current() const { return Rooms[CurrentRoom - 1]; }

    // Zero bytes everywhere, CurrentRoom 1, no rooms.
    void Clear();
    // Takes over every byte of another document (a copy kept to compare with, in the tests).
    void ReplaceWith(const TEditorProject& other);
};

} // namespace morvane
