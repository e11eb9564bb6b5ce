#include "view/room_scene.h"

#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "view/gl_viewport.h"
#include "view/object_placement.h"

#include <GL/gl.h>

#include <algorithm>

namespace morvane {

namespace {

// Outlined polygons; while picking they are filled so that a point inside a face hits it, as
// the selection of a clipped polygon does.
void SetOutlineMode() {
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    glPolygonMode(GL_FRONT_AND_BACK, renderMode == GL_SELECT ? GL_FILL : GL_LINE);
}

void SetColor(uint32_t color) {
    glColor3ub(static_cast<GLubyte>(color & 0xFF), static_cast<GLubyte>(color >> 8 & 0xFF),
               static_cast<GLubyte>(color >> 16 & 0xFF));
}

void SetFilledAndTextured() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
}

// The state each mode draws its rooms in.
void SetUpMode(RenderMode mode, int32_t solidTexture) {
    if (mode == RenderMode::Wireframe) {
        SetOutlineMode();
        glDisable(GL_TEXTURE_2D);
        glShadeModel(GL_FLAT);
        return;
    }
    SetFilledAndTextured();
    if (mode == RenderMode::Solid) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(solidTexture & 0xFFFF));
    }
}

void SetPortalViewState() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_FLAT);
    glColor3f(255, 255, 0); // yellow once GL clamps it
}

constexpr GLubyte TintAlpha = 128; // the box overlay's tints let half the floor through

void SetGridColor() {
    glColor3f(0, 0, 255); // blue once GL clamps it
}

void Corners(const SceneQuad& quad) {
    for (const auto& corner : quad.Corners) {
        glVertex3fv(corner);
    }
}

void DrawAxisMarker(const CurrentRoomDrawing& drawing) {
    glBegin(GL_LINES);
    for (const SceneLine& line : drawing.Axis) {
        SetColor(line.Color);
        glVertex3fv(line.Ends[0]);
        glVertex3fv(line.Ends[1]);
    }
    glEnd();
}

// One face as a box of its own: colour, texture, texture-coordinate planes, then the quad.
void DrawFace(const SceneQuad& quad) {
    SetColor(quad.Color);
    glBindTexture(GL_TEXTURE_2D, quad.Texture);
    RoomScene::SetFaceTexGen(quad.Planes);
    glBegin(GL_QUADS);
    Corners(quad);
    glEnd();
}

void DrawFaces(const std::vector<SceneQuad>& faces) {
    int32_t loaded = -1;
    for (const SceneQuad& quad : faces) {
        if (quad.Name != loaded) {
            glLoadName(static_cast<GLuint>(quad.Name));
            loaded = quad.Name;
        }
        DrawFace(quad);
    }
}

// The faces for a display list, in their drawing order: in the wireframe mode (no texturing) in
// one run; otherwise in one run for each stretch of faces with the same texture, which is bound
// once for it, with the texture coordinates that the face-by-face drawing generates from the
// planes given at each corner. The order is kept because faces that overlap in one plane (a
// floor above its ceiling, rooms that overlap) show the one drawn first.
void CompileFaces(RenderMode mode, const std::vector<SceneQuad>& faces) {
    if (faces.empty()) {
        return;
    }
    if (mode == RenderMode::Wireframe) {
        glBegin(GL_QUADS);
        for (const SceneQuad& quad : faces) {
            SetColor(quad.Color);
            Corners(quad);
        }
        glEnd();
        return;
    }
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    for (std::size_t i = 0; i < faces.size();) {
        const uint16_t texture = faces[i].Texture;
        glBindTexture(GL_TEXTURE_2D, texture);
        glBegin(GL_QUADS);
        for (; i < faces.size() && faces[i].Texture == texture; ++i) {
            const SceneQuad& quad = faces[i];
            SetColor(quad.Color);
            for (const auto& corner : quad.Corners) {
                const std::array<float, 2> st = FaceTexCoord(quad.Planes, corner);
                glTexCoord2f(st[0], st[1]);
                glVertex3fv(corner);
            }
        }
        glEnd();
    }
}

} // namespace

