// Alternate rooms in the editor: Rooms > Make Alternate Room as one step, its refusal's message,
// and View > Flipped showing (and editing) a room's alternate in its place.
#include "ui/editor_fixtures.h"

#include "document/flip_map_operations.h"
#include "ui/tool_bar_window.h"

#include <QAction>
#include <QLabel>
#include <QUndoStack>

namespace morvane {
namespace {

using FlipView = EditorWithTwoRooms;

QStringList RoomListTexts(const MainWindow& window) {
    const auto* list = Find<QListWidget>(*window.toolBar(), "roomList");
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

void ChooseRoomInList(MainWindow& window, int row) {
    auto* list = Find<QListWidget>(*window.toolBar(), "roomList");
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

TEST_F(FlipView, MakeAnAlternateThenFlipTheViewToIt) {
    ASSERT_EQ(RoomListTexts(*window), (QStringList{"Room #1", "Room #2"}))
        << "without alternates the list is as it always was";
    const auto before = CopyOf(*project);
    window->action("makeAlternateRoom")->trigger();
    ASSERT_EQ(project->RoomCount, 3);
    EXPECT_EQ(window->undoStack()->undoText(), "Make Alternate Room");
    EXPECT_EQ(window->action("makeAlternateRoom")->text(), "Make Al&ternate Room");
    EXPECT_EQ(AlternateOf(*project, 1), 3);
    EXPECT_EQ(project->CurrentRoom, 3) << "the new alternate is the room to work on";
    EXPECT_EQ(window->scene().DrawnRoom, 3);
    EXPECT_EQ(RoomListTexts(*window),
              (QStringList{"Room #1", "Room #2", "Room #1 (alternate of 1)"}));
    EXPECT_EQ(Find<QLabel>(*window, "currentRoomLabel")->text(), "Room #1 (alternate of 1)");

    // An alternate has no alternate of its own: the message, and no step.
    const int steps = window->undoStack()->index();
    window->action("makeAlternateRoom")->trigger();
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_EQ(services.Messages.back(), "Room 3 is the alternate room of room 1; an alternate room "
                                        "has none of its own. No room was added.");
    EXPECT_EQ(window->undoStack()->index(), steps);

    // Not flipped: choosing room 1 shows room 1. Flipped: room 1's alternate in its place, also
    // when room 1 is chosen in the list; a room without alternate shows itself.
    ChooseRoomInList(*window, 0);
    EXPECT_EQ(window->scene().DrawnRoom, 1);
    QAction* flipped = window->action("viewFlipped");
    ASSERT_TRUE(flipped->isCheckable());
    EXPECT_EQ(flipped->text(), "&Flipped");
    flipped->trigger();
    EXPECT_TRUE(window->flipped());
    EXPECT_EQ(project->CurrentRoom, 3);
    EXPECT_EQ(window->scene().DrawnRoom, 3);
    ChooseRoomInList(*window, 1);
    EXPECT_EQ(window->scene().DrawnRoom, 2);
    auto* neighbour = Find<QSpinBox>(*window->toolBar(), "neighbourRoomField");
    neighbour->setValue(1);
    EXPECT_EQ(window->scene().NeighbourRoom, 3) << "the neighbour too by its alternate";
    neighbour->setValue(0);
    ChooseRoomInList(*window, 0);
    EXPECT_EQ(window->scene().DrawnRoom, 3);

    // A click in the flipped view edits the alternate, not the room it stands in for.
    window->redraw();
    WaitForFrame();
    const int shapeBefore = Sector(3, 3).FloorShape;
    Click(3, 3);
    EXPECT_EQ(window->undoStack()->undoText(), "Place Floor Shape");
    EXPECT_EQ(+Sector(3, 3).FloorShape, shapeBefore) << "room 1 is untouched";
    EXPECT_NE(project->Room(3).Sector(SectorNumber(3, 3, 6)).FloorShape,
              project->Room(1).Sector(SectorNumber(3, 3, 6)).FloorShape);

    // Unflipped, the original comes back.
    flipped->trigger();
    EXPECT_FALSE(window->flipped());
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(window->scene().DrawnRoom, 1);

    // Both steps undone: the document as before, byte for byte.
    window->action("undo")->trigger();
    window->action("undo")->trigger();
    EXPECT_TRUE(SameDocument(*project, *before));
    EXPECT_EQ(RoomListTexts(*window), (QStringList{"Room #1", "Room #2"}));
}

} // namespace
} // namespace morvane
