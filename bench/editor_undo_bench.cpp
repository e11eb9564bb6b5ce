// Undo and redo in the editor as a person sees them, under Xvfb with Mesa: Ctrl+Z on an edit
// click of a 31 x 31 room with a 31 x 31 neighbour (textured), until the view has painted the
// frame, then Ctrl+Y likewise; and the two without the painting.
//   xvfb-run -a -s "-screen 0 1280x1024x24" out/bin/editor_undo_bench DEMO_PROJECT.mvn
#include "editor_input.h"

#include "document/edit_names.h"
#include "document/room_operations.h"
#include "io/program_folder.h"
#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/tool_bar_window.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <QUndoStack>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

using namespace morvane;

MainWindow* editor = nullptr;

bool WaitForFrame() {
    QEventLoop loop;
    bool painted = false;
    QObject::connect(editor->viewPanel(), &GLPanel::framePainted, &loop, [&] {
        painted = true;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    return painted;
}

void BM_UndoThenRedoOfAClick(benchmark::State& state) {
    const QString step = editor->undoStack()->undoText();
    for (auto _ : state) {
        editor->undoStack()->undo();
        if (!WaitForFrame()) {
            state.SkipWithError("no frame after the undo");
            return;
        }
        editor->undoStack()->redo();
        if (!WaitForFrame()) {
            state.SkipWithError("no frame after the redo");
            return;
        }
    }
    state.SetLabel(step.toStdString());
}
BENCHMARK(BM_UndoThenRedoOfAClick)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same without waiting for the frames: the document, the tool bar, the caption and the
// request to repaint; the painting itself is the view's.
void BM_UndoThenRedoBeforeThePaint(benchmark::State& state) {
    for (auto _ : state) {
        editor->undoStack()->undo();
        editor->undoStack()->redo();
    }
    WaitForFrame();
}
BENCHMARK(BM_UndoThenRedoBeforeThePaint)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: editor_undo_bench DEMO_PROJECT.mvn [benchmark options]\n");
        return 2;
    }
    useCompatibilityGLFormat();
    QApplication application(argc, argv);
    auto project = std::make_unique<TEditorProject>();
    auto level = std::make_unique<TLevelData>();
    QtServices services;
    MainWindow window(*project, *level, services, ProgramFolder());
    editor = &window;
    window.recoveryTimer()->stop();
    window.show();
    window.openProjectFile(QString::fromLocal8Bit(argv[1]));
    window.setRenderMode(RenderMode::Textured);
    WaitForFrame();

    // Two rooms of 31 x 31 added as the editor adds them, the second as the neighbour.
    RoomDialogValues values = RoomAt(31, 31, 10, 32, 100, 6);
    for (int r = 0; r < 2; ++r) {
        values.Name = "Big " + std::to_string(r);
        values.X = 10 + 29 * r;
        window.edit(EditNames::AddRoom, [&] { return AddRoom(*project, window.scene(), values); });
    }
    Find<QSpinBox>(*window.toolBar(), "neighbourRoomField")->setValue(project->RoomCount);
    Find<QListWidget>(*window.toolBar(), "roomList")->setCurrentRow(project->RoomCount - 2);
    emit Find<QListWidget>(*window.toolBar(), "roomList")
        ->itemClicked(Find<QListWidget>(*window.toolBar(), "roomList")->currentItem());
    window.centerCamera();
    window.viewport().SetRotation({60, 0, 0});
    window.redraw();
    WaitForFrame();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&window, &up); // a floor raised one level: a step to undo
    const QPoint at(window.viewPanel()->Width() / 2, window.viewPanel()->Height() / 2);
    PressLeftButton(window, at);
    ReleaseLeftButton(window, at);
    WaitForFrame();
    std::printf("step to undo: %s (picked sector %d of room %d)\n",
                window.undoStack()->undoText().toStdString().c_str(), window.viewport().Pick(),
                project->CurrentRoom);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window.toolBar()->hide();
    return 0;
}
