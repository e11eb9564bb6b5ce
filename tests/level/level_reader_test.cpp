#include "level/assembled_level.h"

#include "io/binary_reader.h"
#include "io/io_error.h"
#include "level/level_format.h"
#include "level/level_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

namespace morvane {
namespace {

using test::AssembledLevel;
using test::AssembleLevel;
using test::AssembleOptions;
using test::Bytes;
using test::TempDir;
using ::testing::HasSubstr;

std::string FileNameFor(int32_t kind) {
    switch (kind) {
    case FormatTUB:
        return "LEVEL1.TUB";
    case FormatTR2:
        return "level.tr2";
    case FormatTR3:
        return "level.tr3";
    default:
        return "LEVEL1.PHD";
    }
}

bool IsEmpty(const TLevelData& level) {
    return !level.HasSignature() && level.Version == 0 && level.FormatKind == 0 &&
           level.NumRooms == 0 && level.NumTextiles == 0 && level.Textile8.empty() &&
           level.Textile16.empty() && level.Samples.empty() && level.NumFloorData == 0;
}

ReadResult ReadBytes(TLevelData& level, const Bytes& bytes, const std::string& name) {
    BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
    return ReadLevel(level, reader, name);
}

TEST(LevelFormat, KindFollowsVersionAndCaseExactTubName) {
    EXPECT_EQ(FormatKindFor(VersionTR1, "LEVEL1.PHD"), FormatTR1);
    EXPECT_EQ(FormatKindFor(VersionTR1, "LEVEL1.TUB"), FormatTUB);
    EXPECT_EQ(FormatKindFor(VersionTR1, "a.tub.phd"), FormatTUB);
    EXPECT_EQ(FormatKindFor(VersionTR1, "dir.tub/level.phd"), FormatTR1) << "a folder's name";
    EXPECT_EQ(FormatKindFor(VersionTR1, "dir.phd/level.tub"), FormatTUB);
    EXPECT_EQ(FormatKindFor(VersionTR1, "Level1.Tub"), FormatTR1);
    EXPECT_EQ(FormatKindFor(VersionTR2, "x.tub"), FormatTR2);
    EXPECT_EQ(FormatKindFor(VersionTR3, "x"), FormatTR3);
    EXPECT_EQ(FormatKindFor(VersionTR3Alt, "x"), FormatTR3);
    EXPECT_EQ(FormatKindFor(33, "x.phd"), FormatNone);
}

class LevelReaderLayouts : public ::testing::TestWithParam<int32_t> {};

TEST_P(LevelReaderLayouts, ReadsEveryFieldOfItsLayout) {
    const int32_t kind = GetParam();
    const bool second = UsesSecondGameRecords(kind);
    TempDir dir;
    const std::string path = dir.Path(FileNameFor(kind));
    test::WriteFileBytes(path, AssembleLevel(kind, {.Textiles = 1, .Rooms = 2}).File);

    auto level = std::make_unique<TLevelData>();
    level->LastBaseLevelName = "earlier";
    ASSERT_EQ(ReadLevelFile(*level, path).Status, ReadStatus::Done);
    const TLevelData& l = *level;
    EXPECT_TRUE(l.HasSignature());
    EXPECT_EQ(l.FormatKind, kind);
    EXPECT_EQ(l.LastBaseLevelName, "") << "the caller names the base level it took";
    EXPECT_EQ(l.NumTextiles, 1u);
    EXPECT_EQ(l.TextileBytes, 65536u);
    ASSERT_EQ(l.Textile8.size(), 65536u);
    EXPECT_EQ(l.Textile8[1], 8);
    EXPECT_EQ(l.Textile16.size(), second ? 131072u : 0u);
    if (second) {
        EXPECT_EQ(l.Textile16[0], 9);
        EXPECT_EQ(l.Palette16[1], 0x41);
    }
    EXPECT_EQ(l.SpareLong, test::AssembledSpareLong);
    for (int i = 0; i < 768; ++i) {
        ASSERT_EQ(l.Palette[i], i % 64) << "palette byte " << i << " taken from the wrong place";
    }

    ASSERT_EQ(l.NumRooms, 2);
    const TLevelRoom& room = l.Rooms[0];
    EXPECT_EQ(+room.RoomInfo.X, 1024);
    EXPECT_EQ(+l.Rooms[1].RoomInfo.Z, 2049);
    EXPECT_EQ(+room.RoomInfo.YTop, -3072);
    EXPECT_EQ(room.NumDataWords, second ? 27u : 23u);
    ASSERT_EQ(room.NumVertices, 2);
    EXPECT_EQ(+room.Vertices1[1].X, 4);
    EXPECT_EQ(room.Vertices1[1].Lighting, 0x0A00);
    EXPECT_EQ(+room.Vertices2[1].Z, 6);
    EXPECT_EQ(room.Vertices2[0].Lighting, 0x1F00);
    // Each layout fills the other one: the first game's vertices get fixed extra fields.
    EXPECT_EQ(room.Vertices2[0].Attributes, second ? 0x1234 : 0x0010);
    EXPECT_EQ(room.Vertices2[0].Lighting2, second ? 0x5678 : 15855);
    EXPECT_EQ(room.NumRectangles, 1);
    EXPECT_EQ(room.Rectangles[0].Texture, 7);
    EXPECT_EQ(room.NumTriangles, 1);
    EXPECT_EQ(room.Triangles[0].Texture, 9);
    EXPECT_EQ(room.Sprites[0].Bytes[3], 0xA3);
    EXPECT_EQ(room.NumPortals, 1);
    EXPECT_EQ(room.Portals[0].AdjoiningRoom, 0x2120);
    EXPECT_EQ(room.NumZSectors, 2);
    EXPECT_EQ(room.NumXSectors, 3);
    EXPECT_EQ(room.Sectors[5].FloorDataIndex, 5);
    EXPECT_EQ(room.Sectors[5].CeilingHeight, static_cast<int8_t>(0xF5));
    EXPECT_EQ(room.AmbientIntensity, 0x1234);
    EXPECT_EQ(room.AmbientIntensity2, second ? 0x0777 : 0);
    EXPECT_EQ(room.LightMode, kind == FormatTR2 ? 2 : 0) << "only the second game has LightMode";
    EXPECT_EQ(room.NumLights, 1);
    EXPECT_EQ(second ? room.Lights2[0].Bytes[23] : room.Lights1[0].Bytes[17], second ? 0x67 : 0x61);
    EXPECT_EQ(second ? room.RoomStatics2[0].Bytes[19] : room.RoomStatics1[0].Bytes[17],
              second ? 0x73 : 0x71);
    EXPECT_EQ(room.AlternateRoom, -1);
    EXPECT_EQ(room.RoomFlags, 0x0021);
    EXPECT_EQ(room.RoomExtra[2], kind == FormatTR3 ? 3 : 0);

    EXPECT_EQ(l.NumFloorData, 3u);
    EXPECT_EQ(l.FloorData[2], 0x1514);
    EXPECT_EQ(l.NumFrames, 3u);
    ASSERT_EQ(l.NumObjectTextures, 2u) << "the third game keeps its object textures late";
    EXPECT_EQ(+l.ObjectTextures[1].Vertices[3].YPixel, static_cast<uint8_t>(0x70 + 39));
    EXPECT_EQ(l.NumCameras, 1u);
    EXPECT_EQ(l.NumBoxes, 2u);
    EXPECT_EQ(l.NumZones, 2u);
    if (second) {
        EXPECT_EQ(l.Boxes2[1].OverlapIndex, 0x2E2D);
        for (int a = 0; a < 10; ++a) {
            EXPECT_EQ(l.Zones[a][1], 0x0A01 + 2 * a) << "zone array " << a;
        }
    } else {
        EXPECT_EQ(l.Boxes1[1].OverlapIndex, 0x4645);
        const int fileOrder[6] = {0, 1, 4, 5, 6, 9};
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(l.Zones[fileOrder[i]][0], 0x0A00 + 2 * i) << "zone array " << fileOrder[i];
        }
        for (int a : {2, 3, 7, 8}) {
            EXPECT_EQ(l.Zones[a][0], 0) << "the first game has no zone array " << a;
            EXPECT_EQ(l.Zones[a][1], 0) << "the first game has no zone array " << a;
        }
    }
    ASSERT_EQ(l.NumItems, 1u);
    EXPECT_EQ(+l.Items1[0].X, 1000);
    EXPECT_EQ(+l.Items2[0].Y, -256);
    EXPECT_EQ(l.Items1[0].Flags, 0x3E00);
    EXPECT_EQ(l.Items2[0].Flags, 0x3E00);
    EXPECT_EQ(l.Items1[0].Intensity, 0x1234);
    EXPECT_EQ(l.Items2[0].Intensity2, second ? 0x5678 : 0);
    EXPECT_EQ(l.LightMap[8191], static_cast<uint8_t>(0x33 + 8191));
    EXPECT_EQ(l.NumDemoData, 3);
    EXPECT_EQ(l.SoundMap[second ? 739 : 511], static_cast<uint8_t>(0x36 + (second ? 739 : 511)));
    EXPECT_EQ(l.NumSamples, second ? 0u : 5u);
    EXPECT_EQ(l.Samples.size(), second ? 0u : 5u);
    EXPECT_EQ(l.NumSampleIndices, 2u);
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, LevelReaderLayouts,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

TEST(LevelReader, NameDecidesThePaletteOfVersion32) {
    TempDir dir;
    auto level = std::make_unique<TLevelData>();
    const Bytes tub = AssembleLevel(FormatTUB).File;
    for (const char* name : {"LEVEL1.TUB", "a.tub.phd"}) {
        test::WriteFileBytes(dir.Path(name), tub);
        ASSERT_EQ(ReadLevelFile(*level, dir.Path(name)).Status, ReadStatus::Done) << name;
        EXPECT_EQ(level->FormatKind, FormatTUB) << name;
        EXPECT_EQ(level->Palette[767], 767 % 64) << name;
    }
    test::WriteFileBytes(dir.Path("Level1.Tub"), AssembleLevel(FormatTR1).File);
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("Level1.Tub")).Status, ReadStatus::Done);
    EXPECT_EQ(level->FormatKind, FormatTR1);
    EXPECT_EQ(level->Palette[767], 767 % 64);
}

