#pragma once

#include "level/level_data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

// Floor-data functions and the end mark of an entry list.
inline constexpr uint16_t FloorDataPortal = 1;
inline constexpr uint16_t FloorDataFloorSlant = 2;
inline constexpr uint16_t FloorDataCeilingSlant = 3;
inline constexpr uint16_t FloorDataTrigger = 4;
inline constexpr uint16_t FloorDataKill = 5;
inline constexpr uint16_t FloorDataEnd = 0x8000;

// What a sector's entry list says, read the way the game reads it.
struct SectorFloorData {
    int PortalRoom = -1; // function 1: the room beside (0-based), -1 for none
    // A portal entry after a trigger, a kill or other entries: the game does not see it.
    bool HiddenPortal = false;
    bool HasFloorSlant = false;
    int FloorSlantX = 0, FloorSlantZ = 0; // clicks, signed
    bool HasCeilingSlant = false;
    // The slants' data words as stored (X in the low byte, Z in the high byte); 0 without one.
    uint16_t FloorSlantWord = 0;
    uint16_t CeilingSlantWord = 0;
    // Entries other than slants and portals: triggers, kill, climb and the third game's others;
    // of them, the trigger and kill entries (which a project's trigger layer holds).
    int OtherEntries = 0;
    int TriggerEntries = 0, KillEntries = 0;
    std::vector<int> TriggeredItems;   // items (0-based) a trigger names
    std::vector<int> TriggeredCameras; // cameras (0-based) a trigger names
    // Where those are named: the floor-data words whose low ten bits hold them.
    std::vector<uint32_t> ItemWords, CameraWords;
    // The item words of switch, key and pickup triggers as stored (an item: action bits 0), and
    // the flip maps the flip actions name.
    std::vector<uint16_t> TiedItemWords;
    std::vector<int> FlipMaps;
    std::vector<int> TriggerTypes; // of each trigger entry
    // Empty when the list is well formed; otherwise what is wrong with it (the game would read
    // past the data, stop on an unknown function, or run on into the next sector's list).
    std::string Problem;
};

// Reads the entry list that starts at `index` (0 means no list). The function number is the
// low byte of an entry's first word for the first two games and its low five bits for the third;
// the functions each game knows are read with their words, any other is a problem.
SectorFloorData ReadSectorFloorData(const TLevelData& level, uint32_t index);

// Whether nothing can stand in the sector: its floor is not below its ceiling, neither is
// sloped (a slope opens a sector whose floor and ceiling meet at one edge only) and it opens
// into no room above or below.
bool IsSolidSector(const TLevelData& level, const TGameSector& sector);

// The sector of a room under a world point (x, z), or -1 when the point is outside the grid.
int SectorIndexAt(const TLevelRoom& room, int64_t x, int64_t z);

// The floor under a world point as the game finds it: from the point's room through the wall
// portals of the floor data to the room the point is in, then down through the rooms below to
// the sector that carries the floor, whose height is corrected by its floor slant.
struct FloorUnder {
    int Room = -1;       // room of the sector that carries the floor (0-based)
    int Sector = -1;     // its sector index
    int FloorY = 0;      // world y of the floor at the point, slant included
    bool Wall = false;   // that sector is solid
    std::string Problem; // not empty when the search could not end (the rest is then unset)
};
FloorUnder FindFloorUnder(const TLevelData& level, int room, int x, int z);

} // namespace morvane
