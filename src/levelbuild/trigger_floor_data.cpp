#include "levelbuild/trigger_floor_data.h"

#include "document/object_operations.h"
#include "document/trigger_operations.h"
#include "level/floor_data.h"
#include "levelbuild/build_error.h"
#include "script/trscript.h"

#include <algorithm>

namespace morvane {

TriggerEntryWords TriggerEntryOf(const TEditorProject& project, const TEditorTrigger& trigger) {
    return TriggerEntryOf(trigger, [&](int object) { return ObjectLevelIndex(project, object); });
}

std::vector<uint16_t> TriggerSectorWords(const TEditorProject& project,
                                         const TEditorTrigger& trigger) {
    return TriggerSectorWords(trigger,
                              [&](int object) { return ObjectLevelIndex(project, object); });
}

TriggerEntryWords TriggerEntryOf(const TEditorTrigger& trigger, const LevelIndexOf& levelIndex) {
    TriggerEntryWords entry;
    entry.Type = trigger.Kind;
    entry.Setup = TriggerSetupWord(trigger.Timer,
                                   trigger.Once | trigger.Mask << 1 | (trigger.SetupBits & 1) << 6,
                                   trigger.SetupBits >> 1);
    const int actions = std::min<int>(trigger.ActionCount, MaxTriggerActions);
    if (actions == 0) {
        return entry;
    }
    const auto level = [&](int object) {
        return static_cast<uint16_t>(std::max(levelIndex(object), 0));
    };
    if (TriggerTypeHasItemWord(trigger.Kind)) {
        entry.Actions.push_back(
            {static_cast<int>(TriggerActionKind::Object), level(trigger.Object), 0});
    }
    for (int a = 0; a < actions; ++a) {
        const TTriggerAction& action = trigger.Actions[a];
        const TriggerActionKind kind = action.KindOf();
        TriggerActionWords words{action.Kind, static_cast<uint16_t>(action.Value), 0};
        if (TriggerActionNamesObject(kind) || TriggerActionNamesCamera(kind)) {
            words.Operand = level(action.Value);
        } else if (kind == TriggerActionKind::Secret) {
            words.Operand = static_cast<uint16_t>(action.Value - 1);
        }
        if (kind == TriggerActionKind::Camera) {
            words.Second =
                CameraActionSecondWord(action.Seconds, action.Once != 0, action.CameraBits);
        }
        entry.Actions.push_back(words);
    }
    return entry;
}

std::vector<uint16_t> TriggerSectorWords(const TEditorTrigger& trigger,
                                         const LevelIndexOf& levelIndex) {
    std::vector<uint16_t> words;
    const TriggerEntryWords entry = TriggerEntryOf(trigger, levelIndex);
    const bool hasEntry = !entry.Actions.empty();
    if (trigger.Death) {
        words.push_back(static_cast<uint16_t>(FloorDataKill | (hasEntry ? 0 : FloorDataEnd)));
    }
    if (hasEntry) {
        AppendTriggerEntry(entry, true, words);
    }
    return words;
}

void AddTriggerFloorData(const TEditorProject& project, TLevelData& level) {
    const uint32_t count = std::min<uint32_t>(project.Triggers.Count, MaxTriggers);
    for (uint32_t i = 0; i < count; ++i) {
        const TEditorTrigger& trigger = project.Triggers.Triggers[i];
        if (const auto problem = CheckTriggerFields(project, trigger, level.FormatKind)) {
            throw BuildError("The level was not written: " + TriggerPlaceText(trigger) +
                             " has its " + problem->Field + " " + problem->Text + ".");
        }
        const std::vector<uint16_t> words = TriggerSectorWords(project, trigger);
        if (words.empty() || trigger.Room > level.NumRooms) {
            continue;
        }
        const TLevelRoom& room = level.Rooms[trigger.Room - 1];
        if (trigger.Column > room.NumXSectors || trigger.Row > room.NumZSectors) {
            continue; // CheckTriggerFields saw the project's grid, which the level room has
        }
        if (!AppendSectorFloorData(level, trigger.Room, trigger.Column, trigger.Row,
                                   reinterpret_cast<const uint8_t*>(words.data()),
                                   static_cast<int>(words.size() * 2))) {
            throw CapacityError(LevelCapacity::FloorDataWords,
                                "The level needs more than " + std::to_string(MaxFloorData) +
                                    " floor-data words (with the triggers); the level was not "
                                    "written.");
        }
    }
}

} // namespace morvane
