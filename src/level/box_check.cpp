#include "level/box_check.h"

#include "level/box_rules.h"
#include "level/level_format.h"
#include "level/world_units.h"

#include <algorithm>
#include <string>

namespace morvane {

namespace {

// A box's rectangle in world units, the maxima one past the last unit inside.
struct Rect {
    int X0, X1, Z0, Z1;
};

Rect BoxRect(const TLevelData& level, int b) {
    if (UsesSecondGameRecords(level.FormatKind)) {
        const TBox2& box = level.Boxes2[b];
        return {box.XMin * SectorSize, box.XMax * SectorSize, box.ZMin * SectorSize,
                box.ZMax * SectorSize};
    }
    const TBox1& box = level.Boxes1[b];
    return {box.XMin, box.XMax + 1, box.ZMin, box.ZMax + 1};
}

// An inverted rectangle is reported on its own.
bool Sound(const Rect& r) {
    return r.X0 < r.X1 && r.Z0 < r.Z1;
}

// Along an edge or over an area; a corner alone is not a way through.
bool Touch(const Rect& a, const Rect& b) {
    const int x = std::min(a.X1, b.X1) - std::max(a.X0, b.X0);
    const int z = std::min(a.Z1, b.Z1) - std::max(a.Z0, b.Z0);
    return x >= 0 && z >= 0 && (x > 0 || z > 0);
}

std::string BoxText(int b) {
    return "box " + std::to_string(b + 1);
}

const char* const ArrayNames[5] = {"ground zone 1", "ground zone 2", "ground zone 3",
                                   "ground zone 4", "fly zone"};
constexpr int FlyStepChecked = 4 * ClickSize;

class BoxChecker {
public:
    explicit BoxChecker(const TLevelData& level)
        : level_(level), boxes_(static_cast<int>(level.NumBoxes)), graph_(ReadBoxGraph(level)) {}

    std::vector<LevelFinding> Run() {
        if (boxes_ > BoxLimit(level_)) {
            Add(-1, "the level has " + std::to_string(boxes_) + " boxes, more than the " +
                        std::to_string(BoxLimit(level_)) +
                        " a sector of this layout can name: enemies lose their way. Rebuild "
                        "the boxes.")
                .Severity = FindingSeverity::Error;
        }
        for (int b = 0; b < boxes_; ++b) {
            rects_.push_back(BoxRect(level_, b));
        }
        CheckLists();
        CheckSectors();
        CheckZones();
        return std::move(findings_);
    }

private:
    LevelFinding& Add(int box, std::string text) {
        LevelFinding finding;
        finding.Box = box + 1;
        finding.Text = std::move(text);
        findings_.push_back(std::move(finding));
        return findings_.back();
    }

    void CheckLists() {
        const bool second = UsesSecondGameRecords(level_.FormatKind);
        int selfListed = 0, firstSelf = -1;
        for (int b = 0; b < boxes_; ++b) {
            if (!graph_.OwnList[b]) {
                continue;
            }
            uint32_t at = (second ? level_.Boxes2[b].OverlapIndex : level_.Boxes1[b].OverlapIndex) &
                          OverlapIndexMask;
            const uint32_t start = at;
            for (; at < level_.NumOverlaps; ++at) {
                const int other = level_.Overlaps[at] & OverlapBoxMask;
                // A lone word naming the box is the list of a level whose boxes touch none.
                if (other == b && !(level_.Overlaps[at] & OverlapEnd && at == start)) {
                    firstSelf = selfListed++ == 0 ? b : firstSelf;
                    break;
                }
                if (other < boxes_ && Sound(rects_[b]) && Sound(rects_[other]) &&
                    !Touch(rects_[b], rects_[other])) {
                    Add(b, "its overlap list names " + BoxText(other) +
                               ", which does not touch it: enemies walk through walls between "
                               "them. Rebuild the boxes.");
                    break;
                }
                if (level_.Overlaps[at] & OverlapEnd) {
                    break;
                }
            }
        }
        if (selfListed > 0) {
            Add(firstSelf, "its overlap list names the box itself (" + std::to_string(selfListed) +
                               (selfListed == 1 ? " box does" : " boxes do") +
                               " so in the level). Rebuild the boxes.");
        }
        if (!graph_.OneWay.empty()) {
            const uint32_t first = graph_.OneWay.front();
            const auto count = graph_.OneWay.size();
            Add(static_cast<int>(first >> 16),
                "its overlap list names " + BoxText(static_cast<int>(first & 0xFFFF)) +
                    ", whose list does not name it back (" + std::to_string(count) +
                    (count == 1 ? " list entry" : " list entries") +
                    " in the level without the way back): enemies can go one way only. Rebuild "
                    "the boxes.");
        }
    }

    void CheckSectors() {
        for (int r = 0; r < std::min<int>(level_.NumRooms, MaxLevelRooms); ++r) {
            const TLevelRoom& room = level_.Rooms[r];
            const int nz = room.NumZSectors;
            const int count = std::min(room.NumXSectors * nz, MaxRoomSectors);
            for (int n = 0; n < count; ++n) {
                const int b = SectorBox(level_.FormatKind, room.Sectors[n]);
                if (b < 0 || b >= boxes_) {
                    continue;
                }
                const int x = room.RoomInfo.X + (n / nz) * SectorSize;
                const int z = room.RoomInfo.Z + (n % nz) * SectorSize;
                const Rect& box = rects_[b];
                if (Sound(box) && (x < box.X0 || x + SectorSize > box.X1 || z < box.Z0 ||
                                   z + SectorSize > box.Z1)) {
                    LevelFinding& finding = Add(
                        b, "sector (column " + std::to_string(n / nz + 1) + ", row " +
                               std::to_string(n % nz + 1) + ") of room " + std::to_string(r + 1) +
                               " names this box, which does not hold it: enemies there "
                               "lose their way. Rebuild the boxes.");
                    finding.Room = r + 1;
                    finding.Column = n / nz + 1;
                    finding.Row = n % nz + 1;
                    return; // one is enough to say the boxes are stale
                }
            }
        }
    }

