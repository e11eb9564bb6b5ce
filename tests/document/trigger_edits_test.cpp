// The trigger layer beside the edits of the rooms and objects it stands on and names, and the
// kinds the triggers dock gives a trigger or an action.
#include "document/editor_texts.h"
#include "document/object_operations.h"
#include "document/room_operations.h"
#include "document/trigger_operations.h"
#include "level/level_format.h"
#include "level/world_units.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace morvane {
namespace {

struct TriggerEdits : ::testing::Test {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;

    void SetUp() override {
        RoomDialogValues values;
        values.Long = 8;  // rows
        values.Width = 8; // columns
        values.Height = 4;
        values.Name = NextRoomName(*project);
        ASSERT_EQ(AddRoom(*project, scene, values).Message, "");
    }
    int Place(ObjectKind kind, int column, int row) {
        const TEditorObject object = NewObject(kind, 1, (column - 1) * SectorSize + SectorSize / 2,
                                               (row - 1) * SectorSize + SectorSize / 2, 7);
        EXPECT_EQ(PlaceObject(*project, object).Message, "");
        return static_cast<int>(project->Objects.Count) - 1;
    }
    void Set(int column, int row, const TEditorTrigger& trigger) {
        EXPECT_EQ(SetTriggers(*project, FormatTR2, {{1, column, row}}, trigger).Message, "");
    }
};

TEST_F(TriggerEdits, WhatStoodOnAGridMadeSmallerStaysOnIt) {
    const int wolf = Place(ObjectKind::Item, 7, 8);
    TEditorTrigger trigger = NewTrigger(1, 1, 1);
    trigger.Actions[trigger.ActionCount++] = NewTriggerAction(TriggerActionKind::Object, wolf);
    Set(2, 3, trigger);
    Set(6, 3, trigger);
    Set(2, 7, trigger);
    RoomDialogValues edited = PropertiesDialogValues(*project);
    edited.Long = 5;
    edited.Width = 4;
    RebuildCurrentRoom(*project, edited);
    ASSERT_EQ(project->Current().XSectors, 4);
    ASSERT_EQ(project->Current().ZSectors, 5);
    EXPECT_EQ(project->Triggers.Count, 1u) << "the triggers beyond column 4 or row 5 go";
    EXPECT_GE(TriggerAt(*project, 1, 2, 3), 0);
    const TEditorObject& moved = project->Objects.Objects[wolf];
    EXPECT_EQ(moved.X, 4 * SectorSize - 1) << "the wolf comes to the grid's edge";
    EXPECT_EQ(moved.Z, 5 * SectorSize - 1);
    EXPECT_FALSE(CheckTriggerFields(*project, project->Triggers.Triggers[0], FormatTR2));
}

TEST_F(TriggerEdits, AnObjectOfAnotherKindLosesWhatNeededTheKindItWas) {
    const int lever = Place(ObjectKind::Item, 2, 2);
    const int camera = Place(ObjectKind::Camera, 3, 3);
    const int wolf = Place(ObjectKind::Item, 4, 4);
    TEditorTrigger trigger = NewTrigger(1, 1, 1, TriggerKind::Switch);
    trigger.Object = static_cast<int16_t>(lever);
    trigger.Actions[trigger.ActionCount++] = NewTriggerAction(TriggerActionKind::Camera, camera, 3);
    trigger.Actions[trigger.ActionCount++] = NewTriggerAction(TriggerActionKind::Object, wolf);
    Set(2, 3, trigger);
    TEditorTrigger pad = NewTrigger(1, 1, 1, TriggerKind::Pad);
    pad.Actions[pad.ActionCount++] = NewTriggerAction(TriggerActionKind::Object, wolf);
    pad.Actions[pad.ActionCount++] = NewTriggerAction(TriggerActionKind::Camera, camera, 3);
    Set(5, 5, pad);

    // The camera becomes an item: the camera actions naming it go.
    TEditorObject changed = project->Objects.Objects[camera];
    changed.Kind = static_cast<uint8_t>(ObjectKind::Item);
    ASSERT_EQ(ChangeObject(*project, camera, changed).Message, "");
    ASSERT_EQ(project->Triggers.Count, 2u);
    for (uint32_t i = 0; i < project->Triggers.Count; ++i) {
        const TEditorTrigger& t = project->Triggers.Triggers[i];
        ASSERT_EQ(t.ActionCount, 1);
        EXPECT_EQ(t.Actions[0].KindOf(), TriggerActionKind::Object);
        EXPECT_FALSE(CheckTriggerFields(*project, t, FormatTR2));
    }
    // The lever becomes a light: the switch tied to it goes, the pad stays.
    changed = project->Objects.Objects[lever];
    changed.Kind = static_cast<uint8_t>(ObjectKind::Light);
    ASSERT_EQ(ChangeObject(*project, lever, changed).Message, "");
    ASSERT_EQ(project->Triggers.Count, 1u);
    EXPECT_EQ(project->Triggers.Triggers[0].KindOf(), TriggerKind::Pad);
}

// Whatever kind the dock's boxes give a trigger or one of its actions, on each layout, the layer
// takes it when the project has an item and a camera to name.
TEST_F(TriggerEdits, KindsChosenInTheDockGiveTriggersTheLayerTakes) {
    const int item = Place(ObjectKind::Item, 2, 2);
    const int camera = Place(ObjectKind::Camera, 3, 3);
    std::mt19937 random(5);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    int taken = 0;
    for (const int32_t layout : {FormatTR1, FormatTUB, FormatTR2, FormatTR3}) {
        for (int k = 0; k <= LastTriggerKind; ++k) {
            if (!LayoutHasTriggerKind(layout, k)) {
                continue;
            }
            for (int a = 0; a <= LastTriggerActionKind; ++a) {
                if (!LayoutHasTriggerAction(layout, a)) {
                    continue;
                }
                // From an action of another kind with a value of its own.
                int from = below(LastTriggerActionKind + 1);
                while (!LayoutHasTriggerAction(layout, from)) {
                    from = below(LastTriggerActionKind + 1);
                }
                const auto fromKind = static_cast<TriggerActionKind>(from);
                const TriggerNumberRange numbers = TriggerActionNumbers(fromKind);
                const int value =
                    TriggerActionNamesObject(fromKind) ? item
                    : TriggerActionNamesCamera(fromKind)
                        ? camera
                        : numbers.Lowest + below(numbers.Highest - numbers.Lowest + 1);
                TEditorTrigger trigger = WithTriggerKind(NewTrigger(1, 1, 1, TriggerKind::Switch),
                                                         static_cast<TriggerKind>(k), item);
                trigger.Actions[trigger.ActionCount++] =
                    WithActionKind(NewTriggerAction(fromKind, value,
                                                    fromKind == TriggerActionKind::Camera ? 9 : 0),
                                   static_cast<TriggerActionKind>(a), item, camera);
                trigger.Room = 1;
                trigger.Column = static_cast<uint8_t>(2 + below(6));
                trigger.Row = static_cast<uint8_t>(2 + below(6));
                const auto problem = CheckTriggerFields(*project, trigger, layout);
                EXPECT_FALSE(problem)
                    << FormatKindName(layout) << ", " << k << ", " << from << " to " << a << ": "
                    << problem->Field << " " << problem->Text;
                taken += problem ? 0 : 1;
            }
        }
    }
    EXPECT_GT(taken, 4 * 9 * 10);
}

} // namespace
} // namespace morvane