TEST(LevelReader, MissingFileAndUnknownVersionLeaveTheRecordEmpty) {
    TempDir dir;
    auto level = std::make_unique<TLevelData>();
    test::WriteFileBytes(dir.Path("full.tr2"), AssembleLevel(FormatTR2, {.Textiles = 1}).File);
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("full.tr2")).Status, ReadStatus::Done);

    const ReadResult absent = ReadLevelFile(*level, dir.Path("absent.phd"));
    EXPECT_EQ(absent.Status, ReadStatus::Missing);
    EXPECT_EQ(absent.Text, "Level file \"" + dir.Path("absent.phd") + "\" not found");
    EXPECT_TRUE(IsEmpty(*level));

    Bytes v33 = AssembleLevel(FormatTR1, {.Textiles = 1}).File;
    v33[0] = 33;
    test::WriteFileBytes(dir.Path("v33.phd"), v33);
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("full.tr2")).Status, ReadStatus::Done);
    const ReadResult v33Read = ReadLevelFile(*level, dir.Path("v33.phd"));
    EXPECT_EQ(v33Read.Status, ReadStatus::OtherKind);
    EXPECT_EQ(v33Read.Text, "Level file \"" + dir.Path("v33.phd") +
                                "\" is not a level of the supported games (unknown version code)");
    EXPECT_TRUE(IsEmpty(*level));
}

