#include "support/test_files.h"

#include "demo/demo_level.h"
#include "document/flip_map_operations.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/room_limits.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "import/level_import.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "levelbuild/build_pipeline.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>

namespace morvane {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

constexpr int8_t Wall = -127;

// A first-game level record made here: rooms of open sectors inside a border of walls.
class LevelMaker {
public:
    LevelMaker() {
        level->Version = VersionTR1;
        level->FormatKind = FormatTR1;
        level->NumFloorData = 1;
    }

    // A room at x, z (in sectors) whose open sectors have the floor and ceiling (height bytes,
    // clicks growing downwards); its lowest and highest y are theirs.
    TLevelRoom& Room(int x, int z, int columns, int rows, int8_t floor, int8_t ceiling) {
        TLevelRoom& room = level->Rooms[level->NumRooms++];
        room.RoomInfo = {x * 1024, z * 1024, floor * 256, ceiling * 256};
        room.NumXSectors = static_cast<uint16_t>(columns);
        room.NumZSectors = static_cast<uint16_t>(rows);
        room.AlternateRoom = -1;
        for (int i = 1; i <= columns; ++i) {
            for (int k = 1; k <= rows; ++k) {
                const bool border = i == 1 || k == 1 || i == columns || k == rows;
                Sector(room, i, k) = border ? TGameSector{0, 0xFFFF, NoRoom, Wall, NoRoom, Wall}
                                            : TGameSector{0, 0, NoRoom, floor, NoRoom, ceiling};
            }
        }
        return room;
    }

    static TGameSector& Sector(TLevelRoom& room, int column, int row) {
        return room.Sectors[(column - 1) * room.NumZSectors + (row - 1)];
    }

    // Gives the sector an entry list of these words.
    void Entries(TGameSector& sector, std::initializer_list<uint16_t> words) {
        sector.FloorDataIndex = static_cast<uint16_t>(level->NumFloorData);
        for (uint16_t word : words) {
            level->FloorData[level->NumFloorData++] = word;
        }
    }

