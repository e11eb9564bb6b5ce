#include "support/real_level_rebuild.h"
#include "support/test_files.h"

#include "import/level_import.h"
#include "level/box_check.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "levelbuild/boxes.h"
#include "levelbuild/build_error.h"
#include "levelbuild/build_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <queue>
#include <random>
#include <set>
#include <vector>

namespace morvane {
namespace {

// One room of 1 x 3 sectors: open, open, closed. The open floors stand `apart` clicks apart.
std::unique_ptr<TLevelData> Strip(int32_t kind, int apart) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = kind;
    level->NumRooms = 1;
    TLevelRoom& room = level->Rooms[0];
    room.RoomInfo = {2048, 4096, 0, -4096};
    room.NumXSectors = 1;
    room.NumZSectors = 3;
    for (TLevelRoom& each : level->Rooms) {
        each.AlternateRoom = -1;
    }
    room.Sectors[0] = {0, 0, NoRoom, 0, NoRoom, -8};
    room.Sectors[1] = {0, 0, NoRoom, static_cast<int8_t>(-apart), NoRoom, -8};
    room.Sectors[2] = {0, 0, NoRoom, -8, NoRoom, -8};
    return level;
}

TEST(GenerateBoxes, NeighbouringFloorsOverlapAtAnyStepAndTheZonesPartThem) {
    auto level = Strip(FormatTR1, 1);
    GenerateBoxes(*level);
    ASSERT_EQ(level->NumBoxes, 2u);
    EXPECT_EQ(level->NumZones, 2u);
    const TBox1& second = level->Boxes1[1];
    EXPECT_EQ(+second.ZMin, 4096 + 1024);
    EXPECT_EQ(+second.ZMax, 4096 + 2048 - 1) << "the last unit inside, as the game's files have it";
    EXPECT_EQ(+second.XMin, 2048);
    EXPECT_EQ(second.TrueFloor, -256) << "the world y of a floor one click above y 0";
    EXPECT_EQ(level->Boxes1[0].TrueFloor, 0);
    EXPECT_EQ(level->Rooms[0].Sectors[1].BoxIndex, 1);
    EXPECT_EQ(level->Rooms[0].Sectors[2].BoxIndex, 0xFFFF);
    // Each list names the other box only, and ends it.
    ASSERT_EQ(level->NumOverlaps, 2u);
    EXPECT_EQ(level->Overlaps[0], 0x8001);
    EXPECT_EQ(level->Overlaps[1], 0x8000);
    EXPECT_EQ(second.OverlapIndex, 1);
    for (int zone : ZoneArraysTR1) {
        EXPECT_EQ(level->Zones[zone][0], 1) << "a click is within every creature's step";
        EXPECT_EQ(level->Zones[zone][1], 1);
    }

    auto apart = Strip(FormatTR1, 2);
    GenerateBoxes(*apart);
    ASSERT_EQ(apart->NumOverlaps, 2u) << "floors 512 apart still overlap";
    EXPECT_EQ(apart->Overlaps[0], 0x8001);
    EXPECT_EQ(apart->Overlaps[1], 0x8000);
    EXPECT_NE(apart->Zones[0][0], apart->Zones[0][1]) << "ground 1 climbs a click only";
    EXPECT_EQ(apart->Zones[1][0], apart->Zones[1][1]) << "ground 2 climbs two";
    EXPECT_EQ(apart->Zones[4][0], apart->Zones[4][1]) << "fliers go anywhere";
}

TEST(GenerateBoxes, ThirdGameBoxIndexesAndTheRoomBelow) {
    auto level = Strip(FormatTR3, 1);
    // Room 2 lies under the strip's first sector, with its floor 3 sectors lower, and room 3
    // under room 2 there, 5 sectors lower.
    level->NumRooms = 3;
    level->Rooms[1].RoomInfo = {2048, 4096, 3072, 0};
    level->Rooms[1].NumXSectors = level->Rooms[1].NumZSectors = 1;
    level->Rooms[1].Sectors[0] = {0, 0, 2, 12, NoRoom, 0};
    level->Rooms[2].RoomInfo = {0, 0, 5120, 0};
    level->Rooms[2].NumXSectors = level->Rooms[2].NumZSectors = 8;
    for (auto& sector : level->Rooms[2].Sectors) {
        sector = {0, 0, NoRoom, 20, NoRoom, 0};
    }
    level->Rooms[0].Sectors[0].RoomBelow = 1;
    level->Rooms[0].Sectors[1].RoomBelow = 7; // a room the level does not have
    GenerateBoxes(*level);
    EXPECT_EQ(level->Rooms[0].Sectors[1].BoxIndex, 16);
    EXPECT_EQ(level->Rooms[0].Sectors[2].BoxIndex, 0xFFF0);
    EXPECT_EQ(level->Boxes1[0].TrueFloor, 20 * 256)
        << "over rooms below, enemies walk on the floor they fall to";
    EXPECT_EQ(level->Boxes1[1].TrueFloor, -256) << "a link to a missing room keeps its own floor";
    ASSERT_EQ(level->NumBoxes, 4u) << "room 3's even floor is one box";
    // The pit overlaps the floor beside it and room 2's box under it, which overlaps room 3's.
    EXPECT_EQ(level->Overlaps[0], 1);
    EXPECT_EQ(level->Overlaps[1], 0x8002);
    EXPECT_EQ(level->Zones[0][0], level->Zones[0][2]);
    EXPECT_EQ(level->Zones[0][2], level->Zones[0][3]);
    EXPECT_NE(level->Zones[3][0], level->Zones[3][1]) << "ground 4 does not climb 21 clicks";
    EXPECT_EQ(level->Zones[4][0], level->Zones[4][1]);
}

TEST(GenerateBoxes, TooManyBoxesStopTheBuild) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = FormatTR2;
    level->NumRooms = 5;
    for (int r = 0; r < 5; ++r) {
        level->Rooms[r].NumXSectors = 32;
        level->Rooms[r].NumZSectors = 32;
        for (int n = 0; n < 32 * 32; ++n) {
            // A chequerboard of two floors: no two neighbours share a box.
            level->Rooms[r].Sectors[n] = {0,      0, NoRoom, static_cast<int8_t>((n / 32 + n) % 2),
                                          NoRoom, -8};
        }
    }
    EXPECT_THROW(GenerateBoxes(*level), BuildError) << "5120 boxes";
}

