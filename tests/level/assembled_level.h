#pragma once

#include "support/test_files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane::test {

// A small level file of one layout, assembled byte by byte (independently of the writer) with
// known values; the values are listed in assembled_level.cpp next to the bytes.
struct CountField {
    std::string Name;   // as the reader names it in its refusal
    std::size_t Offset; // of the count in the file
    int Width;          // 2 or 4 bytes
    uint32_t Limit;     // capacity of the record
};

struct AssembledLevel {
    Bytes File;
    std::vector<CountField> Counts;
    std::size_t PaletteOffset = 0;
    std::size_t FirstDataWordsOffset = 0; // NumDataWords of room 0
};

struct AssembleOptions {
    int Textiles = 0;
    int Rooms = 1;
    bool CorrectDataWords = true; // false stores 0 as each room's data-word count
};

AssembledLevel AssembleLevel(int32_t kind, const AssembleOptions& options = {});

inline constexpr uint32_t AssembledSpareLong = 0x12345678;

} // namespace morvane::test
