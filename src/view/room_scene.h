#pragma once

#include "document/project.h"
#include "document/scene_rooms.h"
#include "view/gl_figure.h"

#include <cstdint>

namespace morvane {

inline constexpr uint8_t RenderWireframe = 0;
inline constexpr uint8_t RenderSolid = 3;
inline constexpr uint8_t RenderTextured = 4;

// One column of a sector drawn as a box standing on (or hanging from) its base level.
struct TSectorBox {
    bool Hanging = false;
    double Heights[8] = {};        // h0, h1 wall 0; h2, h3 wall 1; h4, h5 wall 2; h6, h7 wall 3
    uint16_t FaceTextures[5] = {}; // walls 0-3 and the horizontal face; 0 leaves a face out
    uint32_t Color = 0;            // red in the lowest byte, then green, then blue
};

// Whether a sector's horizontal face is drawn in a floor or ceiling surface pass: in the
// wireframe mode when its floor is below its ceiling, in the other modes unless the sector is
// closed (floor meets ceiling, the pass's own shape flat).
bool HorizontalFaceShown(uint8_t mode, const TEditorSector& sector, const TGameSector& game,
                         int passShape);

// The room renderer: the current room (every sector under its own name for picking) and one
// neighbour room (under the name 999), drawn from the document in one of three modes.
class RoomScene : public GLFigure, public SceneRooms {
public:
    RoomScene() { Create(); }

    TEditorProject* Project = nullptr;
    int32_t SolidTexture = 0;
    uint8_t RenderMode = RenderWireframe;
    bool TexturesLoaded = false;
    bool HidePortals = false;

    void Draw() override;
    void Create() override;

    void DrawWireframe(int room, int neighbour) { DrawPlan(RenderWireframe, room, neighbour); }
    void DrawSolid(int room, int neighbour) { DrawPlan(RenderSolid, room, neighbour); }
    void DrawTextured(int room, int neighbour) { DrawPlan(RenderTextured, room, neighbour); }
    static void DrawSectorBox(const TSectorBox& box, double x, double y, double z);
    static void SetFaceTexGen(int face);
    // Fits the figure's box and position to the drawn room, its centre at the origin.
    void FrameCurrentRoom();

private:
    void DrawPlan(uint8_t mode, int room, int neighbour);
    void DrawRoomPasses(uint8_t mode, const TEditorRoom& room, bool current);
    void DrawPortalViews(const TEditorRoom& room);
};

} // namespace morvane
