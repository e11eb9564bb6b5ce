#pragma once

// The words of a trigger entry in a sector's floor data, written by the trigger script and by
// the build from the project's trigger layer, and read back by the import:
//   function word   0x0004 + 256 x type (bit 15: the last entry of the sector's list)
//   setup word      timer in bits 0-7, one-shot in bit 8, activation mask in bits 9-13
//   item word       the switch's, keyhole's or pickup's item, for those types only
//   action words    operand in bits 0-9, action in bits 10-14, bit 15 on the last;
//                   a camera action carries a second word (seconds in bits 0-7, once in bit 8),
//                   whose bit 15 ends the list instead.
#include <cstdint>
#include <vector>

namespace morvane {

inline constexpr uint16_t TriggerEndMark = 0x8000;
inline constexpr int TriggerActionCamera = 1;

uint16_t TriggerFunctionWord(int type);
// The setup word of seven setup bits (one-shot, then the five activation bits, then one the games
// do not read) and a flag in bit 15; each is cut to its width as the script always did.
uint16_t TriggerSetupWord(int timer, int setupBits, int flag);
// An operand (an item, camera or number) ORed with the action's bits: an operand beyond ten bits
// runs into the action, which only the script lets through.
uint16_t TriggerActionWord(int action, uint16_t operand);
// A camera action's second word: seconds, once, and the six bits above them as given.
uint16_t CameraActionSecondWord(int seconds, bool once, int upperBits);

// Whether a trigger type is followed by its item word (switch, key, pickup).
bool TriggerTypeHasItemWord(int type);

// A trigger entry by its parts. For a type with an item word, the first action is that word
// (action 0, the item), which never carries the end mark.
struct TriggerActionWords {
    int Action = 0;
    uint16_t Operand = 0;
    uint16_t Second = 0; // a camera action's second word, without the end mark
    bool operator==(const TriggerActionWords&) const = default;
};
struct TriggerEntryWords {
    int Type = 0;
    uint16_t Setup = 0;
    std::vector<TriggerActionWords> Actions;
    bool operator==(const TriggerEntryWords&) const = default;
};

// Appends the entry's words, the function word with the end mark when `lastEntry`; the last
// action word (a camera's second word) carries the action list's end mark.
void AppendTriggerEntry(const TriggerEntryWords& entry, bool lastEntry,
                        std::vector<uint16_t>& words);

// Reads the entry whose function word is words[at] (a trigger: function 4) up to `end`,
// leaving `at` after it; false when the entry runs past `end`.
bool ReadTriggerEntry(const uint16_t* words, uint32_t end, uint32_t& at, TriggerEntryWords& entry);

} // namespace morvane
