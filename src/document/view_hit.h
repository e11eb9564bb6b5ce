#pragma once

namespace morvane {

// What lies under the pointer in the 3D view, as the pick finds it: a sector of the current
// room, the neighbour room drawn beside it, or nothing. The view's tools act on this; more kinds
// (objects, triggers) take their place beside these.
struct ViewHit {
    enum class Kind { Nothing, Sector, NeighbourRoom };

    Kind What = Kind::Nothing;
    int Sector = 0; // the sector's number in the current room (from 1) when What is Sector

    static ViewHit Nothing() { return {}; }
    static ViewHit OfSector(int sector) { return {Kind::Sector, sector}; }
    static ViewHit OfNeighbourRoom() { return {Kind::NeighbourRoom, 0}; }

    bool IsSector() const { return What == Kind::Sector; }
    bool IsNeighbourRoom() const { return What == Kind::NeighbourRoom; }
    bool operator==(const ViewHit&) const = default;
};

} // namespace morvane
