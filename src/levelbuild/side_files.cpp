#include "levelbuild/side_files.h"

#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/level_reader.h"

#include <cstring>
#include <utility>
#include <vector>

namespace morvane {

namespace {

// Counts in the side files are checked before anything is stored.
class SideFileReader {
public:
    SideFileReader(BinaryReader& in, const std::string& fileName, const char* kind)
        : in_(in), fileName_(fileName), kind_(kind) {}

    [[noreturn]] void Refuse(const std::string& what) const {
        throw FileError(kind_, fileName_, RefusedOutcome, what + ".");
    }
    uint32_t Count(uint32_t count, uint32_t limit, const std::string& what) const {
        if (count > limit) {
            Refuse(what + " is " + std::to_string(count) + ", above the limit of " +
                   std::to_string(limit));
        }
        return count;
    }
    // A count read from the file, to come after the `have` the level holds.
    uint32_t After(uint32_t have, uint32_t count, uint32_t limit, const std::string& what) const {
        if (uint64_t{have} + count > limit) {
            Refuse(what + " after the level's " + std::to_string(have) + " would be " +
                   std::to_string(uint64_t{have} + count) + ", above the limit of " +
                   std::to_string(limit));
        }
        return have + count;
    }
    bool Signature(uint8_t length, const char* text) {
        uint8_t bytes[32] = {};
        in_.ReadBytes(bytes, 1u + length);
        return bytes[0] == length && std::memcmp(bytes + 1, text, length) == 0;
    }