// ---- An independent model of the boxes, worked out sector by sector. ----

int BoxOfSector(const TLevelData& level, const TGameSector& sector) {
    if (level.FormatKind == FormatTR3) {
        return sector.BoxIndex == NoBoxTR3 ? -1 : sector.BoxIndex >> 4;
    }
    return sector.BoxIndex == NoBox ? -1 : sector.BoxIndex;
}

// The floor an enemy in the sector walks on, down through the rooms below.
int ModelFloor(const TLevelData& level, int r, int n) {
    const TLevelRoom& room = level.Rooms[r];
    const int x = room.RoomInfo.X + (n / room.NumZSectors) * 1024 + 512;
    const int z = room.RoomInfo.Z + (n % room.NumZSectors) * 1024 + 512;
    const TGameSector* sector = &room.Sectors[n];
    for (int hops = 0;
         sector->RoomBelow != NoRoom && sector->RoomBelow < level.NumRooms && hops < level.NumRooms;
         ++hops) {
        const int m = SectorIndexAt(level.Rooms[sector->RoomBelow], x, z);
        if (m < 0) {
            break;
        }
        sector = &level.Rooms[sector->RoomBelow].Sectors[m];
    }
    // A slant lowers it to the floor at the middle, rounded down to a click.
    const uint16_t slant = ReadSectorFloorData(level, sector->FloorDataIndex).FloorSlantWord;
    const double middle = (std::abs(int8_t(slant & 0xFF)) + std::abs(int8_t(slant >> 8))) / 2.0;
    return sector->FloorHeight * 256 + static_cast<int>(std::ceil(middle)) * 256;
}

using Pairs = std::set<std::pair<int, int>>;

