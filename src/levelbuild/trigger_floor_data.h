#pragma once

// The project's trigger layer compiled into the level's floor data: each trigger's sector gets a
// copy of its entry list (slants, portal) with the death floor's kill entry and the trigger entry
// after them, before anything a trigger script adds.
#include "document/project.h"
#include "level/level_data.h"
#include "script/trigger_encoding.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace morvane {

// The trigger entry of a trigger, its objects named by the indexes the build gives them in the
// level (ObjectLevelIndex): the tied object as the item word, the secret from 0. Empty actions
// for a trigger without any (it writes no trigger entry: the games read at least one action).
TriggerEntryWords TriggerEntryOf(const TEditorProject& project, const TEditorTrigger& trigger);

// The words the build adds to the trigger's sector: the kill entry of the death floor, then the
// trigger entry; the last entry carries the list's end mark. Empty when neither is there.
std::vector<uint16_t> TriggerSectorWords(const TEditorProject& project,
                                         const TEditorTrigger& trigger);

// The same with the objects' level indexes given (an object's index in the layer to its item's or
// camera's in the level): what the import compares with the level it reads.
using LevelIndexOf = std::function<int(int object)>;
TriggerEntryWords TriggerEntryOf(const TEditorTrigger& trigger, const LevelIndexOf& levelIndex);
std::vector<uint16_t> TriggerSectorWords(const TEditorTrigger& trigger,
                                         const LevelIndexOf& levelIndex);

// Adds every trigger's words to its sector. Throws BuildError naming the trigger and its field
// for a trigger the level's layout cannot hold (a kind or action it lacks, an object that is
// gone), CapacityError past the level's floor-data words.
void AddTriggerFloorData(const TEditorProject& project, TLevelData& level);

} // namespace morvane
