#include "levelbuild/box_overlay.h"

#include "level/level_format.h"
#include "level/world_units.h"
#include "levelbuild/boxes.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace morvane {

namespace {

constexpr const char* ZoneNames[5] = {"ground 1", "ground 2", "ground 3", "ground 4", "fly"};
constexpr int FlippedArrays = 5; // the flipped state's arrays follow the normal state's

int BoxCount(const TLevelData& level) {
    return static_cast<int>(std::min<uint32_t>(level.NumBoxes, MaxBoxes));
}

// The boxes a box's list names, in its order, up to the word that ends it (or the last word).
std::vector<int> OverlapList(const TLevelData& level, int box) {
    std::vector<int> list;
    const uint32_t words = std::min<uint32_t>(level.NumOverlaps, MaxOverlaps);
    for (uint32_t w = level.Boxes1[box].OverlapIndex & OverlapIndexMask; w < words; ++w) {
        list.push_back(level.Overlaps[w] & OverlapBoxMask);
        if (level.Overlaps[w] & OverlapEnd) {
            break;
        }
    }
    return list;
}

// The boxes a box overlaps: its list without itself, or none when the list is not its own.
std::vector<int> Overlapping(const TLevelData& level, int box) {
    const int boxes = BoxCount(level);
    std::vector<int> others;
    bool own = false;
    for (const int other : OverlapList(level, box)) {
        if (other == box || other >= boxes) {
            continue;
        }
        others.push_back(other);
        if (!own) {
            const std::vector<int> back = OverlapList(level, other);
            own = std::find(back.begin(), back.end(), box) != back.end();
        }
    }
    if (!own) {
        others.clear();
    }
    return others;
}

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
    return red | green << 8 | blue << 16;
}

// Hues around the colour wheel; a box starts looking at the hue its number picks, so that boxes
// numbered one after another (neighbours, mostly) start far apart.
constexpr std::array<uint32_t, 12> Palette = {
    Rgb(255, 64, 64),  Rgb(255, 150, 0),  Rgb(255, 230, 0),   Rgb(160, 255, 50),
    Rgb(40, 200, 40),  Rgb(0, 210, 170),  Rgb(50, 200, 255),  Rgb(50, 100, 255),
    Rgb(150, 70, 255), Rgb(255, 60, 210), Rgb(255, 140, 160), Rgb(170, 120, 60)};
constexpr int PaletteStep = 5;

} // namespace

std::vector<int> RoomSectorBoxes(const TLevelData& level, int room) {
    std::vector<int> boxes;
    if (room < 0 || room >= level.NumRooms || room >= MaxLevelRooms) {
        return boxes;
    }
    const TLevelRoom& r = level.Rooms[room];
    const int sectors = std::min(int{r.NumXSectors} * r.NumZSectors, MaxRoomSectors);
    const int count = BoxCount(level);
    boxes.reserve(static_cast<std::size_t>(sectors));
    for (int n = 0; n < sectors; ++n) {
        const int box = SectorBox(level.FormatKind, r.Sectors[n]);
        boxes.push_back(box < count ? box : -1);
    }
    return boxes;
}

int OverlapCount(const TLevelData& level, int box) {
    if (box < 0 || box >= BoxCount(level)) {
        return 0;
    }
    return static_cast<int>(Overlapping(level, box).size());
}

BoxFacts DescribeBox(const TLevelData& level, int box) {
    BoxFacts facts;
    if (box < 0 || box >= BoxCount(level)) {
        return facts;
    }
    facts.Box = box;
    facts.TrueFloor = level.Boxes1[box].TrueFloor;
    facts.Overlaps = OverlapCount(level, box);
    if (static_cast<uint32_t>(box) < level.NumZones) {
        for (int a = 0; a < FlippedArrays; ++a) {
            if (ZoneStep(level.FormatKind, a) >= 0) {
                facts.Zones.push_back(
                    {a, level.Zones[a][box], level.Zones[a + FlippedArrays][box]});
            }
        }
    }
    return facts;
}

std::string BoxStatusText(const TLevelData& level, int room, int box) {
    const BoxFacts facts = DescribeBox(level, box);
    if (facts.Box < 0) {
        return {};
    }
    std::string text =
        "Box " + std::to_string(facts.Box + 1) + ": floor y " + std::to_string(facts.TrueFloor);
    if (room >= 0 && room < level.NumRooms && room < MaxLevelRooms) {
        // y grows downwards: the clicks above the bottom are the bottom's y less the floor's.
        const int clicks = (level.Rooms[room].RoomInfo.YBottom - facts.TrueFloor) / ClickSize;
        text += " (" + std::to_string(std::abs(clicks)) +
                (clicks < 0 ? " clicks below" : " clicks above") + " the room's bottom)";
    }
    text += facts.Zones.empty() ? ", no zones" : ", zones ";
    for (std::size_t i = 0; i < facts.Zones.size(); ++i) {
        const BoxZone& zone = facts.Zones[i];
        text += (i > 0 ? ", " : "") + std::string(ZoneNames[zone.Array]) + ": " +
                std::to_string(zone.Normal);
        if (zone.Flipped != zone.Normal) {
            text += " (flipped " + std::to_string(zone.Flipped) + ")";
        }
    }
    text +=
        ", " + std::to_string(facts.Overlaps) + (facts.Overlaps == 1 ? " overlap" : " overlaps");
    return text;
}

std::vector<uint32_t> BoxTints(const TLevelData& level) {
    const int boxes = BoxCount(level);
    std::vector<int> hue(static_cast<std::size_t>(boxes), -1);
    std::vector<uint32_t> tints(static_cast<std::size_t>(boxes));
    const int hues = static_cast<int>(Palette.size());
    for (int b = 0; b < boxes; ++b) {
        std::array<bool, Palette.size()> taken{};
        for (const int other : Overlapping(level, b)) {
            if (hue[other] >= 0) {
                taken[hue[other]] = true;
            }
        }
        const int first = b * PaletteStep % hues;
        int h = first;
        for (int i = 0; i < hues; ++i) {
            if (!taken[(first + i) % hues]) {
                h = (first + i) % hues;
                break;
            }
        }
        hue[b] = h;
        tints[b] = Palette[h];
    }
    return tints;
}

} // namespace morvane
