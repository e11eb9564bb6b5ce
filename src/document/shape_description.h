#pragma once

#include <string>

namespace morvane {

// What a shape of the tool bar (0..10) does to a floor, from the shape table: how far it rises
// above the height selector in clicks, and for a slope from which height to which across the
// sector. A ceiling takes the same shape hanging down.
std::string ShapeDescription(int shape);

} // namespace morvane
