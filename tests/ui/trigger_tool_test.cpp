// The trigger tool as a person uses it: sectors chosen by dragging over the floor, their trigger
// added and edited in the triggers dock (an object named with a click on it in the view), the
// floors tinted by kind, each change an undoable step; and a trigger put on an alternate room in
// the flipped view.
#include "ui/editor_fixtures.h"

#include "document/flip_map_operations.h"
#include "document/trigger_operations.h"
#include "ui/trigger_tool.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QUndoStack>

#include <filesystem>

namespace morvane {
namespace {

struct TriggerTool : EditorOnDemoProject {
    int Place(ObjectKind kind, int column, int row, int type) {
        const int room = project->CurrentRoom;
        const TEditorObject object =
            NewObject(kind, room, (column - 1) * SectorSize + SectorSize / 2,
                      (row - 1) * SectorSize + SectorSize / 2, type);
        EXPECT_FALSE(
            window
                ->edit(
                    "Place Object", [&] { return PlaceObject(*project, object); }, ObjectsScope())
                .Refused);
        return static_cast<int>(project->Objects.Count) - 1;
    }
    void Choose(const char* box, const QString& text) {
        auto* combo = Find<QComboBox>(*window, box);
        const int at = combo->findText(text);
        ASSERT_GE(at, 0) << text.toStdString() << " is not offered";
        combo->setCurrentIndex(at);
    }
    void Push(const char* button) {
        QTest::mouseClick(Find<QPushButton>(*window, button), Qt::LeftButton);
    }
    const TEditorTrigger& TriggerOn(int room, int column, int row) {
        const int index = TriggerAt(*project, room, column, row);
        EXPECT_GE(index, 0) << "no trigger on room " << room << ", " << column << ", " << row;
        return project->Triggers.Triggers[std::max(index, 0)];
    }
    // The tint the scene lays over a sector of a drawn room, or NoSectorTint.
    uint32_t TintOf(int room, int column, int row) {
        for (const RoomTints& tints : window->scene().Tints) {
            const size_t n = (column - 1) * project->Room(room).ZSectors + row - 1;
            if (tints.Room == room && n < tints.Colors.size()) {
                return tints.Colors[n];
            }
        }
        return NoSectorTint;
    }
};

TEST_F(TriggerTool, ChoosesSectorsAndEditsTheirTriggerInTheDockAsUndoableSteps) {
    const int room = project->CurrentRoom;
    const int wolf = Place(ObjectKind::Item, 6, 6, 7);
    const int camera = Place(ObjectKind::Camera, 6, 8, 0);
    const int otherWolf = Place(ObjectKind::Item, 8, 6, 7);
    const auto before = CopyOf(*project);
    const int stepsBefore = window->undoStack()->count();

    PointAt(SectorCentre(2, 2));
    Press(Qt::Key_T);
    ASSERT_EQ(window->activeTool(), ToolKind::Trigger);
    ASSERT_TRUE(Find<QDockWidget>(*window, "triggersDock")->isVisible());
    EXPECT_FALSE(Find<QPushButton>(*window, "addTriggerButton")->isEnabled())
        << "nothing to add a trigger to before sectors are chosen";

    // Two columns by three rows chosen with a drag; a pad added to all six in one step.
    Drag({SectorCentre(2, 2), SectorCentre(3, 3), SectorCentre(3, 4)});
    ASSERT_EQ(window->triggerTool().chosenSectors().size(), 6u);
    EXPECT_TRUE(Find<QLabel>(*window, "triggerPlaceLabel")->text().startsWith("Room 1: 6 sectors"));
    Choose("triggerKindBox", "Pad");
    Push("addTriggerButton");
    ASSERT_EQ(project->Triggers.Count, 6u);
    EXPECT_EQ(window->undoStack()->undoText(), "Set Trigger");

    // A camera shown for 4 seconds (typed as 3, then 4: one step), then the other wolf woken,
    // named by a click on it in the view.
    Push("addTriggerActionButton");
    Choose("triggerActionKindBox", "Camera");
    Find<QSpinBox>(*window, "triggerSecondsField")->setValue(3);
    Find<QSpinBox>(*window, "triggerSecondsField")->setValue(4);
    Push("addTriggerActionButton");
    EXPECT_EQ(TriggerOn(room, 2, 2).Actions[1].Value, wolf) << "the first item, until picked";
    Push("pickTriggerTargetButton");
    const TEditorObject& target = project->Objects.Objects[otherWolf];
    const QPoint onTarget = RoomPoint(target.X, target.Z, ObjectY(*project, target) - 64);
    PointAt(onTarget);
    QTest::mouseClick(window->viewPanel(), Qt::LeftButton, {}, onTarget);
    EXPECT_FALSE(Find<QPushButton>(*window, "pickTriggerTargetButton")->isChecked());
    EXPECT_EQ(window->triggerTool().chosenSectors().size(), 6u) << "the click named, not chose";
    Find<QSpinBox>(*window, "triggerTimerField")->setValue(1);
    Find<QSpinBox>(*window, "triggerTimerField")->setValue(12);

    for (int column : {2, 3}) {
        for (int row : {2, 3, 4}) {
            const TEditorTrigger& t = TriggerOn(room, column, row);
            EXPECT_EQ(t.KindOf(), TriggerKind::Pad);
            EXPECT_EQ(t.Timer, 12);
            EXPECT_EQ(t.Mask, MaxTriggerMask);
            ASSERT_EQ(t.ActionCount, 2);
            EXPECT_EQ(t.Actions[0].KindOf(), TriggerActionKind::Camera);
            EXPECT_EQ(t.Actions[0].Value, camera);
            EXPECT_EQ(t.Actions[0].Seconds, 4);
            EXPECT_EQ(t.Actions[1].KindOf(), TriggerActionKind::Object);
            EXPECT_EQ(t.Actions[1].Value, otherWolf);
        }
    }
    const int steps = window->undoStack()->count() - stepsBefore;
    EXPECT_EQ(steps, 7) << "add, action, its kind, seconds, action, pick, timer";

    // The floors of the triggered sectors are tinted, the others not; the status bar names the
    // trigger under the pointer.
    EXPECT_NE(TintOf(room, 2, 2), NoSectorTint);
    EXPECT_EQ(TintOf(room, 2, 2), TintOf(room, 3, 4)) << "one tint a kind";
    EXPECT_EQ(TintOf(room, 5, 5), NoSectorTint);
    PointAt(SectorCentre(3, 3));
    QLabel* underPointer = Find<QLabel>(*window, "pointerLabel");
    EXPECT_TRUE(test::WaitUntil(
        [&] {
            return underPointer->text().startsWith(
                "Pad trigger, room 1, column 3, row 3: timer 12 s, mask 11111; camera [");
        },
        WaitLimitMs))
        << underPointer->text().toStdString();

    // Delete takes the chosen sectors' triggers away; every step undone gives the document back.
    Press(Qt::Key_Delete);
    EXPECT_EQ(project->Triggers.Count, 0u);
    EXPECT_EQ(window->undoStack()->undoText(), "Delete Trigger");
    const auto after = CopyOf(*project);
    for (int i = 0; i <= steps; ++i) {
        window->undoStack()->undo();
    }
    EXPECT_TRUE(SameDocument(*project, *before)) << "every trigger step undone";
    for (int i = 0; i <= steps; ++i) {
        window->undoStack()->redo();
    }
    EXPECT_TRUE(SameDocument(*project, *after)) << "every trigger step redone";

    // The sector tool's view has no trigger tints.
    window->undoStack()->undo();
    Press(Qt::Key_S);
    EXPECT_EQ(TintOf(room, 2, 2), NoSectorTint);
}

TEST_F(TriggerTool, PutsATriggerOnAnAlternateRoomInTheFlippedView) {
    const int original = project->CurrentRoom;
    window->action("makeAlternateRoom")->trigger();
    const int alternate = project->CurrentRoom;
    ASSERT_EQ(AlternateOf(*project, original), alternate);
    window->action("viewFlipped")->trigger();
    ASSERT_EQ(window->scene().DrawnRoom, alternate);

    PointAt(SectorCentre(4, 4));
    Press(Qt::Key_T);
    Drag({SectorCentre(4, 4), SectorCentre(5, 4)});
    Choose("triggerKindBox", "Trigger");
    Push("addTriggerButton");
    Push("addTriggerActionButton"); // no item in the room: the end of the level
    Choose("triggerActionKindBox", "Flip off");
    Find<QSpinBox>(*window, "triggerNumberField")->setValue(2);
    const TEditorTrigger& t = TriggerOn(alternate, 5, 4);
    ASSERT_EQ(t.ActionCount, 1);
    EXPECT_EQ(t.Actions[0].KindOf(), TriggerActionKind::FlipOff);
    EXPECT_EQ(t.Actions[0].Value, 2);
    EXPECT_LT(TriggerAt(*project, original, 4, 4), 0) << "the room it stands in for has none";
    EXPECT_NE(TintOf(alternate, 4, 4), NoSectorTint);

    // A picture of the tinted sectors in the flipped view.
    window->setRenderMode(RenderMode::Solid);
    window->viewport().SetRotation({60, -20, 0});
    window->redraw();
    WaitForFrame();
    const std::string folder = std::string(MORVANE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(window->grab().save(QString::fromStdString(folder + "/triggers-flipped.png")));

    // Not flipped, the original shows, without the alternate's triggers.
    window->action("viewFlipped")->trigger();
    EXPECT_EQ(window->scene().DrawnRoom, original);
    EXPECT_EQ(TintOf(original, 4, 4), NoSectorTint);
}

} // namespace
} // namespace morvane
