#pragma once

// Random objects layers for the tests of the project file, the command line and the mutation
// test: objects of every kind in random rooms and places, placed through PlaceObject so that the
// layer keeps to its limits.
#include "document/object_operations.h"
#include "document/project.h"
#include "document/trigger_operations.h"
#include "level/level_format.h"
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

// Tries `tries` triggers on random sectors, set through SetTriggers: random kinds and fields,
// actions of every kind naming random objects and numbers (the reserved bytes included). Those
// that name an object of the wrong kind, or none, are refused; the layer holds the others.
template <class Random>
void PlaceRandomTriggers(TEditorProject& project, Random& random, int tries) {
    const auto below = [&random](uint64_t n) { return static_cast<int>(random() % n); };
    const int objects = static_cast<int>(project.Objects.Count);
    const auto someObject = [&](ObjectKind kind) {
        for (int t = 0; t < 8 && objects > 0; ++t) {
            const int index = below(static_cast<uint64_t>(objects));
            if (project.Objects.Objects[index].Is(kind)) {
                return index;
            }
        }
        return -1;
    };
    for (int t = 0; t < tries && project.RoomCount > 0; ++t) {
        const int room = 1 + below(project.RoomCount);
        const TEditorRoom& grid = project.Room(room);
        TEditorTrigger trigger =
            NewTrigger(room, 1 + below(grid.XSectors), 1 + below(grid.ZSectors),
                       static_cast<TriggerKind>(below(LastTriggerKind + 1)));
        trigger.Timer = static_cast<uint8_t>(random());
        trigger.Once = static_cast<uint8_t>(below(2));
        trigger.Mask = static_cast<uint8_t>(below(32));
        trigger.Death = static_cast<uint8_t>(below(2));
        trigger.SetupBits = static_cast<uint8_t>(below(4));
        if (TriggerKindTiesObject(trigger.KindOf())) {
            trigger.Object = static_cast<int16_t>(someObject(ObjectKind::Item));
        }
        trigger.ActionCount =
            static_cast<uint8_t>(below(below(6) == 0 ? MaxTriggerActions + 1 : 4));
        for (int a = 0; a < trigger.ActionCount; ++a) {
            const auto kind = static_cast<TriggerActionKind>(below(LastTriggerActionKind + 1));
            TTriggerAction& action = trigger.Actions[a];
            action = NewTriggerAction(kind);
            action.Reserved = static_cast<uint16_t>(random());
            switch (kind) {
            case TriggerActionKind::Object:
            case TriggerActionKind::LookAt:
                action.Value = static_cast<int16_t>(someObject(ObjectKind::Item));
                break;
            case TriggerActionKind::Camera:
                action.Seconds = static_cast<uint8_t>(random());
                action.Once = static_cast<uint8_t>(below(2));
                action.CameraBits = static_cast<uint8_t>(below(64));
                [[fallthrough]];
            case TriggerActionKind::Current:
                action.Value = static_cast<int16_t>(someObject(ObjectKind::Camera));
                break;
            case TriggerActionKind::FlipMap:
            case TriggerActionKind::FlipOn:
            case TriggerActionKind::FlipOff:
                action.Value = static_cast<int16_t>(below(MaxFlipMapNumber + 1));
                break;
            case TriggerActionKind::Soundtrack:
            case TriggerActionKind::FlipEffect:
                action.Value = static_cast<int16_t>(below(MaxTriggerParameter + 1));
                break;
            case TriggerActionKind::Secret:
                action.Value = static_cast<int16_t>(1 + below(MaxSecretNumber));
                break;
            case TriggerActionKind::EndLevel:
            case TriggerActionKind::ClearBodies:
                break;
            }
        }
        SetTriggers(project, FormatNone, {{room, trigger.Column, trigger.Row}}, trigger);
    }
}

} // namespace morvane::test
