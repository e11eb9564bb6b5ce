#include "levelbuild/build_fixture.h"

#include "demo/demo_project.h"
#include "document/doorways.h"
#include "document/flip_map_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "document/shape_table.h"
#include "level/floor_data.h"
#include "level/level_check.h"
#include "level/level_reader.h"
#include "levelbuild/build_checks.h"

#include <gmock/gmock.h>

#include <random>
#include <set>
#include <tuple>
#include <vector>

namespace morvane {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

std::vector<std::string> Lines(const std::vector<LevelFinding>& findings) {
    std::vector<std::string> lines;
    for (const LevelFinding& finding : findings) {
        lines.push_back(FormatFinding(finding));
    }
    return lines;
}

// A portal's corners in world units.
struct Corners {
    int Min[3], Max[3];
};
Corners WorldCorners(const TLevelRoom& room, const TRoomPortal& portal) {
    constexpr int Far = 1 << 30;
    Corners c{{Far, Far, Far}, {-Far, -Far, -Far}};
    for (const TPortalVertex& v : portal.Vertices) {
        const int p[3] = {room.RoomInfo.X + v.X, v.Y, room.RoomInfo.Z + v.Z};
        for (int axis = 0; axis < 3; ++axis) {
            c.Min[axis] = std::min(c.Min[axis], p[axis]);
            c.Max[axis] = std::max(c.Max[axis], p[axis]);
        }
    }
    return c;
}

// Every portal has one back from the room it shows, on exactly the same plane and spanning the
// same doorway across; every wall portal of the floor data has one back from the room beside,
// in the sector over this room's sector inside it; every link up or down has one back.
void ExpectDoorwaysBothWays(const TLevelData& level, const std::string& what) {
    for (int r = 0; r < level.NumRooms; ++r) {
        const TLevelRoom& room = level.Rooms[r];
        const std::string where = what + " room " + std::to_string(r + 1);
        for (int p = 0; p < room.NumPortals; ++p) {
            const int target = room.Portals[p].AdjoiningRoom;
            ASSERT_LT(target, level.NumRooms) << where;
            const Corners mine = WorldCorners(room, room.Portals[p]);
            const int axis = mine.Min[0] == mine.Max[0] ? 0 : mine.Min[1] == mine.Max[1] ? 1 : 2;
            const int across = axis == 2 ? 0 : 2; // the horizontal axis on the plane (x or z)
            bool back = false;
            const TLevelRoom& other = level.Rooms[target];
            for (int q = 0; q < other.NumPortals && !back; ++q) {
                const Corners theirs = WorldCorners(other, other.Portals[q]);
                back = other.Portals[q].AdjoiningRoom == r && theirs.Min[axis] == mine.Min[axis] &&
                       theirs.Max[axis] == mine.Max[axis] &&
                       theirs.Min[across] == mine.Min[across] &&
                       theirs.Max[across] == mine.Max[across];
                // One quad seen from both sides: the same heights too.
                back = back && theirs.Min[1] == mine.Min[1] && theirs.Max[1] == mine.Max[1];
            }
            EXPECT_TRUE(back) << where << " portal " << p + 1 << " to room " << target + 1 << " (x "
                              << mine.Min[0] << ".." << mine.Max[0] << ", y " << mine.Min[1] << ".."
                              << mine.Max[1] << ", z " << mine.Min[2] << ".." << mine.Max[2] << ")";
        }
        const int nz = room.NumZSectors;
        for (int n = 0; n < nz * room.NumXSectors; ++n) {
            const TGameSector& s = room.Sectors[n];
            const int column = n / nz, row = n % nz;
            const int x = room.RoomInfo.X + column * 1024 + 512;
            const int z = room.RoomInfo.Z + row * 1024 + 512;
            const int door = ReadSectorFloorData(level, s.FloorDataIndex).PortalRoom;
            if (door >= 0) {
                // One sector further into this room lies the room beside's border sector.
                const int dx = column == 0 ? 1024 : column == room.NumXSectors - 1 ? -1024 : 0;
                const int dz = row == 0 ? 1024 : row == nz - 1 ? -1024 : 0;
                const TLevelRoom& other = level.Rooms[door];
                const int there = SectorIndexAt(other, x + dx, z + dz);
                ASSERT_GE(there, 0) << where << " sector " << n + 1;
                EXPECT_EQ(
                    ReadSectorFloorData(level, other.Sectors[there].FloorDataIndex).PortalRoom, r)
                    << where << " sector " << n + 1;
            }
            for (const bool below : {true, false}) {
                const uint8_t link = below ? s.RoomBelow : s.RoomAbove;
                if (link == NoRoom) {
                    continue;
                }
                const TLevelRoom& other = level.Rooms[link];
                const int there = SectorIndexAt(other, x, z);
                ASSERT_GE(there, 0) << where << " sector " << n + 1;
                const TGameSector& answer = other.Sectors[there];
                EXPECT_EQ(below ? answer.RoomAbove : answer.RoomBelow, r)
                    << where << " sector " << n + 1;
                EXPECT_EQ(below ? answer.CeilingHeight : answer.FloorHeight,
                          below ? s.FloorHeight : s.CeilingHeight)
                    << where << " sector " << n + 1 << ": the rooms meet";
            }
        }
    }
}

// Lara stands in the given room, on the floor under her, as the game finds it.
void ExpectLaraOnTheFloor(const TLevelData& level, int room, const std::string& what) {
    ASSERT_GE(level.NumItems, 1u) << what;
    const bool second = UsesSecondGameRecords(level.FormatKind);
    const int type = second ? level.Items2[0].Type : level.Items1[0].Type;
    const int r = second ? level.Items2[0].Room : level.Items1[0].Room;
    const int x = second ? level.Items2[0].X : level.Items1[0].X;
    const int y = second ? level.Items2[0].Y : level.Items1[0].Y;
    const int z = second ? level.Items2[0].Z : level.Items1[0].Z;
    EXPECT_EQ(type, 0) << what;
    EXPECT_EQ(r, room) << what;
    const FloorUnder floor = FindFloorUnder(level, r, x, z);
    EXPECT_EQ(floor.Problem, "") << what;
    EXPECT_FALSE(floor.Wall) << what;
    EXPECT_EQ(floor.Room, room) << what;
    EXPECT_EQ(y, floor.FloorY) << what;
}

class EndToEnd : public test::BuildFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    // Four rooms: a hall with slopes and steps at level `posY`, a water room beside it joined by
    // wall portals, a room above joined through its ceiling and a cellar below joined through
    // its floor; the portal views are made from the doorways.
    void MakeProject(int posY) {
        NewProject(*project, scene);
        Add(8, 8, 10, posY, 10, 5);
        SectorToolState tools;
        for (int shape : {5, 6, 7, 8, 9, 10}) {
            tools.SelectedShape = shape;
            tools.FloorTexture = shape;
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(2, shape - 3, 8)),
                      false, false);
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(3, shape - 3, 8)),
                      false, true);
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(4, shape - 3, 8)),
                      true, false);
        }
        tools.SelectedShape = 3;
        scene.HeightSelector = 1;
        tools.ReplicationCount = 3;
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(5, 2, 8)), false, false);
        scene.HeightSelector = 0;
        tools.ReplicationCount = 1;

        TEditorRoom& pool = Add(6, 6, 0, 20, 0, 5);
        pool.Water = 1;
        SendRoomTo(*project, SendDirection::Right, 1);
        AddRoom(*project, scene, {}); // room 3, 10 x 10 and 3 high, above the hall
        SendRoomTo(*project, SendDirection::Up, 1);
        AddRoom(*project, scene, {}); // room 4, the cellar under the hall
        SendRoomTo(*project, SendDirection::Down, 1);

        // The hall's last column opens toward the pool, the pool's first toward the hall.
        SelectRoom(*project, scene, 0);
        tools.SelectedShape = 0;
        tools.SetRoomSide(2);
        for (int z = 2; z <= 5; ++z) {
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(8, z, 8)), false,
                      false);
        }
        tools.PutShapes = false;
        tools.SetRoomAbove(3);
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(6, 6, 8)), true, false);
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(7, 6, 8)), true, false);
        tools.SetRoomAbove(0);
        tools.SetRoomBelow(4);
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(6, 3, 8)), false, false);
        tools.SetRoomBelow(0);

        SelectRoom(*project, scene, 1);
        tools.PutShapes = true;
        tools.SetRoomSide(1);
        for (int z = 2; z <= 5; ++z) {
            EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(1, z, 6)), false,
                      false);
        }
        tools.PutShapes = false;
        SelectRoom(*project, scene, 2);
        tools.SetRoomBelow(1);
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(6, 6, 10)), false, false);
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(7, 6, 10)), false, false);
        SelectRoom(*project, scene, 3);
        tools.SetRoomAbove(1);
        EditClick(*project, scene, tools, ViewHit::OfSector(SectorNumber(6, 3, 10)), true, false);

        MakePortalViews(*project, PortalViewScope::AllRooms);
        SelectRoom(*project, scene, 0);
    }

    std::string Extension() const {
        return GetParam() == FormatTUB ? ".tub" : "." + std::string(FormatKindName(GetParam()));
    }
};

