#pragma once

#include "levelbuild/player_placement.h"
#include "document/project.h"
#include "level/level_check.h"
#include "level/level_data.h"

#include <vector>

namespace morvane {

// What the build reports about the project before it writes the level (as warnings: the level is
// still written). Rooms are named by number and name, sectors by column and row, views by their
// number; each text says what to do.

// Wall portals and floor or ceiling links whose other side does not answer: the room beside has
// no wall portal back where the rooms overlap, the room below (above) has no link back, or the
// two rooms do not meet at the link.
std::vector<LevelFinding> CheckOpenings(const TEditorProject& project);

// Portal views that do not lie on a doorway to their room (on its plane, covering it), and views
// whose room has no view back.
std::vector<LevelFinding> CheckPortalViews(const TEditorProject& project);

// Lara not at her usual spot, or in a room without an open sector.
std::vector<LevelFinding> CheckPlayerPlacement(const TEditorProject& project,
                                               const PlayerPlacement& placed);

// Built rooms that use 90 % or more of a room's vertices, rectangles or triangles.
std::vector<LevelFinding> CheckRoomCapacities(const TEditorProject& project,
                                              const TLevelData& level);

// Sectors whose textures are beyond the object textures of the level: per room, the first such
// sector and how many there are. (The faces built with them are errors of the level check; a
// texture on a side that makes no face does no harm, so this is a warning.)
std::vector<LevelFinding> CheckSectorTextures(const TEditorProject& project,
                                              const TLevelData& level);

} // namespace morvane
