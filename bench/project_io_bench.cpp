// Saving and opening a full project against a plain copy of the same file, and the CLI's
// project-info of it as a whole process against cp:
//   out/bin/project_io_bench
// The project has 128 rooms of 31 x 31 sectors with 20 portal views each (about 14 MB). The
// ratios to the copies are printed after the table.
#include "full_project.h"

#include "document/project_file.h"
#include "io/program_folder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using namespace morvane;

struct FullProject {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "morvane-project-bench";
    std::string path = (folder / "full.mvn").string();
    uint64_t bytes = 0;

    FullProject() {
        std::filesystem::create_directories(folder);
        auto project = std::make_unique<TEditorProject>();
        bench::MakeFullProject(*project);
        WriteProjectFile(*project, path);
        bytes = std::filesystem::file_size(path);
    }
    ~FullProject() { std::filesystem::remove_all(folder); }
    std::string Scratch(const char* name) const { return (folder / name).string(); }
};

const FullProject& Full() {
    static FullProject full;
    return full;
}

void CountBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Full().bytes));
    state.counters["file_MB"] = double(Full().bytes) / (1 << 20);
}

void BM_OpenProject(benchmark::State& state) {
    auto project = std::make_unique<TEditorProject>();
    for (auto _ : state) {
        ReadProjectFile(*project, Full().path);
    }
    CountBytes(state);
}

void BM_SaveProject(benchmark::State& state) {
    auto project = std::make_unique<TEditorProject>();
    ReadProjectFile(*project, Full().path);
    const std::string out = Full().Scratch("saved.mvn");
    for (auto _ : state) {
        WriteProjectFile(*project, out);
    }
    CountBytes(state);
}

void BM_SaveAndOpenProject(benchmark::State& state) {
    auto project = std::make_unique<TEditorProject>();
    ReadProjectFile(*project, Full().path);
    const std::string out = Full().Scratch("saved.mvn");
    for (auto _ : state) {
        WriteProjectFile(*project, out);
        ReadProjectFile(*project, out);
    }
    CountBytes(state);
}

// The same bytes read and written through a 1 MiB buffer.
void BM_PlainCopy(benchmark::State& state) {
    const std::string out = Full().Scratch("copied.mvn");
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* in = std::fopen(Full().path.c_str(), "rb");
        std::FILE* to = std::fopen(out.c_str(), "wb");
        if (in == nullptr || to == nullptr) {
            state.SkipWithError("the copy could not open its files");
            return;
        }
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
            std::fwrite(buffer.data(), 1, n, to);
        }
        std::fclose(in);
        std::fclose(to);
    }
    CountBytes(state);
}

// Runs a program to its end with its output thrown away; false when it could not run or failed.
bool RunProcess(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void RunProcessBenchmark(benchmark::State& state, const std::vector<std::string>& args) {
    for (auto _ : state) {
        if (!RunProcess(args)) {
            state.SkipWithError(("could not run " + args[0]).c_str());
            return;
        }
    }
}

void BM_ProcessProjectInfo(benchmark::State& state) {
    RunProcessBenchmark(state, {ProgramFolder() + "/morvane3d-cli", "project-info", Full().path});
}

void BM_ProcessCp(benchmark::State& state) {
    RunProcessBenchmark(state, {"cp", Full().path, Full().Scratch("cp.mvn")});
}

BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveAndOpenProject)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ProcessProjectInfo)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_ProcessCp)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The table as usual, and the real times kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred) {
                realMs[run.run_name.function_name] =
                    run.GetAdjustedRealTime() * 1000 /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }
    std::map<std::string, double> realMs;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char* label, const std::string& of, const std::string& to) {
        auto a = reporter.realMs.find(of), b = reporter.realMs.find(to);
        if (a != reporter.realMs.end() && b != reporter.realMs.end() && b->second > 0) {
            std::printf("%s: %.1f ms against %.1f ms, %.2f x\n", label, a->second, b->second,
                        a->second / b->second);
        }
    };
    ratio("save and open of the project / plain copy", "BM_SaveAndOpenProject", "BM_PlainCopy");
    ratio("project-info process / cp process", "BM_ProcessProjectInfo", "BM_ProcessCp");
    benchmark::Shutdown();
    return 0;
}