TEST_P(EndToEnd, ProjectsAtSeveralHeightsPlayFromTheirFile) {
    const int32_t kind = GetParam();
    const std::string base = MakeBase(kind, "base" + Extension());
    const std::string script = "Start_Trigger(1,3,3)\nDo_with_Activate(62,0,0)\nItem(2)\nEnd()\n"
                               "End_Trigger()\nPut_Item(2,3,3,0,163,1,0)\nAdd_Camera(1,4,4,2)\n"
                               "Kill_Lara(1,2,2)\n";
    test::WriteFileBytes(dir.Path("t.scp"), test::Bytes(script.begin(), script.end()));
    for (int posY : {4, 20, 40}) {
        const std::string what =
            std::string(FormatKindName(kind)) + " level " + std::to_string(posY);
        MakeProject(posY);
        const std::string out = dir.Path("out" + Extension());
        BuildResult result = Build({base, out, "", "", dir.Path("t.scp")});
        ASSERT_TRUE(result.Written) << what << ::testing::PrintToString(result.Messages);
        EXPECT_THAT(result.Messages, IsEmpty()) << what;
        EXPECT_THAT(Lines(result.Warnings), IsEmpty()) << what;

        auto level = std::make_unique<TLevelData>();
        ASSERT_EQ(ReadLevelFile(*level, out).Status, ReadStatus::Done) << what;
        EXPECT_EQ(level->FormatKind, kind) << what;
        ASSERT_EQ(level->NumRooms, 4) << what;
        EXPECT_EQ(level->NumItems, 2u) << what;
        EXPECT_EQ(level->NumCameras, 1u) << what;
        EXPECT_EQ(level->Rooms[0].NumPortals, 3)
            << what << ": the pool, the room above, the cellar";
        EXPECT_EQ(level->Rooms[1].NumPortals, 1) << what;
        EXPECT_EQ(level->Rooms[1].RoomFlags & RoomFlagWater, RoomFlagWater) << what;
        EXPECT_GT(level->Rooms[0].NumTriangles, 0) << what << ": slopes give triangular walls";
        ExpectLaraOnTheFloor(*level, 0, what);
        EXPECT_EQ(+level->Items1[0].X, 10 * 1024 + 3072) << what << ": her usual spot is open";
        ExpectDoorwaysBothWays(*level, what);
        EXPECT_THAT(Lines(CheckLevel(*level)), IsEmpty()) << what;
    }
}

