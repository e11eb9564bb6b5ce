// File > Import Rooms from Level: the rooms of a level become a new, unsaved document with the
// level as its base; a file that cannot be imported changes nothing.
#include "ui/editor_fixtures.h"

#include "demo/demo_level.h"
#include "document/editor_texts.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "ui/build_dialog.h"
#include "ui/messages_dock.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QUndoStack>
#include <gmock/gmock.h>

#include <cstring>
#include <memory>

namespace morvane {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;
using ImportRooms = EditorWithRoom;

TEST_F(ImportRooms, ALevelsRoomsBecomeANewUnsavedDocument) {
    auto made = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*made, FormatTR2);
    const QString path = QString::fromStdString(files.Path("HOUSE.TR2"));
    ASSERT_EQ(WriteLevelFile(*made, path.toStdString()), LevelWritten);

    // The room added by the fixture is unsaved work: cancelling the question changes nothing.
    services.SaveAnswers.push_back(SaveChoice::Cancel);
    services.FileAnswers.push_back(path);
    window->action("importRooms")->trigger();
    EXPECT_EQ(services.SaveQuestions.size(), 1u);
    EXPECT_TRUE(services.FileDialogsShown.empty()) << "cancelled before the file was asked for";
    EXPECT_EQ(project->RoomCount, 1);

    services.SaveAnswers.push_back(SaveChoice::Discard);
    window->action("importRooms")->trigger();
    // What came over is said in the Messages dock: the demo level's items, lights and static
    // meshes.
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    const QTreeWidgetItem* report = window->messagesDock()->list()->topLevelItem(0);
    ASSERT_NE(report, nullptr);
    std::vector<std::string> lines;
    for (int i = 0; i < report->childCount(); ++i) {
        lines.push_back(report->child(i)->text(1).toStdString());
    }
    EXPECT_THAT(lines, Contains(HasSubstr("Objects imported: 2 items")));
    ASSERT_EQ(made->NumRooms, 1);
    EXPECT_EQ(project->RoomCount, 1);
    EXPECT_EQ(project->Room(1).SectorCount(), 42) << "the room of the fixture was replaced";
    EXPECT_EQ(level->NumRooms, made->NumRooms) << "the level is the base level too";
    EXPECT_EQ(level->LastBaseLevelName, path.toStdString());
    EXPECT_EQ(window->buildDialog()->baseLevelField->text(), path);
    EXPECT_TRUE(window->projectFileName().isEmpty());
    EXPECT_FALSE(window->undoStack()->canUndo()) << "the history starts with the new document";
    EXPECT_EQ(window->windowTitle(), QString(CaptionNew) + "*") << "new, and not saved";
    EXPECT_THAT(Find<QLabel>(*window, "statusLabel")->text().toStdString(),
                HasSubstr("1 room imported (1 whole, 0 clipped)"));

    // Leaving it asks first.
    services.SaveAnswers.push_back(SaveChoice::Cancel);
    EXPECT_FALSE(window->maybeSaveChanges());
    EXPECT_EQ(services.SaveQuestions.size(), 3u);
}

TEST_F(ImportRooms, AFileThatCannotBeImportedChangesNothing) {
    demo::MakeDemoLevel(*level, FormatTR1);
    level->LastBaseLevelName = "base";
    const int32_t baseRooms = level->NumRooms;
    const std::string roomBefore(reinterpret_cast<const char*>(&project->Room(1)),
                                 sizeof(TEditorRoom));
    const std::string path = files.Path("NOISE.PHD");
    test::WriteFileBytes(path, test::Bytes(4000, 0x5A));

    services.FileAnswers.push_back(QString::fromStdString(path));
    window->action("importRooms")->trigger();
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_THAT(services.Messages[0].toStdString(), HasSubstr(path));
    EXPECT_EQ(project->RoomCount, 1);
    EXPECT_EQ(std::memcmp(roomBefore.data(), &project->Room(1), sizeof(TEditorRoom)), 0);
    EXPECT_EQ(level->LastBaseLevelName, "base");
    EXPECT_EQ(level->NumRooms, baseRooms);
    EXPECT_TRUE(window->undoStack()->canUndo()) << "the history of the document is kept";
}

} // namespace
} // namespace morvane
