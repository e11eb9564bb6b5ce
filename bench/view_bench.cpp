// The 3D view's costs on Mesa's software rasteriser (run under Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/view_bench
// Compiling display list 1 for a 31 x 31 room with a 31 x 31 neighbour in the textured mode,
// replaying it, and one pick.
#include "glx/glx_surface.h"

#include "demo/demo_level.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "level/level_format.h"
#include "view/gl_viewport.h"
#include "view/room_scene.h"
#include "view/texture_upload.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace morvane;

struct View {
    GlxSurface surface{800, 600};
    TGLViewport viewport;
    TGLCamera camera;
    RoomScene scene;
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();

    View() {
        surface.CaptureFrames = false;
        std::string problem;
        if (!viewport.Attach(surface, problem)) {
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
        scene.RenderMode = RenderTextured;
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
        viewport.Rotate = {40, -25, 0};
        viewport.Redraw();
    }
};

View& Shared() {
    static View view;
    return view;
}

void BM_CompileDisplayList(benchmark::State& state) {
    View& v = Shared();
    for (auto _ : state) {
        v.viewport.Redraw(); // compiles and executes the list, and swaps
    }
    state.SetLabel(v.surface.Renderer());
}

void BM_ReplayDisplayList(benchmark::State& state) {
    View& v = Shared();
    v.viewport.Redraw();
    for (auto _ : state) {
        v.viewport.Paint();
    }
}

void BM_Pick(benchmark::State& state) {
    View& v = Shared();
    v.viewport.MouseX = 400;
    v.viewport.MouseY = 300;
    for (auto _ : state) {
        v.viewport.Pick();
    }
    state.counters["picked"] = v.viewport.PickedName;
}

BENCHMARK(BM_CompileDisplayList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayDisplayList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
