#include "support/test_files.h"

#include "levelbuild/slope_floor_data.h"
#include "document/shape_table.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace morvane {
namespace {

// Corner heights (in clicks, relative to the sector's floor or ceiling height, upward) that a
// slant word gives, by the game's documented rules: low byte X slant, high byte Z slant, signed.
// A floor rises toward +X and +Z for positive slants, and its height is its highest point; a
// ceiling rises toward +X but toward -Z, and its height is its lowest point.
struct Corners {
    int c[4]; // (low x, low z), (high x, low z), (high x, high z), (low x, high z)
};
constexpr bool HighX[4] = {false, true, true, false};
constexpr bool HighZ[4] = {false, false, true, true};

Corners DecodeFloor(uint16_t word) {
    const int sx = static_cast<int8_t>(word & 0xFF), sz = static_cast<int8_t>(word >> 8);
    Corners out{};
    for (int i = 0; i < 4; ++i) {
        const int dropX = sx > 0 ? (HighX[i] ? 0 : sx) : (HighX[i] ? -sx : 0);
        const int dropZ = sz > 0 ? (HighZ[i] ? 0 : sz) : (HighZ[i] ? -sz : 0);
        out.c[i] = -(dropX + dropZ);
    }
    return out;
}

Corners DecodeCeiling(uint16_t word) {
    const int sx = static_cast<int8_t>(word & 0xFF), sz = static_cast<int8_t>(word >> 8);
    Corners out{};
    for (int i = 0; i < 4; ++i) {
        const int raiseX = sx > 0 ? (HighX[i] ? sx : 0) : (HighX[i] ? 0 : -sx);
        const int raiseZ = sz > 0 ? (HighZ[i] ? 0 : sz) : (HighZ[i] ? -sz : 0);
        out.c[i] = raiseX + raiseZ;
    }
    return out;
}

// What the geometry builds for a shape, in the same terms: floors stand up from their block
// (corner heights grow upward), ceilings hang down (corner heights grow downward).
Corners FloorShape(int shape) {
    const auto& h = ShapeTable[shape].CornerHeights;
    const int top = *std::max_element(h, h + 4);
    return {{(h[0] - top) / 256, (h[1] - top) / 256, (h[2] - top) / 256, (h[3] - top) / 256}};
}
Corners CeilingShape(int shape) {
    const auto& h = ShapeTable[shape].CornerHeights;
    const int low = *std::max_element(h, h + 4);
    return {{(low - h[0]) / 256, (low - h[1]) / 256, (low - h[2]) / 256, (low - h[3]) / 256}};
}

void ExpectSame(const Corners& a, const Corners& b, const std::string& what) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(a.c[i], b.c[i]) << what << ", corner " << i;
    }
}

TEST(SlopeFloorData, EveryEntryDescribesTheShapesOfItsSlopeClasses) {
    const std::vector<uint16_t> data = MakeSlopeFloorData();
    ASSERT_EQ(data.size(), 289u);
    for (int f = 0; f < SlopeClassCount; ++f) {
        for (int c = 0; c < SlopeClassCount; ++c) {
            if (f == 0 && c == 0) {
                continue;
            }
            const std::string where = "classes " + std::to_string(f) + "/" + std::to_string(c);
            const uint16_t* entry = &data[SlopeFloorDataTable[f][c]];
            uint16_t floorSlant = 0, ceilingSlant = 0;
            if (f > 0) {
                EXPECT_EQ(entry[0] & 0x7FFF, FloorDataFloorSlant) << where;
                EXPECT_EQ((entry[0] & FloorDataEnd) != 0, c == 0) << where;
                floorSlant = entry[1];
                entry += 2;
            }
            if (c > 0) {
                EXPECT_EQ(entry[0], FloorDataCeilingSlant | FloorDataEnd) << where;
                ceilingSlant = entry[1];
            }
            for (int s = 0; s < ShapeCount; ++s) {
                if (f > 0 && ShapeTable[s].SlopeClass == f) {
                    ExpectSame(DecodeFloor(floorSlant), FloorShape(s),
                               where + " floor shape " + std::to_string(s));
                }
                if (c > 0 && ShapeTable[s].SlopeClass == c) {
                    ExpectSame(DecodeCeiling(ceilingSlant), CeilingShape(s),
                               where + " ceiling shape " + std::to_string(s));
                }
            }
        }
    }
}

TEST(SlopeFloorData, TheCommittedFileIsWhatTheGeneratorMakes) {
    const test::Bytes file =
        test::ReadFileBytes(std::string(MORVANE_SOURCE_DIR) + "/data/floor.dat");
    const std::vector<uint16_t> data = MakeSlopeFloorData();
    ASSERT_EQ(file.size(), data.size() * 2);
    EXPECT_EQ(std::memcmp(file.data(), data.data(), file.size()), 0);
}

} // namespace
} // namespace morvane
