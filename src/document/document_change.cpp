#include "document/document_change.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace morvane {

namespace {

static_assert(std::is_trivially_copyable_v<TEditorRoom>);

// Equal blocks are skipped a block at a time; a run ends after this many equal bytes, so that
// nearby differences share one run instead of paying a run's overhead each.
constexpr std::size_t SkipBlock = 64;
constexpr std::size_t RunGap = 16;

template <class Record> const uint8_t* BytesOf(const Record& record) {
    return reinterpret_cast<const uint8_t*>(&record);
}
template <class Record> uint8_t* BytesOf(Record& record) {
    return reinterpret_cast<uint8_t*>(&record);
}

bool ValidRoom(int room) {
    return room >= 1 && room <= MaxRooms;
}

bool InScope(const EditScope& scope, int layer) {
    return (scope.Layers & LayerBit(layer)) != 0;
}

#if !defined(NDEBUG) || defined(MORVANE_CHECK_EDIT_SCOPE)
constexpr bool CheckedBuild = true;
#else
constexpr bool CheckedBuild = false;
#endif

// The standard library's byte hash: built optimised into the library, so a checked Debug build
// hashes the 14 MB of rooms in a few milliseconds.
std::size_t HashBytes(const void* bytes, std::size_t size) {
    return std::hash<std::string_view>{}(std::string_view(static_cast<const char*>(bytes), size));
}
std::size_t RoomHash(const TEditorProject& project, int room) {
    return HashBytes(&project.Room(room), sizeof(TEditorRoom));
}
// The project's texts and build settings.
std::size_t SettingsHash(const TEditorProject& project) {
    return HashBytes(&project.Settings, sizeof(project.Settings));
}

std::string ScopeText(const EditScope& scope, const DocumentLayers& layers, int currentRoom,
                      int roomCount) {
    std::string text = scope.Rooms == RoomScope::All
                           ? "every room"
                           : "the current room " + std::to_string(currentRoom) +
                                 " and the free slot " + std::to_string(roomCount + 1);
    for (int layer = 0; layer < static_cast<int>(layers.size()); ++layer) {
        if (InScope(scope, layer)) {
            text += ", the layer \"" + layers[layer].Name + "\"";
        }
    }
    return text;
}

} // namespace

bool EditScopeChecked() {
    return CheckedBuild;
}

// ---- DocumentChange -------------------------------------------------------------------------

uint32_t DocumentChange::AppendRuns(Part& part, const uint8_t* before, const uint8_t* after,
                                    std::size_t size) {
    const auto firstRun = static_cast<uint32_t>(part.Runs.size());
    std::size_t i = 0;
    while (i < size) {
        if (i + SkipBlock <= size && std::memcmp(before + i, after + i, SkipBlock) == 0) {
            i += SkipBlock;
            continue;
        }
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        // A run from the first differing byte to the last one before a gap of equal bytes.
        const std::size_t start = i;
        std::size_t end = i + 1;
        for (std::size_t equal = 0; i < size && equal < RunGap; ++i) {
            if (before[i] != after[i]) {
                end = i + 1;
                equal = 0;
            } else {
                ++equal;
            }
        }
        i = end;
        const std::size_t length = end - start;
        const auto data = static_cast<uint32_t>(part.Bytes.size());
        part.Bytes.insert(part.Bytes.end(), before + start, before + end);
        part.Bytes.insert(part.Bytes.end(), after + start, after + end);
        part.Runs.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(length), data});
    }
    return static_cast<uint32_t>(part.Runs.size()) - firstRun;
}

void DocumentChange::ApplyRuns(const Part& part, uint32_t first, uint32_t count, uint8_t* target,
                               bool after) {
    for (uint32_t i = first; i < first + count; ++i) {
        const Run& run = part.Runs[i];
        const uint8_t* source = part.Bytes.data() + run.Data + (after ? run.Length : 0);
        std::memcpy(target + run.Offset, source, run.Length);
    }
}

