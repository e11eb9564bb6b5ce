#pragma once

#include "document/document_layers.h"
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
// whole project asks for every room. The room count and the current room may change in any
// scope; the project's settings and descriptions in none.
enum class RoomScope { CurrentAndNext, All };

// What an edit may write: its rooms, and the document layers it names (LayerBit of each, by its
// place in the layers the snapshot is taken over). A room operation writes no layer.
struct EditScope {
    EditScope(RoomScope rooms = RoomScope::CurrentAndNext, uint32_t layers = 0)
        : Rooms(rooms), Layers(layers) {}
    RoomScope Rooms;
    uint32_t Layers;
};

// Whether this build checks every edit against its scope (Debug builds, and any build configured
// with MORVANE_CHECK_EDIT_SCOPE, which the sanitizer build turns on). A checked snapshot also
// keeps a hash of each room and layer outside its scope and of the settings, and Finish throws
// std::logic_error when the edit changed one of them: the history could not take it back.
bool EditScopeChecked();

// What one edit changed, kept small: the runs of bytes that differ in the rooms and layers it
// wrote (their bytes before and after), the room count and current room, and the view's drawn
// room and height selector. Applying it one way or the other gives the document back byte for byte,
// provided the document is in the state at the other end of the change (the undo history keeps that
// order).
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
        uint32_t Offset; // in the room record or the layer's bytes
        uint32_t Length;
        uint32_t Data; // index in Bytes of the bytes before; the bytes after follow them
    };
    struct RoomRuns {
        int Room;
        uint32_t FirstRun;
        uint32_t RunCount;
    };
    // A layer's runs compare its bytes before and after as if the shorter were padded with
    // zeros to the longer.
    struct LayerRuns {
        int Layer;
        uint32_t SizeBefore;
        uint32_t SizeAfter;
        uint32_t FirstRun;
        uint32_t RunCount;
    };
    struct Header {
        uint8_t RoomCount = 0;
        uint8_t CurrentRoom = 1;
        SceneRooms Scene;
    };
    // The layers an edit changed, kept apart so that a step of rooms alone pays one empty
    // pointer.
    struct LayerChanges {
        const DocumentLayers* List;
        std::vector<LayerRuns> Runs;
    };
    // One edit; an appended change adds a part.
    struct Part {
        std::vector<RoomRuns> Rooms;
        // None when the edit changed no layer; shared by the copies of a change (the history
        // copies a change it merges into another).
        std::shared_ptr<const LayerChanges> Layers;
        std::vector<Run> Runs;
        std::vector<uint8_t> Bytes;
        Header Before;
        Header After;
    };

    static void Apply(const Part& part, TEditorProject& project, SceneRooms& scene, bool after);
    // Appends the runs where before and after (size bytes each) differ; returns their number.
    static uint32_t AppendRuns(Part& part, const uint8_t* before, const uint8_t* after,
                               std::size_t size);
    static void ApplyRuns(const Part& part, uint32_t first, uint32_t count, uint8_t* target,
                          bool after);

    std::vector<Part> parts_;
};

// The state of the rooms and layers an edit may write, taken before it runs; compared with the
// document afterwards it gives the change. Rooms are copied whole (one 110 KB record each), so a
// snapshot is cheap for the usual scope and only the change is kept. The layers are the
// document's own unless others are given (they must outlive the snapshot and its change).
class DocumentSnapshot {
public:
    DocumentSnapshot(const TEditorProject& project, const SceneRooms& scene, EditScope scope,
                     const DocumentLayers& layers = ProjectLayers());
    ~DocumentSnapshot();
    DocumentSnapshot(DocumentSnapshot&&) noexcept;
    DocumentSnapshot& operator=(DocumentSnapshot&&) noexcept;

    // The room as it was, or nullptr when it is outside the snapshot's scope.
    const TEditorRoom* RoomBefore(int room) const;

    // Puts the rooms, layers, room count, current room and view back as they were.
    void Restore(TEditorProject& project, SceneRooms& scene) const;

    // The end of an edit: an operation that was refused (outcome.Refused) is taken back whole
    // and leaves no change; otherwise the change from the snapshot to the document now, none
    // when nothing the history keeps has changed (choosing another current room alone is not an
    // edit). Checked first: in a checked build a write outside the scope, which could not be
    // taken back, throws std::logic_error.
    std::optional<DocumentChange> Finish(TEditorProject& project, SceneRooms& scene,
                                         const DocumentOutcome& outcome) const;

private:
    struct SavedRoom {
        int Room;
        std::unique_ptr<TEditorRoom> Record;
    };
    struct SavedLayer {
        int Layer;
        std::vector<uint8_t> Bytes;
    };
    // What a checked build keeps of the rooms and layers outside the scope and of the settings.
    struct OutsideHash {
        enum Kind { Settings, Room, Layer } What;
        int Index;
        std::size_t Hash;
    };
    std::size_t HashOf(const TEditorProject& project, const OutsideHash& outside) const;
    void CheckScope(const TEditorProject& project) const;
    std::optional<DocumentChange> Changes(const TEditorProject& project,
                                          const SceneRooms& scene) const;

    std::vector<SavedRoom> rooms_;
    std::vector<SavedLayer> layers_;
    std::vector<OutsideHash> outside_; // empty unless EditScopeChecked()
    const DocumentLayers* layerList_;
    EditScope scope_;
    uint8_t roomCount_;
    uint8_t currentRoom_;
    SceneRooms scene_;
};

} // namespace morvane
