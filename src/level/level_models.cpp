#include "level/level_models.h"

#include "level/level_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>

namespace morvane {

namespace {

// A model of more meshes than this is taken as garbage: the games' largest have a few dozen.
constexpr int MaxModelMeshes = 256;
// Pushes beyond this depth are dropped; a sane tree nests a handful deep.
constexpr std::size_t MaxTreeDepth = 64;

template <class T> T Get(const uint8_t* bytes, int at) {
    T value;
    std::memcpy(&value, bytes + at, sizeof(T));
    return value;
}

// Words of one of the level's word arrays, read forward; any read past the end sets Broken and
// gives 0, so a reader checks once at the end.
class WordCursor {
public:
    WordCursor(const uint16_t* words, uint32_t count, uint32_t at)
        : words_(words), count_(count), at_(at) {}

    int16_t Next() {
        if (at_ >= count_) {
            broken_ = true;
            return 0;
        }
        return static_cast<int16_t>(words_[at_++]);
    }
    // Skips n words, failing when they are not all there.
    bool Skip(uint64_t n) {
        if (n > count_ - std::min(at_, count_)) {
            broken_ = true;
            return false;
        }
        at_ += static_cast<uint32_t>(n);
        return true;
    }
    uint32_t At() const { return at_; }
    bool Broken() const { return broken_; }

private:
    const uint16_t* words_;
    uint32_t count_;
    uint32_t at_;
    bool broken_ = false;
};

void Grow(std::array<float, 3>& min, std::array<float, 3>& max, const float (&p)[3]) {
    for (int k = 0; k < 3; ++k) {
        min[k] = std::min(min[k], p[k]);
        max[k] = std::max(max[k], p[k]);
    }
}

uint32_t ColorOfIndex(const TLevelData& level, uint16_t texture) {
    if (UsesSecondGameRecords(level.FormatKind)) {
        const uint8_t* c = level.Palette16 + (texture >> 8) * 4;
        return uint32_t(c[0]) | uint32_t(c[1]) << 8 | uint32_t(c[2]) << 16;
    }
    const uint8_t* c = level.Palette + (texture & 0xFF) * 3;
    const auto eight = [](uint8_t six) { return uint32_t((six & 63) << 2 | (six & 63) >> 4); };
    return eight(c[0]) | eight(c[1]) << 8 | eight(c[2]) << 16;
}

// The texture pages the level holds in its pixel buffers.
uint32_t PageCount(const TLevelData& level) {
    const std::size_t held = UsesSecondGameRecords(level.FormatKind) && !level.Textile16.empty()
                                 ? level.Textile16.size() / 131072
                                 : level.Textile8.size() / 65536;
    return static_cast<uint32_t>(std::min<std::size_t>(held, level.NumTextiles));
}

// Where the corners of a face lie in its page: a corner's pixel, and the pixel's far edge when
// its coordinate byte is the high one.
void SetTexCoords(const TObjectTexture& texture, ModelFace& face) {
    for (int c = 0; c < face.CornerCount; ++c) {
        const TObjectTextureVertex& v = texture.Vertices[c];
        face.TexCoords[c][0] = float(v.XPixel + (v.XCoordinate >= 128 ? 1 : 0)) / 256.0f;
        face.TexCoords[c][1] = float(v.YPixel + (v.YCoordinate >= 128 ? 1 : 0)) / 256.0f;
    }
}

struct MeshVertices {
    std::vector<std::array<float, 3>> Points;
};

// Reads one list of faces (count, then corners and texture of each).
bool ReadFaces(const TLevelData& level, WordCursor& words, int corners, bool textured,
               const MeshVertices& vertices, std::vector<ModelFace>& faces) {
    const int16_t count = words.Next();
    if (words.Broken() || count < 0) {
        return false;
    }
    const uint32_t objectTextures = std::min<uint32_t>(level.NumObjectTextures, MaxObjectTextures);
    const uint32_t pages = PageCount(level);
    for (int f = 0; f < count; ++f) {
        uint16_t corner[4] = {};
        for (int c = 0; c < corners; ++c) {
            corner[c] = static_cast<uint16_t>(words.Next());
        }
        const uint16_t texture = static_cast<uint16_t>(words.Next());
        if (words.Broken()) {
            return false;
        }
        bool usable = true;
        for (int c = 0; c < corners; ++c) {
            usable = usable && corner[c] < vertices.Points.size();
        }
        const uint16_t objectTexture = texture & 0x7FFF;
        usable =
            usable && (!textured || (objectTexture < objectTextures &&
                                     (level.ObjectTextures[objectTexture].Tile & 0x7FFF) < pages));
        if (!usable) {
            continue; // a face that names what is not there is left out, the rest still drawn
        }
        ModelFace face;
        face.CornerCount = static_cast<uint8_t>(corners);
        for (int c = 0; c < corners; ++c) {
            std::copy_n(vertices.Points[corner[c]].data(), 3, face.Corners[c]);
        }
        face.Textured = textured;
        if (textured) {
            face.Texture = objectTexture;
            face.Page = level.ObjectTextures[objectTexture].Tile & 0x7FFF;
            SetTexCoords(level.ObjectTextures[objectTexture], face);
        } else {
            face.Color = ColorOfIndex(level, texture);
        }
        faces.push_back(face);
    }
    return true;
}

constexpr double DegreesOfTenBits(int value) {
    return value * 360.0 / 1024.0;
}

} // namespace

ModelTransform ModelTransform::Then(const ModelTransform& local) const {
    ModelTransform out;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = c == 3 ? M[r][3] : 0.0;
            for (int k = 0; k < 3; ++k) {
                sum += M[r][k] * local.M[k][c];
            }
            out.M[r][c] = sum;
        }
    }
    return out;
}

