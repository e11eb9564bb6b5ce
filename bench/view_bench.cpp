// The 3D view's costs on Mesa's software rasteriser (run under Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/view_bench
// A 31 x 31 room with a 31 x 31 neighbour in the textured mode: a redraw after an edit of the
// current room (its list compiled again, then the frame), a redraw without a change, the replay
// of the frame, the parts of a redraw (the check of what changed, the room's geometry, the
// compile of its lists), and one pick from the scene's geometry against the GL selection pass.
#include "glx/glx_surface.h"

#include "demo/demo_level.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "level/level_format.h"
#include "view/drawn_room_key.h"
#include "view/gl_viewport.h"
#include "view/room_scene.h"
#include "view/texture_upload.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>

namespace {

using namespace morvane;

struct View {
    GlxSurface surface{800, 600};
    TGLViewport viewport;
    TGLCamera camera;
    RoomScene scene;
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    // Why the view could not be set up (the benchmarks then report it instead of a time).
    std::string problem;

    View() {
        surface.CaptureFrames = false;
        if (!viewport.Attach(surface, problem)) {
            problem = "no GL context: " + surface.Problem();
            return;
        }
        viewport.SetCamera(&camera);
        ShowScene(viewport, scene);
        auto level = std::make_unique<TLevelData>();
        demo::MakeDemoLevel(*level, FormatTR1);
        BuildLevelTextures(*level);
        scene.Project = project.get();
        scene.SolidTexture = SolidTextureName;
        scene.TexturesLoaded = true;
        scene.Mode = RenderMode::Textured;
        for (int r = 0; r < 2; ++r) {
            RoomDialogValues values;
            values.Long = values.Width = 31;
            values.X = 10 + r * 29;
            values.Height = 6;
            values.Name = NextRoomName(*project);
            AddRoom(*project, scene, values);
            TEditorRoom& room = project->Current();
            for (int n = 1; n <= room.SectorCount(); ++n) {
                TEditorSector& s = room.Sector(n);
                s.FloorShape = static_cast<uint8_t>(n % 17);
                s.CeilingShape = static_cast<uint8_t>((n / 3) % 17 == 0 ? 5 : 0);
                s.FloorSurface.Textures[2] = n % 60;
                room.GameSector(n).FloorHeight = static_cast<int8_t>((n / 31) % 3);
            }
        }
        SelectRoom(*project, scene, 0);
        scene.NeighbourRoom = 2;
        scene.FrameCurrentRoom();
        viewport.FitToFigure(scene);
        viewport.CenterCamera();
        viewport.SetRotation({40, -25, 0});
        viewport.Redraw();
    }
};

View& Shared() {
    static View view;
    return view;
}

// The shared view, or nullptr with the reason given to the benchmark.
View* Ready(benchmark::State& state) {
    View& v = Shared();
    if (!v.problem.empty()) {
        state.SkipWithError(v.problem.c_str());
        return nullptr;
    }
    return &v;
}

// One sector of the current room changed, as an edit click changes it.
void EditCurrentRoom(View& v, int step) {
    TEditorRoom& room = v.project->Room(v.scene.DrawnRoom);
    TEditorSector& sector = room.Sector(1 + step % room.SectorCount());
    sector.FloorShape = static_cast<uint8_t>((sector.FloorShape + 1) % 17);
}

// What an edit click redraws: the edited room's lists compiled again, then the frame.
void BM_RedrawAfterEdit(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    const int compiled = v.scene.ListCompilations();
    int step = 0;
    for (auto _ : state) {
        EditCurrentRoom(v, step++);
        v.viewport.Redraw();
    }
    state.counters["lists_per_redraw"] =
        double(v.scene.ListCompilations() - compiled) / double(state.iterations());
    state.SetLabel(v.surface.Renderer());
}

// A redraw with nothing changed: only the view's own list is made again.
void BM_RedrawUnchanged(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    for (auto _ : state) {
        v.viewport.Redraw();
    }
}

// A camera move: the frame from the lists as they are.
void BM_ReplayDisplayList(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    v.viewport.Redraw();
    for (auto _ : state) {
        v.viewport.Paint();
    }
}

// The parts of a redraw after an edit, without the frame.
void BM_CheckRoomUnchanged(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    DrawnRoomKey key;
    const TEditorRoom& room = v.project->Room(v.scene.DrawnRoom);
    key.Take(room, v.scene.Mode, v.scene.SolidTexture);
    for (auto _ : state) {
        benchmark::DoNotOptimize(key.Matches(room, v.scene.Mode, v.scene.SolidTexture));
    }
}

void BM_BuildRoomGeometry(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    CurrentRoomDrawing drawing;
    for (auto _ : state) {
        BuildCurrentRoomDrawing(drawing, v.scene.Mode, v.project->Room(v.scene.DrawnRoom),
                                v.scene.SolidTexture);
    }
    state.counters["faces"] = double(drawing.Faces.size());
}

void BM_CompileEditedRoom(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    v.surface.MakeCurrent();
    int step = 0;
    for (auto _ : state) {
        EditCurrentRoom(v, step++);
        v.scene.PrepareLists(v.viewport.ContextSerial());
        glFinish();
    }
}

void BM_Pick(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    v.viewport.SetPointer(400, 300);
    int32_t picked = 0;
    for (auto _ : state) {
        picked = v.viewport.Pick();
    }
    state.counters["picked"] = picked;
}

void BM_PickBySelection(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    v.viewport.SetPointer(400, 300);
    int32_t picked = 0;
    for (auto _ : state) {
        picked = v.viewport.PickBySelection();
    }
    state.counters["picked"] = picked;
}

BENCHMARK(BM_RedrawAfterEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawUnchanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayDisplayList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckRoomUnchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildRoomGeometry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileEditedRoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBySelection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
