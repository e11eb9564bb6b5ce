// The build of a full project against writing the resulting level alone.
//   out/bin/build_bench
#include "demo/demo_level.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "io/program_folder.h"
#include "level/level_check.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "levelbuild/boxes.h"
#include "levelbuild/build_pipeline.h"
#include "levelbuild/level_usage.h"
#include "levelbuild/room_geometry.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using namespace morvane;

constexpr int Side = 31;

// 128 rooms of 31 x 31, each a solid block with an open chamber of 5 x 5 sectors: slopes, steps,
// raised floors and sloped ceilings, several textures. For `open`, each is instead a hall of
// 20 x 20 sectors with the floor stepped by a click to three in four squares (an open room of
// 31 x 31 needs more vertices than a room holds): a box a sector would need 51,200 boxes of the
// level's 5000.
void MakeProject(TEditorProject& project, bool open) {
    SceneRooms scene;
    for (int r = 0; r < MaxRooms; ++r) {
        RoomDialogValues values;
        values.Long = values.Width = Side;
        values.X = (r % 12) * 16;
        values.Z = (r / 12) * 16;
        values.Y = 10 + r % 20;
        values.Height = 4;
        values.Name = NextRoomName(project);
        values.FloorTop = 1 + r % 16;
        values.FloorWalls = 1 + (r + 5) % 16;
        values.CeilingTop = 1 + (r + 9) % 16;
        values.CeilingWalls = 1 + (r + 3) % 16;
        AddRoom(project, scene, values);
        TEditorRoom& room = project.Current();
        // Everything solid (or stepped), then the chamber opened.
        for (int x = 1; x <= Side; ++x) {
            for (int z = 1; z <= Side; ++z) {
                TGameSector& sector = room.GameSector(SectorNumber(x, z, Side));
                const bool hall = x > 5 && x < 26 && z > 5 && z < 26;
                if (open && hall) {
                    sector.FloorHeight = static_cast<int8_t>((x / 16 + z / 16 + r) % 4);
                } else {
                    sector.FloorHeight = sector.CeilingHeight = 4;
                }
            }
        }
        SectorToolState tools;
        for (int x = 14; x < 19 && !open; ++x) {
            for (int z = 14; z < 19; ++z) {
                const int n = SectorNumber(x, z, Side);
                room.GameSector(n).FloorHeight = 0;
                tools.SelectedShape = (x * 7 + z * 3 + r) % 11;
                tools.FloorTexture = 1 + (x + z) % 20;
                scene.HeightSelector = (x + r) % 2;
                EditClick(project, scene, tools, ViewHit::OfSector(n), false, (x + z) % 2 == 0);
                tools.SelectedShape = (x + z) % 3 == 0 ? 5 + (x % 6) : 0;
                scene.HeightSelector = 0;
                EditClick(project, scene, tools, ViewHit::OfSector(n), true, false);
            }
        }
    }
}

// The project, and demo base levels of 3 texture pages (the standard demo level) and of 16
// (the size of a real base level).
struct Setup {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "morvane-build-bench";
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    std::unique_ptr<TEditorProject> openProject = std::make_unique<TEditorProject>();

    Setup() {
        std::filesystem::create_directories(folder);
        for (int pages : {3, 16}) {
            auto level = std::make_unique<TLevelData>();
            demo::MakeDemoLevel(*level, FormatTR1, {.TextilePages = pages});
            WriteLevelFile(*level, Base(pages));
        }
        MakeProject(*project, false);
        MakeProject(*openProject, true);
    }
    ~Setup() { std::filesystem::remove_all(folder); }
    std::string Base(int pages) const {
        return (folder / ("BASE" + std::to_string(pages) + ".PHD")).string();
    }
    std::string Out() const { return (folder / "OUT.PHD").string(); }
};

