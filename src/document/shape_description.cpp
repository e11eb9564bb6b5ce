#include "document/shape_description.h"

#include "document/shape_table.h"

namespace morvane {

namespace {

std::string Clicks(int clicks) {
    return std::to_string(clicks) + (clicks == 1 ? " click" : " clicks");
}

} // namespace

std::string ShapeDescription(int shape) {
    if (shape < 0 || shape >= FirstSlopeShape + TurnedShapeOffset) {
        return {};
    }
    const TShapeInfo& info = ShapeTable[shape];
    const std::string name = "Shape " + std::to_string(shape) + ": ";
    if (shape == 0) {
        return name + "no rise. At the lowest height the floor lies flat; above it the sector "
                      "becomes a solid block up to the ceiling (a wall).";
    }
    if (info.SlopeClass == 0) {
        return name + "a flat block rising " + Clicks(info.Rise) +
               " above the height selector (4 clicks are one sector height).";
    }
    // Corner 0 lies on the sector's front edge (its row's start), corner 3 on its back edge.
    const int front = info.CornerHeights[0] / ClickSize, back = info.CornerHeights[3] / ClickSize;
    return name + "a slope from " + Clicks(front) + " at the front of the sector to " +
           Clicks(back) +
           " at its back, above the height selector. With Shift, or in the "
           "Left-Right direction, it is turned a quarter: from left to right.";
}

} // namespace morvane