    // A portal in the floor of the room, one sector at (column, row), as the build makes it for
    // a project room at level posY.
    static void FloorPortal(TLevelRoom& room, int target, int column, int row) {
        TRoomPortal& portal = room.Portals[room.NumPortals++];
        const int16_t x = static_cast<int16_t>((column - 1) * 1024);
        const int16_t z = static_cast<int16_t>((row - 1) * 1024);
        const int16_t y = static_cast<int16_t>(room.RoomInfo.YBottom);
        portal = {static_cast<uint16_t>(target),
                  {0, -1, 0},
                  {{x, y, z},
                   {x, y, static_cast<int16_t>(z + 1024)},
                   {static_cast<int16_t>(x + 1024), y, static_cast<int16_t>(z + 1024)},
                   {static_cast<int16_t>(x + 1024), y, z}}};
    }

    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
};

TEST(LevelImport, APlainRoomComesOverWhole) {
    LevelMaker maker;
    // Open sectors from click 128 (level 32) up to click 136 (level 34).
    maker.Room(2, 5, 4, 3, 0, -8);
    auto project = std::make_unique<TEditorProject>();
    project->Room(1).PosX = 77; // stale content is cleared
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");

    EXPECT_TRUE(result.Messages.empty()) << ::testing::PrintToString(result.Messages);
    EXPECT_EQ(ImportSummary(result.Counts), "1 room imported (1 whole, 0 clipped), 0 skipped; "
                                            "12 sectors (12 whole, 0 clipped), 0 skipped; 0 of "
                                            "0 faces used.");
    ASSERT_EQ(project->RoomCount, 1);
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(project->Settings.BaseLevelFile.Str(), "base.phd");
    EXPECT_EQ(project->Settings.OutputLevelFile.Str(), "");
    const TEditorRoom& room = project->Room(1);
    EXPECT_EQ(room.Name.Str(), "Room #1");
    EXPECT_EQ(room.PosX, 2);
    EXPECT_EQ(room.PosZ, 5);
    EXPECT_EQ(room.PosY, 32);
    EXPECT_EQ(room.Height, 2);
    EXPECT_EQ(room.XSectors, 4);
    EXPECT_EQ(room.ZSectors, 3);
    EXPECT_EQ(room.PortalViewCount, 0);
    for (int n = 1; n <= 12; ++n) {
        const bool open = n == SectorNumber(2, 2, 3) || n == SectorNumber(3, 2, 3);
        const TGameSector& game = room.GameSector(n);
        EXPECT_EQ(game.FloorHeight, open ? 0 : 2) << "sector " << n;
        EXPECT_EQ(game.CeilingHeight, 2) << "sector " << n;
        EXPECT_EQ(+game.BoxIndex, 0xFFFF);
        EXPECT_EQ(game.RoomAbove, NoRoom);
        EXPECT_EQ(game.RoomBelow, NoRoom);
        EXPECT_EQ(room.Sector(n).FloorShape, 0);
        EXPECT_EQ(room.Sector(n).CeilingShape, 0);
    }
    // The level draws no faces: the open sectors' floor faces, which the build would make, stay
    // out.
    EXPECT_EQ(+room.Sector(SectorNumber(2, 2, 3)).FloorSurface.Textures[2], -1);
}

// A pair linked both ways keeps the later room as the alternate; a chain and a link out of the
// level cannot be kept and are said.
TEST(LevelImport, AlternateRoomsComeOverAsOneWayLinks) {
    LevelMaker maker;
    const int16_t links[] = {1, 0, 3, 4, 7};
    for (int r = 0; r < 5; ++r) {
        maker.Room(2 + 6 * r, 5, 4, 3, 0, -8).AlternateRoom = links[r];
    }
    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");
    ASSERT_EQ(project->RoomCount, 5);
    EXPECT_EQ(FlipLinks(*project), (std::vector<FlipLink>{{1, 2}, {3, 4}}));
    EXPECT_EQ(result.Messages,
              (std::vector<std::string>{
                  "Level room 4: its alternate room (level room 5) was not kept, as a room of the "
                  "project has one alternate and is the alternate of one room, not both.",
                  "Level room 5: its alternate room (level room 8) was not kept, it is not "
                  "another room of the level."}));
}

TEST(LevelImport, RoomsThatCannotComeOverAreSkippedAndLinksToThemLeftOut) {
    LevelMaker maker;
    TLevelRoom& first = maker.Room(0, 0, 3, 3, 0, -8);
    TLevelRoom& offGrid = maker.Room(10, 0, 3, 3, 0, -8);
    offGrid.RoomInfo.X += 512;
    for (int r = 2; r < 131; ++r) {
        maker.Room(4 * r, 0, 3, 3, 0, -8);
    }
    maker.level->Rooms[5].NumXSectors = 0; // a room without sectors
    TGameSector& center = LevelMaker::Sector(first, 2, 2);
    center.RoomBelow = 2;   // the third level room: project room 2
    center.RoomAbove = 130; // the last one, beyond the 128 a project holds
    LevelMaker::FloorPortal(first, 2, 2, 2);
    LevelMaker::FloorPortal(first, 1, 2, 2); // to the room off the grid

    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");

    ASSERT_EQ(project->RoomCount, 128);
    EXPECT_EQ(result.Counts.RoomsSkipped, 3) << "off the grid, without sectors, beyond 128";
    EXPECT_EQ(result.Counts.RoomsImported(), 128);
    EXPECT_THAT(result.Messages,
                Contains("Level room 2: not imported, its corner (x 10752, z 0) is not on the "
                         "sector grid."));
    EXPECT_THAT(result.Messages, Contains("Level room 6: not imported, it has no sectors."));
    EXPECT_THAT(result.Messages,
                Contains("Level room 131: not imported, a project holds at most 128 rooms."));
    EXPECT_EQ(result.ProjectRoomOf[0], 1);
    EXPECT_EQ(result.ProjectRoomOf[1], 0);
    EXPECT_EQ(result.ProjectRoomOf[2], 2);
    EXPECT_EQ(result.ProjectRoomOf[6], 5);
    EXPECT_EQ(result.ProjectRoomOf[129], 128);
    EXPECT_EQ(result.ProjectRoomOf[130], 0);
    EXPECT_EQ(project->Room(2).Name.Str(), "Room #3") << "rooms keep their level numbers";

    const TEditorRoom& room = project->Room(1);
    const TGameSector& game = room.GameSector(SectorNumber(2, 2, 3));
    EXPECT_EQ(game.RoomBelow, 1) << "level room 3 is project room 2";
    EXPECT_EQ(game.RoomAbove, NoRoom);
    ASSERT_EQ(room.PortalViewCount, 1);
    EXPECT_EQ(+room.PortalView(1).TargetRoom, 2);
    EXPECT_THAT(result.Messages,
                Contains("Level room 1: 1 link of its sectors to rooms that were not imported "
                         "was left out (first at column 2, row 2)."));
    EXPECT_THAT(result.Messages, Contains(HasSubstr("Level room 1: 1 portal was left out")));
    EXPECT_EQ(result.Counts.RoomsClipped, 1);
    EXPECT_EQ(result.Counts.SectorsClipped, 1);
    EXPECT_EQ(result.Counts.SectorsSkipped, 9 + 0 + 9) << "the skipped rooms' sectors";
}

// What the objects layer cannot hold is left out and said, by kind and reason, naming the first;
// the rest comes over in the level's order, x and z from the room's corner.
TEST(LevelImport, ObjectsTheLayerCannotHoldAreLeftOutAndSaidSo) {
    LevelMaker maker;
    maker.Room(2, 3, 4, 4, 0, -8);
    TLevelRoom& offGrid = maker.Room(10, 0, 3, 3, 0, -8);
    offGrid.RoomInfo.X += 512; // not imported
    auto item = [&](int16_t type, int16_t room, int32_t x, int32_t z) {
        maker.level->Items1[maker.level->NumItems++] = {type, room,   x,      -256,
                                                        z,    0x4000, 0xFFFF, 0x3E00};
    };
    item(0, 0, 2048 + 1536, 3072 + 1536); // Lara
    item(7, 0, 2048 + 2560, 3072 + 1536);
    item(0, 0, 2048 + 1536, 3072 + 2560); // a second Lara
    item(7, 1, 10752 + 1536, 1536);       // in the room that was not imported
    item(7, 0, 2048 + 9000, 3072 + 1536); // beyond the room's grid
    item(8, 0, 2048 + 9100, 3072 + 1536); // and another
    item(7, 4, 0, 0);                     // in a room the level does not have
    maker.level->NumCameras = 1;
    maker.level->Cameras[0] = {2048 + 1024, -1024, 3072 + 2048, 0, 3};
    TLevelRoom& room = maker.level->Rooms[0];
    room.NumStaticMeshes = 1;
    const int32_t mesh[3] = {2048 + 2048, 0, 3072 + 2048};
    std::memcpy(room.RoomStatics1[0].Bytes, mesh, 12);
    room.RoomStatics1[0].Bytes[16] = 5; // mesh id

    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");
    ASSERT_EQ(project->Objects.Count, 4u);
    const TEditorObject& lara = project->Objects.Objects[0];
    EXPECT_EQ(std::tuple(+lara.Kind, +lara.Room, +lara.X, +lara.Y, +lara.Z, +lara.OnFloor,
                         +lara.Angle, lara.Type, +lara.Flags, lara.Intensity),
              std::tuple(1, 1, 1536, -256, 1536, 0, 0x4000, 0, 0x3E00, -1));
    EXPECT_EQ(LaraStartIndex(*project), 0);
    EXPECT_EQ(project->Objects.Objects[1].Type, 7);
    const TEditorObject& camera = project->Objects.Objects[2];
    EXPECT_EQ(std::tuple(+camera.Kind, +camera.X, +camera.Y, +camera.Z, +camera.Flags),
              std::tuple(2, 1024, -1024, 2048, 3));
    EXPECT_EQ(std::tuple(+project->Objects.Objects[3].Kind, project->Objects.Objects[3].Type),
              std::tuple(3, 5));
    EXPECT_THAT(result.Messages,
                Contains("Objects imported: 2 items, 1 camera, 1 static mesh, 0 lights."));
    EXPECT_THAT(result.Messages, Contains("Level item 3: The project already has Lara's start "
                                          "(object 0); not imported."));
    EXPECT_THAT(result.Messages,
                Contains("Level item 4: its room was not imported; not imported."));
    EXPECT_THAT(result.Messages,
                Contains("Level item 5: it lies outside its room's grid (x 9000 is outside room "
                         "1 (0 to 4095)) (and 1 more like it); not imported."));
    EXPECT_THAT(result.Messages,
                Contains("Level item 7: its room 5 is not in the level; not imported."));
}

// A room whose corner a project room cannot take (its vertices would leave the level's 32-bit
// coordinates once built) is skipped; one at the edge comes over.
TEST(LevelImport, RoomsBeyondTheProjectsPositionsAreSkipped) {
    LevelMaker maker;
    maker.Room(MinRoomPosition, MaxRoomPosition, 3, 3, 0, -8);
    maker.Room(MaxRoomPosition + 1, 0, 3, 3, 0, -8);
    maker.Room(0, MinRoomPosition - 1, 3, 3, 0, -8);
    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");
    ASSERT_EQ(project->RoomCount, 1);
    EXPECT_EQ(project->Room(1).PosX, MinRoomPosition);
    EXPECT_EQ(project->Room(1).PosZ, MaxRoomPosition);
    EXPECT_EQ(result.Counts.RoomsSkipped, 2);
    EXPECT_THAT(result.Messages,
                Contains("Level room 2: not imported, its corner (x 2147451904, z 0) lies beyond "
                         "the positions of a project room (-2097120 to 2097120 sectors)."));
    EXPECT_THAT(result.Messages, Contains(HasSubstr("Level room 3: not imported, its corner (x 0, "
                                                    "z -2147451904) lies beyond")));
}

TEST(LevelImport, GridsAbove31ASideAreCut) {
    LevelMaker maker;
    TLevelRoom& wide = maker.Room(0, 0, 40, 10, 0, -8);
    LevelMaker::Sector(wide, 31, 5).FloorHeight = -2;
    LevelMaker::Sector(wide, 32, 5).FloorHeight = -3;
    maker.Room(50, 0, 3, 3, 0, -8);
    TLevelRoom& tooMany = maker.Room(60, 0, 3, 3, 0, -8);
    tooMany.NumXSectors = tooMany.NumZSectors = 40; // a record no level file gives
    for (int p = 0; p < MaxRoomPortals; ++p) {
        LevelMaker::FloorPortal(wide, 1, 15 + p, 2); // the last three beyond column 31
    }
    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");

    const TEditorRoom& room = project->Room(1);
    EXPECT_EQ(room.XSectors, 31);
    EXPECT_EQ(room.ZSectors, 10);
    EXPECT_EQ(room.GameSector(SectorNumber(31, 5, 10)).FloorHeight, 0)
        << "column 31 keeps its own floor, half a level up";
    EXPECT_EQ(room.Sector(SectorNumber(31, 5, 10)).FloorShape, 3);
    EXPECT_EQ(result.Counts.SectorsSkipped, 90 + 1600);
    EXPECT_EQ(result.Counts.RoomsClipped, 1);
    EXPECT_THAT(result.Messages,
                Contains("Level room 1: its grid of 40 x 10 sectors was cut to 31 x 10 (a "
                         "project room has at most 31 a side); 90 sectors left out."));
    EXPECT_THAT(result.Messages,
                Contains("Level room 1: 3 portals were left out: not square to the grid, "
                         "outside the room's grid or to a room that was not imported."));
    EXPECT_THAT(result.Messages,
                Contains("Level room 3: not imported, its grid of 40 x 40 sectors is more than a "
                         "level room holds."));
    ASSERT_EQ(room.PortalViewCount, 17);
    for (int d = 1; d <= 17; ++d) {
        EXPECT_EQ(+room.PortalView(d).OriginX, 14 + d) << "view " << d;
        EXPECT_EQ(+room.PortalView(d).OriginZ, 2) << "view " << d;
        EXPECT_EQ(+room.PortalView(d).Facing, PortalFacingFloor);
        EXPECT_EQ(+room.PortalView(d).WidthTiles, 1);
        EXPECT_EQ(+room.PortalView(d).HeightTiles, 1);
    }
}

TEST(LevelImport, SectorsAProjectCannotHoldAsTheyWereAreClippedAndSaidSo) {
    LevelMaker maker;
    // Open sectors from level 32 to level 35; the room's top is at click 140.
    TLevelRoom& room = maker.Room(0, 0, 8, 3, 0, -12);
    maker.Room(10, 0, 3, 3, 0, -8);
    TGameSector& both = LevelMaker::Sector(room, 2, 2);
    both.RoomAbove = 1;
    maker.Entries(both, {0x8001, 1}); // and a wall portal to the same room
    maker.Entries(LevelMaker::Sector(room, 3, 2), {0x0002, 0x0000, 0x0017}); // an unknown entry
    TGameSector& slope = LevelMaker::Sector(room, 4, 2);
    slope.FloorHeight = -1;
    maker.Entries(slope, {0x8002, 0x0001}); // rising one click toward +x
    TGameSector& slantedWall = LevelMaker::Sector(room, 5, 1);
    maker.Entries(slantedWall, {0x8003, 0xFE00}); // a wall whose floor data slants its ceiling
    TGameSector& closed = LevelMaker::Sector(room, 5, 2);
    closed.FloorHeight = closed.CeilingHeight = -6; // closed, a level and a half up
    maker.Entries(LevelMaker::Sector(room, 6, 2), {0x0004, 0x0000, 0x8001, 0x8001, 1});

    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");
    const TEditorRoom& made = project->Room(1);
    ASSERT_EQ(made.Height, 3);
    auto sector = [&](int column) { return SectorNumber(column, 2, 3); };

    EXPECT_EQ(made.GameSector(sector(2)).RoomAbove, 1);
    EXPECT_EQ(+made.Sector(sector(2)).PortalKind, PortalKindAbove);
    EXPECT_THAT(result.Messages,
                Contains("Level room 1: 1 sector has both a room above and a room beside, which "
                         "a project sector cannot hold (first at column 2, row 2); the room above "
                         "was kept."));
    EXPECT_THAT(result.Messages,
                Contains("Level room 1: 1 sector has floor data that cannot be read to its end "
                         "(first at column 3, row 2); what could be read was used."));
    EXPECT_THAT(result.Messages,
                Contains("Level room 1: 1 sector has a floor or ceiling that no shape makes "
                         "(first at column 4, row 2); the nearest shape was used."));
    EXPECT_EQ(made.Sector(sector(4)).FloorShape, 4) << "flat at the slope's top, click 129";

    const TGameSector& wall = made.GameSector(SectorNumber(5, 1, 3));
    EXPECT_EQ(wall.FloorHeight, 3) << "a wall is solid at the room's height";
    EXPECT_EQ(wall.CeilingHeight, 3);
    EXPECT_EQ(made.Sector(SectorNumber(5, 1, 3)).CeilingShape, 0);
    const TGameSector& kept = made.GameSector(sector(5));
    EXPECT_EQ(kept.FloorHeight, 1) << "a closed sector inside the room keeps its level";
    EXPECT_EQ(made.Sector(sector(5)).FloorShape, 3);
    EXPECT_EQ(kept.CeilingHeight, 2);
    EXPECT_EQ(made.Sector(sector(5)).CeilingShape, 3);

    EXPECT_THAT(result.Messages,
                Contains("Level room 1, column 6, row 2: a trigger naming level item 2, which "
                         "was not imported; not imported."));
    // The game looks for a wall portal only at the head of the list or after the slants, so a
    // portal entry after a trigger is no doorway and is not made one.
    EXPECT_EQ(made.GameSector(sector(6)).RoomAbove, NoRoom) << "the portal after the trigger";
    EXPECT_EQ(+made.Sector(sector(6)).PortalKind, PortalKindNone);
    EXPECT_EQ(result.Counts.SectorsClipped, 3);
    EXPECT_EQ(result.Counts.SectorsWhole, 24 + 9 - 3);
}

TEST(LevelImport, TheRoomsLevelsEncloseItsOpenSectors) {
    LevelMaker maker;
    // The room's own lowest y is click 130 (half a level above level 32) and its highest click
    // 136; one open sector's floor lies lower, at click 122, and the walls' height counts for
    // nothing.
    TLevelRoom& room = maker.Room(0, 0, 4, 3, -2, -8);
    LevelMaker::Sector(room, 3, 2).FloorHeight = 6;
    // A floor at the wall height under a ceiling at the top of the world is a wall to the game.
    TLevelRoom& top = maker.Room(10, 0, 3, 3, -120, -128);
    LevelMaker::Sector(top, 2, 2).FloorHeight = Wall;

    auto project = std::make_unique<TEditorProject>();
    const ImportResult result = ImportLevelRooms(*maker.level, *project, "base.phd");
    const TEditorRoom& made = project->Room(1);
    EXPECT_EQ(made.PosY, 30);
    EXPECT_EQ(made.Height, 4);
    EXPECT_EQ(made.GameSector(SectorNumber(3, 2, 3)).FloorHeight, 0);
    EXPECT_EQ(made.Sector(SectorNumber(3, 2, 3)).FloorShape, 3) << "click 122: level 30 + 2";
    EXPECT_EQ(made.GameSector(SectorNumber(2, 2, 3)).FloorHeight, 2);
    EXPECT_EQ(made.Sector(SectorNumber(2, 2, 3)).FloorShape, 3) << "click 130: level 32 + 2";
    EXPECT_EQ(result.Counts.SectorsWhole, 12 + 9);

    const TEditorRoom& high = project->Room(2);
    EXPECT_EQ(high.PosY + high.Height, 64);
    const TGameSector& wall = high.GameSector(SectorNumber(2, 2, 3));
    EXPECT_EQ(wall.FloorHeight, high.Height);
    EXPECT_EQ(wall.CeilingHeight, high.Height);
}

TEST(LevelImport, FacesThatAreNotTheBuildsBlocksGiveTheirTexturesWhereTheyLie) {
    test::TempDir dir;
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    ASSERT_EQ(WriteLevelFile(*base, dir.Path("base.phd")), LevelWritten);

    // One open sector two levels below its border; the border's side toward it shows two block
    // faces, each with texture 7 (shown 8).
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values = RoomAt(3, 3, 4, 10, 4, 2);
    values.FloorWalls = 8;
    AddRoom(*project, scene, values);
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    ASSERT_TRUE(BuildLevel(*project, *level,
                           {dir.Path("base.phd"), dir.Path("out.phd"), "", "", ""},
                           std::string(MORVANE_SOURCE_DIR) + "/data", script)
                    .Written);
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("out.phd")).Status, ReadStatus::Done);

    // The two faces of the -z border's wall (the wall toward +z of sector column 2, row 1)
    // become one face from the top of the upper one to the bottom of the lower one, with
    // texture 12; a face across the room lies on no sector.
    TLevelRoom& room = level->Rooms[0];
    auto topOf = [&](const TRectangle& face) { return room.Vertices1[face.Vertices[0]].Y; };
    std::vector<TRectangle> wallFaces, others;
    for (int f = 0; f < room.NumRectangles; ++f) {
        const TRectangle& face = room.Rectangles[f];
        const TVertex1& corner = room.Vertices1[face.Vertices[0]];
        const bool towardPlusZ = corner.Z == 1024 && room.Vertices1[face.Vertices[1]].Z == 1024 &&
                                 corner.X > room.Vertices1[face.Vertices[1]].X;
        (face.Texture == 7 && towardPlusZ && corner.X == 2048 ? wallFaces : others).push_back(face);
    }
    ASSERT_EQ(wallFaces.size(), 2u);
    if (topOf(wallFaces[0]) > topOf(wallFaces[1])) {
        std::swap(wallFaces[0], wallFaces[1]);
    }
    const TRectangle merged = {{wallFaces[0].Vertices[0], wallFaces[0].Vertices[1],
                                wallFaces[1].Vertices[2], wallFaces[1].Vertices[3]},
                               12};
    others.push_back(merged);
    others.push_back({{0, 5, 10, 15}, 3});
    room.NumRectangles = static_cast<uint16_t>(others.size());
    std::copy(others.begin(), others.end(), room.Rectangles);

    const ImportResult result = ImportLevelRooms(*level, *project, dir.Path("base.phd"));
    const TEditorSector& border = project->Room(1).Sector(SectorNumber(2, 1, 3));
    EXPECT_EQ(+border.FloorSurface.Textures[1], 12);
    EXPECT_EQ(+border.FloorSurface.Textures[0], 7) << "the side toward nothing: the default";
    EXPECT_THAT(result.Messages,
                Contains(HasSubstr("Level room 1: 1 of its " +
                                   std::to_string(others.size() + room.NumTriangles) +
                                   " faces lie on no sector's floor, ceiling or walls")));
    EXPECT_EQ(result.Counts.RoomsClipped, 1);
}

