#include "document/document_layers.h"

namespace morvane {

const DocumentLayers& ProjectLayers() {
    static const DocumentLayers layers; // the rooms are not a layer: none yet
    return layers;
}

} // namespace morvane