// The sectors that need a box: the boxes a build of one box a sector would make.
int OpenSectors(const TLevelData& level) {
    int sectors = 0;
    for (int r = 0; r < level.NumRooms; ++r) {
        for (int n = 0; n < level.Rooms[r].NumXSectors * level.Rooms[r].NumZSectors; ++n) {
            sectors +=
                level.Rooms[r].Sectors[n].FloorHeight != level.Rooms[r].Sectors[n].CeilingHeight;
        }
    }
    return sectors;
}

Setup& Shared() {
    static Setup setup;
    return setup;
}

void Build(benchmark::State& state, bool readBase, bool open = false) {
    Setup& s = Shared();
    const TEditorProject& project = open ? *s.openProject : *s.project;
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    const BuildNames names{s.Base(static_cast<int>(state.range(0))), s.Out(), "", "", ""};
    for (auto _ : state) {
        if (readBase) {
            level->LastBaseLevelName.clear();
        }
        BuildResult result = BuildLevel(project, *level, names, ProgramFolder(), script);
        if (!result.Written) {
            state.SkipWithError(result.Messages.empty() ? "not written"
                                                        : result.Messages[0].c_str());
            return;
        }
    }
    state.counters["open_sectors"] = OpenSectors(*level);
    state.counters["rooms"] = level->NumRooms;
    state.counters["boxes"] = level->NumBoxes;
    state.counters["overlaps"] = level->NumOverlaps;
    state.counters["floor_data"] = level->NumFloorData;
}

// The first build of a session: the base level is read too.
void BM_BuildReadingTheBase(benchmark::State& state) {
    Build(state, true);
}
// A later build with the same base level.
void BM_BuildAgain(benchmark::State& state) {
    Build(state, false);
}

// The same with the rooms open around their chambers.
void BM_BuildOpenRoomsAgain(benchmark::State& state) {
    Build(state, false, true);
}

void BM_WriteBuiltLevel(benchmark::State& state) {
    Setup& s = Shared();
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    BuildLevel(*s.project, *level, {s.Base(static_cast<int>(state.range(0))), s.Out(), "", "", ""},
               ProgramFolder(), script);
    for (auto _ : state) {
        WriteLevelFile(*level, s.Out());
    }
}

// The level check alone, on the built level of 128 rooms (part of every build).
void BM_CheckBuiltLevel(benchmark::State& state) {
    Setup& s = Shared();
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    BuildLevel(*s.project, *level, {s.Base(3), s.Out(), "", "", ""}, ProgramFolder(), script);
    std::size_t findings = 0;
    for (auto _ : state) {
        findings = CheckLevel(*level).size();
    }
    state.counters["findings"] = static_cast<double>(findings);
}

// Boxes, overlaps and zones alone, on the built level of 128 rooms (part of every build).
void BM_GenerateBoxes(benchmark::State& state) {
    Setup& s = Shared();
    auto level = std::make_unique<TLevelData>();
    TScriptState script;
    BuildLevel(*s.project, *level, {s.Base(3), s.Out(), "", "", ""}, ProgramFolder(), script);
    for (auto _ : state) {
        GenerateBoxes(*level);
    }
    state.counters["open_sectors"] = OpenSectors(*level);
    state.counters["boxes"] = level->NumBoxes;
    state.counters["overlaps"] = level->NumOverlaps;
}

