#include "support/test_files.h"

#include "app/cli.h"
#include "app/cli_json.h"
#include "app/cli_run.h"
#include "demo/demo_project.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "version.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace morvane {
namespace {

using test::TempDir;
using ::testing::HasSubstr;

using test::CliResult;
using test::RunTool;

TEST(Cli, MakeDemoLevelInfoAndRewriteForEveryLayout) {
    TempDir dir;
    const std::pair<const char*, const char*> layouts[] = {
        {"tr1", "demo.phd"}, {"tub", "demo.tub"}, {"tr2", "demo.tr2"}, {"tr3", "demo.tr3"}};
    int32_t kind = FormatTR1;
    for (const auto& [layout, name] : layouts) {
        const std::string path = dir.Path(name);
        ASSERT_EQ(RunTool({"make-demo-level", "--layout", layout, path}).Code, CliDone) << layout;

        CliResult info = RunTool({"info", path});
        ASSERT_EQ(info.Code, CliDone) << info.Err;
        EXPECT_THAT(info.Out, HasSubstr("\"format_kind\": " + std::to_string(kind))) << layout;
        EXPECT_THAT(info.Out, HasSubstr("\"num_rooms\": 1,")) << layout;
        EXPECT_THAT(info.Out, HasSubstr("\"num_x_sectors\": 7,")) << layout;
        EXPECT_THAT(info.Out, HasSubstr("\"num_items\": 2,")) << layout;
        EXPECT_THAT(info.Out, HasSubstr("\"num_sample_indices\": 1\n}")) << layout;

        const std::string copy = dir.Path(std::string("copy-") + name);
        ASSERT_EQ(RunTool({"rewrite", path, copy}).Code, CliDone) << layout;
        EXPECT_TRUE(test::ReadFileBytes(copy) == test::ReadFileBytes(path)) << layout;
        ++kind;
    }
}

TEST(Cli, RefusalsExitOneWithTheMessage) {
    TempDir dir;
    CliResult missing = RunTool({"info", dir.Path("absent.phd")});
    EXPECT_EQ(missing.Code, CliFailed);
    EXPECT_EQ(missing.Err, "Level file \"" + dir.Path("absent.phd") + "\" not found\n");

    test::WriteFileBytes(dir.Path("short.tr2"), {0x2D, 0, 0, 0, 1});
    CliResult shortFile = RunTool({"info", dir.Path("short.tr2")});
    EXPECT_EQ(shortFile.Code, CliFailed);
    EXPECT_EQ(shortFile.Err,
              "Level file \"" + dir.Path("short.tr2") + "\" refused: Read beyond end of file\n");
    EXPECT_EQ(shortFile.Out, "");

    test::WriteFileBytes(dir.Path("v33.phd"), {33, 0, 0, 0});
    CliResult unknown = RunTool({"info", dir.Path("v33.phd")});
    EXPECT_EQ(unknown.Code, CliFailed);
    EXPECT_THAT(unknown.Err, HasSubstr("(unknown version code)"));

    CliResult unwritable =
        RunTool({"make-demo-level", "--layout", "tr2", dir.Path("no-folder/x.tr2")});
    EXPECT_EQ(unwritable.Code, CliFailed);
    EXPECT_EQ(unwritable.Err, "Level file \"" + dir.Path("no-folder/x.tr2") +
                                  "\" not written: the folder \"" + dir.Path("no-folder") +
                                  "\" does not exist\n");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"short.tr2", "v33.phd"}));
}