// Checks every box structure of a built level against the model; returns the overlapping pairs
// the model expects.
void CheckBoxStructures(const TLevelData& level) {
    const int boxes = static_cast<int>(level.NumBoxes);
    ASSERT_LE(boxes, BoxLimit(level));
    ASSERT_EQ(level.NumZones, level.NumBoxes);
    std::vector<int> sectorsOf(boxes, 0), roomOf(boxes, -1);
    std::map<int, bool> doorwayBox;
    Pairs expected;
    const auto pair = [&](int a, int b) {
        if (a >= 0 && b >= 0 && a != b) {
            expected.insert({std::min(a, b), std::max(a, b)});
        }
    };
    const auto boxAt = [&](int t, int x, int z) {
        const int m = SectorIndexAt(level.Rooms[t], x, z);
        return m < 0 ? -1 : BoxOfSector(level, level.Rooms[t].Sectors[m]);
    };
    // A doorway or a hole leads into the room beyond and, while the flip is on, its alternate.
    const auto boxesAt = [&](int t, int x, int z) {
        const int alternate = level.Rooms[t].AlternateRoom;
        return std::pair{boxAt(t, x, z), alternate >= 0 ? boxAt(alternate, x, z) : -1};
    };
    for (int r = 0; r < level.NumRooms; ++r) {
        const TLevelRoom& room = level.Rooms[r];
        const int nz = room.NumZSectors;
        for (int n = 0; n < room.NumXSectors * nz; ++n) {
            const TGameSector& sector = room.Sectors[n];
            const int b = BoxOfSector(level, sector);
            const int i = n / nz, k = n % nz;
            const int x = room.RoomInfo.X + i * 1024, z = room.RoomInfo.Z + k * 1024;
            const SectorFloorData data = ReadSectorFloorData(level, sector.FloorDataIndex);
            const auto boxOfNeighbour = [&](int di, int dk) {
                const int ii = i + di, kk = k + dk;
                return ii < 0 || kk < 0 || ii >= room.NumXSectors || kk >= nz
                           ? -1
                           : BoxOfSector(level, room.Sectors[ii * nz + kk]);
            };
            if (data.PortalRoom >= 0 && data.PortalRoom < level.NumRooms) {
                const auto [beyond, flipped] = boxesAt(data.PortalRoom, x + 512, z + 512);
                for (const int far : {beyond, flipped}) {
                    pair(b, far);
                    for (auto [di, dk] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                        pair(boxOfNeighbour(di, dk), far);
                    }
                }
            }
            if (sector.FloorHeight == sector.CeilingHeight) {
                EXPECT_EQ(b, -1) << "a closed sector has no box: room " << r << " sector " << n;
                continue;
            }
            ASSERT_GE(b, 0) << "room " << r << " sector " << n;
            ASSERT_LT(b, boxes);
            const TBox1& box = level.Boxes1[b];
            // A creature heads for the edge its box shares with the next: a box beside a
            // doorway holds only sectors beside a doorway, so that edge is the doorway.
            bool besideDoorway = false;
            for (auto [di, dk] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int ii = i + di, kk = k + dk;
                besideDoorway =
                    besideDoorway ||
                    (ii >= 0 && kk >= 0 && ii < room.NumXSectors && kk < nz &&
                     ReadSectorFloorData(level, room.Sectors[ii * nz + kk].FloorDataIndex)
                             .PortalRoom >= 0);
            }
            EXPECT_EQ(doorwayBox.emplace(b, besideDoorway).first->second, besideDoorway)
                << "box " << b << " mixes sectors beside a doorway with others";
            ++sectorsOf[b];
            EXPECT_TRUE(roomOf[b] < 0 || roomOf[b] == r) << "box " << b << " crosses rooms";
            roomOf[b] = r;
            EXPECT_TRUE(box.XMin <= x && x + 1023 <= box.XMax && box.ZMin <= z &&
                        z + 1023 <= box.ZMax)
                << "box " << b << " holds its sector";
            EXPECT_EQ(box.TrueFloor, ModelFloor(level, r, n)) << "box " << b;
            pair(b, boxOfNeighbour(1, 0));
            pair(b, boxOfNeighbour(0, 1));
            if (sector.RoomBelow != NoRoom && sector.RoomBelow < level.NumRooms) {
                const auto [below, flipped] = boxesAt(sector.RoomBelow, x + 512, z + 512);
                pair(b, below);
                pair(b, flipped);
            }
        }
    }
    // Every sector of a box's rectangle is one of its sectors (so they share a floor).
    for (int b = 0; b < boxes; ++b) {
        const TBox1& box = level.Boxes1[b];
        EXPECT_EQ(sectorsOf[b],
                  (box.XMax + 1 - box.XMin) / 1024 * ((box.ZMax + 1 - box.ZMin) / 1024))
            << "box " << b;
    }
    // The lists: symmetric, never the box itself, exactly the touching boxes.
    std::vector<std::set<int>> lists(boxes);
    for (int b = 0; b < boxes; ++b) {
        uint32_t w = level.Boxes1[b].OverlapIndex & OverlapIndexMask;
        for (;; ++w) {
            ASSERT_LT(w, level.NumOverlaps) << "box " << b << " reads past the overlaps";
            const int other = level.Overlaps[w] & OverlapBoxMask;
            ASSERT_LT(other, boxes);
            lists[b].insert(other);
            if (level.Overlaps[w] & OverlapEnd) {
                break;
            }
        }
    }
    std::vector<std::vector<int>> touching(boxes);
    for (auto [a, b] : expected) {
        touching[a].push_back(b);
        touching[b].push_back(a);
    }
    for (int b = 0; b < boxes; ++b) {
        if (touching[b].empty()) {
            EXPECT_EQ(lists[b], std::set<int>{b}) << "a box that touches none names itself only";
            continue;
        }
        EXPECT_EQ(lists[b], std::set<int>(touching[b].begin(), touching[b].end())) << "box " << b;
    }
    // Zones: the connected groups under each rule, by a plain breadth-first search.
    const bool later = level.FormatKind >= FormatTR2;
    const std::vector<std::pair<int, int>> rules =
        later ? std::vector<std::pair<int, int>>{{0, 256},
                                                 {1, 512},
                                                 {2, 768},
                                                 {3, 1024},
                                                 {4, 1 << 30}}
              : std::vector<std::pair<int, int>>{{0, 256}, {1, 512}, {4, 1 << 30}};
    // Which boxes are there in each state: originals without alternates, alternates flipped in.
    std::vector<bool> alternateRoom(level.NumRooms, false), replaced(level.NumRooms, false);
    for (int r = 0; r < level.NumRooms; ++r) {
        if (level.Rooms[r].AlternateRoom >= 0) {
            replaced[r] = true;
            alternateRoom[level.Rooms[r].AlternateRoom] = true;
        }
    }
    for (auto [normalArray, step] : rules) {
        for (const int array : {normalArray, normalArray + 5}) {
            const auto present = [&](int b) {
                return array < 5 ? !alternateRoom[roomOf[b]] : !replaced[roomOf[b]];
            };
            std::vector<int> group(boxes, -1);
            int groups = 0;
            for (int start = 0; start < boxes; ++start) {
                if (group[start] >= 0) {
                    continue;
                }
                std::queue<int> open;
                open.push(start);
                group[start] = groups;
                while (!open.empty()) {
                    const int b = open.front();
                    open.pop();
                    for (int o : touching[b]) {
                        if (group[o] < 0 && present(o) == present(b) &&
                            std::abs(level.Boxes1[o].TrueFloor - level.Boxes1[b].TrueFloor) <=
                                step) {
                            group[o] = groups;
                            open.push(o);
                        }
                    }
                }
                ++groups;
            }
            std::map<int, int> zoneOfGroup, groupOfZone;
            for (int b = 0; b < boxes; ++b) {
                const int zone = level.Zones[array][b];
                EXPECT_GE(zone, 1) << "zone numbers start at 1";
                EXPECT_EQ(zoneOfGroup.emplace(group[b], zone).first->second, zone)
                    << "array " << array << ": box " << b << " is cut off from its group";
                EXPECT_EQ(groupOfZone.emplace(zone, group[b]).first->second, group[b])
                    << "array " << array << ": box " << b << " joins boxes it cannot reach";
            }
        }
    }
}

