#pragma once

namespace morvane {

// What the 3D view draws: its own copy of the current room (kept equal to the document's
// CurrentRoom by every operation), the neighbour room drawn beside it (0 for none) and the height
// selector of the sector tools (0 .. Height - 1 of the drawn room once clamped).
struct SceneRooms {
    int DrawnRoom = 1;
    int NeighbourRoom = 0;
    int HeightSelector = 0;
};

} // namespace morvane