ModelTransform ModelTransform::Translation(double x, double y, double z) {
    ModelTransform t;
    t.M[0][3] = x;
    t.M[1][3] = y;
    t.M[2][3] = z;
    return t;
}

namespace {
// A rotation in the plane of axes a and b, taking +a towards +b; the pairs (y, z), (z, x) and
// (x, y) make the right-handed rotations about x, y and z.
ModelTransform PlaneRotation(int a, int b, double degrees) {
    const double r = degrees * std::numbers::pi / 180.0;
    ModelTransform t;
    t.M[a][a] = std::cos(r);
    t.M[a][b] = -std::sin(r);
    t.M[b][a] = std::sin(r);
    t.M[b][b] = std::cos(r);
    return t;
}
} // namespace

ModelTransform ModelTransform::RotationX(double degrees) {
    return PlaneRotation(1, 2, degrees);
}
ModelTransform ModelTransform::RotationY(double degrees) {
    return PlaneRotation(2, 0, degrees);
}
ModelTransform ModelTransform::RotationZ(double degrees) {
    return PlaneRotation(0, 1, degrees);
}

std::array<float, 3> ModelTransform::Apply(double x, double y, double z) const {
    std::array<float, 3> p{};
    for (int r = 0; r < 3; ++r) {
        p[r] = static_cast<float>(M[r][0] * x + M[r][1] * y + M[r][2] * z + M[r][3]);
    }
    return p;
}

bool AppendMeshFaces(const TLevelData& level, uint32_t mesh, const ModelTransform& transform,
                     std::vector<ModelFace>& faces, std::array<float, 3>& min,
                     std::array<float, 3>& max) {
    const uint32_t pointers = std::min<uint32_t>(level.NumMeshPointers, MaxMeshPointers);
    if (mesh >= pointers || level.MeshPointers[mesh] % 2 != 0) {
        return false;
    }
    const uint32_t count = std::min<uint32_t>(level.NumMeshData, MaxMeshData);
    WordCursor words(level.MeshData, count, level.MeshPointers[mesh] / 2);
    words.Skip(5); // the centre and the radius
    const int16_t vertexCount = words.Next();
    if (words.Broken() || vertexCount < 0) {
        return false;
    }
    MeshVertices vertices;
    vertices.Points.reserve(static_cast<std::size_t>(vertexCount));
    for (int v = 0; v < vertexCount; ++v) {
        const int16_t x = words.Next(), y = words.Next(), z = words.Next();
        vertices.Points.push_back(transform.Apply(x, y, z));
    }
    const int16_t normals = words.Next();
    if (words.Broken() || !words.Skip(normals > 0 ? 3ull * normals : uint64_t(-int(normals)))) {
        return false;
    }
    std::vector<ModelFace> read;
    if (!ReadFaces(level, words, 4, true, vertices, read) ||
        !ReadFaces(level, words, 3, true, vertices, read) ||
        !ReadFaces(level, words, 4, false, vertices, read) ||
        !ReadFaces(level, words, 3, false, vertices, read)) {
        return false;
    }
    for (const auto& p : vertices.Points) {
        const float point[3] = {p[0], p[1], p[2]};
        Grow(min, max, point);
    }
    faces.insert(faces.end(), read.begin(), read.end());
    return true;
}