void RoomScene::Create() {
    GLFigure::Create();
    Project = nullptr;
    DrawnRoom = 1;
    NeighbourRoom = 1;
    SolidTexture = 0;
    Mode = RenderMode::Wireframe;
    HeightSelector = 0;
    TexturesLoaded = false;
    HidePortals = false;
    SelectedObject = -1;
    ShowObjects = true;
    Tints.clear();
}

bool RoomScene::Drawable() const {
    if (Project == nullptr || Project->RoomCount < DrawnRoom || DrawnRoom < 1 ||
        DrawnRoom > MaxRooms) {
        return false;
    }
    return Mode == RenderMode::Wireframe || Mode == RenderMode::Solid ||
           (Mode == RenderMode::Textured && TexturesLoaded);
}

bool RoomScene::NeighbourDrawn() const {
    return NeighbourRoom != DrawnRoom && NeighbourRoom >= 1 &&
           NeighbourRoom <= std::min<int>(Project->RoomCount, MaxRooms);
}

void RoomScene::RefreshGeometry() {
    const TEditorRoom& room = Project->Room(DrawnRoom);
    if (!current_.Key.Matches(room, Mode, SolidTexture)) {
        BuildCurrentRoomDrawing(current_.Drawing, Mode, room, SolidTexture);
        current_.Key.Take(room, Mode, SolidTexture);
        current_.ListCompiled = false;
    }
    if (NeighbourDrawn()) {
        const TEditorRoom& other = Project->Room(NeighbourRoom);
        if (!neighbour_.Key.Matches(other, Mode, SolidTexture)) {
            neighbour_.Faces.clear();
            AppendRoomPasses(neighbour_.Faces, Mode, other, false, SolidTexture);
            neighbour_.Key.Take(other, Mode, SolidTexture);
            neighbour_.ListCompiled = false;
        }
    }
}

bool RoomScene::ListsCurrent(uint64_t context) const {
    const bool current = current_.ListCompiled && current_.ListContext == context &&
                         current_.Key.Matches(Project->Room(DrawnRoom), Mode, SolidTexture);
    if (!current || !NeighbourDrawn()) {
        return current;
    }
    return neighbour_.ListCompiled && neighbour_.ListContext == context &&
           neighbour_.Key.Matches(Project->Room(NeighbourRoom), Mode, SolidTexture);
}

void RoomScene::PrepareLists(uint64_t context) {
    context_ = context;
    if (!Drawable()) {
        return;
    }
    RefreshGeometry();
    if (!current_.ListCompiled || current_.ListContext != context) {
        if (current_.ListContext != context) {
            current_.Lists = glGenLists(2);
            current_.ListContext = context;
        }
        CompileCurrentRoom(Mode);
        current_.ListCompiled = true;
        ++listCompilations_;
    }
    if (NeighbourDrawn() && (!neighbour_.ListCompiled || neighbour_.ListContext != context)) {
        if (neighbour_.ListContext != context) {
            neighbour_.List = glGenLists(1);
            neighbour_.ListContext = context;
        }
        CompileNeighbour(Mode);
        neighbour_.ListCompiled = true;
        ++listCompilations_;
    }
    if (ShowObjects && Project->Objects.Count > 0) {
        objects_.Prepare(context, Mode, Models);
    }
}

void RoomScene::ReleaseLists(uint64_t context) {
    if (current_.ListContext == context && current_.Lists != 0) {
        glDeleteLists(current_.Lists, 2);
    }
    if (neighbour_.ListContext == context && neighbour_.List != 0) {
        glDeleteLists(neighbour_.List, 1);
    }
    objects_.Release(context);
    current_.Lists = neighbour_.List = 0;
    current_.ListContext = neighbour_.ListContext = 0;
    current_.ListCompiled = neighbour_.ListCompiled = false;
}

void RoomScene::CompileCurrentRoom(RenderMode mode) {
    const CurrentRoomDrawing& drawing = current_.Drawing;
    glNewList(current_.Lists, GL_COMPILE);
    SetUpMode(mode, SolidTexture);
    CompileFaces(mode, drawing.Faces);
    if (mode != RenderMode::Wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDisable(GL_TEXTURE_2D);
    }
    DrawAxisMarker(drawing);
    SetGridColor();
    glBegin(GL_QUADS);
    for (const SceneQuad& quad : drawing.Grid) {
        Corners(quad);
    }
    glEnd();
    if (mode != RenderMode::Wireframe) {
        SetFilledAndTextured();
    }
    glEndList();

    glNewList(current_.Lists + 1, GL_COMPILE);
    SetPortalViewState();
    glBegin(GL_QUADS);
    for (const SceneQuad& quad : drawing.PortalViews) {
        Corners(quad);
    }
    glEnd();
    glEndList();
}

