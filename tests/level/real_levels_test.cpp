#include "support/test_files.h"

#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace morvane {
namespace {

struct RealLevel {
    const char* File;
    int32_t Kind;
    uint32_t Textiles, Rooms, FloorData, Boxes, Items;
};

// Counts as listed with the files' provenance.
constexpr RealLevel RealLevels[] = {
    {"tr1-demo-level2.tub", FormatTUB, 13, 94, 3818, 481, 93},
    {"tr1-opentomb-altroom1.phd", FormatTR1, 10, 3, 14, 14, 3},
    {"tr2-hiltop.tr2", FormatTR2, 13, 8, 32, 26, 7},
};

TEST(RealLevels, ReadAndWrittenBackByteForByte) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    test::TempDir out;
    auto level = std::make_unique<TLevelData>();
    for (const RealLevel& real : RealLevels) {
        const std::string path = dir + "/" + real.File;
        ASSERT_EQ(ReadLevelFile(*level, path).Status, ReadStatus::Done) << real.File;
        EXPECT_EQ(level->FormatKind, real.Kind) << real.File;
        EXPECT_EQ(level->NumTextiles, real.Textiles) << real.File;
        EXPECT_EQ(level->NumRooms, real.Rooms) << real.File;
        EXPECT_EQ(level->NumFloorData, real.FloorData) << real.File;
        EXPECT_EQ(level->NumBoxes, real.Boxes) << real.File;
        EXPECT_EQ(level->NumItems, real.Items) << real.File;
        const std::string copy = out.Path(real.File);
        ASSERT_EQ(WriteLevelFile(*level, copy), LevelWritten) << real.File;
        EXPECT_TRUE(test::ReadFileBytes(copy) == test::ReadFileBytes(path))
            << real.File << " was not written back byte for byte";
    }
}

} // namespace
} // namespace morvane