// Random levels: rows of rooms joined by doorways (some seen from one side only), some with a room
// below under holes, floors stepped by one to four clicks, sloped and closed sectors, water rooms,
// flipped rooms.
std::unique_ptr<TLevelData> RandomLevel(int32_t kind, std::mt19937& rng) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = kind;
    level->NumFloorData = 1;
    level->FloorData[0] = 0;
    const auto chance = [&](int percent) { return static_cast<int>(rng() % 100) < percent; };
    const auto uniform = [&](int lo, int hi) {
        return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1));
    };
    const auto entries = [&](TGameSector& sector, std::vector<std::pair<int, int>> list) {
        if (list.empty()) {
            return;
        }
        sector.FloorDataIndex = static_cast<uint16_t>(level->NumFloorData);
        for (std::size_t e = 0; e < list.size(); ++e) {
            level->FloorData[level->NumFloorData++] =
                static_cast<uint16_t>(list[e].first | (e + 1 == list.size() ? 0x8000 : 0));
            level->FloorData[level->NumFloorData++] = static_cast<uint16_t>(list[e].second);
        }
    };
    const int rows = uniform(1, 2);
    std::vector<std::vector<std::pair<int, int>>> portals; // per room: (sector, room beyond)
    for (int row = 0; row < rows; ++row) {
        const int nz = uniform(4, 8);
        const int count = uniform(2, 4);
        int column = 2;
        const int first = level->NumRooms;
        for (int j = 0; j < count; ++j) {
            const int r = level->NumRooms++;
            portals.emplace_back();
            TLevelRoom& room = level->Rooms[r];
            const int nx = uniform(4, 8);
            room.RoomInfo = {column * 1024, row * 20 * 1024, 0, -4096};
            room.NumXSectors = static_cast<uint16_t>(nx);
            room.NumZSectors = static_cast<uint16_t>(nz);
            room.RoomFlags = chance(30) ? RoomFlagWater : 0;
            room.AlternateRoom = -1;
            const int base = uniform(-6, 6);
            std::vector<int> floor(nx * nz, base);
            for (int patch = uniform(0, 4); patch > 0; --patch) {
                const int i0 = uniform(1, nx - 2), k0 = uniform(1, nz - 2);
                const int i1 = uniform(i0, nx - 2), k1 = uniform(k0, nz - 2);
                const int step = uniform(1, 4) * (chance(50) ? 1 : -1);
                for (int i = i0; i <= i1; ++i) {
                    for (int k = k0; k <= k1; ++k) {
                        floor[i * nz + k] = base + step;
                    }
                }
            }
            for (int i = 0; i < nx; ++i) {
                for (int k = 0; k < nz; ++k) {
                    TGameSector& sector = room.Sectors[i * nz + k];
                    const bool wall = i == 0 || k == 0 || i == nx - 1 || k == nz - 1 || chance(6);
                    const int8_t height = static_cast<int8_t>(floor[i * nz + k]);
                    sector = {0,      0,
                              NoRoom, wall ? int8_t(-127) : height,
                              NoRoom, wall ? int8_t(-127) : static_cast<int8_t>(height - 16)};
                }
            }
            column += nx - 2;
        }
        // Doorways between neighbours of the row: each wall sector faces the other room's
        // first open column.
        for (int r = first; r + 1 < level->NumRooms; ++r) {
            const TLevelRoom& a = level->Rooms[r];
            for (int k = 1; k + 1 < nz; ++k) {
                // Mostly both ways; a portal seen from one side only still joins the boxes.
                const int way = uniform(0, 5);
                if (way <= 3) {
                    portals[r].push_back({(a.NumXSectors - 1) * nz + k, r + 1});
                }
                if (way <= 1 || way == 4) {
                    portals[r + 1].push_back({k, r});
                }
            }
        }
        // A room below some rooms of the row, open under holes.
        for (int r = first; r < first + count; ++r) {
            if (!chance(50)) {
                continue;
            }
            const int c = level->NumRooms++;
            portals.emplace_back();
            TLevelRoom& above = level->Rooms[r];
            TLevelRoom& below = level->Rooms[c];
            below.RoomInfo = above.RoomInfo;
            below.NumXSectors = above.NumXSectors;
            below.NumZSectors = above.NumZSectors;
            below.RoomFlags = chance(50) ? RoomFlagWater : 0;
            below.AlternateRoom = -1;
            const int8_t low = static_cast<int8_t>(uniform(16, 30));
            for (int n = 0; n < below.NumXSectors * nz; ++n) {
                const int i = n / nz, k = n % nz;
                const bool wall = i == 0 || k == 0 || i == below.NumXSectors - 1 || k == nz - 1;
                below.Sectors[n] = {0,      0,
                                    NoRoom, wall ? int8_t(-127) : int8_t(low + k % 2),
                                    NoRoom, wall ? int8_t(-127) : int8_t(10)};
                TGameSector& hole = above.Sectors[n];
                if (!wall && hole.FloorHeight != hole.CeilingHeight && chance(40)) {
                    hole.RoomBelow = static_cast<uint8_t>(c);
                    below.Sectors[n].RoomAbove = static_cast<uint8_t>(r);
                }
            }
        }
    }
    // Flipped rooms: a copy of a room, with its doorways and holes, whose floor is raised or
    // lowered in one patch.
    for (int r = 0, rooms = level->NumRooms; r < rooms; ++r) {
        if (!chance(25)) {
            continue;
        }
        const int a = level->NumRooms++;
        level->Rooms[a] = level->Rooms[r];
        level->Rooms[r].AlternateRoom = static_cast<int16_t>(a);
        portals.push_back(portals[r]);
        TLevelRoom& alternate = level->Rooms[a];
        const int nz = alternate.NumZSectors;
        const int i0 = uniform(1, alternate.NumXSectors - 2), k0 = uniform(1, nz - 2);
        const int step = uniform(1, 4) * (chance(50) ? 1 : -1);
        for (int i = i0; i < alternate.NumXSectors - 1; ++i) {
            for (int k = k0; k < nz - 1; ++k) {
                TGameSector& sector = alternate.Sectors[i * nz + k];
                if (sector.FloorHeight != sector.CeilingHeight) {
                    sector.FloorHeight = static_cast<int8_t>(sector.FloorHeight + step);
                }
            }
        }
    }
    for (int r = 0; r < level->NumRooms; ++r) {
        TLevelRoom& room = level->Rooms[r];
        for (int n = 0; n < room.NumXSectors * room.NumZSectors; ++n) {
            std::vector<std::pair<int, int>> list;
            if (chance(8)) {
                static constexpr int Slants[] = {0x0001, 0x0002, 0x0100, 0xFF00,
                                                 0x00FF, 0x0101, 0x02FF, 0x0300};
                list.push_back({2, Slants[rng() % 8]});
            }
            for (auto [sector, beyond] : portals[r]) {
                if (sector == n) {
                    list.push_back({1, beyond});
                }
            }
            entries(room.Sectors[n], list);
        }
    }
    return level;
}

