#pragma once

#include "document/project.h"
#include "document/scene_rooms.h"
#include "view/drawn_room_key.h"
#include "view/gl_figure.h"
#include "view/object_drawing.h"
#include "view/scene_geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

class TGLViewport;

// The room renderer: the current room (every sector under its own name for picking) and one
// neighbour room (under a name of its own), drawn from the document in one of three modes.
//
// The scene keeps, for the current room and for the neighbour, the geometry it drew and a
// display list of it, together with a copy of what they were made from (the room's record and
// the mode); a room is drawn anew only when that differs from the document, so an edit
// recompiles the edited room alone and a camera move or a pick recompiles nothing. In the
// lists the faces keep their drawing order in runs that share a texture (bound once a run)
// with their texture coordinates given at the corners; the picture is the same, pixel for
// pixel, as the one drawn face by face.
class RoomScene : public GLFigure, public SceneRooms {
public:
    RoomScene() { Create(); }

    TEditorProject* Project = nullptr;
    int32_t SolidTexture = 0;
    RenderMode Mode = RenderMode::Wireframe;
    bool TexturesLoaded = false;
    bool HidePortals = false;
    // False draws face by face in immediate mode, as the selection pass does (to compare).
    bool DrawFromLists = true;
    // The objects of the drawn rooms are drawn with the base level's models (markers where it
    // has none, or while Models is null); the selected one (its index in the layer, -1 for
    // none) in a yellow box. The library must outlive the scene's use of it; after it is built
    // again the next redraw compiles its lists anew.
    const ModelLibrary* Models = nullptr;
    int SelectedObject = -1;
    bool ShowObjects = true;
    // Whether a pick offers the objects before the rooms (the object tool); false picks the
    // sectors through them (the sector tool).
    bool ObjectsPickable = true;
    // The box overlay: tints of the drawn room's and the neighbour's sectors, laid over their
    // floors after everything else (never picked); a room without an entry shows none. The
    // next redraw shows a change.
    std::vector<RoomTints> Tints;

    void Draw() override;
    void Create() override;

    static void SetFaceTexGen(int face);
    // Fits the figure's box and position to the drawn room, its centre at the origin.
    void FrameCurrentRoom();

    // Compiles the display lists of the rooms that changed since they were compiled. Must run
    // outside any display list (the viewport calls it before compiling its own); `context`
    // tells GL contexts apart, the lists of another one are made anew.
    void PrepareLists(uint64_t context);
    // Deletes the lists made in `context` (which must be current); the next PrepareLists makes
    // them again.
    void ReleaseLists(uint64_t context);
    // The name under a pick region: clipFromScene is the viewport's transform down to the
    // figure, the pick region's matrix included.
    int32_t PickName(const Mat4& clipFromScene);

    // How many room lists have been compiled (the current room's and the neighbour's).
    int ListCompilations() const { return listCompilations_; }
    // How many times the objects' model lists have been compiled.
    int ObjectListCompilations() const { return objects_.Compilations(); }

    // The indices in the layer of the objects drawn (those of the drawn room and the neighbour).
    std::vector<int> DrawnObjects() const;
    // The object under a pick region (the nearest one whose drawn box is hit), or -1; the pick
    // (PickName) offers the objects before the rooms.
    int PickObject(const Mat4& clipFromScene) const;

    // The texts beside the objects drawn as markers (their type numbers: the base level has no
    // model of them), with the window point (pixels from the top left) of the marker's top.
    // clipFromView: the viewport's transform to clip space without a pick region
    // (TGLViewport::ClipTransform()); the view's size in pixels. Points behind the camera are
    // left out.
    struct ObjectLabel {
        int Object;
        std::string Text;
        double WindowX, WindowY;
    };
    std::vector<ObjectLabel> ObjectLabels(const Mat4& clipFromView, int width, int height) const;

private:
    struct CurrentRoomCache {
        DrawnRoomKey Key;
        CurrentRoomDrawing Drawing;
        uint32_t Lists = 0; // the room with its axis marker and grid, then its portal views
        uint64_t ListContext = 0;
        bool ListCompiled = false;
    };
    struct NeighbourCache {
        DrawnRoomKey Key;
        std::vector<SceneQuad> Faces;
        uint32_t List = 0;
        uint64_t ListContext = 0;
        bool ListCompiled = false;
    };

    // Whether anything is drawn: a document, a drawn room among its rooms, a mode that draws,
    // and the textures for the textured mode.
    bool Drawable() const;
    bool NeighbourDrawn() const;
    // Brings the geometry up to date with the document.
    void RefreshGeometry();
    bool ListsCurrent(uint64_t context) const;

    void DrawPlan(RenderMode mode, int room, int neighbour);
    void DrawTints();
    void CompileCurrentRoom(RenderMode mode);
    void CompileNeighbour(RenderMode mode);

    ObjectDrawing objects_;
    CurrentRoomCache current_;
    NeighbourCache neighbour_;
    uint64_t context_ = 0;
    int listCompilations_ = 0;
};

// Makes the scene the viewport's figure: drawn by the paint cycle from its lists, prepared
// before the viewport's own list is compiled, and picked from its geometry.
void ShowScene(TGLViewport& viewport, RoomScene& scene);

} // namespace morvane
