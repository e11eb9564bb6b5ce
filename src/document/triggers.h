#pragma once

// The triggers a project puts on its sectors: what Lara (or a creature, a block, a switch) sets
// off there, and what follows. A plain record beside the rooms, changed only by the operations of
// trigger_operations.h, stored in the project file as a block after the objects, and compiled
// by the build into each sector's floor data after its slants and portal.
//
// Kinds and actions carry the games' own numbers, so a trigger reads the way the level holds it.
#include <cstdint>

namespace morvane {

// What sets the trigger off. The first two games know Trigger to Dummy; the third adds the rest.
enum class TriggerKind : uint8_t {
    Trigger = 0,           // Lara in the sector
    Pad = 1,               // Lara on its floor
    Switch = 2,            // the tied switch thrown; its objects toggle
    Key = 3,               // the tied keyhole used
    Pickup = 4,            // the tied pickup taken
    Heavy = 5,             // a heavy object (a creature, a block) in the sector
    Antipad = 6,           // Lara on its floor: its objects switch off
    Combat = 7,            // Lara in the sector with her weapons drawn
    Dummy = 8,             // only sets the floor's height for the heavy objects
    Antitrigger = 9,       // Lara in the sector: its objects switch off
    HeavySwitch = 10,      // a heavy object in the sector: its objects toggle
    HeavyAntitrigger = 11, // a heavy object in the sector: its objects switch off
    Monkey = 12,           // Lara hanging from the ceiling (monkey swing)
};
inline constexpr int LastTriggerKindOfSecondGame = 8;
inline constexpr int LastTriggerKind = 12;

// What the trigger does, in order. There is no action "deactivate": whether an object action
// switches its object on, off or over is the trigger's kind (Antipad, Antitrigger and
// HeavyAntitrigger switch off, Switch and HeavySwitch toggle, the others switch on).
enum class TriggerActionKind : uint8_t {
    Object = 0,       // activate an object (an item)
    Camera = 1,       // show a camera object for Seconds (Once: only the first time)
    Current = 2,      // an underwater current towards a camera object (second and third game)
    FlipMap = 3,      // flip map Value toggled
    FlipOn = 4,       // flip map Value on
    FlipOff = 5,      // flip map Value off
    LookAt = 6,       // Lara's (or the camera's) look at an object
    EndLevel = 7,     // end of the level
    Soundtrack = 8,   // soundtrack Value played
    FlipEffect = 9,   // flip effect Value
    Secret = 10,      // secret Value (from 1, as the script's Found_Secret numbers it) found
    ClearBodies = 11, // the dead creatures' bodies cleared (second and third game)
};
inline constexpr int LastTriggerActionKind = 11;

inline constexpr int MaxTriggerActions = 16;
// Every sector of every room could hold one (128 rooms of at most 32 by 32 sectors would be more
// than any level's floor data can hold: 65535 words).
inline constexpr int MaxTriggers = 8192;
inline constexpr int16_t NoTriggerObject = -1;

// The ranges the games give the numbers.
inline constexpr int MaxTriggerTimer = 255;      // seconds, a byte
inline constexpr int MaxTriggerMask = 31;        // the five activation bits
inline constexpr int MaxFlipMapNumber = 9;       // the games keep ten flip maps
inline constexpr int MaxSecretNumber = 16;       // a bit of a 16-bit word each
inline constexpr int MaxTriggerParameter = 1023; // an action's ten bits (soundtrack, flip effect)
inline constexpr int MaxCameraSeconds = 255;

#pragma pack(push, 1)
// One action. Value is an object's index in the objects layer (from 0) for Object, Camera,
// Current and LookAt, the number for the numbered actions, and unused for the others.
struct TTriggerAction {
    uint8_t Kind;    // TriggerActionKind
    uint8_t Seconds; // Camera: how long it shows, 0..255
    uint8_t Once;    // Camera: 1 shows it only the first time
    // Camera: bits 9 to 14 of its second word, which the first three games do not read; kept so
    // that an imported level builds back as it was.
    uint8_t CameraBits;
    int16_t Value;
    uint16_t Reserved;

    TriggerActionKind KindOf() const { return static_cast<TriggerActionKind>(Kind); }
};

// One sector's trigger. A kind of Switch, Key or Pickup is tied to its switch, keyhole or pickup
// (Object); the others have none (NoTriggerObject). Death makes the sector's floor kill Lara
// (the death floor); a trigger of no action and no tied object writes only that.
struct TEditorTrigger {
    uint8_t Room;        // 1..RoomCount
    uint8_t Column;      // 1..XSectors
    uint8_t Row;         // 1..ZSectors
    uint8_t Kind;        // TriggerKind
    uint8_t Timer;       // seconds, 0..255
    uint8_t Once;        // 1: fires only once
    uint8_t Mask;        // activation bits, 0..31
    uint8_t Death;       // 1: the death floor
    int16_t Object;      // the tied object's index in the objects layer, or NoTriggerObject
    uint8_t ActionCount; // 0..MaxTriggerActions
    // Bits 14 and 15 of the setup word, which the first three games do not read; kept so that an
    // imported level builds back as it was (bits 0 and 1 here).
    uint8_t SetupBits;
    TTriggerAction Actions[MaxTriggerActions];

    TriggerKind KindOf() const { return static_cast<TriggerKind>(Kind); }
};
#pragma pack(pop)
static_assert(sizeof(TTriggerAction) == 8);
static_assert(sizeof(TEditorTrigger) == 12 + 8 * MaxTriggerActions);

// The project's triggers, at most one a sector, in the order they were set.
struct TTriggerLayer {
    uint32_t Count; // 0..MaxTriggers
    TEditorTrigger Triggers[MaxTriggers];
};

} // namespace morvane
