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
// The project's texts and build settings: everything before the current room and room count.
std::size_t SettingsHash(const TEditorProject& project) {
    return HashBytes(&project, offsetof(TEditorProject, CurrentRoom));
}

std::string ScopeText(RoomScope scope, int currentRoom, int roomCount) {
    if (scope == RoomScope::All) {
        return "every room";
    }
    return "the current room " + std::to_string(currentRoom) + " and the free slot " +
           std::to_string(roomCount + 1);
}

} // namespace

bool EditScopeChecked() {
    return CheckedBuild;
}

// ---- DocumentChange -------------------------------------------------------------------------

void DocumentChange::Apply(const Part& part, TEditorProject& project, SceneRooms& scene,
                           bool after) {
    for (const RoomRuns& room : part.Rooms) {
        uint8_t* target = BytesOf(project.Room(room.Room));
        for (uint32_t i = room.FirstRun; i < room.FirstRun + room.RunCount; ++i) {
            const Run& run = part.Runs[i];
            const uint8_t* source = part.Bytes.data() + run.Data + (after ? run.Length : 0);
            std::memcpy(target + run.Offset, source, run.Length);
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
        bytes += part.Rooms.capacity() * sizeof(RoomRuns) + part.Runs.capacity() * sizeof(Run) +
                 part.Bytes.capacity();
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
                                   RoomScope scope)
    : scope_(scope), roomCount_(project.RoomCount), currentRoom_(project.CurrentRoom),
      scene_(scene) {
    std::vector<int> rooms;
    if (scope == RoomScope::All) {
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
    if (CheckedBuild) {
        outside_.push_back({0, SettingsHash(project)});
        for (int room = 1; room <= MaxRooms; ++room) {
            if (RoomBefore(room) == nullptr) {
                outside_.push_back({room, RoomHash(project, room)});
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

void DocumentSnapshot::CheckScope(const TEditorProject& project) const {
    for (const OutsideHash& saved : outside_) {
        const bool settings = saved.Room == 0;
        if ((settings ? SettingsHash(project) : RoomHash(project, saved.Room)) == saved.Hash) {
            continue;
        }
        throw std::logic_error("An edit changed " +
                               (settings ? std::string("the project's settings")
                                         : "room " + std::to_string(saved.Room)) +
                               " outside its scope (" +
                               ScopeText(scope_, currentRoom_, roomCount_) +
                               "): undo could not take it back.");
    }
}

std::optional<DocumentChange> DocumentSnapshot::ChangeTo(const TEditorProject& project,
                                                         const SceneRooms& scene) const {
    CheckScope(project);
    return Changes(project, scene);
}

std::optional<DocumentChange> DocumentSnapshot::Changes(const TEditorProject& project,
                                                        const SceneRooms& scene) const {
    DocumentChange::Part part;
    for (const SavedRoom& saved : rooms_) {
        const uint8_t* before = BytesOf(*saved.Record);
        const uint8_t* after = BytesOf(project.Room(saved.Room));
        const std::size_t size = sizeof(TEditorRoom);
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
            part.Runs.push_back(
                {static_cast<uint32_t>(start), static_cast<uint32_t>(length), data});
        }
        const auto runCount = static_cast<uint32_t>(part.Runs.size()) - firstRun;
        if (runCount > 0) {
            part.Rooms.push_back({saved.Room, firstRun, runCount});
        }
    }
    if (part.Rooms.empty() && project.RoomCount == roomCount_) {
        return std::nullopt;
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
