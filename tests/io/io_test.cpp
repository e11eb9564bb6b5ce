#include "support/test_files.h"

#include "io/atomic_file.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "io/play_command.h"
#include "io/program_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane {
namespace {

using test::Bytes;
using test::TempDir;

TEST(IoErrorText, UserFacingTexts) {
    EXPECT_EQ(IoErrorText(ENOENT), "File not found");
    EXPECT_EQ(IoErrorText(EACCES), "File access denied");
    EXPECT_EQ(IoErrorText(ENOSPC), "Disk full");
    EXPECT_EQ(IoErrorText(EMFILE), "Too many open files");
    EXPECT_EQ(IoErrorText(ENAMETOOLONG), "Invalid filename");
    EXPECT_EQ(IoErrorText(EIO), "I/O error " + std::to_string(EIO));
}

TEST(BinaryReader, LittleEndianValuesAndShortReads) {
    const Bytes bytes = test::ByteBuilder().U16(0xBEEF).U32(0x01020304).I16(-2).U8(7).Get();
    BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
    EXPECT_EQ(reader.ReadU16(), 0xBEEF);
    EXPECT_EQ(reader.ReadU32(), 0x01020304u);
    EXPECT_EQ(reader.ReadI16(), -2);
    EXPECT_EQ(reader.Remaining(), 1u);
    uint16_t value = 0x5555;
    try {
        reader.ReadBytes(&value, 2);
        FAIL() << "a two-byte read from one byte succeeded";
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "Read beyond end of file");
    }
    EXPECT_TRUE(reader.AtEnd());
}

TEST(BinaryReader, FilesOpenAndReportTheirErrors) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("data"), {1, 2, 3});
    BinaryReader reader = BinaryReader::OpenFile(dir.Path("data"));
    EXPECT_EQ(reader.Size(), 3u);
    reader.Skip(2);
    EXPECT_EQ(reader.ReadU8(), 3);
    EXPECT_THROW(reader.ReadU8(), IoError);
    try {
        BinaryReader::OpenFile(dir.Path("absent"));
        FAIL();
    } catch (const IoError& e) {
        EXPECT_STREQ(e.what(), "File not found");
    }
    EXPECT_TRUE(FileExists(dir.Path("data")));
    EXPECT_TRUE(IsRegularFile(dir.Path("data")));
    EXPECT_FALSE(FileExists(dir.Path("absent")));
    EXPECT_TRUE(FileExists(dir.Root().string())) << "something is there";
    EXPECT_FALSE(IsRegularFile(dir.Root().string()));
}

std::string OpenError(const std::string& path, uint64_t maxBytes = NoSizeLimit) {
    try {
        BinaryReader::OpenFile(path, maxBytes);
    } catch (const IoError& e) {
        return e.what();
    }
    return "opened";
}

// A pipe would block the open until a writer comes, a device such as /dev/zero never ends: only
// regular files are read, and the refusal says what the path is. The test would hang on a pipe
// if the open waited.
TEST(BinaryReader, OnlyRegularFilesWithinTheSizeLimitAreOpened) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(OpenError(dir.Path("pipe")), "it is a pipe, not a regular file");
    EXPECT_EQ(OpenError(dir.Root().string()), "it is a folder, not a regular file");
    EXPECT_EQ(OpenError("/dev/zero"), "it is a device, not a regular file");
    EXPECT_EQ(OpenError("/dev/null"), "it is a device, not a regular file");
    EXPECT_TRUE(FileExists(dir.Path("pipe")));
    EXPECT_FALSE(IsRegularFile(dir.Path("pipe")));

    test::WriteFileBytes(dir.Path("ten"), Bytes(10, 1));
    EXPECT_EQ(OpenError(dir.Path("ten"), 9), "its size is 10 bytes, above the limit of 9.");
    EXPECT_EQ(OpenError(dir.Path("ten"), 10), "opened");
    ASSERT_EQ(symlink("ten", dir.Path("link").c_str()), 0);
    EXPECT_EQ(OpenError(dir.Path("link")), "opened") << "a link to a regular file is read";
}

TEST(IoErrorText, FileErrorsNameTheFileOnce) {
    EXPECT_STREQ(FileError("Level file", "a.phd", RefusedOutcome, ReadBeyondEndText).what(),
                 "Level file \"a.phd\" refused: Read beyond end of file");
    EXPECT_STREQ(FileError("Level file", "a.phd", NotWrittenOutcome, "Disk full").what(),
                 "Level file \"a.phd\" not written: Disk full");
    const std::string named = "Level file \"a.phd\" refused: NumRooms is 300.";
    EXPECT_EQ(FileError("Level file", "a.phd", RefusedOutcome, named).what(), named)
        << "a text that names the file already is kept";
    EXPECT_STREQ(FileError("Level file", "b.phd", RefusedOutcome, named).what(),
                 "Level file \"b.phd\" refused: Level file \"a.phd\" refused: NumRooms is 300.")
        << "another file's name is no name of this one";
}

