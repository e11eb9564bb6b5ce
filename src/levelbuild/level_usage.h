#pragma once

#include "document/project.h"
#include "level/engine_limits.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>

namespace morvane {

// How much of one capacity of the level a project uses. Beyond is set when the build stopped at
// the capacity, so the count past it is not known; Counted is false when the build stopped
// before it counted this one.
struct CapacityUse {
    long Used = 0;
    long Limit = 0;
    bool Beyond = false;
    bool Counted = false;
    // The lower limit of the layout's own engine, when one is reported (Engine.Value 0: none).
    // Passing it is a warning; the build still writes the level.
    EngineLimit Engine;
    int32_t EngineLayout = 0;
};

// Gives the use the limit the engine of the layout puts on the measure, when one is reported.
void AddEngineLimit(CapacityUse& use, int32_t formatKind, EngineMeasure measure);

// The shown state of a use: above 90 % of the capacity, or above the engine's limit, it is high;
// above 100 % of the capacity over. A use without a capacity of the record (Limit 0) is held to
// its engine's limit alone.
enum class UseLevel { Normal, High, Over };
UseLevel LevelOfUse(const CapacityUse& use);
// "1234 / 2000 (62 %)", "more than 5000 / 5000" when the count past the limit is not known, or
// "- / 5000" when it was not counted; with an engine limit ", engine 1500" after it. Without a
// capacity: "13" or "13, engine 32".
std::string UseText(const CapacityUse& use);
// "The first game's engine holds 1500 (source: ...)." or "" without an engine limit.
std::string EngineLimitNote(const CapacityUse& use);

// A room's mesh in the level: vertices, rectangles and triangles against 2000, 3000 and 1250, as
// the build makes it (also past the capacities).
struct RoomUse {
    CapacityUse Vertices, Rectangles, Triangles;
};
// Room `number` (from 1) of the project; baseLoaded as for the build (a base level was read).
// The vertices carry the limit of the given layout's engine.
RoomUse MeasureRoom(const TEditorProject& project, int number, bool baseLoaded,
                    int32_t formatKind = 0);

// What the base level brings: its object textures, sprite textures and texture pages, against
// the record's capacities (the pages have none: they live in buffers of their size) and the
// limits of its layout's engine. Nothing is counted while no base level is read.
struct BaseLevelUse {
    CapacityUse ObjectTextures, SpriteTextures, TexturePages;
};
BaseLevelUse MeasureBaseLevel(const TLevelData& level);

// The whole project in the level: boxes, overlap words and floor-data words against the
// capacities of the level's layout. Problem holds what stops the build before it counts them
// (a link to a room the project does not have, ...).
struct ProjectUse {
    CapacityUse Boxes, OverlapWords, FloorDataWords;
    std::string Problem;
};
// Runs the build's own steps on a scratch level record (its rooms, floor data and boxes are
// overwritten) of the given layout, with the floor data of the program folder.
ProjectUse MeasureProject(const TEditorProject& project, TLevelData& scratch, int32_t formatKind,
                          const std::string& programFolder);

} // namespace morvane
