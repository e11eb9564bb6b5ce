#pragma once

namespace morvane {

// Integer division rounded down (toward minus infinity) and up, for heights and positions that
// may lie below zero.
constexpr int FloorDiv(int a, int b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}
constexpr int CeilDiv(int a, int b) {
    return -FloorDiv(-a, b);
}

static_assert(FloorDiv(-1, 4) == -1 && FloorDiv(7, 4) == 1 && CeilDiv(5, 4) == 2 &&
              CeilDiv(-5, 4) == -1);

} // namespace morvane
