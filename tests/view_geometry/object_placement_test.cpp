// Where the view puts the objects, which way they face, and which one a pick finds.
#include "document/object_operations.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "level/world_units.h"
#include "view/object_placement.h"
#include "view/pick_names.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

TEST(ObjectPlacement, StandsOnTheFloorUnderItAndFacesByItsAngle) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms rooms;
    RoomDialogValues values = RoomAt(6, 5, 10, 3, 20, 4);
    values.Name = NextRoomName(*project);
    ASSERT_FALSE(AddRoom(*project, rooms, values).Refused);
    TEditorRoom& room = project->Room(1);
    room.GameSector(SectorNumber(3, 2, room.ZSectors)).FloorHeight = 2;

    TEditorObject object = NewObject(ObjectKind::Item, 1, 2 * 1024 + 300, 1024 + 700, 0);
    auto point = ObjectScenePoint(*project, object);
    EXPECT_NEAR(point[0], room.PosX + 2 + 300.0 / 1024, 1e-9);
    EXPECT_NEAR(point[1], room.PosY + 2, 1e-9) << "on the raised floor of sector (3, 2)";
    EXPECT_NEAR(point[2], -(room.PosZ + 1 + 700.0 / 1024), 1e-9);
    // Shape 5 slopes down two clicks from the low-z side to the high-z one: a quarter of the
    // way across, three quarters of the fall are still above.
    room.Sector(SectorNumber(3, 2, room.ZSectors)).FloorShape = 5;
    object.Z = 1024 + 256;
    EXPECT_NEAR(ObjectScenePoint(*project, object)[1], room.PosY + 2 + 384.0 / 1024, 1e-9);
    object.OnFloor = 0;
    object.Y = LevelZeroY - 5 * 1024 - 512;
    EXPECT_NEAR(ObjectScenePoint(*project, object)[1], 5.5, 1e-9);

    // The model's front (+z) and its top (-y, the game's up) in the scene.
    struct Turn {
        uint16_t Angle;
        double X, Z;
    };
    for (const Turn& turn :
         {Turn{0, 0, -1}, Turn{16384, 1, 0}, Turn{32768, 0, 1}, Turn{49152, -1, 0}}) {
        object.Angle = turn.Angle;
        const Mat4 m = ObjectSceneTransform(*project, object);
        const auto origin = Transform(m, 0, 0, 0), front = Transform(m, 0, 0, 1024),
                   top = Transform(m, 0, -1024, 0);
        EXPECT_NEAR(front[0] - origin[0], turn.X, 1e-9) << turn.Angle;
        EXPECT_NEAR(front[1] - origin[1], 0, 1e-9) << turn.Angle;
        EXPECT_NEAR(front[2] - origin[2], turn.Z, 1e-9) << turn.Angle;
        EXPECT_NEAR(top[1] - origin[1], 1, 1e-9) << turn.Angle;
    }
}

// A view straight down on the point (x, z) of the scene, the pick region a small square around
// it: nearer is higher.
Mat4 LookingDownAt(double x, double z) {
    constexpr double Zoom = 1000, Top = 64, Range = 128;
    Mat4 m;
    m.At(0, 0) = Zoom;
    m.At(0, 3) = -Zoom * x;
    m.At(1, 1) = 0;
    m.At(1, 2) = Zoom;
    m.At(1, 3) = -Zoom * z;
    m.At(2, 1) = -2 / Range;
    m.At(2, 2) = 0;
    m.At(2, 3) = 2 * Top / Range - 1;
    return m;
}

TEST(ObjectPlacement, PickFindsTheNearestDrawnBox) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms rooms;
    RoomDialogValues values = RoomAt(6, 5, 10, 3, 20, 4);
    values.Name = NextRoomName(*project);
    ASSERT_FALSE(AddRoom(*project, rooms, values).Refused);
    TEditorObject marker = NewObject(ObjectKind::Item, 1, 1536, 1536, 999);
    TEditorObject camera = NewObject(ObjectKind::Camera, 1, 1536 + 100, 1536 - 100, 0);
    camera.OnFloor = 0;
    camera.Y = ObjectWorldY(*project, marker) - 1024;
    TEditorObject other = NewObject(ObjectKind::Static, 1, 3 * 1024 + 512, 512, 4);
    ASSERT_EQ(ReplaceObjectLayer(*project, {marker, camera, other}), "");

    const auto at = ObjectScenePoint(*project, marker);
    EXPECT_EQ(PickObjects(LookingDownAt(at[0], at[2]), *project, nullptr, {0, 1, 2}), 1)
        << "the camera hangs above the marker";
    EXPECT_EQ(PickObjects(LookingDownAt(at[0], at[2]), *project, nullptr, {0, 2}), 0)
        << "only the drawn objects are offered";
    const double edge = MarkerHalfSize / SectorSize;
    EXPECT_EQ(PickObjects(LookingDownAt(at[0] - edge + 0.01, at[2]), *project, nullptr, {0}), 0);
    EXPECT_EQ(PickObjects(LookingDownAt(at[0] - edge - 0.01, at[2]), *project, nullptr, {0}), -1)
        << "just beside the marker's box";
    const auto far = ObjectScenePoint(*project, project->Objects.Objects[2]);
    EXPECT_EQ(PickObjects(LookingDownAt(far[0], far[2]), *project, nullptr, {0, 1, 2}), 2);
    EXPECT_EQ(MarkerLabelOf(nullptr, project->Objects.Objects[2]), "4");
    EXPECT_EQ(MarkerLabelOf(nullptr, project->Objects.Objects[1]), "") << "a camera has a figure";
}

} // namespace
} // namespace morvane