// Paths that are no regular file are refused at once (a pipe used to hang `info`), a write goes
// through a link to its file, and the add-on's layout is told by the file's own name only.
TEST(Cli, OddPathsAreRefusedNamingThem) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.Path("pipe.phd").c_str(), 0600), 0);
    CliResult pipe = RunTool({"info", dir.Path("pipe.phd")});
    EXPECT_EQ(pipe.Code, CliFailed);
    EXPECT_EQ(pipe.Err, "Level file \"" + dir.Path("pipe.phd") +
                            "\" refused: it is a pipe, not a regular file\n");
    CliResult folder = RunTool({"project-info", dir.Root().string()});
    EXPECT_EQ(folder.Code, CliFailed);
    EXPECT_EQ(folder.Err, "Project file \"" + dir.Root().string() +
                              "\" refused: it is a folder, not a regular file\n");

    std::filesystem::create_directory(dir.Path("old.tub"));
    const std::string level = dir.Path("old.tub/level.phd");
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr1", level}).Code, CliDone)
        << "a .phd name in a folder named .tub is the first game's layout";
    EXPECT_THAT(RunTool({"info", level}).Out, HasSubstr("\"format_kind\": 1,"));

    ASSERT_EQ(symlink("/dev/null", dir.Path("null.phd").c_str()), 0);
    CliResult device = RunTool({"rewrite", level, dir.Path("null.phd")});
    EXPECT_EQ(device.Code, CliFailed);
    EXPECT_EQ(device.Err, "Level file \"" + dir.Path("null.phd") +
                              "\" not written: it is a device, not a regular file\n");
    ASSERT_EQ(symlink("old.tub/level.phd", dir.Path("link.phd").c_str()), 0);
    ASSERT_EQ(RunTool({"rewrite", level, dir.Path("link.phd")}).Code, CliDone);
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(dir.Path("link.phd"))));
}

TEST(Cli, HelpAndVersionGoToTheOutputAndExitZero) {
    CliResult version = RunTool({"--version"});
    EXPECT_EQ(version.Code, CliDone);
    EXPECT_EQ(version.Out, std::string("morvane3d-cli ") + MorvaneVersion + "\n");
    EXPECT_THAT(MorvaneVersion, ::testing::MatchesRegex("[0-9]+\\.[0-9]+\\.[0-9]+"));
    EXPECT_EQ(version.Err, "");

    const std::vector<std::string> verbs = {"info",         "rewrite", "make-demo-level",
                                            "project-info", "objects", "make-demo-project",
                                            "build",        "check",   "import"};
    for (const char* flag : {"--help", "-h"}) {
        CliResult help = RunTool({flag});
        EXPECT_EQ(help.Code, CliDone) << flag;
        EXPECT_EQ(help.Err, "") << flag;
        EXPECT_THAT(help.Out, HasSubstr("--version")) << flag;
        for (const std::string& verb : verbs) {
            EXPECT_THAT(help.Out, HasSubstr("\n  " + verb + " ")) << flag;
        }
    }
    const std::pair<std::string, std::string> usages[] = {
        {"info", "info [OPTIONS] LEVEL"},
        {"rewrite", "rewrite [OPTIONS] IN OUT"},
        {"make-demo-level", "--layout tr1|tub|tr2|tr3 REQUIRED"},
        {"project-info", "project-info [OPTIONS] PROJECT.mvn"},
        {"objects", "--set F"},
        {"make-demo-project", "--base LEVEL REQUIRED"},
        {"build", "--auto-portals"},
        {"check", "check [OPTIONS] LEVEL"},
        {"import", "import [OPTIONS] LEVEL OUT.mvn"}};
    ASSERT_EQ(std::size(usages), verbs.size());
    for (const auto& [verb, usage] : usages) {
        // Help wins over everything else on the line, missing arguments included.
        CliResult help = RunTool({verb, "--help"});
        EXPECT_EQ(help.Code, CliDone) << verb;
        EXPECT_THAT(help.Out, HasSubstr("Usage: morvane3d-cli " + verb + " [OPTIONS]")) << verb;
        EXPECT_THAT(help.Out, HasSubstr(usage)) << verb;
        EXPECT_EQ(help.Err, "") << verb;
    }
}

