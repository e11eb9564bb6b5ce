#pragma once

// The objects of the drawn rooms in GL: each model of the base level compiled once into a
// display list for the render mode (again only when the models, the mode or the GL context
// change), so that a frame places and calls them; markers for types without a model, small
// figures for cameras and lights, and a box around the selected object.
#include "document/project.h"
#include "level/level_models.h"
#include "view/render_mode.h"

#include <cstdint>
#include <vector>

namespace morvane {

// GL texture names of the texture pages the models use: page p is this plus p. (The room faces'
// object textures are 1.., the plain texture 4000.)
inline constexpr uint32_t PageTextureNameBase = 8000;

class ObjectDrawing {
public:
    // Brings the lists up to date (in the textured mode, the pages the models use uploaded as
    // textures too). Must run outside any display list.
    void Prepare(uint64_t context, RenderMode mode, const ModelLibrary* models);
    // Deletes the lists made in `context` (which must be current).
    void Release(uint64_t context);
    // Draws the objects at their places; in selection mode the boxes the pick from geometry
    // offers, each under its pick name. `selected`: the layer index of the selected object, or
    // -1.
    void Draw(const TEditorProject& project, const ModelLibrary* models,
              const std::vector<int>& objects, int selected, RenderMode mode) const;

    // How many times the models' lists have been compiled.
    int Compilations() const { return compilations_; }

private:
    bool Current(uint64_t context, RenderMode mode, const ModelLibrary* models) const;

    const ModelLibrary* models_ = nullptr;
    uint64_t serial_ = 0;
    RenderMode mode_ = RenderMode::Wireframe;
    uint64_t context_ = 0;
    uint32_t lists_ = 0;
    int listCount_ = 0;
    bool compiled_ = false;
    int compilations_ = 0;
};

} // namespace morvane
