#include "support/test_files.h"

#include "io/backup_copy.h"
#include "io/io_error.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace morvane {
namespace {

using test::Bytes;
using test::TempDir;

TEST(BackupCopy, KeepsOneGenerationOfTheFileBeingReplaced) {
    TempDir dir;
    const std::string path = dir.Path("level.mvn");
    EXPECT_FALSE(KeepBackupCopy(path)) << "nothing to keep before the first save";
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{});

    // Larger than the copy's block, so that the copy runs in several pieces.
    Bytes first(3 * 1024 * 1024 + 17);
    for (std::size_t i = 0; i < first.size(); ++i) {
        first[i] = static_cast<uint8_t>(i * 7 + i / 251);
    }
    test::WriteFileBytes(path, first);
    EXPECT_TRUE(KeepBackupCopy(path));
    EXPECT_EQ(BackupPathOf(path), path + ".bak");
    EXPECT_EQ(test::ReadFileBytes(path + ".bak"), first);

    const Bytes second = {1, 2, 3};
    test::WriteFileBytes(path, second);
    EXPECT_TRUE(KeepBackupCopy(path));
    EXPECT_EQ(test::ReadFileBytes(path + ".bak"), second) << "one generation: the older goes";
    EXPECT_EQ(test::ReadFileBytes(path), second) << "the file itself is only read";
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"level.mvn", "level.mvn.bak"}))
        << "no temporary file is left";
}

TEST(BackupCopy, ABackupThatCannotBeWrittenIsAnErrorAndTouchesNothing) {
    TempDir dir;
    const std::string path = dir.Path("level.mvn");
    test::WriteFileBytes(path, {9, 9, 9});
    std::filesystem::create_directory(path + ".bak"); // in the way of the backup
    EXPECT_THROW(KeepBackupCopy(path), IoError);
    EXPECT_EQ(test::ReadFileBytes(path), (Bytes{9, 9, 9}));
    EXPECT_TRUE(std::filesystem::is_directory(path + ".bak"));

    std::filesystem::create_directory(dir.Path("folder.mvn"));
    EXPECT_THROW(KeepBackupCopy(dir.Path("folder.mvn")), IoError) << "only files are kept";
}

} // namespace
} // namespace morvane
