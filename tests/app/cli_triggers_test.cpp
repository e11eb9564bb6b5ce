#include "support/random_objects.h"
#include "support/test_files.h"

#include "app/cli.h"
#include "app/cli_json.h"
#include "app/cli_run.h"
#include "document/object_operations.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "document/trigger_operations.h"
#include "level/level_format.h"
#include "level/level_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>

namespace morvane {
namespace {

using test::Bytes;
using test::TempDir;
using ::testing::StartsWith;

using test::CliResult;
using test::ProjectOfRooms;
using test::RunTool;
using test::WriteText;

// The layer printed, read back with --set and printed again is the same, and the project file
// written is byte for byte the one it came from, with the kinds and actions of every layout.
TEST(CliTriggers, PrintSetAndPrintAgainGiveTheSameLayerInEveryLayout) {
    TempDir dir;
    const std::pair<const char*, const char*> layouts[] = {
        {"", ""}, {"tr1", "b.phd"}, {"tub", "b.tub"}, {"tr2", "b.tr2"}, {"tr3", "b.tr3"}};
    std::mt19937 random(5);
    int triggers = 0;
    for (const auto& [layout, name] : layouts) {
        SCOPED_TRACE(std::string("layout ") + layout);
        const std::string base = *name == '\0' ? dir.Path("absent.phd") : dir.Path(name);
        if (*name != '\0') {
            ASSERT_EQ(RunTool({"make-demo-level", "--layout", layout, base}).Code, CliDone);
        }
        const int32_t kind = PeekLevelFormatKind(base);
        auto project = ProjectOfRooms({{9, 7}, {4, 12}}, base);
        test::PlaceRandomObjects(*project, random, 60);
        test::PlaceRandomTriggers(*project, random, 150);
        // The layout's own triggers; the reserved bytes, which the JSON does not carry, cleared.
        std::vector<TEditorTrigger> kept;
        for (uint32_t i = 0; i < project->Triggers.Count; ++i) {
            TEditorTrigger t = project->Triggers.Triggers[i];
            for (TTriggerAction& action : t.Actions) {
                action.Reserved = 0;
            }
            if (!CheckTriggerFields(*project, t, kind)) {
                kept.push_back(t);
            }
        }
        ASSERT_EQ(ReplaceTriggerLayer(*project, kept, kind), "");
        ASSERT_GT(kept.size(), 30u);
        triggers += static_cast<int>(kept.size());
        const std::string path = dir.Path("p.mvn"), copy = dir.Path("q.mvn");
        WriteProjectFile(*project, path);

        const CliResult printed = RunTool({"triggers", path});
        ASSERT_EQ(printed.Code, CliDone) << printed.Err;
        WriteText(dir.Path("t.json"), printed.Out);
        const CliResult set =
            RunTool({"triggers", path, "--set", dir.Path("t.json"), "--out", copy});
        ASSERT_EQ(set.Code, CliDone) << set.Err;
        EXPECT_EQ(set.Err, std::to_string(kept.size()) + " triggers written to " + copy + "\n");
        EXPECT_TRUE(test::ReadFileBytes(copy) == test::ReadFileBytes(path))
            << "the project written from the JSON differs from the one printed";
        EXPECT_EQ(RunTool({"triggers", copy}).Out, printed.Out);
        EXPECT_EQ(Json::parse(RunTool({"project-info", copy}).Out)["triggers"], kept.size());
    }
    std::printf("%d triggers printed, set and printed again.\n", triggers);
}

// The documented example comes out as written, with the defaults it leaves out.
TEST(CliTriggers, TheDocumentedExampleIsPrintedAsWritten) {
    TempDir dir;
    const std::string path = dir.Path("p.mvn");
    auto project = ProjectOfRooms({{8, 8}}, "");
    for (int i = 0; i < 4; ++i) {
        PlaceObject(*project, NewObject(i == 0 ? ObjectKind::Camera : ObjectKind::Item, 1,
                                        1024 * i + 10, 10, 10 + i));
    }
    WriteProjectFile(*project, path);
    const std::string example = R"({"triggers": [
  {"room": 1, "column": 4, "row": 6, "kind": "pad", "timer": 0, "once": false, "mask": 31,
   "death": false,
   "actions": [{"do": "activate", "object": 3},
               {"do": "camera", "camera": 0, "seconds": 3, "once": false},
               {"do": "secret", "number": 1}, {"do": "end_level"}]},
  {"room": 1, "column": 5, "row": 6, "kind": "switch", "object": 2,
   "actions": [{"do": "activate", "object": 3}]}
]})";
    WriteText(dir.Path("example.json"), example);
    const CliResult set = RunTool({"triggers", path, "--set", dir.Path("example.json")});
    ASSERT_EQ(set.Code, CliDone) << set.Err;
    Json expected = Json::parse(example);
    // In the printed order, with the defaults it leaves out.
    expected["triggers"][1] = Json{{"room", 1},   {"column", 5},
                                   {"row", 6},    {"kind", "switch"},
                                   {"timer", 0},  {"once", false},
                                   {"mask", 31},  {"death", false},
                                   {"object", 2}, {"actions", expected["triggers"][1]["actions"]}};
    EXPECT_EQ(Json::parse(RunTool({"triggers", path}).Out), expected);
}

