#include "app/cli.h"

#include "app/json_writer.h"
#include "build/build_pipeline.h"
#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/project_file.h"
#include "io/io_error.h"
#include "io/program_folder.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"

#include <functional>
#include <map>
#include <memory>

namespace morvane {

namespace {

constexpr const char* Usage =
    "usage: morvane3d-cli <command> ...\n"
    "  info LEVEL                                  print a JSON summary of a level file\n"
    "  rewrite IN OUT                              read a level and write it back\n"
    "  make-demo-level --layout tr1|tub|tr2|tr3 OUT  write a small generated base level\n"
    "  project-info PROJECT.mvn                    print a JSON summary of a project\n"
    "  make-demo-project OUT.mvn --base LEVEL [--out LEVEL]\n"
    "                                              write the demo project on a base level\n"
    "  build PROJECT.mvn [--base F] [--items F] [--meshes F] [--script F] [--out F]\n"
    "                                              build the project's level file\n";

struct UsageError {
    std::string text;
};

// Reads a level for a command; a refusal becomes an IoError with the message to print.
void ReadLevelOrFail(TLevelData& level, const std::string& path) {
    switch (ReadLevelFile(level, path)) {
    case LevelFileMissing:
        throw IoError("Level file \"" + path + "\" not found");
    case LevelVersionUnknown:
        throw IoError("Level file \"" + path + "\" is not a level of the supported games " +
                      "(unknown version code)");
    default:
        break;
    }
}

void PrintLevelInfo(const TLevelData& l, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Number("version", l.Version);
    json.Number("format_kind", l.FormatKind);
    json.Number("num_textiles", l.NumTextiles);
    json.Number("num_rooms", l.NumRooms);
    json.BeginArray("rooms");
    for (int r = 0; r < l.NumRooms; ++r) {
        const TLevelRoom& room = l.Rooms[r];
        json.BeginObject();
        json.Number("x", room.RoomInfo.X);
        json.Number("z", room.RoomInfo.Z);
        json.Number("y_bottom", room.RoomInfo.YBottom);
        json.Number("y_top", room.RoomInfo.YTop);
        json.Number("num_vertices", room.NumVertices);
        json.Number("num_rectangles", room.NumRectangles);
        json.Number("num_triangles", room.NumTriangles);
        json.Number("num_sprites", room.NumSprites);
        json.Number("num_portals", room.NumPortals);
        json.Number("num_z_sectors", room.NumZSectors);
        json.Number("num_x_sectors", room.NumXSectors);
        json.Number("num_lights", room.NumLights);
        json.Number("num_static_meshes", room.NumStaticMeshes);
        json.Number("alternate_room", room.AlternateRoom);
        json.Number("flags", room.RoomFlags);
        json.EndObject();
    }
    json.EndArray();
    json.Number("num_floor_data", l.NumFloorData);
    json.Number("num_mesh_data", l.NumMeshData);
    json.Number("num_mesh_pointers", l.NumMeshPointers);
    json.Number("num_animations", l.NumAnimations);
    json.Number("num_state_changes", l.NumStateChanges);
    json.Number("num_anim_dispatches", l.NumAnimDispatches);
    json.Number("num_anim_commands", l.NumAnimCommands);
    json.Number("num_mesh_links", l.NumMeshLinks);
    json.Number("num_frames", l.NumFrames);
    json.Number("num_moveables", l.NumMoveables);
    json.Number("num_static_meshes", l.NumStaticMeshes);
    json.Number("num_object_textures", l.NumObjectTextures);
    json.Number("num_sprite_textures", l.NumSpriteTextures);
    json.Number("num_sprite_sequences", l.NumSpriteSequences);
    json.Number("num_cameras", l.NumCameras);
    json.Number("num_sound_sources", l.NumSoundSources);
    json.Number("num_boxes", l.NumBoxes);
    json.Number("num_overlaps", l.NumOverlaps);
    json.Number("num_zones", l.NumZones);
    json.Number("num_animated_textures", l.NumAnimatedTextures);
    json.Number("num_items", l.NumItems);
    json.Number("num_cinematic_frames", l.NumCinematicFrames);
    json.Number("num_demo_data", l.NumDemoData);
    json.Number("num_sound_details", l.NumSoundDetails);
    json.Number("num_samples", l.NumSamples);
    json.Number("num_sample_indices", l.NumSampleIndices);
    json.EndObject();
    json.Finish();
}

int Info(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    if (args.size() != 1) {
        throw UsageError{"info takes one level file"};
    }
    auto level = std::make_unique<TLevelData>();
    ReadLevelOrFail(*level, args[0]);
    PrintLevelInfo(*level, out);
    return CliDone;
}

int Rewrite(const std::vector<std::string>& args, std::ostream&, std::ostream&) {
    if (args.size() != 2) {
        throw UsageError{"rewrite takes an input and an output level file"};
    }
    auto level = std::make_unique<TLevelData>();
    ReadLevelOrFail(*level, args[0]);
    WriteLevelFile(*level, args[1]);
    return CliDone;
}

bool NamesAddOnLayout(const std::string& path) {
    return FormatKindFor(VersionTR1, path) == FormatTUB;
}

int MakeDemo(const std::vector<std::string>& args, std::ostream&, std::ostream&) {
    static const std::map<std::string, int32_t> layouts = {
        {"tr1", FormatTR1}, {"tub", FormatTUB}, {"tr2", FormatTR2}, {"tr3", FormatTR3}};
    if (args.size() != 3 || args[0] != "--layout") {
        throw UsageError{"make-demo-level takes --layout tr1|tub|tr2|tr3 and an output file"};
    }
    auto layout = layouts.find(args[1]);
    if (layout == layouts.end()) {
        throw UsageError{"unknown layout \"" + args[1] + "\": use tr1, tub, tr2 or tr3"};
    }
    const std::string& path = args[2];
    // The first game and its add-on share a version code; the name tells them apart.
    if (layout->second == FormatTUB && !NamesAddOnLayout(path)) {
        throw UsageError{"a level in the tub layout must have \".tub\" or \".TUB\" in its name"};
    }
    if (layout->second == FormatTR1 && NamesAddOnLayout(path)) {
        throw UsageError{
            "a level in the tr1 layout must not have \".tub\" or \".TUB\" in its name"};
    }
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, layout->second);
    WriteLevelFile(*level, path);
    return CliDone;
}

void PrintProjectInfo(const TEditorProject& project, uint8_t version, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Number("version", version);
    json.String("level_description", project.LevelDescription.Str());
    json.String("comments", project.Comments.Str());
    json.String("base_level_file", project.BaseLevelFile.Str());
    json.String("items_table_file", project.ItemsTableFile.Str());
    json.String("meshes_file", project.MeshesFile.Str());
    json.String("script_file", project.ScriptFile.Str());
    json.String("output_level_file", project.OutputLevelFile.Str());
    json.Number("current_room", project.CurrentRoom);
    json.Number("room_count", project.RoomCount);
    json.BeginArray("rooms");
    for (int r = 1; r <= project.RoomCount; ++r) {
        const TEditorRoom& room = project.Room(r);
        json.BeginObject();
        json.String("name", room.Name.Str());
        json.Number("pos_x", room.PosX);
        json.Number("pos_y", room.PosY);
        json.Number("pos_z", room.PosZ);
        json.Number("height", room.Height);
        json.Number("z_sectors", room.ZSectors);
        json.Number("x_sectors", room.XSectors);
        json.Number("portal_view_count", room.PortalViewCount);
        json.Number("sector_light", room.SectorLight);
        json.Number("water", room.Water);
        json.Number("wind_rain", room.WindRain);
        json.Number("quicksand", room.Quicksand);
        json.Number("sky", room.Sky);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    json.Finish();
}

// Reads a project for a command; a refusal becomes an IoError with the message to print.
std::unique_ptr<TEditorProject> ReadProjectOrFail(const std::string& path, uint8_t& version) {
    auto project = std::make_unique<TEditorProject>();
    const ProjectReadOutcome read = ReadProjectFile(*project, path);
    if (read.Result != ProjectReadResult::Done) {
        throw IoError(ProjectReadMessage(read.Result, path));
    }
    version = read.Version;
    return project;
}

int MakeDemoProject(const std::vector<std::string>& args, std::ostream&, std::ostream&) {
    if (args.size() != 3 && args.size() != 5) {
        throw UsageError{"make-demo-project takes OUT.mvn --base LEVEL [--out LEVEL]"};
    }
    std::string base, output;
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--base") {
            base = args[i + 1];
        } else if (args[i] == "--out") {
            output = args[i + 1];
        } else {
            throw UsageError{"unknown option \"" + args[i] + "\""};
        }
    }
    if (base.empty()) {
        throw UsageError{"make-demo-project needs --base LEVEL"};
    }
    auto project = std::make_unique<TEditorProject>();
    demo::MakeDemoProject(*project, base, output);
    WriteProjectFile(*project, args[0]);
    return CliDone;
}