TEST(GenerateBoxes, RandomLevelsAgreeWithASectorBySectorModel) {
    std::mt19937 rng(23);
    int boxes = 0, sectors = 0, crossing = 0, flipped = 0;
    for (int32_t kind : {FormatTR1, FormatTUB, FormatTR2, FormatTR3}) {
        for (int round = 0; round < 60; ++round) {
            SCOPED_TRACE("layout " + std::to_string(kind) + ", level " + std::to_string(round));
            auto level = RandomLevel(kind, rng);
            GenerateBoxes(*level);
            CheckBoxStructures(*level);
            if (HasFatalFailure()) {
                return;
            }
            for (uint32_t b = 0; b < level->NumBoxes; ++b) {
                flipped += level->Zones[0][b] != level->Zones[5][b];
            }
            PrepareLevelForWrite(*level); // the later layouts' box records
            for (const LevelFinding& finding : CheckBoxStructure(*level)) {
                ADD_FAILURE() << "the level check finds " << FormatFinding(finding);
            }
            boxes += static_cast<int>(level->NumBoxes);
            for (int r = 0; r < level->NumRooms; ++r) {
                for (int n = 0; n < level->Rooms[r].NumXSectors * level->Rooms[r].NumZSectors;
                     ++n) {
                    const TGameSector& s = level->Rooms[r].Sectors[n];
                    sectors += s.FloorHeight != s.CeilingHeight;
                }
            }
            for (uint32_t b = 0; b < level->NumBoxes; ++b) {
                crossing += level->Zones[4][b] != level->Zones[0][b];
            }
        }
    }
    EXPECT_LT(boxes * 3, sectors * 2) << "boxes cover several sectors each, doorways and all";
    EXPECT_GT(crossing, 0) << "the random levels have boxes the fly zone joins and ground 1 parts";
    EXPECT_GT(flipped, 0) << "and boxes whose zones the flip changes";
}

