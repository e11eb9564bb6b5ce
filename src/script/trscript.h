#pragma once

#include "io/read_result.h"
#include "level/level_data.h"
#include "script/script.h"

#include <cstdint>
#include <string>

namespace morvane {

struct ScriptCommand {
    const char* Name;
    int Group; // 0 top level, 1 inside a Start_Trigger block, 2 inside an action list
    int Code;
};

// The command table; index of the first row whose name equals `name` ignoring case, or -1.
int FindScriptCommand(const std::string& name);
const ScriptCommand& ScriptCommandAt(int index);

// A script larger than this is refused before it is read.
inline constexpr uint64_t MaxScriptFileBytes = 32u << 20;

// Compiles a trigger script into the level: triggers and kill zones into the sectors' floor
// data, items, cameras, shared floor data and alternate rooms. Returns Done at the end of the
// file, LineError at the first error ("Error at Line N:" and ScriptErrorText) with
// ScriptErrorText set and ScriptLineNumber on the offending line. Throws IoError naming the file
// when it cannot be read (also when it is not a regular file or larger than MaxScriptFileBytes)
// and for a parameter that is not an integer, naming the line: Scripting file "X" refused: line
// 12: 'a' is not a valid integer value.
ReadResult CompileTriggerScript(const std::string& fileName, TLevelData& level,
                                TScriptState& state);

// Gives the sector a fresh copy of its floor-data entry list at the end of the floor data (first
// words without their end mark) followed by the new words. Returns false, changing nothing, when
// the floor data cannot hold them.
bool AppendSectorFloorData(TLevelData& level, int room, int x, int z, const uint8_t* bytes,
                           int byteCount);

} // namespace morvane
