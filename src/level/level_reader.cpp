#include "level/level_reader.h"

#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/level_format.h"

namespace morvane {

namespace {

// Reads the sections of one level file, checking every count against its capacity before the
// data is transferred.
class LevelFileReader {
public:
    LevelFileReader(TLevelData& level, BinaryReader& in, const std::string& fileName, int32_t kind)
        : level_(level), in_(in), fileName_(fileName), kind_(kind),
          secondGame_(UsesSecondGameRecords(kind)) {}

    void Read();

private:
    [[noreturn]] void Refuse(const std::string& field, uint64_t count, uint64_t limit) const {
        throw FileError(LevelFileKind, fileName_, RefusedOutcome,
                        field + " is " + std::to_string(count) + ", above the limit of " +
                            std::to_string(limit) + ".");
    }

    template <class Count>
    Count CheckedCount(Count count, uint64_t limit, const std::string& field) {
        if (count > limit) {
            Refuse(field, count, limit);
        }
        return count;
    }

    // A 32-bit count followed by that many records.
    template <class T, int N> void Counted32(uint32_t& count, T (&array)[N], const char* field) {
        count = CheckedCount(in_.ReadU32(), N, field);
        in_.ReadArray(array, count);
    }

    // A 16-bit count followed by that many records.
    template <class T, int N>
    void Counted16(uint16_t& count, T (&array)[N], const std::string& field) {
        count = CheckedCount(in_.ReadU16(), N, field);
        in_.ReadArray(array, count);
    }

    // A buffer whose size comes from the file: refused as a short file when the file cannot
    // hold it, so that a damaged count never allocates more than the file itself.
    void ReadBuffer(ByteBuffer& buffer, uint64_t byteCount) {
        if (byteCount > in_.Remaining()) {
            ThrowReadBeyondEnd();
        }
        buffer.resize(byteCount);
        in_.ReadBytes(buffer.data(), byteCount);
    }

    void ReadHeader();
    void ReadRoom(int index);
    void ReadTail();
    void ReadObjectTextures() {
        Counted32(level_.NumObjectTextures, level_.ObjectTextures, "NumObjectTextures");
    }
    void ReadPalette() { in_.ReadBytes(level_.Palette, PaletteBytes); }