TEST(Cli, BadUsageExitsTwoWithTheMessageAndTheUsage) {
    TempDir dir;
    const std::string level = dir.Path("x.phd");
    struct Case {
        std::vector<std::string> Args;
        std::string Message, Usage;
    };
    const Case cases[] = {
        {{}, "A subcommand is required", "morvane3d-cli [OPTIONS] SUBCOMMAND"},
        {{"frobnicate", level}, "unknown command \"frobnicate\"", "[OPTIONS] SUBCOMMAND"},
        {{"--frobnicate"}, "unknown option \"--frobnicate\"", "[OPTIONS] SUBCOMMAND"},
        {{"info"}, "LEVEL is required", "morvane3d-cli info [OPTIONS] LEVEL"},
        {{"info", level, "extra"}, "unexpected argument \"extra\"", "info [OPTIONS] LEVEL"},
        {{"rewrite", level}, "OUT is required", "rewrite [OPTIONS] IN OUT"},
        {{"make-demo-level", level}, "--layout is required", "make-demo-level [OPTIONS] OUT"},
        {{"make-demo-level", "--layout", "tr4", level},
         "unknown layout \"tr4\": use tr1, tub, tr2 or tr3",
         "make-demo-level [OPTIONS] OUT"},
        // The first game and its add-on share a version code; only the name tells them apart.
        {{"make-demo-level", "--layout", "tub", level},
         "a level in the tub layout must have \".tub\" or \".TUB\" in its name",
         "make-demo-level [OPTIONS] OUT"},
        {{"make-demo-level", "--layout", "tr1", dir.Path("x.tub")},
         "a level in the tr1 layout must not have \".tub\" or \".TUB\" in its name",
         "make-demo-level [OPTIONS] OUT"},
        {{"project-info"}, "PROJECT.mvn is required", "project-info [OPTIONS] PROJECT.mvn"},
        {{"objects", dir.Path("x.mvn"), "--out", dir.Path("y.mvn")},
         "--out is written only with --set",
         "objects [OPTIONS] PROJECT.mvn"},
        {{"make-demo-project", dir.Path("x.mvn")}, "--base is required", "--base LEVEL"},
        // An unknown option is named before a missing one.
        {{"make-demo-project", dir.Path("x.mvn"), "--bogus", level},
         "unknown option \"--bogus\"",
         "make-demo-project [OPTIONS] OUT.mvn"},
        {{"build", "p.mvn", "--out"}, "--out: 1 required F missing", "build [OPTIONS] PROJECT.mvn"},
        {{"build", "p.mvn", "-x"}, "unknown option \"-x\"", "build [OPTIONS] PROJECT.mvn"},
        {{"import", level}, "OUT.mvn is required", "import [OPTIONS] LEVEL OUT.mvn"},
    };
    for (const Case& c : cases) {
        const std::string line = ::testing::PrintToString(c.Args);
        CliResult result = RunTool(c.Args);
        EXPECT_EQ(result.Code, CliUsage) << line;
        EXPECT_EQ(result.Err.substr(0, result.Err.find('\n')), c.Message) << line;
        EXPECT_THAT(result.Err, HasSubstr("Usage: ")) << line;
        EXPECT_THAT(result.Err, HasSubstr(c.Usage)) << line;
        EXPECT_EQ(result.Out, "") << line;
    }
    EXPECT_TRUE(dir.Entries().empty()) << "a usage mistake writes nothing";
}

TEST(Cli, ProjectInfoSummarisesAProject) {
    TempDir dir;
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values;
    values.Name = "Entrance \"hall\"";
    values.Water = true;
    AddRoom(*project, scene, values);
    values.Name = "Vault";
    values.Long = 4;
    AddRoom(*project, scene, values);
    BuildSettings settings;
    settings.BaseLevelFile = "base.phd";
    settings.ScriptFile = "trig.scp";
    SaveProject(*project, settings, dir.Path("p.mvn"));

    CliResult info = RunTool({"project-info", dir.Path("p.mvn")});
    ASSERT_EQ(info.Code, CliDone) << info.Err;
    EXPECT_THAT(info.Out, HasSubstr("\"version\": 5,"));
    EXPECT_THAT(info.Out, HasSubstr("\"base_level_file\": \"base.phd\""));
    EXPECT_THAT(info.Out, HasSubstr("\"script_file\": \"trig.scp\""));
    EXPECT_THAT(info.Out, HasSubstr("\"current_room\": 2,"));
    EXPECT_THAT(info.Out, HasSubstr("\"room_count\": 2,"));
    EXPECT_THAT(info.Out, HasSubstr("\"name\": \"Entrance \\\"hall\\\"\""));
    EXPECT_THAT(info.Out, HasSubstr("\"z_sectors\": 4,"));
    EXPECT_THAT(info.Out, HasSubstr("\"water\": 1,"));

    test::WriteFileBytes(dir.Path("bad.mvn"), {16, 'Q'});
    CliResult bad = RunTool({"project-info", dir.Path("bad.mvn")});
    EXPECT_EQ(bad.Code, CliFailed);
    EXPECT_EQ(bad.Err,
              "Project file \"" + dir.Path("bad.mvn") + "\" refused: Read beyond end of file\n");
}

