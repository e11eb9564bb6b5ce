#include "ui/gl_panel.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    morvane::useCompatibilityGLFormat();
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