TEST(LevelReader, ASecondReadKeepsOnlyItsOwnBuffers) {
    TempDir dir;
    auto level = std::make_unique<TLevelData>();
    test::WriteFileBytes(dir.Path("a.tr2"), AssembleLevel(FormatTR2, {.Textiles = 2}).File);
    test::WriteFileBytes(dir.Path("b.phd"), AssembleLevel(FormatTR1, {.Textiles = 1}).File);
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("a.tr2")).Status, ReadStatus::Done);
    EXPECT_EQ(level->Textile16.size(), 2u * 131072);
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("b.phd")).Status, ReadStatus::Done);
    EXPECT_EQ(level->Textile8.size(), 65536u);
    EXPECT_TRUE(level->Textile16.empty());
    EXPECT_EQ(level->Samples.size(), 5u);
}

// Every prefix of a file ends early somewhere: each must be refused as a short file and leave
// the record empty, whichever section the cut falls in.
TEST_P(LevelReaderLayouts, EveryTruncationIsRefusedCleanly) {
    const Bytes file = AssembleLevel(GetParam()).File;
    auto level = std::make_unique<TLevelData>();
    const std::string expected =
        "Level file \"" + FileNameFor(GetParam()) + "\" refused: " + ReadBeyondEndText;
    for (std::size_t length = 0; length < file.size(); ++length) {
        Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        try {
            ReadBytes(*level, cut, FileNameFor(GetParam()));
            FAIL() << "a file cut at " << length << " of " << file.size() << " bytes was read";
        } catch (const IoError& e) {
            ASSERT_EQ(e.what(), expected) << "cut at " << length;
        }
        ASSERT_TRUE(IsEmpty(*level)) << "cut at " << length;
    }
    EXPECT_EQ(ReadBytes(*level, file, FileNameFor(GetParam())).Status, ReadStatus::Done);
}

