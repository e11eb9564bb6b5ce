#include "script/trigger_encoding.h"

namespace morvane {

namespace {

constexpr int TypeSwitch = 2;
constexpr int TypePickup = 4;

} // namespace

uint16_t TriggerFunctionWord(int type) {
    return static_cast<uint16_t>(0x0004 + 256 * type);
}

uint16_t TriggerSetupWord(int timer, int setupBits, int flag) {
    return static_cast<uint16_t>((timer % 256) + 256 * (setupBits % 128) + 32768 * (flag % 2));
}

uint16_t TriggerActionWord(int action, uint16_t operand) {
    return static_cast<uint16_t>(operand | (action << 10));
}

uint16_t CameraActionSecondWord(int seconds, bool once, int upperBits) {
    return static_cast<uint16_t>((seconds % 256) | (once ? 0x0100 : 0) | ((upperBits & 0x3F) << 9));
}

bool TriggerTypeHasItemWord(int type) {
    return type >= TypeSwitch && type <= TypePickup;
}

void AppendTriggerEntry(const TriggerEntryWords& entry, bool lastEntry,
                        std::vector<uint16_t>& words) {
    words.push_back(
        static_cast<uint16_t>(TriggerFunctionWord(entry.Type) | (lastEntry ? TriggerEndMark : 0)));
    words.push_back(entry.Setup);
    for (const TriggerActionWords& action : entry.Actions) {
        words.push_back(TriggerActionWord(action.Action, action.Operand));
        if (action.Action == TriggerActionCamera) {
            words.push_back(action.Second);
        }
    }
    if (!entry.Actions.empty()) {
        words.back() |= TriggerEndMark;
    }
}

bool ReadTriggerEntry(const uint16_t* words, uint32_t end, uint32_t& at, TriggerEntryWords& entry) {
    if (at + 2 > end) {
        return false;
    }
    entry = {};
    entry.Type = (words[at] >> 8) & 0x7F;
    entry.Setup = words[at + 1];
    at += 2;
    if (TriggerTypeHasItemWord(entry.Type)) {
        if (at >= end) {
            return false;
        }
        // The item word ends nothing: actions always follow it.
        entry.Actions.push_back(
            {(words[at] >> 10) & 0x1F, static_cast<uint16_t>(words[at] & 0x03FF), 0});
        ++at;
    }
    for (bool last = false; !last;) {
        if (at >= end) {
            return false;
        }
        const uint16_t word = words[at++];
        TriggerActionWords action{(word >> 10) & 0x1F, static_cast<uint16_t>(word & 0x03FF), 0};
        last = (word & TriggerEndMark) != 0;
        if (action.Action == TriggerActionCamera) {
            if (at >= end) {
                return false;
            }
            action.Second = static_cast<uint16_t>(words[at] & ~TriggerEndMark);
            last = (words[at++] & TriggerEndMark) != 0;
        }
        entry.Actions.push_back(action);
    }
    return true;
}

} // namespace morvane