void RoomScene::CompileNeighbour(RenderMode mode) {
    glNewList(neighbour_.List, GL_COMPILE);
    CompileFaces(mode, neighbour_.Faces);
    glEndList();
}

void RoomScene::Draw() {
    if (!Drawable()) {
        return;
    }
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    if (!DrawFromLists || renderMode != GL_RENDER || !ListsCurrent(context_)) {
        DrawPlan(Mode, DrawnRoom, NeighbourRoom);
        if (renderMode == GL_RENDER) {
            DrawTints();
        }
        return;
    }
    ClampHeightSelector(*this, *Project);
    glCallList(current_.Lists);
    if (NeighbourDrawn()) {
        glCallList(neighbour_.List);
    }
    objects_.Draw(*Project, Models, DrawnObjects(), SelectedObject, Mode);
    if (!HidePortals) {
        glCallList(current_.Lists + 1);
    }
    DrawTints();
}

// See-through, over the floors they tint (pulled a little towards the eye so that they do not
// flicker with them), hidden by what stands in front; they hide nothing themselves.
void RoomScene::DrawTints() {
    std::vector<SceneQuad> quads;
    for (const RoomTints& tints : Tints) {
        const bool drawn =
            tints.Room == DrawnRoom || (NeighbourDrawn() && tints.Room == NeighbourRoom);
        if (drawn && tints.Room >= 1 && tints.Room <= std::min<int>(Project->RoomCount, MaxRooms)) {
            AppendFloorTints(quads, Project->Room(tints.Room), tints.Colors);
        }
    }
    if (quads.empty()) {
        return;
    }
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT |
                 GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The frame stays opaque: a window grab or a compositor reads its alpha.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1, -2);
    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
    for (const SceneQuad& quad : quads) {
        glColor4ub(static_cast<GLubyte>(quad.Color & 0xFF),
                   static_cast<GLubyte>(quad.Color >> 8 & 0xFF),
                   static_cast<GLubyte>(quad.Color >> 16 & 0xFF), TintAlpha);
        Corners(quad);
    }
    glEnd();
    glPopAttrib();
}

std::vector<int> RoomScene::DrawnObjects() const {
    if (!ShowObjects || Project == nullptr || Project->Objects.Count == 0) {
        return {};
    }
    return ObjectsOfRooms(*Project, DrawnRoom, NeighbourDrawn() ? NeighbourRoom : DrawnRoom);
}

int RoomScene::PickObject(const Mat4& clipFromScene) const {
    if (!Drawable()) {
        return -1;
    }
    return PickObjects(clipFromScene * PlacementMatrix(Position, Scale, Rotation), *Project, Models,
                       DrawnObjects());
}

std::vector<RoomScene::ObjectLabel> RoomScene::ObjectLabels(const Mat4& clipFromView, int width,
                                                            int height) const {
    std::vector<ObjectLabel> labels;
    if (!Drawable()) {
        return labels;
    }
    const Mat4 clipFromScene = clipFromView * PlacementMatrix(Position, Scale, Rotation);
    for (const int index : DrawnObjects()) {
        const TEditorObject& object = Project->Objects.Objects[index];
        std::string text = MarkerLabelOf(Models, object);
        if (text.empty()) {
            continue;
        }
        const ObjectBox box = ObjectDrawnBox(Models, object);
        const Mat4 m = clipFromScene * ObjectSceneTransform(*Project, object);
        const auto clip = Transform(m, 0, box.Min[1], 0);
        if (clip[3] <= 0) {
            continue;
        }
        labels.push_back({index, std::move(text), (clip[0] / clip[3] + 1) / 2 * width,
                          (1 - clip[1] / clip[3]) / 2 * height});
    }
    return labels;
}