TEST_P(LevelReaderLayouts, CountsBeyondCapacityAreRefusedNamingFieldAndLimit) {
    const AssembledLevel assembled = AssembleLevel(GetParam());
    auto level = std::make_unique<TLevelData>();
    ASSERT_GE(assembled.Counts.size(), 30u);
    for (const auto& count : assembled.Counts) {
        Bytes file = assembled.File;
        if (count.Name.starts_with("NumZSectors")) {
            const uint16_t grid[2] = {33, 32}; // 1056 sectors
            std::memcpy(&file[count.Offset], grid, 4);
        } else {
            uint32_t tooMany = count.Limit + 1;
            std::memcpy(&file[count.Offset], &tooMany, count.Width);
        }
        try {
            ReadBytes(*level, file, FileNameFor(GetParam()));
            FAIL() << count.Name << " beyond its limit was accepted";
        } catch (const IoError& e) {
            EXPECT_THAT(e.what(), HasSubstr(count.Name));
            EXPECT_THAT(e.what(), HasSubstr("limit of " + std::to_string(count.Limit)));
        }
        EXPECT_TRUE(IsEmpty(*level)) << count.Name;
    }
}

// Random files behind a valid version code, and random changes to a valid file: each is read
// or refused with an IoError, never anything else (the sanitizer build checks the memory).
TEST_P(LevelReaderLayouts, RandomAndDamagedFilesNeverCrash) {
    const Bytes valid = AssembleLevel(GetParam()).File;
    std::mt19937 random(1234 + GetParam());
    auto level = std::make_unique<TLevelData>();
    int refused = 0;
    for (int round = 0; round < 600; ++round) {
        Bytes file;
        if (round % 2 == 0) {
            file.assign(valid.begin(), valid.begin() + 4);
            file.resize(4 + random() % 3000);
            for (std::size_t i = 4; i < file.size(); ++i) {
                file[i] = static_cast<uint8_t>(random());
            }
        } else {
            file = valid;
            for (int flips = 1 + random() % 8; flips > 0; --flips) {
                file[4 + random() % (file.size() - 4)] = static_cast<uint8_t>(random());
            }
        }
        try {
            ReadBytes(*level, file, FileNameFor(GetParam()));
        } catch (const IoError&) {
            ++refused;
            ASSERT_TRUE(IsEmpty(*level));
        }
    }
    EXPECT_GT(refused, 300) << "random files should mostly be refused";
}

} // namespace
} // namespace morvane