TEST_P(EndToEnd, TheDemoProjectPlaysOnEachLayout) {
    const std::string base = MakeBase(GetParam(), "demo" + Extension());
    const std::string out = dir.Path("built" + Extension());
    demo::MakeDemoProject(*project, base, out);
    BuildResult result = Build({base, out, "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(Lines(result.Warnings), IsEmpty());
    auto level = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*level, out).Status, ReadStatus::Done);
    ASSERT_EQ(level->NumRooms, 3);
    ExpectLaraOnTheFloor(*level, 0, "demo");
    ExpectDoorwaysBothWays(*level, "demo");
    EXPECT_THAT(Lines(CheckLevel(*level)), IsEmpty());

    // The hall's doorway to the pool is six sectors wide, on the plane where the two rooms meet
    // (x 31 sectors), and the pool's portal back lies on the same plane.
    const TLevelRoom& hall = level->Rooms[0];
    const TLevelRoom& pool = level->Rooms[1];
    ASSERT_GE(hall.NumPortals, 1);
    ASSERT_EQ(pool.NumPortals, 1);
    const Corners toPool = WorldCorners(hall, hall.Portals[0]);
    EXPECT_EQ(hall.Portals[0].AdjoiningRoom, 1);
    EXPECT_EQ(toPool.Min[0], 31 * 1024);
    EXPECT_EQ(toPool.Max[0], 31 * 1024);
    EXPECT_EQ(toPool.Max[2] - toPool.Min[2], 6 * 1024);
    EXPECT_EQ(WorldCorners(pool, pool.Portals[0]).Min[0], 31 * 1024);
}

