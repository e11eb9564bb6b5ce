#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_status.h"
#include "document/shape_description.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

struct SectorStatus : ::testing::Test {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;

    TEditorRoom& Add(int length, int width, const std::string& name) {
        RoomDialogValues values;
        values.Long = length;
        values.Width = width;
        values.Height = 4;
        values.Name = name;
        AddRoom(*project, scene, values);
        return project->Current();
    }
};

TEST_F(SectorStatus, NamesTheRoomThePlaceTheHeightsTheShapesAndTheLinks) {
    Add(5, 5, "Cellar");
    TEditorRoom& hall = Add(6, 8, "Hall\xE9"); // a single-byte name is passed on as it is
    ASSERT_EQ(project->CurrentRoom, 2);
    const int n = SectorNumber(3, 4, 6);
    TGameSector& game = hall.GameSector(n);
    game.FloorHeight = 1;          // one sector height up: 4 clicks ...
    hall.Sector(n).FloorShape = 3; // ... and a half block on it: 2 more
    game.CeilingHeight = 3;        // 12 clicks, less the shape's 1 hanging below
    hall.Sector(n).CeilingShape = 4;
    game.RoomBelow = 0; // room 1
    EXPECT_EQ(SectorStatusText(*project, 0, ViewHit::OfSector(n)),
              "Room 2 \"Hall\xE9\" | column 3, row 4 | floor 6, ceiling 11 clicks | shapes: "
              "floor 3, ceiling 4 | links below: room 1");

    // A wall portal and a link above are told apart by the sector's portal kind.
    game.RoomBelow = NoRoom;
    game.RoomAbove = 0;
    hall.Sector(n).PortalKind = PortalKindSide;
    EXPECT_NE(SectorStatusText(*project, 0, ViewHit::OfSector(n)).find("links beside: room 1"),
              std::string::npos);
    hall.Sector(n).PortalKind = PortalKindAbove;
    game.RoomBelow = 0;
    EXPECT_NE(SectorStatusText(*project, 0, ViewHit::OfSector(n))
                  .find("links below: room 1, above: room 1"),
              std::string::npos);

    // The solid border of a new room: its floor reaches its ceiling.
    const std::string border =
        SectorStatusText(*project, 0, ViewHit::OfSector(SectorNumber(1, 1, 6)));
    EXPECT_NE(border.find("column 1, row 1 | floor 16, ceiling 16 clicks (closed)"),
              std::string::npos)
        << border;
    EXPECT_NE(border.find("| no links"), std::string::npos) << border;
}

TEST_F(SectorStatus, NeighbourNothingAndSectorsOutsideTheRoom) {
    Add(5, 5, "Cellar");
    Add(6, 8, "Hall");
    EXPECT_EQ(SectorStatusText(*project, 1, ViewHit::OfNeighbourRoom()),
              "Neighbour: Room 1 \"Cellar\" (click to make it the current room)");
    EXPECT_EQ(SectorStatusText(*project, 0, ViewHit::OfNeighbourRoom()), "")
        << "no neighbour drawn";
    EXPECT_EQ(SectorStatusText(*project, 3, ViewHit::OfNeighbourRoom()), "") << "no such room";
    EXPECT_EQ(SectorStatusText(*project, 1, ViewHit::Nothing()), "");
    EXPECT_EQ(SectorStatusText(*project, 1, ViewHit::OfSector(6 * 8 + 1)), "")
        << "past the room's last sector";
    EXPECT_NE(SectorStatusText(*project, 1, ViewHit::OfSector(6 * 8)), "");
    project->RoomCount = 0;
    EXPECT_EQ(SectorStatusText(*project, 1, ViewHit::OfSector(1)), "") << "no current room";
}

TEST(ShapeDescription, SaysHowEachShapeRisesFromTheShapeTable) {
    EXPECT_NE(ShapeDescription(0).find("solid block"), std::string::npos);
    EXPECT_NE(ShapeDescription(1).find("a flat block rising 4 clicks"), std::string::npos);
    EXPECT_NE(ShapeDescription(4).find("a flat block rising 1 click "), std::string::npos);
    // The slopes by their front and back edges: 5 falls gently, 10 rises steeply.
    EXPECT_NE(ShapeDescription(5).find("from 2 clicks at the front of the sector to 0 clicks"),
              std::string::npos);
    EXPECT_NE(ShapeDescription(7).find("from 2 clicks at the front of the sector to 4 clicks"),
              std::string::npos);
    EXPECT_NE(ShapeDescription(10).find("from 0 clicks at the front of the sector to 4 clicks"),
              std::string::npos);
    for (int shape = 0; shape <= 10; ++shape) {
        EXPECT_EQ(ShapeDescription(shape).rfind("Shape " + std::to_string(shape) + ": ", 0), 0u)
            << shape;
    }
    EXPECT_EQ(ShapeDescription(11), "") << "the turned shapes have no button of their own";
    EXPECT_EQ(ShapeDescription(-1), "");
}

} // namespace
} // namespace morvane
