#include "level/check_fixture.h"
#include "support/test_files.h"

#include "level/engine_limits.h"
#include "level/level_check.h"
#include "level/level_reader.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

namespace morvane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::vector<std::string> Lines(const TLevelData& level, const LevelCheckOptions& options = {}) {
    std::vector<std::string> lines;
    for (const LevelFinding& finding : CheckLevel(level, options)) {
        lines.push_back(FormatFinding(finding));
    }
    return lines;
}

TGameSector& SectorOf(TLevelData& level, int room, int column, int row) {
    TLevelRoom& r = level.Rooms[room - 1];
    return r.Sectors[(column - 1) * r.NumZSectors + (row - 1)];
}

TEST(LevelCheck, ASoundLevelOfEachLayoutHasNoFindings) {
    for (int32_t kind : {FormatTR1, FormatTUB, FormatTR2, FormatTR3}) {
        EXPECT_THAT(Lines(*test::TwoRoomLevel(kind)), IsEmpty()) << FormatKindName(kind);
    }
}

TEST(LevelCheck, FindingsNameThePlaceAndTheSeverity) {
    LevelFinding finding;
    finding.Severity = FindingSeverity::Error;
    finding.Room = 3;
    finding.RoomName = "Gallery";
    finding.Column = 4;
    finding.Row = 5;
    finding.Text = "what is wrong";
    EXPECT_EQ(FormatFinding(finding),
              "error: room 3 (Gallery), sector (column 4, row 5): what is wrong");
    LevelFinding view;
    view.Room = 2;
    view.View = 7;
    view.Text = "x";
    EXPECT_EQ(FormatFinding(view), "warning: room 2, view Door #7: x");
    LevelFinding box;
    box.Box = 12;
    box.Text = "y";
    EXPECT_EQ(FormatFinding(box), "warning: box 12: y");
    EXPECT_FALSE(HasErrors({view, box}));
    EXPECT_TRUE(HasErrors({view, finding}));

    // The build passes the rooms' names.
    auto level = test::TwoRoomLevel();
    level->Rooms[0].NumPortals = 0;
    LevelCheckOptions options;
    options.RoomNames = {"Hall", "Pool"};
    EXPECT_THAT(Lines(*level, options),
                ElementsAre(HasSubstr("warning: room 2 (Pool), portal 1: the portal to room 1 "
                                      "(Hall) has no portal back from room 1 (Hall)")));
}

TEST(LevelCheck, MalformedFloorDataIsAnErrorOncePerList) {
    struct Case {
        const char* What;
        std::vector<uint16_t> Words; // appended at word 5, the list of room 1's sector (2, 2)
        const char* Expected;
    };
    const Case cases[] = {
        {"unknown function", {0x8009}, "holds function 9, which tr1 levels do not know"},
        {"climb in the first game", {0x8006}, "holds function 6"},
        {"no end mark", {0x0002, 0x0101}, "runs off the end of the floor data before an entry"},
        {"slant word missing", {0x8002}, "in an entry's data word"},
        {"trigger actions off the end", {0x8004, 0x3E00, 0x0000}, "in a trigger's action list"},
        {"camera word missing", {0x8004, 0x3E00, 0x0400}, "in a camera action"},
        {"switch without its item", {0x8204, 0x3E00}, "in a trigger's item word"},
    };
    for (const Case& c : cases) {
        auto level = test::TwoRoomLevel();
        std::copy(c.Words.begin(), c.Words.end(), &level->FloorData[5]);
        level->NumFloorData = 5 + static_cast<uint32_t>(c.Words.size());
        SectorOf(*level, 1, 2, 2).FloorDataIndex = 5;
        SectorOf(*level, 1, 3, 3).FloorDataIndex = 5; // the same list: reported once
        const std::vector<LevelFinding> found = CheckLevel(*level);
        ASSERT_EQ(found.size(), 1u) << c.What;
        EXPECT_EQ(found[0].Severity, FindingSeverity::Error) << c.What;
        EXPECT_EQ(found[0].Room, 1) << c.What;
        EXPECT_EQ(found[0].Column, 2) << c.What;
        EXPECT_EQ(found[0].Row, 2) << c.What;
        EXPECT_THAT(found[0].Text, HasSubstr(c.Expected)) << c.What;
    }

    auto beyond = test::TwoRoomLevel();
    SectorOf(*beyond, 2, 3, 2).FloorDataIndex = 5;
    EXPECT_THAT(Lines(*beyond),
                ElementsAre("error: room 2, sector (column 3, row 2): its floor-data index 5 lies "
                            "beyond the 5 floor-data words: the game misreads the floor here. "
                            "Rebuild the level's floor data."));

    // The second game knows climbing walls, the third its triangulation (one word) and monkey
    // swings.
    for (auto [kind, words] :
         {std::pair{FormatTR2, std::vector<uint16_t>{0x8006}},
          std::pair{FormatTR3, std::vector<uint16_t>{0x0007, 0x1234, 0x8013}}}) {
        auto level = test::TwoRoomLevel(kind);
        std::copy(words.begin(), words.end(), &level->FloorData[5]);
        level->NumFloorData = 5 + static_cast<uint32_t>(words.size());
        SectorOf(*level, 1, 2, 2).FloorDataIndex = 5;
        EXPECT_THAT(Lines(*level), IsEmpty()) << FormatKindName(kind);
    }
}

