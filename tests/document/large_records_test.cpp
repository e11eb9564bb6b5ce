#include "document/project.h"
#include "level/level_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace morvane {
namespace {

// The process's resident memory in kilobytes, from /proc/self/statm (pages).
long ResidentKilobytes() {
    long size = 0, resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) {
        return -1;
    }
    const int read = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return read == 2 ? resident * 4 : -1;
}

// The document and the level record start cleared without being written: a new record costs
// no resident memory until its rooms are used, and Clear() gives every byte back as zero.
TEST(LargeRecords, StartClearedAndClearWithoutTouchingTheirPages) {
    const long before = ResidentKilobytes();
    auto project = std::make_unique<TEditorProject>();
    auto level = std::make_unique<TLevelData>();
    project->Clear(); // as the editor's window does when it starts
    level->Clear();
    const long after = ResidentKilobytes();
    if (before >= 0 && after >= 0) {
        EXPECT_LT(after - before, 2048) << "kB resident for two new records of 33 MB";
    }
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(project->RoomCount, 0);

    const auto* bytes = reinterpret_cast<const uint8_t*>(project.get());
    auto allZeroButCurrentRoom = [&] {
        for (std::size_t i = 0; i < sizeof(TEditorProject); ++i) {
            const bool current = bytes + i == &project->CurrentRoom;
            if (bytes[i] != (current ? 1 : 0)) {
                return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(allZeroButCurrentRoom());
    std::memset(static_cast<void*>(project.get()), 0x5A, sizeof(TEditorProject));
    project->Clear();
    EXPECT_TRUE(allZeroButCurrentRoom());

    auto* record = static_cast<TLevelRecord*>(level.get());
    std::memset(static_cast<void*>(record), 0x77, sizeof(TLevelRecord));
    level->Textile8.assign(10, 3);
    level->Clear();
    const auto* levelBytes = reinterpret_cast<const uint8_t*>(record);
    EXPECT_TRUE(std::all_of(levelBytes, levelBytes + sizeof(TLevelRecord),
                            [](uint8_t b) { return b == 0; }));
    EXPECT_TRUE(level->Textile8.empty());
}

} // namespace
} // namespace morvane
