// Build and Play starts the user's program on the written level; the Messages dock holds the
// imports' and the builds' reports, and a line that names a place goes to it.
#include "ui/editor_fixtures.h"

#include "document/sector_numbering.h"
#include "ui/build_dialog.h"
#include "ui/messages_dock.h"
#include "ui/play_command_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QTreeWidget>
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace morvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

// The lines a file holds, once it has been written whole (the program runs on its own).
QStringList LinesOnceWritten(const std::string& path) {
    QStringList lines;
    test::WaitUntil(
        [&] {
            QFile file(QString::fromStdString(path));
            if (!file.open(QIODevice::ReadOnly)) {
                return false;
            }
            const QString text = QString::fromUtf8(file.readAll());
            if (!text.endsWith("end\n")) {
                return false;
            }
            lines = text.split('\n', Qt::SkipEmptyParts);
            lines.removeLast();
            return true;
        },
        10000);
    return lines;
}

// This process's children that ended and were not released.
int EndedChildren() {
    int ended = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream file(entry.path() / "stat");
        std::string stat;
        std::getline(file, stat);
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const std::size_t nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos) {
            continue;
        }
        std::istringstream rest(stat.substr(nameEnd + 1));
        std::string state;
        int parent = 0;
        if (rest >> state >> parent && parent == getpid() && state == "Z") {
            ++ended;
        }
    }
    return ended;
}

TEST_F(EditorWithRoom, BuildAndPlayStartsTheProgramOnTheWrittenLevel) {
    auto base = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*base, FormatTR1);
    WriteLevelFile(*base, files.Path("BASE.PHD"));
    // A stand-in for the game: it writes down its arguments, one a line.
    const std::string program = files.Path("stand in.sh");
    const std::string said = files.Path("arguments.txt");
    {
        std::ofstream script(program);
        script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << said
               << ".part'\necho end >> '" << said << ".part'\nmv '" << said << ".part' '" << said
               << "'\n";
    }
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    window->buildDialog()->baseLevelField->setText(QString::fromStdString(files.Path("BASE.PHD")));
    window->buildDialog()->outputLevelField->setText(
        QString::fromStdString(files.Path("My Level.PHD")));

    QAction* play = window->action("buildAndPlay");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->shortcut(), QKeySequence(Qt::Key_F9));
    for (const QAction* other : window->findChildren<QAction*>()) {
        if (other != play) {
            EXPECT_FALSE(other->shortcuts().contains(QKeySequence(Qt::Key_F9)))
                << other->objectName().toStdString() << " takes F9 too";
        }
    }

    // No program named yet: it says so and asks for one; cancelled, nothing is built.
    services.DialogsShown.clear(); // the fixture's room
    ASSERT_TRUE(window->playCommand().isEmpty());
    play->trigger();
    EXPECT_EQ(services.Messages, std::vector<QString>{NoPlayCommandText});
    EXPECT_EQ(services.DialogsShown, std::vector<QString>{"Play Command"});
    EXPECT_FALSE(std::filesystem::exists(files.Path("My Level.PHD")));

    // Named with the level's place in the middle of its arguments.
    const QString command = "\"" + QString::fromStdString(program) + "\" --level {level} -fast";
    services.Messages.clear();
    services.DialogAnswers.push_back([&](QDialog& dialog) {
        static_cast<PlayCommandDialog&>(dialog).commandField->setText(command);
        return int(QDialog::Accepted);
    });
    play->trigger();
    EXPECT_EQ(services.Messages, std::vector<QString>{NoPlayCommandText});
    EXPECT_THAT(
        LinesOnceWritten(said),
        ElementsAre("--level", QString::fromStdString(files.Path("My Level.PHD")), "-fast"));
    EXPECT_TRUE(std::filesystem::exists(files.Path("My Level.PHD")));
    EXPECT_THAT(Find<QLabel>(*window, "statusLabel")->text().toStdString(),
                StartsWith("Level written: " + files.Path("My Level.PHD")));
    EXPECT_EQ(window->playCommand(), command);
    EXPECT_EQ(OpenUserSettings()->value("play/command").toString(), command)
        << "kept with the editor's settings";

    // The next time it is one key: no dialog, no message.
    std::filesystem::remove(said);
    services.Messages.clear();
    services.DialogsShown.clear();
    play->trigger();
    EXPECT_EQ(LinesOnceWritten(said).size(), 3);
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    EXPECT_TRUE(services.DialogsShown.empty());
    // The programs that ended are released while the editor goes on.
    EXPECT_TRUE(test::WaitUntil([] { return EndedChildren() == 0; }, 10000))
        << EndedChildren() << " ended programs are still held";

    // A build that writes nothing starts nothing.
    std::filesystem::remove(said);
    window->buildDialog()->baseLevelField->setText(QString::fromStdString(files.Path("NONE.PHD")));
    play->trigger();
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_THAT(services.Messages[0].toStdString(), HasSubstr("not found"));
    QTest::qWait(300);
    EXPECT_FALSE(std::filesystem::exists(said));

    // A program that cannot be started is named.
    window->buildDialog()->baseLevelField->setText(QString::fromStdString(files.Path("BASE.PHD")));
    window->setPlayCommand(QString::fromStdString(files.Path("missing-engine")));
    services.Messages.clear();
    play->trigger();
    ASSERT_EQ(services.Messages.size(), 1u);
    EXPECT_THAT(services.Messages[0].toStdString(), HasSubstr("missing-engine"));
}

