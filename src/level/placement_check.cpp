#include "level/placement_check.h"

#include "level/floor_data.h"
#include "level/room_objects.h"
#include "level/world_units.h"

#include <cstdlib>

namespace morvane {

namespace {

// Lara falls from her start when she stands higher than this above the floor, and a fall of more
// than two sectors hurts or kills her.
constexpr int StartDropWarning = 2 * ClickSize;
constexpr int StartDropError = 2 * SectorSize;
// Real levels put items a unit or two under a sloped floor (the game rounds the slope its own
// way), sink static meshes into the floor and hang lights above the ceiling (a mesh or a light
// has size; only its middle is placed): beyond these it is a mistake.
constexpr int ItemBelowFloor = 16;
constexpr int MeshOrLightOutOfRoom = SectorSize;

class PlacementChecker {
public:
    PlacementChecker(const TLevelData& level, const PlacedThing& thing,
                     const std::vector<std::string>& roomNames)
        : level_(level), thing_(thing), roomNames_(roomNames),
          lara_(thing.Kind == PlacedKind::Item && thing.Type == LaraItemType),
          item_(thing.Kind == PlacedKind::Item) {}

    std::vector<PlacementProblem> Run() {
        const int r = thing_.Room;
        if (r < 0 || r >= level_.NumRooms || r >= MaxLevelRooms) {
            Add(FindingSeverity::Error,
                What() + (item_ ? " stands" : " lies") + " in room " + std::to_string(r + 1) +
                    ", which the level does not have: the game crashes on loading. Put " +
                    (lara_ ? "her" : "it") + " in one of the level's rooms.");
            return std::move(found_);
        }
        CheckModel();
        if (SectorIndexAt(level_.Rooms[r], thing_.X, thing_.Z) < 0) {
            if (item_) {
                Add(FindingSeverity::Error,
                    What() + " at x " + std::to_string(thing_.X) + ", z " +
                        std::to_string(thing_.Z) +
                        " stands outside its room: the game finds the floor and draws it in the "
                        "wrong place. Move it into the room or give it the room it stands in.");
            } else {
                Add(FindingSeverity::Warning,
                    What() + " at x " + std::to_string(thing_.X) + ", z " +
                        std::to_string(thing_.Z) +
                        " lies outside its room: the game draws or lights it with the wrong "
                        "room. Move it into the room or give it the room it lies in.");
            }
            return std::move(found_);
        }
        if (lara_) {
            CheckLara();
        } else {
            CheckHeight();
        }
        return std::move(found_);
    }

private:
    void Add(FindingSeverity severity, std::string text) {
        found_.push_back({severity, std::move(text)});
    }
    std::string What() const {
        if (lara_) {
            return "Lara";
        }
        return std::string("the ") + PlacedKindName(thing_.Kind);
    }
    std::string RoomText(int room) const {
        return RoomLabel(room + 1, room < static_cast<int>(roomNames_.size()) ? roomNames_[room]
                                                                              : std::string());
    }
    std::string SectorText(int room, int sector) const {
        const int nz = level_.Rooms[room].NumZSectors;
        return "column " + std::to_string(sector / nz + 1) + ", row " +
               std::to_string(sector % nz + 1);
    }

    void CheckModel() {
        // Lara's model comes with every base level the game can run.
        if (item_ && !lara_ && !HasItemModel(level_, thing_.Type)) {
            Add(FindingSeverity::Warning,
                "the level has no model for item type " + std::to_string(thing_.Type) +
                    " (no moveable or sprite sequence of that id): the game cannot show it. "
                    "Choose a type the base level has.");
        } else if (thing_.Kind == PlacedKind::Static && !HasStaticModel(level_, thing_.Type)) {
            Add(FindingSeverity::Warning,
                "the level has no static mesh " + std::to_string(thing_.Type) +
                    ": the game cannot show it. Choose a static mesh the base level has.");
        }
    }

    // The highest point of the ceiling over the thing in its own room, or false when the room
    // opens upwards there.
    bool CeilingOver(int& y) const {
        const TLevelRoom& room = level_.Rooms[thing_.Room];
        const TGameSector& sector = room.Sectors[SectorIndexAt(room, thing_.X, thing_.Z)];
        if (sector.RoomAbove != NoRoom) {
            return false;
        }
        y = sector.CeilingHeight * ClickSize;
        const SectorFloorData data = ReadSectorFloorData(level_, sector.FloorDataIndex);
        if (data.HasCeilingSlant) {
            const int sx = static_cast<int8_t>(data.CeilingSlantWord & 0xFF);
            const int sz = static_cast<int8_t>(data.CeilingSlantWord >> 8);
            y -= (std::abs(sx) + std::abs(sz)) * ClickSize;
        }
        return true;
    }

