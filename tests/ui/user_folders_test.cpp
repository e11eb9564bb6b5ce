// The editor keeps its recent-files list in the user's config folder (QStandardPaths, in test
// mode under ~/.qttest for these tests; see ui_main.cpp), never beside the program.
#include "ui/ui_fixture.h"
#include "ui/user_folders.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <string>

namespace morvane {
namespace {

using test::Bytes;

Bytes TextBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

QString RecentText(const MainWindow& window, int place) {
    const QAction* recent = window.action(QString("recentFile%1").arg(place));
    return recent == nullptr ? QString("(no recentFile%1)").arg(place) : recent->text();
}

TEST(UserFolders, TheRecentFilesLiveInTheConfigFolderAndTheOldListIsTakenOverOnce) {
    ASSERT_TRUE(QStandardPaths::isTestModeEnabled())
        << "these tests must not touch the user's folders";
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    ASSERT_FALSE(configFolder.isEmpty());
    QDir(configFolder).removeRecursively();
    const std::string configList = QDir(configFolder).filePath("rconfig.cnf").toStdString();

    test::TempDir program;
    test::TempDir files;
    const Bytes oldList = TextBytes("/old/one.mvn\n/old/two.mvn\n");
    test::WriteFileBytes(program.Path("rconfig.cnf"), oldList);
    auto project = std::make_unique<TEditorProject>();
    auto level = std::make_unique<TLevelData>();
    test::FakeServices services;
    const QString saved = QString::fromStdString(files.Path("saved.mvn"));
    {
        MainWindow window(*project, *level, services, program.Root().string());
        EXPECT_EQ(RecentText(window, 1), "&1 /old/one.mvn") << "the old list is taken over";
        EXPECT_EQ(RecentText(window, 2), "&2 /old/two.mvn");
        EXPECT_EQ(test::ReadFileBytes(configList), oldList)
            << "taken over into the config folder at start";

        services.FileAnswers.push_back(saved);
        window.action("saveProjectAs")->trigger();
        EXPECT_EQ(RecentText(window, 1), "&1 " + saved);
        EXPECT_EQ(test::ReadFileBytes(configList),
                  TextBytes(saved.toStdString() + "\n/old/one.mvn\n/old/two.mvn\n"));
        EXPECT_EQ(test::ReadFileBytes(program.Path("rconfig.cnf")), oldList)
            << "the list beside the program is never written";
        EXPECT_EQ(program.Entries(), std::vector<std::string>{"rconfig.cnf"})
            << "nothing is written beside the program";
    }

    // The next start reads the config folder's list, not the one beside the program again.
    test::WriteFileBytes(program.Path("rconfig.cnf"), TextBytes("/elsewhere.mvn\n"));
    MainWindow again(*project, *level, services, program.Root().string());
    EXPECT_EQ(RecentText(again, 1), "&1 " + saved);
    EXPECT_EQ(RecentText(again, 3), "&3 /old/two.mvn");
    EXPECT_EQ(again.action("recentFile4"), nullptr);
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    QDir(configFolder).removeRecursively();
}

// The settings file and the recent-files list share the config folder, which is made when the
// settings are first written.
TEST(UserFolders, TheSettingsAreWrittenToTheConfigFolder) {
    ASSERT_TRUE(QStandardPaths::isTestModeEnabled());
    const QString configFolder = UserConfigFolder();
    ASSERT_FALSE(configFolder.isEmpty());
    EXPECT_EQ(QFileInfo(configFolder).fileName(), QCoreApplication::applicationName())
        << "named after the application";
    EXPECT_EQ(UserConfigFile("rconfig.cnf"), configFolder + "/rconfig.cnf");
    QDir(configFolder).removeRecursively();
    {
        const std::unique_ptr<QSettings> settings = OpenUserSettings();
        settings->setValue("view/mode", 2);
        settings->sync();
        EXPECT_EQ(settings->status(), QSettings::NoError);
        EXPECT_EQ(settings->fileName(), configFolder + "/" + SettingsFileName);
    }
    EXPECT_TRUE(QFileInfo(configFolder + "/" + SettingsFileName).isFile())
        << "the settings file was not made in " << configFolder.toStdString();
    EXPECT_EQ(OpenUserSettings()->value("view/mode").toInt(), 2) << "read back by a new start";
    QDir(configFolder).removeRecursively();
}

} // namespace
} // namespace morvane
