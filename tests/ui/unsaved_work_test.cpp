// The editor never loses a person's work: the question about unsaved changes and its three
// answers, a save that fails, the backup of the replaced project, recovery copies and their
// offer at start, and the faults of opening a project (a damaged base level, single-byte texts,
// a base level of no supported game).
#include "ui/editor_fixtures.h"

#include "demo/demo_level.h"
#include "document/project_file.h"
#include "document/recovery_copy.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "ui/build_dialog.h"
#include "ui/tool_bar_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMessageBox>
#include <QTimer>
#include <QUndoStack>
#include <gmock/gmock.h>

#include <chrono>
#include <cstring>
#include <filesystem>

namespace morvane {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using UnsavedWork = EditorWithRoom;

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

std::unique_ptr<TEditorProject> ReadProject(const std::string& path) {
    auto project = std::make_unique<TEditorProject>();
    EXPECT_EQ(ReadProjectFile(*project, path).Status, ReadStatus::Done);
    return project;
}

// A project of a few rooms, as another session of the editor would have left it.
std::unique_ptr<TEditorProject> ProjectOfRooms(int rooms, const std::string& baseLevel = "") {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    for (int r = 0; r < rooms; ++r) {
        RoomDialogValues values = RoomAt(5 + r, 4, 10 * r, 20, 10, 3);
        values.Name = NextRoomName(*project);
        AddRoom(*project, scene, values);
    }
    project->Settings.BaseLevelFile.Assign(baseLevel);
    return project;
}

void SetAge(const std::string& path, std::chrono::minutes age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

TEST_F(UnsavedWork, TheQuestionsThreeAnswers) {
    ASSERT_TRUE(window->isModified()) << "the fixture's room is not saved";
    const std::string saved = files.Path("saved.mvn");

    // Cancel: everything stays as it was, and nothing else is asked.
    services.SaveAnswers = {SaveChoice::Cancel, SaveChoice::Cancel, SaveChoice::Cancel,
                            SaveChoice::Cancel};
    window->action("newProject")->trigger();
    window->action("openProject")->trigger();
    window->action("exit")->trigger();
    EXPECT_FALSE(window->close()) << "the window's close button";
    EXPECT_EQ(services.SaveQuestions.size(), 4u);
    EXPECT_EQ(services.SaveQuestions.front(), "") << "a project never saved";
    EXPECT_TRUE(services.FileDialogsShown.empty()) << "Open asks nothing more";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(project->RoomCount, 1);
    EXPECT_EQ(window->undoStack()->count(), 1);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D *");

    // Save: a project without a name asks for one, is written, then New goes on.
    services.SaveAnswers = {SaveChoice::Save};
    services.FileAnswers.push_back(Q(saved));
    window->action("newProject")->trigger();
    EXPECT_EQ(ReadProject(saved)->RoomCount, 1) << "saved before the new project";
    EXPECT_EQ(project->RoomCount, 0);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D ");

    // Save that fails (the folder is not there): reported, and the editor stays with the
    // document and its mark.
    services.DialogAnswers.push_back(AcceptRoom(4, 4));
    window->action("addRoom")->trigger();
    services.SaveAnswers = {SaveChoice::Save, SaveChoice::Save};
    services.FileAnswers.push_back(Q(files.Path("absent/lost.mvn")));
    window->action("newProject")->trigger();
    ASSERT_FALSE(services.Messages.empty());
    EXPECT_THAT(services.Messages.back().toStdString(),
                HasSubstr("the folder \"" + files.Path("absent") + "\" does not exist"));
    EXPECT_EQ(project->RoomCount, 1);
    EXPECT_TRUE(window->projectFileName().isEmpty()) << "a failed first save names nothing";
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D *");
    services.FileAnswers.push_back(std::nullopt); // the save dialog cancelled: stay too
    EXPECT_FALSE(window->close());

    // Discard: the recent file opens over the unsaved room; Exit then closes the window.
    services.SaveAnswers = {SaveChoice::Discard};
    window->action("recentFile1")->trigger();
    EXPECT_EQ(window->projectFileName(), Q(saved));
    EXPECT_EQ(project->Room(1).ZSectors, 6);
    EXPECT_FALSE(window->isModified());
    window->action("exit")->trigger();
    EXPECT_EQ(services.SaveQuestions.size(), 8u) << "a saved project closes without a question";
    EXPECT_FALSE(window->isVisible());
}

// The message box the editor shows for the question, clicked as a person would.
TEST(SaveChangesBox, AnswersWithTheButtonClicked) {
    QtServices services;
    auto clickWhenShown = [](QMessageBox::StandardButton button, QString* text) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, button, text] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *text = box->text();
                box->button(button)->click();
                timer->deleteLater();
            }
        });
        timer->start(20);
    };
    const std::pair<QMessageBox::StandardButton, SaveChoice> answers[] = {
        {QMessageBox::Save, SaveChoice::Save},
        {QMessageBox::Discard, SaveChoice::Discard},
        {QMessageBox::Cancel, SaveChoice::Cancel}};
    for (const auto& [button, choice] : answers) {
        QString text;
        clickWhenShown(button, &text);
        EXPECT_EQ(services.askSaveChanges(nullptr, "/levels/castle.mvn"), choice);
        EXPECT_EQ(text, "The project castle.mvn has changes that are not saved. Save them?");
    }
    QString text;
    clickWhenShown(QMessageBox::Open, &text);
    EXPECT_TRUE(services.askOpenRecovery(nullptr, ""));
    EXPECT_THAT(text.toStdString(), HasSubstr("recovered copy of a new project"));
    clickWhenShown(QMessageBox::Discard, &text);
    EXPECT_FALSE(services.askOpenRecovery(nullptr, "/levels/castle.mvn"));
}

