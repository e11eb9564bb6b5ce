#include "level/level_format.h"
#include "level/level_writer.h"
#include "level/world_units.h"

namespace morvane {

namespace {

// Third game: the vertex's second light is a grey in 5-5-5 form made from the editor's light
// (high byte of Lighting, 0 bright .. 31 dark); water rooms mark their vertices with 0x2000.
void PrepareVertexTR3(TVertex2& vertex, uint8_t roomFlagsLow) {
    uint16_t a = static_cast<uint16_t>(31 - (vertex.Lighting >> 8));
    vertex.Lighting2 = static_cast<uint16_t>(a * 1024 + a * 32 + a);
    vertex.Attributes = (roomFlagsLow & RoomFlagWater) ? 0x2010 : 0x0010;
    if (roomFlagsLow & 0x80) {
        vertex.Attributes = 0x2000;
    }
}

} // namespace

void PrepareLevelForWrite(TLevelData& level) {
    const bool thirdGame = level.FormatKind == FormatTR3;
    for (int r = 0; r < level.NumRooms && r < MaxLevelRooms; ++r) {
        TLevelRoom& room = level.Rooms[r];
        const uint8_t flagsLow = static_cast<uint8_t>(room.RoomFlags & 0xFF);
        for (int v = 0; v < room.NumVertices && v < MaxRoomVertices; ++v) {
            const TVertex1& from = room.Vertices1[v];
            TVertex2& to = room.Vertices2[v];
            to.X = from.X;
            to.Y = from.Y;
            to.Z = from.Z;
            to.Lighting = from.Lighting;
            if (thirdGame) {
                PrepareVertexTR3(to, flagsLow);
            } else {
                to.Lighting2 = 0xFFFF;
                to.Attributes = 0;
            }
        }
        room.AmbientIntensity2 = thirdGame ? 0 : static_cast<int16_t>(0xFFFF);
        room.LightMode = 3;
    }
    for (uint32_t i = 0; i < level.NumItems && i < MaxItems; ++i) {
        const TItem1& from = level.Items1[i];
        TItem2& to = level.Items2[i];
        to.Type = from.Type;
        to.Room = from.Room;
        to.X = from.X;
        to.Y = from.Y;
        to.Z = from.Z;
        to.Angle = from.Angle;
        to.Intensity = from.Intensity;
        to.Flags = from.Flags;
    }
    for (uint32_t b = 0; b < level.NumBoxes && b < MaxBoxes; ++b) {
        const TBox1& from = level.Boxes1[b];
        TBox2& to = level.Boxes2[b];
        to.ZMin = static_cast<uint8_t>(from.ZMin / SectorSize);
        // The first game's records end at the last unit inside, the later ones at the next
        // sector.
        to.ZMax = static_cast<uint8_t>((from.ZMax + 1) / SectorSize);
        to.XMin = static_cast<uint8_t>(from.XMin / SectorSize);
        to.XMax = static_cast<uint8_t>((from.XMax + 1) / SectorSize);
        to.TrueFloor = from.TrueFloor;
        to.OverlapIndex = from.OverlapIndex;
    }
}

} // namespace morvane