TEST(LevelCheck, TriggersMustNameItemsAndCamerasTheLevelHas) {
    auto level = test::TwoRoomLevel();
    // A switch (type 2) on item 1 opening item 2, then a camera 1 action.
    const uint16_t words[] = {0x8204, 0x3E00, 0x0000, 0x0001, 0x0400, 0x8000};
    std::copy(std::begin(words), std::end(words), &level->FloorData[5]);
    level->NumFloorData = 11;
    SectorOf(*level, 1, 2, 3).FloorDataIndex = 5;
    const std::vector<std::string> lines = Lines(*level);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[0], HasSubstr("sector (column 2, row 3): a trigger here names item 2, but "
                                    "the level has 1 item"));
    EXPECT_THAT(lines[1], HasSubstr("names camera 1, but the level has 0 cameras"));
    level->NumItems = 2;
    level->Items1[1] = {110, 0, 1536, 0, 2560, 0, 0, 0};
    level->NumSpriteSequences = 1; // the item's model
    level->SpriteSequences[0].Bytes[0] = 110;
    level->NumCameras = 1;
    level->Cameras[0] = {1536, -1024, 1536, 0, 0};
    EXPECT_THAT(Lines(*level), IsEmpty());
}

// What the game misreads in a trigger: a switch tied to a word that is no item, a flip map past
// the ten the game keeps, a trigger or death floor inside a wall.
TEST(LevelCheck, TriggerWordsTheGameMisreads) {
    auto level = test::TwoRoomLevel();
    // A key (type 3) tied to a camera word, flipping map 9 then 10; a kill entry in the wall.
    const uint16_t words[] = {0x8304, 0x0000, 0x0400, 0x0C09, 0x8C0A, 0x8005};
    std::copy(std::begin(words), std::end(words), &level->FloorData[5]);
    level->NumFloorData = 11;
    SectorOf(*level, 1, 2, 3).FloorDataIndex = 5;
    SectorOf(*level, 1, 1, 1).FloorDataIndex = 10;
    const std::vector<std::string> lines = Lines(*level);
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    EXPECT_THAT(lines, Contains(HasSubstr("sector (column 2, row 3): a switch, key or pickup "
                                          "trigger here is tied to a word of action 1, not to an "
                                          "item")));
    EXPECT_THAT(lines, Contains(HasSubstr("sector (column 2, row 3): a trigger here names flip "
                                          "map 10, but the game keeps flip maps 0 to 9")));
    EXPECT_THAT(lines, Contains(HasSubstr("sector (column 1, row 1): a trigger or death floor "
                                          "here lies in a wall")));
    level->FloorData[7] = 0x0000; // tied to Lara's item: the check leaves that to the builder
    level->FloorData[9] = 0x8C09;
    SectorOf(*level, 1, 1, 1).FloorDataIndex = 0;
    EXPECT_THAT(Lines(*level), IsEmpty());
}