TEST_F(UnsavedWork, SavingOverAProjectKeepsTheOldOneAsItsBackup) {
    const std::string path = files.Path("castle.mvn");
    services.FileAnswers.push_back(Q(path));
    window->action("saveProject")->trigger();
    EXPECT_FALSE(fs::exists(path + ".bak"));
    const test::Bytes first = test::ReadFileBytes(path);
    Click(3, 3);
    window->action("saveProject")->trigger();
    EXPECT_EQ(test::ReadFileBytes(path + ".bak"), first);
    EXPECT_NE(test::ReadFileBytes(path), first);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + Q(path));
}

// Every few minutes and before a build, unsaved work goes to a recovery copy; a save, a new
// document and a clean exit remove it.
TEST_F(UnsavedWork, RecoveryCopiesFollowTheUnsavedWork) {
    window->recoveryTimer()->setInterval(20);
    EXPECT_TRUE(test::WaitUntil([&] { return QFile::exists(window->recoveryCopyPath()); }, 5000));
    const std::string copy = window->recoveryCopyPath().toStdString();
    EXPECT_TRUE(window->recoveryCopyPath().startsWith(Q(recovery.Root().string())));
    EXPECT_EQ(ReadProject(copy)->RoomCount, 1);
    std::vector<RecoveryCopy> found = FindRecoveryCopies(recovery.Root().string());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].OriginalPath, "") << "never saved";

    const std::string path = files.Path("castle.mvn");
    services.FileAnswers.push_back(Q(path));
    window->action("saveProject")->trigger();
    EXPECT_FALSE(fs::exists(copy)) << "saved: no copy";
    EXPECT_TRUE(FindRecoveryCopies(recovery.Root().string()).empty());

    window->recoveryTimer()->stop();
    Click(3, 3);
    services.DialogAnswers.push_back([&](QDialog& dialog) {
        static_cast<BuildDialog&>(dialog).outputLevelField->setText(Q(files.Path("out.phd")));
        return int(QDialog::Accepted);
    });
    window->action("buildLevel")->trigger(); // no base level: the build stops, the copy stays
    ASSERT_TRUE(fs::exists(copy)) << "written before the build";
    found = FindRecoveryCopies(recovery.Root().string());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].OriginalPath, path);
    EXPECT_EQ(ReadProject(copy)->Room(1).Sector(SectorNumber(3, 3, 6)).FloorShape, 1);

    services.SaveAnswers = {SaveChoice::Discard};
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(fs::exists(copy)) << "a clean exit leaves no copy";
}

