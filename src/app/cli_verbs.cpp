#include "app/cli_verbs.h"

#include "app/cli.h"
#include "app/cli_json.h"
#include "app/cli_objects.h"
#include "app/cli_triggers.h"
#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/doorways.h"
#include "document/object_operations.h"
#include "document/project_file.h"
#include "document/trigger_operations.h"
#include "import/level_import.h"
#include "io/binary_reader.h"
#include "io/io_error.h"
#include "io/play_command.h"
#include "io/program_folder.h"
#include "level/level_check.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "levelbuild/build_pipeline.h"

#include <CLI/CLI.hpp>

#include <map>
#include <memory>

namespace morvane {

namespace {

// Reads a level for a verb; a refusal becomes an IoError with the message to print.
std::unique_ptr<TLevelData> ReadLevelOrFail(const std::string& path) {
    auto level = std::make_unique<TLevelData>();
    const ReadResult read = ReadLevelFile(*level, path);
    if (!read.Done()) {
        throw IoError(read.Text);
    }
    return level;
}

// The outcome of a read that was done; an old or foreign file throws its message, naming it.
ProjectReadOutcome FailUnlessRead(const ProjectReadOutcome& read) {
    if (!read.Done()) {
        throw IoError(read.Text);
    }
    return read;
}

// Reads a project for a verb; a refusal becomes an IoError with the message to print.
std::unique_ptr<TEditorProject> ReadProjectOrFail(const std::string& path, uint8_t& version) {
    auto project = std::make_unique<TEditorProject>();
    version = FailUnlessRead(ReadProjectFile(*project, path)).Version;
    return project;
}

void RequiredFile(CLI::App& verb, const char* name, std::string& file, const char* what) {
    verb.add_option(name, file, what)->required()->type_name("");
}

// An option whose file, when given, replaces the one the verb would take otherwise.
void OptionalFile(CLI::App& verb, const char* name, std::optional<std::string>& file,
                  const char* what) {
    verb.add_option_function<std::string>(
            name, [&file](const std::string& value) { file = value; }, what)
        ->type_name("F");
}

// How messages name the JSON files of the objects and triggers verbs, and the size they may have.
constexpr const char* ObjectsFileKind = "Objects file";
constexpr const char* TriggersFileKind = "Triggers file";
constexpr uint64_t MaxObjectsFileBytes = 32u << 20;

std::string ReadTextFile(const std::string& path, uint64_t maxBytes) {
    BinaryReader in = BinaryReader::OpenFile(path, maxBytes);
    std::string text(static_cast<std::size_t>(in.Size()), '\0');
    in.ReadBytes(text.data(), text.size());
    return text;
}

// The JSON of a file a verb reads; a file that cannot be read or parsed throws what `refused`
// makes of the problem.
template <class Refused> Json ReadJsonFile(const std::string& path, Refused refused) {
    try {
        return Json::parse(ReadTextFile(path, MaxObjectsFileBytes));
    } catch (const Json::exception& e) {
        // The library's own words, without its code in brackets.
        const std::string text = e.what();
        throw refused(text.substr(text.find(']') == std::string::npos ? 0 : text.find(']') + 2));
    } catch (const IoError& e) {
        throw refused(e.what());
    }
}

bool NamesAddOnLayout(const std::string& path) {
    return FormatKindFor(VersionTR1, path) == FormatTUB;
}

} // namespace

void InfoVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "LEVEL", Level, "the level file");
}

int InfoVerb::Run(const CliStreams& io) const {
    PrintJson(LevelSummary(*ReadLevelOrFail(Level)), io.Out);
    return CliDone;
}

void RewriteVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "IN", Input, "the level file to read");
    RequiredFile(verb, "OUT", Output, "the level file to write");
}

int RewriteVerb::Run(const CliStreams&) const {
    WriteLevelFile(*ReadLevelOrFail(Input), Output);
    return CliDone;
}

void MakeDemoLevelVerb::Declare(CLI::App& verb) {
    verb.add_option("--layout", Layout, "the layout of the level")
        ->required()
        ->type_name("tr1|tub|tr2|tr3");
    RequiredFile(verb, "OUT", Output, "the level file to write");
}

