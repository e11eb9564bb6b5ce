#include "build/build_fixture.h"

#include "document/portal_views.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "level/level_reader.h"

#include <gmock/gmock.h>

namespace morvane {
namespace {

// Walks one sector's floor-data entry list; false when it runs off the data or holds an
// unknown function.
bool WellFormedEntryList(const TLevelData& level, uint32_t index) {
    if (index == 0) {
        return true;
    }
    for (int entries = 0; entries < 64; ++entries) {
        if (index >= level.NumFloorData) {
            return false;
        }
        const uint16_t head = level.FloorData[index++];
        switch (head & 0x1F) {
        case 1:
        case 2:
        case 3:
            ++index;
            break;
        case 4: {
            ++index; // setup
            const int type = (head >> 8) & 0x7F;
            if (type >= 2 && type <= 5) {
                ++index;
            }
            for (bool last = false; !last;) {
                if (index >= level.NumFloorData) {
                    return false;
                }
                uint16_t action = level.FloorData[index++];
                if (((action >> 10) & 0x1F) == 1) {
                    action = level.FloorData[index++];
                }
                last = (action & 0x8000) != 0;
            }
            break;
        }
        case 5:
            break;
        default:
            return false;
        }
        if (head & 0x8000) {
            return index <= level.NumFloorData;
        }
    }
    return false;
}

void ExpectConsistentLevel(const TLevelData& level, const std::string& layout) {
    const bool thirdGame = level.FormatKind == FormatTR3;
    for (int r = 0; r < level.NumRooms; ++r) {
        const TLevelRoom& room = level.Rooms[r];
        const std::string where = layout + " room " + std::to_string(r + 1);
        for (int f = 0; f < room.NumRectangles; ++f) {
            for (uint16_t v : room.Rectangles[f].Vertices) {
                ASSERT_LT(v, room.NumVertices) << where;
            }
        }
        for (int f = 0; f < room.NumTriangles; ++f) {
            for (uint16_t v : room.Triangles[f].Vertices) {
                ASSERT_LT(v, room.NumVertices) << where;
            }
        }
        for (int p = 0; p < room.NumPortals; ++p) {
            ASSERT_LT(room.Portals[p].AdjoiningRoom, level.NumRooms) << where;
        }
        for (int n = 0; n < room.NumZSectors * room.NumXSectors; ++n) {
            const TGameSector& s = room.Sectors[n];
            ASSERT_TRUE(WellFormedEntryList(level, s.FloorDataIndex))
                << where << " sector " << n + 1;
            const bool noBox = s.BoxIndex == (thirdGame ? 0xFFF0 : 0xFFFF);
            ASSERT_TRUE(noBox || (thirdGame ? s.BoxIndex >> 4 : s.BoxIndex) < level.NumBoxes)
                << where;
            ASSERT_TRUE(s.RoomAbove == NoRoom || s.RoomAbove < level.NumRooms) << where;
            ASSERT_TRUE(s.RoomBelow == NoRoom || s.RoomBelow < level.NumRooms) << where;
        }
    }
    for (uint32_t b = 0; b < level.NumBoxes; ++b) {
        const uint16_t overlap = UsesSecondGameRecords(level.FormatKind)
                                     ? level.Boxes2[b].OverlapIndex
                                     : level.Boxes1[b].OverlapIndex;
        uint32_t at = overlap & 0x3FFF;
        for (bool last = false; !last; ++at) {
            ASSERT_LT(at, level.NumOverlaps) << layout << " box " << b;
            ASSERT_LT(level.Overlaps[at] & 0x7FFF, level.NumBoxes) << layout << " box " << b;
            last = (level.Overlaps[at] & 0x8000) != 0;
        }
    }
}

class EndToEnd : public test::BuildFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    // Three rooms: a hall with slopes and steps, a water room beside it joined by wall portals,
    // and a room above the hall joined through its ceiling.
    void MakeProject() {
        TEditorRoom& hall = Add(8, 8, 10, 20, 10, 5);
        SectorToolState tools;
        for (int shape : {5, 6, 7, 8, 9, 10}) {
            tools.SelectedShape = shape;
            tools.FloorTexture = shape;
            EditClick(*project, scene, tools, SectorNumber(2, shape - 3, 8), false, false);
            EditClick(*project, scene, tools, SectorNumber(3, shape - 3, 8), false, true);
            EditClick(*project, scene, tools, SectorNumber(4, shape - 3, 8), true, false);
        }
        tools.SelectedShape = 3;
        scene.HeightSelector = 1;
        tools.ReplicationCount = 3;
        EditClick(*project, scene, tools, SectorNumber(5, 2, 8), false, false);
        scene.HeightSelector = 0;
        tools.ReplicationCount = 1;

        TEditorRoom& pool = Add(6, 6, 0, 20, 0, 5);
        pool.Water = 1;
        SendRoomTo(*project, SendDirection::Right, 1);
        AddRoom(*project, scene, {}); // room 3, placed above the hall
        SendRoomTo(*project, SendDirection::Up, 1);

        // Open the hall's last column toward the pool and join them.
        SelectRoom(*project, scene, 0);
        tools.SelectedShape = 0;
        tools.SetRoomSide(2);
        for (int z = 2; z <= 5; ++z) {
            EditClick(*project, scene, tools, SectorNumber(8, z, 8), false, false);
        }
        tools.SetRoomSide(0);
        tools.SetRoomAbove(3);
        EditClick(*project, scene, tools, SectorNumber(6, 6, 8), true, false);
        AddPortalView(*project, {2, 1, 3, 3});
        AddPortalView(*project, {3, 2, 2, 4});
        PortalOriginClick(*project, SectorNumber(7, 3, 8), 1);

        SelectRoom(*project, scene, 1);
        tools.SetRoomAbove(0);
        tools.SetRoomSide(1);
        for (int z = 2; z <= 5; ++z) {
            EditClick(*project, scene, tools, SectorNumber(1, z, 6), false, false);
        }
        AddPortalView(*project, {1, 1, 2, 2});
        (void)hall;
    }
};

TEST_P(EndToEnd, AProjectBuildsIntoAConsistentLevel) {
    const int32_t kind = GetParam();
    const std::string layout = FormatKindName(kind);
    const std::string extension = kind == FormatTUB ? ".tub" : "." + layout;
    MakeProject();
    const std::string script = "Start_Trigger(1,3,3)\nDo_with_Activate(62,0,0)\nItem(2)\nEnd()\n"
                               "End_Trigger()\nPut_Item(2,3,3,0,110,1,0)\nAdd_Camera(1,4,4,2)\n"
                               "Kill_Lara(1,2,2)\n";
    test::WriteFileBytes(dir.Path("t.scp"), test::Bytes(script.begin(), script.end()));
    const std::string base = MakeBase(kind, "base" + extension);
    BuildResult result = Build({base, dir.Path("out" + extension), "", "", dir.Path("t.scp")});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_TRUE(result.Messages.empty()) << ::testing::PrintToString(result.Messages);

    auto out = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("out" + extension)), LevelReadDone);
    EXPECT_EQ(out->FormatKind, kind);
    ASSERT_EQ(out->NumRooms, 3);
    EXPECT_EQ(out->NumItems, 2u);
    EXPECT_EQ(out->NumCameras, 1u);
    EXPECT_EQ(out->Rooms[0].NumPortals, 2);
    EXPECT_EQ(out->Rooms[1].NumPortals, 1);
    EXPECT_EQ(out->Rooms[1].RoomFlags & RoomFlagWater, RoomFlagWater);
    EXPECT_EQ(out->Rooms[0].Sectors[(8 - 1) * 8 + 2].RoomAbove, NoRoom)
        << "wall portals move to floor data";
    EXPECT_EQ(out->Rooms[0].Sectors[(6 - 1) * 8 + 5].RoomAbove, 2);
    EXPECT_GT(out->Rooms[0].NumTriangles, 0) << "slopes give triangular walls";
    ExpectConsistentLevel(*out, layout);
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, EndToEnd,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

} // namespace
} // namespace morvane