    void CheckHeight() {
        const FloorUnder floor = FindFloorUnder(level_, thing_.Room, thing_.X, thing_.Z);
        if (!floor.Problem.empty()) {
            Add(FindingSeverity::Warning, "the floor under " + What() + " cannot be found (" +
                                              floor.Problem +
                                              "): the game finds its floor at the room's edge. "
                                              "Fix the links there.");
            return;
        }
        if (floor.Wall) {
            Add(FindingSeverity::Warning,
                What() + " lies inside a solid sector (" + RoomText(floor.Room) + ", " +
                    SectorText(floor.Room, floor.Sector) +
                    "): it is hidden in a wall. Move it onto an open sector.");
            return;
        }
        const int spare = item_ || thing_.Kind == PlacedKind::Camera ? 0 : MeshOrLightOutOfRoom;
        const int64_t below = int64_t{thing_.Y} - floor.FloorY;
        if (below > (item_ ? ItemBelowFloor : spare)) {
            Add(FindingSeverity::Warning,
                What() + " lies " + std::to_string(below) +
                    " units under the floor: it is hidden or falls out of the room. Put it on "
                    "the floor, at y " +
                    std::to_string(floor.FloorY) + ".");
            return;
        }
        int ceiling = 0;
        if (CeilingOver(ceiling) && int64_t{thing_.Y} + spare < ceiling) {
            Add(FindingSeverity::Warning, What() + " lies " +
                                              std::to_string(int64_t{ceiling} - thing_.Y) +
                                              " units above the ceiling: it is outside its room. "
                                              "Put it under the ceiling, below y " +
                                              std::to_string(ceiling) + ".");
        }
    }

    void CheckLara() {
        const int r = thing_.Room;
        const FloorUnder floor = FindFloorUnder(level_, r, thing_.X, thing_.Z);
        if (!floor.Problem.empty()) {
            Add(FindingSeverity::Error, "the floor under Lara cannot be found (" + floor.Problem +
                                            "): she starts nowhere. Fix the links there.");
            return;
        }
        if (floor.Wall) {
            Add(FindingSeverity::Error, "Lara starts inside a solid sector (" +
                                            RoomText(floor.Room) + ", " +
                                            SectorText(floor.Room, floor.Sector) +
                                            "): she is stuck in a wall. Put her on an open "
                                            "sector.");
            return;
        }
        if (level_.Rooms[r].RoomFlags & RoomFlagWater) {
            return; // she swims: any height in the room will do
        }
        const std::string put = " Put her on the floor, at y " + std::to_string(floor.FloorY) + ".";
        // In 64 bits: y comes from the file and may lie anywhere in 32 bits.
        const int64_t below = int64_t{thing_.Y} - floor.FloorY;
        if (below > 0) {
            Add(FindingSeverity::Error, "Lara starts " + std::to_string(below) +
                                            " units under the floor: she falls out of the "
                                            "level or is stuck." +
                                            put);
        } else if (-below > StartDropError) {
            Add(FindingSeverity::Error, "Lara starts " + std::to_string(-below) +
                                            " units above the floor: the fall hurts or kills her." +
                                            put);
        } else if (-below > StartDropWarning) {
            Add(FindingSeverity::Warning, "Lara starts " + std::to_string(-below) +
                                              " units above the floor and drops on entry." + put);
        }
    }

    const TLevelData& level_;
    const PlacedThing& thing_;
    const std::vector<std::string>& roomNames_;
    const bool lara_;
    const bool item_;
    std::vector<PlacementProblem> found_;
};

} // namespace

const char* PlacedKindName(PlacedKind kind) {
    switch (kind) {
    case PlacedKind::Item:
        return "item";
    case PlacedKind::Camera:
        return "camera";
    case PlacedKind::Static:
        return "static mesh";
    case PlacedKind::Light:
        return "light";
    }
    return "item";
}

std::vector<PlacementProblem> CheckPlacement(const TLevelData& level, const PlacedThing& thing,
                                             const std::vector<std::string>& roomNames) {
    return PlacementChecker(level, thing, roomNames).Run();
}

} // namespace morvane
