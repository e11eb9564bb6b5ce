#pragma once

#include <string>

namespace morvane {

// The folder of the running executable, where its data files ("floor.dat", "solid.bmp") and
// the recent-files list are kept.
std::string ProgramFolder();

} // namespace morvane
