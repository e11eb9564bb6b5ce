#include "support/random_objects.h"
#include "support/test_files.h"

#include "app/cli.h"
#include "app/cli_json.h"
#include "app/cli_run.h"
#include "document/object_operations.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "level/level_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>

namespace morvane {
namespace {

using test::Bytes;
using test::TempDir;
using ::testing::HasSubstr;

using test::CliResult;
using test::ProjectOfRooms;
using test::RunTool;
using test::WriteText;

// An object as the JSON of the layout carries it: the fields the layout lacks hold what reading
// the JSON gives them, the angle is whole degrees, the height of an object on the floor is 0.
void KeepToTheJson(TEditorObject& o, int32_t layout, std::mt19937& random) {
    const ObjectKind kind = o.KindOf();
    const bool angled = kind == ObjectKind::Item || kind == ObjectKind::Static;
    const ObjectValueRange range = IntensityRange(kind);
    const auto intensity = [&] {
        const auto values = static_cast<uint64_t>(range.Max - range.Min + 1);
        return static_cast<int32_t>(range.Min + static_cast<int64_t>(random() % values));
    };
    o.Reserved1 = 0;
    o.Reserved2 = 0;
    o.Y = o.OnFloor != 0 ? 0 : o.Y;
    o.Angle = angled ? AngleOfDegrees(DegreesOfAngle(o.Angle)) : 0;
    o.Type = angled ? o.Type : 0;
    o.Flags = kind == ObjectKind::Item || kind == ObjectKind::Camera ? o.Flags : 0;
    o.Intensity = kind == ObjectKind::Camera ? 0 : intensity();
    const bool second =
        kind == ObjectKind::Light ? layout == FormatTR2 : UsesSecondGameRecords(layout);
    o.Intensity2 = kind == ObjectKind::Camera ? 0 : second ? intensity() : o.Intensity;
    o.Fade = kind == ObjectKind::Light ? o.Fade : 0;
    o.Colour = kind != ObjectKind::Light ? 0 : layout == FormatTR3 ? o.Colour & 0xFFFFFF : 0xFFFFFF;
}

// The layer printed, read back with --set and printed again is the same, and the project file
// written is byte for byte the one it came from, for the fields of every layout (and without a
// base level, the first game's).
TEST(CliObjects, PrintSetAndPrintAgainGiveTheSameLayerInEveryLayout) {
    TempDir dir;
    const std::pair<const char*, const char*> layouts[] = {
        {"", ""}, {"tr1", "b.phd"}, {"tub", "b.tub"}, {"tr2", "b.tr2"}, {"tr3", "b.tr3"}};
    std::mt19937 random(21);
    for (const auto& [layout, name] : layouts) {
        SCOPED_TRACE(std::string("layout ") + layout);
        const std::string base = *name == '\0' ? dir.Path("absent.phd") : dir.Path(name);
        if (*name != '\0') {
            ASSERT_EQ(RunTool({"make-demo-level", "--layout", layout, base}).Code, CliDone);
        }
        const int32_t kind = *name == '\0'
                                 ? FormatNone
                                 : FormatKindFor(std::string(layout) == "tr3"   ? VersionTR3
                                                 : std::string(layout) == "tr2" ? VersionTR2
                                                                                : VersionTR1,
                                                 base);
        for (int round = 0; round < 4; ++round) {
            auto project = ProjectOfRooms({{1 + static_cast<int>(random() % 31), 3},
                                           {5, 1 + static_cast<int>(random() % 31)},
                                           {2, 2}},
                                          base);
            test::PlaceRandomObjects(*project, random, 20 + 100 * round);
            ASSERT_GT(project->Objects.Count, 10u);
            for (uint32_t i = 0; i < project->Objects.Count; ++i) {
                KeepToTheJson(project->Objects.Objects[i], kind, random);
            }
            const std::string path = dir.Path("p.mvn"), copy = dir.Path("q.mvn");
            WriteProjectFile(*project, path);

            const CliResult printed = RunTool({"objects", path});
            ASSERT_EQ(printed.Code, CliDone) << printed.Err;
            WriteText(dir.Path("o.json"), printed.Out);
            const CliResult set =
                RunTool({"objects", path, "--set", dir.Path("o.json"), "--out", copy});
            ASSERT_EQ(set.Code, CliDone) << set.Err;
            EXPECT_EQ(set.Err, std::to_string(project->Objects.Count) + " objects written to " +
                                   copy + "\n");
            EXPECT_TRUE(test::ReadFileBytes(copy) == test::ReadFileBytes(path))
                << "the project written from the JSON differs from the one printed";
            EXPECT_EQ(RunTool({"objects", copy}).Out, printed.Out);

            const ObjectCounts counts = CountObjects(*project);
            const Json info = Json::parse(RunTool({"project-info", copy}).Out);
            EXPECT_EQ(info["objects"], (Json{{"items", counts.Items},
                                             {"cameras", counts.Cameras},
                                             {"statics", counts.Statics},
                                             {"lights", counts.Lights}}));
        }
    }
}

// The objects of the documented example come out in their documented form, the fields of the
// layout added: a light's second intensity in the second game, its colour in the third.
TEST(CliObjects, TheDocumentedExampleIsPrintedAsWritten) {
    TempDir dir;
    const std::string example =
        R"({"objects": [)"
        R"({"kind": "item", "room": 1, "x": 2560, "z": 3584, "y": null, "angle": 90, "type": 7, "flags": 15872, "intensity": -1}, )"
        R"({"kind": "camera", "room": 2, "x": 512, "z": 512, "y": -1024, "flags": 0}, )"
        R"({"kind": "static", "room": 1, "x": 1536, "z": 1536, "y": null, "angle": 180, "mesh": 3, "intensity": 4096}, )"
        R"({"kind": "light", "room": 1, "x": 2048, "z": 2048, "y": -1024, "intensity": 6000, "fade": 4096}]})";
    WriteText(dir.Path("example.json"), example);
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr3", dir.Path("b.tr3")}).Code, CliDone);
    for (const std::string base : {"", "b.tr3"}) {
        const std::string path = dir.Path("p.mvn");
        WriteProjectFile(*ProjectOfRooms({{4, 4}, {1, 1}}, base.empty() ? "" : dir.Path(base)),
                         path);
        const CliResult set = RunTool({"objects", path, "--set", dir.Path("example.json")});
        ASSERT_EQ(set.Code, CliDone) << set.Err;
        Json expected = Json::parse(example);
        if (!base.empty()) { // the third game's fields
            expected["objects"][0]["intensity2"] = -1;
            expected["objects"][2]["intensity2"] = 4096;
            expected["objects"][3]["colour"] = "#FFFFFF";
        }
        EXPECT_EQ(Json::parse(RunTool({"objects", path}).Out), expected);
    }
}

// A JSON of objects with one thing wrong is refused naming the object's index and the field, and
// writes nothing: neither the project nor the file asked for.
TEST(CliObjects, ABadFieldIsRefusedNamingItAndNothingIsWritten) {
    TempDir dir;
    ASSERT_EQ(RunTool({"make-demo-level", "--layout", "tr3", dir.Path("b.tr3")}).Code, CliDone);
    const std::string path = dir.Path("p.mvn");
    auto project = ProjectOfRooms({{3, 4}, {2, 2}}, dir.Path("b.tr3"));
    PlaceObject(*project, NewObject(ObjectKind::Camera, 2, 5, 5));
    WriteProjectFile(*project, path);
    const Bytes before = test::ReadFileBytes(path);
    const Json valid = Json::parse(R"({"objects": [
        {"kind": "item", "room": 1, "x": 2560, "z": 3584, "y": null, "angle": 90, "type": 7,
         "flags": 15872, "intensity": -1, "intensity2": 300},
        {"kind": "camera", "room": 2, "x": 512, "z": 512, "y": -1024, "flags": 0},
        {"kind": "static", "room": 1, "x": 1536, "z": 1536, "y": null, "angle": 180, "mesh": 3,
         "intensity": 4096},
        {"kind": "light", "room": 1, "x": 2048, "z": 2048, "y": -1024, "intensity": 6000,
         "fade": 4096, "colour": "#ff8000"}]})");
    ASSERT_EQ(
        RunTool({"objects", path, "--set", dir.Path("nowhere.json"), "--out", dir.Path("x.mvn")})
            .Err,
        "Objects file \"" + dir.Path("nowhere.json") + "\" refused: File not found\n");

