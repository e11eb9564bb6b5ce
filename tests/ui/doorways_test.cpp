// "Rooms > Make Portal Views" in the editor as one undoable step, and what a build reports:
// its report line in the status bar and its warnings in a message.
#include "ui/editor_fixtures.h"

#include "demo/demo_level.h"
#include "document/sector_tools.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "ui/build_dialog.h"
#include "ui/messages_dock.h"
#include "ui/tool_bar_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUndoStack>
#include <gmock/gmock.h>

#include <cstring>

namespace morvane {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// Room 1 against the right side of room 2, each with a run of wall portals toward the other.
struct EditorWithDoorway : EditorWithTwoRooms {
    void SetUp() override {
        EditorWithTwoRooms::SetUp();
        SendRoomTo(*project, SendDirection::Right, 2);
        OpenWall(1, 1, {2, 3, 4, 5}, 2);
        OpenWall(2, 4, {2, 3}, 1);
        SelectRoom(*project, window->scene(), 0);
        window->refreshFromDocument();
    }
    void OpenWall(int room, int column, std::initializer_list<int> rows, int toward) {
        SelectRoom(*project, window->scene(), room - 1);
        SectorToolState tools;
        tools.SelectedShape = 0;
        tools.SetRoomSide(toward);
        window->scene().HeightSelector = 0;
        for (int row : rows) {
            const int n = SectorNumber(column, row, project->Current().ZSectors);
            ASSERT_EQ(
                EditClick(*project, window->scene(), tools, ViewHit::OfSector(n), false, false)
                    .Message,
                "");
        }
    }
};

TEST_F(EditorWithDoorway, MakePortalViewsIsOneStep) {
    auto before = std::make_unique<TEditorProject>();
    before->ReplaceWith(*project);
    const int steps = window->undoStack()->index();
    window->action("makePortalViews")->trigger();
    ASSERT_EQ(window->undoStack()->index(), steps + 1);
    EXPECT_EQ(window->undoStack()->undoText(), "Make Portal Views");
    ASSERT_GT(project->Room(1).PortalViewCount, 0);
    EXPECT_EQ(project->Room(1).PortalView(1).TargetRoom, 2);
    EXPECT_GT(project->Room(2).PortalViewCount, 0) << "the view back toward the current room";
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "portalViewList")->count(),
              project->Room(1).PortalViewCount);

    window->action("undo")->trigger();
    EXPECT_EQ(std::memcmp(project.get(), before.get(), sizeof(TEditorProject)), 0)
        << "both rooms' views undone";
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "portalViewList")->count(), 0);
    window->action("makePortalViewsForAllRooms")->trigger();
    EXPECT_EQ(window->undoStack()->undoText(), "Make Portal Views for All Rooms");
    window->action("makePortalViews")->trigger();
    EXPECT_EQ(window->undoStack()->undoText(), "Make Portal Views for All Rooms")
        << "views already as the doorways make them: no step";
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

// A written level's report goes to the status bar; the warnings, when there are any, to the
// Messages dock, with the room's name as the project holds it.
TEST_F(EditorWithRoom, TheBuildShowsItsReportAndWarnings) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("BASE.PHD"));
    auto build = [&] {
        services.DialogAnswers.push_back([&](QDialog& dialog) {
            auto& form = static_cast<BuildDialog&>(dialog);
            form.baseLevelField->setText(QString::fromStdString(files.Path("BASE.PHD")));
            form.outputLevelField->setText(QString::fromStdString(files.Path("OUT.PHD")));
            return int(QDialog::Accepted);
        });
        window->action("buildLevel")->trigger();
    };
    build();
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    EXPECT_THAT(Find<QLabel>(*window, "statusLabel")->text().toStdString(),
                StartsWith("Level written: " + files.Path("OUT.PHD")));

    // Lara's usual spot walled up, in a room named with a character beyond ASCII.
    project->Room(1).Name.Assign("Salle \xE0 manger");
    TGameSector& usual = project->Room(1).GameSector(SectorNumber(4, 2, 6));
    usual.FloorHeight = usual.CeilingHeight;
    build();
    EXPECT_TRUE(services.Messages.empty()) << "the warnings are read in the Messages dock";
    EXPECT_THAT(Find<QLabel>(*window, "statusLabel")->text().toStdString(),
                AllOf(StartsWith("Level written: "), HasSubstr("1 warnings")));
    const QTreeWidgetItem* report = window->messagesDock()->list()->topLevelItem(0);
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(report->childCount(), 2) << "the written level's line and its warning";
    EXPECT_THAT(report->child(0)->text(1).toStdString(), StartsWith("Level written: "));
    const std::string text = report->child(1)->text(1).toStdString();
    EXPECT_EQ(MessagesDock::kindOf(*report->child(1)), ReportKind::Warning);
    EXPECT_THAT(text, HasSubstr("Lara's usual start"));
    EXPECT_THAT(text, HasSubstr("Salle à manger"));
}

} // namespace
} // namespace morvane