// An editor that did not close left its copy: the next start offers it, and opening it gives
// the unsaved document under its project's name.
TEST_F(Editor, ACopyLeftBehindIsOfferedAtStart) {
    const std::string castle = files.Path("castle.mvn");
    WriteProjectFile(*ProjectOfRooms(1), castle);
    SetAge(castle, std::chrono::minutes(60));
    const std::string copy = recovery.Path("recovery-1.mvn");
    WriteRecoveryCopy(*ProjectOfRooms(3), copy, castle);

    services.RecoveryAnswers = {true};
    EXPECT_TRUE(window->offerRecovery());
    EXPECT_EQ(services.RecoveryQuestions, std::vector<QString>{Q(castle)});
    EXPECT_EQ(project->RoomCount, 3);
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->count(), 3);
    EXPECT_EQ(window->projectFileName(), Q(castle));
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + Q(castle) + "*");
    EXPECT_TRUE(window->isModified());
    EXPECT_EQ(window->recoveryCopyPath(), Q(copy)) << "the copy is this editor's now";

    services.SaveAnswers = {SaveChoice::Cancel};
    EXPECT_FALSE(window->close()) << "the recovered work is asked about";
    window->action("saveProject")->trigger();
    EXPECT_EQ(ReadProject(castle)->RoomCount, 3);
    EXPECT_EQ(ReadProject(castle + ".bak")->RoomCount, 1);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + Q(castle));
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
}

TEST_F(Editor, OnlyCopiesWithWorkTheirProjectLacksAreOffered) {
    const std::string castle = files.Path("castle.mvn");
    WriteProjectFile(*ProjectOfRooms(1), castle);
    const std::string stale = recovery.Path("recovery-stale.mvn");
    WriteRecoveryCopy(*ProjectOfRooms(2), stale, castle);
    SetAge(stale, std::chrono::minutes(90)); // the project was saved after it
    const std::string live = recovery.Path("recovery-live.mvn");
    WriteRecoveryCopy(*ProjectOfRooms(2), live, "");
    QLockFile liveEditor(Q(live) + ".lock"); // another editor, still running, owns it
    ASSERT_TRUE(liveEditor.tryLock(0));
    const std::string unsaved = recovery.Path("recovery-new.mvn");
    WriteRecoveryCopy(*ProjectOfRooms(4), unsaved, "");
    SetAge(unsaved, std::chrono::minutes(5));

    services.RecoveryAnswers = {false};
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_EQ(services.RecoveryQuestions, std::vector<QString>{""}) << "only the new project's";
    EXPECT_FALSE(fs::exists(unsaved)) << "declined: removed";
    EXPECT_FALSE(fs::exists(stale)) << "older than its project: removed";
    EXPECT_TRUE(fs::exists(live)) << "another editor's";
    EXPECT_EQ(project->RoomCount, 0);

    const std::string again = recovery.Path("recovery-again.mvn");
    WriteRecoveryCopy(*ProjectOfRooms(2), again, "");
    services.RecoveryAnswers = {true};
    EXPECT_TRUE(window->offerRecovery());
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D *") << "a new project, not saved";
}

// A base level that cannot be read is reported; the project it belongs to is open all the same,
// under its own name, so that the next save goes to it and not to the project before.
TEST_F(UnsavedWork, ADamagedBaseLevelLeavesTheDocumentAndItsNameTogether) {
    const std::string first = files.Path("first.mvn");
    services.FileAnswers.push_back(Q(first));
    window->action("saveProject")->trigger();
    const test::Bytes firstBytes = test::ReadFileBytes(first);

    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("GOOD.PHD"));
    test::Bytes bytes = test::ReadFileBytes(files.Path("GOOD.PHD"));
    test::WriteFileBytes(files.Path("TRUNC.PHD"),
                         test::Bytes(bytes.begin(), bytes.begin() + bytes.size() / 2));
    uint32_t pages = 0;
    std::memcpy(&pages, &bytes[4], 4);
    // Version, page count, the pages, a spare word, then the room count.
    const std::size_t roomCount = 8 + std::size_t{pages} * 65536 + 4;
    bytes[roomCount] = bytes[roomCount + 1] = 0xFF; // 65535 rooms
    test::WriteFileBytes(files.Path("ROOMS.PHD"), bytes);

    const std::pair<const char*, const char*> cases[] = {{"TRUNC.PHD", "Read beyond end of file"},
                                                         {"ROOMS.PHD", "NumRooms"}};
    for (const auto& [file, reported] : cases) {
        SCOPED_TRACE(file);
        const std::string second = files.Path(std::string(file) + ".mvn");
        WriteProjectFile(*ProjectOfRooms(2, files.Path(file)), second);
        services.FileAnswers.push_back(Q(second));
        window->action("openProject")->trigger();
        ASSERT_FALSE(services.Messages.empty());
        EXPECT_THAT(services.Messages.back().toStdString(), HasSubstr(reported));
        EXPECT_EQ(project->RoomCount, 2);
        EXPECT_EQ(window->projectFileName(), Q(second));
        EXPECT_EQ(window->windowTitle(), "Quillon's Morvane3D - " + Q(second));
        EXPECT_EQ(level->LastBaseLevelName, "") << "not taken as read";
        services.DialogAnswers.push_back(AcceptRoom(3, 3));
        window->action("addRoom")->trigger();
        window->action("saveProject")->trigger();
        EXPECT_EQ(ReadProject(second)->RoomCount, 3) << "saved to the project opened";
        EXPECT_EQ(test::ReadFileBytes(first), firstBytes) << "the project before is untouched";
    }
}