// Rooms of different heights and floor levels, joined beside one another through wall portals
// at random places along their shared sides (the sectors on both sides of the doorway with random
// floors and ceilings) and on top of one another through floor and ceiling links: every portal
// the build writes has the same quad back, and neither the project's checks nor the level check
// find a doorway that does not answer.
TEST_P(EndToEnd, DoorwaysBetweenRoomsOfDifferentHeightsGetOneQuadBothWays) {
    const std::string base = MakeBase(GetParam(), "base" + Extension());
    const std::string out = dir.Path("out" + Extension());
    std::mt19937 random(static_cast<uint32_t>(GetParam()) * 7919u + 17u);
    auto between = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // A flat or sloped floor up to a level above the room's bottom, a ceiling up to two levels
    // below its top: rooms five levels high or more, a level apart at most, keep an opening
    // between them.
    auto shapeSector = [&](TEditorRoom& room, int column, int row) {
        const int n = SectorNumber(column, row, room.ZSectors);
        TEditorSector& sector = room.Sector(n);
        TGameSector& game = room.GameSector(n);
        sector.FloorShape =
            static_cast<uint8_t>(between(0, 3) == 0 ? between(5, 16) : between(0, 4));
        sector.CeilingShape = static_cast<uint8_t>(between(0, 4));
        game.FloorHeight = 0;
        game.CeilingHeight = static_cast<int8_t>(room.Height - between(0, 1));
        game.FloorDataIndex = SlopeFloorDataIndex(sector.FloorShape, sector.CeilingShape);
    };
    auto link = [&](TEditorRoom& room, int column, int row, int target, int32_t kind) {
        const int n = SectorNumber(column, row, room.ZSectors);
        room.Sector(n).PortalKind = kind;
        room.GameSector(n).RoomAbove = static_cast<uint8_t>(target - 1);
    };
    // Each sector takes part in one doorway at most: a room sent beside a room that already has
    // a neighbour there overlaps it.
    std::set<std::pair<int, int>> taken; // room, sector
    auto free = [&](const std::vector<std::tuple<int, int, int>>& sectors) {
        for (const auto& [r, column, row] : sectors) {
            if (taken.count({r, SectorNumber(column, row, project->Room(r).ZSectors)}) != 0) {
                return false;
            }
        }
        for (const auto& [r, column, row] : sectors) {
            taken.insert({r, SectorNumber(column, row, project->Room(r).ZSectors)});
        }
        return true;
    };
    int doorways = 0;
    for (int trial = 0; trial < 25; ++trial) {
        taken.clear();
        const std::string what =
            std::string(FormatKindName(GetParam())) + " project " + std::to_string(trial);
        NewProject(*project, scene);
        Add(between(5, 9), between(5, 9), 30, between(20, 30), 30, between(5, 8));
        const int rooms = between(2, 5);
        for (int m = 2; m <= rooms; ++m) {
            const int p = between(1, m - 1);
            TEditorRoom& room = Add(between(5, 9), between(5, 9), 0, 20, 0, between(5, 8));
            const SendDirection direction = static_cast<SendDirection>(between(0, 5));
            SendRoomTo(*project, direction, p);
            const TEditorRoom& other = project->Room(p);
            if (direction == SendDirection::Up || direction == SendDirection::Down) {
                TEditorRoom& upper = direction == SendDirection::Up ? room : project->Room(p);
                TEditorRoom& lower = direction == SendDirection::Up ? project->Room(p) : room;
                const int upperNumber = direction == SendDirection::Up ? m : p;
                const int lowerNumber = direction == SendDirection::Up ? p : m;
                if (upper.PosY != lower.PosY + lower.Height) {
                    continue; // pushed against the lowest or highest level: they do not meet
                }
                // An area inside both rooms, away from their walls.
                const int x0 = std::max(upper.PosX, lower.PosX) + 1;
                const int x1 =
                    std::min(upper.PosX + upper.XSectors, lower.PosX + lower.XSectors) - 2;
                const int z0 = std::max(upper.PosZ, lower.PosZ) + 1;
                const int z1 =
                    std::min(upper.PosZ + upper.ZSectors, lower.PosZ + lower.ZSectors) - 2;
                if (x0 > x1 || z0 > z1) {
                    continue;
                }
                const int ax = between(x0, x1), az = between(z0, z1);
                const int bx = between(ax, x1), bz = between(az, z1);
                std::vector<std::tuple<int, int, int>> sectors;
                for (int x = ax; x <= bx; ++x) {
                    for (int z = az; z <= bz; ++z) {
                        sectors.emplace_back(upperNumber, x - upper.PosX + 1, z - upper.PosZ + 1);
                        sectors.emplace_back(lowerNumber, x - lower.PosX + 1, z - lower.PosZ + 1);
                    }
                }
                if (!free(sectors)) {
                    continue;
                }
                for (int x = ax; x <= bx; ++x) {
                    for (int z = az; z <= bz; ++z) {
                        const int uc = x - upper.PosX + 1, ur = z - upper.PosZ + 1;
                        const int lc = x - lower.PosX + 1, lr = z - lower.PosZ + 1;
                        upper.GameSector(SectorNumber(uc, ur, upper.ZSectors)).RoomBelow =
                            static_cast<uint8_t>(lowerNumber - 1);
                        link(lower, lc, lr, upperNumber, PortalKindAbove);
                        upper.GameSector(SectorNumber(uc, ur, upper.ZSectors)).FloorHeight = 0;
                        upper.Sector(SectorNumber(uc, ur, upper.ZSectors)).FloorShape = 0;
                        lower.GameSector(SectorNumber(lc, lr, lower.ZSectors)).CeilingHeight =
                            static_cast<int8_t>(lower.Height);
                        lower.Sector(SectorNumber(lc, lr, lower.ZSectors)).CeilingShape = 0;
                    }
                }
                ++doorways;
                continue;
            }
            // Beside its neighbour, a level higher, lower or at the same level.
            room.PosY = static_cast<uint8_t>(other.PosY + between(-1, 1));
            const bool alongZ =
                direction == SendDirection::Left || direction == SendDirection::Right;
            // The room on the low side of the shared plane, and the other.
            const bool roomLow =
                direction == SendDirection::Left || direction == SendDirection::Back;
            TEditorRoom& low = roomLow ? room : project->Room(p);
            TEditorRoom& high = roomLow ? project->Room(p) : room;
            const int lowNumber = roomLow ? m : p, highNumber = roomLow ? p : m;
            // World cells along the plane that are no room's corner.
            const int a0 =
                alongZ ? std::max(low.PosZ, high.PosZ) + 1 : std::max(low.PosX, high.PosX) + 1;
            const int a1 = alongZ
                               ? std::min(low.PosZ + low.ZSectors, high.PosZ + high.ZSectors) - 2
                               : std::min(low.PosX + low.XSectors, high.PosX + high.XSectors) - 2;
            if (a0 > a1) {
                continue;
            }
            // Sent against the grid's edge: the rooms do not overlap by two sectors.
            const int overlap =
                alongZ ? high.PosX - low.PosX - low.XSectors : high.PosZ - low.PosZ - low.ZSectors;
            if (overlap != -2) {
                continue;
            }
            const int first = between(a0, a1), last = between(first, a1);
            std::vector<std::tuple<int, int, int>> sectors;
            for (int a = first; a <= last; ++a) {
                for (int inward = 0; inward <= 1; ++inward) {
                    if (alongZ) {
                        sectors.emplace_back(lowNumber, low.XSectors - inward, a - low.PosZ + 1);
                        sectors.emplace_back(highNumber, 1 + inward, a - high.PosZ + 1);
                    } else {
                        sectors.emplace_back(lowNumber, a - low.PosX + 1, low.ZSectors - inward);
                        sectors.emplace_back(highNumber, a - high.PosX + 1, 1 + inward);
                    }
                }
            }
            if (!free(sectors)) {
                continue;
            }
            for (int a = first; a <= last; ++a) {
                // The low room's last column (row) and the one before it; the high room's first
                // and second.
                const int lowBorder = alongZ ? low.XSectors : low.ZSectors;
                const int lc = alongZ ? lowBorder : a - low.PosX + 1;
                const int lr = alongZ ? a - low.PosZ + 1 : lowBorder;
                const int hc = alongZ ? 1 : a - high.PosX + 1;
                const int hr = alongZ ? a - high.PosZ + 1 : 1;
                for (int inward = 0; inward <= 1; ++inward) {
                    shapeSector(low, lc - (alongZ ? inward : 0), lr - (alongZ ? 0 : inward));
                    shapeSector(high, hc + (alongZ ? inward : 0), hr + (alongZ ? 0 : inward));
                }
                link(low, lc, lr, highNumber, PortalKindSide);
                link(high, hc, hr, lowNumber, PortalKindSide);
            }
            ++doorways;
        }
        ASSERT_EQ(MakePortalViews(*project, PortalViewScope::AllRooms).Message, "") << what;
        EXPECT_THAT(Lines(CheckOpenings(*project)), IsEmpty()) << what;
        EXPECT_THAT(Lines(CheckPortalViews(*project)), IsEmpty()) << what;
        BuildResult result = Build({base, out, "", "", ""});
        ASSERT_TRUE(result.Written) << what << ::testing::PrintToString(result.Messages);
        ExpectDoorwaysBothWays(*level, what);
        for (const LevelFinding& finding : CheckLevel(*level)) {
            EXPECT_EQ(finding.Portal, 0) << what << ": " << FormatFinding(finding);
            EXPECT_THAT(finding.Text, Not(HasSubstr("portal")))
                << what << ": " << FormatFinding(finding);
        }
    }
    EXPECT_GE(doorways, 25) << "the random projects join their rooms";
}

