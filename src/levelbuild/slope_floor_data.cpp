#include "levelbuild/slope_floor_data.h"

#include "document/shape_table.h"
#include "level/world_units.h"

namespace morvane {

namespace {

// Corner heights rise with the floor; the slant is their change across the sector, in clicks.
// Our shapes change along one axis only, so c1 - c0 is the change along x and c3 - c0 along z.
int ChangeAlongX(int shape) {
    const auto& c = ShapeTable[shape].CornerHeights;
    return (c[1] - c[0]) / ClickSize;
}
int ChangeAlongZ(int shape) {
    const auto& c = ShapeTable[shape].CornerHeights;
    return (c[3] - c[0]) / ClickSize;
}

// The first shape of each slope class.
int ShapeOfClass(int slopeClass) {
    for (int s = 0; s < ShapeCount; ++s) {
        if (ShapeTable[s].SlopeClass == slopeClass) {
            return s;
        }
    }
    return 0;
}

} // namespace

Slant FloorSlant(int shape) {
    return {ChangeAlongX(shape), ChangeAlongZ(shape)};
}

// A hanging shape's corner heights grow downward, so a ceiling rises where they shrink.
Slant CeilingSlant(int shape) {
    return {-ChangeAlongX(shape), ChangeAlongZ(shape)};
}

uint16_t SlantWord(Slant slant) {
    return static_cast<uint16_t>(static_cast<uint8_t>(slant.X) | static_cast<uint8_t>(slant.Z)
                                                                     << 8);
}

std::vector<uint16_t> MakeSlopeFloorData() {
    const int last = SlopeFloorDataTable[SlopeClassCount - 1][SlopeClassCount - 1] + 4;
    std::vector<uint16_t> words(last, 0);
    for (int f = 0; f < SlopeClassCount; ++f) {
        for (int c = 0; c < SlopeClassCount; ++c) {
            if (f == 0 && c == 0) {
                continue;
            }
            uint16_t* entry = &words[SlopeFloorDataTable[f][c]];
            if (f > 0) {
                *entry++ = FloorDataFloorSlant | (c == 0 ? FloorDataEnd : 0);
                *entry++ = SlantWord(FloorSlant(ShapeOfClass(f)));
            }
            if (c > 0) {
                *entry++ = FloorDataCeilingSlant | FloorDataEnd;
                *entry++ = SlantWord(CeilingSlant(ShapeOfClass(c)));
            }
        }
    }
    return words;
}

} // namespace morvane
