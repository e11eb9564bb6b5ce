#include "support/test_files.h"

#include "io/io_error.h"
#include "level/level_format.h"
#include "levelbuild/side_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace morvane {
namespace {

using test::ByteBuilder;
using test::TempDir;
using ::testing::HasSubstr;

std::unique_ptr<TLevelData> LevelWithRooms(int32_t kind, int rooms) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = kind;
    level->NumRooms = static_cast<uint16_t>(rooms);
    for (int r = 0; r < rooms; ++r) {
        level->Rooms[r].NumZSectors = 3;
        level->Rooms[r].NumXSectors = 4;
    }
    level->NumFloorData = 500;
    level->NumBoxes = 4;
    return level;
}

ByteBuilder ItemsTableHead(int items, int itemSize) {
    ByteBuilder b;
    b.U8(7)
        .Raw("QUILLON", 7)
        .U32(static_cast<uint32_t>(items))
        .Pattern(std::size_t(items) * itemSize, 1);
    return b;
}

TEST(ItemsTable, MergesItemsFloorDataCamerasRoomsAndSectorLinks) {
    TempDir dir;
    auto level = LevelWithRooms(FormatTR2, 2);
    ByteBuilder b = ItemsTableHead(2, 24);
    b.U16(10);
    for (int w = 0; w < 10; ++w) {
        b.U16(static_cast<uint16_t>(0x100 + w));
    }
    b.U32(1).Pattern(16, 0x40);
    b.U16(1);                   // one room block
    b.U16(1).Pattern(4, 0x50);  // a sprite
    b.U16(1).Pattern(24, 0x60); // a light
    b.U16(0);                   // no static meshes
    b.I16(1).U8(0x01).U8(0x02); // alternate room, flags
    b.U16(2).U16(5).U16(3);     // room 2, sector 5 -> offset 3
    test::WriteFileBytes(dir.Path("a.itm"), b.Get());

    ASSERT_EQ(ReadItemsTable(*level, dir.Path("a.itm")).Status, ReadStatus::Done);
    EXPECT_EQ(level->NumItems, 2u);
    EXPECT_EQ(level->Items2[1].Flags, static_cast<uint16_t>((1 + 46) | (1 + 47) << 8));
    EXPECT_EQ(level->NumFloorData, 510u);
    EXPECT_EQ(level->FloorData[500], 0x100);
    EXPECT_EQ(level->FloorData[509], 0x109);
    EXPECT_EQ(level->NumCameras, 1u);
    EXPECT_EQ(level->Rooms[0].NumSprites, 1);
    EXPECT_EQ(level->Rooms[0].Lights2[0].Bytes[23], 0x60 + 23);
    EXPECT_EQ(level->Rooms[0].AlternateRoom, 1);
    EXPECT_EQ(level->Rooms[0].RoomFlags, 0x0201);
    EXPECT_EQ(level->Rooms[1].Sectors[4].FloorDataIndex, 503);

    const ReadResult absent = ReadItemsTable(*level, dir.Path("absent.itm"));
    EXPECT_EQ(absent.Status, ReadStatus::Missing);
    EXPECT_EQ(absent.Text, "Items file " + dir.Path("absent.itm") + " not found");
    test::WriteFileBytes(dir.Path("b.itm"), {7, 'N', 'O', 'T', 'I', 'T', 'E', 'M'});
    const ReadResult other = ReadItemsTable(*level, dir.Path("b.itm"));
    EXPECT_EQ(other.Status, ReadStatus::OtherKind);
    EXPECT_EQ(other.Text,
              "Items file " + dir.Path("b.itm") + " is not an items table; it was not merged");
}

TEST(ItemsTable, RefusesWhatTheLevelCannotHold) {
    TempDir dir;
    struct Case {
        test::Bytes File;
        const char* Expected;
    };
    ByteBuilder tooManyItems = ItemsTableHead(301, 22);
    ByteBuilder roomOutside = ItemsTableHead(0, 22);
    roomOutside.U16(0).U32(0).U16(0).U16(3).U16(1).U16(0);
    ByteBuilder sectorOutside = ItemsTableHead(0, 22);
    sectorOutside.U16(0).U32(0).U16(0).U16(1).U16(13).U16(0);
    ByteBuilder moreRooms = ItemsTableHead(0, 22);
    moreRooms.U16(0).U32(0).U16(3);
    ByteBuilder tooManyCameras = ItemsTableHead(0, 22);
    tooManyCameras.U16(0).U32(101);
    // 500 + 65100 wraps in 16 bits to word 64, in the level's own floor data.
    ByteBuilder wrappingLink = ItemsTableHead(0, 22);
    wrappingLink.U16(1).U16(0).U32(0).U16(0).U16(1).U16(1).U16(65100);
    ByteBuilder shortFile = ItemsTableHead(2, 22);
    // A room's lights and static meshes are read as the level reader reads them, with its texts.
    ByteBuilder tooManyLights = ItemsTableHead(0, 22);
    tooManyLights.U16(0).U32(0).U16(2).U16(0).U16(0).U16(0).I16(-1).U16(0).U16(0).U16(16);
    ByteBuilder tooManyStatics = ItemsTableHead(0, 22);
    tooManyStatics.U16(0).U32(0).U16(1).U16(0).U16(0).U16(51);
    const Case cases[] = {
        {tooManyLights.Get(), "refused: NumLights of room 2 is 16, above the limit of 15."},
        {tooManyStatics.Get(), "refused: NumStaticMeshes of room 1 is 51, above the limit of 50."},
        {wrappingLink.Get(), "points past the floor data (offset 65100)"},
        {shortFile.Get(), "refused: Read beyond end of file"},
        {tooManyItems.Get(), "the item count is 301, above the limit of 300"},
        {roomOutside.Get(), "names room 3, the level has rooms 1 to 2"},
        {sectorOutside.Get(), "names sector 13 of room 1, which has 12 sectors"},
        {moreRooms.Get(), "the room count (rooms of the level) is 3, above the limit of 2"},
        {tooManyCameras.Get(), "the camera count is 101"},
    };
    for (const Case& c : cases) {
        auto level = LevelWithRooms(FormatTR1, 2);
        test::WriteFileBytes(dir.Path("bad.itm"), c.File);
        try {
            ReadItemsTable(*level, dir.Path("bad.itm"));
            FAIL() << c.Expected;
        } catch (const IoError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.Expected));
            EXPECT_THAT(e.what(), HasSubstr("bad.itm"));
        }
    }
}

