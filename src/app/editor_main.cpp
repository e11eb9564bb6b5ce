// morvane3d [PROJECT.mvn] [--mode wireframe|solid|textured]
// morvane3d --version | --help
#include "io/program_folder.h"
#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr const char* Usage = "usage: morvane3d [PROJECT.mvn] [--mode wireframe|solid|textured]\n"
                              "       morvane3d --version | --help\n";

} // namespace

int main(int argc, char** argv) {
    // The command line is read before Qt starts, so that the answers and the usage need no
    // display.
    std::string project;
    // Without --mode the editor starts in the mode it was closed in (wireframe the first time).
    std::optional<morvane::RenderMode> mode;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("morvane3d %s\n", morvane::MorvaneVersion);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--mode") == 0 && i + 1 < argc) {
            // An unknown name draws the wireframe.
            mode = morvane::RenderModeOfName(argv[++i]).value_or(morvane::RenderMode::Wireframe);
        } else if (argv[i][0] != '-') {
            // Kept whole, so that the recent files name it from any folder.
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(argv[i], error);
            project = error ? std::string(argv[i]) : absolute.lexically_normal().string();
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }

    morvane::useCompatibilityGLFormat();
    QApplication application(argc, argv);
    // The user's folders (settings, the recent files, recovery copies) are named after the
    // application.
    QApplication::setApplicationName("Morvane3D");
    QApplication::setApplicationVersion(morvane::MorvaneVersion);
    // Lets the desktop match the windows with the installed .desktop file and its icon.
    QGuiApplication::setDesktopFileName(morvane::DesktopFileId);

    // The document and the base level: one of each for the whole run.
    auto document = std::make_unique<morvane::TEditorProject>();
    auto level = std::make_unique<morvane::TLevelData>();
    morvane::QtServices services;
    morvane::MainWindow window(*document, *level, services, morvane::ProgramFolder());
    window.show();
    // Work left unsaved by an editor that did not close comes first; then the named project.
    if (!window.offerRecovery() && !project.empty()) {
        window.openProjectFile(QString::fromLocal8Bit(project.c_str()));
    }
    if (mode) {
        window.setRenderMode(*mode);
    }
    return application.exec();
}
