#pragma once

#include "level/floor_data.h"

#include <cstdint>
#include <vector>

namespace morvane {

// The slant of one shape in clicks: X in the low byte of the slant word, Z in the high byte.
// A floor rises toward +X for a positive X slant and toward +Z for a positive Z slant; a ceiling
// rises toward +X for a positive X slant but toward -Z for a positive Z slant.
struct Slant {
    int X = 0, Z = 0;
};
Slant FloorSlant(int shape);
Slant CeilingSlant(int shape);
uint16_t SlantWord(Slant slant);

// The content of "floor.dat": at every index that SlopeFloorDataTable gives, the entry list of
// the slants of that pair of slope classes (floor slant, then ceiling slant, the last word with
// the end mark). Word 0 is free; the build overwrites it.
std::vector<uint16_t> MakeSlopeFloorData();

} // namespace morvane