TEST(AtomicFileWriter, ReplacesTheTargetOnlyOnCommit) {
    TempDir dir;
    const std::string target = dir.Path("file.bin");
    test::WriteFileBytes(target, {1});
    {
        AtomicFileWriter file(target);
        file.Writer().WriteU32(0xAABBCCDD);
        EXPECT_EQ(test::ReadFileBytes(target), (Bytes{1})) << "target changed before commit";
        file.Commit();
    }
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{0xDD, 0xCC, 0xBB, 0xAA}));
    {
        AtomicFileWriter abandoned(target);
        abandoned.Writer().WriteU8(5);
    }
    EXPECT_EQ(test::ReadFileBytes(target), (Bytes{0xDD, 0xCC, 0xBB, 0xAA}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"file.bin"}) << "temporary file left";
}

// Writing into a folder that is not there names the folder, not a missing file.
TEST(AtomicFileWriter, AMissingFolderIsNamed) {
    TempDir dir;
    const std::string folder = dir.Path("levels/new");
    try {
        AtomicFileWriter file(folder + "/LEVEL.PHD");
        ADD_FAILURE() << "a file was opened in a missing folder";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "the folder \"" + folder + "\" does not exist");
    }
}

// A program's data files: beside the executable (the build tree), else in the installed data
// folder under the same prefix; a file found nowhere names every folder looked in.
TEST(ProgramDataFile, BesideTheProgramFirstThenTheInstalledDataFolder) {
    TempDir prefix;
    const std::string bin = prefix.Path("bin");
    const std::string share = prefix.Path("share/morvane3d");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    EXPECT_EQ(ProgramDataFolders(bin), (std::vector<std::string>{bin, share}));
    EXPECT_EQ(ProgramDataFolders(bin + "/"), (std::vector<std::string>{bin, share}))
        << "a trailing separator is not part of the folder named";

    test::WriteFileBytes(share + "/floor.dat", {2});
    EXPECT_EQ(FindProgramDataFile("floor.dat", bin), share + "/floor.dat") << "installed";
    test::WriteFileBytes(bin + "/floor.dat", {1});
    EXPECT_EQ(FindProgramDataFile("floor.dat", bin), bin + "/floor.dat")
        << "the copy beside the program comes first";

    std::filesystem::create_directories(bin + "/solid.bmp");
    try {
        FindProgramDataFile("solid.bmp", bin);
        FAIL() << "a folder named like the file, and nothing installed, was taken for the file";
    } catch (const IoError& e) {
        EXPECT_EQ(std::string(e.what()), "File not found in " + bin + " or " + share);
    }
    test::WriteFileBytes(share + "/solid.bmp", {3});
    EXPECT_EQ(FindProgramDataFile("solid.bmp", bin), share + "/solid.bmp");
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

void WriteThrough(const std::string& path, uint8_t value) {
    AtomicFileWriter file(path);
    file.Writer().WriteU8(value);
    file.Commit();
}

std::string WriteError(const std::string& path) {
    try {
        WriteThrough(path, 0xEE);
    } catch (const IoError& e) {
        return e.what();
    }
    return "written";
}

bool IsLink(const std::string& path) {
    return std::filesystem::is_symlink(std::filesystem::symlink_status(path));
}

TEST(AtomicFileWriter, WritesThroughSymbolicLinks) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path("real"));
    test::WriteFileBytes(dir.Path("real/level.phd"), {1});
    ASSERT_EQ(symlink("real/level.phd", dir.Path("relative").c_str()), 0);
    ASSERT_EQ(symlink(dir.Path("relative").c_str(), dir.Path("chain").c_str()), 0);
    ASSERT_EQ(symlink("real/new.phd", dir.Path("dangling").c_str()), 0);

    WriteThrough(dir.Path("relative"), 2);
    EXPECT_TRUE(IsLink(dir.Path("relative"))) << "the link was replaced by a file";
    EXPECT_EQ(test::ReadFileBytes(dir.Path("real/level.phd")), Bytes{2});
    WriteThrough(dir.Path("chain"), 3);
    EXPECT_TRUE(IsLink(dir.Path("chain")));
    EXPECT_TRUE(IsLink(dir.Path("relative")));
    EXPECT_EQ(test::ReadFileBytes(dir.Path("real/level.phd")), Bytes{3});
    WriteThrough(dir.Path("dangling"), 4);
    EXPECT_TRUE(IsLink(dir.Path("dangling")));
    EXPECT_EQ(test::ReadFileBytes(dir.Path("real/new.phd")), Bytes{4})
        << "a dangling link's file is made where it points";
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"chain", "dangling", "real", "relative"}));

    ASSERT_EQ(symlink("loop", dir.Path("loop").c_str()), 0);
    EXPECT_NE(WriteError(dir.Path("loop")), "written");
}