TEST(LevelCheck, PortalsNeedAPortalBack) {
    auto missing = test::TwoRoomLevel();
    missing->Rooms[1].NumPortals = 0;
    EXPECT_THAT(Lines(*missing),
                ElementsAre("warning: room 1, portal 1: the portal to room 2 has no portal back "
                            "from room 2 on the same plane: seen from there the doorway shows "
                            "nothing. Give room 2 a portal facing this one."));

    // A portal back one sector off the doorway's plane does not count; one a unit off does (real
    // levels put the two portals of a doorway a unit apart).
    auto off = test::TwoRoomLevel();
    for (auto& v : off->Rooms[1].Portals[0].Vertices) {
        v.X = 2048;
    }
    EXPECT_EQ(CheckLevel(*off).size(), 2u);
    for (auto& v : off->Rooms[1].Portals[0].Vertices) {
        v.X = 1023;
    }
    EXPECT_THAT(Lines(*off), IsEmpty());

    auto nowhere = test::TwoRoomLevel();
    nowhere->Rooms[0].Portals[0].AdjoiningRoom = 5;
    EXPECT_THAT(Lines(*nowhere),
                ElementsAre(HasSubstr("error: room 1, portal 1: the portal leads to room 6, "
                                      "which the level does not have (it has 2 rooms)"),
                            HasSubstr("room 2, portal 1: the portal to room 1 has no portal "
                                      "back")));

    auto flat = test::TwoRoomLevel();
    flat->Rooms[0].Portals[0] = {1, {0, 0, 0}, {}};
    EXPECT_THAT(Lines(*flat),
                ElementsAre(HasSubstr("is not a flat rectangle"), HasSubstr("room 2, portal 1")));

    // A room's alternate stands for it: the portal back may come from it.
    auto alternate = test::TwoRoomLevel();
    alternate->NumRooms = 3;
    alternate->Rooms[2].RoomInfo = alternate->Rooms[1].RoomInfo;
    alternate->Rooms[2].NumPortals = 1;
    alternate->Rooms[2].Portals[0] = alternate->Rooms[1].Portals[0];
    alternate->Rooms[1].AlternateRoom = 2;
    alternate->Rooms[2].AlternateRoom = -1;
    alternate->Rooms[1].NumPortals = 0;
    EXPECT_THAT(Lines(*alternate), IsEmpty());
}

