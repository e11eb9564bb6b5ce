#pragma once

#include "document/project.h"

#include <string>

namespace morvane::demo {

// A small project on the demo base level, made with the editor's own operations: a hall with a
// raised dais, ramps and a pillar, a water room beside it joined by wall portals, and a gallery
// above it joined through the ceiling, with portal views and textures of the demo level.
void MakeDemoProject(TEditorProject& project, const std::string& baseLevel,
                     const std::string& outputLevel);

} // namespace morvane::demo
