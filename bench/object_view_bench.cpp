// The objects' costs in the 3D view on Mesa's software rasteriser (run under Xvfb):
//   xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/object_view_bench
// A 20 x 20 room with 200 objects in the textured mode: 180 items of a model of the size of the
// games' player (15 meshes, 360 textured faces spread over the level's object textures, some
// 780 units tall, assembled here on top of the demo level), 10 sprites and 10 static meshes.
// Measured: the frame a drag of an object redraws (the view's list made again with every object
// placed, the models' lists as they are), the replay of a frame, the pick under the pointer, and
// the compile of the models' lists (once per base level). With real:1 the same with the models of
// the second game's real level beside the repository (its person-sized moveables in turn, its
// sprites and statics), skipped when it is not there.
#include "glx/glx_surface.h"

#include "demo/demo_level.h"
#include "document/object_operations.h"
#include "document/room_operations.h"
#include "level/level_format.h"
#include "level/level_models.h"
#include "level/level_reader.h"
#include "view/gl_viewport.h"
#include "view/object_placement.h"
#include "view/room_scene.h"
#include "view/texture_upload.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using namespace morvane;

constexpr int BigModelType = 1;
constexpr int MeshCount = 15;
constexpr int Subdivisions = 2;
constexpr int16_t HalfSide = 40;

template <class T> void Put(uint8_t* bytes, int at, T value) {
    std::memcpy(bytes + at, &value, sizeof(T));
}

// A cube split into 2 x 2 quads a side, each quad with an object texture of the level, its
// corners clockwise seen from outside as the game's.
std::vector<int16_t> SplitCubeMesh(int textures) {
    std::vector<int16_t> vertices, quads;
    int quadCount = 0;
    const int16_t step = 2 * HalfSide / Subdivisions;
    for (int axis = 0; axis < 3; ++axis) {
        for (const int sign : {1, -1}) {
            const int u = (axis + 1) % 3, v = (axis + 2) % 3; // u x v = +axis
            const int first = static_cast<int>(vertices.size() / 3);
            for (int i = 0; i <= Subdivisions; ++i) {
                for (int j = 0; j <= Subdivisions; ++j) {
                    int16_t p[3];
                    p[axis] = static_cast<int16_t>(sign * HalfSide);
                    p[u] = static_cast<int16_t>(sign * (-HalfSide + i * step));
                    p[v] = static_cast<int16_t>(-HalfSide + j * step);
                    vertices.insert(vertices.end(), {p[0], p[1], p[2]});
                }
            }
            const auto at = [&](int i, int j) {
                return static_cast<int16_t>(first + i * (Subdivisions + 1) + j);
            };
            for (int i = 0; i < Subdivisions; ++i) {
                for (int j = 0; j < Subdivisions; ++j) {
                    quads.insert(quads.end(),
                                 {at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j),
                                  static_cast<int16_t>(quadCount++ % textures)});
                }
            }
        }
    }
    std::vector<int16_t> mesh = {0, 0, 0, HalfSide, 0, static_cast<int16_t>(vertices.size() / 3)};
    mesh.insert(mesh.end(), vertices.begin(), vertices.end());
    mesh.push_back(static_cast<int16_t>(-int(vertices.size() / 3)));
    mesh.insert(mesh.end(), vertices.size() / 3, int16_t{0x1000});
    mesh.push_back(static_cast<int16_t>(quadCount));
    mesh.insert(mesh.end(), quads.begin(), quads.end());
    mesh.insert(mesh.end(), {0, 0, 0});
    return mesh;
}