// The lines of the newest report, and whether each is shown.
std::vector<QTreeWidgetItem*> NewestLines(MessagesDock& dock) {
    std::vector<QTreeWidgetItem*> lines;
    QTreeWidgetItem* newest = dock.list()->topLevelItem(0);
    for (int i = 0; newest != nullptr && i < newest->childCount(); ++i) {
        lines.push_back(newest->child(i));
    }
    return lines;
}

int CountOf(const std::vector<QTreeWidgetItem*>& lines, ReportKind kind) {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](QTreeWidgetItem* line) {
        return MessagesDock::kindOf(*line) == kind;
    }));
}

// The first line whose text names a room (as `pattern`'s first group, the level's or the
// project's numbering) and a column and a row (its second and third), in another room than the
// current one.
QTreeWidgetItem* LineNaming(const std::vector<QTreeWidgetItem*>& lines, const QString& pattern,
                            int currentRoom, int& room, int& column, int& row) {
    const QRegularExpression named(pattern);
    for (QTreeWidgetItem* line : lines) {
        const QRegularExpressionMatch match = named.match(line->toolTip(1));
        if (match.hasMatch() && match.captured(1).toInt() != currentRoom) {
            room = match.captured(1).toInt();
            column = match.captured(2).toInt();
            row = match.captured(3).toInt();
            return line;
        }
    }
    return nullptr;
}

using MessagesDockTest = Editor;