TEST(LevelCheck, WallPortalsAndRoomLinksMustLeadIntoTheOtherRoom) {
    auto blocked = test::TwoRoomLevel();
    SectorOf(*blocked, 2, 2, 2) = {0, 0xFFFF, NoRoom, -127, NoRoom, -127};
    EXPECT_THAT(Lines(*blocked),
                ElementsAre("warning: room 1, sector (column 4, row 2): its wall portal leads "
                            "into a solid sector of room 2 (column 2, row 2): the doorway is "
                            "blocked. Open that sector or remove the portal."));

    // A solid sector with a slant is open where its floor falls away.
    const uint16_t slant[] = {0x8002, 0x0002};
    std::copy(std::begin(slant), std::end(slant), &blocked->FloorData[5]);
    blocked->NumFloorData = 7;
    SectorOf(*blocked, 2, 2, 2).FloorDataIndex = 5;
    EXPECT_THAT(Lines(*blocked), IsEmpty());

    auto circle = test::TwoRoomLevel();
    SectorOf(*circle, 2, 2, 3).FloorDataIndex = 3; // back to room 1, where room 1 leads here
    EXPECT_THAT(Lines(*circle),
                ElementsAre(HasSubstr("room 1, sector (column 4, row 3): its wall portal leads "
                                      "to room 2 (column 2, row 3), whose wall portal there "
                                      "leads straight back: the game loops forever"),
                            HasSubstr("room 2, sector (column 2, row 3): its wall portal leads "
                                      "to room 1 (column 4, row 3)")));
    EXPECT_TRUE(HasErrors(CheckLevel(*circle)));

    auto outside = test::TwoRoomLevel();
    outside->Rooms[1].RoomInfo.Z = 8192;
    outside->Rooms[1].NumPortals = 0;
    outside->Rooms[0].NumPortals = 0;
    const std::vector<LevelFinding> found = CheckLevel(*outside);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_THAT(FormatFinding(found[4]),
                HasSubstr("box 1: sector (column 2, row 2) of room 2 names this box, which does "
                          "not hold it"))
        << "the room moved away from its box";
    EXPECT_THAT(FormatFinding(found[0]),
                HasSubstr("room 1, sector (column 4, row 2): its wall portal leads to room 2, "
                          "which does not reach this sector"));
    EXPECT_EQ(found[0].Severity, FindingSeverity::Warning);

    auto missing = test::TwoRoomLevel();
    missing->FloorData[2] = 9;
    EXPECT_THAT(Lines(*missing),
                ElementsAre(HasSubstr("error: room 1, sector (column 4, row 2): its wall portal "
                                      "leads to room 10, which the level does not have"),
                            HasSubstr("error: room 1, sector (column 4, row 3)")));

    // Links up and down: to missing rooms, past the other room, into its solid sectors.
    auto links = test::TwoRoomLevel();
    SectorOf(*links, 1, 2, 3).RoomAbove = 1; // room 2 begins at x 2048, past this sector
    SectorOf(*links, 1, 3, 2).RoomBelow = 7;
    SectorOf(*links, 2, 3, 3).RoomBelow = 0; // room 1 ends at x 4096, before this sector
    const std::vector<LevelFinding> linked = CheckLevel(*links);
    ASSERT_EQ(linked.size(), 3u);
    EXPECT_EQ(linked[0].Severity, FindingSeverity::Error);
    EXPECT_EQ(linked[0].Room, 1);
    EXPECT_EQ(linked[0].Row, 3);
    EXPECT_THAT(linked[0].Text, HasSubstr("it links to room 2 above, which does not reach this "
                                          "sector: the game reads outside that room's sectors"));
    EXPECT_EQ(linked[1].Severity, FindingSeverity::Error);
    EXPECT_THAT(linked[1].Text, HasSubstr("it links to room 8 below, which the level does not "
                                          "have"));
    EXPECT_EQ(linked[2].Severity, FindingSeverity::Error);
    EXPECT_EQ(linked[2].Room, 2);
    EXPECT_THAT(linked[2].Text, HasSubstr("links to room 1 below, which does not reach"));

    // Room 1's column 3 lies under room 2's solid border column.
    auto solidAbove = test::TwoRoomLevel();
    SectorOf(*solidAbove, 1, 3, 2).RoomAbove = 1;
    EXPECT_THAT(Lines(*solidAbove),
                ElementsAre("warning: room 1, sector (column 3, row 2): it links to room 2 "
                            "above, which is solid there (column 1, row 2): passing through "
                            "leads into a wall. Open that sector or clear the link."));
}

