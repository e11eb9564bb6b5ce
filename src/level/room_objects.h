#pragma once

// The level's placed things (items, cameras, a room's lights and static meshes) read and written
// field by field, whatever the layout: the room records are kept as bytes in the layout's own
// form, and the items in the first or second game's.
#include "level/level_data.h"

#include <cstdint>

namespace morvane {

// An item as every layout has it; Intensity2 exists in the second and third games only.
struct LevelItem {
    int16_t Type = 0;
    int16_t Room = 0;
    int32_t X = 0, Y = 0, Z = 0;
    uint16_t Angle = 0;
    uint16_t Intensity = 0;
    uint16_t Intensity2 = 0;
    uint16_t Flags = 0;
};
LevelItem GetLevelItem(const TLevelData& level, int index);
// Written to both the first and the second game's records, so that the level is the same
// whichever the writer takes.
void SetLevelItem(TLevelData& level, int index, const LevelItem& item);

// A room light. First game: x, y, z, intensity (16 bits), fade (32 bits): 18 bytes. Second game:
// x, y, z, two intensities (16 bits), two fades (32 bits): 24 bytes. Third game: x, y, z, colour
// (red, green, blue and a spare byte), two intensities (16 bits), one fade: 24 bytes.
struct RoomLight {
    int32_t X = 0, Y = 0, Z = 0;
    uint16_t Intensity = 0, Intensity2 = 0;
    uint32_t Fade = 0, Fade2 = 0;
    uint32_t Colour = 0; // 0xRRGGBB, third game
    uint8_t Spare = 0;   // the colour's fourth byte, third game
};
RoomLight GetRoomLight(const TLevelData& level, const TLevelRoom& room, int index);
void SetRoomLight(const TLevelData& level, TLevelRoom& room, int index, const RoomLight& light);

// A room's static mesh. First game: x, y, z, angle, intensity, mesh id (16 bits each after the
// 32-bit position): 18 bytes; second and third game: a second intensity before the id: 20 bytes.
struct RoomStatic {
    int32_t X = 0, Y = 0, Z = 0;
    uint16_t Angle = 0;
    uint16_t Intensity = 0, Intensity2 = 0;
    uint16_t MeshId = 0;
};
RoomStatic GetRoomStatic(const TLevelData& level, const TLevelRoom& room, int index);
void SetRoomStatic(const TLevelData& level, TLevelRoom& room, int index, const RoomStatic& mesh);

// Whether the level has a model for an item type (a moveable or a sprite sequence of that id) or
// for a static mesh id.
bool HasItemModel(const TLevelData& level, int type);
bool HasStaticModel(const TLevelData& level, int meshId);

} // namespace morvane
