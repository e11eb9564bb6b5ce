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

// Memory of which only some pages were written: the written ones are cleared, the others stay
// zero, and the whole can be used again.
TEST(ZeroBytes, PagesWrittenOrNotAllReadZero) {
    constexpr std::size_t Length = 4 * 1024 * 1024;
    auto* memory = static_cast<uint8_t*>(AllocateZeroedPages(Length));
    for (std::size_t at = 0; at < Length; at += 3 * 65536) {
        std::memset(memory + at, 0xAB, 65536);
    }
    ZeroBytes(memory + 10, Length - 20);
    EXPECT_EQ(std::count(memory, memory + Length, 0xAB), 20)
        << "only the 10 bytes left out at each end keep their value";
    std::memset(memory, 0x11, Length);
    ZeroBytes(memory, Length);
    EXPECT_EQ(std::count(memory, memory + Length, 0), std::ptrdiff_t(Length));
    FreeZeroedPages(memory, Length);
}

} // namespace
} // namespace morvane
