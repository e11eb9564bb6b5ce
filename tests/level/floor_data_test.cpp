#include "level/check_fixture.h"

#include "level/floor_data.h"

#include <gmock/gmock.h>

namespace morvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// A level whose floor data is the given words from index 1 (word 0 is the dummy).
std::unique_ptr<TLevelData> WithWords(std::vector<uint16_t> words, int32_t kind = FormatTR1) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = kind;
    level->NumFloorData = static_cast<uint32_t>(words.size()) + 1;
    std::copy(words.begin(), words.end(), &level->FloorData[1]);
    return level;
}

TEST(FloorData, SlantsPortalsAndTheWordsOfTriggers) {
    // Floor slant X -2, Z +1; ceiling slant; portal to room 5 (0-based 4).
    auto level = WithWords({0x0002, 0x01FE, 0x0003, 0x0300, 0x8001, 0x0004});
    SectorFloorData data = ReadSectorFloorData(*level, 1);
    EXPECT_EQ(data.Problem, "");
    EXPECT_TRUE(data.HasFloorSlant);
    EXPECT_EQ(data.FloorSlantX, -2);
    EXPECT_EQ(data.FloorSlantZ, 1);
    EXPECT_TRUE(data.HasCeilingSlant);
    EXPECT_EQ(data.PortalRoom, 4);
    EXPECT_FALSE(data.HiddenPortal);
    EXPECT_EQ(ReadSectorFloorData(*level, 5).PortalRoom, 4) << "a portal first in its list";
    EXPECT_EQ(ReadSectorFloorData(*level, 0).PortalRoom, -1) << "index 0: no list";

    // The game looks for the portal only first or after the slants in their order: not after
    // a ceiling slant followed by a floor slant, a kill or a trigger.
    for (const std::vector<uint16_t>& words :
         {std::vector<uint16_t>{0x0003, 0x0000, 0x0002, 0x0000, 0x8001, 0x0001},
          std::vector<uint16_t>{0x0005, 0x8001, 0x0001},
          std::vector<uint16_t>{0x0004, 0x3E00, 0x8000, 0x8001, 0x0001}}) {
        SectorFloorData hidden = ReadSectorFloorData(*WithWords(words), 1);
        EXPECT_EQ(hidden.Problem, "");
        EXPECT_EQ(hidden.PortalRoom, -1) << words[0];
        EXPECT_TRUE(hidden.HiddenPortal) << words[0];
    }

    // A key trigger (type 3) names its item in the word after the setup; actions on items
    // (0 and 6) and cameras (1 with its extra word, 2) follow.
    auto triggers =
        WithWords({0x8304, 0x3E00, 0x0007, 0x0002, 0x1805, 0x0403, 0x0000, 0x0801, 0xA400});
    data = ReadSectorFloorData(*triggers, 1);
    EXPECT_EQ(data.Problem, "");
    EXPECT_THAT(data.TriggeredItems, ElementsAre(7, 2, 5));
    EXPECT_THAT(data.TriggeredCameras, ElementsAre(3, 1));
}

TEST(FloorData, TheFunctionsEachGameKnows) {
    const std::vector<uint16_t> climb{0x8006};
    EXPECT_THAT(ReadSectorFloorData(*WithWords(climb, FormatTUB), 1).Problem,
                HasSubstr("holds function 6, which tub levels do not know"));
    EXPECT_EQ(ReadSectorFloorData(*WithWords(climb, FormatTR2), 1).Problem, "");
    // The first two games read the whole low byte as the function, the third its low 5 bits.
    const std::vector<uint16_t> highBits{0x8025};
    EXPECT_THAT(ReadSectorFloorData(*WithWords(highBits, FormatTR2), 1).Problem,
                HasSubstr("function 37"));
    EXPECT_EQ(ReadSectorFloorData(*WithWords(highBits, FormatTR3), 1).Problem, "");
    // Third game: triangulation 7..18 carries a word, 19..21 none, 22 is unknown.
    EXPECT_EQ(
        ReadSectorFloorData(*WithWords({0x0012, 0x5555, 0x0015, 0x8013}, FormatTR3), 1).Problem,
        "");
    EXPECT_THAT(ReadSectorFloorData(*WithWords({0x8016}, FormatTR3), 1).Problem,
                HasSubstr("function 22"));
}

