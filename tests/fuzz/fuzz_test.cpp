// Mutation test of every file the program reads: generated levels of the four layouts, projects
// (with and without objects), the JSON of the objects verb, trigger scripts, items tables and
// meshes files are damaged (bits flipped, bytes set, cut at field boundaries, number fields set
// to extremes; JSON fields of the wrong type or range, keys removed, objects repeated) and run
// through the command-line tool's own entry point (one case in sixteen) or the reader and build
// functions that it calls, with the level and project records kept from case to case (fresh records
// of tens of megabytes per case would make the sanitizer build spend its time in page faults).
// Whatever the input: no crash (the sanitizer build stops at any fault), exit code 0 or 1, on 1 a
// message naming the file, every level written reads back, and every level a build wrote passes the
// level check.
//
// Deterministic: case k of a kind always gets the same mutation for a given seed.
//   fuzz_tests [--cases N] [--seed S] [--case K] [--trace]
// --cases: cases over all kinds (default 3000); --case: run only case K of each kind;
// --trace: print each case before it runs (to find the input of a crash).

#include "fuzz/fuzz_inputs.h"
#include "fuzz/fuzz_mutations.h"

#include "app/cli.h"
#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/project_file.h"
#include "document/trigger_operations.h"
#include "io/io_error.h"
#include "io/program_folder.h"
#include "level/level_check.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "levelbuild/build_pipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

namespace morvane::fuzz {
namespace {

struct Options {
    uint64_t Cases = 3000;
    uint64_t Seed = 1;
    std::optional<uint64_t> OnlyCase;
    bool Trace = false;
} options;

struct Outcome {
    int Code;
    std::string Err;
    std::string Out = "";
};

Outcome RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, err.str(), out.str()};
}

const int32_t Layouts[4] = {FormatTR1, FormatTUB, FormatTR2, FormatTR3};
const char* const Extensions[4] = {".phd", ".tub", ".tr2", ".tr3"};

// The inputs the kinds start from, each made when a kind first needs it (every kind runs in a
// process of its own under CTest): a base level of each layout, which is also the level sample,
// the demo project and generated projects, and side files fitted to the demo project built on
// each base.
class Inputs {
public:
    test::TempDir Dir;
    std::string Bases[4];
    std::vector<Sample> Levels;
    std::string DemoProject;
    std::vector<Sample> Projects;
    std::vector<std::pair<int, Sample>> Scripts, ItemsTables, MeshesFiles; // layout, sample
    std::vector<std::pair<std::string, Sample>> ObjectsJson;               // project, sample

    Inputs& WithBases() {
        if (!Levels.empty()) {
            return *this;
        }
        for (int l = 0; l < 4; ++l) {
            Bases[l] = Dir.Path("base" + std::string(Extensions[l]));
            demo::MakeDemoLevel(*level_, Layouts[l], {.TextilePages = 3, .RoomCount = 1 + l % 2});
            WriteLevelFile(*level_, Bases[l]);
            Levels.push_back(
                LevelSample(*level_, Layouts[l], "level" + std::string(Extensions[l])));
        }
        return *this;
    }

    Inputs& WithProjects() {
        WithBases();
        if (!Projects.empty()) {
            return *this;
        }
        demo::MakeDemoProject(*project_, Bases[0], "");
        DemoProject = Dir.Path("demo.mvn");
        WriteProjectFile(*project_, DemoProject);
        Projects.push_back(ProjectSample(*project_, "demo project"));
        Random random(options.Seed);
        for (int p = 0; p < 7; ++p) {
            MakeRandomProject(*project_, random, Bases[0]);
            Projects.push_back(ProjectSample(*project_, "generated project " + std::to_string(p)));
        }
        Random withObjects(options.Seed + 2);
        for (int p = 0; p < 3; ++p) {
            MakeRandomProject(*project_, withObjects, Bases[0]);
            AddRandomObjects(*project_, withObjects);
            Projects.push_back(
                ProjectSample(*project_, "generated project with objects " + std::to_string(p)));
        }
        Random withAlternates(options.Seed + 3);
        for (int p = 0; p < 3; ++p) {
            MakeRandomProject(*project_, withAlternates, Bases[0]);
            AddRandomObjects(*project_, withAlternates);
            AddRandomAlternates(*project_, withAlternates);
            Projects.push_back(ProjectSample(*project_, "generated project with alternate rooms " +
                                                            std::to_string(p)));
        }
        return *this;
    }