void DocumentChange::Apply(const Part& part, TEditorProject& project, SceneRooms& scene,
                           bool after) {
    for (const RoomRuns& room : part.Rooms) {
        ApplyRuns(part, room.FirstRun, room.RunCount, BytesOf(project.Room(room.Room)), after);
    }
    if (part.Layers) {
        for (const LayerRuns& layer : part.Layers->Runs) {
            // The layer is at the other end of the change: padded with zeros as the runs were
            // taken, changed, then cut to its size at this end.
            const DocumentLayer& target = (*part.Layers->List)[layer.Layer];
            std::vector<uint8_t> bytes = target.Save(project);
            bytes.resize(std::max(layer.SizeBefore, layer.SizeAfter));
            ApplyRuns(part, layer.FirstRun, layer.RunCount, bytes.data(), after);
            bytes.resize(after ? layer.SizeAfter : layer.SizeBefore);
            target.Load(project, bytes);
        }
    }
    const Header& header = after ? part.After : part.Before;
    project.RoomCount = header.RoomCount;
    project.CurrentRoom = header.CurrentRoom;
    scene.DrawnRoom = header.Scene.DrawnRoom;
    scene.HeightSelector = header.Scene.HeightSelector;
}

void DocumentChange::ApplyBefore(TEditorProject& project, SceneRooms& scene) const {
    for (auto part = parts_.rbegin(); part != parts_.rend(); ++part) {
        Apply(*part, project, scene, false);
    }
}

void DocumentChange::ApplyAfter(TEditorProject& project, SceneRooms& scene) const {
    for (const Part& part : parts_) {
        Apply(part, project, scene, true);
    }
}

std::vector<int> DocumentChange::ChangedRooms() const {
    std::vector<int> rooms;
    for (const Part& part : parts_) {
        for (const RoomRuns& room : part.Rooms) {
            rooms.push_back(room.Room);
        }
    }
    std::sort(rooms.begin(), rooms.end());
    rooms.erase(std::unique(rooms.begin(), rooms.end()), rooms.end());
    return rooms;
}

std::size_t DocumentChange::MemoryBytes() const {
    std::size_t bytes = sizeof(*this) + parts_.capacity() * sizeof(Part);
    for (const Part& part : parts_) {
        bytes +=
            part.Rooms.capacity() * sizeof(RoomRuns) +
            (part.Layers ? sizeof(LayerChanges) + part.Layers->Runs.capacity() * sizeof(LayerRuns)
                         : 0) +
            part.Runs.capacity() * sizeof(Run) + part.Bytes.capacity();
    }
    return bytes;
}

void DocumentChange::Append(DocumentChange later) {
    for (Part& part : later.parts_) {
        parts_.push_back(std::move(part));
    }
}

// ---- DocumentSnapshot -----------------------------------------------------------------------

DocumentSnapshot::DocumentSnapshot(const TEditorProject& project, const SceneRooms& scene,
                                   EditScope scope, const DocumentLayers& layers)
    : layerList_(&layers), scope_(scope), roomCount_(project.RoomCount),
      currentRoom_(project.CurrentRoom), scene_(scene) {
    if (layers.size() > MaxDocumentLayers) {
        throw std::logic_error("An edit's scope names at most " +
                               std::to_string(MaxDocumentLayers) + " document layers.");
    }
    std::vector<int> rooms;
    if (scope.Rooms == RoomScope::All) {
        for (int r = 1; r <= MaxRooms; ++r) {
            rooms.push_back(r);
        }
    } else {
        rooms = {project.CurrentRoom, project.RoomCount + 1};
    }
    std::sort(rooms.begin(), rooms.end());
    rooms.erase(std::unique(rooms.begin(), rooms.end()), rooms.end());
    for (int room : rooms) {
        if (ValidRoom(room)) {
            std::unique_ptr<TEditorRoom> copy(new TEditorRoom); // filled by the copy below
            std::memcpy(static_cast<void*>(copy.get()), &project.Room(room), sizeof(TEditorRoom));
            rooms_.push_back({room, std::move(copy)});
        }
    }
    for (int layer = 0; layer < static_cast<int>(layers.size()); ++layer) {
        if (InScope(scope, layer)) {
            layers_.push_back({layer, layers[layer].Save(project)});
        }
    }
    if (CheckedBuild) {
        outside_.push_back({OutsideHash::Settings, 0, SettingsHash(project)});
        for (int room = 1; room <= MaxRooms; ++room) {
            if (RoomBefore(room) == nullptr) {
                outside_.push_back({OutsideHash::Room, room, RoomHash(project, room)});
            }
        }
        for (int layer = 0; layer < static_cast<int>(layers.size()); ++layer) {
            if (!InScope(scope, layer)) {
                OutsideHash saved{OutsideHash::Layer, layer, 0};
                saved.Hash = HashOf(project, saved);
                outside_.push_back(saved);
            }
        }
    }
}

DocumentSnapshot::~DocumentSnapshot() = default;
DocumentSnapshot::DocumentSnapshot(DocumentSnapshot&&) noexcept = default;
DocumentSnapshot& DocumentSnapshot::operator=(DocumentSnapshot&&) noexcept = default;

