#pragma once

#include "document/project.h"
#include "level/level_data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

// One quadrilateral of a room mesh: corners x, y, z (x and z relative to the room's corner, y an
// absolute world height growing downwards), a texture and a light.
struct TRoomFace {
    int16_t Corners[4][3];
    uint16_t Texture;
    uint8_t Light;
};

inline constexpr int MaxFaces = 6000;

// The working list of faces of one room, in emission order; faces beyond 6000 are dropped.
struct FaceList {
    std::vector<TRoomFace> Faces;
    void Clear() { Faces.clear(); }
};

void AddFace(FaceList& list, const int16_t (&corners)[4][3], uint16_t texture, uint8_t light);

// The height in clicks counted upwards of a level height byte (127 - b, unsigned 8 bits).
constexpr uint8_t ClickLevel(int8_t heightByte) {
    return static_cast<uint8_t>(127 - static_cast<uint8_t>(heightByte));
}

// Walks the level room's sector grid (heights already in clicks) with the project sectors'
// shapes, textures and lights (the caller's working copy, shape 0 already replaced by 1) and
// appends the floor and ceiling blocks' visible faces.
void BuildRoomFaces(FaceList& list, const TLevelRoom& room, const TEditorSector* sectors,
                    bool doubleSidedCeiling);

// The shapes of a room's sectors, kept apart from the sectors so that the build need not copy
// the project's sectors to change their shapes.
struct SectorShapes {
    uint8_t Floor[MaxRoomSectors];
    uint8_t Ceiling[MaxRoomSectors];
};

// The same with the shapes given apart; the sectors give only textures and lights.
void BuildRoomFaces(FaceList& list, const TLevelRoom& room, const TEditorSector* sectors,
                    const SectorShapes& shapes, bool doubleSidedCeiling);

// What FacesToRoomMesh makes of the faces, counted also beyond the room's capacities.
struct RoomMeshCounts {
    int Vertices = 0;
    int Rectangles = 0;
    int Triangles = 0;
};
RoomMeshCounts CountRoomMesh(const FaceList& list);

// Turns the faces into the room's vertices (equal positions merged, lights averaged in face
// order), rectangles and triangles (a face with a repeated corner). Returns false, leaving the
// room's mesh empty, when the room cannot hold the result; `problem` then says what overflowed.
bool FacesToRoomMesh(const FaceList& list, TLevelRoom& room, std::string& problem);

} // namespace morvane