    // A project with objects on a base level of each layout, and the JSON the objects verb
    // prints of it.
    Inputs& WithObjectsJson() {
        WithBases();
        if (!ObjectsJson.empty()) {
            return *this;
        }
        Random random(options.Seed + 3);
        for (int l = 0; l < 4; ++l) {
            MakeRandomProject(*project_, random, Bases[l]);
            AddRandomObjects(*project_, random);
            // Intensities the JSON takes, so that the sample itself is set.
            for (uint32_t i = 0; i < project_->Objects.Count; ++i) {
                TEditorObject& object = project_->Objects.Objects[i];
                const ObjectValueRange range = IntensityRange(object.KindOf());
                const auto values = static_cast<uint32_t>(range.Max - range.Min + 1);
                object.Intensity = static_cast<int32_t>(
                    range.Min + static_cast<uint32_t>(object.Intensity) % values);
                object.Intensity2 = static_cast<int32_t>(
                    range.Min + static_cast<uint32_t>(object.Intensity2) % values);
            }
            const std::string path = Dir.Path("objects" + std::to_string(l) + ".mvn");
            WriteProjectFile(*project_, path);
            const Outcome printed = RunTool({"objects", path});
            if (printed.Code != CliDone) {
                throw std::runtime_error("the objects of " + path + " are not printed");
            }
            if (RunTool({"objects", path, "--set", WriteJson(printed.Out), "--out", path}).Code !=
                CliDone) {
                throw std::runtime_error("the objects printed of " + path + " are not set again");
            }
            ObjectsJson.emplace_back(
                path, ObjectsJsonSample(printed.Out, "objects JSON" + std::string(Extensions[l])));
        }
        return *this;
    }

    Inputs& WithSideFiles() {
        WithProjects();
        if (!Scripts.empty()) {
            return *this;
        }
        ReadProjectFile(*project_, DemoProject);
        Random random(options.Seed + 1);
        for (int l = 0; l < 4; ++l) {
            TScriptState script;
            const BuildResult built =
                BuildLevel(*project_, *level_, {Bases[l], Dir.Path("fit"), "", "", ""},
                           ProgramFolder(), script);
            if (!built.Written) {
                throw std::runtime_error("the demo project does not build on " + Bases[l]);
            }
            for (int s = 0; s < 3; ++s) {
                const std::string n = std::to_string(s) + Extensions[l];
                Scripts.emplace_back(l, ScriptSample(*level_, random, "script " + n));
                ItemsTables.emplace_back(l, ItemsTableSample(*level_, random, "items table " + n));
                MeshesFiles.emplace_back(l, MeshesFileSample(*level_, random, "meshes file " + n));
            }
        }
        return *this;
    }

private:
    std::string WriteJson(const std::string& text) {
        const std::string path = Dir.Path("printed.json");
        test::WriteFileBytes(path, test::Bytes(text.begin(), text.end()));
        return path;
    }

    std::unique_ptr<TLevelData> level_ = std::make_unique<TLevelData>();
    std::unique_ptr<TEditorProject> project_ = std::make_unique<TEditorProject>();
};

Inputs& Shared() {
    static Inputs inputs;
    return inputs;
}

// What a run of cases of one kind saw.
struct Tally {
    const char* Kind;
    uint64_t Cases = 0, Accepted = 0, Refused = 0, LevelsWritten = 0;
    std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
    ~Tally() {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
        std::cout << "[ fuzz     ] " << Kind << ": " << Cases << " cases, " << Accepted
                  << " accepted, " << Refused << " refused, " << LevelsWritten
                  << " levels written and read back, " << seconds << " s\n";
    }
};

