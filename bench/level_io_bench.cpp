// Reading and writing a large level against a plain copy of the same file.
//   out/bin/level_io_bench
#include "demo/demo_level.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using namespace morvane;

struct LargeLevel {
    std::filesystem::path folder;
    std::string path;
    uint64_t bytes = 0;

    LargeLevel() {
        folder = std::filesystem::temp_directory_path() / "morvane-level-bench";
        std::filesystem::create_directories(folder);
        path = (folder / "large.tr2").string();
        auto level = std::make_unique<TLevelData>();
        demo::MakeDemoLevel(*level, FormatTR2, {.TextilePages = 16, .RoomCount = 200});
        WriteLevelFile(*level, path);
        bytes = std::filesystem::file_size(path);
    }
    ~LargeLevel() { std::filesystem::remove_all(folder); }
};

const LargeLevel& Large() {
    static LargeLevel large;
    return large;
}

void BM_ReadAndWriteLevel(benchmark::State& state) {
    const LargeLevel& large = Large();
    auto level = std::make_unique<TLevelData>();
    const std::string out = (large.folder / "written.tr2").string();
    for (auto _ : state) {
        ReadLevelFile(*level, large.path);
        WriteLevelFile(*level, out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * large.bytes));
    state.counters["file_MB"] = double(large.bytes) / (1 << 20);
}

void BM_ReadLevel(benchmark::State& state) {
    const LargeLevel& large = Large();
    auto level = std::make_unique<TLevelData>();
    for (auto _ : state) {
        ReadLevelFile(*level, large.path);
    }
}

void BM_WriteLevel(benchmark::State& state) {
    const LargeLevel& large = Large();
    auto level = std::make_unique<TLevelData>();
    ReadLevelFile(*level, large.path);
    const std::string out = (large.folder / "written.tr2").string();
    for (auto _ : state) {
        WriteLevelFile(*level, out);
    }
}

void BM_ClearRecord(benchmark::State& state) {
    auto level = std::make_unique<TLevelData>();
    for (auto _ : state) {
        level->Clear();
        benchmark::ClobberMemory();
    }
}

// The same bytes read and written through a 1 MiB buffer.
void BM_PlainCopy(benchmark::State& state) {
    const LargeLevel& large = Large();
    const std::string out = (large.folder / "copied.tr2").string();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* in = std::fopen(large.path.c_str(), "rb");
        std::FILE* to = std::fopen(out.c_str(), "wb");
        std::size_t n;
        while ((n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
            std::fwrite(buffer.data(), 1, n, to);
        }
        std::fclose(in);
        std::fclose(to);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * large.bytes));
}

BENCHMARK(BM_ReadAndWriteLevel)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
