#pragma once

namespace morvane {

// Sector n of a room sits at column x (1..XSectors) and row z (1..ZSectors):
// n = (x - 1) * ZSectors + z.

constexpr int SectorNumber(int column, int row, int zSectors) {
    return (column - 1) * zSectors + row;
}

// x = ceiling(n / ZSectors).
constexpr int SectorColumn(int n, int zSectors) {
    return (n + zSectors - 1) / zSectors;
}

// z = n mod ZSectors, or ZSectors when that is 0.
constexpr int SectorRow(int n, int zSectors) {
    int row = n % zSectors;
    return row == 0 ? zSectors : row;
}

} // namespace morvane
