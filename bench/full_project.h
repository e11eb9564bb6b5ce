#pragma once

#include "document/object_operations.h"
#include "document/portal_views.h"
#include "document/room_operations.h"

namespace morvane::bench {

// A project at the document's capacities: 128 rooms of 31 x 31 sectors with 20 portal views
// each, every sector's bytes varied (about 14 MB as a file), and the level's maximum of items
// (Lara and 299 others) and of cameras spread over the rooms.
inline void MakeFullProject(TEditorProject& project) {
    constexpr int side = 31;
    SceneRooms scene;
    NewProject(project, scene);
    for (int r = 0; r < MaxRooms; ++r) {
        RoomDialogValues values = RoomAt(side, side, (r % 12) * 32, 10 + r % 20, (r / 12) * 32, 6);
        values.Name = NextRoomName(project);
        AddRoom(project, scene, values);
        TEditorRoom& room = project.Current();
        for (int n = 1; n <= room.SectorCount(); ++n) {
            TEditorSector& s = room.Sector(n);
            s.FloorShape = static_cast<uint8_t>((n + r) % 17);
            s.CeilingShape = static_cast<uint8_t>((n * 3 + r) % 17);
            s.FloorSurface.Textures[2] = (n * 7 + r) % 120;
            s.CeilingSurface.Lights[4] = static_cast<uint8_t>(n);
            room.GameSector(n).FloorHeight = static_cast<int8_t>(n % 3);
        }
    }
    for (int r = 1; r <= MaxRooms; ++r) {
        project.CurrentRoom = static_cast<uint8_t>(r);
        for (int d = 0; d < MaxPortalViews; ++d) {
            PortalViewFields fields;
            fields.Room = r % MaxRooms + 1;
            fields.Width = 1 + d % 3;
            fields.FacingIndex = d % 6;
            AddPortalView(project, fields);
        }
    }
    for (int i = 0; i < MaxObjectItems + MaxObjectCameras; ++i) {
        const bool camera = i >= MaxObjectItems;
        TEditorObject object =
            NewObject(camera ? ObjectKind::Camera : ObjectKind::Item, i % MaxRooms + 1,
                      512 + (i % 29) * 1024, 512 + (i % 23) * 1024, camera ? 0 : 7 + i % 20);
        object.Angle = static_cast<uint16_t>(i * 1111);
        object.Flags = static_cast<uint16_t>(i % 2 ? ItemActivationMask : 0);
        PlaceObject(project, object);
    }
    project.CurrentRoom = 1;
}

} // namespace morvane::bench