// The same on 128 open rooms of 31 x 31 (29 x 29 inside the walls), each floor stepped by a
// click to four in nine squares: one box a sector would need 107,648 boxes.
void BM_GenerateBoxesOpenRooms(benchmark::State& state) {
    auto level = std::make_unique<TLevelData>();
    level->FormatKind = FormatTR1;
    level->NumRooms = MaxRooms;
    level->NumFloorData = 1;
    int sectors = 0;
    for (int r = 0; r < MaxRooms; ++r) {
        TLevelRoom& room = level->Rooms[r];
        room.RoomInfo = {(r % 12) * 32 * 1024, (r / 12) * 32 * 1024, 0, -4096};
        room.NumXSectors = room.NumZSectors = Side;
        room.AlternateRoom = -1;
        for (int x = 0; x < Side; ++x) {
            for (int z = 0; z < Side; ++z) {
                const bool wall = x == 0 || z == 0 || x == Side - 1 || z == Side - 1;
                const int step = (x / 10 + z / 10 + r) % 5;
                const auto floor = static_cast<int8_t>(wall ? -127 : step);
                room.Sectors[x * Side + z] = {
                    0, 0, NoRoom, floor, NoRoom, static_cast<int8_t>(wall ? -127 : -16)};
                sectors += !wall;
            }
        }
    }
    for (auto _ : state) {
        GenerateBoxes(*level);
    }
    state.counters["open_sectors"] = sectors;
    state.counters["boxes"] = level->NumBoxes;
    state.counters["overlaps"] = level->NumOverlaps;
}

// One open 31 x 31 room of mixed floor and ceiling levels and shapes: faces and mesh.
void BM_OneRoomGeometry(benchmark::State& state) {
    auto room = std::make_unique<TLevelRoom>();
    std::vector<TEditorSector> sectors(MaxSectors);
    room->NumXSectors = room->NumZSectors = Side;
    for (int n = 0; n < Side * Side; ++n) {
        const int floor = 40 + (n * 7) % 5;
        room->Sectors[n].FloorHeight = static_cast<int8_t>(127 - floor);
        room->Sectors[n].CeilingHeight = static_cast<int8_t>(127 - floor - 12 - n % 3);
        sectors[n].FloorShape = static_cast<uint8_t>(1 + n % 16);
        sectors[n].CeilingShape = static_cast<uint8_t>(1 + (n / 3) % 16);
    }
    FaceList faces;
    std::string problem;
    for (auto _ : state) {
        faces.Clear();
        BuildRoomFaces(faces, *room, sectors.data(), false);
        benchmark::DoNotOptimize(FacesToRoomMesh(faces, *room, problem));
    }
    state.counters["faces"] = static_cast<double>(faces.Faces.size());
}

// The limits panel after an edit: the current room's mesh counts, on an open 31 x 31 room of
// mixed levels and shapes (at once, each edit) ...
void BM_MeasureRoomUse(benchmark::State& state) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values;
    values.Long = values.Width = Side;
    values.Height = 8;
    values.Name = "Open";
    AddRoom(*project, scene, values);
    SectorToolState tools;
    for (int n = 1; n <= Side * Side; ++n) {
        tools.SelectedShape = n % 11;
        scene.HeightSelector = n % 3;
        EditClick(*project, scene, tools, ViewHit::OfSector(n), false, n % 2 == 0);
    }
    RoomUse use;
    for (auto _ : state) {
        use = MeasureRoom(*project, 1, true);
        benchmark::DoNotOptimize(use);
    }
    state.counters["vertices"] = static_cast<double>(use.Vertices.Used);
}

// ... and the whole project's boxes, overlaps and floor data, on the 128 rooms (once the edits
// pause).
void BM_MeasureProjectUse(benchmark::State& state) {
    Setup& s = Shared();
    auto scratch = std::make_unique<TLevelData>();
    ProjectUse use;
    for (auto _ : state) {
        use = MeasureProject(*s.project, *scratch, FormatTR1, ProgramFolder());
        benchmark::DoNotOptimize(use);
    }
    state.counters["boxes"] = static_cast<double>(use.Boxes.Used);
}

BENCHMARK(BM_OneRoomGeometry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureRoomUse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MeasureProjectUse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildReadingTheBase)->Arg(3)->Arg(16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildAgain)->Arg(3)->Arg(16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildOpenRoomsAgain)->Arg(3)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteBuiltLevel)->Arg(3)->Arg(16)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_CheckBuiltLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateBoxes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GenerateBoxesOpenRooms)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
