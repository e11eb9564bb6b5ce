#pragma once

namespace morvane {

// What lies under the pointer in the 3D view, as the pick finds it: a sector of the current
// room, the neighbour room drawn beside it, an object of the objects layer, or nothing. The
// view's tools act on this.
struct ViewHit {
    enum class Kind { Nothing, Sector, NeighbourRoom, Object };

    Kind What = Kind::Nothing;
    int Sector = 0;  // the sector's number in the current room (from 1) when What is Sector
    int Object = -1; // the object's index in the layer (from 0) when What is Object

    static ViewHit Nothing() { return {}; }
    static ViewHit OfSector(int sector) { return {Kind::Sector, sector, -1}; }
    static ViewHit OfNeighbourRoom() { return {Kind::NeighbourRoom, 0, -1}; }
    static ViewHit OfObject(int object) { return {Kind::Object, 0, object}; }

    bool IsSector() const { return What == Kind::Sector; }
    bool IsNeighbourRoom() const { return What == Kind::NeighbourRoom; }
    bool IsObject() const { return What == Kind::Object; }
    bool operator==(const ViewHit&) const = default;
};

} // namespace morvane
