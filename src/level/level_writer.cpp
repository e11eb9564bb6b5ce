#include "level/level_writer.h"

#include "io/atomic_file.h"
#include "io/binary_writer.h"
#include "io/io_error.h"
#include "level/level_format.h"

#include <stdexcept>
#include <string>

namespace morvane {

namespace {

class LevelFileWriter {
public:
    LevelFileWriter(TLevelData& level, BinaryWriter& out, int32_t kind)
        : level_(level), out_(out), kind_(kind), secondGame_(UsesSecondGameRecords(kind)) {}

    void Write();

private:
    // A count and its records; a count beyond the array is a fault of whoever filled the record,
    // and nothing is read past the array.
    template <class T, int N> void Counted32(uint32_t count, const T (&array)[N]) {
        CheckCapacity(count, N);
        out_.WriteU32(count);
        out_.WriteArray(array, count);
    }
    template <class T, int N> void Counted16(uint16_t count, const T (&array)[N]) {
        CheckCapacity(count, N);
        out_.WriteU16(count);
        out_.WriteArray(array, count);
    }
    static void CheckCapacity(uint64_t count, uint64_t capacity) {
        if (count > capacity) {
            throw std::logic_error("level record count " + std::to_string(count) +
                                   " beyond its capacity " + std::to_string(capacity));
        }
    }
    // A heap buffer of the record, written at the size the header gives.
    void WriteBuffer(const ByteBuffer& buffer, uint64_t byteCount) {
        CheckCapacity(byteCount, buffer.size());
        out_.WriteBytes(buffer.data(), byteCount);
    }
    void WriteRoom(TLevelRoom& room);
    void WriteTail();
    void WritePalette() { out_.WriteBytes(level_.Palette, PaletteBytes); }
    void WriteObjectTextures() { Counted32(level_.NumObjectTextures, level_.ObjectTextures); }