    const Json missing = "(missing)";
    struct Case {
        int Index;
        std::string Key;
        Json Value;
        std::string Expected;
    };
    const Case cases[] = {
        {1, "room", 0, "objects[1].room: room 0 does not exist (the project has 2)"},
        {1, "room", 3, "objects[1].room: room 3 does not exist (the project has 2)"},
        {0, "room", uint64_t{1} << 32, "objects[0].room: room 4294967296 does not exist"},
        {0, "x", 3072, "objects[0].x: 3072 is outside room 1 (0 to 3071)"},
        {3, "z", -1, "objects[3].z: -1 is outside room 1 (0 to 4095)"},
        {3, "x", UINT64_MAX, "objects[3].x: 18446744073709551615 is too large"},
        {2, "y", 1.5, "objects[2].y: not an integer but 1.5"},
        {2, "y", "low", "objects[2].y: not an integer but \"low\""},
        {1, "y", int64_t{1} << 31, "objects[1].y: 2147483648 is outside -2147483648 to 2147483647"},
        {0, "angle", 90.0, "objects[0].angle: not an integer but 90.0"},
        {0, "flags", 65536, "objects[0].flags: 65536 is outside 0 to 65535"},
        {1, "flags", -1, "objects[1].flags: -1 is outside 0 to 65535"},
        {0, "type", -1, "objects[0].type: -1 is outside 0 to 32767"},
        {2, "mesh", 32768, "objects[2].mesh: 32768 is outside 0 to 32767"},
        {0, "intensity", 8192, "objects[0].intensity: 8192 is outside -1 to 8191"},
        {2, "intensity2", -2, "objects[2].intensity2: -2 is outside -1 to 8191"},
        {3, "intensity", -1, "objects[3].intensity: -1 is outside 0 to 8191"},
        {3, "fade", -1, "objects[3].fade: -1 is outside 0 to 4294967295"},
        {3, "colour", "#12345G", "objects[3].colour: \"#12345G\" is not a colour \"#RRGGBB\""},
        {3, "colour", 255, "objects[3].colour: 255 is not a colour \"#RRGGBB\""},
        {2, "kind", "statics",
         "objects[2].kind: unknown kind \"statics\" (item, camera, static or light)"},
        {2, "kind", 3, "objects[2].kind: unknown kind 3"},
        {0, "kind", missing, "objects[0].kind: missing"},
        {0, "type", missing, "objects[0].type: missing (an item needs kind, room, x, z, y, type)"},
        {1, "y", missing, "objects[1].y: missing (a camera needs kind, room, x, z, y)"},
        {1, "angle", 90,
         "objects[1]: unknown key \"angle\" for a camera (its keys are kind, room, x, z, y, "
         "flags)"},
        {0, "intensty", 5, "objects[0]: unknown key \"intensty\" for an item"},
        {2, "type", 3, "objects[2]: unknown key \"type\" for a static"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Expected);
        Json changed = valid;
        if (c.Value == missing) {
            changed["objects"][c.Index].erase(c.Key);
        } else {
            changed["objects"][c.Index][c.Key] = c.Value;
        }
        const std::string json = dir.Path("bad.json");
        WriteText(json, changed.dump());
        for (const bool elsewhere : {false, true}) {
            std::vector<std::string> args = {"objects", path, "--set", json};
            if (elsewhere) {
                args.insert(args.end(), {"--out", dir.Path("out.mvn")});
            }
            const CliResult result = RunTool(args);
            EXPECT_EQ(result.Code, CliFailed);
            EXPECT_THAT(result.Err, ::testing::StartsWith("Objects file \"" + json +
                                                          "\" refused: " + c.Expected));
            EXPECT_EQ(result.Out, "");
        }
        ASSERT_TRUE(test::ReadFileBytes(path) == before) << "the project was written";
        ASSERT_EQ(dir.Entries(), (std::vector<std::string>{"b.tr3", "bad.json", "p.mvn"}));
    }

