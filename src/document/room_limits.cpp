#include "document/room_limits.h"

namespace morvane {

namespace {

std::string RoomName(const TEditorRoom& room, int number) {
    return "Room " + std::to_string(number) + " (\"" + room.Name.Str() + "\")";
}

std::string PlacementProblem(const TEditorRoom& room, int number) {
    if (room.XSectors < 1 || room.XSectors > MaxRoomSide || room.ZSectors < 1 ||
        room.ZSectors > MaxRoomSide) {
        return RoomName(room, number) + " has " + std::to_string(room.XSectors) + " columns and " +
               std::to_string(room.ZSectors) + " rows; a room has 1 to " +
               std::to_string(MaxRoomSide) + " of each";
    }
    for (const auto& [axis, position] : {std::pair{"X", room.PosX}, std::pair{"Z", room.PosZ}}) {
        if (position < MinRoomPosition || position > MaxRoomPosition) {
            return RoomName(room, number) + " lies at " + axis + " position " +
                   std::to_string(position) + "; room positions go from " +
                   std::to_string(MinRoomPosition) + " to " + std::to_string(MaxRoomPosition);
        }
    }
    if (room.PortalViewCount < 0 || room.PortalViewCount > MaxPortalViews) {
        return RoomName(room, number) + " has " + std::to_string(room.PortalViewCount) +
               " portal views; a room has 0 to " + std::to_string(MaxPortalViews);
    }
    for (int d = 1; d <= room.PortalViewCount; ++d) {
        const TPortalView& view = room.PortalView(d);
        if (view.WidthTiles < 1 || view.WidthTiles > MaxPortalViewTiles || view.HeightTiles < 1 ||
            view.HeightTiles > MaxPortalViewTiles) {
            return "Portal view Door #" + std::to_string(d) + " of room " + std::to_string(number) +
                   " is " + std::to_string(view.WidthTiles) + " by " +
                   std::to_string(view.HeightTiles) + " sectors; a portal view is 1 to " +
                   std::to_string(MaxPortalViewTiles) + " sectors each way";
        }
    }
    return {};
}

std::string LevelProblem(const TEditorRoom& room, int number) {
    if (room.PosY < LowestRoomLevel || room.Height < 1) {
        return RoomName(room, number) + " stands on level " + std::to_string(room.PosY) +
               " with a height of " + std::to_string(room.Height) + "; a room stands on level " +
               std::to_string(LowestRoomLevel) + " or above and is at least 1 high";
    }
    const int top = room.PosY + room.Height;
    if (top > MaxRoomTop) {
        return RoomName(room, number) + " reaches level " + std::to_string(top) + " (level " +
               std::to_string(room.PosY) + ", height " + std::to_string(room.Height) +
               "), above the limit of " + std::to_string(MaxRoomTop);
    }
    return {};
}

} // namespace

std::string RoomLimitsProblem(const TEditorRoom& room, int number, RoomLimits limits) {
    std::string problem = PlacementProblem(room, number);
    if (problem.empty() && limits == RoomLimits::PlacementAndLevels) {
        problem = LevelProblem(room, number);
    }
    return problem;
}

std::string RoomLimitsProblem(const TEditorProject& project, RoomLimits limits) {
    for (int r = 1; r <= project.RoomCount && r <= MaxRooms; ++r) {
        std::string problem = RoomLimitsProblem(project.Room(r), r, limits);
        if (!problem.empty()) {
            return problem;
        }
    }
    return {};
}

} // namespace morvane