    TLevelData& level_;
    BinaryWriter& out_;
    int32_t kind_;
    bool secondGame_;
};

void LevelFileWriter::Write() {
    out_.WriteU32(level_.Version);
    if (secondGame_) {
        WritePalette();
        out_.WriteBytes(level_.Palette16, Palette16Bytes);
    }
    out_.WriteU32(level_.NumTextiles);
    WriteBuffer(level_.Textile8, uint64_t{level_.NumTextiles} * TextilePixels);
    if (secondGame_) {
        WriteBuffer(level_.Textile16, uint64_t{level_.NumTextiles} * TextilePixels * 2);
    }
    out_.WriteU32(level_.SpareLong);
    out_.WriteU16(level_.NumRooms);
    CheckCapacity(level_.NumRooms, MaxLevelRooms);
    for (int i = 0; i < level_.NumRooms; ++i) {
        WriteRoom(level_.Rooms[i]);
    }
    WriteTail();
}

void LevelFileWriter::WriteRoom(TLevelRoom& room) {
    room.NumDataWords = RoomDataWords(room, kind_);
    out_.WriteValue(room.RoomInfo);
    out_.WriteU32(room.NumDataWords);
    if (secondGame_) {
        Counted16(room.NumVertices, room.Vertices2);
    } else {
        Counted16(room.NumVertices, room.Vertices1);
    }
    Counted16(room.NumRectangles, room.Rectangles);
    Counted16(room.NumTriangles, room.Triangles);
    Counted16(room.NumSprites, room.Sprites);
    Counted16(room.NumPortals, room.Portals);
    out_.WriteU16(room.NumZSectors);
    out_.WriteU16(room.NumXSectors);
    uint32_t sectorCount = uint32_t{room.NumZSectors} * room.NumXSectors;
    CheckCapacity(sectorCount, MaxRoomSectors);
    out_.WriteArray(room.Sectors, sectorCount);
    out_.WriteU16(room.AmbientIntensity);
    if (secondGame_) {
        out_.WriteI16(room.AmbientIntensity2);
    }
    if (kind_ == FormatTR2) {
        out_.WriteI16(room.LightMode);
    }
    if (secondGame_) {
        Counted16(room.NumLights, room.Lights2);
        Counted16(room.NumStaticMeshes, room.RoomStatics2);
    } else {
        Counted16(room.NumLights, room.Lights1);
        Counted16(room.NumStaticMeshes, room.RoomStatics1);
    }
    out_.WriteI16(room.AlternateRoom);
    out_.WriteU16(room.RoomFlags);
    if (kind_ == FormatTR3) {
        out_.WriteBytes(room.RoomExtra, sizeof(room.RoomExtra));
    }
}

void LevelFileWriter::WriteTail() {
    TLevelData& l = level_;
    Counted32(l.NumFloorData, l.FloorData);
    Counted32(l.NumMeshData, l.MeshData);
    Counted32(l.NumMeshPointers, l.MeshPointers);
    Counted32(l.NumAnimations, l.Animations);
    Counted32(l.NumStateChanges, l.StateChanges);
    Counted32(l.NumAnimDispatches, l.AnimDispatches);
    Counted32(l.NumAnimCommands, l.AnimCommands);
    Counted32(l.NumMeshLinks, l.MeshLinks);
    Counted32(l.NumFrames, l.Frames);
    Counted32(l.NumMoveables, l.Moveables);
    Counted32(l.NumStaticMeshes, l.StaticMeshes);
    if (kind_ != FormatTR3) {
        WriteObjectTextures();
    }
    Counted32(l.NumSpriteTextures, l.SpriteTextures);
    Counted32(l.NumSpriteSequences, l.SpriteSequences);
    if (kind_ == FormatTUB) {
        WritePalette();
    }
    Counted32(l.NumCameras, l.Cameras);
    Counted32(l.NumSoundSources, l.SoundSources);
    if (secondGame_) {
        Counted32(l.NumBoxes, l.Boxes2);
    } else {
        Counted32(l.NumBoxes, l.Boxes1);
    }
    Counted32(l.NumOverlaps, l.Overlaps);
    CheckCapacity(l.NumZones, MaxBoxes);
    if (secondGame_) {
        for (const auto& zone : l.Zones) {
            out_.WriteArray(zone, l.NumZones);
        }
    } else {
        for (int zone : ZoneArraysTR1) {
            out_.WriteArray(l.Zones[zone], l.NumZones);
        }
    }
    Counted32(l.NumAnimatedTextures, l.AnimatedTextures);
    if (kind_ == FormatTR3) {
        WriteObjectTextures();
    }
    if (secondGame_) {
        Counted32(l.NumItems, l.Items2);
    } else {
        Counted32(l.NumItems, l.Items1);
    }
    out_.WriteBytes(l.LightMap, LightMapBytes);
    if (kind_ == FormatTR1) {
        WritePalette();
    }
    Counted16(l.NumCinematicFrames, l.CinematicFrames);
    Counted16(l.NumDemoData, l.DemoData);
    out_.WriteBytes(l.SoundMap, secondGame_ ? SoundMapBytesTR2 : SoundMapBytesTR1);
    Counted32(l.NumSoundDetails, l.SoundDetails);
    if (!secondGame_) {
        out_.WriteU32(l.NumSamples);
        WriteBuffer(l.Samples, l.NumSamples);
    }
    Counted32(l.NumSampleIndices, l.SampleIndices);
}

} // namespace

uint32_t RoomDataWords(const TLevelRoom& room, int32_t kind) {
    uint32_t vertexBytes = UsesSecondGameRecords(kind) ? 12 : 8;
    return (room.NumVertices * vertexBytes + room.NumRectangles * 10u + room.NumTriangles * 8u +
            room.NumSprites * 4u + 8u) /
           2;
}

void WriteLevel(TLevelData& level, BinaryWriter& out, int32_t kind) {
    LevelFileWriter(level, out, kind).Write();
}

uint8_t WriteLevelFile(TLevelData& level, const std::string& fileName) {
    int32_t kind = FormatKindFor(level.Version, fileName);
    if (kind == FormatNone) {
        level.Version = 0;
        return LevelWriteVersionUnknown;
    }
    try {
        AtomicFileWriter file(fileName);
        WriteLevel(level, file.Writer(), kind);
        file.Commit();
    } catch (const IoError& e) {
        throw FileError("Level file", fileName, NotWrittenOutcome, e.what());
    }
    return LevelWritten;
}

} // namespace morvane
