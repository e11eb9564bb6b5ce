#include "import/trigger_import.h"

#include "document/trigger_operations.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "levelbuild/trigger_floor_data.h"
#include "script/trigger_encoding.h"

#include <algorithm>
#include <map>

namespace morvane {

namespace {

constexpr int ClimbFunction = 6;
constexpr int FirstTriangulation = 7;
constexpr int LastTriangulation = 18;

// How many words follow an entry's first word (a trigger's are read by its reader).
int FollowingWords(int32_t layout, int function) {
    if (function == FloorDataPortal || function == FloorDataFloorSlant ||
        function == FloorDataCeilingSlant) {
        return 1;
    }
    if (layout == FormatTR3 && function >= FirstTriangulation && function <= LastTriangulation) {
        return 1;
    }
    (void)ClimbFunction; // climb and the third game's later entries carry no word
    return 0;
}

int Indexed(const std::vector<int>& objects, int levelIndex) {
    return levelIndex >= 0 && static_cast<std::size_t>(levelIndex) < objects.size()
               ? objects[static_cast<std::size_t>(levelIndex)]
               : -1;
}

// The trigger of an entry, or the problem.
std::string TriggerOfEntry(const TLevelData& level, const TriggerEntryWords& entry,
                           const ImportedObjectIndexes& objects, TEditorTrigger& trigger) {
    if (!LayoutHasTriggerKind(level.FormatKind, entry.Type)) {
        return "a trigger of type " + std::to_string(entry.Type) +
               ", which a project does not "
               "hold for " +
               FormatKindName(level.FormatKind) + " levels";
    }
    trigger.Kind = static_cast<uint8_t>(entry.Type);
    trigger.Timer = static_cast<uint8_t>(entry.Setup & 0xFF);
    trigger.Once = (entry.Setup >> 8) & 1;
    trigger.Mask = (entry.Setup >> 9) & 0x1F;
    trigger.SetupBits = static_cast<uint8_t>(entry.Setup >> 14);
    trigger.Object = NoTriggerObject;
    std::size_t first = 0;
    if (TriggerTypeHasItemWord(entry.Type)) {
        const TriggerActionWords& item = entry.Actions.front();
        trigger.Object = static_cast<int16_t>(Indexed(objects.OfItem, item.Operand));
        if (trigger.Object < 0) {
            return "a trigger tied to level item " + std::to_string(item.Operand + 1) +
                   ", which was not imported";
        }
        first = 1;
    }
    if (entry.Actions.size() - first > static_cast<std::size_t>(MaxTriggerActions)) {
        return "a trigger of " + std::to_string(entry.Actions.size() - first) +
               " actions (a project's trigger holds " + std::to_string(MaxTriggerActions) + ")";
    }
    for (std::size_t a = first; a < entry.Actions.size(); ++a) {
        const TriggerActionWords& words = entry.Actions[a];
        if (!LayoutHasTriggerAction(level.FormatKind, words.Action)) {
            return "a trigger action " + std::to_string(words.Action) +
                   ", which a project does not hold for " + FormatKindName(level.FormatKind) +
                   " levels";
        }
        const auto kind = static_cast<TriggerActionKind>(words.Action);
        TTriggerAction& action = trigger.Actions[trigger.ActionCount++];
        action = NewTriggerAction(kind, words.Operand);
        if (TriggerActionNamesObject(kind) || TriggerActionNamesCamera(kind)) {
            const bool item = TriggerActionNamesObject(kind);
            action.Value = static_cast<int16_t>(
                Indexed(item ? objects.OfItem : objects.OfCamera, words.Operand));
            if (action.Value < 0) {
                return std::string("a trigger naming level ") + (item ? "item " : "camera ") +
                       std::to_string(words.Operand + 1) + ", which was not imported";
            }
        } else if (kind == TriggerActionKind::Secret) {
            action.Value = static_cast<int16_t>(words.Operand + 1);
        } else if (kind == TriggerActionKind::EndLevel || kind == TriggerActionKind::ClearBodies) {
            if (words.Operand != 0) {
                return "a trigger action " + std::to_string(words.Action) + " with the number " +
                       std::to_string(words.Operand) + ", which a project does not hold";
            }
        }
        if (kind == TriggerActionKind::Camera) {
            action.Seconds = static_cast<uint8_t>(words.Second & 0xFF);
            action.Once = (words.Second >> 8) & 1;
            action.CameraBits = static_cast<uint8_t>((words.Second >> 9) & 0x3F);
        }
    }
    return {};
}

// Kinds of what did not come over, each with its count and first sector.
struct Tally {
    int Count = 0;
    std::string First;
};

} // namespace

SectorTriggerRead ReadSectorTrigger(const TLevelData& level, uint32_t index,
                                    const ImportedObjectIndexes& objects) {
    SectorTriggerRead read;
    if (index == 0) {
        return read;
    }
    const uint32_t end = std::min<uint32_t>(level.NumFloorData, MaxFloorData);
    std::vector<uint16_t> kept; // the trigger and kill entries' words, in the list's order
    std::vector<std::size_t> keptHeads;
    std::vector<TriggerEntryWords> entries;
    bool kill = false, beyond = false;
    for (uint32_t at = index; at < end;) {
        const uint16_t head = level.FloorData[at];
        const int function = level.FormatKind == FormatTR3 ? head & 0x1F : head & 0xFF;
        const uint32_t start = at;
        if (function == FloorDataTrigger || function == FloorDataKill) {
            if (function == FloorDataKill) {
                kill = true;
                ++at;
            } else {
                TriggerEntryWords entry;
                if (!ReadTriggerEntry(level.FloorData, end, at, entry)) {
                    read.Found = true;
                    read.Problem = "a trigger that runs off the end of the floor data";
                    return read;
                }
                entries.push_back(std::move(entry));
            }
            keptHeads.push_back(kept.size());
            kept.insert(kept.end(), level.FloorData + start, level.FloorData + at);
        } else {
            beyond = beyond || !kept.empty(); // an entry after the trigger or kill
            at += 1 + FollowingWords(level.FormatKind, function);
        }
        if (head & FloorDataEnd) {
            break;
        }
    }
    if (!kill && entries.empty()) {
        return read;
    }
    read.Found = true;
    if (entries.size() > 1) {
        read.Problem = std::to_string(entries.size()) + " trigger entries on one sector";
        return read;
    }
    TEditorTrigger& trigger = read.Trigger;
    trigger.Object = NoTriggerObject;
    trigger.Death = kill ? 1 : 0;
    if (!entries.empty()) {
        read.Problem = TriggerOfEntry(level, entries.front(), objects, trigger);
        if (!read.Problem.empty()) {
            return read;
        }
    }
    // Built again with the level's own indexes, the words must be the level's, end marks aside.
    std::map<int, int> levelIndex;
    for (const auto* list : {&objects.OfItem, &objects.OfCamera}) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            if ((*list)[i] >= 0) {
                levelIndex[(*list)[i]] = static_cast<int>(i);
            }
        }
    }
    std::vector<uint16_t> again = TriggerSectorWords(trigger, [&](int object) {
        const auto found = levelIndex.find(object);
        return found == levelIndex.end() ? -1 : found->second;
    });
    // The build writes the kill entry first; the end mark stands on the list's last entry.
    std::vector<std::size_t> againHeads = {0};
    if (kill && !entries.empty()) {
        againHeads.push_back(1);
    }
    for (auto [words, heads] : {std::pair{&again, &againHeads}, std::pair{&kept, &keptHeads}}) {
        for (const std::size_t h : *heads) {
            if (h < words->size()) {
                (*words)[h] &= static_cast<uint16_t>(~FloorDataEnd);
            }
        }
    }
    read.Exact = !beyond && again == kept;
    return read;
}

