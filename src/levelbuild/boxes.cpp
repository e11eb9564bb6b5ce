#include "levelbuild/boxes.h"

#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/world_units.h"
#include "levelbuild/build_error.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace morvane {

namespace {

constexpr int MaxBoxesTR3 = NoBoxTR3 / 16; // the third game keeps the number above 4 material bits
constexpr int OverlapSteps = ClickSize;    // one click

bool HasBox(const TGameSector& sector) {
    return sector.FloorHeight != sector.CeilingHeight;
}

// The world y an enemy in the sector walks on: the sector's floor or, over a room below, the
// floor it falls to (at the sector's middle, down through the rooms below).
int16_t TrueFloor(const TLevelData& level, const TLevelRoom& room, int i, int k) {
    const int x = room.RoomInfo.X + (i - 1) * SectorSize + SectorSize / 2;
    const int z = room.RoomInfo.Z + (k - 1) * SectorSize + SectorSize / 2;
    const TGameSector* sector = &room.Sectors[(i - 1) * room.NumZSectors + (k - 1)];
    for (int hops = 0; sector->RoomBelow != NoRoom && hops < level.NumRooms; ++hops) {
        if (sector->RoomBelow >= level.NumRooms) {
            break;
        }
        const TLevelRoom& below = level.Rooms[sector->RoomBelow];
        const int n = SectorIndexAt(below, x, z);
        if (n < 0) {
            break;
        }
        sector = &below.Sectors[n];
    }
    return static_cast<int16_t>(sector->FloorHeight * ClickSize);
}

} // namespace

int BoxLimit(const TLevelData& level) {
    return level.FormatKind == FormatTR3 ? MaxBoxesTR3 : MaxBoxes;
}

void GenerateBoxes(TLevelData& level) {
    const bool thirdGame = level.FormatKind == FormatTR3;
    const int boxLimit = BoxLimit(level);
    level.NumBoxes = 0;
    level.NumOverlaps = 0;
    level.NumZones = 0;
    int nextBox = 0;
    std::vector<int> boxOf;
    for (int r = 0; r < level.NumRooms; ++r) {
        TLevelRoom& room = level.Rooms[r];
        const int nz = room.NumZSectors, nx = room.NumXSectors;
        boxOf.assign(static_cast<std::size_t>(nz) * nx, -1);
        // First pass: number the boxes and lay them out.
        for (int i = 1; i <= nx; ++i) {
            for (int k = 1; k <= nz; ++k) {
                const TGameSector& sector = room.Sectors[(i - 1) * nz + (k - 1)];
                if (!HasBox(sector)) {
                    continue;
                }
                if (nextBox >= boxLimit) {
                    throw CapacityError(LevelCapacity::Boxes,
                                        "The level needs more than " + std::to_string(boxLimit) +
                                            " boxes (room " + std::to_string(r + 1) +
                                            " reaches the limit); the level was not written.");
                }
                boxOf[(i - 1) * nz + (k - 1)] = nextBox;
                TBox1& box = level.Boxes1[nextBox++];
                box.ZMin = room.RoomInfo.Z + (k - 1) * SectorSize;
                box.ZMax = box.ZMin + SectorSize;
                box.XMin = room.RoomInfo.X + (i - 1) * SectorSize;
                box.XMax = box.XMin + SectorSize;
                box.TrueFloor = TrueFloor(level, room, i, k);
            }
        }
        // Second pass: box indexes, overlap lists and zones.
        for (int i = 1; i <= nx; ++i) {
            for (int k = 1; k <= nz; ++k) {
                TGameSector& sector = room.Sectors[(i - 1) * nz + (k - 1)];
                const int b = boxOf[(i - 1) * nz + (k - 1)];
                if (b < 0) {
                    sector.BoxIndex = thirdGame ? NoBoxTR3 : NoBox;
                    continue;
                }
                sector.BoxIndex = static_cast<uint16_t>(thirdGame ? b * 16 : b);
                TBox1& box = level.Boxes1[b];
                box.OverlapIndex = static_cast<uint16_t>(level.NumOverlaps);
                int list[5] = {b};
                int length = 1;
                const int neighbours[4][2] = {{i, k + 1}, {i, k - 1}, {i + 1, k}, {i - 1, k}};
                for (const auto& n : neighbours) {
                    if (n[0] < 1 || n[0] > nx || n[1] < 1 || n[1] > nz) {
                        continue;
                    }
                    const int other = boxOf[(n[0] - 1) * nz + (n[1] - 1)];
                    if (other >= 0 &&
                        std::abs(level.Boxes1[other].TrueFloor - box.TrueFloor) <= OverlapSteps) {
                        list[length++] = other;
                    }
                }
                if (level.NumOverlaps + length > MaxOverlaps) {
                    throw CapacityError(LevelCapacity::OverlapWords,
                                        "The level needs more than " + std::to_string(MaxOverlaps) +
                                            " overlap words (room " + std::to_string(r + 1) +
                                            " reaches the limit); the level was not written.");
                }
                for (int w = 0; w < length; ++w) {
                    level.Overlaps[level.NumOverlaps++] =
                        static_cast<uint16_t>(list[w] | (w == length - 1 ? 0x8000 : 0));
                }
                for (int zone : ZoneArraysTR1) {
                    level.Zones[zone][level.NumZones] = 0;
                }
                ++level.NumZones;
            }
        }
        level.NumBoxes = static_cast<uint32_t>(nextBox);
    }
}

} // namespace morvane
