#include "support/test_files.h"

#include "app/cli.h"
#include "app/cli_json.h"
#include "demo/demo_level.h"
#include "level/level_format.h"
#include "level/level_reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace morvane {
namespace {

std::string Printed(const Json& value) {
    std::ostringstream out;
    PrintJson(value, out);
    return out.str();
}

std::vector<std::string> KeysOf(const Json& object) {
    std::vector<std::string> keys;
    for (const auto& [key, value] : object.items()) {
        keys.push_back(key);
    }
    return keys;
}

// Scripts read the tool's output as text: the layout (two blanks a level, one member a line),
// the order of the keys and the escapes of stored texts are kept exactly.
TEST(CliJson, ProjectSummaryIsPrintedInItsFixedLayout) {
    auto project = std::make_unique<TEditorProject>();
    project->Settings.LevelDescription.Assign("Caf\xe9 \"noir\"");
    project->Settings.Comments.Assign("tab\there\nline\x01\x7f back\\slash");
    project->Settings.BaseLevelFile.Assign("C:\\LEVELS\\BASE.PHD");
    project->CurrentRoom = 1;
    project->RoomCount = 1;
    TEditorRoom& room = project->Room(1);
    room.Name.Assign("\xc0 la \xfe");
    room.PosX = -3;
    room.PosZ = 70000;
    room.PosY = 255;
    room.Height = 4;
    room.ZSectors = 2;
    room.XSectors = 31;
    room.PortalViewCount = 20;
    room.SectorLight = 12;
    room.Water = 1;
    room.Sky = 1;

    EXPECT_EQ(Printed(ProjectSummary(OutlineOf(*project, 5))), R"({
  "version": 5,
  "level_description": "Caf\u00e9 \"noir\"",
  "comments": "tab\there\nline\u0001\u007f back\\slash",
  "base_level_file": "C:\\LEVELS\\BASE.PHD",
  "items_table_file": "",
  "meshes_file": "",
  "script_file": "",
  "output_level_file": "",
  "current_room": 1,
  "room_count": 1,
  "rooms": [
    {
      "name": "\u00c0 la \u00fe",
      "pos_x": -3,
      "pos_y": 255,
      "pos_z": 70000,
      "height": 4,
      "z_sectors": 2,
      "x_sectors": 31,
      "portal_view_count": 20,
      "sector_light": 12,
      "water": 1,
      "wind_rain": 0,
      "quicksand": 0,
      "sky": 1
    }
  ],
  "objects": {
    "items": 0,
    "cameras": 0,
    "statics": 0,
    "lights": 0
  },
  "triggers": 0,
  "alternate_rooms": 0
}
)");

    project->RoomCount = 0;
    EXPECT_NE(Printed(ProjectSummary(OutlineOf(*project, 4)))
                  .find("\"room_count\": 0,\n  \"rooms\": [],\n  \"objects\": {"),
              std::string::npos)
        << "a project without rooms prints an empty list";
}

TEST(CliJson, EveryLatin1ByteIsOneEscapedCharacter) {
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        char hex[8];
        std::snprintf(hex, sizeof(hex), "%04x", byte);
        const Json text = Latin1Text(std::string(1, static_cast<char>(byte)));
        ASSERT_EQ(text.dump(-1, ' ', true), std::string("\"\\u") + hex + "\"") << byte;
    }
    EXPECT_EQ(Latin1Text("plain ASCII ~").get<std::string>(), "plain ASCII ~");
}

TEST(CliJson, FindingsNameTheirPlaceInAFixedOrder) {
    LevelFinding sector;
    sector.Severity = FindingSeverity::Error;
    sector.Room = 3;
    sector.RoomName = "Sal\xF3n";
    sector.Column = 4;
    sector.Row = 5;
    sector.Text = "what is wrong";
    LevelFinding view;
    view.Room = 2;
    view.View = 7;
    view.Text = "x";
    LevelFinding box;
    box.Box = 12;
    box.Text = "y";
    const Json findings = FindingsSummary({sector, view, box});
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(KeysOf(findings[0]),
              (std::vector<std::string>{"severity", "room", "room_name", "column", "row", "text"}));
    EXPECT_EQ(KeysOf(findings[1]), (std::vector<std::string>{"severity", "room", "view", "text"}));
    EXPECT_EQ(KeysOf(findings[2]), (std::vector<std::string>{"severity", "box", "text"}));
    EXPECT_EQ(Printed(findings[0]), "{\n  \"severity\": \"error\",\n  \"room\": 3,\n  "
                                    "\"room_name\": \"Sal\\u00f3n\",\n  \"column\": 4,\n  "
                                    "\"row\": 5,\n  \"text\": \"what is wrong\"\n}\n");
    EXPECT_EQ(findings[1]["severity"], "warning");
    EXPECT_EQ(Printed(FindingsSummary({})), "[]\n");
}

