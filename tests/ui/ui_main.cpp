#include "glx/x_display.h"
#include "ui/gl_panel.h"

#include <QApplication>
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
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own folders
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