TEST_F(MessagesDockTest, TheAddOnDemoLevelsReportsAndTheirPlaces) {
    const std::string real = test::RealFixturesDir();
    if (real.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    auto* dockWidget = Find<QDockWidget>(*window, "messagesDock");
    MessagesDock& dock = *window->messagesDock();
    EXPECT_FALSE(dockWidget->isVisible()) << "nothing to read yet";

    services.FileAnswers.push_back(QString::fromStdString(real + "/tr1-demo-level2.tub"));
    window->action("importRooms")->trigger();
    ASSERT_EQ(project->RoomCount, 94);
    EXPECT_TRUE(services.Messages.empty()) << "the report is read in the dock, not in a box";
    EXPECT_TRUE(dockWidget->isVisible());
    ASSERT_EQ(dock.list()->topLevelItemCount(), 1);
    EXPECT_THAT(dock.list()->topLevelItem(0)->text(0).toStdString(),
                HasSubstr("Import of " + real + "/tr1-demo-level2.tub"));
    const std::vector<QTreeWidgetItem*> imported = NewestLines(dock);
    EXPECT_GT(CountOf(imported, ReportKind::Warning), 100);
    EXPECT_THAT(imported.front()->text(1).toStdString(), StartsWith("94 rooms imported"));
    EXPECT_EQ(MessagesDock::kindOf(*imported.front()), ReportKind::Note);
    EXPECT_THAT(Find<QLabel>(*window, "statusLabel")->text().toStdString(),
                StartsWith("94 rooms imported"));

    services.DialogAnswers.push_back([&](QDialog& dialog) {
        static_cast<BuildDialog&>(dialog).outputLevelField->setText(
            QString::fromStdString(files.Path("OUT.TUB")));
        return int(QDialog::Accepted);
    });
    window->action("buildLevel")->trigger();
    EXPECT_TRUE(services.Messages.empty()) << services.Messages.front().toStdString();
    ASSERT_EQ(dock.list()->topLevelItemCount(), 2) << "the build's report on top of the import's";
    EXPECT_THAT(dock.list()->topLevelItem(1)->text(0).toStdString(), HasSubstr("Import of"));
    const std::vector<QTreeWidgetItem*> built = NewestLines(dock);
    ASSERT_FALSE(built.empty());
    EXPECT_THAT(built.front()->text(1).toStdString(), StartsWith("Level written: "));
    EXPECT_EQ(built.front()->text(1), Find<QLabel>(*window, "statusLabel")->text())
        << "the status bar keeps the one-line report";
    const int warnings = CountOf(built, ReportKind::Warning);
    EXPECT_GT(warnings, 100);
    EXPECT_THAT(built.front()->text(1).toStdString(),
                HasSubstr(std::to_string(warnings) + " warnings"));

    // Filtered by kind: the warnings hidden, the notes still there; and back.
    Find<QCheckBox>(dock, "showWarnings")->setChecked(false);
    for (QTreeWidgetItem* line : built) {
        EXPECT_EQ(line->isHidden(), MessagesDock::kindOf(*line) == ReportKind::Warning);
    }
    Find<QCheckBox>(dock, "showWarnings")->setChecked(true);
    EXPECT_TRUE(std::none_of(built.begin(), built.end(),
                             [](QTreeWidgetItem* line) { return line->isHidden(); }));

    // A double-click on a warning that names a room and a sector: the room current, the sector
    // chosen. The build's lines name the project's rooms, the import's the level's (the same
    // here: every room came over, in order).
    const struct {
        QTreeWidgetItem* report;
        QString pattern;
    } reports[] = {
        {dock.list()->topLevelItem(0),
         R"(^warning: room (\d+) \([^)]*\), sector \(column (\d+), row (\d+)\))"},
        {dock.list()->topLevelItem(1), R"(^Level room (\d+):.*first at column (\d+), row (\d+))"},
    };
    for (const auto& report : reports) {
        report.report->setExpanded(true);
        std::vector<QTreeWidgetItem*> lines;
        for (int i = 0; i < report.report->childCount(); ++i) {
            lines.push_back(report.report->child(i));
        }
        int room = 0, column = 0, row = 0;
        QTreeWidgetItem* line =
            LineNaming(lines, report.pattern, project->CurrentRoom, room, column, row);
        ASSERT_NE(line, nullptr) << report.pattern.toStdString();
        dock.list()->scrollToItem(line);
        QTest::qWait(50); // laid out
        const QRect rect = dock.list()->visualItemRect(line);
        ASSERT_TRUE(rect.isValid());
        const QPoint at(rect.left() + 20, rect.center().y()); // a long line runs off the list
        ASSERT_TRUE(dock.list()->viewport()->rect().contains(at));
        // As the window system reports a double-click: a click, then the second press.
        QTest::mouseClick(dock.list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dock.list()->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(project->CurrentRoom, room) << line->toolTip(1).toStdString();
        EXPECT_EQ(window->scene().DrawnRoom, room);
        EXPECT_EQ(window->sectorSelection().Room(), room);
        EXPECT_EQ(window->sectorSelection().Sectors(),
                  std::vector<int>{SectorNumber(column, row, project->Room(room).ZSectors)})
            << line->toolTip(1).toStdString();
        EXPECT_EQ(window->activeTool(), ToolKind::Sector);
    }
}

} // namespace
} // namespace morvane