TEST(LevelCheck, ItemsAndLarasStart) {
    auto check = [](auto change) {
        auto level = test::TwoRoomLevel();
        change(*level);
        return Lines(*level);
    };
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].Y = 40; }),
                ElementsAre("error: room 1, item 1: Lara starts 40 units under the floor: she "
                            "falls out of the level or is stuck. Put her on the floor, at y 0."));
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].Y = -2049; }),
                ElementsAre(HasSubstr("error: room 1, item 1: Lara starts 2049 units above the "
                                      "floor: the fall hurts or kills her.")));
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].Y = -600; }),
                ElementsAre(HasSubstr("warning: room 1, item 1: Lara starts 600 units above")));
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].Y = -512; }), IsEmpty());
    EXPECT_THAT(check([](TLevelData& l) {
                    l.Items1[0].Y = -1500;
                    l.Rooms[0].RoomFlags = RoomFlagWater; // she swims
                }),
                IsEmpty());
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].X = 512; }),
                ElementsAre(HasSubstr("error: room 1, item 1: Lara starts inside a solid sector "
                                      "(room 1, column 1, row 2)")));
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].X = 4200; }),
                ElementsAre(HasSubstr("error: room 1, item 1: Lara at x 4200, z 1536 stands "
                                      "outside its room")));
    EXPECT_THAT(check([](TLevelData& l) { l.Items1[0].Room = 2; }),
                ElementsAre(HasSubstr("error: item 1: Lara stands in room 3, which the level "
                                      "does not have")));

    // Over a doorway she stands on the floor of the room beside; over a pit, on the floor below.
    EXPECT_THAT(check([](TLevelData& l) {
                    l.Items1[0].X = 3584;
                    l.Items1[0].Y = 200;
                }),
                ElementsAre(HasSubstr("Lara starts 200 units under the floor")));
    EXPECT_THAT(check([](TLevelData& l) {
                    SectorOf(l, 1, 3, 2).RoomBelow = 1; // room 2 is solid under it
                    l.Items1[0].X = 2560;
                }),
                ElementsAre(HasSubstr("room 1, sector (column 3, row 2): it links to room 2 "
                                      "below, which is solid there"),
                            HasSubstr("Lara starts inside a solid sector (room 2, column 1, row "
                                      "2)")));

    // Other items need only stand in their room; the second game's items are read.
    auto second = test::TwoRoomLevel(FormatTR2);
    second->NumItems = 2;
    second->Items2[1] = {10, 1, 9000, 0, 1536, 0, 0, 0, 0};
    second->NumMoveables = 1; // the item's model
    second->Moveables[0].Bytes[0] = 10;
    EXPECT_THAT(Lines(*second),
                ElementsAre(HasSubstr("error: room 2, item 2: the item at x 9000, z 1536 stands "
                                      "outside its room")));
}