// ---- Where a creature can go: sector by sector, and by the game's search over the boxes. ----

// The ways between open sectors, both directions: neighbours in a room, a doorway's wall sector
// (and the open sectors beside it) to the sector beyond, a hole to the sector below; into a
// room's alternate too, since the flip may be on.
std::map<int, std::vector<int>> SectorWays(const TLevelData& level) {
    std::map<int, std::vector<int>> ways;
    const auto open = [&](int r, int n) {
        const TGameSector& s = level.Rooms[r].Sectors[n];
        return s.FloorHeight != s.CeilingHeight;
    };
    const auto join = [&](int r, int n, int t, int m) {
        if (m >= 0 && open(r, n) && open(t, m)) {
            ways[r * 1024 + n].push_back(t * 1024 + m);
            ways[t * 1024 + m].push_back(r * 1024 + n);
        }
    };
    const auto into = [&](int r, int n, int t, auto then) {
        const TLevelRoom& room = level.Rooms[r];
        const int x = room.RoomInfo.X + (n / room.NumZSectors) * 1024 + 512;
        const int z = room.RoomInfo.Z + (n % room.NumZSectors) * 1024 + 512;
        for (const int target : {t, int{level.Rooms[t].AlternateRoom}}) {
            if (target >= 0) {
                then(target, SectorIndexAt(level.Rooms[target], x, z));
            }
        }
    };
    for (int r = 0; r < level.NumRooms; ++r) {
        const TLevelRoom& room = level.Rooms[r];
        const int nx = room.NumXSectors, nz = room.NumZSectors;
        for (int n = 0; n < nx * nz; ++n) {
            const int i = n / nz, k = n % nz;
            if (i + 1 < nx) {
                join(r, n, r, n + nz);
            }
            if (k + 1 < nz) {
                join(r, n, r, n + 1);
            }
            const int beyond =
                ReadSectorFloorData(level, room.Sectors[n].FloorDataIndex).PortalRoom;
            if (beyond >= 0) {
                into(r, n, beyond, [&](int t, int m) {
                    for (const int side : {n, k > 0 ? n - 1 : -1, k + 1 < nz ? n + 1 : -1,
                                           i > 0 ? n - nz : -1, i + 1 < nx ? n + nz : -1}) {
                        if (side >= 0) {
                            join(r, side, t, m);
                        }
                    }
                });
            }
            if (room.Sectors[n].RoomBelow != NoRoom) {
                into(r, n, room.Sectors[n].RoomBelow, [&](int t, int m) { join(r, n, t, m); });
            }
        }
    }
    return ways;
}

