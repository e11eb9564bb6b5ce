#include "glx/x_display.h"
#include "ui/gl_panel.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    // Qt ends the program at once when it cannot reach the display: the display is waited for
    // (bounded) and checked first, so that a failure says which step failed. The connection is
    // kept open until the end, as Qt keeps its own.
    std::string problem;
    if (morvane::SharedXDisplay(problem) == nullptr) {
        std::fprintf(stderr, "ui tests: %s (they run under xvfb-run)\n", problem.c_str());
        return 1;
    }
    morvane::useCompatibilityGLFormat();
    // Never the user's own folders (settings, recent files, recovery copies), from the start.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    // The editor's user folders go under ~/.qttest, named for this run alone so that runs at the
    // same time do not share them; the fixtures clear them between tests.
    QApplication::setApplicationName(
        QString("Morvane3D-ui-tests-%1").arg(QCoreApplication::applicationPid()));
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    for (const auto location :
         {QStandardPaths::AppConfigLocation, QStandardPaths::AppDataLocation}) {
        QDir(QStandardPaths::writableLocation(location)).removeRecursively();
    }
    return result;
}
