#include "view/object_drawing.h"

#include "view/object_placement.h"
#include "view/pick_names.h"
#include "view/texture_upload.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

// Colours with red in the lowest byte.
constexpr uint32_t ItemColor = 0x40C0FF;     // items drawn as lines, markers of items: orange
constexpr uint32_t StaticColor = 0xFFFF00;   // statics as lines, their markers: cyan
constexpr uint32_t CameraColor = 0xFFC080;   // light blue
constexpr uint32_t LightColor = 0x00FFFF;    // yellow, for a light without a colour of its own
constexpr uint32_t SelectedColor = 0x00FFFF; // yellow
constexpr uint32_t SpriteSolidColor = 0xC0C0C0;

// The figures compiled after the models, in this order.
enum Figure { MarkerFigure, CameraFigure, LightFigure, BoxFigure, FigureCount };

void SetColor(uint32_t color) {
    glColor3ub(static_cast<GLubyte>(color & 0xFF), static_cast<GLubyte>(color >> 8 & 0xFF),
               static_cast<GLubyte>(color >> 16 & 0xFF));
}

// A face's grey in the solid mode, lighter as it faces up or down, so that the shape reads.
uint32_t SolidShade(const ModelFace& face) {
    const float* a = face.Corners[0];
    const float* b = face.Corners[1];
    const float* c = face.Corners[2];
    const double e[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double f[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double n[3] = {e[1] * f[2] - e[2] * f[1], e[2] * f[0] - e[0] * f[2],
                         e[0] * f[1] - e[1] * f[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    const double facing = length > 0 ? std::abs(n[1]) / length : 0;
    const auto grey = static_cast<uint32_t>(120 + 100 * facing);
    return grey | grey << 8 | grey << 16;
}

void EmitCorners(const ModelFace& face, bool texCoords) {
    for (int c = 0; c < face.CornerCount; ++c) {
        if (texCoords) {
            glTexCoord2fv(face.TexCoords[c]);
        }
        glVertex3fv(face.Corners[c]);
    }
}

// Quads first, then triangles, of the faces that pass `take`.
template <class Take, class Each> void EmitFaces(const ObjectModel& model, Take take, Each each) {
    for (const int corners : {4, 3}) {
        glBegin(corners == 4 ? GL_QUADS : GL_TRIANGLES);
        for (const ModelFace& face : model.Faces) {
            if (face.CornerCount == corners && take(face)) {
                each(face);
            }
        }
        glEnd();
    }
}

// The sprite as two upright pictures crossed at its point, each seen from both sides: the
// scene is kept in a display list that the camera's moves replay, so a picture turned to the
// viewer could not follow them.
void EmitSprite(const ModelSprite& sprite, bool texCoords) {
    const float l = sprite.Left, r = sprite.Right, t = sprite.Top, b = sprite.Bottom;
    const float corners[2][4][3] = {{{l, t, 0}, {r, t, 0}, {r, b, 0}, {l, b, 0}},
                                    {{0, t, l}, {0, t, r}, {0, b, r}, {0, b, l}}};
    const float s0 = sprite.X / 256.0f, s1 = (sprite.X + sprite.Width) / 256.0f;
    const float t0 = sprite.Y / 256.0f, t1 = (sprite.Y + sprite.Height) / 256.0f;
    const float st[4][2] = {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}};
    glBegin(GL_QUADS);
    for (const auto& quad : corners) {
        for (const int c : {0, 1, 2, 3, 3, 2, 1, 0}) {
            if (texCoords) {
                glTexCoord2fv(st[c]);
            }
            glVertex3fv(quad[c]);
        }
    }
    glEnd();
}

// A model as GL is given it in one mode. Wireframe: the shape alone, the caller sets the colour
// and the outline mode. Solid: each face in its colour (textured faces in a grey by facing).
// Textured: with texturing and the alpha test on (the caller's state, so that the lists of
// many objects in a row change no state), the faces in runs of one texture page, the coloured
// faces with texturing off for themselves.
void EmitModel(const ObjectModel& model, RenderMode mode) {
    const auto any = [](const ModelFace&) { return true; };
    if (model.IsSprite) {
        if (mode == RenderMode::Textured) {
            glBindTexture(GL_TEXTURE_2D, PageTextureNameBase + model.Sprite.Page);
            glColor3ub(255, 255, 255);
            EmitSprite(model.Sprite, true);
            return;
        }
        if (mode == RenderMode::Solid) {
            SetColor(SpriteSolidColor);
        }
        EmitSprite(model.Sprite, false);
        return;
    }
    if (mode == RenderMode::Wireframe) {
        EmitFaces(model, any, [](const ModelFace& face) { EmitCorners(face, false); });
        return;
    }
    if (mode == RenderMode::Solid) {
        EmitFaces(model, any, [](const ModelFace& face) {
            SetColor(face.Textured ? SolidShade(face) : face.Color);
            EmitCorners(face, false);
        });
        return;
    }
    if (std::any_of(model.Faces.begin(), model.Faces.end(),
                    [](const ModelFace& face) { return !face.Textured; })) {
        glDisable(GL_TEXTURE_2D);
        EmitFaces(
            model, [](const ModelFace& face) { return !face.Textured; },
            [](const ModelFace& face) {
                SetColor(face.Color);
                EmitCorners(face, false);
            });
        glEnable(GL_TEXTURE_2D);
    }
    std::vector<const ModelFace*> textured;
    for (const ModelFace& face : model.Faces) {
        if (face.Textured) {
            textured.push_back(&face);
        }
    }
    std::stable_sort(textured.begin(), textured.end(),
                     [](const ModelFace* a, const ModelFace* b) { return a->Page < b->Page; });
    glColor3ub(255, 255, 255);
    for (std::size_t i = 0; i < textured.size();) {
        const uint16_t page = textured[i]->Page;
        glBindTexture(GL_TEXTURE_2D, PageTextureNameBase + page);
        std::size_t end = i;
        while (end < textured.size() && textured[end]->Page == page) {
            ++end;
        }
        for (const int corners : {4, 3}) {
            glBegin(corners == 4 ? GL_QUADS : GL_TRIANGLES);
            for (std::size_t k = i; k < end; ++k) {
                if (textured[k]->CornerCount == corners) {
                    EmitCorners(*textured[k], true);
                }
            }
            glEnd();
        }
        i = end;
    }
}

void Line(float ax, float ay, float az, float bx, float by, float bz) {
    glVertex3f(ax, ay, az);
    glVertex3f(bx, by, bz);
}

// The twelve edges of a box.
void BoxEdges(const float (&lo)[3], const float (&hi)[3]) {
    for (int axis = 0; axis < 3; ++axis) {
        const int u = (axis + 1) % 3, v = (axis + 2) % 3;
        for (int corner = 0; corner < 4; ++corner) {
            float a[3], b[3];
            a[axis] = lo[axis];
            b[axis] = hi[axis];
            a[u] = b[u] = (corner & 1) != 0 ? hi[u] : lo[u];
            a[v] = b[v] = (corner & 2) != 0 ? hi[v] : lo[v];
            Line(a[0], a[1], a[2], b[0], b[1], b[2]);
        }
    }
}

// The figures in the game's units about an object's point (y downwards), colourless.
void EmitFigure(Figure figure, RenderMode mode) {
    const float h = MarkerHalfSize;
    switch (figure) {
    case MarkerFigure: {
        // A diamond standing on the point.
        const float top[3] = {0, -2 * h, 0}, bottom[3] = {0, 0, 0};
        const float ring[4][3] = {{h, -h, 0}, {0, -h, h}, {-h, -h, 0}, {0, -h, -h}};
        glPolygonMode(GL_FRONT_AND_BACK, mode == RenderMode::Wireframe ? GL_LINE : GL_FILL);
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 4; ++i) {
            const auto& a = ring[i];
            const auto& b = ring[(i + 1) % 4];
            glVertex3fv(top);
            glVertex3fv(a);
            glVertex3fv(b);
            glVertex3fv(bottom);
            glVertex3fv(b);
            glVertex3fv(a);
        }
        glEnd();
        break;
    }
    case CameraFigure: {
        // A body with a lens widening towards +z.
        glBegin(GL_LINES);
        BoxEdges({-h / 2, -h * 3 / 8, -h * 5 / 8}, {h / 2, h * 3 / 8, h * 3 / 8});
        const float near = h * 3 / 8, far = h;
        for (const float sx : {-1.0f, 1.0f}) {
            for (const float sy : {-1.0f, 1.0f}) {
                Line(sx * h / 4, sy * h / 5, near, sx * h * 0.6f, sy * h * 0.45f, far);
            }
        }
        BoxEdges({-h * 0.6f, -h * 0.45f, far}, {h * 0.6f, h * 0.45f, far});
        glEnd();
        break;
    }
    case LightFigure: {
        // A star of rays.
        glBegin(GL_LINES);
        Line(-h, 0, 0, h, 0, 0);
        Line(0, -h, 0, 0, h, 0);
        Line(0, 0, -h, 0, 0, h);
        const float d = h * 0.6f;
        for (const float sx : {-1.0f, 1.0f}) {
            for (const float sz : {-1.0f, 1.0f}) {
                Line(-sx * d, -d, -sz * d, sx * d, d, sz * d);
            }
        }
        glEnd();
        break;
    }
    case BoxFigure:
        glBegin(GL_LINES);
        BoxEdges({0, 0, 0}, {1, 1, 1});
        glEnd();
        break;
    case FigureCount:
        break;
    }
}

uint32_t KindColor(const TEditorObject& object) {
    if (object.Is(ObjectKind::Camera)) {
        return CameraColor;
    }
    if (object.Is(ObjectKind::Light)) {
        if (object.Colour == 0) {
            return LightColor;
        }
        // The light's colour is kept as 0xRRGGBB.
        return (object.Colour >> 16 & 0xFF) | (object.Colour & 0xFF00) |
               (object.Colour & 0xFF) << 16;
    }
    return object.Is(ObjectKind::Static) ? StaticColor : ItemColor;
}

void MultiplyBy(const Mat4& m) {
    glMultMatrixd(m.M.data());
}

} // namespace

bool ObjectDrawing::Current(uint64_t context, RenderMode mode, const ModelLibrary* models) const {
    return compiled_ && context_ == context && mode_ == mode && models_ == models &&
           (models == nullptr || serial_ == models->Serial());
}

void ObjectDrawing::Prepare(uint64_t context, RenderMode mode, const ModelLibrary* models) {
    if (Current(context, mode, models)) {
        return;
    }
    if (context_ == context && lists_ != 0) {
        glDeleteLists(lists_, listCount_);
    }
    lists_ = 0;
    const int modelCount = models == nullptr ? 0 : static_cast<int>(models->Models().size());
    listCount_ = modelCount + FigureCount;
    lists_ = glGenLists(listCount_);
    context_ = context;
    mode_ = mode;
    models_ = models;
    serial_ = models == nullptr ? 0 : models->Serial();
    compiled_ = lists_ != 0;
    if (!compiled_) {
        return;
    }
    if (mode == RenderMode::Textured && models != nullptr) {
        for (const ModelLibrary::Page& page : models->Pages()) {
            UploadPixels(PageTextureNameBase + page.Number, 256, 256, 0, page.Rgba.data(), GL_RGBA);
        }
    }
    for (int m = 0; m < modelCount; ++m) {
        glNewList(lists_ + m, GL_COMPILE);
        EmitModel(models->Models()[m], mode);
        glEndList();
    }
    for (int f = 0; f < FigureCount; ++f) {
        glNewList(lists_ + modelCount + f, GL_COMPILE);
        EmitFigure(static_cast<Figure>(f), mode);
        glEndList();
    }
    ++compilations_;
}

void ObjectDrawing::Release(uint64_t context) {
    if (context_ == context && lists_ != 0) {
        glDeleteLists(lists_, listCount_);
    }
    lists_ = 0;
    listCount_ = 0;
    context_ = 0;
    compiled_ = false;
}

void ObjectDrawing::Draw(const TEditorProject& project, const ModelLibrary* library,
                         const std::vector<int>& objects, int selected, RenderMode mode) const {
    if (objects.empty()) {
        return;
    }
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    // Lists made for another mode or library, or an older build of it, are not used: the
    // objects are then drawn as markers until the next Prepare.
    const bool listed = compiled_ && mode_ == mode && models_ == library &&
                        (library == nullptr || serial_ == library->Serial());
    const ModelLibrary* models = listed ? library : nullptr;
    glPushAttrib(GL_ENABLE_BIT | GL_POLYGON_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT |
                 GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    if (renderMode == GL_SELECT) {
        // What the pick from geometry offers: each object's box, from both sides.
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glDisable(GL_CULL_FACE);
        for (const int index : objects) {
            const TEditorObject& object = project.Objects.Objects[index];
            const ObjectBox box = ObjectDrawnBox(library, object);
            glLoadName(static_cast<GLuint>(PickNameOfObject(index)));
            glPushMatrix();
            MultiplyBy(ObjectSceneTransform(project, object));
            glTranslatef(box.Min[0], box.Min[1], box.Min[2]);
            glScalef(box.Max[0] - box.Min[0], box.Max[1] - box.Min[1], box.Max[2] - box.Min[2]);
            glBegin(GL_QUADS);
            for (int axis = 0; axis < 3; ++axis) {
                const int u = (axis + 1) % 3, v = (axis + 2) % 3;
                for (const float side : {0.0f, 1.0f}) {
                    const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
                    for (const auto& c : st) {
                        float p[3];
                        p[axis] = side;
                        p[u] = c[0];
                        p[v] = c[1];
                        glVertex3fv(p);
                    }
                }
            }
            glEnd();
            glPopMatrix();
        }
        glPopAttrib();
        return;
    }
    const int modelCount = models == nullptr ? 0 : static_cast<int>(models->Models().size());
    const GLenum polygons = mode == RenderMode::Wireframe ? GL_LINE : GL_FILL;
    glPolygonMode(GL_FRONT_AND_BACK, polygons);
    if (mode == RenderMode::Textured) {
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.5f);
    }
    for (const int index : objects) {
        const TEditorObject& object = project.Objects.Objects[index];
        glPushMatrix();
        MultiplyBy(ObjectSceneTransform(project, object));
        const ObjectModel* model = ObjectModelOf(models, object);
        if (model != nullptr) {
            SetColor(KindColor(object));
            glCallList(lists_ + static_cast<GLuint>(model - models->Models().data()));
        } else {
            glDisable(GL_TEXTURE_2D);
            const Figure figure = object.Is(ObjectKind::Camera)  ? CameraFigure
                                  : object.Is(ObjectKind::Light) ? LightFigure
                                                                 : MarkerFigure;
            SetColor(KindColor(object));
            glDisable(GL_CULL_FACE);
            if (listed) {
                glCallList(lists_ + static_cast<GLuint>(modelCount + figure));
            } else {
                EmitFigure(figure, mode);
            }
            glPolygonMode(GL_FRONT_AND_BACK, polygons);
            glEnable(GL_CULL_FACE);
            if (mode == RenderMode::Textured) {
                glEnable(GL_TEXTURE_2D);
            }
        }
        if (index == selected) {
            const ObjectBox box = ObjectDrawnBox(models, object);
            SetColor(SelectedColor);
            glDisable(GL_TEXTURE_2D);
            glTranslatef(box.Min[0], box.Min[1], box.Min[2]);
            glScalef(box.Max[0] - box.Min[0], box.Max[1] - box.Min[1], box.Max[2] - box.Min[2]);
            if (listed) {
                glCallList(lists_ + static_cast<GLuint>(modelCount + BoxFigure));
            } else {
                EmitFigure(BoxFigure, mode);
            }
            if (mode == RenderMode::Textured) {
                glEnable(GL_TEXTURE_2D);
            }
        }
        glPopMatrix();
    }
    glPopAttrib();
}

} // namespace morvane
