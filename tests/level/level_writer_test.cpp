#include "level/assembled_level.h"

#include "io/io_error.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

using test::AssembleLevel;
using test::Bytes;
using test::TempDir;

std::unique_ptr<TLevelData> ReadAssembled(TempDir& dir, int32_t kind, const std::string& name,
                                          const test::AssembleOptions& options = {}) {
    test::WriteFileBytes(dir.Path(name), AssembleLevel(kind, options).File);
    auto level = std::make_unique<TLevelData>();
    EXPECT_EQ(ReadLevelFile(*level, dir.Path(name)).Status, ReadStatus::Done);
    return level;
}

class LevelWriterLayouts : public ::testing::TestWithParam<int32_t> {};

TEST_P(LevelWriterLayouts, ReadThenWrittenUnchangedGivesTheSameBytes) {
    const int32_t kind = GetParam();
    const std::string name = kind == FormatTUB ? "in.tub" : "in.lvl";
    TempDir dir;
    auto level = ReadAssembled(dir, kind, name, {.Textiles = 1, .Rooms = 2});
    const std::string out = dir.Path(kind == FormatTUB ? "out.TUB" : "out.lvl");
    ASSERT_EQ(WriteLevelFile(*level, out), LevelWritten);
    EXPECT_EQ(test::ReadFileBytes(out), AssembleLevel(kind, {.Textiles = 1, .Rooms = 2}).File);
}

TEST_P(LevelWriterLayouts, ARecordTakenFromAnotherWritesTheSameLevel) {
    const int32_t kind = GetParam();
    const std::string name = kind == FormatTUB ? "in.tub" : "in.lvl";
    TempDir dir;
    auto read = ReadAssembled(dir, kind, name, {.Textiles = 2, .Rooms = 3});
    auto taker = ReadAssembled(dir, kind == FormatTR1 ? FormatTR2 : FormatTR1, "other.lvl");
    read->LastBaseLevelName = "in";
    taker->TakeFrom(*read);
    EXPECT_EQ(taker->LastBaseLevelName, "in");
    read.reset(); // what was taken no longer depends on the record it came from
    const std::string out = dir.Path(kind == FormatTUB ? "out.TUB" : "out.lvl");
    ASSERT_EQ(WriteLevelFile(*taker, out), LevelWritten);
    EXPECT_EQ(test::ReadFileBytes(out), AssembleLevel(kind, {.Textiles = 2, .Rooms = 3}).File);
}

TEST_P(LevelWriterLayouts, OnlyTheRoomDataWordCountsAreRecomputed) {
    const int32_t kind = GetParam();
    TempDir dir;
    const std::string name = kind == FormatTUB ? "in.tub" : "in.lvl";
    auto level = ReadAssembled(dir, kind, name, {.CorrectDataWords = false});
    EXPECT_EQ(level->Rooms[0].NumDataWords, 0u);
    const std::string out = dir.Path(name + ".out");
    ASSERT_EQ(WriteLevelFile(*level, out), LevelWritten);
    const auto wrong = AssembleLevel(kind, {.CorrectDataWords = false});
    const Bytes written = test::ReadFileBytes(out);
    ASSERT_EQ(written.size(), wrong.File.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        bool inCount = i >= wrong.FirstDataWordsOffset && i < wrong.FirstDataWordsOffset + 4;
        if (!inCount) {
            ASSERT_EQ(written[i], wrong.File[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(level->Rooms[0].NumDataWords, UsesSecondGameRecords(kind) ? 27u : 23u);
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, LevelWriterLayouts,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

TEST(LevelWriter, OutputNameMovesTheFirstGamePalette) {
    TempDir dir;
    auto level = ReadAssembled(dir, FormatTR1, "LEVEL.PHD");
    ASSERT_EQ(WriteLevelFile(*level, dir.Path("LEVEL.TUB")), LevelWritten);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("LEVEL.TUB")), AssembleLevel(FormatTUB).File);
    ASSERT_EQ(WriteLevelFile(*level, dir.Path("AGAIN.PHD")), LevelWritten);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("AGAIN.PHD")), AssembleLevel(FormatTR1).File);
}

TEST(LevelWriter, DataWordCountsFollowTheVertexSize) {
    auto level = std::make_unique<TLevelData>();
    TLevelRoom& room = level->Rooms[0];
    room.NumVertices = 4;
    room.NumRectangles = 1;
    EXPECT_EQ(RoomDataWords(room, FormatTR1), 25u);
    EXPECT_EQ(RoomDataWords(room, FormatTUB), 25u);
    EXPECT_EQ(RoomDataWords(room, FormatTR2), 33u);
    EXPECT_EQ(RoomDataWords(room, FormatTR3), 33u);
}

TEST(LevelWriter, UnknownVersionWritesNothingAndKeepsTheTarget) {
    TempDir dir;
    auto level = std::make_unique<TLevelData>();
    level->Version = 33;
    test::WriteFileBytes(dir.Path("keep.phd"), {1, 2, 3});
    EXPECT_EQ(WriteLevelFile(*level, dir.Path("keep.phd")), LevelWriteVersionUnknown);
    EXPECT_EQ(level->Version, 0u);
    EXPECT_EQ(test::ReadFileBytes(dir.Path("keep.phd")), (Bytes{1, 2, 3}));
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"keep.phd"});
}