// A moveable of 15 such meshes stacked in a chain, appended to a first-game level.
void AddBigModel(TLevelData& level) {
    const std::vector<int16_t> mesh = SplitCubeMesh(static_cast<int>(level.NumObjectTextures));
    const uint32_t meshAt = level.NumMeshData;
    std::memcpy(level.MeshData + meshAt, mesh.data(), mesh.size() * 2);
    level.NumMeshData += static_cast<uint32_t>(mesh.size());
    const uint32_t firstMesh = level.NumMeshPointers;
    for (int m = 0; m < MeshCount; ++m) {
        level.MeshPointers[level.NumMeshPointers++] = meshAt * 2;
    }
    const uint32_t tree = level.NumMeshLinks;
    for (int m = 1; m < MeshCount; ++m) {
        const uint32_t node[4] = {0, uint32_t(m % 3 == 0 ? 40 : 0), uint32_t(-HalfSide - 10), 0};
        std::memcpy(level.MeshLinks + level.NumMeshLinks, node, sizeof node);
        level.NumMeshLinks += 4;
    }
    const uint32_t frame = level.NumFrames;
    const int16_t head[10] = {-100, 100, -2600, 0, -100, 100, 0, -HalfSide, 0, MeshCount};
    std::memcpy(level.Frames + frame, head, sizeof head);
    level.NumFrames += 10;
    for (int m = 0; m < MeshCount; ++m) {
        level.Frames[level.NumFrames++] = static_cast<uint16_t>(m * 8); // a little turn about z
        level.Frames[level.NumFrames++] = 0;
    }
    const uint32_t animation = level.NumAnimations++;
    std::memset(level.Animations[animation].Bytes, 0, 32);
    Put<uint32_t>(level.Animations[animation].Bytes, 0, frame * 2);
    uint8_t* m = level.Moveables[level.NumMoveables++].Bytes;
    std::memset(m, 0, 18);
    Put<uint32_t>(m, 0, BigModelType);
    Put<uint16_t>(m, 4, MeshCount);
    Put<uint16_t>(m, 6, static_cast<uint16_t>(firstMesh));
    Put<uint32_t>(m, 8, tree);
    Put<uint16_t>(m, 16, static_cast<uint16_t>(animation));
}

struct View {
    GlxSurface surface{800, 600};
    TGLViewport viewport;
    TGLCamera camera;
    RoomScene scene;
    ModelLibrary models;
    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    std::string problem;

    // real: the second game's real level beside the repository, its own models cycled through.
    explicit View(bool real) {
        surface.CaptureFrames = false;
        if (!viewport.Attach(surface, problem)) {
            problem = "no GL context: " + surface.Problem();
            return;
        }
        viewport.SetCamera(&camera);
        ShowScene(viewport, scene);
        if (real) {
            const std::filesystem::path file = std::filesystem::path(MORVANE_SOURCE_DIR) / ".." /
                                               "shared" / "fixtures-real" / "tr2-hiltop.tr2";
            if (ReadLevelFile(*level, file.string()).Status != ReadStatus::Done) {
                problem = "no real level at " + file.string();
                return;
            }
        } else {
            demo::MakeDemoLevel(*level, FormatTR1);
            AddBigModel(*level);
        }
        BuildLevelTextures(*level);
        models.Build(*level);
        std::vector<int> meshTypes, spriteTypes, staticIds;
        for (int id = 0; id < 1000; ++id) {
            if (const ObjectModel* model = models.Item(id)) {
                (model->IsSprite ? spriteTypes : meshTypes).push_back(id);
            }
            if (models.Static(id) != nullptr) {
                staticIds.push_back(id);
            }
        }
        if (real) {
            // Only what stands on the floor at the size of a person or smaller: the level's
            // sky and its big pieces would fill the view.
            std::erase_if(meshTypes, [&](int id) {
                const ObjectModel& m = *models.Item(id);
                return m.Max[0] - m.Min[0] > 1200 || m.Max[1] - m.Min[1] > 1200 ||
                       m.Max[2] - m.Min[2] > 1200;
            });
        } else {
            meshTypes = {BigModelType};
        }
        if (models.Item(meshTypes.empty() ? -1 : meshTypes[0]) == nullptr || spriteTypes.empty() ||
            staticIds.empty()) {
            problem = "the level's models were not read";
            return;
        }
        scene.Project = project.get();
        scene.Models = &models;
        scene.SolidTexture = SolidTextureName;
        scene.TexturesLoaded = true;
        scene.Mode = RenderMode::Textured;
        RoomDialogValues values;
        values.Long = values.Width = 20;
        values.X = 10;
        values.Height = 6;
        values.Name = NextRoomName(*project);
        AddRoom(*project, scene, values);
        std::vector<TEditorObject> objects;
        for (int i = 0; i < 200; ++i) {
            const ObjectKind kind = i % 20 == 10 ? ObjectKind::Static : ObjectKind::Item;
            const int type = kind == ObjectKind::Static ? staticIds[i % staticIds.size()]
                             : i % 20 == 0              ? spriteTypes[i % spriteTypes.size()]
                                                        : meshTypes[i % meshTypes.size()];
            TEditorObject object = NewObject(kind, 1, 1024 + (i % 15) * 1200 + 300,
                                             1024 + (i / 15) * 1300 + 300, type);
            object.Angle = static_cast<uint16_t>(i * 2500);
            objects.push_back(object);
        }
        // More items than a level holds: the view draws what the layer has.
        project->Objects.Count = static_cast<uint32_t>(objects.size());
        std::copy(objects.begin(), objects.end(), project->Objects.Objects);
        scene.SelectedObject = 0;
        scene.FrameCurrentRoom();
        viewport.FitToFigure(scene);
        viewport.CenterCamera();
        viewport.SetRotation({40, -25, 0});
        viewport.Redraw();
    }
};