// A JSON of triggers with one thing wrong is refused naming the trigger and the field, and
// writes nothing.
TEST(CliTriggers, ABadFieldIsRefusedNamingItAndNothingIsWritten) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr2", dir.Path("b.tr2")}).Code, CliDone);
    const std::string path = dir.Path("p.mvn");
    auto project = ProjectOfRooms({{5, 4}}, dir.Path("b.tr2"));
    PlaceObject(*project, NewObject(ObjectKind::Item, 1, 100, 100, 30));
    PlaceObject(*project, NewObject(ObjectKind::Camera, 1, 100, 100));
    WriteProjectFile(*project, path);
    const Bytes before = test::ReadFileBytes(path);
    const Json valid = Json::parse(R"({"triggers": [
        {"room": 1, "column": 2, "row": 3, "kind": "switch", "object": 0, "timer": 4,
         "actions": [{"do": "camera", "camera": 1, "seconds": 2, "once": true},
                     {"do": "flip_map", "number": 3}]},
        {"room": 1, "column": 5, "row": 4, "kind": "pad",
         "actions": [{"do": "secret", "number": 16}, {"do": "activate", "object": 0}]}]})");
    WriteText(dir.Path("good.json"), valid.dump());
    ASSERT_EQ(
        RunTool({"triggers", path, "--set", dir.Path("good.json"), "--out", dir.Path("good.mvn")})
            .Code,
        CliDone);
    struct Case {
        std::string Pointer; // of the field changed, in the valid JSON
        Json Value;
        std::string Expected;
    };
    const Json missing = "(missing)";
    const Case cases[] = {
        {"/triggers/0/room", 2, "triggers[0].room: room 2 does not exist (the project has 1)"},
        {"/triggers/1/column", 6,
         "triggers[1].column: 6 is outside 1 to 5 (the columns of room 1)"},
        {"/triggers/1/row", 0, "triggers[1].row: 0 is outside 1 to 255"},
        {"/triggers/0/timer", 256, "triggers[0].timer: 256 is outside 0 to 255"},
        {"/triggers/0/mask", 32, "triggers[0].mask: 32 is outside 0 to 31"},
        {"/triggers/0/once", 1, "triggers[0].once: not true or false but 1"},
        {"/triggers/1/kind", "monkey",
         "triggers[1].kind: \"monkey\", which the second game does not have"},
        {"/triggers/1/kind", "jump", "triggers[1].kind: unknown kind \"jump\""},
        {"/triggers/0/object", missing, "triggers[0].object: missing (a switch trigger names"},
        {"/triggers/0/object", 1, "triggers[0].object: object 1 is a camera, not an item"},
        {"/triggers/1/object", 0, "triggers[1].object: a pad trigger is tied to no object"},
        {"/triggers/0/actions/0/camera", 0,
         "triggers[0].actions[0].camera: object 0 is an item, not a camera"},
        {"/triggers/0/actions/0/seconds", 300,
         "triggers[0].actions[0].seconds: 300 is outside 0 to 255"},
        {"/triggers/0/actions/1/number", 10, "triggers[0].actions[1].number: 10 is outside 0 to 9"},
        {"/triggers/1/actions/0/number", 17,
         "triggers[1].actions[0].number: 17 is outside 1 to 16"},
        {"/triggers/1/actions/0/number", 0, "triggers[1].actions[0].number: 0 is outside 1 to 16"},
        {"/triggers/1/actions/1/object", 2,
         "triggers[1].actions[1].object: object 2 does not exist (the project has 2)"},
        {"/triggers/1/actions/1/do", "deactivate",
         "triggers[1].actions[1].do: unknown action \"deactivate\""},
        {"/triggers/1/actions/1/seconds", 3, "triggers[1].actions[1]: unknown key \"seconds\""},
        {"/triggers/1/colour", 3, "triggers[1]: unknown key \"colour\""},
        {"/triggers/1", Json{{"room", 1}, {"column", 2}, {"row", 3}, {"kind", "dummy"}},
         "triggers[1].room: its sector already has triggers[0]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Expected);
        Json changed = valid;
        const Json::json_pointer at(c.Pointer);
        if (c.Value == missing) {
            changed[at.parent_pointer()].erase(at.back());
        } else {
            changed[at] = c.Value;
        }
        const std::string json = dir.Path("bad.json");
        WriteText(json, changed.dump());
        const CliResult result =
            RunTool({"triggers", path, "--set", json, "--out", dir.Path("out.mvn")});
        EXPECT_EQ(result.Code, CliFailed);
        EXPECT_THAT(result.Err,
                    StartsWith("Triggers file \"" + json + "\" refused: " + c.Expected));
        ASSERT_TRUE(test::ReadFileBytes(path) == before) << "the project was written";
        ASSERT_EQ(dir.Entries(), (std::vector<std::string>{"b.tr2", "bad.json", "good.json",
                                                           "good.mvn", "p.mvn"}));
    }
}

} // namespace
} // namespace morvane
