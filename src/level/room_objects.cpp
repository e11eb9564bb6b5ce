#include "level/room_objects.h"

#include "level/level_format.h"
#include "level/level_object_types.h"

#include <algorithm>
#include <vector>

namespace morvane {

namespace {

// Little-endian fields at a byte offset of an opaque record.
class Bytes {
public:
    explicit Bytes(uint8_t* at) : at_(at) {}
    void Put(int offset, uint32_t value, int size) {
        for (int b = 0; b < size; ++b) {
            at_[offset + b] = static_cast<uint8_t>(value >> (8 * b));
        }
    }

private:
    uint8_t* at_;
};

uint32_t Get(const uint8_t* at, int offset, int size) {
    uint32_t value = 0;
    for (int b = size - 1; b >= 0; --b) {
        value = value << 8 | at[offset + b];
    }
    return value;
}

int32_t GetI32(const uint8_t* at, int offset) {
    return static_cast<int32_t>(Get(at, offset, 4));
}

} // namespace

LevelItem GetLevelItem(const TLevelData& level, int index) {
    LevelItem item;
    if (UsesSecondGameRecords(level.FormatKind)) {
        const TItem2& from = level.Items2[index];
        item = {from.Type,  from.Room,      from.X,          from.Y,    from.Z,
                from.Angle, from.Intensity, from.Intensity2, from.Flags};
    } else {
        const TItem1& from = level.Items1[index];
        item = {from.Type,  from.Room,      from.X, from.Y,    from.Z,
                from.Angle, from.Intensity, 0,      from.Flags};
    }
    return item;
}

void SetLevelItem(TLevelData& level, int index, const LevelItem& item) {
    TItem1& one = level.Items1[index];
    one.Type = item.Type;
    one.Room = item.Room;
    one.X = item.X;
    one.Y = item.Y;
    one.Z = item.Z;
    one.Angle = item.Angle;
    one.Intensity = item.Intensity;
    one.Flags = item.Flags;
    TItem2& two = level.Items2[index];
    two.Type = item.Type;
    two.Room = item.Room;
    two.X = item.X;
    two.Y = item.Y;
    two.Z = item.Z;
    two.Angle = item.Angle;
    two.Intensity = item.Intensity;
    two.Intensity2 = item.Intensity2;
    two.Flags = item.Flags;
}

RoomLight GetRoomLight(const TLevelData& level, const TLevelRoom& room, int index) {
    RoomLight light;
    const bool second = UsesSecondGameRecords(level.FormatKind);
    const uint8_t* at = second ? room.Lights2[index].Bytes : room.Lights1[index].Bytes;
    light.X = GetI32(at, 0);
    light.Y = GetI32(at, 4);
    light.Z = GetI32(at, 8);
    if (level.FormatKind == FormatTR3) {
        light.Colour = Get(at, 12, 1) << 16 | Get(at, 13, 1) << 8 | Get(at, 14, 1);
        light.Spare = static_cast<uint8_t>(at[15]);
        light.Intensity = static_cast<uint16_t>(Get(at, 16, 2));
        light.Intensity2 = static_cast<uint16_t>(Get(at, 18, 2));
        light.Fade = Get(at, 20, 4);
    } else if (second) {
        light.Intensity = static_cast<uint16_t>(Get(at, 12, 2));
        light.Intensity2 = static_cast<uint16_t>(Get(at, 14, 2));
        light.Fade = Get(at, 16, 4);
        light.Fade2 = Get(at, 20, 4);
    } else {
        light.Intensity = static_cast<uint16_t>(Get(at, 12, 2));
        light.Fade = Get(at, 14, 4);
    }
    return light;
}

void SetRoomLight(const TLevelData& level, TLevelRoom& room, int index, const RoomLight& light) {
    const bool second = UsesSecondGameRecords(level.FormatKind);
    Bytes at(second ? room.Lights2[index].Bytes : room.Lights1[index].Bytes);
    at.Put(0, static_cast<uint32_t>(light.X), 4);
    at.Put(4, static_cast<uint32_t>(light.Y), 4);
    at.Put(8, static_cast<uint32_t>(light.Z), 4);
    if (level.FormatKind == FormatTR3) {
        at.Put(12, light.Colour >> 16 & 0xFF, 1);
        at.Put(13, light.Colour >> 8 & 0xFF, 1);
        at.Put(14, light.Colour & 0xFF, 1);
        at.Put(15, light.Spare, 1);
        at.Put(16, light.Intensity, 2);
        at.Put(18, light.Intensity2, 2);
        at.Put(20, light.Fade, 4);
    } else if (second) {
        at.Put(12, light.Intensity, 2);
        at.Put(14, light.Intensity2, 2);
        at.Put(16, light.Fade, 4);
        at.Put(20, light.Fade2, 4);
    } else {
        at.Put(12, light.Intensity, 2);
        at.Put(14, light.Fade, 4);
    }
}

RoomStatic GetRoomStatic(const TLevelData& level, const TLevelRoom& room, int index) {
    RoomStatic mesh;
    const bool second = UsesSecondGameRecords(level.FormatKind);
    const uint8_t* at = second ? room.RoomStatics2[index].Bytes : room.RoomStatics1[index].Bytes;
    mesh.X = GetI32(at, 0);
    mesh.Y = GetI32(at, 4);
    mesh.Z = GetI32(at, 8);
    mesh.Angle = static_cast<uint16_t>(Get(at, 12, 2));
    mesh.Intensity = static_cast<uint16_t>(Get(at, 14, 2));
    if (second) {
        mesh.Intensity2 = static_cast<uint16_t>(Get(at, 16, 2));
        mesh.MeshId = static_cast<uint16_t>(Get(at, 18, 2));
    } else {
        mesh.MeshId = static_cast<uint16_t>(Get(at, 16, 2));
    }
    return mesh;
}

void SetRoomStatic(const TLevelData& level, TLevelRoom& room, int index, const RoomStatic& mesh) {
    const bool second = UsesSecondGameRecords(level.FormatKind);
    Bytes at(second ? room.RoomStatics2[index].Bytes : room.RoomStatics1[index].Bytes);
    at.Put(0, static_cast<uint32_t>(mesh.X), 4);
    at.Put(4, static_cast<uint32_t>(mesh.Y), 4);
    at.Put(8, static_cast<uint32_t>(mesh.Z), 4);
    at.Put(12, mesh.Angle, 2);
    at.Put(14, mesh.Intensity, 2);
    if (second) {
        at.Put(16, mesh.Intensity2, 2);
        at.Put(18, mesh.MeshId, 2);
    } else {
        at.Put(16, mesh.MeshId, 2);
    }
}

bool HasItemModel(const TLevelData& level, int type) {
    const std::vector<int> ids = ModelledItemTypes(level);
    return std::binary_search(ids.begin(), ids.end(), type);
}

bool HasStaticModel(const TLevelData& level, int meshId) {
    const std::vector<int> ids = StaticMeshIds(level);
    return std::binary_search(ids.begin(), ids.end(), meshId);
}

} // namespace morvane
