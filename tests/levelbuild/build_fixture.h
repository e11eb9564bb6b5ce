#pragma once

#include "support/test_files.h"

#include "levelbuild/build_pipeline.h"
#include "demo/demo_level.h"
#include "document/room_operations.h"
#include "level/level_format.h"
#include "level/level_writer.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane::test {

// A project, a level record and a generated base level in a temporary folder.
struct BuildFixture : ::testing::Test {
    TempDir dir;
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
    SceneRooms scene;
    TScriptState script;

    // Writes a demo base level of the layout and returns its path.
    std::string MakeBase(int32_t kind, const std::string& name) {
        auto base = std::make_unique<TLevelData>();
        demo::MakeDemoLevel(*base, kind);
        WriteLevelFile(*base, dir.Path(name));
        return dir.Path(name);
    }

    TEditorRoom& Add(int length, int width, int x, int y, int z, int height) {
        RoomDialogValues values = RoomAt(length, width, x, y, z, height);
        values.Name = NextRoomName(*project);
        AddRoom(*project, scene, values);
        return project->Current();
    }

    BuildResult Build(const BuildNames& names) {
        return BuildLevel(*project, *level, names, std::string(MORVANE_SOURCE_DIR) + "/data",
                          script);
    }
};

} // namespace morvane::test
