#pragma once

// The base level's own models made ready to draw: each moveable posed by the first frame of its
// first animation, each static mesh, each sprite sequence's first sprite. Everything is read from
// untrusted file data: offsets and counts are checked against the arrays, and a model that cannot
// be read whole is left out (its objects are then drawn as markers).
#include "level/level_data.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace morvane {

// One face of a posed model, in the game's coordinates (y grows downwards) with the corners in
// the file's order. A textured face names its object texture (from 0), the texture page it
// lies in and its corners' places in that page (0..1 across the 256 pixels both ways); a
// coloured face carries its colour (red in the lowest byte).
struct ModelFace {
    float Corners[4][3] = {};
    float TexCoords[4][2] = {};
    uint8_t CornerCount = 4;
    bool Textured = false;
    uint16_t Texture = 0;
    uint16_t Page = 0;
    uint32_t Color = 0;
};

// A sprite: a picture standing upright (the game turns it to the viewer), its sides in world units
// from the object's point (left, top, right, bottom; top above, so negative) and its pixels a
// rectangle of one texture page.
struct ModelSprite {
    uint16_t SpriteTexture = 0; // index in the level's sprite textures
    uint16_t Page = 0;
    uint8_t X = 0, Y = 0;           // the rectangle's first pixel in the page
    uint16_t Width = 0, Height = 0; // in pixels, 1..256 and within the page
    int16_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct ObjectModel {
    bool IsSprite = false;
    std::vector<ModelFace> Faces; // meshes
    ModelSprite Sprite;           // sprites
    // The box around the model in the game's coordinates, before the object's turn.
    std::array<float, 3> Min{}, Max{};
};

// A 3 x 4 affine transform of the game's coordinates (rotation and translation).
struct ModelTransform {
    double M[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

    ModelTransform Then(const ModelTransform& local) const; // this * local
    static ModelTransform Translation(double x, double y, double z);
    // Rotations by degrees about one axis, right-handed in the game's coordinates (a quarter turn
    // about y takes +z to +x).
    static ModelTransform RotationX(double degrees);
    static ModelTransform RotationY(double degrees);
    static ModelTransform RotationZ(double degrees);
    std::array<float, 3> Apply(double x, double y, double z) const;
};

// Appends the faces of mesh `mesh` (an index in the level's mesh pointers) moved by `transform`;
// false, nothing appended, when the mesh cannot be read whole. The box grows by its vertices.
// Faces that name a vertex, an object texture or a page the level does not have are left out.
bool AppendMeshFaces(const TLevelData& level, uint32_t mesh, const ModelTransform& transform,
                     std::vector<ModelFace>& faces, std::array<float, 3>& min,
                     std::array<float, 3>& max);

// The rotation of every mesh of a frame (degrees about x, y and z, applied y first, then x, then
// z), and the frame's offset; empty when the frame does not lie in the level's frames.
struct FramePose {
    bool Valid = false;
    double Offset[3] = {};
    std::vector<std::array<double, 3>> Rotations; // one per mesh; missing ones are unturned
};
FramePose ReadFramePose(const TLevelData& level, uint32_t frameWord, int meshCount);

// The models of a base level by item type and static id. Built once per base level read.
class ModelLibrary {
public:
    void Build(const TLevelData& level);
    void Clear();

    // The model of an item type (a moveable's or a sprite sequence's id), of a static mesh id.
    const ObjectModel* Item(int type) const;
    const ObjectModel* Static(int id) const;
    const std::vector<ObjectModel>& Models() const { return models_; }
    // The model's index in Models(), or -1.
    int ItemModel(int type) const;
    int StaticModel(int id) const;
    // Grows at every Build and Clear, so that a drawing made of the models can tell it is old.
    uint64_t Serial() const { return serial_; }

    // The texture pages the models use, each as 256 x 256 pixels of 4 bytes (red, green, blue,
    // and 0 where the page is see-through: the first game's colour 0, the others' pixels
    // without their top bit), in the order of their numbers.
    struct Page {
        uint16_t Number;
        std::vector<uint8_t> Rgba;
    };
    const std::vector<Page>& Pages() const { return pages_; }

private:
    void CollectPages(const TLevelData& level);

    std::vector<ObjectModel> models_;
    std::map<int, int> items_, statics_;
    std::vector<Page> pages_;
    uint64_t serial_ = 0;
};

// A moveable (its index in the level's moveables) posed by the first frame of its first
// animation; false when nothing of it can be read.
bool PoseMoveable(const TLevelData& level, uint32_t moveable, ObjectModel& model);

} // namespace morvane