TEST(CliJson, LevelSummaryHasEveryCountInOrderAsNumbers) {
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, FormatTR2);
    const Json summary = LevelSummary(*level);
    EXPECT_EQ(KeysOf(summary), (std::vector<std::string>{"version",
                                                         "format_kind",
                                                         "num_textiles",
                                                         "num_rooms",
                                                         "rooms",
                                                         "num_floor_data",
                                                         "num_mesh_data",
                                                         "num_mesh_pointers",
                                                         "num_animations",
                                                         "num_state_changes",
                                                         "num_anim_dispatches",
                                                         "num_anim_commands",
                                                         "num_mesh_links",
                                                         "num_frames",
                                                         "num_moveables",
                                                         "num_static_meshes",
                                                         "num_object_textures",
                                                         "num_sprite_textures",
                                                         "num_sprite_sequences",
                                                         "num_cameras",
                                                         "num_sound_sources",
                                                         "num_boxes",
                                                         "num_overlaps",
                                                         "num_zones",
                                                         "num_animated_textures",
                                                         "num_items",
                                                         "num_cinematic_frames",
                                                         "num_demo_data",
                                                         "num_sound_details",
                                                         "num_samples",
                                                         "num_sample_indices"}));
    ASSERT_EQ(summary["rooms"].size(), level->NumRooms);
    EXPECT_EQ(KeysOf(summary["rooms"][0]),
              (std::vector<std::string>{
                  "x", "z", "y_bottom", "y_top", "num_vertices", "num_rectangles", "num_triangles",
                  "num_sprites", "num_portals", "num_z_sectors", "num_x_sectors", "num_lights",
                  "num_static_meshes", "alternate_room", "flags"}));
    for (const auto& [key, value] : summary.items()) {
        if (key != "rooms") {
            EXPECT_TRUE(value.is_number_integer()) << key;
        }
    }
    for (const auto& [key, value] : summary["rooms"][0].items()) {
        EXPECT_TRUE(value.is_number_integer()) << key;
    }
    EXPECT_EQ(summary["version"], VersionTR2);
    EXPECT_EQ(summary["num_items"], level->NumItems);
    EXPECT_EQ(summary["rooms"][0]["y_bottom"], level->Rooms[0].RoomInfo.YBottom + 0);
}

// The output of info on the real levels is valid JSON in the printed layout, with the counts
// of the record.
TEST(CliJson, InfoOnTheRealLevels) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    auto level = std::make_unique<TLevelData>();
    for (const char* name :
         {"tr1-demo-level2.tub", "tr1-opentomb-altroom1.phd", "tr2-hiltop.tr2"}) {
        const std::string path = dir + "/" + name;
        std::ostringstream out, err;
        ASSERT_EQ(RunCli({"info", path}, out, err), CliDone) << name << ": " << err.str();
        const Json parsed = Json::parse(out.str());
        EXPECT_EQ(Printed(parsed), out.str()) << name;
        ASSERT_EQ(ReadLevelFile(*level, path).Status, ReadStatus::Done) << name;
        EXPECT_EQ(parsed["num_rooms"], level->NumRooms) << name;
        EXPECT_EQ(parsed["rooms"].size(), level->NumRooms) << name;
        EXPECT_EQ(parsed["num_boxes"], level->NumBoxes) << name;
        EXPECT_EQ(parsed["num_sample_indices"], level->NumSampleIndices) << name;
        const int last = level->NumRooms - 1;
        EXPECT_EQ(parsed["rooms"][last]["x"], level->Rooms[last].RoomInfo.X + 0) << name;
        EXPECT_EQ(parsed["rooms"][last]["flags"], level->Rooms[last].RoomFlags) << name;
    }
}

} // namespace
} // namespace morvane
