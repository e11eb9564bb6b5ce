#include "document/document_layers.h"

#include "document/flip_map_operations.h"
#include "document/object_operations.h"

#include <algorithm>
#include <cstring>

namespace morvane {

namespace {

// The objects layer as bytes: its count, then the objects in use. The slots past the count are
// always zero bytes, so loading clears the ones a longer state had used.
std::vector<uint8_t> SaveObjects(const TEditorProject& project) {
    const TObjectLayer& layer = project.Objects;
    const uint32_t count = std::min<uint32_t>(layer.Count, MaxObjects);
    std::vector<uint8_t> bytes(sizeof(count) + count * sizeof(TEditorObject));
    std::memcpy(bytes.data(), &count, sizeof(count));
    std::memcpy(bytes.data() + sizeof(count), layer.Objects, count * sizeof(TEditorObject));
    return bytes;
}

void LoadObjects(TEditorProject& project, std::span<const uint8_t> bytes) {
    TObjectLayer& layer = project.Objects;
    uint32_t count = 0;
    if (bytes.size() >= sizeof(count)) {
        std::memcpy(&count, bytes.data(), sizeof(count));
    }
    count = std::min<uint32_t>(
        {count, MaxObjects,
         static_cast<uint32_t>((bytes.size() - std::min(bytes.size(), sizeof(count))) /
                               sizeof(TEditorObject))});
    const uint32_t oldCount = std::min<uint32_t>(layer.Count, MaxObjects);
    std::memcpy(layer.Objects, bytes.data() + sizeof(count), count * sizeof(TEditorObject));
    for (uint32_t i = count; i < oldCount; ++i) {
        layer.Objects[i] = TEditorObject{};
    }
    layer.Count = count;
}

// The alternate rooms as bytes: one for each room slot.
std::vector<uint8_t> SaveFlipMaps(const TEditorProject& project) {
    const uint8_t* slots = project.FlipMaps.Alternate;
    return {slots, slots + sizeof(project.FlipMaps.Alternate)};
}

void LoadFlipMaps(TEditorProject& project, std::span<const uint8_t> bytes) {
    project.FlipMaps = TFlipMaps{};
    std::memcpy(project.FlipMaps.Alternate, bytes.data(),
                std::min(bytes.size(), sizeof(project.FlipMaps.Alternate)));
}

} // namespace

const DocumentLayers& ProjectLayers() {
    static const DocumentLayers layers = {
        {ObjectsLayerName, SaveObjects, LoadObjects},    // ObjectsLayerIndex
        {FlipMapsLayerName, SaveFlipMaps, LoadFlipMaps}, // FlipMapsLayerIndex
    };
    return layers;
}

} // namespace morvane
