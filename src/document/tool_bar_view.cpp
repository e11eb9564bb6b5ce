#include "document/tool_bar_view.h"

#include "document/editor_texts.h"
#include "document/flip_map_operations.h"

#include <algorithm>

namespace morvane {

ToolBarView ToolBarValues(const TEditorProject& project) {
    ToolBarView view;
    const int rooms = std::min<int>(project.RoomCount, MaxRooms);
    for (int r = 1; r <= rooms; ++r) {
        view.RoomList.push_back(project.Room(r).Name.Str());
        if (const int original = OriginalOf(project, r); original != 0) {
            view.RoomList.back() += " (alternate of " + std::to_string(original) + ")";
        }
    }
    if (project.CurrentRoom < 1 || project.CurrentRoom > rooms) {
        view.CurrentRoomLabel = NoCurrentRoomLabel;
        return view;
    }
    const TEditorRoom& room = project.Current();
    view.SelectedRoom = project.CurrentRoom - 1;
    view.CurrentRoomLabel = view.RoomList[view.SelectedRoom];
    view.PosX = room.PosX;
    view.PosY = room.PosY;
    view.PosZ = room.PosZ;
    const int views = std::clamp(room.PortalViewCount, 0, MaxPortalViews);
    for (int d = 1; d <= views; ++d) {
        view.PortalViewList.push_back(PortalViewPrefix + std::to_string(d));
    }
    const TPortalView& first = room.PortalView(1);
    view.PortalRoom = first.TargetRoom;
    view.PortalWidth = first.WidthTiles;
    view.PortalHeight = first.HeightTiles;
    if (views > 0) {
        view.SelectedPortalView = 0;
        view.PortalFacingIndex = first.Facing - 1;
    }
    return view;
}

} // namespace morvane