    BinaryReader& in_;
    const std::string& fileName_;
    const char* kind_;
};

// Reads `count` records after the `have` a list holds, refusing a sum above `limit`.
template <class T>
uint16_t AppendRecords(SideFileReader& file, T* records, uint32_t have, uint32_t limit,
                       const std::string& what) {
    const uint32_t count = file.in_.ReadU16();
    const uint32_t total = file.After(have, count, limit, what);
    file.in_.ReadArray(&records[have], count);
    return static_cast<uint16_t>(total);
}

void ReadRoomBlock(SideFileReader& file, TLevelRoom& room, int roomNumber, bool secondGame,
                   bool append) {
    BinaryReader& in = file.in_;
    const std::string of = " of room " + std::to_string(roomNumber);
    room.NumSprites =
        static_cast<uint16_t>(file.Count(in.ReadU16(), MaxRoomSprites, "the sprite count" + of));
    in.ReadArray(room.Sprites, room.NumSprites);
    if (!append) {
        ReadRoomTail(in, room, secondGame, roomNumber);
        return;
    }
    room.NumLights =
        secondGame
            ? AppendRecords(file, room.Lights2, room.NumLights, MaxRoomLights, "the lights" + of)
            : AppendRecords(file, room.Lights1, room.NumLights, MaxRoomLights, "the lights" + of);
    room.NumStaticMeshes = secondGame ? AppendRecords(file, room.RoomStatics2, room.NumStaticMeshes,
                                                      MaxRoomStatics, "the static meshes" + of)
                                      : AppendRecords(file, room.RoomStatics1, room.NumStaticMeshes,
                                                      MaxRoomStatics, "the static meshes" + of);
    room.AlternateRoom = in.ReadI16();
    room.RoomFlags = in.ReadU16();
}

// The triggers of the file's floor data (words `from` to the end) name the file's items and
// cameras; appended, they are `items` and `cameras` further on.
void ShiftTriggers(TLevelData& level, uint32_t from, const std::vector<uint32_t>& lists,
                   uint32_t items, uint32_t cameras) {
    std::vector<bool> shifted(level.NumFloorData, false);
    for (uint32_t list : lists) {
        const SectorFloorData data = ReadSectorFloorData(level, list);
        for (const auto& [words, by] :
             {std::pair{&data.ItemWords, items}, std::pair{&data.CameraWords, cameras}}) {
            for (uint32_t at : *words) {
                if (at >= from && at < level.NumFloorData && !shifted[at]) {
                    shifted[at] = true;
                    uint16_t& word = level.FloorData[at];
                    word = static_cast<uint16_t>((word & ~0x03FF) | ((word + by) & 0x03FF));
                }
            }
        }
    }
}

// Runs a side file's reader; every IoError on the way names the file.
template <class Read>
ReadResult NamingTheFile(const char* kind, const std::string& fileName, Read read) {
    try {
        BinaryReader in = BinaryReader::OpenFile(fileName, MaxSideFileBytes);
        SideFileReader file(in, fileName, kind);
        return read(file, in);
    } catch (const IoError& e) {
        throw FileError(kind, fileName, RefusedOutcome, e.what());
    }
}

ReadResult MergeItemsTable(TLevelData& level, SideFileReader& file, BinaryReader& in, bool append) {
    if (!file.Signature(7, "QUILLON")) {
        return ReadResult::Failed(ReadStatus::OtherKind,
                                  std::string(ItemsFileKind) + " " + file.fileName_ +
                                      " is not an items table; it was not merged");
    }
    const bool secondGame = UsesSecondGameRecords(level.FormatKind);
    const uint32_t items = append ? level.NumItems : 0;
    const uint32_t itemCount = append ? in.ReadU32() : 0;
    level.NumItems = append ? file.After(items, itemCount, MaxItems, "the items")
                            : file.Count(in.ReadU32(), MaxItems, "the item count");
    if (secondGame) {
        in.ReadArray(&level.Items2[items], level.NumItems - items);
    } else {
        in.ReadArray(&level.Items1[items], level.NumItems - items);
    }
    const uint16_t base = static_cast<uint16_t>(level.NumFloorData);
    const uint16_t words = in.ReadU16();
    file.Count(uint32_t{base} + words, MaxFloorData, "the floor data with this file's words");
    in.ReadArray(&level.FloorData[base], words);
    level.NumFloorData = uint32_t{base} + words;
    const uint32_t cameras = append ? level.NumCameras : 0;
    level.NumCameras = append ? file.After(cameras, in.ReadU32(), MaxCameras, "the cameras")
                              : file.Count(in.ReadU32(), MaxCameras, "the camera count");
    in.ReadArray(&level.Cameras[cameras], level.NumCameras - cameras);
    const uint16_t rooms = in.ReadU16();
    file.Count(rooms, level.NumRooms, "the room count (rooms of the level)");
    for (int r = 0; r < rooms; ++r) {
        ReadRoomBlock(file, level.Rooms[r], r + 1, secondGame, append);
    }
    std::vector<uint32_t> lists; // the file's sector lists, for its triggers
    while (!in.AtEnd()) {
        const uint16_t roomNumber = in.ReadU16();
        const uint16_t sectorNumber = in.ReadU16();
        const uint16_t offset = in.ReadU16();
        if (roomNumber < 1 || roomNumber > level.NumRooms) {
            file.Refuse("a sector link names room " + std::to_string(roomNumber) +
                        ", the level has rooms 1 to " + std::to_string(level.NumRooms));
        }
        TLevelRoom& room = level.Rooms[roomNumber - 1];
        const int64_t sectors = int64_t{room.NumZSectors} * room.NumXSectors;
        if (sectorNumber < 1 || sectorNumber > sectors) {
            file.Refuse("a sector link names sector " + std::to_string(sectorNumber) + " of room " +
                        std::to_string(roomNumber) + ", which has " + std::to_string(sectors) +
                        " sectors");
        }
        // Counted in 32 bits: a 16-bit sum would wrap round to a word before this file's.
        const uint32_t index = uint32_t{base} + offset;
        if (index >= level.NumFloorData) {
            file.Refuse("a sector link of room " + std::to_string(roomNumber) +
                        " points past the floor data (offset " + std::to_string(offset) + ")");
        }
        room.Sectors[sectorNumber - 1].FloorDataIndex = static_cast<uint16_t>(index);
        lists.push_back(index);
    }
    if (append && (items > 0 || cameras > 0)) {
        ShiftTriggers(level, base, lists, items, cameras);
    }
    return {};
}

ReadResult MergeMeshesFile(TLevelData& level, SideFileReader& file, BinaryReader& in) {
    if (!file.Signature(16, "Quillon MSH file")) {
        return ReadResult::Failed(ReadStatus::OtherKind,
                                  std::string(MeshesFileKind) + " " + file.fileName_ +
                                      " is not a meshes file; it was not merged");
    }
    if ((in.ReadU32() & 0xFF) != static_cast<uint32_t>(level.FormatKind)) {
        return ReadResult::Failed(ReadStatus::OtherLayout,
                                  std::string(MeshesFileKind) + " " + file.fileName_ +
                                      " was made for a level of another layout; it was not "
                                      "merged");
    }
    const bool secondGame = UsesSecondGameRecords(level.FormatKind);
    const uint16_t rooms = in.ReadU16();
    file.Count(rooms, level.NumRooms, "the room count (rooms of the level)");
    for (int r = 0; r < rooms; ++r) {
        TLevelRoom& room = level.Rooms[r];
        const std::string of = " of room " + std::to_string(r + 1);
        room.NumVertices = static_cast<uint16_t>(
            file.Count(in.ReadU16(), MaxRoomVertices, "the vertex count" + of));
        if (secondGame) {
            in.ReadArray(room.Vertices2, room.NumVertices);
        } else {
            in.ReadArray(room.Vertices1, room.NumVertices);
        }
        room.NumRectangles = static_cast<uint16_t>(
            file.Count(in.ReadU16(), MaxRoomRectangles, "the rectangle count" + of));
        in.ReadArray(room.Rectangles, room.NumRectangles);
        room.NumTriangles = static_cast<uint16_t>(
            file.Count(in.ReadU16(), MaxRoomTriangles, "the triangle count" + of));
        in.ReadArray(room.Triangles, room.NumTriangles);
    }
    if (!in.AtEnd()) {
        level.NumZones = file.Count(in.ReadU32(), MaxBoxes, "the zone count");
        const int normalStateArrays[] = {0, 1, 2, 3, 4};
        for (int zone : normalStateArrays) {
            if (!secondGame && (zone == 2 || zone == 3)) {
                continue;
            }
            in.ReadArray(level.Zones[zone], level.NumZones);
        }
        level.NumZones = level.NumBoxes;
    }
    return {};
}

} // namespace

ReadResult ReadItemsTable(TLevelData& level, const std::string& fileName) {
    if (!FileExists(fileName)) {
        return ReadResult::Failed(ReadStatus::Missing,
                                  std::string(ItemsFileKind) + " " + fileName + " not found");
    }
    return NamingTheFile(ItemsFileKind, fileName, [&](SideFileReader& file, BinaryReader& in) {
        return MergeItemsTable(level, file, in, false);
    });
}

ReadResult AppendItemsTable(TLevelData& level, const std::string& fileName) {
    if (!FileExists(fileName)) {
        return ReadResult::Failed(ReadStatus::Missing,
                                  std::string(ItemsFileKind) + " " + fileName + " not found");
    }
    return NamingTheFile(ItemsFileKind, fileName, [&](SideFileReader& file, BinaryReader& in) {
        return MergeItemsTable(level, file, in, true);
    });
}

ReadResult ReadMeshesFile(TLevelData& level, const std::string& fileName) {
    return NamingTheFile(MeshesFileKind, fileName, [&](SideFileReader& file, BinaryReader& in) {
        return MergeMeshesFile(level, file, in);
    });
}

} // namespace morvane
