#include "document/editor_texts.h"
#include "document/portal_views.h"
#include "document/room_operations.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

TEST(PortalViews, AddReplaceAndDelete) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values;
    for (int r = 0; r < 3; ++r) {
        AddRoom(*project, scene, values);
    }
    SelectRoom(*project, scene, 0);
    TEditorRoom& room = project->Room(1);

    DocumentOutcome refused = AddPortalView(*project, {1, 2, 2, 0});
    EXPECT_EQ(refused.Message, InvalidPortalViewRoomText);
    EXPECT_TRUE(refused.Refused);
    EXPECT_EQ(AddPortalView(*project, {4, 2, 2, 0}).Message, InvalidPortalViewRoomText);
    EXPECT_EQ(room.PortalViewCount, 0);

    DocumentOutcome added;
    for (int target : {2, 3, 2}) {
        added = AddPortalView(*project, {target, 3, 4, 4});
        EXPECT_EQ(added.Message, "");
    }
    ASSERT_TRUE(added.PortalList.has_value());
    EXPECT_EQ(added.PortalList->Entries,
              (std::vector<std::string>{"Door #1", "Door #2", "Door #3"}));
    EXPECT_EQ(added.PortalList->Selected, 2);
    EXPECT_EQ(room.PortalViewCount, 3);
    EXPECT_EQ(room.PortalView(3).Facing, PortalFacingCeiling);
    EXPECT_EQ(+room.PortalView(3).OriginZ, 2);
    EXPECT_EQ(+room.PortalView(3).OriginX, 3);

    room.PortalView(2).OriginX = 9;
    EXPECT_TRUE(ReplacePortalView(*project, 2, {3, 1, 1, 1}).Redraw);
    EXPECT_EQ(room.PortalView(2).Facing, PortalFacingBack);
    EXPECT_EQ(+room.PortalView(2).WidthTiles, 1);
    EXPECT_EQ(+room.PortalView(2).OriginX, 9) << "the origin stays";
    EXPECT_FALSE(ReplacePortalView(*project, 0, {3, 1, 1, 1}).Redraw) << "nothing selected";
    EXPECT_EQ(ReplacePortalView(*project, 2, {1, 1, 1, 1}).Message, InvalidPortalViewRoomText);
    EXPECT_EQ(PortalViewFieldsOf(*project, 2).FacingIndex, 1);
    EXPECT_EQ(PortalViewFieldsOf(*project, 2).Room, 3);

    DocumentOutcome deleted = DeletePortalView(*project);
    EXPECT_EQ(room.PortalViewCount, 2);
    EXPECT_EQ(deleted.PortalList->Entries.size(), 2u);
    EXPECT_EQ(deleted.PortalList->Selected, 1);
    DeletePortalView(*project);
    deleted = DeletePortalView(*project);
    EXPECT_EQ(deleted.PortalList->Selected, -1);
    EXPECT_FALSE(DeletePortalView(*project).Redraw) << "an empty list stays empty";
}

TEST(PortalViews, ATwentyFirstViewIsRefused) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values;
    AddRoom(*project, scene, values);
    AddRoom(*project, scene, values);
    for (int d = 0; d < MaxPortalViews; ++d) {
        ASSERT_EQ(AddPortalView(*project, {1, 1, 1, 0}).Message, "");
    }
    EXPECT_EQ(AddPortalView(*project, {1, 1, 1, 0}).Message, TooManyPortalViewsText);
    EXPECT_EQ(project->Current().PortalViewCount, MaxPortalViews);
}

} // namespace
} // namespace morvane