// The project's texts are single bytes: shown as Latin-1 characters and written back as the
// same bytes.
TEST_F(Editor, SingleByteTextsComeBackByteForByte) {
    auto latin = ProjectOfRooms(2, "C:\\Jeux\\Donn\xE9"
                                   "es\\LEVEL1.PHD");
    latin->Settings.LevelDescription.Assign("Niveau cr\xE9\xE9");
    latin->Settings.Comments.Assign("\xA9 Quillon \xFF\xB0");
    latin->Room(1).Name.Assign("Salle \xE0 manger");
    const std::string path = files.Path("latin.mvn");
    WriteProjectFile(*latin, path);
    const test::Bytes original = test::ReadFileBytes(path);

    ASSERT_TRUE(window->openProjectFile(Q(path)));
    EXPECT_EQ(window->buildDialog()->levelDescriptionField->text(),
              QString::fromUtf8("Niveau créé"));
    EXPECT_EQ(window->buildDialog()->commentsField->text(), QString::fromUtf8("© Quillon ÿ°"));
    EXPECT_EQ(window->buildDialog()->baseLevelField->text(),
              QString::fromUtf8("C:\\Jeux\\Données\\LEVEL1.PHD"));
    EXPECT_EQ(Find<QListWidget>(*window->toolBar(), "roomList")->item(0)->text(),
              QString::fromUtf8("Salle à manger"));
    QListWidget* rooms = Find<QListWidget>(*window->toolBar(), "roomList");
    emit rooms->itemClicked(rooms->item(0));
    EXPECT_EQ(Find<QLabel>(*window, "currentRoomLabel")->text(),
              QString::fromUtf8("Salle à manger"));
    QString shownName;
    services.DialogAnswers.push_back([&](QDialog& dialog) {
        shownName = static_cast<RoomDialog&>(dialog).nameField->text();
        return int(QDialog::Accepted); // unchanged
    });
    window->action("editRoomProperties")->trigger();
    EXPECT_EQ(shownName, QString::fromUtf8("Salle à manger"));
    EXPECT_EQ(window->undoStack()->count(), 0) << "properties left as they were are no step";
    emit rooms->itemClicked(rooms->item(1)); // the current room as saved
    window->action("saveProject")->trigger();
    EXPECT_EQ(test::ReadFileBytes(path), original) << "opened and saved unchanged";

    services.DialogAnswers.push_back([](QDialog& dialog) {
        static_cast<RoomDialog&>(dialog).nameField->setText(QString::fromUtf8("Pièce"));
        return int(QDialog::Accepted);
    });
    window->action("addRoom")->trigger();
    EXPECT_EQ(project->Room(3).Name.Str(), "Pi\xE8"
                                           "ce")
        << "five characters, five bytes";
}

// A base level whose version code is of no supported game is reported when the project opens,
// and a build says why it writes nothing.
TEST_F(Editor, ABaseLevelOfNoSupportedGameIsReportedAndNotBuiltOn) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("ODD.PHD"));
    test::Bytes odd = test::ReadFileBytes(files.Path("ODD.PHD"));
    odd[0] = 0x78, odd[1] = 0x56, odd[2] = 0x34, odd[3] = 0x12;
    test::WriteFileBytes(files.Path("ODD.PHD"), odd);
    const std::string path = files.Path("odd.mvn");
    WriteProjectFile(*ProjectOfRooms(1, files.Path("ODD.PHD")), path);

    ASSERT_TRUE(window->openProjectFile(Q(path)));
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_THAT(services.Messages[0].toStdString(),
                HasSubstr("is not a level of the supported games"));
    const std::string out = files.Path("OUT.PHD");
    services.DialogAnswers.push_back([&](QDialog& dialog) {
        static_cast<BuildDialog&>(dialog).outputLevelField->setText(Q(out));
        return int(QDialog::Accepted);
    });
    window->action("buildLevel")->trigger();
    ASSERT_EQ(services.Messages.size(), 2u) << "the build says why";
    EXPECT_THAT(services.Messages[1].toStdString(),
                HasSubstr("is not a level of the supported games"));
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
} // namespace morvane
