#include "support/test_files.h"

#include "document/project_file.h"
#include "document/recovery_copy.h"
#include "document/room_operations.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::unique_ptr<TEditorProject> SmallProject(const std::string& name) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values = RoomAt(5, 7, 10, 20, 30, 4);
    values.Name = name;
    AddRoom(*project, scene, values);
    project->Settings.LevelDescription.Assign("recovered");
    return project;
}

void SetAge(const std::string& path, std::chrono::seconds age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

TEST(RecoveryCopy, IsAProjectFileWithItsOriginBeside) {
    TempDir dir;
    const auto project = SmallProject("Hall");
    const std::string copy = dir.Path("recovery-1.mvn");
    WriteRecoveryCopy(*project, copy, "/work/levels/castle.mvn");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"recovery-1.mvn", "recovery-1.mvn.origin"}));

    WriteProjectFile(*project, dir.Path("saved.mvn"));
    EXPECT_EQ(test::ReadFileBytes(copy), test::ReadFileBytes(dir.Path("saved.mvn")))
        << "the copy is what a save writes";
    auto read = std::make_unique<TEditorProject>();
    ASSERT_EQ(ReadProjectFile(*read, copy).Status, ReadStatus::Done);
    EXPECT_EQ(read->Room(1).Name.Str(), "Hall");

    const std::vector<RecoveryCopy> found = FindRecoveryCopies(dir.Root().string());
    ASSERT_EQ(found.size(), 1u) << "saved.mvn has no origin: it is no copy";
    EXPECT_EQ(found[0].Path, copy);
    EXPECT_EQ(found[0].OriginalPath, "/work/levels/castle.mvn");

    RemoveRecoveryCopy(copy);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"saved.mvn"});
    RemoveRecoveryCopy(copy); // already gone: no error
    EXPECT_TRUE(FindRecoveryCopies(dir.Path("absent")).empty());
}

TEST(RecoveryCopy, OnlyCopiesNewerThanTheirProjectAreWorthOffering) {
    TempDir dir;
    const auto project = SmallProject("Crypt");
    const std::string saved = dir.Path("crypt.mvn");
    WriteProjectFile(*project, saved);
    WriteRecoveryCopy(*project, dir.Path("older.mvn"), saved);
    WriteRecoveryCopy(*project, dir.Path("newer.mvn"), saved);
    WriteRecoveryCopy(*project, dir.Path("unsaved.mvn"), "");
    WriteRecoveryCopy(*project, dir.Path("orphan.mvn"), dir.Path("deleted.mvn"));
    SetAge(dir.Path("older.mvn"), std::chrono::hours(3));
    SetAge(saved, std::chrono::hours(2));
    SetAge(dir.Path("newer.mvn"), std::chrono::hours(1));
    SetAge(dir.Path("orphan.mvn"), std::chrono::minutes(30));
    // Written halfway: the origin file comes first, so a copy without one is incomplete.
    test::WriteFileBytes(dir.Path("halfway.mvn"), {1, 2, 3});

    const std::vector<RecoveryCopy> found = FindRecoveryCopies(dir.Root().string());
    std::vector<std::string> names;
    for (const RecoveryCopy& copy : found) {
        names.push_back(fs::path(copy.Path).filename().string() +
                        (RecoveryIsNewerThanProject(copy) ? " offered" : " stale"));
    }
    // crypt.mvn is a project, not a copy: it has no origin file.
    EXPECT_EQ(names, (std::vector<std::string>{"unsaved.mvn offered", "orphan.mvn offered",
                                               "newer.mvn offered", "older.mvn stale"}))
        << "newest first; a project never saved or gone is always worth offering";
}

} // namespace
} // namespace morvane
