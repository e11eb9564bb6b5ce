#pragma once

#include "document/project.h"

#include <random>

namespace morvane::test {

// A project made as a user makes one, with the editor's own operations only: rooms added (and
// sometimes cloned or sent beside another), sectors clicked with random shapes, heights,
// replication, textures and room links above, below and beside, portal views added and placed.
// Rooms stay below level 57, so that no floor reaches the game's wall height. Texture numbers are
// drawn from 0 (no face) to textureCount, as the tool bar shows them.
void MakeRandomProject(TEditorProject& project, std::mt19937& random, int textureCount);

} // namespace morvane::test
