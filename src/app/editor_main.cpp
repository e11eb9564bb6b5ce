// morvane3d [PROJECT.mvn] [--mode wireframe|solid|textured]
// morvane3d --version
#include "io/program_folder.h"
#include "ui/gl_panel.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "version.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

int main(int argc, char** argv) {
    // Answered before Qt starts, so that it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("morvane3d %s\n", morvane::MorvaneVersion);
            return 0;
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

    QString project;
    // Without --mode the editor starts in the mode it was closed in (wireframe the first time).
    std::optional<morvane::RenderMode> mode;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--mode") == 0 && i + 1 < argc) {
            // An unknown name draws the wireframe.
            mode = morvane::RenderModeOfName(argv[++i]).value_or(morvane::RenderMode::Wireframe);
        } else if (argv[i][0] != '-') {
            project = QString::fromLocal8Bit(argv[i]);
        } else {
            std::fprintf(stderr,
                         "usage: morvane3d [PROJECT.mvn] [--mode wireframe|solid|textured]\n");
            return 2;
        }
    }

    // The document and the base level: one of each for the whole run.
    auto document = std::make_unique<morvane::TEditorProject>();
    auto level = std::make_unique<morvane::TLevelData>();
    morvane::QtServices services;
    morvane::MainWindow window(*document, *level, services, morvane::ProgramFolder());
    window.show();
    // Work left unsaved by an editor that did not close comes first; then the named project.
    if (!window.offerRecovery() && !project.isEmpty()) {
        window.openProjectFile(project);
    }
    if (mode) {
        window.setRenderMode(*mode);
    }
    return application.exec();
}