std::vector<std::string> ImportTriggers(const TLevelData& level,
                                        const std::vector<int>& projectRoomOf,
                                        const ImportedObjectIndexes& objects,
                                        TEditorProject& project) {
    std::vector<TEditorTrigger> triggers;
    std::map<std::string, Tally> leftOut;
    Tally inexact;
    for (int r = 0; r < level.NumRooms && static_cast<std::size_t>(r) < projectRoomOf.size(); ++r) {
        const int projectRoom = projectRoomOf[static_cast<std::size_t>(r)];
        if (projectRoom == 0) {
            continue;
        }
        const TLevelRoom& from = level.Rooms[r];
        const TEditorRoom& room = project.Room(projectRoom);
        for (int x = 1; x <= from.NumXSectors; ++x) {
            for (int z = 1; z <= from.NumZSectors; ++z) {
                const TGameSector& sector = from.Sectors[(x - 1) * from.NumZSectors + (z - 1)];
                SectorTriggerRead read = ReadSectorTrigger(level, sector.FloorDataIndex, objects);
                if (!read.Found) {
                    continue;
                }
                const std::string where = "Level room " + std::to_string(r + 1) + ", column " +
                                          std::to_string(x) + ", row " + std::to_string(z);
                if (read.Problem.empty() && (x > room.XSectors || z > room.ZSectors)) {
                    read.Problem = "a trigger on a sector the room's grid left out";
                }
                if (!read.Problem.empty()) {
                    Tally& tally = leftOut[read.Problem.substr(0, read.Problem.find(" of "))];
                    if (tally.Count++ == 0) {
                        tally.First = where + ": " + read.Problem;
                    }
                    continue;
                }
                if (!read.Exact && inexact.Count++ == 0) {
                    inexact.First = where;
                }
                read.Trigger.Room = static_cast<uint8_t>(projectRoom);
                read.Trigger.Column = static_cast<uint8_t>(x);
                read.Trigger.Row = static_cast<uint8_t>(z);
                triggers.push_back(read.Trigger);
            }
        }
    }
    std::vector<std::string> messages;
    const std::string problem = ReplaceTriggerLayer(project, triggers, level.FormatKind);
    if (!problem.empty()) {
        messages.push_back("Triggers not imported: " + problem + ".");
        ReplaceTriggerLayer(project, {}, level.FormatKind);
        return messages;
    }
    if (!triggers.empty()) {
        messages.push_back("Triggers imported: " + std::to_string(triggers.size()) + ".");
    }
    for (const auto& [kind, tally] : leftOut) {
        (void)kind;
        messages.push_back(tally.First +
                           (tally.Count > 1
                                ? " (and " + std::to_string(tally.Count - 1) + " more like it)"
                                : std::string()) +
                           "; not imported.");
    }
    if (inexact.Count > 0) {
        messages.push_back(std::to_string(inexact.Count) +
                           (inexact.Count == 1 ? " trigger" : " triggers") +
                           " came over in a form the build writes differently (the kill entry "
                           "before the trigger, the trigger last in the list), first " +
                           inexact.First + ".");
    }
    return messages;
}

} // namespace morvane
