// The undo history's costs: recording an edit (the rooms taken before it and the change found
// after it), undoing and redoing it on a 31 x 31 room, and the memory that 200 steps hold on a
// project of 128 rooms of 31 x 31.
//   out/bin/undo_bench
#include "document/document_change.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <vector>

namespace {

using namespace morvane;

constexpr int Side = 31;
constexpr int Steps = 200;

struct Document {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;

    // 128 rooms of 31 x 31, the last one current.
    Document() {
        for (int r = 0; r < MaxRooms; ++r) {
            RoomDialogValues values =
                RoomAt(Side, Side, (r % 12) * 16, 10 + r % 20, (r / 12) * 16, 4);
            values.Name = NextRoomName(*project);
            AddRoom(*project, scene, values);
        }
    }

    std::optional<DocumentChange> Record(const std::function<DocumentOutcome()>& operation) {
        const DocumentSnapshot before(*project, scene, RoomScope::CurrentAndNext);
        const DocumentOutcome outcome = operation();
        return before.Finish(*project, scene, outcome);
    }

    // A floor click on one sector, or on a whole column with the replication count.
    DocumentOutcome Click(int step, int replication) {
        SectorToolState tools;
        tools.SelectedShape = 1 + step % 10;
        tools.ReplicationCount = replication;
        tools.FloorTexture = 1 + step % 7;
        scene.HeightSelector = step % 3;
        const int n =
            SectorNumber(2 + step % (Side - 2), replication > 1 ? 1 : 2 + step % 27, Side);
        return EditClick(*project, scene, tools, ViewHit::OfSector(n), false, false);
    }

    // The largest edit of one room: its grid rebuilt.
    DocumentOutcome Rebuild(int step) {
        RoomDialogValues values = PropertiesDialogValues(*project);
        values.Long = step % 2 == 0 ? Side - 1 : Side;
        values.AmbientLight = step % 32;
        ApplyRoomProperties(*project, PropertiesDialogValues(*project), values, true);
        return RebuildCurrentRoom(*project, values);
    }
};

Document& Shared() {
    static Document document;
    return document;
}

void BM_RecordOneClick(benchmark::State& state) {
    Document& d = Shared();
    int step = 0;
    for (auto _ : state) {
        auto change = d.Record([&] { return d.Click(step++, 1); });
        benchmark::DoNotOptimize(change);
    }
}
BENCHMARK(BM_RecordOneClick)->Unit(benchmark::kMicrosecond);

// One undo and one redo of the same edit, as Ctrl+Z then Ctrl+Y apply it to the document.
void UndoRedo(benchmark::State& state, const std::function<DocumentOutcome(Document&)>& edit) {
    Document d;
    std::optional<DocumentChange> change = d.Record([&] { return edit(d); });
    if (!change) {
        state.SkipWithError("the edit changed nothing");
        return;
    }
    for (auto _ : state) {
        change->ApplyBefore(*d.project, d.scene);
        change->ApplyAfter(*d.project, d.scene);
    }
    state.counters["step_bytes"] = static_cast<double>(change->MemoryBytes());
}

void BM_UndoRedoOneClick(benchmark::State& state) {
    UndoRedo(state, [](Document& d) { return d.Click(7, 1); });
}
BENCHMARK(BM_UndoRedoOneClick)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoColumnClick(benchmark::State& state) {
    UndoRedo(state, [](Document& d) { return d.Click(8, Side); });
}
BENCHMARK(BM_UndoRedoColumnClick)->Unit(benchmark::kMicrosecond);

void BM_UndoRedoRebuild(benchmark::State& state) {
    UndoRedo(state, [](Document& d) { return d.Rebuild(1); });
}
BENCHMARK(BM_UndoRedoRebuild)->Unit(benchmark::kMicrosecond);

// The memory of 200 steps of one kind, as the history keeps them: the steps' own count and the
// heap's growth.
void ReportMemory(const char* kind, const std::function<DocumentOutcome(Document&, int)>& edit) {
    Document d;
    std::vector<DocumentChange> history;
    history.reserve(Steps);
    const std::size_t heapBefore = mallinfo2().uordblks;
    std::size_t counted = 0;
    for (int step = 0; history.size() < Steps; ++step) {
        if (auto change = d.Record([&] { return edit(d, step); })) {
            counted += change->MemoryBytes();
            history.push_back(std::move(*change));
        }
    }
    const std::size_t heap = mallinfo2().uordblks - heapBefore;
    std::printf("200 steps of %-34s %9.1f KiB counted, %9.1f KiB of heap\n", kind, counted / 1024.0,
                heap / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    std::printf("The project: 128 rooms of 31 x 31, %.1f MiB\n",
                sizeof(TEditorProject) / (1024.0 * 1024.0));
    ReportMemory("one-sector clicks", [](Document& d, int step) { return d.Click(step, 1); });
    ReportMemory("column clicks (31 sectors each)",
                 [](Document& d, int step) { return d.Click(step, Side); });
    ReportMemory("grid rebuilds (the largest)",
                 [](Document& d, int step) { return d.Rebuild(step); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
