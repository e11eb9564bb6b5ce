#pragma once

#include "level/level_data.h"

#include <cstdint>

namespace morvane::demo {

struct DemoLevelOptions {
    int TextilePages = 3; // at least 3: the pages that carry the demo's object textures
    int RoomCount = 1;    // 1..200 rooms of the same shape, side by side
};

// Fills the record with a small, complete level of the given layout (FormatTR1 .. FormatTR3):
// generated texture pages (bricks, stone, wood, grass, water, metal ...), palette and light
// map, object textures of 64x64, 64x32, 64x16 and other sizes (some three-cornered), rooms with
// walls, floor and ceiling, boxes, overlaps and zones, Lara and one pickup, a mesh, an
// animation, a static mesh, a sprite, a camera, a sound source and a sound. The record's
// buffers are replaced.
void MakeDemoLevel(TLevelData& level, int32_t kind, const DemoLevelOptions& options = {});

} // namespace morvane::demo
