#include "io/zeroed_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace morvane {
namespace {

TEST(ZeroBytes, ClearsExactlyTheRangeWhateverItsAlignment) {
    constexpr std::size_t Length = 300 * 1024;
    std::vector<uint8_t> buffer(Length, 0xAB);
    // Ranges of a few bytes (written), and ranges over many pages starting and ending inside a
    // page (given back in the middle).
    const std::pair<std::size_t, std::size_t> ranges[] = {
        {0, 0}, {5, 3}, {4095, 2}, {1, 200 * 1024 + 17}, {8192, 64 * 1024}, {100, Length - 200}};
    for (const auto& [offset, bytes] : ranges) {
        std::fill(buffer.begin(), buffer.end(), 0xAB);
        ZeroBytes(buffer.data() + offset, bytes);
        for (std::size_t i = 0; i < Length; ++i) {
            const bool inside = i >= offset && i < offset + bytes;
            ASSERT_EQ(buffer[i], inside ? 0 : 0xAB)
                << "byte " << i << " after zeroing " << bytes << " bytes from " << offset;
        }
        // The pages given back can be written again.
        std::fill(buffer.begin(), buffer.end(), 0xCD);
        EXPECT_EQ(buffer[offset + bytes / 2], 0xCD);
    }
}

} // namespace
} // namespace morvane