TEST(LevelWriter, AFailedWriteLeavesThePreviousFileAndNoTemporary) {
    TempDir dir;
    auto level = ReadAssembled(dir, FormatTR2, "in.tr2", {.Textiles = 1});
    test::WriteFileBytes(dir.Path("out.tr2"), {9, 9});
    level->Textile16.resize(10); // a record that no longer holds its pages: the write fails
    EXPECT_ANY_THROW(WriteLevelFile(*level, dir.Path("out.tr2")));
    EXPECT_EQ(test::ReadFileBytes(dir.Path("out.tr2")), (Bytes{9, 9}));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"in.tr2", "out.tr2"}));

    try {
        WriteLevelFile(*level, dir.Path("missing-folder/out.tr2"));
        FAIL() << "a level was written into a folder that does not exist";
    } catch (const IoError& e) {
        EXPECT_EQ(e.what(), "Level file \"" + dir.Path("missing-folder/out.tr2") +
                                "\" not written: the folder \"" + dir.Path("missing-folder") +
                                "\" does not exist");
    }
}

TEST(PrepareLevelForWrite, ThirdGameVertexLightsAndAttributes) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = FormatTR3;
    level->NumRooms = 3;
    const uint16_t flags[3] = {0x00, RoomFlagWater, 0x80};
    for (int r = 0; r < 3; ++r) {
        TLevelRoom& room = level->Rooms[r];
        room.RoomFlags = flags[r];
        room.NumVertices = 1;
        room.Vertices1[0] = {10, -20, 30, 10 << 8};
    }
    PrepareLevelForWrite(*level);
    const uint16_t attributes[3] = {0x0010, 0x2010, 0x2000};
    for (int r = 0; r < 3; ++r) {
        const TVertex2& v = level->Rooms[r].Vertices2[0];
        EXPECT_EQ(v.Lighting2, 22197) << "room " << r;
        EXPECT_EQ(v.Attributes, attributes[r]) << "room " << r;
        EXPECT_EQ(+v.X, 10);
        EXPECT_EQ(+v.Y, -20);
        EXPECT_EQ(v.Lighting, 10 << 8);
        EXPECT_EQ(level->Rooms[r].AmbientIntensity2, 0);
        EXPECT_EQ(level->Rooms[r].LightMode, 3);
    }
}

TEST(PrepareLevelForWrite, SecondGameItemsBoxesAndZones) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = FormatTR2;
    level->NumRooms = 1;
    level->Rooms[0].NumVertices = 1;
    level->Rooms[0].Vertices1[0] = {1, 2, 3, 0x1000};
    level->NumItems = 1;
    level->Items1[0] = {0, 2, 5120, 16000, 6656, 0x0012, 0xFFFF, 0x3E00};
    level->Items2[0].Intensity2 = 0x4321;
    level->NumBoxes = 1;
    level->Boxes1[0] = {-1536, 2048, 1023, 1024, -512, 0x8003};
    level->NumZones = 2;
    for (auto& zone : level->Zones) {
        zone[0] = zone[1] = zone[2] = 7;
    }
    PrepareLevelForWrite(*level);

    EXPECT_EQ(level->Rooms[0].Vertices2[0].Lighting2, 0xFFFF);
    EXPECT_EQ(level->Rooms[0].Vertices2[0].Attributes, 0);
    EXPECT_EQ(level->Rooms[0].AmbientIntensity2, -1);
    const TItem2& item = level->Items2[0];
    EXPECT_EQ(item.Room, 2);
    EXPECT_EQ(+item.X, 5120);
    EXPECT_EQ(+item.Z, 6656);
    EXPECT_EQ(item.Angle, 0x0012);
    EXPECT_EQ(item.Flags, 0x3E00);
    EXPECT_EQ(item.Intensity2, 0x4321) << "the second intensity is not touched";
    const TBox2& box = level->Boxes2[0];
    EXPECT_EQ(+box.ZMin, 0xFF) << "-1536 / 1024 rounds toward zero to -1";
    EXPECT_EQ(+box.ZMax, 2);
    EXPECT_EQ(+box.XMin, 0);
    EXPECT_EQ(+box.XMax, 1);
    EXPECT_EQ(box.TrueFloor, -512);
    EXPECT_EQ(box.OverlapIndex, 0x8003);
    for (int a = 0; a < ZoneArrayCount; ++a) {
        for (int b = 0; b < 3; ++b) {
            EXPECT_EQ(level->Zones[a][b], 7) << "the zones the build made are kept";
        }
    }
}

} // namespace
} // namespace morvane