// The permission rule is the mode bits as well as access(): a file without any write bit is
// refused also for the root user, whom access() lets write everything, so this test holds for
// every user.
TEST(AtomicFileWriter, RefusesTargetsThatAreNoWritableRegularFile) {
    TempDir dir;
    test::WriteFileBytes(dir.Path("read-only"), {1});
    ASSERT_EQ(chmod(dir.Path("read-only").c_str(), 0444), 0);
    EXPECT_EQ(WriteError(dir.Path("read-only")), "File access denied");
    EXPECT_EQ(test::ReadFileBytes(dir.Path("read-only")), Bytes{1});
    ASSERT_EQ(symlink("read-only", dir.Path("to-read-only").c_str()), 0);
    EXPECT_EQ(WriteError(dir.Path("to-read-only")), "File access denied");

    test::WriteFileBytes(dir.Path("owner-only"), {1});
    ASSERT_EQ(chmod(dir.Path("owner-only").c_str(), 0600), 0);
    EXPECT_EQ(WriteError(dir.Path("owner-only")), "written");
    struct stat info {};
    ASSERT_EQ(stat(dir.Path("owner-only").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u) << "the replaced file keeps its permissions";

    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(WriteError(dir.Path("pipe")), "it is a pipe, not a regular file");
    std::filesystem::create_directory(dir.Path("folder"));
    EXPECT_EQ(WriteError(dir.Path("folder")), "it is a folder, not a regular file");
    ASSERT_EQ(symlink("/dev/null", dir.Path("to-null").c_str()), 0);
    EXPECT_EQ(WriteError(dir.Path("to-null")), "it is a device, not a regular file");
    EXPECT_TRUE(IsLink(dir.Path("to-null")));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"folder", "owner-only", "pipe", "read-only",
                                                       "to-null", "to-read-only"}))
        << "a refused write leaves no temporary file";
}

// A write killed midway leaves its temporary file; the next write of the same target removes it,
// and only it: other targets' files, other names and a write still running are left alone.
TEST(AtomicFileWriter, TheNextWriteRemovesTemporariesOfKilledWrites) {
    TempDir dir;
    const std::string target = dir.Path("level.phd");
    for (int kill = 0; kill < 3; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            AtomicFileWriter file(target);
            file.Writer().WriteU8(1);
            _exit(0); // killed before the commit: no destructor runs
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
    }
    const std::vector<std::string> killed = dir.Entries();
    ASSERT_EQ(killed.size(), 1u) << "each killed write removed the one killed before it";
    EXPECT_EQ(killed[0].substr(0, 11), ".level.phd.") << killed[0];
    test::WriteFileBytes(dir.Path(".level.phd.Stale1"), {1});
    test::WriteFileBytes(dir.Path(".other.phd.a1B2c3"), {1});
    test::WriteFileBytes(dir.Path("level.phd.a1B2c3"), {1}); // not hidden
    test::WriteFileBytes(dir.Path(".level.phd.a1B2c"), {1});
    test::WriteFileBytes(dir.Path(".level.phd.running"), {1}); // seven letters: not ours
    test::WriteFileBytes(dir.Path(".level.phd.RunNin"), {1});
    const int running = open(dir.Path(".level.phd.RunNin").c_str(), O_RDONLY);
    ASSERT_GE(running, 0);
    ASSERT_EQ(flock(running, LOCK_EX), 0); // as a write in progress holds it

    WriteThrough(target, 7);
    close(running);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{".level.phd.RunNin", ".level.phd.a1B2c",
                                                       ".level.phd.running", ".other.phd.a1B2c3",
                                                       "level.phd", "level.phd.a1B2c3"}));
    EXPECT_EQ(test::ReadFileBytes(target), Bytes{7});
    WriteThrough(target, 8);
    EXPECT_EQ(dir.Entries().front(), ".level.phd.a1B2c") << "a released lock marks a dead write";
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

TEST(PlayCommand, WordsWithTheLevelsPath) {
    EXPECT_EQ(PlayCommandWords("openlara {level}", "/l/A B.PHD"),
              (std::vector<std::string>{"openlara", "/l/A B.PHD"}));
    EXPECT_EQ(PlayCommandWords("  \"/opt/my engine/run\"  --level={level}  -w ", "/l/x.tr2"),
              (std::vector<std::string>{"/opt/my engine/run", "--level=/l/x.tr2", "-w"}))
        << "quotes keep blanks; blanks between words do not count";
    EXPECT_EQ(PlayCommandWords("engine -f", "x.phd"),
              (std::vector<std::string>{"engine", "-f", "x.phd"}))
        << "without a placeholder the level comes last";
    EXPECT_TRUE(PlayCommandWords("   ", "x.phd").empty());
}

} // namespace
} // namespace morvane
