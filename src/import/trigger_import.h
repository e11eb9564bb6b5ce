#pragma once

// A level's trigger and kill entries made into the project's trigger layer: one trigger a sector,
// its items and cameras named by the objects the import made of them.
#include "document/project.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

// The objects the import made of the level's items and cameras (-1: not imported).
struct ImportedObjectIndexes {
    std::vector<int> OfItem, OfCamera;
};

// What one sector's entry list holds of triggers. Found is false for a list without a trigger or
// kill entry. Problem says why the trigger cannot be held (two trigger entries, a kind or action
// the layer does not have, an item or camera that was not imported, more actions than a trigger
// holds ...); Trigger is then not to be used. Exact is false when the trigger built again would
// not give the level's words back (the kill entry after the trigger, entries after them, item
// words with action bits), which the caller reports.
struct SectorTriggerRead {
    bool Found = false;
    TEditorTrigger Trigger{};
    std::string Problem;
    bool Exact = true;
};
SectorTriggerRead ReadSectorTrigger(const TLevelData& level, uint32_t index,
                                    const ImportedObjectIndexes& objects);

// Reads every sector of the imported rooms (ProjectRoomOf: project room of each level room, 0
// when not imported; the project's grids say which sectors came over) into the project's
// trigger layer, which it replaces. Returns the messages for the report: what came over, and each
// kind of trigger that did not, or not exactly, with the first sector of it.
std::vector<std::string> ImportTriggers(const TLevelData& level,
                                        const std::vector<int>& projectRoomOf,
                                        const ImportedObjectIndexes& objects,
                                        TEditorProject& project);

} // namespace morvane
