#pragma once

#include "document/project.h"
#include "document/scene_rooms.h"
#include "document/tool_bar_view.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace morvane {

// The rooms an edit may write. Every room operation and sector tool writes the current room or
// the free slot after the last room (where Add and Clone put their room); an operation over the
// whole project asks for every room.
enum class RoomScope { CurrentAndNext, All };

// What one edit changed, kept small: the runs of bytes that differ in the rooms it wrote (their
// bytes before and after), the room count and current room, and the view's drawn room and height
// selector. Applying it one way or the other gives the document back byte for byte, provided the
// document is in the state at the other end of the change (the undo history keeps that order).
class DocumentChange {
public:
    // Back to the state before the edit, or forward to the state after it. The view's neighbour
    // room is the tool bar's setting and stays as it is.
    void ApplyBefore(TEditorProject& project, SceneRooms& scene) const;
    void ApplyAfter(TEditorProject& project, SceneRooms& scene) const;

    // The rooms (from 1) whose bytes changed.
    std::vector<int> ChangedRooms() const;
    // Heap and object bytes this change holds.
    std::size_t MemoryBytes() const;

    // Appends a later change to this one: undone, the pair goes back to before this one; redone,
    // forward to after the later one (successive moves of a room become one step).
    void Append(DocumentChange later);

private:
    friend class DocumentSnapshot;

    struct Run {
        uint32_t Offset; // in the room record
        uint32_t Length;
        uint32_t Data; // index in bytes_ of the bytes before; the bytes after follow them
    };
    struct RoomRuns {
        int Room;
        uint32_t FirstRun;
        uint32_t RunCount;
    };
    struct Header {
        uint8_t RoomCount = 0;
        uint8_t CurrentRoom = 1;
        SceneRooms Scene;
    };
    // One edit; an appended change adds a part.
    struct Part {
        std::vector<RoomRuns> Rooms;
        std::vector<Run> Runs;
        std::vector<uint8_t> Bytes;
        Header Before;
        Header After;
    };

    static void Apply(const Part& part, TEditorProject& project, SceneRooms& scene, bool after);

    std::vector<Part> parts_;
};

// The state of the rooms an edit may write, taken before it runs; compared with the document
// afterwards it gives the change. Rooms are copied whole (one 110 KB record each), so a
// snapshot is cheap for the usual scope and only the change is kept.
class DocumentSnapshot {
public:
    DocumentSnapshot(const TEditorProject& project, const SceneRooms& scene, RoomScope scope);
    ~DocumentSnapshot();
    DocumentSnapshot(DocumentSnapshot&&) noexcept;
    DocumentSnapshot& operator=(DocumentSnapshot&&) noexcept;

    // The room as it was, or nullptr when it is outside the snapshot's scope.
    const TEditorRoom* RoomBefore(int room) const;

    // The change from the snapshot to the document now; none when nothing the history keeps has
    // changed (choosing another current room alone is not an edit).
    std::optional<DocumentChange> ChangeTo(const TEditorProject& project,
                                           const SceneRooms& scene) const;
    // Puts the rooms, room count, current room and view back as they were.
    void Restore(TEditorProject& project, SceneRooms& scene) const;

    // The end of an edit: an operation that was refused (its outcome carries a message) is
    // taken back whole and leaves no change; otherwise the change, if any.
    std::optional<DocumentChange> Finish(TEditorProject& project, SceneRooms& scene,
                                         const DocumentOutcome& outcome) const;

private:
    struct SavedRoom {
        int Room;
        std::unique_ptr<TEditorRoom> Record;
    };
    std::vector<SavedRoom> rooms_;
    uint8_t roomCount_;
    uint8_t currentRoom_;
    SceneRooms scene_;
};

} // namespace morvane