// A creature that climbs up to `climb` and drops up to `drop` between the floors it walks on,
// in the rooms of one state of the flip map.
struct Creature {
    int Climb, Drop;
    bool Flipped;
};

bool InState(const TLevelData& level, int room, bool flipped) {
    for (int r = 0; r < level.NumRooms; ++r) {
        if (level.Rooms[r].AlternateRoom == room && !flipped) {
            return false;
        }
    }
    return !(flipped && level.Rooms[room].AlternateRoom >= 0);
}

bool StepWithin(const Creature& c, int from, int to) {
    return to - from <= c.Drop && from - to <= c.Climb; // y grows downwards
}

std::set<int> WalkSectors(const TLevelData& level, const std::map<int, std::vector<int>>& ways,
                          int start, const Creature& c) {
    std::set<int> seen{start};
    std::queue<int> open;
    open.push(start);
    while (!open.empty()) {
        const int at = open.front();
        open.pop();
        const auto found = ways.find(at);
        for (const int next : found == ways.end() ? std::vector<int>{} : found->second) {
            if (!seen.count(next) && InState(level, next / 1024, c.Flipped) &&
                StepWithin(c, ModelFloor(level, at / 1024, at % 1024),
                           ModelFloor(level, next / 1024, next % 1024))) {
                seen.insert(next);
                open.push(next);
            }
        }
    }
    return seen;
}

// The game's search: from box to box along the overlap lists, within the creature's climb and
// drop, never into a box of another zone than the one it starts in (zone array -1: any zone).
std::set<int> SearchBoxes(const TLevelData& level, const std::vector<int>& roomOf, int start,
                          const Creature& c, int zoneArray) {
    std::set<int> seen{start};
    std::queue<int> open;
    open.push(start);
    while (!open.empty()) {
        const int b = open.front();
        open.pop();
        for (uint32_t w = level.Boxes1[b].OverlapIndex & OverlapIndexMask;; ++w) {
            const int o = level.Overlaps[w] & OverlapBoxMask;
            if (!seen.count(o) && InState(level, roomOf[o], c.Flipped) &&
                (zoneArray < 0 || level.Zones[zoneArray][o] == level.Zones[zoneArray][start]) &&
                StepWithin(c, level.Boxes1[b].TrueFloor, level.Boxes1[o].TrueFloor)) {
                seen.insert(o);
                open.push(o);
            }
            if (level.Overlaps[w] & OverlapEnd) {
                break;
            }
        }
    }
    return seen;
}