FramePose ReadFramePose(const TLevelData& level, uint32_t frameWord, int meshCount) {
    FramePose pose;
    const uint32_t count = std::min<uint32_t>(level.NumFrames, MaxFrames);
    WordCursor words(level.Frames, count, frameWord);
    words.Skip(6); // the bounding box
    for (double& offset : pose.Offset) {
        offset = words.Next();
    }
    if (words.Broken()) {
        return pose;
    }
    pose.Valid = true;
    pose.Rotations.assign(static_cast<std::size_t>(std::max(meshCount, 0)), {0, 0, 0});
    const bool firstGame = !UsesSecondGameRecords(level.FormatKind);
    int angleSets = meshCount;
    if (firstGame) {
        angleSets = std::min<int>(meshCount, words.Next());
    }
    for (int m = 0; m < angleSets && !words.Broken(); ++m) {
        uint16_t a = 0, b = 0;
        if (firstGame) {
            // The first game keeps each set as one little-endian long: the low word first.
            b = static_cast<uint16_t>(words.Next());
            a = static_cast<uint16_t>(words.Next());
        } else {
            a = static_cast<uint16_t>(words.Next());
            if ((a & 0xC000) != 0) {
                const double angle = DegreesOfTenBits(a & 0x3FF);
                const int axis = (a >> 14) - 1; // 1 x, 2 y, 3 z
                if (!words.Broken()) {
                    pose.Rotations[m][axis] = angle;
                }
                continue;
            }
            b = static_cast<uint16_t>(words.Next());
        }
        if (words.Broken()) {
            break;
        }
        pose.Rotations[m] = {DegreesOfTenBits((a & 0x3FF0) >> 4),
                             DegreesOfTenBits((a & 0x000F) << 6 | (b & 0xFC00) >> 10),
                             DegreesOfTenBits(b & 0x03FF)};
    }
    return pose;
}

bool PoseMoveable(const TLevelData& level, uint32_t moveable, ObjectModel& model) {
    if (moveable >= std::min<uint32_t>(level.NumMoveables, MaxMoveables)) {
        return false;
    }
    const uint8_t* m = level.Moveables[moveable].Bytes;
    const int meshCount = Get<uint16_t>(m, 4);
    const uint32_t startingMesh = Get<uint16_t>(m, 6);
    const uint32_t meshTree = Get<uint32_t>(m, 8);
    uint32_t frameOffset = Get<uint32_t>(m, 12);
    const uint16_t animation = Get<uint16_t>(m, 16);
    if (meshCount < 1 || meshCount > MaxModelMeshes) {
        return false;
    }
    if (animation < std::min<uint32_t>(level.NumAnimations, MaxAnimations)) {
        frameOffset = Get<uint32_t>(level.Animations[animation].Bytes, 0);
    }
    FramePose pose = ReadFramePose(level, frameOffset / 2, meshCount);
    if (!pose.Valid) {
        pose.Rotations.assign(static_cast<std::size_t>(meshCount), {0, 0, 0});
    }
    const auto turned = [&](const ModelTransform& at, int mesh) {
        const auto& r = pose.Rotations[mesh];
        return at.Then(ModelTransform::RotationY(r[1]))
            .Then(ModelTransform::RotationX(r[0]))
            .Then(ModelTransform::RotationZ(r[2]));
    };
    const uint32_t links = std::min<uint32_t>(level.NumMeshLinks, MaxMeshLinks);
    model = ObjectModel{};
    model.Min = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                 std::numeric_limits<float>::max()};
    model.Max = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                 std::numeric_limits<float>::lowest()};
    ModelTransform current =
        turned(ModelTransform::Translation(pose.Offset[0], pose.Offset[1], pose.Offset[2]), 0);
    std::vector<ModelTransform> stack;
    bool any = false;
    for (int i = 0; i < meshCount; ++i) {
        if (i > 0) {
            const uint64_t node = uint64_t(meshTree) + uint64_t(i - 1) * 4;
            if (node + 4 > links) {
                break; // the rest of the tree is not in the file
            }
            const uint32_t flags = level.MeshLinks[node];
            ModelTransform parent = current;
            if ((flags & 1) != 0 && !stack.empty()) {
                parent = stack.back();
                stack.pop_back();
            }
            if ((flags & 2) != 0 && stack.size() < MaxTreeDepth) {
                stack.push_back(parent);
            }
            const auto offset = [&](int k) {
                return double(static_cast<int32_t>(level.MeshLinks[node + k]));
            };
            current = turned(
                parent.Then(ModelTransform::Translation(offset(1), offset(2), offset(3))), i);
        }
        any = AppendMeshFaces(level, startingMesh + uint32_t(i), current, model.Faces, model.Min,
                              model.Max) ||
              any;
    }
    return any;
}

