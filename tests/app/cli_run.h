#pragma once

// The command line run in the test's own process, and the projects and files its tests hand it.
#include "support/test_files.h"

#include "app/cli.h"
#include "document/project.h"
#include "document/room_operations.h"

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace morvane::test {

struct CliResult {
    int Code;
    std::string Out, Err;
};

inline CliResult RunTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

inline void WriteText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

// A project of rooms of the given sizes (columns x rows) on a base level.
inline std::unique_ptr<TEditorProject> ProjectOfRooms(const std::vector<std::pair<int, int>>& sizes,
                                                      const std::string& base) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    for (const auto& [columns, rows] : sizes) {
        RoomDialogValues values;
        values.Name = NextRoomName(*project);
        values.Width = columns;
        values.Long = rows;
        AddRoom(*project, scene, values);
    }
    project->Settings.BaseLevelFile.Assign(base);
    return project;
}

} // namespace morvane::test
