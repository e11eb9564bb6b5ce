#pragma once

namespace morvane {

// Shown by the about box and the keys guide.
inline constexpr const char* ProgramVersion = "0.1.0";
inline constexpr const char* ProgramDate = "December 2026";

} // namespace morvane
