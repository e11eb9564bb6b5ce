#pragma once

#include "document/project.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace morvane {

// Document data kept beside the rooms (an objects layer, a trigger layer). The undo history
// needs two things of a layer: its state as bytes, and a way to put such a state back; a step
// keeps only the bytes that changed, as it does for the rooms.
struct DocumentLayer {
    std::string Name; // named when an edit writes the layer outside its scope
    std::function<std::vector<uint8_t>(const TEditorProject&)> Save;
    std::function<void(TEditorProject&, std::span<const uint8_t>)> Load;
};

// The layers edits are recorded over, in a fixed order: an edit's scope names a layer by its
// place in the list (LayerBit), and a change keeps a pointer to the list, which must outlive it.
using DocumentLayers = std::vector<DocumentLayer>;
inline constexpr int MaxDocumentLayers = 32;

constexpr uint32_t LayerBit(int layer) {
    return uint32_t{1} << layer;
}

// The layers of the document, which the editor's edits are recorded over: the objects (at
// ObjectsLayerIndex), the triggers (at TriggersLayerIndex) and the alternate rooms (at
// FlipMapsLayerIndex).
const DocumentLayers& ProjectLayers();

} // namespace morvane