    void CheckZones() {
        const FlipStates states = RoomFlipStates(level_);
        std::vector<uint16_t> joined(static_cast<std::size_t>(boxes_)),
            mustJoin(static_cast<std::size_t>(boxes_));
        for (const bool flippedState : {false, true}) {
            // Without alternates the flipped state is the normal one: zones equal to the normal
            // state's agree or disagree alike.
            if (flippedState && !states.AnyAlternate && SameAsNormalState()) {
                continue;
            }
            const std::vector<bool> present =
                BoxesInState(graph_, flippedState ? states.InFlipped : states.InNormal);
            ZoneDisagreement wide, split;
            for (int kind = 0; kind < 5; ++kind) {
                const int array = kind + (flippedState ? 5 : 0);
                const int step = ZoneStep(level_.FormatKind, array);
                if (step < 0) {
                    continue;
                }
                // The groups the rule joins; for the fly zone the groups it must at least join.
                const int mustJoinStep = kind == 4 ? FlyStepChecked : step;
                NumberZones(graph_.Pairs, graph_.Floors, present, step, joined.data());
                if (mustJoinStep != step) {
                    NumberZones(graph_.Pairs, graph_.Floors, present, mustJoinStep,
                                mustJoin.data());
                }
                CompareZones(array, joined, mustJoinStep != step ? mustJoin : joined, wide, split);
            }
            const std::string state = flippedState ? " of the flipped rooms" : "";
            const auto report = [&](const ZoneDisagreement& d, const std::string& how,
                                    const char* outcome) {
                if (d.Boxes > 0) {
                    Add(d.FirstBox, "the zones" + state + how + " (" + d.Arrays + "): enemies " +
                                        outcome + ". Rebuild the boxes.");
                }
            };
            report(wide, " join it to boxes that no way of steps within the zone's climb reaches",
                   "try to reach what they cannot");
            report(split, " part it from boxes it reaches by steps within the zone's climb",
                   "give up where they could go");
        }
    }

    bool SameAsNormalState() const {
        for (int kind = 0; kind < 5; ++kind) {
            if (ZoneStep(level_.FormatKind, kind) >= 0 &&
                !std::equal(level_.Zones[kind], level_.Zones[kind] + boxes_,
                            level_.Zones[kind + 5])) {
                return false;
            }
        }
        return true;
    }

    // Which zone arrays disagree in one way, and how.
    struct ZoneDisagreement {
        int Boxes = 0, FirstBox = -1;
        std::string Arrays; // "ground zone 1: 4 boxes, fly zone: 2 boxes"
    };

    // A zone may not hold boxes of two groups the rule keeps apart (`wide`), and a group the
    // rule must join may not be split over zones (`split`).
    void CompareZones(int array, const std::vector<uint16_t>& groups,
                      const std::vector<uint16_t>& mustJoin, ZoneDisagreement& wide,
                      ZoneDisagreement& split) {
        const uint16_t* zones = level_.Zones[array];
        const int zoneCount = boxes_ == 0 ? 0 : *std::max_element(zones, zones + boxes_) + 1;
        groupOfZone_.assign(static_cast<std::size_t>(zoneCount), -1);
        zoneOfGroup_.assign(static_cast<std::size_t>(boxes_) + 1, -1);
        std::vector<int>& groupOfZone = groupOfZone_;
        std::vector<int>& zoneOfGroup = zoneOfGroup_;
        int tooWide = 0, parted = 0, firstWide = -1, firstParted = -1;
        for (int b = 0; b < boxes_; ++b) {
            int& group = groupOfZone[zones[b]];
            if (group < 0) {
                group = groups[b];
            } else if (group != groups[b] && tooWide++ == 0) {
                firstWide = b;
            }
            int& zone = zoneOfGroup[mustJoin[b]];
            if (zone < 0) {
                zone = zones[b];
            } else if (zone != zones[b] && parted++ == 0) {
                firstParted = b;
            }
        }
        const auto note = [array](ZoneDisagreement& d, int count, int first) {
            if (count == 0) {
                return;
            }
            d.FirstBox = d.Boxes == 0 ? first : d.FirstBox;
            d.Boxes += count;
            d.Arrays += std::string(d.Arrays.empty() ? "" : ", ") + ArrayNames[array % 5] + ": " +
                        std::to_string(count) + (count == 1 ? " box" : " boxes");
        };
        note(wide, tooWide, firstWide);
        note(split, parted, firstParted);
    }

    const TLevelData& level_;
    const int boxes_;
    const BoxGraph graph_;
    std::vector<Rect> rects_;
    std::vector<int> groupOfZone_, zoneOfGroup_; // kept between zone arrays
    std::vector<LevelFinding> findings_;
};

} // namespace

std::vector<LevelFinding> CheckBoxStructure(const TLevelData& level) {
    return BoxChecker(level).Run();
}

} // namespace morvane