TEST(LevelCheck, BoxesOverlapsZonesAndFaces) {
    auto check = [](int32_t kind, auto change) {
        auto level = test::TwoRoomLevel(kind);
        change(*level);
        return Lines(*level);
    };
    EXPECT_THAT(check(FormatTR1, [](TLevelData& l) { SectorOf(l, 2, 3, 3).BoxIndex = 1; }),
                ElementsAre("error: room 2, sector (column 3, row 3): its box 2 lies beyond the "
                            "level's 1 box: enemies crash the game here. Rebuild the boxes."));
    EXPECT_THAT(check(FormatTR3, [](TLevelData& l) { SectorOf(l, 2, 3, 3).BoxIndex = 0x0015; }),
                ElementsAre(HasSubstr("its box 2 lies beyond")))
        << "the third game keeps the box number above four material bits";
    EXPECT_THAT(check(FormatTR3, [](TLevelData& l) { SectorOf(l, 2, 3, 3).BoxIndex = 0xFFF3; }),
                IsEmpty());
    EXPECT_THAT(check(FormatTR1, [](TLevelData& l) { l.Boxes1[0].OverlapIndex = 1; }),
                ElementsAre(HasSubstr("error: box 1: its overlap index 1 lies beyond the 1 "
                                      "overlap words")));
    EXPECT_THAT(check(FormatTR2, [](TLevelData& l) { l.Overlaps[0] = 0x8003; }),
                ElementsAre(HasSubstr("error: box 1: its overlap list names box 4")));
    EXPECT_THAT(check(FormatTR2, [](TLevelData& l) { l.Overlaps[0] = 0x0000; }),
                ElementsAre(HasSubstr("its overlap list runs off the end")));
    EXPECT_THAT(check(FormatTR1, [](TLevelData& l) { l.NumZones = 3; }),
                ElementsAre(HasSubstr("error: the zone arrays hold 3 entries for 1 box")));
    EXPECT_THAT(check(FormatTR1, [](TLevelData& l) { l.Boxes1[0].XMax = -5; }),
                ElementsAre(HasSubstr("warning: box 1: the box's minimum lies beyond")));

    EXPECT_THAT(check(FormatTR1,
                      [](TLevelData& l) {
                          l.Rooms[1].NumTriangles = 3;
                          l.Rooms[1].Triangles[1] = {{0, 4, 1}, 0};
                          l.Rooms[1].Triangles[2] = {{9, 9, 9}, 0};
                      }),
                ElementsAre("error: room 2: 2 triangles use vertices beyond the room's 4 (the "
                            "first is triangle 2): the game draws from memory that is not the "
                            "room's. Rebuild the room's geometry."));
    EXPECT_THAT(check(FormatTR2, [](TLevelData& l) { l.Rooms[0].Rectangles[0].Texture = 1; }),
                ElementsAre(HasSubstr("room 1: 1 rectangle uses object textures beyond the "
                                      "level's 1 (the first is rectangle 1)")));
    EXPECT_THAT(check(FormatTR2, [](TLevelData& l) { l.Rooms[0].Rectangles[0].Texture = 0x8000; }),
                ElementsAre(HasSubstr("object textures beyond")));
    EXPECT_THAT(check(FormatTR3, [](TLevelData& l) { l.Rooms[0].Rectangles[0].Texture = 0x8000; }),
                IsEmpty())
        << "the third game's double-sided mark is not part of the texture number";
}

TEST(LevelCheck, ARecordBeyondItsCapacitiesIsNotLookedInto) {
    auto level = test::TwoRoomLevel();
    level->Rooms[1].NumZSectors = 40;
    level->Rooms[1].NumXSectors = 40;
    level->NumOverlaps = MaxOverlaps + 1;
    EXPECT_THAT(Lines(*level),
                ElementsAre("error: the overlap word count 15001 is above the 15000 the level "
                            "can hold: the level is damaged.",
                            "error: room 2: the sector count 1600 is above the 1024 the level "
                            "can hold: the level is damaged."));
}

