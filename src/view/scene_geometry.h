#pragma once

#include "document/project.h"
#include "view/pick_names.h"
#include "view/render_mode.h"
#include "view/selection_pick.h"

#include <array>
#include <cstdint>
#include <vector>

namespace morvane {

// What the room scene draws, as plain data: the quads and lines in the order GL is given them,
// each with the texture, colour and name it is drawn and picked with. The scene draws from it
// and picks from it, so that the picture and the pick come from the same geometry.

// One column of a sector drawn as a box standing on (or hanging from) its base level.
struct TSectorBox {
    bool Hanging = false;
    double Heights[8] = {};        // h0, h1 wall 0; h2, h3 wall 1; h4, h5 wall 2; h6, h7 wall 3
    uint16_t FaceTextures[5] = {}; // walls 0-3 and the horizontal face; 0 leaves a face out
    uint32_t Color = 0;            // red in the lowest byte, then green, then blue
    // The solid mode darkens the walls by the way they face, so that floors, ceilings and walls
    // can be told apart; the other modes draw every face in Color.
    bool ShadeByFacing = false;
};

// A face's colour when its box shades by facing (faces 0-3 the walls, 4 a standing box's top,
// 5 a hanging box's bottom): tops as they are, bottoms a little darker, walls across the rows
// darker still and walls across the columns darkest.
uint32_t FacingShade(uint32_t color, int face);

// Whether a sector's horizontal face is drawn in a floor or ceiling surface pass: in the
// wireframe mode when its floor is below its ceiling, in the other modes unless the sector is
// closed (floor meets ceiling, the pass's own shape flat).
bool HorizontalFaceShown(RenderMode mode, const TEditorSector& sector, const TGameSector& game,
                         int passShape);

// Texture-coordinate planes (s, t) of the six kinds of face, generated from object coordinates:
// walls 0-3, the top of a standing box and the bottom of a hanging one. A texture repeats once
// a world unit.
inline constexpr float TexturePlaneS[6][4] = {{1, 0, 0, 0},  {-1, 0, 0, 0}, {0, 0, 1, 0},
                                              {0, 0, -1, 0}, {1, 0, 0, 0},  {1, 0, 0, 0}};
inline constexpr float TexturePlaneT[6][4] = {{0, -1, 0, 0}, {0, -1, 0, 0}, {0, -1, 0, 0},
                                              {0, -1, 0, 0}, {0, 0, 1, 0},  {0, 0, -1, 0}};

// A quad as GL is given it: corners in drawing order (front faces clockwise), the GL texture
// bound for it (never 0: such faces are left out), its texture-coordinate planes, its colour and
// the name a pick reports for it.
struct SceneQuad {
    float Corners[4][3];
    uint32_t Color;
    int32_t Name;
    uint16_t Texture;
    uint8_t Planes;
};

struct SceneLine {
    float Ends[2][3];
    uint32_t Color;
};

// The texture coordinates that the face's planes generate at one of its corners.
std::array<float, 2> FaceTexCoord(uint8_t planes, const float (&corner)[3]);

// A box's faces in the order wall 0, 1, 2, 3, horizontal face, those with a texture only.
void AppendSectorBox(std::vector<SceneQuad>& quads, const TSectorBox& box, double x, double y,
                     double z, int32_t name);

// The four passes of a room (floor blocks, floor surfaces, ceiling blocks, ceiling surfaces),
// sector by sector. The current room's boxes carry their sector numbers; a neighbour's carry
// its pick name and take the neighbour's colours.
void AppendRoomPasses(std::vector<SceneQuad>& quads, RenderMode mode, const TEditorRoom& room,
                      bool current, int32_t solidTexture);

// The box overlay's tints of a drawn room, as plain data: a colour for each sector (index
// n - 1, red in the lowest byte), laid see-through over the sector's floor; NoSectorTint leaves
// a sector as it is.
inline constexpr uint32_t NoSectorTint = 0xFFFFFFFF;
struct RoomTints {
    int Room = 0; // from 1
    std::vector<uint32_t> Colors;
    bool operator==(const RoomTints&) const = default;
};

// The floor of each tinted sector of a room in its tint: the top face of its floor surface (the
// slope followed), carrying the sector's number. Nothing when the colours are not one for each
// of the room's sectors (the tints of a room before an edit changed its size).
void AppendFloorTints(std::vector<SceneQuad>& quads, const TEditorRoom& room,
                      const std::vector<uint32_t>& colors);

// Everything the scene draws for its current room in one mode: the four passes, the axis
// marker at the room's origin, the sector grid on its bottom (each cell both ways round, so that
// it shows from above and from below) and its portal views. The names are those the selection
// pass reads: the axis marker and the portal views carry the name loaded last before them.
struct CurrentRoomDrawing {
    std::vector<SceneQuad> Faces;
    std::array<SceneLine, 3> Axis{};
    int32_t AxisName = 0;
    std::vector<SceneQuad> Grid;
    int32_t NameAfterGrid = 0;
    std::vector<SceneQuad> PortalViews;
};

void BuildCurrentRoomDrawing(CurrentRoomDrawing& drawing, RenderMode mode, const TEditorRoom& room,
                             int32_t solidTexture);

// Offers the drawn scene to a pick in the order it is drawn: the current room, its axis marker
// and grid, the neighbour's faces (when one is drawn) and the portal views (when shown).
void PickScene(SelectionPick& pick, const CurrentRoomDrawing& current,
               const std::vector<SceneQuad>* neighbour, bool portalViewsShown);

} // namespace morvane