// The records the cases reuse.
struct Records {
    std::unique_ptr<TLevelData> Level = std::make_unique<TLevelData>();
    std::unique_ptr<TEditorProject> Project = std::make_unique<TEditorProject>();
    std::unique_ptr<TLevelData> ReadBack = std::make_unique<TLevelData>();
};

class FuzzKind {
public:
    FuzzKind(const char* kind, int kindNumber, double share)
        : tally_{kind}, kindNumber_(kindNumber),
          count_(std::max<uint64_t>(1, static_cast<uint64_t>(options.Cases * share))) {}

    // Runs `body(caseIndex, random)` for each case of this kind.
    template <class Body> void Run(Body body) {
        for (uint64_t c = 0; c < count_ && !::testing::Test::HasFatalFailure(); ++c) {
            if (options.OnlyCase && *options.OnlyCase != c) {
                continue;
            }
            Random random(options.Seed * 1000003u + kindNumber_ * 7919u + c);
            ++tally_.Cases;
            body(c, random);
            if (failures_ >= 10) {
                FAIL() << "stopped after 10 failing cases";
            }
        }
        if (!options.OnlyCase) {
            EXPECT_GT(tally_.Accepted, 0u) << "no damaged input was ever taken: a blind harness";
            EXPECT_GT(tally_.Refused, 0u) << "no damaged input was ever refused";
        }
    }

    void Trace(uint64_t c, const Sample& sample, const Mutant& mutant) const {
        if (options.Trace) {
            std::cerr << tally_.Kind << " case " << c << ": " << sample.Name << ": " << mutant.What
                      << std::endl;
        }
    }

    // Exit code 0 or 1, and a refusal names the file; `contentRefusal` also takes a build's own
    // refusal of a project it read (naming a room, a limit of the level or the project).
    bool Check(const Outcome& outcome, const std::string& file, const std::string& context,
               bool contentRefusal = false) {
        const bool named = outcome.Err.find("\"" + file + "\"") != std::string::npos ||
                           outcome.Err.find(" " + file + " ") != std::string::npos;
        const bool content = contentRefusal && (outcome.Err.find("oom ") != std::string::npos ||
                                                outcome.Err.find("The level needs") == 0 ||
                                                outcome.Err.find("The project") == 0);
        if (outcome.Code == CliDone) {
            ++tally_.Accepted;
            return true;
        }
        if (outcome.Code == CliFailed && !outcome.Err.empty() && (named || content)) {
            ++tally_.Refused;
            return false;
        }
        ++failures_;
        ADD_FAILURE() << context << "\nexit " << outcome.Code << ", stderr: " << outcome.Err;
        return false;
    }

    // A level that was written must read back; one that a build wrote must also pass the level
    // check (a rewritten level keeps the faults of its damaged input).
    void ExpectReadable(const std::string& path, const std::string& context, bool built = true) {
        try {
            if (ReadLevelFile(*records_.ReadBack, path).Done()) {
                ++tally_.LevelsWritten;
                const std::vector<LevelFinding> findings = CheckLevel(*records_.ReadBack);
                if (!built || !HasErrors(findings)) {
                    return;
                }
                std::string errors;
                for (const LevelFinding& finding : findings) {
                    errors += "\n" + FormatFinding(finding);
                }
                ADD_FAILURE() << context << "\nthe level written fails the level check:" << errors;
            } else {
                ADD_FAILURE() << context << "\nthe level written is not a level";
            }
        } catch (const std::exception& e) {
            ADD_FAILURE() << context << "\nthe level written does not read back: " << e.what();
        }
        ++failures_;
    }

    static std::string Context(uint64_t c, const Sample& sample, const Mutant& mutant) {
        return "case " + std::to_string(c) + " (seed " + std::to_string(options.Seed) +
               "): " + sample.Name + ": " + mutant.What;
    }

    // One case in 32 goes through the command-line tool itself (one more in 32 runs its summary
    // verb, info or project-info): the tool makes fresh records for each command.
    static bool ThroughTheTool(uint64_t c) { return c % 32 == 1; }
    static bool Summary(uint64_t c) { return c % 32 == 0; }

