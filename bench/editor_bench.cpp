// The editor's responsiveness under Xvfb with Mesa:
//   xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/editor_bench DEMO_PROJECT.mvn
// Prints the time from the program's start to the first painted frame of the project (textured
// mode), and the time of an edit click (pick, edit, redraw until the frame is painted) on a
// 31 x 31 room with a 31 x 31 neighbour.
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "io/program_folder.h"
#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/tool_bar_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void WaitForFrame(morvane::GLPanel* panel) {
    QEventLoop loop;
    QObject::connect(panel, &morvane::GLPanel::framePainted, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
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
    auto project = std::make_unique<morvane::TEditorProject>();
    auto level = std::make_unique<morvane::TLevelData>();
    morvane::QtServices services;
    morvane::MainWindow window(*project, *level, services, morvane::ProgramFolder());
    window.show();
    window.openProjectFile(QString::fromLocal8Bit(argv[1]));
    window.setRenderMode(morvane::RenderTextured);
    WaitForFrame(window.viewPanel);
    std::printf("start to first painted frame: %.1f ms (%d rooms)\n", Milliseconds(start),
                project->RoomCount);

    // Two rooms of 31 x 31, the second as the neighbour.
    morvane::RoomDialogValues values;
    values.Long = values.Width = 31;
    values.Height = 6;
    for (int r = 0; r < 2; ++r) {
        values.Name = "Big " + std::to_string(r);
        values.X = 10 + 29 * r;
        morvane::AddRoom(*project, window.scene, values);
    }
    window.toolBar->neighbourRoomField->setValue(project->RoomCount);
    morvane::SelectRoom(*project, window.scene, project->RoomCount - 2);
    window.centerCamera();
    window.viewport.Rotate.X = 60;
    window.redraw();
    WaitForFrame(window.viewPanel);
    std::vector<double> clicks;
    for (int i = 0; i < 10; ++i) {
        window.viewport.MouseX = window.viewPanel->Width() / 2 + i;
        window.viewport.MouseY = window.viewPanel->Height() / 2;
        const auto click = Clock::now();
        morvane::ShiftState left;
        left.Left = true;
        window.viewMouseDown(left, window.viewport.MouseX, window.viewport.MouseY);
        WaitForFrame(window.viewPanel);
        clicks.push_back(Milliseconds(click));
    }
    std::sort(clicks.begin(), clicks.end());
    std::printf("edit click on a 31 x 31 room (pick + edit + redraw, textured): median %.1f ms, "
                "min %.1f ms, max %.1f ms, picked %d\n",
                clicks[clicks.size() / 2], clicks.front(), clicks.back(),
                window.viewport.PickedName);
    window.toolBar->hide();
    return 0;
}