int MakeDemoLevelVerb::Run(const CliStreams&) const {
    static const std::map<std::string, int32_t> layouts = {
        {"tr1", FormatTR1}, {"tub", FormatTUB}, {"tr2", FormatTR2}, {"tr3", FormatTR3}};
    auto layout = layouts.find(Layout);
    if (layout == layouts.end()) {
        throw CliUsageError{"unknown layout \"" + Layout + "\": use tr1, tub, tr2 or tr3"};
    }
    // The first game and its add-on share a version code; the name tells them apart.
    if (layout->second == FormatTUB && !NamesAddOnLayout(Output)) {
        throw CliUsageError{"a level in the tub layout must have \".tub\" or \".TUB\" in its name"};
    }
    if (layout->second == FormatTR1 && NamesAddOnLayout(Output)) {
        throw CliUsageError{
            "a level in the tr1 layout must not have \".tub\" or \".TUB\" in its name"};
    }
    auto level = std::make_unique<TLevelData>();
    demo::MakeDemoLevel(*level, layout->second);
    WriteLevelFile(*level, Output);
    return CliDone;
}

void ProjectInfoVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "PROJECT.mvn", Project, "the project file");
}

int ProjectInfoVerb::Run(const CliStreams& io) const {
    // The summary needs no sector: the outline is read with the same checks, without them.
    ProjectOutline outline;
    FailUnlessRead(ReadProjectOutlineFile(outline, Project));
    PrintJson(ProjectSummary(outline), io.Out);
    return CliDone;
}

void ObjectsVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "PROJECT.mvn", Project, "the project file");
    OptionalFile(verb, "--set", ObjectsFile,
                 "a JSON file of objects that replace the project's (nothing is written on any "
                 "problem)");
    OptionalFile(verb, "--out", OutputProject,
                 "the project file written with --set (the project itself when not given)");
}

int ObjectsVerb::Run(const CliStreams& io) const {
    if (OutputProject && !ObjectsFile) {
        throw CliUsageError{"--out is written only with --set"};
    }
    uint8_t version = 0;
    auto project = ReadProjectOrFail(Project, version);
    // The base level's layout decides which fields the objects have; without it, the first
    // game's.
    const int32_t layout = PeekLevelFormatKind(project->Settings.BaseLevelFile.Str());
    if (!ObjectsFile) {
        PrintJson(ObjectsSummary(*project, layout), io.Out);
        return CliDone;
    }
    const auto refused = [&](const std::string& text) {
        return FileError(ObjectsFileKind, *ObjectsFile, RefusedOutcome, text);
    };
    const Json value = ReadJsonFile(*ObjectsFile, refused);
    std::vector<TEditorObject> objects;
    std::string problem = ObjectsOfJson(value, *project, layout, objects);
    if (problem.empty()) {
        problem = ReplaceObjectLayer(*project, objects);
    }
    if (!problem.empty()) {
        throw refused(problem + ".");
    }
    const std::string out = OutputProject.value_or(Project);
    WriteProjectFile(*project, out);
    const uint32_t count = project->Objects.Count;
    io.Err << count << (count == 1 ? " object" : " objects") << " written to " << out << '\n';
    return CliDone;
}

void TriggersVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "PROJECT.mvn", Project, "the project file");
    OptionalFile(verb, "--set", TriggersFile,
                 "a JSON file of triggers that replace the project's (nothing is written on any "
                 "problem)");
    OptionalFile(verb, "--out", OutputProject,
                 "the project file written with --set (the project itself when not given)");
}

int TriggersVerb::Run(const CliStreams& io) const {
    if (OutputProject && !TriggersFile) {
        throw CliUsageError{"--out is written only with --set"};
    }
    uint8_t version = 0;
    auto project = ReadProjectOrFail(Project, version);
    if (!TriggersFile) {
        PrintJson(TriggersSummary(*project), io.Out);
        return CliDone;
    }
    const auto refused = [&](const std::string& text) {
        return FileError(TriggersFileKind, *TriggersFile, RefusedOutcome, text);
    };
    const Json value = ReadJsonFile(*TriggersFile, refused);
    // The base level's layout decides which kinds and actions there are; without it, all that
    // the third game has.
    const int32_t layout = PeekLevelFormatKind(project->Settings.BaseLevelFile.Str());
    std::vector<TEditorTrigger> triggers;
    std::string problem = TriggersOfJson(value, *project, layout, triggers);
    if (problem.empty()) {
        problem = ReplaceTriggerLayer(*project, triggers, layout);
    }
    if (!problem.empty()) {
        throw refused(problem + ".");
    }
    const std::string out = OutputProject.value_or(Project);
    WriteProjectFile(*project, out);
    const uint32_t count = project->Triggers.Count;
    io.Err << count << (count == 1 ? " trigger" : " triggers") << " written to " << out << '\n';
    return CliDone;
}

void MakeDemoProjectVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "OUT.mvn", Project, "the project file to write");
    verb.add_option("--base", BaseLevel, "the base level the project is built on")
        ->required()
        ->type_name("LEVEL");
    verb.add_option("--out", OutputLevel, "the level file the project builds")->type_name("LEVEL");
}

int MakeDemoProjectVerb::Run(const CliStreams&) const {
    auto project = std::make_unique<TEditorProject>();
    demo::MakeDemoProject(*project, BaseLevel, OutputLevel);
    WriteProjectFile(*project, Project);
    return CliDone;
}

void BuildVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "PROJECT.mvn", Project, "the project file");
    OptionalFile(verb, "--base", BaseLevel, "the base level");
    OptionalFile(verb, "--items", ItemsTable, "the items table");
    OptionalFile(verb, "--meshes", MeshesFile, "the room meshes file");
    OptionalFile(verb, "--script", ScriptFile, "the trigger script");
    OptionalFile(verb, "--out", OutputLevel, "the level file to write");
    verb.add_flag("--auto-portals", AutoPortals,
                  "make every room's portal views from its doorways before building");
    verb.add_option("--play", Play,
                    "start this program line on the written level, without waiting for it "
                    "(\"{level}\" stands for the level's path, else it comes last)")
        ->type_name("COMMAND");
    verb.add_flag("--strict", Strict,
                  "exit 1 when the build shows any error message, also when the level was written");
}

int BuildVerb::Run(const CliStreams& io) const {
    uint8_t version = 0;
    auto project = ReadProjectOrFail(Project, version);
    const BuildSettings settings = BuildSettingsOf(*project);
    const BuildNames names{
        BaseLevel.value_or(settings.BaseLevelFile), OutputLevel.value_or(settings.OutputLevelFile),
        ItemsTable.value_or(settings.ItemsTableFile), MeshesFile.value_or(settings.MeshesFile),
        ScriptFile.value_or(settings.ScriptFile)};
    if (AutoPortals) {
        const DocumentOutcome made = MakePortalViews(*project, PortalViewScope::AllRooms);
        if (made.Refused) {
            io.Err << made.Message << '\n';
            return CliFailed;
        }
    }
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    const BuildResult result = BuildLevel(*project, *level, names, ProgramFolder(), script);
    for (const std::string& message : result.Messages) {
        io.Err << message << '\n';
    }
    for (const LevelFinding& warning : result.Warnings) {
        io.Err << FormatFinding(warning) << '\n';
    }
    if (result.Written) {
        io.Err << result.Report << '\n';
        if (Play) {
            const std::vector<std::string> words = PlayCommandWords(*Play, names.OutputLevel);
            StartProgram(words); // a program that cannot start is an IoError: exit 1, named
            io.Err << "Playing the level: " << words[0] << '\n';
        }
    }
    // A build that is written shows no error message unless something went wrong on the way (a
    // side file not found or not merged, an error in the script); warnings do not count.
    const bool clean = result.Messages.empty();
    return result.Written && (clean || !Strict) ? CliDone : CliFailed;
}

void CheckVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "LEVEL", Level, "the level file");
    verb.add_flag("--json", AsJson, "print the findings as a JSON array");
}

int CheckVerb::Run(const CliStreams& io) const {
    const std::vector<LevelFinding> findings = CheckLevel(*ReadLevelOrFail(Level));
    if (AsJson) {
        PrintJson(FindingsSummary(findings), io.Out);
    } else {
        for (const LevelFinding& finding : findings) {
            io.Out << FormatFinding(finding) << '\n';
        }
    }
    return HasErrors(findings) ? CliFailed : CliDone;
}

void ImportVerb::Declare(CLI::App& verb) {
    RequiredFile(verb, "LEVEL", Level, "the level file whose rooms are imported");
    RequiredFile(verb, "OUT.mvn", Project, "the project file to write");
}

// What did not come over is said on stderr, one a line, then the summary; nothing is written
// when the file is refused or no room came over.
int ImportVerb::Run(const CliStreams& io) const {
    auto level = std::make_unique<TLevelData>();
    auto project = std::make_unique<TEditorProject>();
    const LevelFileImport imported = ImportLevelFile(Level, *level, *project);
    if (!imported.Refusal.empty()) {
        io.Err << imported.Refusal << '\n';
        return CliFailed;
    }
    for (const std::string& message : imported.Result.Messages) {
        io.Err << message << '\n';
    }
    io.Err << ImportSummary(imported.Result.Counts) << '\n';
    if (!imported.Imported()) {
        io.Err << "No room of the level could be imported; no project was written.\n";
        return CliFailed;
    }
    WriteProjectFile(*project, Project);
    return CliDone;
}

} // namespace morvane