    // The whole file and the layer's limits.
    Json items = Json::parse(R"({"objects": []})");
    for (int i = 0; i < 300; ++i) {
        items["objects"].push_back(
            {{"kind", "item"}, {"room", 1}, {"x", 0}, {"z", 0}, {"y", nullptr}, {"type", 1}});
    }
    Json laras = valid;
    laras["objects"][0]["type"] = 0;
    laras["objects"].push_back(laras["objects"][0]);
    const std::pair<std::string, std::string> files[] = {
        {"[]", "the top level is not a JSON object but []"},
        {R"({"objects": {}})", "\"objects\" is not an array but {}"},
        {R"({"object": []})", "unknown key \"object\" at the top level"},
        {R"({"objects": [], "rooms": 1})", "unknown key \"rooms\" at the top level"},
        {"{}", "\"objects\" is missing"},
        {R"({"objects": [7]})", "objects[0]: not a JSON object but 7"},
        {R"({"objects": [)", "parse error at line 1, column 14"},
        {items.dump(), "objects[299].kind: A level holds at most 300 items, Lara's included"},
        {laras.dump(), "objects[4].kind: The project already has Lara's start (object 0)"},
    };
    for (const auto& [text, expected] : files) {
        SCOPED_TRACE(expected);
        WriteText(dir.Path("bad.json"), text);
        const CliResult result = RunTool({"objects", path, "--set", dir.Path("bad.json")});
        EXPECT_EQ(result.Code, CliFailed);
        EXPECT_THAT(result.Err, HasSubstr("\" refused: " + expected));
        ASSERT_TRUE(test::ReadFileBytes(path) == before);
    }

    WriteText(dir.Path("good.json"), valid.dump());
    ASSERT_EQ(RunTool({"objects", path, "--set", dir.Path("good.json")}).Code, CliDone);
    const Json printed = Json::parse(RunTool({"objects", path}).Out);
    EXPECT_EQ(printed["objects"][0]["intensity2"], 300);
    EXPECT_EQ(printed["objects"][2]["intensity2"], 4096) << "the second intensity is the first";
    EXPECT_EQ(printed["objects"][3]["colour"], "#FF8000");
    EXPECT_THAT(RunTool({"project-info", path}).Out,
                HasSubstr("\"objects\": {\n    \"items\": 1,\n    \"cameras\": 1,\n    "
                          "\"statics\": 1,\n    \"lights\": 1\n  },\n  \"triggers\": 0,\n  "
                          "\"alternate_rooms\": 0\n}"));
}

} // namespace
} // namespace morvane