const TEditorRoom* DocumentSnapshot::RoomBefore(int room) const {
    for (const SavedRoom& saved : rooms_) {
        if (saved.Room == room) {
            return saved.Record.get();
        }
    }
    return nullptr;
}

std::size_t DocumentSnapshot::HashOf(const TEditorProject& project,
                                     const OutsideHash& outside) const {
    switch (outside.What) {
    case OutsideHash::Settings:
        return SettingsHash(project);
    case OutsideHash::Room:
        return RoomHash(project, outside.Index);
    case OutsideHash::Layer:
        break;
    }
    const std::vector<uint8_t> bytes = (*layerList_)[outside.Index].Save(project);
    return HashBytes(bytes.data(), bytes.size());
}

void DocumentSnapshot::CheckScope(const TEditorProject& project) const {
    for (const OutsideHash& saved : outside_) {
        if (HashOf(project, saved) == saved.Hash) {
            continue;
        }
        const std::string what = saved.What == OutsideHash::Settings
                                     ? std::string("the project's settings")
                                 : saved.What == OutsideHash::Room
                                     ? "room " + std::to_string(saved.Index)
                                     : "the layer \"" + (*layerList_)[saved.Index].Name + "\"";
        throw std::logic_error("An edit changed " + what + " outside its scope (" +
                               ScopeText(scope_, *layerList_, currentRoom_, roomCount_) +
                               "): undo could not take it back.");
    }
}

std::optional<DocumentChange> DocumentSnapshot::Changes(const TEditorProject& project,
                                                        const SceneRooms& scene) const {
    DocumentChange::Part part;
    for (const SavedRoom& saved : rooms_) {
        const auto firstRun = static_cast<uint32_t>(part.Runs.size());
        const uint32_t runCount = DocumentChange::AppendRuns(
            part, BytesOf(*saved.Record), BytesOf(project.Room(saved.Room)), sizeof(TEditorRoom));
        if (runCount > 0) {
            part.Rooms.push_back({saved.Room, firstRun, runCount});
        }
    }
    std::vector<DocumentChange::LayerRuns> layerRuns;
    for (const SavedLayer& saved : layers_) {
        std::vector<uint8_t> before = saved.Bytes;
        std::vector<uint8_t> after = (*layerList_)[saved.Layer].Save(project);
        const auto sizeBefore = static_cast<uint32_t>(before.size());
        const auto sizeAfter = static_cast<uint32_t>(after.size());
        const std::size_t size = std::max(before.size(), after.size());
        before.resize(size);
        after.resize(size);
        const auto firstRun = static_cast<uint32_t>(part.Runs.size());
        const uint32_t runCount =
            DocumentChange::AppendRuns(part, before.data(), after.data(), size);
        if (runCount > 0 || sizeBefore != sizeAfter) {
            layerRuns.push_back({saved.Layer, sizeBefore, sizeAfter, firstRun, runCount});
        }
    }
    if (part.Rooms.empty() && layerRuns.empty() && project.RoomCount == roomCount_) {
        return std::nullopt;
    }
    if (!layerRuns.empty()) {
        layerRuns.shrink_to_fit();
        part.Layers = std::make_shared<const DocumentChange::LayerChanges>(
            DocumentChange::LayerChanges{layerList_, std::move(layerRuns)});
    }
    part.Before = {roomCount_, currentRoom_, scene_};
    part.After = {project.RoomCount, project.CurrentRoom, scene};
    part.Rooms.shrink_to_fit();
    part.Runs.shrink_to_fit();
    part.Bytes.shrink_to_fit();
    DocumentChange change;
    change.parts_.push_back(std::move(part));
    return change;
}

void DocumentSnapshot::Restore(TEditorProject& project, SceneRooms& scene) const {
    for (const SavedRoom& saved : rooms_) {
        std::memcpy(static_cast<void*>(&project.Room(saved.Room)), saved.Record.get(),
                    sizeof(TEditorRoom));
    }
    for (const SavedLayer& saved : layers_) {
        (*layerList_)[saved.Layer].Load(project, saved.Bytes);
    }
    project.RoomCount = roomCount_;
    project.CurrentRoom = currentRoom_;
    scene = scene_;
}

std::optional<DocumentChange> DocumentSnapshot::Finish(TEditorProject& project, SceneRooms& scene,
                                                       const DocumentOutcome& outcome) const {
    CheckScope(project);
    if (outcome.Refused) {
        Restore(project, scene);
        return std::nullopt;
    }
    return Changes(project, scene);
}

} // namespace morvane
