#pragma once

#include "document/project.h"
#include "document/room_operations.h"
#include "document/scene_rooms.h"
#include "document/sector_tools.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane::test {

// A project that rooms are added to as the editor adds them, with the view and the sector tools
// that the edits of the view use.
struct SectorRoomFixture : ::testing::Test {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    SectorToolState tools;

    // Adds a room of length x width sectors and makes it current.
    TEditorRoom& Add(int length, int width, int height = 3) {
        RoomDialogValues values;
        values.Long = length;
        values.Width = width;
        values.Height = height;
        values.Name = NextRoomName(*project);
        AddRoom(*project, scene, values);
        return project->Current();
    }
};

} // namespace morvane::test
