#include "ui/gl_panel.h"

#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    morvane::useCompatibilityGLFormat();
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own folders
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