namespace {

// A page as 4-byte pixels: the second and third game's 16-bit pages (the top bit opaque), the
// first game's through its palette (colour 0 see-through).
std::vector<uint8_t> PageRgba(const TLevelData& level, uint16_t page) {
    const bool sixteen = UsesSecondGameRecords(level.FormatKind) && !level.Textile16.empty();
    std::vector<uint8_t> rgba(65536 * 4);
    uint8_t* out = rgba.data();
    for (std::size_t i = 0; i < 65536; ++i, out += 4) {
        const std::size_t at = std::size_t(page) * 65536 + i;
        if (sixteen) {
            const int c = level.Textile16[at * 2] | level.Textile16[at * 2 + 1] << 8;
            const int r = (c >> 10) & 31, g = (c >> 5) & 31, b = c & 31;
            out[0] = static_cast<uint8_t>(r << 3 | r >> 2);
            out[1] = static_cast<uint8_t>(g << 3 | g >> 2);
            out[2] = static_cast<uint8_t>(b << 3 | b >> 2);
            out[3] = (c & 0x8000) != 0 ? 255 : 0;
        } else {
            const uint8_t index = level.Textile8[at];
            for (int k = 0; k < 3; ++k) {
                const int six = level.Palette[index * 3 + k] & 63;
                out[k] = static_cast<uint8_t>(six << 2 | six >> 4);
            }
            out[3] = index == 0 ? 0 : 255;
        }
    }
    return rgba;
}

bool MakeSprite(const TLevelData& level, const uint8_t* sequence, ObjectModel& model) {
    const int16_t offset = Get<int16_t>(sequence, 6);
    if (offset < 0 ||
        uint32_t(offset) >= std::min<uint32_t>(level.NumSpriteTextures, MaxSpriteTextures)) {
        return false;
    }
    const uint8_t* t = level.SpriteTextures[offset].Bytes;
    ModelSprite& sprite = model.Sprite;
    sprite.SpriteTexture = static_cast<uint16_t>(offset);
    sprite.Page = Get<uint16_t>(t, 0);
    sprite.X = t[2];
    sprite.Y = t[3];
    sprite.Width = static_cast<uint16_t>((Get<uint16_t>(t, 4) + 1) / 256);
    sprite.Height = static_cast<uint16_t>((Get<uint16_t>(t, 6) + 1) / 256);
    sprite.Left = Get<int16_t>(t, 8);
    sprite.Top = Get<int16_t>(t, 10);
    sprite.Right = Get<int16_t>(t, 12);
    sprite.Bottom = Get<int16_t>(t, 14);
    if (sprite.Page >= PageCount(level) || sprite.Width < 1 || sprite.Height < 1 ||
        sprite.X + sprite.Width > 256 || sprite.Y + sprite.Height > 256 ||
        sprite.Left >= sprite.Right || sprite.Top >= sprite.Bottom) {
        return false;
    }
    model.IsSprite = true;
    // Turned to the viewer, the picture sweeps a circle about the vertical.
    const float reach = std::max(std::abs(float(sprite.Left)), std::abs(float(sprite.Right)));
    model.Min = {-reach, float(sprite.Top), -reach};
    model.Max = {reach, float(sprite.Bottom), reach};
    return true;
}

} // namespace

