#include "document/document_layers.h"

#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/trigger_operations.h"

#include <algorithm>
#include <cstring>

namespace morvane {

namespace {

// A layer as bytes: its count, then the records in use. The slots past the count are always
// zero bytes, so loading clears the ones a longer state had used.
template <class Record, int Capacity>
std::vector<uint8_t> SaveRecords(uint32_t storedCount, const Record* records) {
    const uint32_t count = std::min<uint32_t>(storedCount, Capacity);
    std::vector<uint8_t> bytes(sizeof(count) + count * sizeof(Record));
    std::memcpy(bytes.data(), &count, sizeof(count));
    std::memcpy(bytes.data() + sizeof(count), records, count * sizeof(Record));
    return bytes;
}

template <class Record, int Capacity>
void LoadRecords(uint32_t& storedCount, Record* records, std::span<const uint8_t> bytes) {
    uint32_t count = 0;
    if (bytes.size() >= sizeof(count)) {
        std::memcpy(&count, bytes.data(), sizeof(count));
    }
    count = std::min<uint32_t>(
        {count, static_cast<uint32_t>(Capacity),
         static_cast<uint32_t>((bytes.size() - std::min(bytes.size(), sizeof(count))) /
                               sizeof(Record))});
    const uint32_t oldCount = std::min<uint32_t>(storedCount, Capacity);
    std::memcpy(static_cast<void*>(records), bytes.data() + sizeof(count), count * sizeof(Record));
    for (uint32_t i = count; i < oldCount; ++i) {
        records[i] = Record{};
    }
    storedCount = count;
}

std::vector<uint8_t> SaveObjects(const TEditorProject& project) {
    return SaveRecords<TEditorObject, MaxObjects>(project.Objects.Count, project.Objects.Objects);
}

void LoadObjects(TEditorProject& project, std::span<const uint8_t> bytes) {
    LoadRecords<TEditorObject, MaxObjects>(project.Objects.Count, project.Objects.Objects, bytes);
}

std::vector<uint8_t> SaveTriggers(const TEditorProject& project) {
    return SaveRecords<TEditorTrigger, MaxTriggers>(project.Triggers.Count,
                                                    project.Triggers.Triggers);
}

void LoadTriggers(TEditorProject& project, std::span<const uint8_t> bytes) {
    LoadRecords<TEditorTrigger, MaxTriggers>(project.Triggers.Count, project.Triggers.Triggers,
                                             bytes);
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
        {TriggersLayerName, SaveTriggers, LoadTriggers}, // TriggersLayerIndex
        {FlipMapsLayerName, SaveFlipMaps, LoadFlipMaps}, // FlipMapsLayerIndex
    };
    return layers;
}

} // namespace morvane
