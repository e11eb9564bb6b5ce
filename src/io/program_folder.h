#pragma once

#include <string>
#include <vector>

namespace morvane {

// The folder of the running executable.
std::string ProgramFolder();

// The folders where the program's data files ("floor.dat", "solid.bmp") are looked for, in
// order: the executable's own folder (the build tree copies them there), then the data folder
// of an installed program under the same prefix (<prefix>/share/morvane3d beside <prefix>/bin).
std::vector<std::string> ProgramDataFolders(const std::string& programFolder);

// The path of the data file in the first of ProgramDataFolders that holds it. When none does,
// throws IoError "File not found in A or B", naming every folder looked in.
std::string FindProgramDataFile(const std::string& name, const std::string& programFolder);

} // namespace morvane
