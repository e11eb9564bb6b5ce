#include "document/sector_room_fixture.h"

#include "document/editor_texts.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_selection.h"
#include "document/sector_tools.h"
#include "document/shape_table.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

using Sectors = std::vector<int>;

struct Selection : test::SectorRoomFixture {
    static int N(int x, int z) { return SectorNumber(x, z, 6); } // rooms of 6 rows
};

TEST_F(Selection, RectanglesBetweenTwoSectorsInAnyDirectionAndAddedOnes) {
    const TEditorRoom& room = Add(6, 5);
    SectorSelection selection;
    EXPECT_TRUE(selection.Empty());
    selection.Begin(1, false);
    selection.Span(room, N(4, 5), N(2, 3)); // dragged toward the first column and row
    EXPECT_EQ(selection.Sectors(), (Sectors{N(2, 3), N(2, 4), N(2, 5), N(3, 3), N(3, 4), N(3, 5),
                                            N(4, 3), N(4, 4), N(4, 5)}));
    selection.Span(room, N(4, 5), N(4, 6)); // the pointer moved on: the rectangle follows it
    EXPECT_EQ(selection.Sectors(), (Sectors{N(4, 5), N(4, 6)}));

    selection.Begin(1, true); // Shift: added to what was chosen
    selection.Span(room, N(1, 1), N(1, 2));
    EXPECT_EQ(selection.Sectors(), (Sectors{N(1, 1), N(1, 2), N(4, 5), N(4, 6)}));
    EXPECT_TRUE(selection.Contains(N(4, 6)));
    EXPECT_FALSE(selection.Contains(N(3, 6)));

    selection.Begin(2, true); // another room starts over even when adding
    EXPECT_TRUE(selection.Empty());
    EXPECT_EQ(selection.Room(), 2);
    selection.Begin(1, false);
    selection.Span(room, N(2, 2), 31); // beyond the room's 30 sectors: nothing
    EXPECT_TRUE(selection.Empty());
    selection.Span(room, N(5, 6), N(5, 6));
    EXPECT_EQ(selection.Sectors(), (Sectors{30}));
    selection.Clear();
    EXPECT_TRUE(selection.Empty());
}

// A drag applies the click's edit to each chosen sector once, whatever the replication.
TEST_F(Selection, EditSectorsIsTheClickOnEverySectorWithoutReplication) {
    TEditorRoom& room = Add(6, 6);
    tools.SelectedShape = 7; // a slope: Shift turns it
    tools.ReplicationCount = 1000;
    tools.FloorTexture = 9;
    scene.HeightSelector = 1;
    const Sectors chosen{N(2, 2), N(2, 3), N(3, 2), N(3, 3)};
    const DocumentOutcome outcome = EditSectors(*project, scene, tools, chosen, false, true);
    EXPECT_EQ(outcome.Message, "");
    EXPECT_TRUE(outcome.Redraw);
    for (int x = 1; x <= 6; ++x) {
        for (int z = 1; z <= 6; ++z) {
            const bool in = (x == 2 || x == 3) && (z == 2 || z == 3);
            SCOPED_TRACE("column " + std::to_string(x) + ", row " + std::to_string(z));
            EXPECT_EQ(room.Sector(N(x, z)).FloorShape, in ? 7 + TurnedShapeOffset : 0);
            EXPECT_EQ(room.GameSector(N(x, z)).FloorHeight, in ? 1
                                                            : (x == 1 || x == 6 || z == 1 || z == 6)
                                                                ? 3
                                                                : 0);
            EXPECT_EQ(+room.Sector(N(x, z)).FloorSurface.Textures[2], in ? 8 : 0);
        }
    }

    // Ceilings with Ctrl; the click's refusals stop the drag with the click's message.
    tools.SelectedShape = 1;
    scene.HeightSelector = 1;
    EXPECT_EQ(EditSectors(*project, scene, tools, {N(4, 4), N(4, 5)}, true, false).Message, "");
    EXPECT_EQ(room.GameSector(N(4, 5)).CeilingHeight, 2);
    scene.HeightSelector = 2; // 2 + 1 + (3 - 2) > 3 on the sectors whose ceiling came down
    const DocumentOutcome refused =
        EditSectors(*project, scene, tools, {N(5, 3), N(4, 4), N(5, 5)}, false, false);
    EXPECT_EQ(refused.Message, InvalidHeightText);
    EXPECT_TRUE(refused.Refused);
    EXPECT_EQ(room.GameSector(N(5, 3)).FloorHeight, 2) << "sectors before the refusal are done";
    EXPECT_EQ(room.GameSector(N(5, 5)).FloorHeight, 0) << "the refusal ends the drag";

    // Numbers that are no sectors of the current room are no part of the drag (999 is beyond
    // any room): in particular the neighbour room is not made current.
    Add(4, 4);
    project->CurrentRoom = 1;
    scene.DrawnRoom = 1;
    scene.NeighbourRoom = 2;
    EXPECT_EQ(EditSectors(*project, scene, tools, {999, 0}, false, false).Message, "");
    EXPECT_EQ(project->CurrentRoom, 1) << "the neighbour is not swapped in by a drag";
}

} // namespace
} // namespace morvane
