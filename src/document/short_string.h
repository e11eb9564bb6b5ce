#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace morvane {

// A string of fixed capacity with its length in a leading byte, stored as laid out in the
// project file. Bytes after the length are not significant.
#pragma pack(push, 1)
template <int Capacity> struct TShortString {
    uint8_t Length;
    char Chars[Capacity];

    std::string Str() const { return std::string(Chars, std::min<std::size_t>(Length, Capacity)); }
    // Stores the text cut to the capacity.
    void Assign(std::string_view text) {
        Length = static_cast<uint8_t>(std::min<std::size_t>(text.size(), Capacity));
        std::memcpy(Chars, text.data(), Length);
    }
    // Byte for byte, the characters past the length included (a file keeps them).
    bool operator==(const TShortString&) const = default;
};
#pragma pack(pop)

} // namespace morvane