    // `rewrite IN OUT` on the kept level record, as the tool does it.
    Outcome Rewrite(const std::string& in, const std::string& out) {
        return Catching([&] {
            const ReadResult read = ReadLevelFile(*records_.Level, in);
            if (!read.Done()) {
                return Outcome{CliFailed, read.Text};
            }
            CheckLevel(*records_.Level); // whatever the level holds, the check runs through
            WriteLevelFile(*records_.Level, out);
            return Outcome{CliDone, ""};
        });
    }

    // `build` on the kept records: the project is read first unless `project` is empty (the
    // project read last stays); the base level is read again for every case.
    Outcome Build(const std::string& project, const BuildNames& names) {
        return Catching([&] {
            if (!project.empty()) {
                const ProjectReadOutcome read = ReadProjectFile(*records_.Project, project);
                if (read.Status != ReadStatus::Done) {
                    return Outcome{CliFailed, read.Text};
                }
                ExpectWholeLayer(project);
            }
            records_.Level->LastBaseLevelName.clear();
            TScriptState script;
            const BuildResult result =
                BuildLevel(*records_.Project, *records_.Level, names, ProgramFolder(), script);
            std::string messages;
            for (const std::string& message : result.Messages) {
                messages += message + "\n";
            }
            return Outcome{result.Written ? CliDone : CliFailed, messages};
        });
    }

    Records& Kept() { return records_; }

    // A project read is read whole: every object and trigger of its layers keeps to the layer's
    // fields, and its alternate rooms are consistent links between its rooms.
    void ExpectWholeLayer(const std::string& context) {
        const TEditorProject& project = *records_.Project;
        if (const std::string problem = FlipMapsProblem(project.FlipMaps, project.RoomCount);
            !problem.empty()) {
            ADD_FAILURE() << context << "\nalternate rooms read inconsistent: " << problem;
            ++failures_;
            return;
        }
        if (project.Objects.Count > static_cast<uint32_t>(MaxObjects)) {
            ADD_FAILURE() << context << "\nthe layer holds " << project.Objects.Count << " objects";
            ++failures_;
            return;
        }
        for (uint32_t i = 0; i < project.Objects.Count; ++i) {
            if (const auto problem = CheckObjectFields(project, project.Objects.Objects[i])) {
                ADD_FAILURE() << context << "\nobject " << i << " read with a bad "
                              << problem->Field << ": " << problem->Text;
                ++failures_;
                return;
            }
        }
        if (project.Triggers.Count > static_cast<uint32_t>(MaxTriggers)) {
            ADD_FAILURE() << context << "\nthe layer holds " << project.Triggers.Count
                          << " triggers";
            ++failures_;
            return;
        }
        for (uint32_t i = 0; i < project.Triggers.Count; ++i) {
            const TEditorTrigger& trigger = project.Triggers.Triggers[i];
            if (const auto problem = CheckTriggerFields(project, trigger, FormatNone)) {
                ADD_FAILURE() << context << "\ntrigger " << i << " read with a bad "
                              << problem->Field << ": " << problem->Text;
                ++failures_;
                return;
            }
        }
    }

    // The project the objects verb wrote reads back whole, and its objects print.
    void ExpectProjectReadable(const std::string& path, const std::string& context) {
        try {
            if (ReadProjectFile(*records_.Project, path).Done() &&
                RunTool({"objects", path}).Code == CliDone) {
                ExpectWholeLayer(context);
                return;
            }
            ADD_FAILURE() << context
                          << "\nthe project written is refused or its objects not printed";
        } catch (const std::exception& e) {
            ADD_FAILURE() << context << "\nthe project written does not read back: " << e.what();
        }
        ++failures_;
    }

private:
    template <class F> static Outcome Catching(F run) {
        try {
            return run();
        } catch (const IoError& e) {
            return {CliFailed, e.what()};
        }
    }

    Tally tally_;
    uint64_t kindNumber_;
    uint64_t count_;
    int failures_ = 0;
    Records records_;
};

