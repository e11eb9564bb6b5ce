#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// Version codes of the four level layouts.
inline constexpr uint32_t VersionTR1 = 0x00000020; // first game and its add-on
inline constexpr uint32_t VersionTR2 = 0x0000002D;
inline constexpr uint32_t VersionTR3 = 0xFF080038;
inline constexpr uint32_t VersionTR3Alt = 0xFF180038;

// FormatKind values: 0 while the record is empty.
inline constexpr int32_t FormatNone = 0;
inline constexpr int32_t FormatTR1 = 1;
inline constexpr int32_t FormatTUB = 2;
inline constexpr int32_t FormatTR2 = 3;
inline constexpr int32_t FormatTR3 = 4;

bool IsKnownVersion(uint32_t version);

// The layout of a level file from its version code and name. Version 32 is the add-on's layout
// when the file's name (the last part of the path) contains ".TUB" or ".tub" (exactly these
// cases), the first game's otherwise.
// 0 for an unknown version code.
int32_t FormatKindFor(uint32_t version, const std::string& fileName);

// The second and third games share the 12-byte vertices, 24-byte items, 8-byte boxes, ten zone
// arrays and 16-bit texture pages.
inline bool UsesSecondGameRecords(int32_t kind) {
    return kind == FormatTR2 || kind == FormatTR3;
}

const char* FormatKindName(int32_t kind);

} // namespace morvane
