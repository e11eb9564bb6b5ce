// Importing the rooms of the 94-room first-game level into a project.
//   out/bin/import_bench [LEVEL]
// Without LEVEL, tr1-demo-level2.tub is taken from the real level files beside the repository
// (or from the folder MORVANE_FIXTURES_REAL names); without it the benchmark says so and skips.
#include "import/level_import.h"
#include "level/level_reader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using namespace morvane;

std::string LevelPath;

std::string DefaultLevel() {
    const char* overridden = std::getenv("MORVANE_FIXTURES_REAL");
    const std::filesystem::path dir =
        overridden ? std::filesystem::path(overridden)
                   : std::filesystem::path(MORVANE_SOURCE_DIR) / ".." / "shared" / "fixtures-real";
    return (dir / "tr1-demo-level2.tub").lexically_normal().string();
}

bool HaveLevel(benchmark::State& state) {
    if (!std::filesystem::is_regular_file(LevelPath)) {
        state.SkipWithError(("no level file at " + LevelPath).c_str());
        return false;
    }
    return true;
}

// The import alone, from the level already read.
void BM_ImportRooms(benchmark::State& state) {
    if (!HaveLevel(state)) {
        return;
    }
    auto level = std::make_unique<TLevelData>();
    ReadLevelFile(*level, LevelPath);
    auto project = std::make_unique<TEditorProject>();
    ImportResult result;
    for (auto _ : state) {
        result = ImportLevelRooms(*level, *project, LevelPath);
    }
    state.counters["rooms"] = result.Counts.RoomsImported();
    state.counters["sectors"] = result.Counts.SectorsWhole + result.Counts.SectorsClipped;
}

// What "Import Rooms from Level" does: the file read as the base level, then the import.
void BM_ImportLevelFile(benchmark::State& state) {
    if (!HaveLevel(state)) {
        return;
    }
    auto level = std::make_unique<TLevelData>();
    auto project = std::make_unique<TEditorProject>();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ImportLevelFile(LevelPath, *level, *project).Imported());
    }
}

BENCHMARK(BM_ImportRooms)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ImportLevelFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    LevelPath = argc > 1 ? argv[1] : DefaultLevel();
    if (!std::filesystem::is_regular_file(LevelPath)) {
        std::fprintf(stderr, "import_bench: %s is not there; the benchmarks are skipped\n",
                     LevelPath.c_str());
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