TEST(Fuzz, Levels) {
    Inputs& in = Shared().WithBases();
    FuzzKind kind("levels", 1, 0.2);
    kind.Run([&](uint64_t c, Random& random) {
        const std::size_t s = c % in.Levels.size();
        const Sample& sample = in.Levels[s];
        const Mutant mutant = Mutate(sample, random, c / in.Levels.size());
        kind.Trace(c, sample, mutant);
        const std::string path = in.Dir.Path("case" + std::string(Extensions[s]));
        const std::string out = in.Dir.Path("out" + std::string(Extensions[s]));
        test::WriteFileBytes(path, mutant.File);
        const std::string context = FuzzKind::Context(c, sample, mutant);
        if (FuzzKind::Summary(c)) {
            kind.Check(RunTool({"info", path}), path, context + " (info)");
            return;
        }
        if (c % 32 == 2) {
            // check: exit 1 also when it found errors, which it prints on stdout.
            Outcome checked = RunTool({"check", path});
            if (checked.Code == CliFailed && checked.Err.empty() &&
                checked.Out.find("error: ") != std::string::npos) {
                checked = {CliDone, ""};
            }
            kind.Check(checked, path, context + " (check)");
            return;
        }
        const Outcome outcome =
            FuzzKind::ThroughTheTool(c) ? RunTool({"rewrite", path, out}) : kind.Rewrite(path, out);
        if (kind.Check(outcome, path, context + " (rewrite)")) {
            kind.ExpectReadable(out, context, false);
        }
    });
}

// The demo project built on a damaged base level: the build keeps most of the base level, and
// every refusal must name it.
TEST(Fuzz, BaseLevels) {
    Inputs& in = Shared().WithProjects();
    FuzzKind kind("base levels", 6, 0.1);
    ASSERT_EQ(ReadProjectFile(*kind.Kept().Project, in.DemoProject).Status, ReadStatus::Done);
    kind.Run([&](uint64_t c, Random& random) {
        const std::size_t s = c % in.Levels.size();
        const Sample& sample = in.Levels[s];
        const Mutant mutant = Mutate(sample, random, c / in.Levels.size());
        kind.Trace(c, sample, mutant);
        const std::string path = in.Dir.Path("case" + std::string(Extensions[s]));
        const std::string out = in.Dir.Path("on-base" + std::string(Extensions[s]));
        test::WriteFileBytes(path, mutant.File);
        const std::string context = FuzzKind::Context(c, sample, mutant);
        const Outcome built = FuzzKind::ThroughTheTool(c)
                                  ? RunTool({"build", in.DemoProject, "--base", path, "--out", out})
                                  : kind.Build("", {path, out, "", "", ""});
        if (kind.Check(built, path, context)) {
            kind.ExpectReadable(out, context);
        }
    });
}

TEST(Fuzz, Projects) {
    Inputs& in = Shared().WithProjects();
    FuzzKind kind("projects", 2, 0.25);
    kind.Run([&](uint64_t c, Random& random) {
        const Sample& sample = in.Projects[c % in.Projects.size()];
        const Mutant mutant = Mutate(sample, random, c / in.Projects.size());
        kind.Trace(c, sample, mutant);
        const std::string path = in.Dir.Path("case.mvn");
        test::WriteFileBytes(path, mutant.File);
        const std::string context = FuzzKind::Context(c, sample, mutant);
        if (FuzzKind::Summary(c)) {
            kind.Check(RunTool({"project-info", path}), path, context + " (project-info)");
            return;
        }
        const int layout = static_cast<int>(random() % 4);
        const std::string out = in.Dir.Path("built" + std::string(Extensions[layout]));
        const Outcome built = FuzzKind::ThroughTheTool(c)
                                  ? RunTool({"build", path, "--base", in.Bases[layout], "--out",
                                             out, "--items", "", "--meshes", "", "--script", ""})
                                  : kind.Build(path, {in.Bases[layout], out, "", "", ""});
        if (kind.Check(built, path, context + " (build)", true)) {
            kind.ExpectReadable(out, context);
        }
    });
}

