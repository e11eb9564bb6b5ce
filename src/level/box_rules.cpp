#include "level/box_rules.h"

#include "level/level_format.h"
#include "level/world_units.h"

#include <algorithm>
#include <numeric>

namespace morvane {

namespace {

constexpr int AnyStep = 1 << 20; // the fly zone: no floor difference parts two boxes

int Find(std::vector<int>& parent, int b) {
    while (parent[b] != b) {
        parent[b] = parent[parent[b]];
        b = parent[b];
    }
    return b;
}

} // namespace

int BoxLimit(int32_t formatKind) {
    return formatKind == FormatTR3 ? NoBoxNumberTR3 : MaxBoxes;
}

int ZoneStep(int32_t formatKind, int zoneArray) {
    // Ground 1 and 2: the one-click and two-click climbers every engine of these games reads
    // them for. Ground 3 and 4, which only the later layouts store, for the creatures that
    // climb three and four clicks. Fly (and swim): every overlap.
    static constexpr int Steps[5] = {ClickSize, 2 * ClickSize, 3 * ClickSize, 4 * ClickSize,
                                     AnyStep};
    if (zoneArray < 0 || zoneArray >= ZoneArrayCount) {
        return -1;
    }
    const int kind = zoneArray % 5;
    if (formatKind < FormatTR2 && (kind == 2 || kind == 3)) {
        return -1;
    }
    return Steps[kind];
}

FlipStates RoomFlipStates(const TLevelData& level) {
    FlipStates states;
    const int rooms = level.NumRooms;
    states.InNormal.assign(rooms, true);
    states.InFlipped.assign(rooms, true);
    for (int r = 0; r < rooms; ++r) {
        const int alternate = level.Rooms[r].AlternateRoom;
        // A room that is itself an earlier room's alternate is not an original (some levels
        // link the two both ways).
        if (alternate >= 0 && alternate < rooms && alternate != r && states.InNormal[r]) {
            states.InFlipped[r] = false;
            states.InNormal[alternate] = false;
            states.AnyAlternate = true;
        }
    }
    return states;
}

void NumberZones(const std::vector<uint32_t>& pairs, const std::vector<int16_t>& floors,
                 const std::vector<bool>& present, int step, uint16_t* zones) {
    const int boxes = static_cast<int>(floors.size());
    std::vector<int> parent(static_cast<std::size_t>(boxes));
    std::iota(parent.begin(), parent.end(), 0);
    for (const uint32_t p : pairs) {
        const int a = static_cast<int>(p >> 16), b = static_cast<int>(p & 0xFFFF);
        if (a < boxes && b < boxes && present[a] == present[b] &&
            std::abs(floors[a] - floors[b]) <= step) {
            parent[Find(parent, a)] = Find(parent, b);
        }
    }
    std::vector<uint16_t> number(static_cast<std::size_t>(boxes), 0);
    uint16_t count = 0;
    for (int b = 0; b < boxes; ++b) {
        uint16_t& n = number[Find(parent, b)];
        if (n == 0) {
            n = ++count;
        }
        zones[b] = n;
    }
}

BoxGraph ReadBoxGraph(const TLevelData& level) {
    BoxGraph graph;
    const bool second = UsesSecondGameRecords(level.FormatKind);
    const int boxes = static_cast<int>(std::min<uint32_t>(level.NumBoxes, MaxBoxes));
    const uint32_t words = std::min<uint32_t>(level.NumOverlaps, MaxOverlaps);
    graph.Floors.resize(static_cast<std::size_t>(boxes));
    graph.Rooms.assign(static_cast<std::size_t>(boxes), -1);
    graph.OwnList.assign(static_cast<std::size_t>(boxes), true);
    // Each box's list as the game reads it: from its index to the end mark.
    std::vector<uint32_t> start(static_cast<std::size_t>(boxes)), end(start.size());
    std::vector<uint8_t> sharing(words, 0); // how many boxes start at each word, up to 2
    for (int b = 0; b < boxes; ++b) {
        graph.Floors[b] = second ? level.Boxes2[b].TrueFloor : level.Boxes1[b].TrueFloor;
        uint32_t at = (second ? level.Boxes2[b].OverlapIndex : level.Boxes1[b].OverlapIndex) &
                      OverlapIndexMask;
        start[b] = at;
        if (at < words && sharing[at] < 2) {
            ++sharing[at];
        }
        while (at < words && !(level.Overlaps[at++] & OverlapEnd)) {
        }
        end[b] = at;
    }
    const auto lists = [&](int a, int b) {
        for (uint32_t at = start[a]; at < end[a]; ++at) {
            if ((level.Overlaps[at] & OverlapBoxMask) == b) {
                return true;
            }
        }
        return false;
    };
    // Of the boxes that share one list, those it does not lead back from have none of their own.
    for (int b = 0; b < boxes; ++b) {
        if (start[b] >= words || sharing[start[b]] < 2) {
            continue;
        }
        bool mutual = false;
        for (uint32_t at = start[b]; at < end[b] && !mutual; ++at) {
            const int other = level.Overlaps[at] & OverlapBoxMask;
            mutual = other < boxes && other != b && lists(other, b);
        }
        graph.OwnList[b] = mutual;
    }
    for (int a = 0; a < boxes; ++a) {
        if (!graph.OwnList[a]) {
            continue;
        }
        for (uint32_t at = start[a]; at < end[a]; ++at) {
            const int b = level.Overlaps[at] & OverlapBoxMask;
            if (b >= boxes || b == a) {
                continue;
            }
            if (!graph.OwnList[b] || !lists(b, a)) {
                graph.OneWay.push_back((uint32_t(a) << 16) | uint32_t(b));
            } else if (a < b) {
                graph.Pairs.push_back(OverlapPair(a, b));
            }
        }
    }
    if (!RoomFlipStates(level).AnyAlternate) {
        return graph; // every box is there in both states
    }
    for (int r = std::min<int>(level.NumRooms, MaxLevelRooms) - 1; r >= 0; --r) {
        const TLevelRoom& room = level.Rooms[r];
        const int count = std::min(room.NumXSectors * room.NumZSectors, MaxRoomSectors);
        for (int n = count - 1; n >= 0; --n) {
            const int b = SectorBox(level.FormatKind, room.Sectors[n]);
            if (b >= 0 && b < boxes) {
                graph.Rooms[b] = r;
            }
        }
    }
    return graph;
}

std::vector<bool> BoxesInState(const BoxGraph& graph, const std::vector<bool>& roomInState) {
    std::vector<bool> present(graph.Rooms.size(), true);
    for (std::size_t b = 0; b < present.size(); ++b) {
        const int r = graph.Rooms[b];
        present[b] = r < 0 || r >= static_cast<int>(roomInState.size()) || roomInState[r];
    }
    return present;
}

void RenumberZones(TLevelData& level) {
    const BoxGraph graph = ReadBoxGraph(level);
    const FlipStates states = RoomFlipStates(level);
    const std::vector<bool> normal = BoxesInState(graph, states.InNormal);
    const std::vector<bool> flipped = BoxesInState(graph, states.InFlipped);
    for (int z = 0; z < 5; ++z) {
        const int step = ZoneStep(level.FormatKind, z);
        if (step >= 0) {
            NumberZones(graph.Pairs, graph.Floors, normal, step, level.Zones[z]);
            NumberZones(graph.Pairs, graph.Floors, flipped, step, level.Zones[z + 5]);
        }
    }
}

} // namespace morvane