TEST(FloorData, TheFloorUnderAPointAsTheGameFindsIt) {
    auto level = test::TwoRoomLevel();
    // Room 1's column 2, row 2 (x 1024..2048, z 1024..2048): floor slant X +2, Z -1.
    level->FloorData[5] = 0x8002;
    level->FloorData[6] = 0xFF02;
    level->NumFloorData = 7;
    level->Rooms[0].Sectors[1 * 4 + 1].FloorDataIndex = 5;
    const struct {
        int X, Z, Y;
    } points[] = {
        {1024, 1024, 511},       // a positive X slant lowers the -x edge by 2 clicks
        {2047, 1024, 0},         // and leaves the +x edge at the floor's height
        {2047, 2047, 255},       // a negative Z slant lowers the +z edge by a click
        {1024 + 512, 1024, 255}, // halfway along x
        {1024, 2047, 511 + 255}, // both
    };
    for (const auto& p : points) {
        const FloorUnder floor = FindFloorUnder(*level, 0, p.X, p.Z);
        EXPECT_EQ(floor.Problem, "");
        EXPECT_EQ(floor.FloorY, p.Y) << p.X << ", " << p.Z;
        EXPECT_EQ(floor.Room, 0);
        EXPECT_FALSE(floor.Wall);
    }

    // Through room 1's doorway (column 4) into room 2, and down from there into room 3.
    level->NumRooms = 3;
    TLevelRoom& below = level->Rooms[2];
    below.RoomInfo = {2048, 0, 4096, 0};
    below.NumXSectors = below.NumZSectors = 4;
    for (auto& s : below.Sectors) {
        s = {0, 0, NoRoom, 16, NoRoom, 0};
    }
    level->Rooms[1].Sectors[1 * 4 + 1].RoomBelow = 2; // room 2's column 2, row 2
    FloorUnder pit = FindFloorUnder(*level, 0, 3584, 1536);
    EXPECT_EQ(pit.Problem, "");
    EXPECT_EQ(pit.Room, 2);
    EXPECT_EQ(pit.Sector, 1 * 4 + 1);
    EXPECT_EQ(pit.FloorY, 16 * 256);

    FloorUnder wall = FindFloorUnder(*level, 0, 512, 512);
    EXPECT_TRUE(wall.Wall);
    EXPECT_THAT(FindFloorUnder(*level, 0, 5000, 512).Problem, HasSubstr("outside room 1"));
    // Room 2's doorway back to room 1 in the same place: the portals go round in a circle.
    level->Rooms[1].Sectors[1 * 4 + 1].FloorDataIndex = 3;
    EXPECT_THAT(FindFloorUnder(*level, 0, 3584, 1536).Problem, HasSubstr("round in a circle"));
    EXPECT_THAT(FindFloorUnder(*level, 9, 0, 0).Problem, HasSubstr("room 10 does not exist"));
}

TEST(FloorDataEntries, EveryFunctionIsReadOrSkippedToTheEndOfItsList) {
    // Floor slant, ceiling slant, portal to room 7, a trigger whose camera action's second word
    // ends the actions, a kill entry, then a second list right behind.
    auto level = WithWords({0x0002, 0x00FE, 0x0003, 0xFD02, 0x0001, 7, 0x0004, 0x0000, 0x0005,
                            0x0403, 0x8002, 0x8005, 0x8001, 3});
    const SectorFloorData all = ReadSectorFloorData(*level, 1);
    EXPECT_EQ(all.FloorSlantWord, 0x00FE);
    EXPECT_EQ(all.CeilingSlantWord, 0xFD02);
    EXPECT_EQ(all.PortalRoom, 7);
    EXPECT_EQ(all.OtherEntries, 2) << "the trigger and the kill entry";
    EXPECT_EQ(all.Problem, "");

    const SectorFloorData next = ReadSectorFloorData(*level, 13);
    EXPECT_EQ(next.PortalRoom, 3);
    EXPECT_FALSE(next.HasFloorSlant);
    EXPECT_EQ(next.Problem, "");

    const SectorFloorData none = ReadSectorFloorData(*level, 0);
    EXPECT_FALSE(none.HasFloorSlant || none.HasCeilingSlant || none.PortalRoom >= 0 ||
                 none.OtherEntries > 0 || !none.Problem.empty())
        << "index 0 holds no entries, whatever word 0 says";
}

TEST(FloorDataEntries, TheCameraActionsSecondWordDecidesTheEndOfTheActions) {
    // The camera's first word has the end bit set by chance; its second word does not, so the
    // list goes on to the portal (which, after a trigger, the game does not see).
    auto level = WithWords({0x0004, 0x0000, 0x8403, 0x0002, 0x8005, 0x8001, 9});
    const SectorFloorData read = ReadSectorFloorData(*level, 1);
    EXPECT_TRUE(read.HiddenPortal);
    EXPECT_EQ(read.OtherEntries, 1);
    EXPECT_EQ(read.Problem, "");
}

TEST(FloorDataEntries, ThirdGameEntriesAreSkippedByTheirSize) {
    // A triangulated floor (one word), climbable walls (none), monkey swing (none), then a
    // floor slant.
    auto level = WithWords({0x0107, 0x1234, 0x0F06, 0x0013, 0x8002, 0x0200}, FormatTR3);
    const SectorFloorData read = ReadSectorFloorData(*level, 1);
    EXPECT_EQ(read.FloorSlantWord, 0x0200);
    EXPECT_EQ(read.OtherEntries, 3);
    EXPECT_EQ(read.Problem, "");
}

TEST(FloorDataEntries, BrokenListsKeepWhatWasReadAndSaySo) {
    struct Case {
        const char* What;
        std::vector<uint16_t> Words;
    };
    const Case cases[] = {
        {"an unknown function", {0x0002, 0x0100, 0x001F, 0x0000}},
        {"function 0", {0x0002, 0x0100, 0x8000}},
        {"a list without an end bit", {0x0002, 0x0100, 0x0005}},
        {"a slant without its word", {0x0002, 0x0100, 0x8003}},
        {"a trigger running off the data", {0x0002, 0x0100, 0x8004, 0x0000, 0x0001}},
    };
    for (const Case& c : cases) {
        auto level = WithWords(c.Words);
        const SectorFloorData read = ReadSectorFloorData(*level, 1);
        EXPECT_NE(read.Problem, "") << c.What;
        EXPECT_EQ(read.FloorSlantWord, 0x0100) << c.What << ": the floor slant before it is kept";
    }
    auto level = WithWords({0x8001, 4});
    EXPECT_NE(ReadSectorFloorData(*level, 5).Problem, "") << "an index beyond the floor data";
}

} // namespace
} // namespace morvane
