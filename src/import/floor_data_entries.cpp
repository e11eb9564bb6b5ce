#include "import/floor_data_entries.h"

#include "build/slope_floor_data.h"

#include <algorithm>

namespace morvane {

namespace {

constexpr uint16_t FloorDataTrigger = 4;
constexpr uint16_t FloorDataKill = 5;
constexpr uint16_t FloorDataClimb = 6;
constexpr uint16_t FirstTriangulation = 7; // third game: 7 .. 18 carry one word
constexpr uint16_t LastTriangulation = 18;
constexpr uint16_t LastWordless = 21; // third game: monkey swing and mine-cart marks
constexpr uint16_t FunctionBits = 0x1F;
constexpr uint16_t ActionCamera = 1;

} // namespace

SectorFloorData ReadSectorFloorData(const TLevelData& level, uint32_t index) {
    SectorFloorData result;
    if (index == 0) {
        return result;
    }
    const uint32_t end = std::min<uint32_t>(level.NumFloorData, MaxFloorData);
    // The next word of the list, or nothing when the list runs off the data.
    auto next = [&]() -> std::optional<uint16_t> {
        if (index >= end) {
            result.Malformed = true;
            return std::nullopt;
        }
        return level.FloorData[index++];
    };
    // Every entry takes at least one word, so a list cannot hold more entries than there are.
    for (uint32_t entries = 0; entries < end; ++entries) {
        const std::optional<uint16_t> head = next();
        if (!head) {
            return result;
        }
        const uint16_t function = *head & FunctionBits;
        if (function == FloorDataPortal || function == FloorDataFloorSlant ||
            function == FloorDataCeilingSlant) {
            const std::optional<uint16_t> word = next();
            if (!word) {
                return result;
            }
            if (function == FloorDataPortal) {
                result.PortalRoom = *word;
            } else if (function == FloorDataFloorSlant) {
                result.FloorSlant = *word;
            } else {
                result.CeilingSlant = *word;
            }
        } else if (function == FloorDataTrigger) {
            ++result.OtherEntries;
            if (!next()) { // setup
                return result;
            }
            for (bool last = false; !last;) {
                std::optional<uint16_t> action = next();
                if (action && ((*action >> 10) & FunctionBits) == ActionCamera) {
                    action = next(); // the camera's second word carries the end bit
                }
                if (!action) {
                    return result;
                }
                last = (*action & FloorDataEnd) != 0;
            }
        } else if (function >= FirstTriangulation && function <= LastTriangulation) {
            ++result.OtherEntries;
            if (!next()) {
                return result;
            }
        } else if (function == FloorDataKill || function == FloorDataClimb ||
                   (function > LastTriangulation && function <= LastWordless)) {
            ++result.OtherEntries;
        } else {
            result.Malformed = true;
            return result;
        }
        if (*head & FloorDataEnd) {
            return result;
        }
    }
    result.Malformed = true;
    return result;
}

} // namespace morvane
