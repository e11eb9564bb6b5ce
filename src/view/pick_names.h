#pragma once

#include "document/view_hit.h"

#include <cstdint>

namespace morvane {

// The names the scene is drawn and picked with: a sector of the current room by its number
// (1 .. 1024), the neighbour room under one name of its own, an object by its index in the
// layer from ObjectPickNameBase on, 0 for nothing.
inline constexpr int32_t NoPickName = 0;
inline constexpr int32_t NeighbourRoomPickName = 999;
inline constexpr int32_t ObjectPickNameBase = 100000;

inline constexpr int32_t PickNameOfObject(int index) {
    return ObjectPickNameBase + index;
}

inline ViewHit HitOfPickName(int32_t name) {
    if (name >= ObjectPickNameBase) {
        return ViewHit::OfObject(name - ObjectPickNameBase);
    }
    if (name == NeighbourRoomPickName) {
        return ViewHit::OfNeighbourRoom();
    }
    return name >= 1 && name < NeighbourRoomPickName ? ViewHit::OfSector(name) : ViewHit::Nothing();
}

} // namespace morvane