int ProjectInfo(const std::vector<std::string>& args, std::ostream& out, std::ostream&) {
    if (args.size() != 1) {
        throw UsageError{"project-info takes one project file"};
    }
    uint8_t version = 0;
    auto project = ReadProjectOrFail(args[0], version);
    PrintProjectInfo(*project, version, out);
    return CliDone;
}

int Build(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    if (args.empty() || args.size() % 2 == 0) {
        throw UsageError{"build takes a project file and options, each with a file"};
    }
    uint8_t version = 0;
    auto project = ReadProjectOrFail(args[0], version);
    const BuildSettings settings = BuildSettingsOf(*project);
    BuildNames names{settings.BaseLevelFile, settings.OutputLevelFile, settings.ItemsTableFile,
                     settings.MeshesFile, settings.ScriptFile};
    const std::map<std::string, std::string*> options = {{"--base", &names.BaseLevel},
                                                         {"--items", &names.ItemsTable},
                                                         {"--meshes", &names.MeshesFile},
                                                         {"--script", &names.ScriptFile},
                                                         {"--out", &names.OutputLevel}};
    for (std::size_t i = 1; i < args.size(); i += 2) {
        auto option = options.find(args[i]);
        if (option == options.end()) {
            throw UsageError{"unknown option \"" + args[i] + "\""};
        }
        *option->second = args[i + 1];
    }
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    const BuildResult result = BuildLevel(*project, *level, names, ProgramFolder(), script);
    for (const std::string& message : result.Messages) {
        err << message << '\n';
    }
    return result.Written ? CliDone : CliFailed;
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    using Command =
        std::function<int(const std::vector<std::string>&, std::ostream&, std::ostream&)>;
    static const std::map<std::string, Command> commands = {
        {"info", Info},
        {"rewrite", Rewrite},
        {"make-demo-level", MakeDemo},
        {"project-info", ProjectInfo},
        {"make-demo-project", MakeDemoProject},
        {"build", Build},
    };
    if (args.empty()) {
        err << Usage;
        return CliUsage;
    }
    auto command = commands.find(args[0]);
    if (command == commands.end()) {
        err << "unknown command \"" << args[0] << "\"\n" << Usage;
        return CliUsage;
    }
    try {
        return command->second({args.begin() + 1, args.end()}, out, err);
    } catch (const UsageError& e) {
        err << e.text << '\n' << Usage;
        return CliUsage;
    } catch (const IoError& e) {
        err << e.what() << '\n';
        return CliFailed;
    }
}

} // namespace morvane