void ModelLibrary::Clear() {
    models_.clear();
    pages_.clear();
    items_.clear();
    statics_.clear();
    ++serial_;
}

void ModelLibrary::Build(const TLevelData& level) {
    Clear();
    const uint32_t moveables = std::min<uint32_t>(level.NumMoveables, MaxMoveables);
    for (uint32_t i = 0; i < moveables; ++i) {
        const uint32_t id = Get<uint32_t>(level.Moveables[i].Bytes, 0);
        ObjectModel model;
        if (id <= uint32_t(std::numeric_limits<int16_t>::max()) && !items_.contains(int(id)) &&
            PoseMoveable(level, i, model) && !model.Faces.empty()) {
            items_[int(id)] = static_cast<int>(models_.size());
            models_.push_back(std::move(model));
        }
    }
    const uint32_t sequences = std::min<uint32_t>(level.NumSpriteSequences, MaxSpriteSequences);
    for (uint32_t i = 0; i < sequences; ++i) {
        const int32_t id = Get<int32_t>(level.SpriteSequences[i].Bytes, 0);
        ObjectModel model;
        if (id >= 0 && id <= std::numeric_limits<int16_t>::max() && !items_.contains(id) &&
            MakeSprite(level, level.SpriteSequences[i].Bytes, model)) {
            items_[id] = static_cast<int>(models_.size());
            models_.push_back(std::move(model));
        }
    }
    const uint32_t statics = std::min<uint32_t>(level.NumStaticMeshes, MaxStaticMeshes);
    for (uint32_t i = 0; i < statics; ++i) {
        const uint32_t id = Get<uint32_t>(level.StaticMeshes[i].Bytes, 0);
        const uint16_t mesh = Get<uint16_t>(level.StaticMeshes[i].Bytes, 4);
        ObjectModel model;
        model.Min = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                     std::numeric_limits<float>::max()};
        model.Max = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                     std::numeric_limits<float>::lowest()};
        if (id <= uint32_t(std::numeric_limits<int16_t>::max()) && !statics_.contains(int(id)) &&
            AppendMeshFaces(level, mesh, ModelTransform{}, model.Faces, model.Min, model.Max) &&
            !model.Faces.empty()) {
            statics_[int(id)] = static_cast<int>(models_.size());
            models_.push_back(std::move(model));
        }
    }
    CollectPages(level);
}

void ModelLibrary::CollectPages(const TLevelData& level) {
    std::vector<bool> used(PageCount(level), false);
    for (const ObjectModel& model : models_) {
        if (model.IsSprite) {
            used[model.Sprite.Page] = true;
        }
        for (const ModelFace& face : model.Faces) {
            if (face.Textured) {
                used[face.Page] = true;
            }
        }
    }
    for (std::size_t page = 0; page < used.size(); ++page) {
        if (used[page]) {
            pages_.push_back({static_cast<uint16_t>(page), PageRgba(level, uint16_t(page))});
        }
    }
}

int ModelLibrary::ItemModel(int type) const {
    const auto found = items_.find(type);
    return found == items_.end() ? -1 : found->second;
}

int ModelLibrary::StaticModel(int id) const {
    const auto found = statics_.find(id);
    return found == statics_.end() ? -1 : found->second;
}

const ObjectModel* ModelLibrary::Item(int type) const {
    const int i = ItemModel(type);
    return i < 0 ? nullptr : &models_[i];
}

const ObjectModel* ModelLibrary::Static(int id) const {
    const int i = StaticModel(id);
    return i < 0 ? nullptr : &models_[i];
}

} // namespace morvane