TEST(Cli, TheDemoProjectBuildsOntoTheDemoLevel) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr1", dir.Path("DEMO.PHD")}).Code, CliDone);
    ASSERT_EQ(RunTool({"make-demo-project", dir.Path("demo.mvn"), "--base", dir.Path("DEMO.PHD"),
                       "--out", dir.Path("BUILT.PHD")})
                  .Code,
              CliDone);
    CliResult info = RunTool({"project-info", dir.Path("demo.mvn")});
    EXPECT_THAT(info.Out, HasSubstr("\"room_count\": 3,"));
    EXPECT_THAT(info.Out, HasSubstr("\"name\": \"Pool\""));
    CliResult built = RunTool({"build", dir.Path("demo.mvn")});
    EXPECT_EQ(built.Code, CliDone) << built.Err;
    // The report line alone: no message, no warning.
    EXPECT_THAT(built.Err, ::testing::StartsWith("Level written: " + dir.Path("BUILT.PHD") +
                                                 " \u2014 3 rooms, "));
    EXPECT_THAT(built.Err, ::testing::EndsWith(" floor-data words, 0 warnings\n"));
    EXPECT_EQ(std::count(built.Err.begin(), built.Err.end(), '\n'), 1);
    EXPECT_THAT(RunTool({"info", dir.Path("BUILT.PHD")}).Out, HasSubstr("\"num_rooms\": 3,"));
    EXPECT_EQ(RunTool({"make-demo-project", dir.Path("x.mvn")}).Code, CliUsage);
}

TEST(Cli, BuildUsesTheProjectSettingsOverriddenByOptions) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr2", dir.Path("base.tr2")}).Code, CliDone);
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    AddRoom(*project, scene, RoomDialogValues{});
    BuildSettings settings;
    settings.BaseLevelFile = dir.Path("missing.tr2");
    settings.OutputLevelFile = dir.Path("out.tr2");
    settings.ItemsTableFile = dir.Path("none.itm");
    SaveProject(*project, settings, dir.Path("p.mvn"));

    CliResult refused = RunTool({"build", dir.Path("p.mvn")});
    EXPECT_EQ(refused.Code, CliFailed);
    EXPECT_EQ(refused.Err, "Base Level file " + dir.Path("missing.tr2") + " not found\n");

    // Options may come before the project; an option given twice takes its last file.
    CliResult built = RunTool({"build", "--base", dir.Path("missing.tr2"), "--base",
                               dir.Path("base.tr2"), dir.Path("p.mvn")});
    EXPECT_EQ(built.Code, CliDone);
    EXPECT_EQ(built.Err.substr(0, built.Err.find('\n') + 1),
              "Items file " + dir.Path("none.itm") + " not found\n");
    EXPECT_THAT(built.Err, HasSubstr("\nLevel written: " + dir.Path("out.tr2") + " "));
    CliResult info = RunTool({"info", dir.Path("out.tr2")});
    EXPECT_THAT(info.Out, HasSubstr("\"num_x_sectors\": 10,"));

    EXPECT_EQ(RunTool({"build", dir.Path("p.mvn"), "--bogus", "x"}).Code, CliUsage);
    EXPECT_EQ(RunTool({"build", dir.Path("p.mvn"), "--out"}).Code, CliUsage);
}

