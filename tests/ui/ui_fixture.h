#pragma once

#include "demo/demo_level.h"
#include "demo/demo_project.h"
#include "document/project_file.h"
#include "level/level_format.h"
#include "level/level_writer.h"
#include "support/test_files.h"

#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/tool_bar_window.h"
#include "ui/ui_services.h"
#include "ui/user_folders.h"

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

namespace morvane::test {

// A control of the editor's windows by its object name (the windows keep their controls to
// themselves). A test that names none, or more than one, stops at once.
template <class Control> Control* Find(const QObject& root, const QString& name) {
    const QList<Control*> found = root.findChildren<Control*>(name);
    if (found.size() != 1) {
        ADD_FAILURE() << found.size() << " controls named " << name.toStdString();
        std::abort();
    }
    return found.front();
}

// Runs the event loop until the condition holds, at most `limitMs`; whether it came to hold.
// (QTest's QTRY_ macros report to QTest, not to GoogleTest: a test would pass all the same.)
inline bool WaitUntil(const std::function<bool()>& condition, int limitMs) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > limitMs) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

// Answers the editor's questions as a test tells it to, and keeps what it was shown.
class FakeServices : public UiServices {
public:
    std::vector<QString> Messages;
    std::deque<std::optional<QString>> FileAnswers;
    std::deque<std::function<int(QDialog&)>> DialogAnswers;
    std::vector<QString> DialogsShown;
    int BusyDepth = 0;

    void showMessage(QWidget*, const QString& text) override { Messages.push_back(text); }
    std::optional<QString> askOpenFile(QWidget*, const FileDialogOptions& options) override {
        return Next(options);
    }
    std::optional<QString> askSaveFile(QWidget*, const FileDialogOptions& options) override {
        return Next(options);
    }
    int runModal(QDialog& dialog) override {
        DialogsShown.push_back(dialog.windowTitle());
        if (DialogAnswers.empty()) {
            return QDialog::Rejected;
        }
        auto answer = DialogAnswers.front();
        DialogAnswers.pop_front();
        return answer(dialog);
    }
    void setBusy(bool busy) override { BusyDepth += busy ? 1 : -1; }

    // "Save the changes?": the answers in turn, Discard when none is left; the projects asked
    // about, in order.
    std::deque<SaveChoice> SaveAnswers;
    std::vector<QString> SaveQuestions;
    SaveChoice askSaveChanges(QWidget*, const QString& projectPath) override {
        SaveQuestions.push_back(projectPath);
        if (SaveAnswers.empty()) {
            return SaveChoice::Discard;
        }
        const SaveChoice answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }
    // "Open the recovered copy?": the answers in turn, no when none is left.
    std::deque<bool> RecoveryAnswers;
    std::vector<QString> RecoveryQuestions;
    bool askOpenRecovery(QWidget*, const QString& projectPath) override {
        RecoveryQuestions.push_back(projectPath);
        if (RecoveryAnswers.empty()) {
            return false;
        }
        const bool answer = RecoveryAnswers.front();
        RecoveryAnswers.pop_front();
        return answer;
    }

    std::vector<FileDialogOptions> FileDialogsShown;

private:
    std::optional<QString> Next(const FileDialogOptions& options) {
        FileDialogsShown.push_back(options);
        if (FileAnswers.empty()) {
            return std::nullopt;
        }
        std::optional<QString> answer;
        answer.swap(FileAnswers.front());
        FileAnswers.pop_front();
        return answer;
    }
};

// The editor's main window over a program folder of its own (with floor.dat and solid.bmp),
// shown on the X display.
struct EditorFixture : ::testing::Test {
    TempDir program;
    TempDir files;
    TempDir recovery; // the editor's recovery copies
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
    FakeServices services;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        // Each test starts with no recent files (the config folder is this run's own).
        QDir(UserConfigFolder()).removeRecursively();
        for (const char* name : {"floor.dat", "solid.bmp"}) {
            std::filesystem::copy_file(std::string(MORVANE_SOURCE_DIR) + "/data/" + name,
                                       program.Path(name));
        }
        window = std::make_unique<MainWindow>(*project, *level, services, program.Root().string());
        window->setRecoveryFolder(QString::fromStdString(recovery.Root().string()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), WaitLimitMs))
            << "the main window was not shown on the X display within " << WaitLimitMs << " ms";
        WaitForFrame();
        ASSERT_TRUE(window->viewPanel()->HasContext())
            << "the 3D panel (QOpenGLWidget) got no GL context"
            << (services.Messages.empty() ? "" : ": " + services.Messages.front().toStdString());
    }
    void TearDown() override {
        window->toolBar()->hide();
        window.reset();
    }

    // Long enough for a window or a frame of Mesa's software rasteriser on a loaded machine.
    static constexpr int WaitLimitMs = 10000;

    void WaitForFrame() {
        QSignalSpy painted(window->viewPanel(), &GLPanel::framePainted);
        window->viewPanel()->update();
        if (!painted.wait(WaitLimitMs)) {
            ADD_FAILURE() << "the 3D panel painted no frame within " << WaitLimitMs << " ms";
        }
    }

    // The demo project (three rooms on the demo base level, written to `files`) opened as a
    // user opens it, its second room as the neighbour; without its objects (Lara) on request.
    void OpenDemoProject(bool withObjects = true) {
        auto base = std::make_unique<TLevelData>();
        demo::MakeDemoLevel(*base, FormatTR1);
        WriteLevelFile(*base, files.Path("DEMO.PHD"));
        auto demo = std::make_unique<TEditorProject>();
        demo::MakeDemoProject(*demo, files.Path("DEMO.PHD"), files.Path("BUILT.PHD"));
        if (!withObjects) {
            demo->Objects.Count = 0;
        }
        WriteProjectFile(*demo, files.Path("demo.mvn"));
        window->openProjectFile(QString::fromStdString(files.Path("demo.mvn")));
        ASSERT_EQ(project->RoomCount, 3);
        Find<QSpinBox>(*window->toolBar(), "neighbourRoomField")->setValue(2);
    }
};

} // namespace morvane::test

namespace morvane {
using test::Find;
} // namespace morvane
