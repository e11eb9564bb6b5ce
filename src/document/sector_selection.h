#pragma once

#include "document/project.h"
#include "document/view_hit.h"

#include <bitset>
#include <vector>

namespace morvane {

// Whether a pick found a sector of the current room: the sectors a click or a drag may choose.
bool IsSectorOfCurrentRoom(const TEditorProject& project, const ViewHit& hit);

// The sectors of one room chosen by dragging the pointer: a rectangle of columns and rows from
// the sector where the drag began to the one under the pointer, added to the sectors chosen
// before when the drag adds (Shift).
class SectorSelection {
public:
    // A drag begins in the room: it starts a new selection, or, when adding in the same room,
    // keeps the sectors chosen so far.
    void Begin(int room, bool adding);
    // The rectangle between two sectors (numbers from 1) of the room, over what Begin kept.
    void Span(const TEditorRoom& room, int fromSector, int toSector);
    void Clear();

    int Room() const { return room_; }
    bool Empty() const { return chosen_.none(); }
    bool Contains(int sector) const;
    // The chosen sectors in ascending order.
    std::vector<int> Sectors() const;

private:
    int room_ = 0;
    std::bitset<MaxSectors> kept_;
    std::bitset<MaxSectors> chosen_;
};

} // namespace morvane