// --strict: a build that shows any message exits 1, although the level is written; a clean
// build still exits 0.
TEST(Cli, StrictBuildsFailOnAnyMessage) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr1", dir.Path("base.phd")}).Code, CliDone);
    ASSERT_EQ(
        RunTool({"make-demo-project", dir.Path("p.mvn"), "--base", dir.Path("base.phd")}).Code,
        CliDone);
    const std::string script = "Kill_Lara(1,2,2)\nStart_Trigger(1,2)\n";
    test::WriteFileBytes(dir.Path("t.scp"), test::Bytes(script.begin(), script.end()));
    const std::vector<std::string> build = {
        "build", dir.Path("p.mvn"), "--out", dir.Path("a.phd"), "--script", dir.Path("t.scp")};
    const std::string error = "Error at Line 2:Not enough parameters:->\nLevel written: ";
    CliResult lenient = RunTool(build);
    EXPECT_EQ(lenient.Code, CliDone);
    EXPECT_EQ(lenient.Err.substr(0, error.size()), error);

    std::vector<std::string> strict = build;
    strict[3] = dir.Path("b.phd");
    strict.push_back("--strict");
    CliResult failed = RunTool(strict);
    EXPECT_EQ(failed.Code, CliFailed);
    EXPECT_EQ(failed.Err.substr(0, error.size()), error);
    EXPECT_TRUE(std::filesystem::exists(dir.Path("b.phd"))) << "the level is still written";

    CliResult clean = RunTool({"build", dir.Path("p.mvn"), "--out", dir.Path("c.phd"), "--strict"});
    EXPECT_EQ(clean.Code, CliDone) << clean.Err;
    CliResult missing = RunTool({"build", dir.Path("p.mvn"), "--out", dir.Path("d.phd"), "--items",
                                 dir.Path("none.itm"), "--strict"});
    EXPECT_EQ(missing.Code, CliFailed);
    EXPECT_THAT(missing.Err, ::testing::StartsWith("Items file " + dir.Path("none.itm") +
                                                   " not found\nLevel written: "));
}

// A demo level of the second game made faulty on purpose by the test.
std::string FaultyLevel(const TempDir& dir, const std::string& name,
                        const std::function<void(TLevelData&)>& fault) {
    const std::string path = dir.Path(name);
    EXPECT_EQ(RunTool({"make-demo-level", "--layout", "tr2", path}).Code, CliDone);
    auto level = std::make_unique<TLevelData>();
    EXPECT_EQ(ReadLevelFile(*level, path).Status, ReadStatus::Done);
    fault(*level);
    WriteLevelFile(*level, path);
    return path;
}

TEST(Cli, CheckReportsWhatWouldBreakALevel) {
    TempDir dir;
    const std::string sound = FaultyLevel(dir, "sound.tr2", [](TLevelData&) {});
    CliResult quiet = RunTool({"check", sound});
    EXPECT_EQ(quiet.Code, CliDone);
    EXPECT_EQ(quiet.Out, "");
    EXPECT_EQ(quiet.Err, "");
    EXPECT_EQ(RunTool({"check", "--json", sound}).Out, "[]\n");

    // Lara a little above her floor: a warning alone exits 0.
    const std::string dropping = FaultyLevel(dir, "drop.tr2", [](TLevelData& level) {
        const TItem2& lara = level.Items2[0];
        level.Items2[0].Y = FindFloorUnder(level, lara.Room, lara.X, lara.Z).FloorY - 600;
    });
    CliResult warned = RunTool({"check", dropping});
    EXPECT_EQ(warned.Code, CliDone);
    EXPECT_THAT(warned.Out, ::testing::StartsWith("warning: room 1, item 1: Lara starts 600 "
                                                  "units above the floor and drops on entry."));

    // A floor-data index past the data is an error: exit 1, in text and in JSON.
    const std::string broken = FaultyLevel(dir, "broken.tr2", [](TLevelData& level) {
        TLevelRoom& room = level.Rooms[0];
        room.Sectors[2 * room.NumZSectors + 3].FloorDataIndex =
            static_cast<uint16_t>(level.NumFloorData + 4);
    });
    CliResult failed = RunTool({"check", broken});
    EXPECT_EQ(failed.Code, CliFailed);
    EXPECT_THAT(failed.Out, ::testing::StartsWith("error: room 1, sector (column 3, row 4): its "
                                                  "floor-data index "));
    CliResult json = RunTool({"check", broken, "--json"});
    EXPECT_EQ(json.Code, CliFailed);
    const Json findings = Json::parse(json.Out);
    ASSERT_EQ(findings.size(), 1u);
    const Json& first = findings[0];
    EXPECT_EQ(first["severity"], "error");
    EXPECT_EQ(first["room"], 1);
    EXPECT_EQ(first["column"], 3);
    EXPECT_EQ(first["row"], 4);
    EXPECT_FALSE(first.contains("item")) << "only the fields that name the place";
    EXPECT_THAT(first["text"].get<std::string>(), HasSubstr("Rebuild the level's floor data."));

    EXPECT_EQ(RunTool({"check"}).Code, CliUsage);
    EXPECT_EQ(RunTool({"check", sound, sound}).Code, CliUsage);
    CliResult missing = RunTool({"check", dir.Path("none.tr2")});
    EXPECT_EQ(missing.Code, CliFailed);
    EXPECT_EQ(missing.Err, "Level file \"" + dir.Path("none.tr2") + "\" not found\n");
}