// Each engine's limits as reported in public: a level at a limit is quiet, one past it (and
// within the record's capacity) gets one warning that names the count, the limit, the engine
// and where the limit is reported. A measure no report gives a limit for is not checked.
TEST(LevelCheck, CountsPastTheEnginesOwnLimitsAreWarningsNamingTheSource) {
    struct Reported {
        int32_t Kind;
        EngineMeasure Measure;
        long Limit;
    };
    std::vector<Reported> reported;
    for (int32_t kind : {FormatTR1, FormatTUB, FormatTR2}) { // the add-on: the first engine
        reported.push_back({kind, EngineMeasure::RoomVertices, 1500});
        reported.push_back({kind, EngineMeasure::Items, 256});
        reported.push_back({kind, EngineMeasure::ObjectTextures, 2048});
        reported.push_back({kind, EngineMeasure::SpriteTextures, 512});
        reported.push_back({kind, EngineMeasure::TexturePages, 32});
    }
    reported.push_back({FormatTR3, EngineMeasure::Items, 256});

    auto setCount = [](TLevelData& level, EngineMeasure measure, long count) {
        switch (measure) {
        case EngineMeasure::RoomVertices:
            level.Rooms[1].NumVertices = static_cast<uint16_t>(count);
            break;
        case EngineMeasure::Items:
            level.NumItems = static_cast<uint32_t>(count);
            for (long i = 1; i < count; ++i) { // more items beside Lara
                level.Items1[i] = level.Items1[0];
                level.Items2[i] = level.Items2[0];
                level.Items1[i].Type = level.Items2[i].Type = 35;
            }
            break;
        case EngineMeasure::ObjectTextures:
            level.NumObjectTextures = static_cast<uint32_t>(count);
            break;
        case EngineMeasure::SpriteTextures:
            level.NumSpriteTextures = static_cast<uint32_t>(count);
            break;
        case EngineMeasure::TexturePages:
            level.NumTextiles = static_cast<uint32_t>(count);
            break;
        }
    };
    const std::map<EngineMeasure, std::string> nouns = {
        {EngineMeasure::RoomVertices, "room 2: the room has"},
        {EngineMeasure::Items, "the level has"},
        {EngineMeasure::ObjectTextures, "the level has"},
        {EngineMeasure::SpriteTextures, "the level has"},
        {EngineMeasure::TexturePages, "the level has"}};
    const std::map<EngineMeasure, std::string> units = {
        {EngineMeasure::RoomVertices, "vertices"},
        {EngineMeasure::Items, "items"},
        {EngineMeasure::ObjectTextures, "object textures"},
        {EngineMeasure::SpriteTextures, "sprite textures"},
        {EngineMeasure::TexturePages, "texture pages"}};
    const std::map<int32_t, std::string> engines = {{FormatTR1, "the first game's engine"},
                                                    {FormatTUB, "the first game's engine"},
                                                    {FormatTR2, "the second game's engine"},
                                                    {FormatTR3, "the third game's engine"}};
    auto engineLines = [](const TLevelData& level) {
        std::vector<std::string> lines;
        for (const std::string& line : Lines(level)) {
            if (line.find("engine holds") != std::string::npos) {
                lines.push_back(line);
            }
        }
        return lines;
    };

    for (int32_t kind : {FormatTR1, FormatTUB, FormatTR2, FormatTR3}) {
        for (EngineMeasure measure : EngineMeasures) {
            SCOPED_TRACE(std::string(FormatKindName(kind)) + " " + units.at(measure));
            const auto row = std::find_if(reported.begin(), reported.end(), [&](const Reported& r) {
                return r.Kind == kind && r.Measure == measure;
            });
            const std::optional<EngineLimit> limit = FindEngineLimit(kind, measure);
            ASSERT_EQ(limit.has_value(), row != reported.end());
            if (!limit) {
                auto level = test::TwoRoomLevel(kind);
                setCount(*level, measure, measure == EngineMeasure::Items ? 300 : 1250);
                EXPECT_THAT(engineLines(*level), IsEmpty()) << "no report, no warning";
                continue;
            }
            EXPECT_EQ(limit->Value, row->Limit);
            EXPECT_STRNE(limit->Source, "") << "every limit says where it is reported";

            auto level = test::TwoRoomLevel(kind);
            setCount(*level, measure, row->Limit);
            EXPECT_THAT(engineLines(*level), IsEmpty()) << "at the limit";
            setCount(*level, measure, row->Limit + 1);
            const std::string expected =
                "warning: " + nouns.at(measure) + " " + std::to_string(row->Limit + 1) + " " +
                units.at(measure) + ", above the " + std::to_string(row->Limit) + " " +
                engines.at(kind) + " holds (source: " + limit->Source + "): ";
            EXPECT_THAT(engineLines(*level), ElementsAre(::testing::StartsWith(expected)));
            EXPECT_FALSE(HasErrors(CheckLevel(*level))) << "a warning: the level is written";
        }
    }
}

