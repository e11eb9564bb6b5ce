#include "document/room_limits.h"
#include "document/room_operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace morvane {
namespace {

using ::testing::HasSubstr;

// Two rooms made by the editor's own operations; room 2 is the one each case changes.
std::unique_ptr<TEditorProject> TwoRooms() {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values = RoomAt(10, 10, 100, 20, 100, 3);
    values.Name = "First";
    AddRoom(*project, scene, values);
    values.Name = "Second";
    AddRoom(*project, scene, values);
    project->Room(2).PortalViewCount = 1;
    project->Room(2).PortalView(1) = {1, 0, 1, 3, 2, 2, 3};
    return project;
}

TEST(RoomLimits, EachLimitAndItsEdges) {
    struct Case {
        const char* What;
        std::function<void(TEditorRoom&)> Change;
        const char* Problem; // empty: within the limits
    };
    const Case cases[] = {
        {"the editor's room", [](TEditorRoom&) {}, ""},
        {"31 columns", [](TEditorRoom& r) { r.XSectors = 31, r.ZSectors = 31; }, ""},
        {"32 columns", [](TEditorRoom& r) { r.XSectors = 32, r.ZSectors = 1; },
         "Room 2 (\"Second\") has 32 columns and 1 rows; a room has 1 to 31 of each"},
        {"32 rows", [](TEditorRoom& r) { r.XSectors = 1, r.ZSectors = 32; },
         "1 columns and 32 rows"},
        {"no rows", [](TEditorRoom& r) { r.ZSectors = 0; }, "10 columns and 0 rows"},
        {"the highest X", [](TEditorRoom& r) { r.PosX = MaxRoomPosition; }, ""},
        {"the lowest Z", [](TEditorRoom& r) { r.PosZ = MinRoomPosition; }, ""},
        {"X beyond", [](TEditorRoom& r) { r.PosX = MaxRoomPosition + 1; },
         "Room 2 (\"Second\") lies at X position 2097121; room positions go from -2097120 to "
         "2097120"},
        {"Z below", [](TEditorRoom& r) { r.PosZ = MinRoomPosition - 1; }, "Z position -2097121"},
        {"X far out", [](TEditorRoom& r) { r.PosX = 2147483647; }, "X position 2147483647"},
        {"a 32-sector view", [](TEditorRoom& r) { r.PortalView(1).HeightTiles = 32; }, ""},
        {"a 33-sector view", [](TEditorRoom& r) { r.PortalView(1).WidthTiles = 33; },
         "Portal view Door #1 of room 2 is 33 by 2 sectors; a portal view is 1 to 32 sectors "
         "each way"},
        {"an empty view", [](TEditorRoom& r) { r.PortalView(1).HeightTiles = 0; }, "3 by 0"},
        {"a huge view", [](TEditorRoom& r) { r.PortalView(1).HeightTiles = -2147483647 - 1; },
         "3 by -2147483648"},
        {"a view count below 0", [](TEditorRoom& r) { r.PortalViewCount = -1; },
         "has -1 portal views"},
    };
    for (const Case& c : cases) {
        auto project = TwoRooms();
        c.Change(project->Room(2));
        const std::string problem = RoomLimitsProblem(*project, RoomLimits::Placement);
        if (std::string(c.Problem).empty()) {
            EXPECT_EQ(problem, "") << c.What;
        } else {
            EXPECT_THAT(problem, HasSubstr(c.Problem)) << c.What;
        }
        EXPECT_EQ(RoomLimitsProblem(*project, RoomLimits::PlacementAndLevels), problem)
            << c.What << ": the levels are within theirs";
    }
}

// The room levels are checked by the build only: the tool bar's "Y" reaches 64 whatever the
// room's height, and a project saved so must still open.
TEST(RoomLimits, LevelsOnlyForTheBuild) {
    const struct {
        int PosY, Height;
        const char* Problem;
    } cases[] = {
        {1, 63, ""},
        {61, 3, ""},
        {64, 3, "Room 2 (\"Second\") reaches level 67 (level 64, height 3), above the limit of 64"},
        {255, 255, "reaches level 510"},
        {0, 3,
         "Room 2 (\"Second\") stands on level 0 with a height of 3; a room stands on level 1 "
         "or above and is at least 1 high"},
        {5, 0, "stands on level 5 with a height of 0"},
    };
    for (const auto& c : cases) {
        auto project = TwoRooms();
        project->Room(2).PosY = static_cast<uint8_t>(c.PosY);
        project->Room(2).Height = static_cast<uint8_t>(c.Height);
        EXPECT_EQ(RoomLimitsProblem(*project, RoomLimits::Placement), "") << c.PosY;
        const std::string problem = RoomLimitsProblem(*project, RoomLimits::PlacementAndLevels);
        if (std::string(c.Problem).empty()) {
            EXPECT_EQ(problem, "") << c.PosY << " " << c.Height;
        } else {
            EXPECT_THAT(problem, HasSubstr(c.Problem)) << c.PosY << " " << c.Height;
        }
    }
}

} // namespace
} // namespace morvane