    TLevelData& level_;
    BinaryReader& in_;
    const std::string& fileName_;
    int32_t kind_;
    bool secondGame_;
};

void LevelFileReader::Read() {
    ReadHeader();
    level_.NumRooms = CheckedCount(in_.ReadU16(), MaxLevelRooms, "NumRooms");
    for (int i = 0; i < level_.NumRooms; ++i) {
        ReadRoom(i);
    }
    ReadTail();
}

void LevelFileReader::ReadHeader() {
    if (secondGame_) {
        ReadPalette();
        in_.ReadBytes(level_.Palette16, Palette16Bytes);
    }
    level_.NumTextiles = in_.ReadU32();
    uint64_t pageBytes = uint64_t{level_.NumTextiles} * TextilePixels;
    if (pageBytes > in_.Remaining()) {
        ThrowReadBeyondEnd();
    }
    level_.TextileBytes = static_cast<uint32_t>(pageBytes);
    ReadBuffer(level_.Textile8, pageBytes);
    if (secondGame_) {
        ReadBuffer(level_.Textile16, pageBytes * 2);
    }
    level_.SpareLong = in_.ReadU32();
}

void LevelFileReader::ReadRoom(int index) {
    TLevelRoom& room = level_.Rooms[index];
    const std::string of = " of room " + std::to_string(index);
    in_.ReadValue(room.RoomInfo);
    room.NumDataWords = in_.ReadU32();

    room.NumVertices = CheckedCount(in_.ReadU16(), MaxRoomVertices, "NumVertices" + of);
    if (secondGame_) {
        in_.ReadArray(room.Vertices2, room.NumVertices);
        for (int v = 0; v < room.NumVertices; ++v) {
            const TVertex2& from = room.Vertices2[v];
            room.Vertices1[v] = TVertex1{from.X, from.Y, from.Z, from.Lighting};
        }
    } else {
        in_.ReadArray(room.Vertices1, room.NumVertices);
        for (int v = 0; v < room.NumVertices; ++v) {
            const TVertex1& from = room.Vertices1[v];
            room.Vertices2[v] = TVertex2{from.X, from.Y, from.Z, from.Lighting, 0x0010, 0x3DEF};
        }
    }
    Counted16(room.NumRectangles, room.Rectangles, "NumRectangles" + of);
    Counted16(room.NumTriangles, room.Triangles, "NumTriangles" + of);
    Counted16(room.NumSprites, room.Sprites, "NumSprites" + of);
    Counted16(room.NumPortals, room.Portals, "NumPortals" + of);

    room.NumZSectors = in_.ReadU16();
    room.NumXSectors = in_.ReadU16();
    uint32_t sectorCount = uint32_t{room.NumZSectors} * room.NumXSectors;
    CheckedCount(sectorCount, MaxRoomSectors, "NumZSectors x NumXSectors" + of);
    in_.ReadArray(room.Sectors, sectorCount);

    room.AmbientIntensity = in_.ReadU16();
    if (secondGame_) {
        room.AmbientIntensity2 = in_.ReadI16();
    }
    if (kind_ == FormatTR2) {
        room.LightMode = in_.ReadI16();
    }
    ReadRoomTail(in_, room, secondGame_, index);
    if (kind_ == FormatTR3) {
        in_.ReadBytes(room.RoomExtra, sizeof(room.RoomExtra));
    }
}

void LevelFileReader::ReadTail() {
    TLevelData& l = level_;
    Counted32(l.NumFloorData, l.FloorData, "NumFloorData");
    Counted32(l.NumMeshData, l.MeshData, "NumMeshData");
    Counted32(l.NumMeshPointers, l.MeshPointers, "NumMeshPointers");
    Counted32(l.NumAnimations, l.Animations, "NumAnimations");
    Counted32(l.NumStateChanges, l.StateChanges, "NumStateChanges");
    Counted32(l.NumAnimDispatches, l.AnimDispatches, "NumAnimDispatches");
    Counted32(l.NumAnimCommands, l.AnimCommands, "NumAnimCommands");
    Counted32(l.NumMeshLinks, l.MeshLinks, "NumMeshLinks");
    Counted32(l.NumFrames, l.Frames, "NumFrames");
    Counted32(l.NumMoveables, l.Moveables, "NumMoveables");
    Counted32(l.NumStaticMeshes, l.StaticMeshes, "NumStaticMeshes");
    if (kind_ != FormatTR3) {
        ReadObjectTextures();
    }
    Counted32(l.NumSpriteTextures, l.SpriteTextures, "NumSpriteTextures");
    Counted32(l.NumSpriteSequences, l.SpriteSequences, "NumSpriteSequences");
    if (kind_ == FormatTUB) {
        ReadPalette();
    }
    Counted32(l.NumCameras, l.Cameras, "NumCameras");
    Counted32(l.NumSoundSources, l.SoundSources, "NumSoundSources");
    if (secondGame_) {
        Counted32(l.NumBoxes, l.Boxes2, "NumBoxes");
    } else {
        Counted32(l.NumBoxes, l.Boxes1, "NumBoxes");
    }
    Counted32(l.NumOverlaps, l.Overlaps, "NumOverlaps");
    l.NumZones = l.NumBoxes;
    if (secondGame_) {
        for (auto& zone : l.Zones) {
            in_.ReadArray(zone, l.NumZones);
        }
    } else {
        for (int zone : ZoneArraysTR1) {
            in_.ReadArray(l.Zones[zone], l.NumZones);
        }
    }
    Counted32(l.NumAnimatedTextures, l.AnimatedTextures, "NumAnimatedTextures");
    if (kind_ == FormatTR3) {
        ReadObjectTextures();
    }
    if (secondGame_) {
        Counted32(l.NumItems, l.Items2, "NumItems");
        for (uint32_t i = 0; i < l.NumItems; ++i) {
            const TItem2& from = l.Items2[i];
            l.Items1[i] = TItem1{from.Type, from.Room,  from.X,         from.Y,
                                 from.Z,    from.Angle, from.Intensity, from.Flags};
        }
    } else {
        Counted32(l.NumItems, l.Items1, "NumItems");
        for (uint32_t i = 0; i < l.NumItems; ++i) {
            const TItem1& from = l.Items1[i];
            l.Items2[i] = TItem2{from.Type,  from.Room,      from.X, from.Y,    from.Z,
                                 from.Angle, from.Intensity, 0,      from.Flags};
        }
    }
    in_.ReadBytes(l.LightMap, LightMapBytes);
    if (kind_ == FormatTR1) {
        ReadPalette();
    }
    Counted16(l.NumCinematicFrames, l.CinematicFrames, "NumCinematicFrames");
    Counted16(l.NumDemoData, l.DemoData, "NumDemoData");
    in_.ReadBytes(l.SoundMap, secondGame_ ? SoundMapBytesTR2 : SoundMapBytesTR1);
    Counted32(l.NumSoundDetails, l.SoundDetails, "NumSoundDetails");
    if (!secondGame_) {
        l.NumSamples = in_.ReadU32();
        ReadBuffer(l.Samples, l.NumSamples);
    }
    Counted32(l.NumSampleIndices, l.SampleIndices, "NumSampleIndices");
}

} // namespace

void ReadRoomTail(BinaryReader& in, TLevelRoom& room, bool secondGame, int roomNumber) {
    const std::string of = " of room " + std::to_string(roomNumber);
    auto count = [&](uint64_t limit, const std::string& field) {
        const uint16_t value = in.ReadU16();
        if (value > limit) {
            throw IoError(field + of + " is " + std::to_string(value) + ", above the limit of " +
                          std::to_string(limit) + ".");
        }
        return value;
    };
    room.NumLights = count(MaxRoomLights, "NumLights");
    if (secondGame) {
        in.ReadArray(room.Lights2, room.NumLights);
    } else {
        in.ReadArray(room.Lights1, room.NumLights);
    }
    room.NumStaticMeshes = count(MaxRoomStatics, "NumStaticMeshes");
    if (secondGame) {
        in.ReadArray(room.RoomStatics2, room.NumStaticMeshes);
    } else {
        in.ReadArray(room.RoomStatics1, room.NumStaticMeshes);
    }
    room.AlternateRoom = in.ReadI16();
    room.RoomFlags = in.ReadU16();
}

ReadResult ReadLevel(TLevelData& level, BinaryReader& reader, const std::string& fileName) {
    level.Clear();
    level.LastBaseLevelName.clear();
    try {
        level.Version = reader.ReadU32();
        if (!IsKnownVersion(level.Version)) {
            level.Version = 0;
            return ReadResult::Failed(ReadStatus::OtherKind,
                                      std::string(LevelFileKind) + " \"" + fileName +
                                          "\" is not a level of the supported games (unknown "
                                          "version code)");
        }
        level.SetSignature();
        level.FormatKind = FormatKindFor(level.Version, fileName);
        LevelFileReader(level, reader, fileName, level.FormatKind).Read();
    } catch (const IoError& e) {
        level.Clear();
        throw FileError(LevelFileKind, fileName, RefusedOutcome, e.what());
    } catch (...) {
        level.Clear();
        throw;
    }
    return {};
}

int32_t PeekLevelFormatKind(const std::string& fileName) {
    try {
        if (!IsRegularFile(fileName)) {
            return FormatNone;
        }
        BinaryReader reader = BinaryReader::OpenFile(fileName);
        const uint32_t version = reader.ReadU32();
        return IsKnownVersion(version) ? FormatKindFor(version, fileName) : FormatNone;
    } catch (const IoError&) {
        return FormatNone;
    }
}

ReadResult ReadLevelFile(TLevelData& level, const std::string& fileName) {
    if (!FileExists(fileName)) {
        level.Clear();
        level.LastBaseLevelName.clear();
        return ReadResult::Failed(ReadStatus::Missing,
                                  std::string(LevelFileKind) + " \"" + fileName + "\" not found");
    }
    try {
        BinaryReader reader = BinaryReader::OpenFile(fileName);
        return ReadLevel(level, reader, fileName); // clears the record first
    } catch (const IoError& e) {
        level.Clear();
        level.LastBaseLevelName.clear();
        throw FileError(LevelFileKind, fileName, RefusedOutcome, e.what());
    }
}

} // namespace morvane
