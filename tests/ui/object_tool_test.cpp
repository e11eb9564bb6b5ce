// The object tool as a person uses it: a type chosen in the objects dock and placed with a click,
// the object dragged to a sector centre, turned, copied, pasted and deleted with the keys over
// the view, each an undoable step.
#include "ui/editor_fixtures.h"

#include "document/object_operations.h"
#include "level/world_units.h"
#include "ui/objects_dock.h"
#include "view/pick_names.h"
#include "view/window_position.h"

#include <QCursor>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUndoStack>

#include <cstring>
#include <filesystem>

namespace morvane {
namespace {

struct ObjectTool : EditorOnDemoProject {
    const TEditorObject& Object(int index) { return project->Objects.Objects[index]; }
};

TEST_F(ObjectTool, PlacesMovesTurnsCopiesAndDeletesAnObjectAsUndoableSteps) {
    const auto before = CopyOf(*project);
    const int stepsBefore = window->undoStack()->count();
    const int rooms = project->RoomCount;

    PointAt(SectorCentre(2, 2));
    Press(Qt::Key_O);
    ASSERT_EQ(window->activeTool(), ToolKind::Object);
    ASSERT_TRUE(Find<QDockWidget>(*window, "objectsDock")->isVisible());

    // The wolf, found by its name, placed with a click on the floor.
    Find<QLineEdit>(*window, "objectTypeSearch")->setText("wolf");
    QListWidget* types = Find<QListWidget>(*window, "objectTypeList");
    ASSERT_EQ(types->count(), 1);
    ASSERT_TRUE(types->currentItem()->text().startsWith("7 Wolf"));
    QTest::mouseClick(Find<QPushButton>(*window, "placeObjectButton"), Qt::LeftButton);
    const QPoint placeAt = SectorCentre(3, 2);
    PointAt(placeAt);
    QTest::mouseClick(window->viewPanel(), Qt::LeftButton, {}, placeAt);
    ASSERT_EQ(project->Objects.Count, 1u);
    EXPECT_EQ(Object(0).Type, 7);
    EXPECT_EQ(Object(0).Room, project->CurrentRoom);
    EXPECT_EQ(Object(0).OnFloor, 1);
    EXPECT_NEAR(Object(0).X, 2 * SectorSize + SectorSize / 2, SectorSize / 4);
    EXPECT_NEAR(Object(0).Z, SectorSize + SectorSize / 2, SectorSize / 4);
    EXPECT_EQ(window->selectedObject(), 0);
    Find<QPushButton>(*window, "placeObjectButton")->setChecked(false);

    // Dragged with Ctrl to the centre of another sector: the press and the drag are one step.
    const int afterPlace = window->undoStack()->count();
    const QPoint grab = RoomPoint(Object(0).X, Object(0).Z, ObjectY(*project, Object(0)));
    Drag({grab, SectorCentre(4, 3), SectorCentre(5, 4)}, Qt::ControlModifier);
    EXPECT_EQ(Object(0).X, 4 * SectorSize + SectorSize / 2);
    EXPECT_EQ(Object(0).Z, 3 * SectorSize + SectorSize / 2);
    EXPECT_EQ(window->undoStack()->count(), afterPlace + 1) << "one step for the drag";
    EXPECT_EQ(window->undoStack()->undoText(), "Move Object");

    // Turned with the keys over the view: 45 degrees, then 90 with Shift.
    PointAt(SectorCentre(5, 4));
    Press(Qt::Key_Right);
    EXPECT_EQ(Object(0).Angle, AngleOfDegrees(45));
    Press(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Object(0).Angle, AngleOfDegrees(135));
    // The status bar names the object under the pointer and its place among the level's items.
    QLabel* underPointer = Find<QLabel>(*window, "pointerLabel");
    EXPECT_TRUE(test::WaitUntil(
        [&] { return underPointer->text().startsWith("Item 7 Wolf, level item 1: room 1"); },
        WaitLimitMs))
        << underPointer->text().toStdString();

    // Copied and pasted on another sector; Ctrl+C copies, it clones no room.
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(project->RoomCount, rooms) << "Ctrl+C over the view cloned the room";
    PointAt(SectorCentre(2, 5));
    Press(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(project->Objects.Count, 2u);
    EXPECT_EQ(Object(1).Type, 7);
    EXPECT_EQ(Object(1).Angle, AngleOfDegrees(135));
    EXPECT_NEAR(Object(1).X, SectorSize + SectorSize / 2, SectorSize / 4);
    EXPECT_NEAR(Object(1).Z, 4 * SectorSize + SectorSize / 2, SectorSize / 4);
    EXPECT_EQ(window->selectedObject(), 1);
    EXPECT_EQ(Find<QListWidget>(*window, "objectList")->count(), 2);

    // Deleted; then every step undone gives the document back, and redone gives it again.
    Press(Qt::Key_Delete);
    ASSERT_EQ(project->Objects.Count, 1u);
    const auto after = CopyOf(*project);
    const int steps = window->undoStack()->count() - stepsBefore;
    EXPECT_EQ(steps, 6) << "place, move, two turns, paste, delete";
    for (int i = 0; i < steps; ++i) {
        window->undoStack()->undo();
    }
    EXPECT_TRUE(SameDocument(*project, *before)) << "every object step undone";
    EXPECT_EQ(Find<QListWidget>(*window, "objectList")->count(), 0);
    for (int i = 0; i < steps; ++i) {
        window->undoStack()->redo();
    }
    EXPECT_TRUE(SameDocument(*project, *after)) << "every object step redone";

    // The object under the pointer is what the object tool picks; the sector tool picks the
    // sector under it, so that its clicks edit the floor there.
    const QPoint onWolf = RoomPoint(Object(0).X, Object(0).Z, ObjectY(*project, Object(0)) - 64);
    const QPoint pixels = onWolf * window->viewPanel()->devicePixelRatioF();
    window->viewport().SetPointer(pixels.x(), pixels.y());
    EXPECT_EQ(HitOfPickName(window->viewport().Pick()), ViewHit::OfObject(0));
    // Back to the sector tool, Ctrl+C clones the room again.
    Press(Qt::Key_S);
    window->viewport().SetPointer(pixels.x(), pixels.y());
    EXPECT_EQ(HitOfPickName(window->viewport().Pick()),
              ViewHit::OfSector(SectorNumber(5, 4, project->Current().ZSectors)));
    PointAt(SectorCentre(2, 2));
    Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(project->RoomCount, rooms + 1);
}

// A picture of a room with objects of each kind, in the textured mode: Lara and a static mesh
// drawn with the base level's models, a pickup as its sprite, a wolf the level has no model of
// as a marker with its number, a camera and a light; the chosen one boxed in yellow, the box
// moving with the choice.
TEST_F(ObjectTool, ScreenshotOfARoomWithObjectsAndTheChosenOneBoxed) {
    const int room = project->CurrentRoom;
    const auto at = [&](ObjectKind kind, int column, int row, int type) {
        TEditorObject object = NewObject(kind, room, (column - 1) * SectorSize + SectorSize / 2,
                                         (row - 1) * SectorSize + SectorSize / 2, type);
        object.Y = FloorYUnder(*project, room, object.X, object.Z) - SectorSize;
        object.Angle = AngleOfDegrees(45);
        EXPECT_FALSE(
            window
                ->edit(
                    "Place Object", [&] { return PlaceObject(*project, object); }, ObjectsScope())
                .Refused);
    };
    at(ObjectKind::Item, 3, 3, LaraItemType);
    at(ObjectKind::Static, 5, 3, 0);
    at(ObjectKind::Item, 4, 5, 163);
    at(ObjectKind::Item, 6, 5, 7);
    at(ObjectKind::Camera, 2, 6, 0);
    at(ObjectKind::Light, 6, 2, 0);
    ASSERT_EQ(project->Objects.Count, 6u);
    window->setActiveTool(ToolKind::Object);
    window->selectObject(1);
    window->setRenderMode(RenderMode::Textured);
    window->viewport().SetRotation({65, -20, 0}); // over the front wall
    window->redraw();
    WaitForFrame();
    const QPoint middle = SectorCentre(4, 4) * window->viewPanel()->devicePixelRatioF();
    window->viewport().WheelZoom(middle.x(), middle.y(), 7); // near enough to see them
    window->redraw();
    WaitForFrame();
    EXPECT_EQ(Find<QListWidget>(*window, "objectList")->count(), 6);
    const std::string folder = std::string(MORVANE_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(window->grab().save(QString::fromStdString(folder + "/objects-textured.png")));

    // The yellow box follows the choice at once.
    const auto yellowNear = [&](int index) {
        const TEditorObject& object = Object(index);
        const QPoint at = RoomPoint(object.X, object.Z, ObjectY(*project, object) - 128) *
                          window->viewPanel()->devicePixelRatioF();
        const QImage frame = window->viewPanel()->grabFramebuffer();
        int yellow = 0;
        for (int y = at.y() - 30; y <= at.y() + 30; ++y) {
            for (int x = at.x() - 30; x <= at.x() + 30; ++x) {
                const QColor c = frame.valid(x, y) ? frame.pixelColor(x, y) : QColor();
                yellow += c.red() > 240 && c.green() > 240 && c.blue() < 40;
            }
        }
        return yellow;
    };
    const int chosenBefore = yellowNear(1), otherBefore = yellowNear(3);
    window->selectObject(3);
    WaitForFrame();
    EXPECT_GT(chosenBefore, 20) << "the chosen static mesh is boxed";
    EXPECT_LT(yellowNear(1), chosenBefore / 4) << "its box goes with the choice";
    EXPECT_GT(yellowNear(3), otherBefore + 20) << "the wolf's marker is boxed";
}

} // namespace
} // namespace morvane