// The demo's hall with an alternate whose floor has a raised block: the level links the two, the
// boxes and zones of both flip states pass the level check.
TEST_P(EndToEnd, AnAlternateRoomBuildsIntoTheLevelWithItsZones) {
    const std::string base = MakeBase(GetParam(), "demo" + Extension());
    const std::string out = dir.Path("built" + Extension());
    demo::MakeDemoProject(*project, base, out);
    SelectRoom(*project, scene, 0);
    ASSERT_FALSE(MakeAlternateRoom(*project, scene).Refused);
    const int alternate = project->RoomCount;
    TEditorRoom& room = project->Room(alternate);
    for (int x = 6; x <= 7; ++x) {
        for (int z = 6; z <= 7; ++z) {
            room.GameSector(SectorNumber(x, z, room.ZSectors)).FloorHeight += 2;
        }
    }
    SelectRoom(*project, scene, 0); // Lara starts in the hall
    BuildResult result = Build({base, out, "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(Lines(result.Warnings), IsEmpty());
    auto level = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*level, out).Status, ReadStatus::Done);
    ASSERT_EQ(level->NumRooms, alternate);
    EXPECT_EQ(level->Rooms[0].AlternateRoom, alternate - 1);
    for (int r = 1; r < alternate; ++r) {
        EXPECT_EQ(level->Rooms[r].AlternateRoom, -1) << "room " << r + 1;
    }
    const TLevelRoom& built = level->Rooms[alternate - 1];
    EXPECT_NE(built.Sectors[SectorNumber(6, 6, room.ZSectors) - 1].BoxIndex,
              built.Sectors[SectorNumber(3, 3, room.ZSectors) - 1].BoxIndex)
        << "the raised block is a box of its own";
    EXPECT_THAT(Lines(CheckLevel(*level)), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, EndToEnd,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

} // namespace
} // namespace morvane
