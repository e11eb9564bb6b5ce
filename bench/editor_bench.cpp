// The editor's responsiveness under Xvfb with Mesa:
//   xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/editor_bench DEMO_PROJECT.mvn
// (a project imported from a real level draws the objects with that level's models).
// Prints the time from the program's start to the first painted frame of the project (textured
// mode); the edit click on a 31 x 31 room with a 31 x 31 neighbour (pick, edit, redraw until the
// frame is painted) with its parts: the pick, the edit (the document operation and the windows'
// refresh), the compile of the edited room's lists, and the paint; the same click with 200
// objects in the room and a frame while one of them is dragged; and the editor's peak
// resident memory once a project of 128 rooms of 31 x 31 with 20 portal views each is open, and
// again after 200 edit clicks on it that the undo history keeps.
#include "editor_input.h"
#include "full_project.h"

#include "document/object_operations.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "io/program_folder.h"
#include "level/level_object_types.h"
#include "level/world_units.h"
#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/tool_bar_window.h"
#include "ui/ui_services.h"
#include "view/pick_names.h"

#include <QApplication>
#include <QEventLoop>
#include <QSpinBox>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to = Clock::now()) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void WaitForFrame(morvane::GLPanel* panel) {
    QEventLoop loop;
    QObject::connect(panel, &morvane::GLPanel::framePainted, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
}

// The process's peak resident memory so far, from /proc/self/status.
std::string PeakResidentMemory() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return line.substr(line.find_first_not_of(" \t", 6));
        }
    }
    return "unknown";
}

struct Spread {
    double Median, Min, Max;
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

} // namespace