// The real levels are quiet but for what is really in them: the second-game level has a wall
// portal in a solid border sector of room 7 that leads into a solid sector of room 8, which
// lies above room 7 (a doorway nothing can pass); the two levels not made by the game's makers
// have boxes that list themselves and zones that join what no way joins.
TEST(LevelCheck, RealLevelsHoldOnlyWhatIsReallyThere) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    auto level = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*level, dir + "/tr1-demo-level2.tub").Status, ReadStatus::Done);
    EXPECT_THAT(Lines(*level), IsEmpty());
    // Room 3, room 2's alternate, shares its portal back. The level's boxes list themselves and
    // its zones join boxes no way joins.
    ASSERT_EQ(ReadLevelFile(*level, dir + "/tr1-opentomb-altroom1.phd").Status, ReadStatus::Done);
    EXPECT_THAT(Lines(*level),
                ElementsAre(HasSubstr("box 1: its overlap list names the box itself (14 boxes"),
                            HasSubstr("box 4: the zones join it to boxes that no way of steps "
                                      "within the zone's climb reaches (ground zone 1: 4 boxes, "
                                      "ground zone 2: 4 boxes, fly zone: 2 boxes)"),
                            HasSubstr("box 4: the zones of the flipped rooms join it")));
    ASSERT_EQ(ReadLevelFile(*level, dir + "/tr2-hiltop.tr2").Status, ReadStatus::Done);
    EXPECT_THAT(Lines(*level),
                ElementsAre("warning: room 7, sector (column 2, row 5): its wall portal leads "
                            "into a solid sector of room 8 (column 5, row 8): the doorway is "
                            "blocked. Open that sector or remove the portal.",
                            HasSubstr("box 1: its overlap list names the box itself (24 boxes"),
                            HasSubstr("box 3: its overlap list names box 5, whose list does not "
                                      "name it back (4 list entries"),
                            HasSubstr("box 2: the zones join it")))
        << "no alternate rooms, the same zones flipped: said once";
}

// Cameras, static meshes and lights are read in each layout's records; a missing room breaks
// the game, the rest is a warning; what the caller checked itself is left out.
TEST(LevelCheck, CamerasStaticMeshesAndLightsInTheirRooms) {
    for (int32_t kind : {FormatTR1, FormatTR2, FormatTR3}) {
        SCOPED_TRACE(FormatKindName(kind));
        auto level = test::TwoRoomLevel(kind);
        const bool second = kind != FormatTR1;
        level->NumCameras = 2;
        level->Cameras[0] = {1536, -1024, 1536, 0, 0};
        level->Cameras[1] = {1536, -1024, 1536, 4, 0};
        TLevelRoom& room = level->Rooms[1];
        room.NumStaticMeshes = 1;
        uint8_t* s = second ? room.RoomStatics2[0].Bytes : room.RoomStatics1[0].Bytes;
        const int32_t staticPlace[3] = {2048 + 512, -512, 512}; // column 1, row 1: solid
        std::memcpy(s, staticPlace, 12);
        s[second ? 18 : 16] = 7; // mesh id 7, which the level has
        level->NumStaticMeshes = 1;
        level->StaticMeshes[0].Bytes[0] = 7;
        room.NumLights = 1;
        uint8_t* l = second ? room.Lights2[0].Bytes : room.Lights1[0].Bytes;
        const int32_t lightPlace[3] = {2048 + 1536, 2000, 1536}; // 2000 under the floor
        std::memcpy(l, lightPlace, 12);
        EXPECT_THAT(Lines(*level),
                    ElementsAre("warning: room 2, light 1: the light lies 2000 units under the "
                                "floor: it is hidden or falls out of the room. Put it on the "
                                "floor, at y 0.",
                                "warning: room 2, static mesh 1: the static mesh lies inside a "
                                "solid sector (room 2, column 1, row 1): it is hidden in a wall. "
                                "Move it onto an open sector.",
                                "error: camera 2: the camera lies in room 5, which the level does "
                                "not have: the game crashes on loading. Put it in one of the "
                                "level's rooms."));
        LevelCheckOptions checked;
        checked.CheckedCameras = 2;
        checked.CheckedLights = {0, 1};
        checked.CheckedStatics = {0, 1};
        EXPECT_THAT(Lines(*level, checked), IsEmpty());
    }
}

} // namespace
} // namespace morvane
