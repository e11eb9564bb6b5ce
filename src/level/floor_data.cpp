#include "level/floor_data.h"

#include "level/level_format.h"
#include "level/world_units.h"

namespace morvane {

namespace {

constexpr uint16_t FloorDataClimb = 6;     // second game on
constexpr uint16_t FirstTriangulation = 7; // third game: 7 .. 18 carry one word
constexpr uint16_t LastTriangulation = 18;
constexpr uint16_t LastThirdGameFunction = 21; // monkey swing and mine-cart turns: no word

constexpr int TriggerSwitch = 2;
constexpr int TriggerKey = 3;
constexpr int TriggerPickup = 4;

constexpr int ActionObject = 0;
constexpr int ActionCamera = 1;
constexpr int ActionCurrent = 2; // underwater current: a camera's position
constexpr int ActionFlipMap = 3; // toggled, then on (4) and off (5)
constexpr int ActionFlipOff = 5;
constexpr int ActionLookAtItem = 6;

// Reads words of one entry list, noting the first read past the data.
class ListReader {
public:
    ListReader(const TLevelData& level, uint32_t index) : level_(level), at_(index) {}
    bool Next(uint16_t& word) {
        if (at_ >= level_.NumFloorData || at_ >= MaxFloorData) {
            return false;
        }
        word = level_.FloorData[at_++];
        return true;
    }
    uint32_t At() const { return at_; }

private:
    const TLevelData& level_;
    uint32_t at_;
};

std::string RunsOff(uint32_t start, const char* what) {
    return "the floor-data list at word " + std::to_string(start) + " runs off the end of the " +
           "floor data " + what;
}

bool ReadTrigger(ListReader& in, uint16_t head, uint32_t start, SectorFloorData& out) {
    uint16_t word = 0;
    if (!in.Next(word)) { // setup
        out.Problem = RunsOff(start, "in a trigger's setup");
        return false;
    }
    const int type = (head >> 8) & 0x7F;
    out.TriggerTypes.push_back(type);
    if (type == TriggerSwitch || type == TriggerKey || type == TriggerPickup) {
        if (!in.Next(word)) {
            out.Problem = RunsOff(start, "in a trigger's item word");
            return false;
        }
        out.TriggeredItems.push_back(word & 0x03FF);
        out.ItemWords.push_back(in.At() - 1);
        out.TiedItemWords.push_back(word);
    }
    for (bool last = false; !last;) {
        if (!in.Next(word)) {
            out.Problem = RunsOff(start, "in a trigger's action list");
            return false;
        }
        const int action = (word >> 10) & 0x1F;
        const int parameter = word & 0x03FF;
        if (action == ActionObject || action == ActionLookAtItem) {
            out.TriggeredItems.push_back(parameter);
            out.ItemWords.push_back(in.At() - 1);
        } else if (action == ActionCamera || action == ActionCurrent) {
            out.TriggeredCameras.push_back(parameter);
            out.CameraWords.push_back(in.At() - 1);
        } else if (action >= ActionFlipMap && action <= ActionFlipOff) {
            out.FlipMaps.push_back(parameter);
        }
        if (action == ActionCamera && !in.Next(word)) {
            out.Problem = RunsOff(start, "in a camera action");
            return false;
        }
        last = (word & FloorDataEnd) != 0;
    }
    return true;
}

// How many words follow an entry's first word, for functions other than the trigger; -1 for a
// function the game does not know.
int FollowingWords(int32_t kind, int function) {
    switch (function) {
    case FloorDataPortal:
    case FloorDataFloorSlant:
    case FloorDataCeilingSlant:
        return 1;
    case FloorDataKill:
        return 0;
    case FloorDataClimb:
        return kind >= FormatTR2 ? 0 : -1;
    default:
        if (kind == FormatTR3 && function >= FirstTriangulation && function <= LastTriangulation) {
            return 1;
        }
        if (kind == FormatTR3 && function > LastTriangulation &&
            function <= LastThirdGameFunction) {
            return 0;
        }
        return -1;
    }
}

} // namespace

SectorFloorData ReadSectorFloorData(const TLevelData& level, uint32_t index) {
    SectorFloorData out;
    if (index == 0) {
        return out;
    }
    if (index >= level.NumFloorData) {
        out.Problem = "its floor-data index " + std::to_string(index) + " lies beyond the " +
                      std::to_string(level.NumFloorData) + " floor-data words";
        return out;
    }
    ListReader in(level, index);
    // The game looks for a wall portal only first in the list or after a floor slant and a
    // ceiling slant, in this order.
    enum { Start, AfterFloorSlant, AfterCeilingSlant, PortalHidden } place = Start;
    for (;;) {
        uint16_t head = 0;
        if (!in.Next(head)) {
            out.Problem = RunsOff(index, "before an entry with the end mark");
            return out;
        }
        const int function = level.FormatKind == FormatTR3 ? head & 0x1F : head & 0xFF;
        if (function == FloorDataTrigger) {
            ++out.OtherEntries;
            ++out.TriggerEntries;
            if (!ReadTrigger(in, head, index, out)) {
                return out;
            }
            place = PortalHidden;
        } else {
            const int words = FollowingWords(level.FormatKind, function);
            if (words < 0) {
                out.Problem = "the floor-data list at word " + std::to_string(index) +
                              " holds function " + std::to_string(function) + ", which " +
                              FormatKindName(level.FormatKind) + " levels do not know";
                return out;
            }
            uint16_t value = 0;
            if (words == 1 && !in.Next(value)) {
                out.Problem = RunsOff(index, "in an entry's data word");
                return out;
            }
            if (function == FloorDataPortal && place == PortalHidden) {
                out.HiddenPortal = true;
            } else if (function == FloorDataPortal && out.PortalRoom < 0) {
                out.PortalRoom = value;
            }
            if (function != FloorDataPortal && function != FloorDataFloorSlant &&
                function != FloorDataCeilingSlant) {
                ++out.OtherEntries;
            }
            if (function == FloorDataKill) {
                ++out.KillEntries;
            }
            if (function == FloorDataFloorSlant) {
                out.HasFloorSlant = true;
                out.FloorSlantWord = value;
                out.FloorSlantX = static_cast<int8_t>(value & 0xFF);
                out.FloorSlantZ = static_cast<int8_t>(value >> 8);
            }
            if (function == FloorDataCeilingSlant) {
                out.HasCeilingSlant = true;
                out.CeilingSlantWord = value;
            }
            if (function == FloorDataFloorSlant && place == Start) {
                place = AfterFloorSlant;
            } else if (function == FloorDataCeilingSlant && place != PortalHidden &&
                       place != AfterCeilingSlant) {
                place = AfterCeilingSlant;
            } else {
                place = PortalHidden;
            }
        }
        if (head & FloorDataEnd) {
            return out;
        }
    }
}

bool IsSolidSector(const TLevelData& level, const TGameSector& sector) {
    if (sector.FloorHeight > sector.CeilingHeight || sector.RoomBelow != NoRoom ||
        sector.RoomAbove != NoRoom) {
        return false;
    }
    const SectorFloorData data = ReadSectorFloorData(level, sector.FloorDataIndex);
    return !data.HasFloorSlant && !data.HasCeilingSlant;
}

int SectorIndexAt(const TLevelRoom& room, int64_t x, int64_t z) {
    // In 64 bits: a point and a room corner from a level file may lie anywhere in 32 bits.
    const int64_t dx = x - room.RoomInfo.X, dz = z - room.RoomInfo.Z;
    if (dx < 0 || dz < 0) {
        return -1;
    }
    const int64_t column = dx / SectorSize, row = dz / SectorSize;
    if (column >= room.NumXSectors || row >= room.NumZSectors ||
        column * room.NumZSectors + row >= MaxRoomSectors) {
        return -1;
    }
    return static_cast<int>(column * room.NumZSectors + row);
}

FloorUnder FindFloorUnder(const TLevelData& level, int room, int x, int z) {
    FloorUnder found;
    if (room < 0 || room >= level.NumRooms || room >= MaxLevelRooms) {
        found.Problem = "room " + std::to_string(room + 1) + " does not exist";
        return found;
    }
    // Every hop moves to another room; more hops than rooms means the links go round in a circle.
    int hops = 0;
    int sector = SectorIndexAt(level.Rooms[room], x, z);
    if (sector < 0) {
        found.Problem = "the point lies outside room " + std::to_string(room + 1);
        return found;
    }
    for (;;) {
        const SectorFloorData data =
            ReadSectorFloorData(level, level.Rooms[room].Sectors[sector].FloorDataIndex);
        if (data.PortalRoom < 0) {
            break;
        }
        if (data.PortalRoom >= level.NumRooms || data.PortalRoom >= MaxLevelRooms ||
            ++hops > level.NumRooms) {
            found.Problem = "the wall portals from room " + std::to_string(room + 1) +
                            (data.PortalRoom >= level.NumRooms ? " lead to a missing room"
                                                               : " lead round in a circle");
            return found;
        }
        room = data.PortalRoom;
        sector = SectorIndexAt(level.Rooms[room], x, z);
        if (sector < 0) {
            found.Problem = "a wall portal leads outside room " + std::to_string(room + 1);
            return found;
        }
    }
    while (level.Rooms[room].Sectors[sector].RoomBelow != NoRoom) {
        const int below = level.Rooms[room].Sectors[sector].RoomBelow;
        if (below >= level.NumRooms || below >= MaxLevelRooms || ++hops > level.NumRooms) {
            found.Problem = "the rooms below room " + std::to_string(room + 1) +
                            (below >= level.NumRooms ? " are missing" : " go round in a circle");
            return found;
        }
        room = below;
        sector = SectorIndexAt(level.Rooms[room], x, z);
        if (sector < 0) {
            found.Problem =
                "the point lies outside room " + std::to_string(room + 1) + ", the room below";
            return found;
        }
    }
    const TGameSector& floor = level.Rooms[room].Sectors[sector];
    found.Room = room;
    found.Sector = sector;
    found.Wall = IsSolidSector(level, floor);
    found.FloorY = floor.FloorHeight * ClickSize;
    const SectorFloorData data = ReadSectorFloorData(level, floor.FloorDataIndex);
    if (data.HasFloorSlant) {
        // A slant of s clicks lowers the floor by up to s clicks across the sector: toward -x
        // for a positive X slant (the floor rises toward +x), toward +x for a negative one.
        const int fx =
            static_cast<int>((int64_t{x} - level.Rooms[room].RoomInfo.X) & (SectorSize - 1));
        const int fz =
            static_cast<int>((int64_t{z} - level.Rooms[room].RoomInfo.Z) & (SectorSize - 1));
        found.FloorY += data.FloorSlantX < 0 ? -(data.FloorSlantX * fx) >> 2
                                             : (data.FloorSlantX * (SectorSize - 1 - fx)) >> 2;
        found.FloorY += data.FloorSlantZ < 0 ? -(data.FloorSlantZ * fz) >> 2
                                             : (data.FloorSlantZ * (SectorSize - 1 - fz)) >> 2;
    }
    return found;
}

} // namespace morvane
