#include "import/floor_data_entries.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace morvane {
namespace {

// A level whose floor data is word 0 followed by the given words.
std::unique_ptr<TLevelData> WithFloorData(std::initializer_list<uint16_t> words) {
    auto level = std::make_unique<TLevelData>();
    level->FloorData[level->NumFloorData++] = 0xA028; // word 0: an arbitrary dummy
    for (uint16_t word : words) {
        level->FloorData[level->NumFloorData++] = word;
    }
    return level;
}

TEST(FloorDataEntries, EveryFunctionIsReadOrSkippedToTheEndOfItsList) {
    // Floor slant, ceiling slant, portal to room 7, a trigger whose camera action's second word
    // ends the actions, a kill entry, then a second list right behind.
    auto level = WithFloorData({0x0002, 0x00FE, 0x0003, 0xFD02, 0x0001, 7, 0x0004, 0x0000, 0x0005,
                                0x0403, 0x8002, 0x8005, 0x8001, 3});
    const SectorFloorData all = ReadSectorFloorData(*level, 1);
    EXPECT_EQ(all.FloorSlant, 0x00FE);
    EXPECT_EQ(all.CeilingSlant, 0xFD02);
    EXPECT_EQ(all.PortalRoom, 7);
    EXPECT_EQ(all.OtherEntries, 2) << "the trigger and the kill entry";
    EXPECT_FALSE(all.Malformed);

    const SectorFloorData next = ReadSectorFloorData(*level, 13);
    EXPECT_EQ(next.PortalRoom, 3);
    EXPECT_FALSE(next.FloorSlant.has_value());
    EXPECT_FALSE(next.Malformed);

    const SectorFloorData none = ReadSectorFloorData(*level, 0);
    EXPECT_FALSE(none.FloorSlant || none.CeilingSlant || none.PortalRoom >= 0 ||
                 none.OtherEntries > 0 || none.Malformed)
        << "index 0 holds no entries, whatever word 0 says";
}

TEST(FloorDataEntries, TheCameraActionsSecondWordDecidesTheEndOfTheActions) {
    // The camera's first word has the end bit set by chance; its second word does not, so the
    // list goes on to the portal.
    auto level = WithFloorData({0x0004, 0x0000, 0x8403, 0x0002, 0x8005, 0x8001, 9});
    const SectorFloorData read = ReadSectorFloorData(*level, 1);
    EXPECT_EQ(read.PortalRoom, 9);
    EXPECT_EQ(read.OtherEntries, 1);
    EXPECT_FALSE(read.Malformed);
}

TEST(FloorDataEntries, ThirdGameEntriesAreSkippedByTheirSize) {
    // A triangulated floor (one word), climbable walls (none), monkey swing (none), then a
    // floor slant.
    auto level = WithFloorData({0x0107, 0x1234, 0x0F06, 0x0013, 0x8002, 0x0200});
    const SectorFloorData read = ReadSectorFloorData(*level, 1);
    EXPECT_EQ(read.FloorSlant, 0x0200);
    EXPECT_EQ(read.OtherEntries, 3);
    EXPECT_FALSE(read.Malformed);
}

TEST(FloorDataEntries, BrokenListsKeepWhatWasReadAndSaySo) {
    struct Case {
        const char* What;
        std::initializer_list<uint16_t> Words;
    };
    const Case cases[] = {
        {"an unknown function", {0x0002, 0x0100, 0x001F, 0x0000}},
        {"function 0", {0x0002, 0x0100, 0x8000}},
        {"a list without an end bit", {0x0002, 0x0100, 0x0005}},
        {"a slant without its word", {0x0002, 0x0100, 0x8003}},
        {"a trigger running off the data", {0x0002, 0x0100, 0x8004, 0x0000, 0x0001}},
    };
    for (const Case& c : cases) {
        auto level = WithFloorData(c.Words);
        const SectorFloorData read = ReadSectorFloorData(*level, 1);
        EXPECT_TRUE(read.Malformed) << c.What;
        EXPECT_EQ(read.FloorSlant, 0x0100) << c.What << ": the floor slant before it is kept";
    }
    auto level = WithFloorData({0x8001, 4});
    EXPECT_TRUE(ReadSectorFloorData(*level, 5).Malformed) << "an index beyond the floor data";
}

} // namespace
} // namespace morvane