ByteBuilder MeshesHead(int kind, int rooms) {
    ByteBuilder b;
    b.U8(16)
        .Raw("Quillon MSH file", 16)
        .U32(static_cast<uint32_t>(kind))
        .U16(static_cast<uint16_t>(rooms));
    return b;
}

TEST(MeshesFile, ReplacesRoomGeometryAndOptionallyTheZones) {
    TempDir dir;
    auto level = LevelWithRooms(FormatTR1, 2);
    level->Zones[0][0] = 9;
    ByteBuilder b = MeshesHead(0x1234501, 1); // only the low byte of the kind counts
    b.U16(3).Pattern(3 * 8, 1).U16(1).Pattern(10, 2).U16(2).Pattern(16, 3);
    test::WriteFileBytes(dir.Path("a.msh"), b.Get());
    ASSERT_EQ(ReadMeshesFile(*level, dir.Path("a.msh")).Status, ReadStatus::Done);
    EXPECT_EQ(level->Rooms[0].NumVertices, 3);
    EXPECT_EQ(level->Rooms[0].NumTriangles, 2);
    EXPECT_EQ(level->Zones[0][0], 9) << "a file that ends after the meshes leaves the zones";

    b.U32(4);
    for (int array = 0; array < 3; ++array) {
        b.U16(static_cast<uint16_t>(array + 1)).U16(0).U16(0).U16(7);
    }
    test::WriteFileBytes(dir.Path("b.msh"), b.Get());
    ASSERT_EQ(ReadMeshesFile(*level, dir.Path("b.msh")).Status, ReadStatus::Done);
    EXPECT_EQ(level->Zones[0][0], 1);
    EXPECT_EQ(level->Zones[4][3], 7) << "the first game carries arrays 0, 1 and 4";
    EXPECT_EQ(level->NumZones, level->NumBoxes);

    test::WriteFileBytes(dir.Path("c.msh"), MeshesHead(3, 0).Get());
    const ReadResult otherLayout = ReadMeshesFile(*level, dir.Path("c.msh"));
    EXPECT_EQ(otherLayout.Status, ReadStatus::OtherLayout);
    EXPECT_EQ(otherLayout.Text, "Meshes file " + dir.Path("c.msh") +
                                    " was made for a level of another layout; it was not merged");
    test::WriteFileBytes(dir.Path("d.msh"), MeshesHead(1, 3).Get());
    try {
        ReadMeshesFile(*level, dir.Path("d.msh"));
        FAIL() << "a meshes file with more rooms than the level was read";
    } catch (const IoError& e) {
        EXPECT_THAT(e.what(), HasSubstr("is 3, above the limit of 2"));
    }
}

// Side files are read only when they are regular files within the size limit; every refusal
// names the file. (The large file is sparse: it takes no room on the disk.)
TEST(SideFiles, OnlyRegularFilesWithinTheSizeLimit) {
    TempDir dir;
    auto level = LevelWithRooms(FormatTR1, 2);
    ASSERT_EQ(mkfifo(dir.Path("pipe.itm").c_str(), 0600), 0);
    const std::string large = dir.Path("large.msh");
    test::WriteFileBytes(large, MeshesHead(1, 0).Get());
    std::filesystem::resize_file(large, MaxSideFileBytes + 1);
    const struct {
        std::function<ReadResult()> Read;
        std::string Expected;
    } cases[] = {
        {[&] { return ReadItemsTable(*level, dir.Path("pipe.itm")); },
         "Items file \"" + dir.Path("pipe.itm") + "\" refused: it is a pipe, not a regular file"},
        {[&] { return ReadItemsTable(*level, dir.Root().string()); },
         "Items file \"" + dir.Root().string() + "\" refused: it is a folder, not a regular file"},
        {[&] { return ReadMeshesFile(*level, "/dev/zero"); },
         "Meshes file \"/dev/zero\" refused: it is a device, not a regular file"},
        {[&] { return ReadMeshesFile(*level, large); },
         "Meshes file \"" + large + "\" refused: its size is 33554433 bytes, above the limit of " +
             "33554432."},
    };
    for (const auto& c : cases) {
        try {
            c.Read();
            ADD_FAILURE() << "read: " << c.Expected;
        } catch (const IoError& e) {
            EXPECT_EQ(e.what(), c.Expected);
        }
    }
    std::filesystem::resize_file(large, MaxSideFileBytes);
    EXPECT_EQ(ReadMeshesFile(*level, large).Status, ReadStatus::Done) << "zeros: no zones";
}

} // namespace
} // namespace morvane
