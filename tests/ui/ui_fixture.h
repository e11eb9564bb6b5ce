#pragma once

#include "support/test_files.h"

#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/tool_bar_window.h"
#include "ui/ui_services.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

namespace morvane::test {

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

    std::vector<FileDialogOptions> FileDialogsShown;

private:
    std::optional<QString> Next(const FileDialogOptions& options) {
        FileDialogsShown.push_back(options);
        if (FileAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
};

// The editor's main window over a program folder of its own (with floor.dat and solid.bmp),
// shown on the X display.
struct EditorFixture : ::testing::Test {
    TempDir program;
    TempDir files;
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
    FakeServices services;
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        for (const char* name : {"floor.dat", "solid.bmp"}) {
            std::filesystem::copy_file(std::string(MORVANE_SOURCE_DIR) + "/data/" + name,
                                       program.Path(name));
        }
        window = std::make_unique<MainWindow>(*project, *level, services, program.Root().string());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        WaitForFrame();
    }
    void TearDown() override {
        window->toolBar->hide();
        window.reset();
    }

    void WaitForFrame() {
        QSignalSpy painted(window->viewPanel, &GLPanel::framePainted);
        window->viewPanel->update();
        painted.wait(3000);
    }
};

} // namespace morvane::test