int main(int argc, char** argv) {
    const auto start = Clock::now();
    if (argc != 2) {
        std::fprintf(stderr, "usage: editor_bench DEMO_PROJECT.mvn\n");
        return 2;
    }
    morvane::useCompatibilityGLFormat();
    QApplication application(argc, argv);
    const double applicationMs = Milliseconds(start);
    auto project = std::make_unique<morvane::TEditorProject>();
    auto level = std::make_unique<morvane::TLevelData>();
    morvane::QtServices services;
    morvane::MainWindow window(*project, *level, services, morvane::ProgramFolder());
    window.recoveryTimer()->stop();
    const double windowMs = Milliseconds(start);
    window.show();
    const double shownMs = Milliseconds(start);
    window.openProjectFile(QString::fromLocal8Bit(argv[1]));
    window.setRenderMode(morvane::RenderMode::Textured);
    const double openedMs = Milliseconds(start);
    WaitForFrame(window.viewPanel());
    std::printf("start to first painted frame: %.1f ms (%d rooms)\n", Milliseconds(start),
                project->RoomCount);
    std::printf("  application at %.1f ms, main window at %.1f ms, shown at %.1f ms, project and "
                "base level read at %.1f ms\n",
                applicationMs, windowMs, shownMs, openedMs);

    // Two rooms of 31 x 31, the second as the neighbour.
    morvane::RoomDialogValues values;
    values.Long = values.Width = 31;
    values.Height = 6;
    for (int r = 0; r < 2; ++r) {
        values.Name = "Big " + std::to_string(r);
        values.X = 10 + 29 * r;
        morvane::AddRoom(*project, window.scene(), values);
    }
    Find<QSpinBox>(*window.toolBar(), "neighbourRoomField")->setValue(project->RoomCount);
    morvane::SelectRoom(*project, window.scene(), project->RoomCount - 2);
    window.centerCamera();
    window.viewport().SetRotation({60, 0, 0});
    window.redraw();
    WaitForFrame(window.viewPanel());

    // The parts of a click, timed where they run.
    morvane::TGLViewport& viewport = window.viewport();
    double pickMs = 0, compileMs = 0;
    morvane::ViewFigureHooks timed = viewport.Figure();
    const auto pick = timed.Pick;
    timed.Pick = [&](const morvane::Mat4& clip) {
        const auto from = Clock::now();
        const int32_t name = pick(clip);
        pickMs = Milliseconds(from);
        return name;
    };
    const auto prepare = timed.Prepare;
    timed.Prepare = [&] {
        const auto from = Clock::now();
        prepare();
        compileMs = Milliseconds(from);
    };
    viewport.SetFigure(timed);
    std::vector<double> clicks, picks, edits, compiles, paints;
    for (int i = 0; i < 21; ++i) {
        const QPoint at(window.viewPanel()->Width() / 2 + i, window.viewPanel()->Height() / 2);
        pickMs = compileMs = 0;
        // Every click changes the sector: its floor goes to the other of two levels.
        window.scene().HeightSelector = i % 2;
        const auto click = Clock::now();
        PressLeftButton(window, at);
        const auto handled = Clock::now();
        ReleaseLeftButton(window, at);
        WaitForFrame(window.viewPanel());
        const double total = Milliseconds(click);
        clicks.push_back(total);
        picks.push_back(pickMs);
        edits.push_back(Milliseconds(click, handled) - pickMs);
        compiles.push_back(compileMs);
        paints.push_back(total - Milliseconds(click, handled) - compileMs);
    }
    const Spread click = SpreadOf(clicks);
    std::printf("edit click on a 31 x 31 room (pick + edit + redraw, textured): median %.1f ms, "
                "min %.1f ms, max %.1f ms, picked %d\n",
                click.Median, click.Min, click.Max, viewport.Pick());
    for (auto [name, values] : {std::pair{"pick", &picks}, std::pair{"edit", &edits},
                                std::pair{"recompile", &compiles}, std::pair{"paint", &paints}}) {
        const Spread part = SpreadOf(*values);
        std::printf("  %-9s median %6.2f ms, min %6.2f ms, max %6.2f ms\n", name, part.Median,
                    part.Min, part.Max);
    }

    // The same room with 200 objects drawn with the base level's models: items of its types,
    // every fourth a static mesh, spread over the room on its floor.
    {
        const std::vector<int> items = morvane::ModelledItemTypes(*level);
        const std::vector<int> statics = morvane::StaticMeshIds(*level);
        for (int i = 0; i < 200; ++i) {
            const bool statik = i % 4 == 3 && !statics.empty();
            // Lara is one item: the others take the level's other types in turn.
            std::vector<int> others;
            std::copy_if(items.begin(), items.end(), std::back_inserter(others),
                         [](int t) { return t != morvane::LaraItemType; });
            const int type = statik           ? statics[i % statics.size()]
                             : others.empty() ? 7
                                              : others[i % others.size()];
            morvane::TEditorObject object = morvane::NewObject(
                statik ? morvane::ObjectKind::Static : morvane::ObjectKind::Item,
                project->CurrentRoom, 1024 + (i % 15) * 2048 % 30720, 1024 + (i / 15) * 2048, type);
            object.Angle = static_cast<uint16_t>(i * 4096);
            morvane::PlaceObject(*project, object);
        }
    }
    window.redraw();
    WaitForFrame(window.viewPanel());
    std::vector<double> objectClicks;
    for (int i = 0; i < 21; ++i) {
        const QPoint at(window.viewPanel()->Width() / 2 + i, window.viewPanel()->Height() / 2 + 40);
        window.scene().HeightSelector = i % 2;
        const auto click = Clock::now();
        PressLeftButton(window, at);
        ReleaseLeftButton(window, at);
        WaitForFrame(window.viewPanel());
        objectClicks.push_back(Milliseconds(click));
    }
    const Spread withObjects = SpreadOf(objectClicks);
    std::printf("edit click on that room with %u objects drawn with their models: median %.1f ms, "
                "min %.1f ms, max %.1f ms\n",
                project->Objects.Count, withObjects.Median, withObjects.Min, withObjects.Max);

    // Dragging one of them with the object tool: each move of the pointer to its painted frame.
    window.setActiveTool(morvane::ToolKind::Object);
    QPoint onObject(-1, -1);
    for (int y = 20; y < window.viewPanel()->Height() && onObject.x() < 0; y += 12) {
        for (int x = 20; x < window.viewPanel()->Width(); x += 12) {
            viewport.SetPointer(x, y);
            if (morvane::HitOfPickName(viewport.Pick()).IsObject()) {
                onObject = QPoint(x, y);
                break;
            }
        }
    }
    if (onObject.x() < 0) {
        std::printf("drag of an object: no object found under the pointer\n");
    } else {
        const int stepsBefore = window.undoStack()->count();
        PressLeftButton(window, onObject);
        std::vector<double> frames;
        for (int i = 1; i <= 30; ++i) {
            const auto move = Clock::now();
            DragLeftButton(window, onObject + QPoint(3 * i, 2 * i));
            WaitForFrame(window.viewPanel());
            frames.push_back(Milliseconds(move));
        }
        ReleaseLeftButton(window, onObject + QPoint(90, 60));
        const Spread drag = SpreadOf(frames);
        std::printf("a frame while dragging an object among %u (move to painted frame): median "
                    "%.1f ms, min %.1f ms, max %.1f ms; %d step of the undo history for the drag\n",
                    project->Objects.Count, drag.Median, drag.Min, drag.Max,
                    window.undoStack()->count() - stepsBefore);
    }
    window.setActiveTool(morvane::ToolKind::Sector);

    timed.Pick = pick;
    timed.Prepare = prepare;
    viewport.SetFigure(timed);

    // The largest project the document holds, opened as the user opens it.
    const std::filesystem::path full =
        std::filesystem::temp_directory_path() / "morvane-editor-bench-full.mvn";
    {
        auto made = std::make_unique<morvane::TEditorProject>();
        morvane::bench::MakeFullProject(*made);
        morvane::WriteProjectFile(*made, full.string());
    }
    const auto open = Clock::now();
    window.openProjectFile(QString::fromStdString(full.string()));
    WaitForFrame(window.viewPanel());
    std::printf("open of a project of %d rooms of 31 x 31 to its first frame: %.1f ms; "
                "peak resident memory of the editor: %s\n",
                project->RoomCount, Milliseconds(open), PeakResidentMemory().c_str());
    std::filesystem::remove(full);

    // 200 edit clicks on that project, each kept by the undo history: a floor raised or lowered
    // at points spread over the view, the current room changed every 20 steps. A click that
    // changes nothing (no sector under it, the floor already at that height) leaves no step.
    const auto edits200 = Clock::now();
    int attempts = 0;
    for (int room = 0; window.undoStack()->count() < 200 && attempts < 2000; ++attempts) {
        if (window.undoStack()->count() >= room * 20) {
            morvane::SelectRoom(*project, window.scene(), room++);
            window.centerCamera();
            viewport.SetRotation({60, 0, 0});
        }
        const QPoint at(window.viewPanel()->Width() / 4 +
                            (attempts * 37) % (window.viewPanel()->Width() / 2),
                        window.viewPanel()->Height() / 4 +
                            (attempts * 53) % (window.viewPanel()->Height() / 2));
        window.scene().HeightSelector = attempts % 3;
        const int steps = window.undoStack()->count();
        PressLeftButton(window, at);
        ReleaseLeftButton(window, at);
        if (window.undoStack()->count() > steps) {
            WaitForFrame(window.viewPanel());
        }
    }
    std::printf("%d edit clicks on it in %.1f ms, %d steps in the undo history; peak resident "
                "memory of the editor: %s\n",
                attempts, Milliseconds(edits200), window.undoStack()->count(),
                PeakResidentMemory().c_str());
    window.toolBar()->hide();
    return 0;
}
