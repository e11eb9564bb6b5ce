#pragma once

// Random objects layers for the tests of the project file, the command line and the mutation
// test: objects of every kind in random rooms and places, placed through PlaceObject so that the
// layer keeps to its limits.
#include "document/object_operations.h"
#include "document/project.h"
#include "level/world_units.h"

#include <cstdint>

namespace morvane::test {

// Tries `tries` placements; every field the record has gets a random value (the reserved bytes
// and the fields a kind does not use included), so that a round trip sees every byte. Some tries
// are refused by the limits (a second Lara, a full room): the layer holds the others.
template <class Random>
void PlaceRandomObjects(TEditorProject& project, Random& random, int tries) {
    const auto below = [&random](uint64_t n) { return static_cast<int64_t>(random() % n); };
    for (int t = 0; t < tries && project.RoomCount > 0; ++t) {
        const auto kind = static_cast<ObjectKind>(1 + below(4));
        const int room = 1 + static_cast<int>(below(project.RoomCount));
        const TEditorRoom& grid = project.Room(room);
        TEditorObject object =
            NewObject(kind, room, static_cast<int>(below(uint64_t{grid.XSectors} * SectorSize)),
                      static_cast<int>(below(uint64_t{grid.ZSectors} * SectorSize)),
                      static_cast<int>(below(below(8) == 0 ? 4 : 32768)));
        object.OnFloor = static_cast<uint8_t>(below(2));
        object.Reserved1 = static_cast<uint8_t>(random());
        object.Y = static_cast<int32_t>(random());
        object.Angle = static_cast<uint16_t>(random());
        object.Flags = static_cast<uint16_t>(random());
        object.Reserved2 = static_cast<uint16_t>(random());
        object.Intensity = static_cast<int32_t>(random());
        object.Intensity2 = static_cast<int32_t>(random());
        object.Fade = static_cast<uint32_t>(random());
        object.Colour = static_cast<uint32_t>(random());
        PlaceObject(project, object);
    }
}

} // namespace morvane::test