TEST(Cli, BuildCanMakeThePortalViewsAndReportsOnStderr) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tub", dir.Path("demo.tub")}).Code, CliDone);
    auto project = std::make_unique<TEditorProject>();
    demo::MakeDemoProject(*project, dir.Path("demo.tub"), dir.Path("built.tub"));
    project->Room(1).PortalView(1).OriginX -= 1; // the hall's view one sector inside
    WriteProjectFile(*project, dir.Path("p.mvn"));

    CliResult warned = RunTool({"build", dir.Path("p.mvn")});
    EXPECT_EQ(warned.Code, CliDone) << "warnings do not stop the build";
    EXPECT_THAT(warned.Err, ::testing::StartsWith("warning: room 1 (Great Hall), view Door #1: "
                                                  "the view to room 2 (Pool) lies off the "
                                                  "doorway"));
    EXPECT_THAT(warned.Err, ::testing::EndsWith(" floor-data words, 3 warnings\n"));

    CliResult made = RunTool({"build", dir.Path("p.mvn"), "--auto-portals"});
    EXPECT_EQ(made.Code, CliDone);
    EXPECT_THAT(made.Err, ::testing::StartsWith("Level written: " + dir.Path("built.tub")));
    EXPECT_THAT(made.Err, ::testing::EndsWith(", 0 warnings\n"));

    // More doorways than a room's views (20 floor links apart from each other, the doorway to
    // the pool and the ceiling link to the gallery): nothing is built.
    TEditorRoom& hall = project->Room(1);
    for (int i = 0; i < 20; ++i) {
        hall.GameSector(SectorNumber(2 + i % 5 * 2, 2 + i / 5 * 2, hall.ZSectors)).RoomBelow = 1;
    }
    WriteProjectFile(*project, dir.Path("many.mvn"));
    CliResult refused = RunTool({"build", dir.Path("many.mvn"), "--auto-portals"});
    EXPECT_EQ(refused.Code, CliFailed);
    EXPECT_EQ(refused.Err, "Room 1 (Great Hall) would need 22 portal views, more than the 20 a "
                           "room can hold. No view was changed.\n");
}

