#include "support/test_files.h"

#include "io/atomic_file.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "io/program_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

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
    EXPECT_THROW(BinaryReader::OpenFile(dir.Root().string()), IoError);
    EXPECT_TRUE(FileExists(dir.Path("data")));
    EXPECT_FALSE(FileExists(dir.Root().string())) << "a folder is not a file";
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
