#pragma once

// The objects a project places in its rooms: items (Lara, enemies, pickups, doors ...), cameras,
// static meshes and lights. A plain record beside the rooms, changed only by the operations of
// object_operations.h, and stored in the project file as a block after the rooms.
#include <cstdint>

namespace morvane {

enum class ObjectKind : uint8_t { Item = 1, Camera = 2, Static = 3, Light = 4 };

// Per-level and per-room limits of the games, which the layer keeps to.
inline constexpr int MaxObjectItems = 300;         // items of the level, Lara's included
inline constexpr int MaxObjectCameras = 100;       // cameras of the level
inline constexpr int MaxObjectStaticsPerRoom = 50; // static meshes of one room
inline constexpr int MaxObjectLightsPerRoom = 15;  // lights of one room
// Room for every kind at its limit in every room, so a placement within the limits always fits.
inline constexpr int MaxObjects =
    MaxObjectItems + MaxObjectCameras + 128 * (MaxObjectStaticsPerRoom + MaxObjectLightsPerRoom);

// An item's intensity when the room's own light falls on it.
inline constexpr int16_t RoomLitIntensity = -1;

// The activation bits of an item's flags (one bit for each of the five trigger codes), and the
// bits beside them.
inline constexpr uint16_t ItemActivationMask = 0x3E00;
inline constexpr uint16_t ItemInvisibleFlag = 0x0100;
inline constexpr uint16_t ItemClearBodyFlag = 0x8000;
inline constexpr uint16_t ItemOneShotFlag = 0x4000;

#pragma pack(push, 1)
// One object. X and Z are world units from the room's corner (its lowest x and z); Y is the
// game's height (world units, growing downwards), unless OnFloor asks the build for the floor
// under the object. Which fields count depends on the kind:
//   item:   Angle, Type (moveable or sprite type), Flags, Intensity, Intensity2
//   camera: Flags
//   static: Angle, Type (the static mesh's id), Intensity, Intensity2
//   light:  Intensity, Intensity2, Fade, Colour (0xRRGGBB, third game)
struct TEditorObject {
    uint8_t Kind;    // ObjectKind
    uint8_t Room;    // 1..RoomCount
    uint8_t OnFloor; // 1: stands on the floor under it; Y is then only what the view last drew
    uint8_t Reserved1;
    int32_t X, Y, Z;
    uint16_t Angle; // the game's angle: 65536 to the turn
    int16_t Type;
    uint16_t Flags;
    uint16_t Reserved2;
    int32_t Intensity;
    int32_t Intensity2;
    uint32_t Fade;
    uint32_t Colour;

    ObjectKind KindOf() const { return static_cast<ObjectKind>(Kind); }
    bool Is(ObjectKind kind) const { return Kind == static_cast<uint8_t>(kind); }
};
#pragma pack(pop)
static_assert(sizeof(TEditorObject) == 40);

// The project's objects in the order they were placed (the build writes the items in it).
struct TObjectLayer {
    uint32_t Count; // 0..MaxObjects
    TEditorObject Objects[MaxObjects];
};

} // namespace morvane