// From random sectors of random levels, the search over the boxes reaches the box of every
// sector the creature can walk to and of no other: for a creature of each zone (its climb and
// drop that zone's step, kept to its zone) and for one that climbs a click and drops four
// (any zone), in both states of the flip map.
TEST(GenerateBoxes, TheSearchOverTheBoxesGoesWhereACreatureCanWalk) {
    std::mt19937 rng(7);
    int compared = 0, reachedAcrossRooms = 0;
    for (int32_t kind : {FormatTR1, FormatTR2, FormatTR3}) {
        for (int round = 0; round < 40; ++round) {
            SCOPED_TRACE("layout " + std::to_string(kind) + ", level " + std::to_string(round));
            auto level = RandomLevel(kind, rng);
            GenerateBoxes(*level);
            const auto ways = SectorWays(*level);
            std::vector<int> roomOf(level->NumBoxes, -1);
            std::vector<int> sectors; // open sectors, as room * 1024 + sector
            for (int r = 0; r < level->NumRooms; ++r) {
                for (int n = 0; n < level->Rooms[r].NumXSectors * level->Rooms[r].NumZSectors;
                     ++n) {
                    const int b = BoxOfSector(*level, level->Rooms[r].Sectors[n]);
                    if (b >= 0) {
                        roomOf[b] = r;
                        sectors.push_back(r * 1024 + n);
                    }
                }
            }
            std::vector<std::pair<Creature, int>> creatures = {{{256, 1024, false}, -1},
                                                               {{256, 1024, true}, -1}};
            for (int array = 0; array < ZoneArrayCount; ++array) {
                const int step = ZoneStep(kind, array);
                if (step >= 0) {
                    creatures.push_back({{step, step, array >= 5}, array});
                }
            }
            for (int trial = 0; trial < 4; ++trial) {
                const int start = sectors[rng() % sectors.size()];
                const int startBox =
                    BoxOfSector(*level, level->Rooms[start / 1024].Sectors[start % 1024]);
                for (const auto& [creature, array] : creatures) {
                    if (!InState(*level, start / 1024, creature.Flipped)) {
                        continue;
                    }
                    const std::set<int> walked = WalkSectors(*level, ways, start, creature);
                    const std::set<int> searched =
                        SearchBoxes(*level, roomOf, startBox, creature, array);
                    for (const int t : sectors) {
                        if (!InState(*level, t / 1024, creature.Flipped)) {
                            continue;
                        }
                        const int box =
                            BoxOfSector(*level, level->Rooms[t / 1024].Sectors[t % 1024]);
                        ASSERT_EQ(walked.count(t) == 1, searched.count(box) == 1)
                            << "from room " << start / 1024 << " sector " << start % 1024
                            << " to room " << t / 1024 << " sector " << t % 1024 << ", climb "
                            << creature.Climb << ", drop " << creature.Drop
                            << (creature.Flipped ? ", flipped" : "") << ", zone array " << array;
                        ++compared;
                        reachedAcrossRooms += walked.count(t) && t / 1024 != start / 1024;
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 10000);
    EXPECT_GT(reachedAcrossRooms, compared / 20) << "the ways lead across rooms";
}

// Real levels imported and built again give boxes, lists and zones that agree with the model and
// pass the level check.
TEST(GenerateBoxes, RealLevelsImportedAndBuiltAgainAgreeWithTheModel) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    test::TempDir out;
    test::RealLevelRebuild run;
    run.ReadBack = false; // the build's own box records, in world units in every layout
    const auto& rebuilt = run.Rebuilt;
    for (const char* file :
         {"tr1-demo-level2.tub", "tr1-opentomb-altroom1.phd", "tr2-hiltop.tr2"}) {
        SCOPED_TRACE(file);
        ASSERT_NO_FATAL_FAILURE(run.Run(dir, file, out));
        CheckBoxStructures(*rebuilt);
        for (const LevelFinding& finding : CheckBoxStructure(*rebuilt)) {
            ADD_FAILURE() << "the level check finds " << FormatFinding(finding);
        }
        int sectors = 0;
        for (int r = 0; r < rebuilt->NumRooms; ++r) {
            for (int n = 0; n < rebuilt->Rooms[r].NumXSectors * rebuilt->Rooms[r].NumZSectors;
                 ++n) {
                sectors += BoxOfSector(*rebuilt, rebuilt->Rooms[r].Sectors[n]) >= 0;
            }
        }
        std::printf("%s: %u boxes for %d box sectors, %u overlap words, %d ground-1 zones.\n", file,
                    rebuilt->NumBoxes, sectors, rebuilt->NumOverlaps,
                    *std::max_element(rebuilt->Zones[0], rebuilt->Zones[0] + rebuilt->NumBoxes));
    }
}

} // namespace
} // namespace morvane