int32_t RoomScene::PickName(const Mat4& clipFromScene) {
    if (!Drawable()) {
        return NoPickName;
    }
    if (const int object = ObjectsPickable ? PickObject(clipFromScene) : -1; object >= 0) {
        return PickNameOfObject(object);
    }
    ClampHeightSelector(*this, *Project);
    RefreshGeometry();
    SelectionPick pick(clipFromScene * PlacementMatrix(Position, Scale, Rotation));
    PickScene(pick, current_.Drawing, NeighbourDrawn() ? &neighbour_.Faces : nullptr, !HidePortals);
    return pick.Name();
}

void RoomScene::SetFaceTexGen(int face) {
    glEnable(GL_TEXTURE_GEN_S);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, TexturePlaneS[face]);
    glEnable(GL_TEXTURE_GEN_T);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, TexturePlaneT[face]);
}

// The drawing plan face by face in immediate mode, each sector under its name: what the
// selection pass draws, and the picture the display lists must match.
void RoomScene::DrawPlan(RenderMode mode, int r, int m) {
    if (mode == RenderMode::Textured && !TexturesLoaded) {
        return;
    }
    CurrentRoomDrawing drawing;
    BuildCurrentRoomDrawing(drawing, mode, Project->Room(r), SolidTexture);
    SetUpMode(mode, SolidTexture);
    DrawFaces(drawing.Faces);
    if (mode != RenderMode::Wireframe) {
        SetOutlineMode();
        glDisable(GL_TEXTURE_2D);
    }
    glLoadName(static_cast<GLuint>(drawing.AxisName));
    DrawAxisMarker(drawing);
    if (mode == RenderMode::Wireframe) {
        SetOutlineMode();
        glDisable(GL_TEXTURE_2D);
    }
    ClampHeightSelector(*this, *Project);
    SetGridColor();
    for (std::size_t i = 0; i + 1 < drawing.Grid.size(); i += 2) {
        glLoadName(static_cast<GLuint>(drawing.Grid[i].Name));
        glBegin(GL_QUADS);
        Corners(drawing.Grid[i]);
        Corners(drawing.Grid[i + 1]);
        glEnd();
    }
    if (mode != RenderMode::Wireframe) {
        SetFilledAndTextured();
    }
    if (m != r && m >= 1 && m <= std::min<int>(Project->RoomCount, MaxRooms)) {
        std::vector<SceneQuad> neighbour;
        AppendRoomPasses(neighbour, mode, Project->Room(m), false, SolidTexture);
        glLoadName(NeighbourRoomPickName);
        DrawFaces(neighbour);
    }
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    if (renderMode != GL_SELECT || ObjectsPickable) {
        objects_.Draw(*Project, Models, DrawnObjects(), SelectedObject, mode);
    }
    if (!HidePortals) {
        SetPortalViewState();
        for (const SceneQuad& quad : drawing.PortalViews) {
            glBegin(GL_QUADS);
            Corners(quad);
            glEnd();
        }
    }
}

void RoomScene::FrameCurrentRoom() {
    if (Project == nullptr || DrawnRoom < 1 || DrawnRoom > MaxRooms) {
        return;
    }
    const TEditorRoom& room = Project->Room(DrawnRoom);
    BoundsMin = {double(room.PosX), double(room.PosY), double(-room.PosZ - room.ZSectors)};
    BoundsMax = {double(room.PosX + room.XSectors), double(room.PosY + room.Height),
                 double(-room.PosZ)};
    Position = {-static_cast<float>((BoundsMin.X + BoundsMax.X) / 2),
                -static_cast<float>((BoundsMin.Y + BoundsMax.Y) / 2),
                -static_cast<float>((BoundsMin.Z + BoundsMax.Z) / 2)};
}

void ShowScene(TGLViewport& viewport, RoomScene& scene) {
    ViewFigureHooks hooks;
    hooks.Draw = [&scene] { scene.Render(); };
    hooks.Prepare = [&viewport, &scene] { scene.PrepareLists(viewport.ContextSerial()); };
    hooks.Pick = [&scene](const Mat4& clip) { return scene.PickName(clip); };
    hooks.Release = [&viewport, &scene] { scene.ReleaseLists(viewport.ContextSerial()); };
    viewport.SetFigure(std::move(hooks));
}

} // namespace morvane
