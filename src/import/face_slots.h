#pragma once

#include "level/level_data.h"
#include "levelbuild/room_geometry.h"

#include <array>
#include <cstdint>
#include <vector>

namespace morvane {

// The ten surface slots of a sector: 0-4 the floor surface's texture slots 1-5 (walls toward
// row z - 1 and z + 1, the floor face, walls toward column x - 1 and x + 1), 5-9 the ceiling
// surface's.
inline constexpr int SlotCount = 10;
inline constexpr int SlotsPerSurface = 5;
inline constexpr int FaceSlot = 2; // texture slot 3 of a surface
// The light slot that goes with each texture slot of a surface.
inline constexpr int LightSlotOf[SlotsPerSurface] = {0, 1, 4, 2, 3};

struct SlotFace {
    bool Built = false; // the sector's heights and shapes give the slot a face
    bool Found = false; // and the level draws a face there
    int32_t Texture = -1;
    int Light = 0; // the average light of the found faces' corners
};

using SectorSlots = std::array<SlotFace, SlotCount>;

struct RoomFaceSlots {
    std::vector<SectorSlots> Sectors; // by sector index from 0, in project numbering
    int LevelFaces = 0;               // faces of the level room
    int UsedFaces = 0;                // of them, those that gave a slot its texture
};

// Working storage of the matching, made once and reused from room to room.
struct FaceMatchScratch {
    std::vector<TEditorSector> TaggedSectors = std::vector<TEditorSector>(MaxRoomSectors);
    FaceList Faces;
};

// Finds which of the level room's faces belong to which sector slot. The grid (sizes and heights
// in clicks, as the build writes them) and the shapes are the project room's; the room geometry
// builder is run on them with every slot marked, and each face it makes is looked up among the
// level's faces: first by its corners (heights compared by the click, so that a floor drawn one
// unit above its height still matches), then, for a face the level does not have as such, the
// level face of the same side and facing that overlaps it most.
RoomFaceSlots MatchFacesToSlots(const TLevelRoom& levelRoom, const TLevelRoom& grid,
                                const SectorShapes& shapes, bool doubleSidedCeiling,
                                FaceMatchScratch& scratch);

} // namespace morvane
