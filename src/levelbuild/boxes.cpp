#include "levelbuild/boxes.h"

#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/world_units.h"
#include "levelbuild/build_error.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

namespace morvane {

namespace {

// A sector's key: its true floor (bits 32-47), the third game's floor triangle (bits 0-31), and
// whether it lies beside a doorway. Sectors of one box share their key.
constexpr uint64_t Closed = ~uint64_t{0};
constexpr uint64_t DoorwaySide = uint64_t{1} << 48;

bool HasBox(const TGameSector& sector) {
    return sector.FloorHeight != sector.CeilingHeight;
}

// What the boxes need of a sector's floor data: the room beside (a doorway) and the floor's
// slope as stored, read up to the first entry that is neither (triggers come last).
struct SectorLinks {
    int PortalRoom = -1;
    uint32_t Slope = 0;
    bool Triangle = false; // the third game's floor triangle, its corners in Slope
};

SectorLinks ReadLinks(const TLevelData& level, uint32_t index, bool thirdGame) {
    SectorLinks links;
    while (index != 0 && index + 1 < level.NumFloorData && index + 1 < MaxFloorData) {
        const uint16_t first = level.FloorData[index];
        const uint16_t data = level.FloorData[index + 1];
        const int function = first & (thirdGame ? 0x1F : 0xFF);
        // The third game's floor triangles (7, 8, 11-14) carry their corners in the first word.
        const bool floorTriangle =
            thirdGame && (function == 7 || function == 8 || (function >= 11 && function <= 14));
        const bool ceilingTriangle =
            thirdGame && (function == 9 || function == 10 || (function >= 15 && function <= 18));
        if (function == FloorDataPortal) {
            links.PortalRoom = data < level.NumRooms ? data : -1;
        } else if (function == FloorDataFloorSlant) {
            links.Slope = data;
        } else if (floorTriangle) {
            links.Slope = (uint32_t{static_cast<uint16_t>(first & 0x7FFF)} << 16) | data;
            links.Triangle = true;
        } else if (function != FloorDataCeilingSlant && !ceilingTriangle) {
            break;
        }
        index += 2;
        if (first & FloorDataEnd) {
            break;
        }
    }
    return links;
}

// How far a slant lowers the floor enemies walk on below the sector's floor height (its highest
// point): the floor at the sector's middle, rounded down to a whole click, as the game's own
// levels have it (a slant of 1 and 2 clicks across gives 1 click, of 2 and 1 gives 2).
int SlantDrop(const SectorLinks& links) {
    if (links.Triangle || links.Slope == 0) {
        return 0;
    }
    const int x = std::abs(static_cast<int8_t>(links.Slope & 0xFF));
    const int z = std::abs(static_cast<int8_t>((links.Slope >> 8) & 0xFF));
    return (x + z + 1) / 2 * ClickSize;
}

// The world y an enemy in the sector walks on: the sector's floor or, over a room below, the
// floor it falls to (at the sector's middle, down through the rooms below), lowered by a slant.
int16_t TrueFloor(const TLevelData& level, const TLevelRoom& room, int n, const SectorLinks& own,
                  bool thirdGame) {
    const int x = room.RoomInfo.X + (n / room.NumZSectors) * SectorSize + SectorSize / 2;
    const int z = room.RoomInfo.Z + (n % room.NumZSectors) * SectorSize + SectorSize / 2;
    const TGameSector* sector = &room.Sectors[n];
    bool fell = false;
    for (int hops = 0; sector->RoomBelow != NoRoom && hops < level.NumRooms; ++hops) {
        if (sector->RoomBelow >= level.NumRooms) {
            break;
        }
        const TLevelRoom& below = level.Rooms[sector->RoomBelow];
        const int m = SectorIndexAt(below, x, z);
        if (m < 0) {
            break;
        }
        sector = &below.Sectors[m];
        fell = true;
    }
    const SectorLinks landing = fell ? ReadLinks(level, sector->FloorDataIndex, thirdGame) : own;
    return static_cast<int16_t>(sector->FloorHeight * ClickSize + SlantDrop(landing));
}

[[noreturn]] void TooManyBoxes(int limit, int room) {
    throw CapacityError(LevelCapacity::Boxes,
                        "The level needs more than " + std::to_string(limit) + " boxes (room " +
                            std::to_string(room + 1) +
                            " reaches the limit); the level was not written.");
}

} // namespace

void GenerateBoxes(TLevelData& level) {
    const bool thirdGame = level.FormatKind == FormatTR3;
    const int boxLimit = BoxLimit(level);
    level.NumBoxes = 0;
    level.NumOverlaps = 0;
    level.NumZones = 0;

    // Rooms are mostly solid: one pass goes over every sector, the others over the open
    // sectors, the box edges and the sectors linked to other rooms only. A sector's box is read
    // back from its box index (-1 for none), so a doorway or a hole finds the box beyond.
    const int32_t kind = level.FormatKind;
    const auto boxOf = [kind](const TGameSector& sector) { return SectorBox(kind, sector); };
    struct Link {
        int Room, Sector, Beyond;
        bool Doorway;
    };
    std::vector<Link> links;
    std::vector<uint64_t> key;
    std::vector<int> open;
    std::vector<uint32_t> pairs; // overlapping pairs, smaller box first, as one number each
    const auto pair = [&pairs](int a, int b) {
        if (a >= 0 && b >= 0 && a != b) {
            pairs.push_back(OverlapPair(a, b));
        }
    };
    const uint16_t noBox = thirdGame ? NoBoxTR3 : NoBox;
    int nextBox = 0;
    std::vector<int> roomOfBox;
    for (int r = 0; r < level.NumRooms; ++r) {
        TLevelRoom& room = level.Rooms[r];
        const int nz = room.NumZSectors, nx = room.NumXSectors;
        const auto box = [&room, &boxOf](int n) { return boxOf(room.Sectors[n]); };
        key.resize(static_cast<std::size_t>(nz) * nx);
        const std::size_t firstLink = links.size();
        open.clear();
        for (int n = 0; n < nx * nz; ++n) {
            TGameSector& sector = room.Sectors[n];
            sector.BoxIndex = noBox;
            SectorLinks read;
            if (sector.FloorDataIndex != 0) {
                read = ReadLinks(level, sector.FloorDataIndex, thirdGame);
                if (read.PortalRoom >= 0) {
                    links.push_back({r, n, read.PortalRoom, true});
                }
            }
            if (!HasBox(sector)) {
                key[n] = Closed;
                continue;
            }
            if (sector.RoomBelow != NoRoom && sector.RoomBelow < level.NumRooms) {
                links.push_back({r, n, sector.RoomBelow, false});
            }
            // A slanted floor joins the floors at its middle's height; a triangle only its own.
            key[n] = (uint64_t{static_cast<uint16_t>(TrueFloor(level, room, n, read, thirdGame))}
                      << 32) |
                     (read.Triangle ? read.Slope : 0);
            open.push_back(n);
        }
        // The open sectors beside a doorway's wall sector only join each other: a creature
        // crossing heads for the part of its box's edge that touches the box beyond, and that
        // part must be the doorway, not the wall beside it.
        for (std::size_t l = firstLink; l < links.size(); ++l) {
            if (!links[l].Doorway) {
                continue;
            }
            const int n = links[l].Sector, i = n / nz, k = n % nz;
            for (const int side : {k > 0 ? n - 1 : -1, k + 1 < nz ? n + 1 : -1, i > 0 ? n - nz : -1,
                                   i + 1 < nx ? n + nz : -1}) {
                if (side >= 0 && key[side] != Closed) {
                    key[side] |= DoorwaySide;
                }
            }
        }
        // The greedy cover: a strip along z from the first free sector, widened along x while
        // the whole next strip fits.
        const int firstBox = nextBox;
        for (const int n : open) {
            if (box(n) >= 0) {
                continue;
            }
            const int i = n / nz, k = n % nz;
            const uint64_t own = key[n];
            int k1 = k + 1;
            while (k1 < nz && key[i * nz + k1] == own && box(i * nz + k1) < 0) {
                ++k1;
            }
            int i1 = i + 1;
            for (; i1 < nx; ++i1) {
                bool fits = true;
                for (int kk = k; kk < k1 && fits; ++kk) {
                    fits = key[i1 * nz + kk] == own && box(i1 * nz + kk) < 0;
                }
                if (!fits) {
                    break;
                }
            }
            if (nextBox >= boxLimit) {
                TooManyBoxes(boxLimit, r);
            }
            const int b = nextBox++;
            roomOfBox.push_back(r);
            const auto index = static_cast<uint16_t>(thirdGame ? b * 16 : b);
            for (int ii = i; ii < i1; ++ii) {
                for (int kk = k; kk < k1; ++kk) {
                    room.Sectors[ii * nz + kk].BoxIndex = index;
                }
            }
            TBox1& record = level.Boxes1[b];
            record.ZMin = room.RoomInfo.Z + k * SectorSize;
            record.ZMax = room.RoomInfo.Z + k1 * SectorSize - 1; // the last unit inside
            record.XMin = room.RoomInfo.X + i * SectorSize;
            record.XMax = room.RoomInfo.X + i1 * SectorSize - 1;
            record.TrueFloor = static_cast<int16_t>(static_cast<uint16_t>(own >> 32));
            record.OverlapIndex = 0;
        }
        // Inside the room, each touching pair shares the far edge (+x or +z) of one of them.
        for (int b = firstBox; b < nextBox; ++b) {
            const TBox1& record = level.Boxes1[b];
            const int i0 = (record.XMin - room.RoomInfo.X) / SectorSize;
            const int i1 = (record.XMax + 1 - room.RoomInfo.X) / SectorSize;
            const int k0 = (record.ZMin - room.RoomInfo.Z) / SectorSize;
            const int k1 = (record.ZMax + 1 - room.RoomInfo.Z) / SectorSize;
            if (i1 < nx) {
                for (int k = k0; k < k1; ++k) {
                    pair(b, box(i1 * nz + k));
                }
            }
            if (k1 < nz) {
                for (int i = i0; i < i1; ++i) {
                    pair(b, box(i * nz + k1));
                }
            }
        }
    }
    level.NumBoxes = static_cast<uint32_t>(nextBox);
    level.NumZones = level.NumBoxes;

    // Across rooms: a sector over a hole and the sector under it; a doorway's wall sector's
    // neighbours in the room (and the wall sector itself, were it open) and the room beyond's
    // sector in its place.
    for (const Link& link : links) {
        const TLevelRoom& room = level.Rooms[link.Room];
        const int nz = room.NumZSectors, nx = room.NumXSectors;
        const int i = link.Sector / nz, k = link.Sector % nz;
        const int n = link.Sector;
        const auto box = [&room, &boxOf](int at) { return boxOf(room.Sectors[at]); };
        // While the flip is on, the link leads into the alternate in the room's place.
        const int alternate = level.Rooms[link.Beyond].AlternateRoom;
        for (const int target : {link.Beyond, alternate}) {
            if (target < 0 || target >= level.NumRooms ||
                (target == alternate && target == link.Room)) {
                continue;
            }
            const int m = SectorIndexAt(level.Rooms[target], room.RoomInfo.X + i * SectorSize + 512,
                                        room.RoomInfo.Z + k * SectorSize + 512);
            if (m < 0) {
                continue;
            }
            const int beyond = boxOf(level.Rooms[target].Sectors[m]);
            pair(box(n), beyond);
            if (link.Doorway) {
                for (const int side : {k > 0 ? n - 1 : -1, k + 1 < nz ? n + 1 : -1,
                                       i > 0 ? n - nz : -1, i + 1 < nx ? n + nz : -1}) {
                    if (side >= 0) {
                        pair(box(side), beyond);
                    }
                }
            }
        }
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());

    // The lists, box by box. The game reads at least one word of every list: a box that
    // touches none gets a list of one word naming itself, which leads nowhere.
    std::vector<int> start(static_cast<std::size_t>(nextBox) + 1, 0);
    for (uint32_t p : pairs) {
        ++start[(p >> 16) + 1];
        ++start[(p & 0xFFFF) + 1];
    }
    for (int b = 0; b < nextBox; ++b) {
        start[b + 1] = std::max(start[b + 1], 1);
    }
    std::partial_sum(start.begin(), start.end(), start.begin());
    const auto words = static_cast<std::size_t>(start[nextBox]);
    if (words > MaxOverlaps) {
        throw CapacityError(LevelCapacity::OverlapWords,
                            "The level needs more than " + std::to_string(MaxOverlaps) +
                                " overlap words; the level was not written.");
    }
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (uint32_t p : pairs) {
        const int a = static_cast<int>(p >> 16), b = static_cast<int>(p & 0xFFFF);
        level.Overlaps[fill[a]++] = static_cast<uint16_t>(b);
        level.Overlaps[fill[b]++] = static_cast<uint16_t>(a);
    }
    for (int b = 0; b < nextBox; ++b) {
        if (fill[b] == start[b]) {
            level.Overlaps[start[b]] = static_cast<uint16_t>(b);
        }
        level.Overlaps[start[b + 1] - 1] |= OverlapEnd;
        level.Boxes1[b].OverlapIndex = static_cast<uint16_t>(start[b]);
    }
    level.NumOverlaps = static_cast<uint32_t>(words);

    // Zones: the groups of boxes joined by overlaps whose step that zone's creatures take, in
    // the rooms of each state of the flip map.
    const FlipStates states = RoomFlipStates(level);
    std::vector<int16_t> floors(static_cast<std::size_t>(nextBox));
    std::vector<bool> inNormal(floors.size()), inFlipped(floors.size());
    for (int b = 0; b < nextBox; ++b) {
        floors[b] = level.Boxes1[b].TrueFloor;
        inNormal[b] = states.InNormal[roomOfBox[b]];
        inFlipped[b] = states.InFlipped[roomOfBox[b]];
    }
    for (int z = 0; z < 5; ++z) {
        const int step = ZoneStep(level.FormatKind, z);
        if (step < 0) {
            continue;
        }
        NumberZones(pairs, floors, inNormal, step, level.Zones[z]);
        if (states.AnyAlternate) {
            NumberZones(pairs, floors, inFlipped, step, level.Zones[z + 5]);
        } else {
            std::copy(level.Zones[z], level.Zones[z] + nextBox, level.Zones[z + 5]);
        }
    }
}

} // namespace morvane
