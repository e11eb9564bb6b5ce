#pragma once

#include "document/project.h"
#include "io/read_result.h"
#include "level/level_check.h"
#include "level/level_data.h"
#include "script/script.h"

#include <string>
#include <vector>

namespace morvane {

// The file names a build takes from the "Build Level File" dialog, as typed.
struct BuildNames {
    std::string BaseLevel;
    std::string OutputLevel;
    std::string ItemsTable;
    std::string MeshesFile;
    std::string ScriptFile;
};

struct BuildResult {
    std::vector<std::string> Messages; // what the user is shown, in order
    bool Written = false;              // the level file was written
    bool BaseLevelRead = false;        // the base level was (re-)read: reload the textures
    // What the checks before writing found that does not break the level (each shown with
    // FormatFinding); the level is written all the same. Errors are in Messages.
    std::vector<LevelFinding> Warnings;
    // Once written: "Level written: FILE — N rooms, V vertices, B boxes, O overlap words,
    // F floor-data words, W warnings".
    std::string Report;
};

// Builds the project onto the base level and writes the level file. The base level is read
// only when its name differs from the one last read into the record (case-sensitive), so a
// record keeps what earlier builds left in it. The floor-data file is the program's data file
// found by FindProgramDataFile from programFolder (the executable's folder).
// Nothing is written when a capacity of the level would be exceeded, when a side file is
// refused or a script parameter is not an integer; the messages then say why. Lara starts in
// the current room (see PlacePlayer). Before writing, the project and the finished level are
// checked (CheckOpenings, CheckPortalViews, CheckPlayerPlacement, CheckRoomCapacities,
// CheckSectorTextures, CheckLevel): warnings go to Warnings; the errors (what would break the
// level in the game) go into one message, each naming its place, and nothing is written. An
// items table, meshes file or script that brings errors into the level is taken back out
// ("... it was not merged"): the level is built again without it.
BuildResult BuildLevel(const TEditorProject& project, TLevelData& level, const BuildNames& names,
                       const std::string& programFolder, TScriptState& script);

// "Open Base": reads a level for its textures, as ReadLevelFile does, with the messages that
// name it as the base level (Base Level file X not found, ... is not a level of the supported
// games).
ReadResult OpenBaseLevel(TLevelData& level, const std::string& fileName);

inline constexpr const char* FloorDataFileName = "floor.dat";

} // namespace morvane
