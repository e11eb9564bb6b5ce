#pragma once

#include "version.h"

namespace morvane {

// Shown by the about box and the keys guide; the version comes from the project's one source.
inline constexpr const char* ProgramVersion = MorvaneVersion;
inline constexpr const char* ProgramDate = "December 2026";

} // namespace morvane