View& Shared(bool real) {
    static View generated(false);
    if (!real) {
        return generated;
    }
    static View fromFile(true);
    return fromFile;
}

// The shared view of the benchmark's argument (1: the real level), or nullptr with the reason
// given to the benchmark.
View* Ready(benchmark::State& state) {
    View& v = Shared(state.range(0) != 0);
    if (!v.problem.empty()) {
        state.SkipWithError(v.problem.c_str());
        return nullptr;
    }
    return &v;
}

// A frame while an object is dragged: the object moved, the view's list made again with every
// object placed from the models' lists, and drawn.
void BM_FrameWhileDraggingObject(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    const int compiled = v.scene.ObjectListCompilations();
    int step = 0;
    for (auto _ : state) {
        TEditorObject& dragged = v.project->Objects.Objects[v.scene.SelectedObject];
        dragged.X = 1024 + (step++ % 64) * 64;
        v.viewport.Redraw();
        glFinish();
    }
    state.counters["objects"] = double(v.scene.DrawnObjects().size());
    state.counters["model_compiles"] = double(v.scene.ObjectListCompilations() - compiled);
    state.SetLabel(v.surface.Renderer());
}

// A camera move: the frame replayed from the lists.
void BM_ReplayFrameWithObjects(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    v.viewport.Redraw();
    for (auto _ : state) {
        v.viewport.Paint();
        glFinish();
    }
}

// The pick under the pointer, over an object (the objects are offered before the room).
void BM_PickObject(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    // The middle of the model of an object near the middle of the room.
    const int target = 97;
    const TEditorObject& object = v.project->Objects.Objects[target];
    const ObjectBox box = ObjectDrawnBox(&v.models, object);
    const auto clip =
        Transform(v.viewport.ClipTransform() *
                      PlacementMatrix(v.scene.Position, v.scene.Scale, v.scene.Rotation) *
                      ObjectSceneTransform(*v.project, object),
                  (box.Min[0] + box.Max[0]) / 2, (box.Min[1] + box.Max[1]) / 2,
                  (box.Min[2] + box.Max[2]) / 2);
    v.viewport.SetPointer(static_cast<int>((clip[0] / clip[3] + 1) / 2 * 800),
                          static_cast<int>((1 - clip[1] / clip[3]) / 2 * 600));
    int32_t picked = 0;
    for (auto _ : state) {
        picked = v.viewport.Pick();
    }
    state.counters["picked_object"] = HitOfPickName(picked).Object;
    state.counters["aimed_at"] = target;
}

// The models' lists made again (once per base level read or mode change).
void BM_CompileModels(benchmark::State& state) {
    View* ready = Ready(state);
    if (ready == nullptr) {
        return;
    }
    View& v = *ready;
    v.surface.MakeCurrent();
    for (auto _ : state) {
        v.models.Build(*v.level);
        v.scene.PrepareLists(v.viewport.ContextSerial());
        glFinish();
    }
    state.counters["models"] = double(v.models.Models().size());
}

BENCHMARK(BM_FrameWhileDraggingObject)
    ->ArgName("real")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplayFrameWithObjects)
    ->ArgName("real")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickObject)->ArgName("real")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompileModels)->ArgName("real")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