TEST(Cli, ImportMakesAProjectOfALevelsRoomsThatBuildsAgain) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tub", dir.Path("base.tub")}).Code, CliDone);
    CliResult imported = RunTool({"import", dir.Path("base.tub"), dir.Path("rooms.mvn")});
    ASSERT_EQ(imported.Code, CliDone) << imported.Err;
    EXPECT_EQ(imported.Out, "");
    // The demo room's items and the summary; the room itself comes over whole.
    EXPECT_THAT(imported.Err, HasSubstr("Objects imported: 2 items"));
    EXPECT_THAT(imported.Err, HasSubstr("\n1 room imported (1 whole, 0 clipped), 0 skipped;"));

    CliResult info = RunTool({"project-info", dir.Path("rooms.mvn")});
    EXPECT_THAT(info.Out, HasSubstr("\"base_level_file\": \"" + dir.Path("base.tub") + "\""));
    EXPECT_THAT(info.Out, HasSubstr("\"output_level_file\": \"\""));
    EXPECT_THAT(info.Out, HasSubstr("\"room_count\": 1,"));
    CliResult built = RunTool({"build", dir.Path("rooms.mvn"), "--out", dir.Path("again.tub")});
    EXPECT_EQ(built.Code, CliDone) << built.Err;
    EXPECT_THAT(RunTool({"info", dir.Path("again.tub")}).Out, HasSubstr("\"num_rooms\": 1,"));

    // Refused files and levels of which nothing comes over exit 1 and write nothing.
    CliResult missing = RunTool({"import", dir.Path("none.tub"), dir.Path("none.mvn")});
    EXPECT_EQ(missing.Code, CliFailed);
    EXPECT_EQ(missing.Err, "Level file \"" + dir.Path("none.tub") + "\" not found\n");
    auto level = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*level, dir.Path("base.tub")).Status, ReadStatus::Done);
    level->Rooms[0].RoomInfo.X += 100; // off the sector grid
    ASSERT_EQ(WriteLevelFile(*level, dir.Path("off.tub")), LevelWritten);
    CliResult nothing = RunTool({"import", dir.Path("off.tub"), dir.Path("off.mvn")});
    EXPECT_EQ(nothing.Code, CliFailed);
    EXPECT_THAT(nothing.Err, HasSubstr("Level room 1: not imported, its corner"));
    EXPECT_THAT(nothing.Err,
                HasSubstr("\nNo room of the level could be imported; no project was written.\n"));
    CliResult unwritable = RunTool({"import", dir.Path("base.tub"), dir.Path("no/rooms.mvn")});
    EXPECT_EQ(unwritable.Code, CliFailed);
    EXPECT_THAT(unwritable.Err, HasSubstr("does not exist\n"));
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{"again.tub", "base.tub", "off.tub", "rooms.mvn"}));
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

// "build --play" starts the given program on the written level and does not wait for it; the
// stand-in program writes down the arguments it was given.
TEST(Cli, BuildAndPlayStartsTheProgramOnTheWrittenLevel) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr1", dir.Path("DEMO.PHD")}).Code, CliDone);
    auto project = std::make_unique<TEditorProject>();
    demo::MakeDemoProject(*project, dir.Path("DEMO.PHD"), dir.Path("built level.phd"));
    WriteProjectFile(*project, dir.Path("p.mvn"));
    const std::string player = dir.Path("player");
    {
        std::ofstream script(player);
        script << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.tmp\" && mv \"$0.args.tmp\" "
                  "\"$0.args\"\n";
    }
    std::filesystem::permissions(player, std::filesystem::perms::owner_all);

    const CliResult played =
        RunTool({"build", dir.Path("p.mvn"), "--play", "\"" + player + "\" -level {level} -x"});
    EXPECT_EQ(played.Code, CliDone) << played.Err;
    EXPECT_THAT(played.Err, ::testing::EndsWith("Playing the level: " + player + "\n"));
    const std::string args = player + ".args";
    for (int waited = 0; waited < 100 && !std::filesystem::exists(args); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::ifstream recorded(args);
    std::stringstream text;
    text << recorded.rdbuf();
    EXPECT_EQ(text.str(), "-level\n" + dir.Path("built level.phd") + "\n-x\n")
        << "the level's path whole, in the placeholder's place";

    const CliResult missing =
        RunTool({"build", dir.Path("p.mvn"), "--play", dir.Path("no-player")});
    EXPECT_EQ(missing.Code, CliFailed);
    EXPECT_THAT(missing.Err, ::testing::HasSubstr("The program \"" + dir.Path("no-player") +
                                                  "\" to play the level with could not be "
                                                  "started: File not found"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("built level.phd"))) << "the level is written";
}

} // namespace
} // namespace morvane