// The JSON of the objects verb, damaged as text or as JSON, set on the project it was printed
// from: it is refused naming the JSON file with no project written, or the project written reads
// back whole.
TEST(Fuzz, ObjectsJson) {
    Inputs& in = Shared().WithObjectsJson();
    FuzzKind kind("objects JSON", 7, 0.1);
    kind.Run([&](uint64_t c, Random& random) {
        const auto& [project, sample] = in.ObjectsJson[c % in.ObjectsJson.size()];
        const Mutant mutant = c % 3 == 0 ? Mutate(sample, random, c / in.ObjectsJson.size())
                                         : MutateObjectsJson(sample, random);
        kind.Trace(c, sample, mutant);
        const std::string path = in.Dir.Path("case.json");
        const std::string out = in.Dir.Path("objects-set.mvn");
        test::WriteFileBytes(path, mutant.File);
        std::filesystem::remove(out);
        const std::string context = FuzzKind::Context(c, sample, mutant);
        if (kind.Check(RunTool({"objects", project, "--set", path, "--out", out}), path, context)) {
            kind.ExpectProjectReadable(out, context);
        } else if (std::filesystem::exists(out)) {
            ADD_FAILURE() << context << "\na refused JSON wrote the project";
        }
    });
}

// The demo project built with a damaged side file: the project builds without it, so every
// refusal must come from the side file and name it.
void SideFileCases(const char* name, int number, double share, const char* option,
                   const char* extension,
                   std::vector<std::pair<int, Sample>> Inputs::*samplesOfKind) {
    Inputs& in = Shared().WithSideFiles();
    const std::vector<std::pair<int, Sample>>& samples = in.*samplesOfKind;
    FuzzKind kind(name, number, share);
    ASSERT_EQ(ReadProjectFile(*kind.Kept().Project, in.DemoProject).Status, ReadStatus::Done);
    kind.Run([&](uint64_t c, Random& random) {
        const auto& [layout, sample] = samples[c % samples.size()];
        const Mutant mutant = Mutate(sample, random, c / samples.size());
        kind.Trace(c, sample, mutant);
        const std::string path = in.Dir.Path(std::string("case") + extension);
        const std::string out = in.Dir.Path("side" + std::string(Extensions[layout]));
        test::WriteFileBytes(path, mutant.File);
        const std::string context = FuzzKind::Context(c, sample, mutant);
        BuildNames names{in.Bases[layout], out, "", "", ""};
        const std::string opt = option;
        (opt == "--items"    ? names.ItemsTable
         : opt == "--meshes" ? names.MeshesFile
                             : names.ScriptFile) = path;
        const Outcome built = FuzzKind::ThroughTheTool(c)
                                  ? RunTool({"build", in.DemoProject, "--base", in.Bases[layout],
                                             "--out", out, option, path})
                                  : kind.Build("", names);
        if (kind.Check(built, path, context)) {
            kind.ExpectReadable(out, context);
        }
    });
}

TEST(Fuzz, Scripts) {
    SideFileCases("scripts", 3, 0.2, "--script", ".scp", &Inputs::Scripts);
}

TEST(Fuzz, ItemsTables) {
    SideFileCases("items tables", 4, 0.125, "--items", ".itm", &Inputs::ItemsTables);
}

TEST(Fuzz, MeshesFiles) {
    SideFileCases("meshes files", 5, 0.125, "--meshes", ".msh", &Inputs::MeshesFiles);
}

} // namespace
} // namespace morvane::fuzz

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    using morvane::fuzz::options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--cases" && hasValue) {
            options.Cases = std::stoull(argv[++i]);
        } else if (arg == "--seed" && hasValue) {
            options.Seed = std::stoull(argv[++i]);
        } else if (arg == "--case" && hasValue) {
            options.OnlyCase = std::stoull(argv[++i]);
        } else if (arg == "--trace") {
            options.Trace = true;
        } else {
            std::cerr << "usage: fuzz_tests [--cases N] [--seed S] [--case K] [--trace]\n";
            return 2;
        }
    }
    return RUN_ALL_TESTS();
}