TEST(LevelImport, ImportingAFileReplacesTheProjectOnlyWhenRoomsCameOver) {
    test::TempDir dir;
    auto level = std::make_unique<TLevelData>();
    auto project = std::make_unique<TEditorProject>();
    project->RoomCount = 1;
    project->Room(1).PosX = 42;

    LevelFileImport missing = ImportLevelFile(dir.Path("none.phd"), *level, *project);
    EXPECT_EQ(missing.Refusal, "Level file \"" + dir.Path("none.phd") + "\" not found");
    EXPECT_FALSE(missing.Imported());
    test::WriteFileBytes(dir.Path("v33.phd"), {33, 0, 0, 0});
    EXPECT_THAT(ImportLevelFile(dir.Path("v33.phd"), *level, *project).Refusal,
                HasSubstr("is not a level of the supported games"));
    test::WriteFileBytes(dir.Path("short.phd"), {32, 0, 0, 0, 1});
    EXPECT_EQ(ImportLevelFile(dir.Path("short.phd"), *level, *project).Refusal,
              "Level file \"" + dir.Path("short.phd") + "\" refused: Read beyond end of file");

    // A level whose only room is off the grid: read, but nothing came over.
    LevelMaker maker;
    maker.Room(0, 0, 3, 3, 0, -8).RoomInfo.Z = 100;
    ASSERT_EQ(WriteLevelFile(*maker.level, dir.Path("off.phd")), LevelWritten);
    const LevelFileImport off = ImportLevelFile(dir.Path("off.phd"), *level, *project);
    EXPECT_TRUE(off.Refusal.empty());
    EXPECT_FALSE(off.Imported());
    EXPECT_EQ(off.Result.Counts.RoomsSkipped, 1);
    EXPECT_EQ(project->Room(1).PosX, 42) << "the project is left as it was";

    auto demo = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*demo, FormatTUB, {3, 2});
    ASSERT_EQ(WriteLevelFile(*demo, dir.Path("demo.tub")), LevelWritten);
    const LevelFileImport done = ImportLevelFile(dir.Path("demo.tub"), *level, *project);
    EXPECT_TRUE(done.Imported());
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(project->Settings.BaseLevelFile.Str(), dir.Path("demo.tub"));
    EXPECT_EQ(level->LastBaseLevelName, dir.Path("demo.tub")) << "the level is the base level";
    EXPECT_EQ(level->FormatKind, FormatTUB);
}

} // namespace
} // namespace morvane
