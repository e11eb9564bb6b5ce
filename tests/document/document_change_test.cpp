#include "document/document_change.h"
#include "document/edit_names.h"
#include "document/editor_texts.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/portal_views.h"
#include "document/room_operations.h"
#include "document/sector_numbering.h"
#include "document/sector_tools.h"
#include "document/trigger_operations.h"
#include "level/level_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace morvane {
namespace {

// The document's header and its rooms in use and the next slot (padding included), and the
// view's rooms: four lanes of a multiplicative hash over 64-bit words. The test also compares
// the whole record at both ends, which catches a write to any other room.
uint64_t Fingerprint(const TEditorProject& project, const SceneRooms& scene) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&project);
    const int rooms = std::min<int>(project.RoomCount + 1, MaxRooms);
    const std::size_t size = static_cast<std::size_t>(
        reinterpret_cast<const unsigned char*>(&project.Room(rooms) + 1) - bytes);
    const std::size_t words = size / 8;
    uint64_t lanes[4] = {1, 2, 3, 4};
    std::size_t i = 0;
    for (; i + 4 <= words; i += 4) {
        for (int lane = 0; lane < 4; ++lane) {
            uint64_t word;
            std::memcpy(&word, bytes + (i + lane) * 8, 8);
            lanes[lane] = (lanes[lane] ^ word) * 0x100000001B3ULL;
        }
    }
    uint64_t hash = lanes[0] ^ (lanes[1] << 1) ^ (lanes[2] << 2) ^ (lanes[3] << 3);
    for (std::size_t b = i * 8; b < size; ++b) {
        hash = (hash ^ bytes[b]) * 0x100000001B3ULL;
    }
    // The objects in use.
    const auto* objects = reinterpret_cast<const unsigned char*>(&project.Objects);
    const std::size_t objectBytes =
        sizeof(uint32_t) +
        std::min<uint32_t>(project.Objects.Count, MaxObjects) * sizeof(TEditorObject);
    for (std::size_t b = 0; b < objectBytes; ++b) {
        hash = (hash ^ objects[b]) * 0x100000001B3ULL;
    }
    for (const uint8_t alternate : project.FlipMaps.Alternate) {
        hash = (hash ^ alternate) * 0x100000001B3ULL;
    }
    // The triggers in use.
    const auto* triggers = reinterpret_cast<const unsigned char*>(&project.Triggers);
    const std::size_t triggerBytes =
        sizeof(uint32_t) +
        std::min<uint32_t>(project.Triggers.Count, MaxTriggers) * sizeof(TEditorTrigger);
    for (std::size_t b = 0; b < triggerBytes; ++b) {
        hash = (hash ^ triggers[b]) * 0x100000001B3ULL;
    }
    return hash ^ (uint64_t(scene.DrawnRoom) << 40) ^ (uint64_t(scene.HeightSelector) << 50);
}

// Every object a trigger names is there, of the kind it must be: deleting objects and rooms
// keeps the triggers pointing at the objects they named.
// What the layers beside the rooms hold that the rooms no longer fit: a trigger the layer would
// refuse (its sector gone, its objects gone or of another kind), an object beyond its room.
std::string LayerProblem(const TEditorProject& project) {
    for (uint32_t i = 0; i < project.Triggers.Count; ++i) {
        const TEditorTrigger& t = project.Triggers.Triggers[i];
        if (const auto problem = CheckTriggerFields(project, t, FormatNone)) {
            return TriggerPlaceText(t) + ": " + problem->Field + " " + problem->Text;
        }
    }
    for (uint32_t i = 0; i < project.Objects.Count; ++i) {
        const TEditorObject& object = project.Objects.Objects[i];
        const TEditorRoom& room = project.Room(object.Room);
        if (object.X < 0 || object.Z < 0 || object.X >= room.XSectors * SectorSize ||
            object.Z >= room.ZSectors * SectorSize) {
            return "object " + std::to_string(i) + " lies beyond room " +
                   std::to_string(object.Room);
        }
    }
    return {};
}

bool SameBytes(const TEditorProject& a, const TEditorProject& b) {
    return std::memcmp(&a, &b, sizeof(TEditorProject)) == 0;
}

struct Recorder : ::testing::Test {
    std::unique_ptr<TEditorProject> project = std::make_unique<TEditorProject>();
    SceneRooms scene;

    // One edit as the editor runs it.
    std::optional<DocumentChange> Record(const std::function<DocumentOutcome()>& operation,
                                         RoomScope scope = RoomScope::CurrentAndNext) {
        const DocumentSnapshot before(*project, scene, scope);
        const DocumentOutcome outcome = operation();
        return before.Finish(*project, scene, outcome);
    }
    void Add(int length, int width, int height = 4) {
        RoomDialogValues values = RoomAt(length, width, 100, 20, 100, height);
        values.Name = NextRoomName(*project);
        ASSERT_EQ(AddRoom(*project, scene, values).Message, "");
    }
};

using DocumentChanges = Recorder;

// Stand-ins for the layers the document keeps beside its rooms: texts of any length, held by
// the test and given to the history as bytes.
struct TextLayers {
    std::string Notes, Marks;
    DocumentLayers Layers = {Of(Notes, "notes"), Of(Marks, "marks")};

    static DocumentLayer Of(std::string& text, const char* name) {
        return {name,
                [&text](const TEditorProject&) {
                    return std::vector<uint8_t>(text.begin(), text.end());
                },
                [&text](TEditorProject&, std::span<const uint8_t> bytes) {
                    text.assign(bytes.begin(), bytes.end());
                }};
    }
};

// Random edits of every kind, each recorded as the editor records it, then all undone and all
// redone: every state on the way comes back byte for byte.
TEST_F(DocumentChanges, RandomEditsUndoneAndRedoneGiveEveryStateBackByteForByte) {
    for (const unsigned seed : {1u, 2u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        project->Clear();
        scene = SceneRooms{};
        Add(8, 6);
        Add(31, 31);
        Add(5, 12, 6);
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) {
            return std::uniform_int_distribution<int>(low, high)(random);
        };
        const auto initial = std::make_unique<TEditorProject>();
        const auto final = std::make_unique<TEditorProject>();
        SceneRooms initialScene;

        struct Step {
            DocumentChange Change;
            uint64_t Before, After;
            std::string What;
        };
        std::vector<Step> steps;
        int refused = 0, unchanged = 0, alternates = 0, triggersSet = 0;
        for (int i = 0; i < 300; ++i) {
            const int kind = pick(0, 19);
            std::string what = "operation " + std::to_string(kind) + " at " + std::to_string(i);
            std::function<DocumentOutcome()> operation;
            EditScope scope = RoomScope::CurrentAndNext;
            const int objects = static_cast<int>(project->Objects.Count);
            switch (kind) {
            case 0:
            case 1:
            case 2: { // a click, the usual edit
                SectorToolState tools;
                tools.SelectedShape = pick(0, 10);
                tools.ShapeMirror = pick(0, 1) * 6;
                tools.ReplicationCount = pick(0, 3) == 0 ? pick(1, 60) : 1;
                tools.PutShapes = pick(0, 3) != 0;
                tools.PutTextures = pick(0, 1) != 0;
                tools.PutPortals = pick(0, 2) == 0;
                tools.FloorTexture = pick(0, 30);
                tools.CeilingWalls = pick(0, 30);
                tools.SetRoomBelow(pick(0, 3) == 0 ? pick(0, project->RoomCount) : 0);
                tools.SetRoomSide(pick(0, 5) == 0 ? pick(0, project->RoomCount) : 0);
                scene.HeightSelector = pick(0, 3);
                scene.NeighbourRoom = pick(0, project->RoomCount);
                const int sectors = project->Current().SectorCount();
                const ViewHit picked = pick(0, 9) == 0 ? ViewHit::OfNeighbourRoom()
                                                       : ViewHit::OfSector(pick(0, sectors));
                const bool ceiling = pick(0, 2) == 0;
                const bool shift = pick(0, 3) == 0;
                operation = [=, this] {
                    return EditClick(*project, scene, tools, picked, ceiling, shift);
                };
                break;
            }
            case 3:
                operation = [&] {
                    RoomDialogValues values = RoomAt(pick(1, 31), pick(1, 31), pick(0, 200),
                                                     pick(1, 40), pick(0, 200), pick(1, 8));
                    values.Name = "Added " + std::to_string(i);
                    return AddRoom(*project, scene, values);
                };
                break;
            case 4: // a rebuild to a smaller grid moves objects and drops triggers
                scope = EditScope(RoomScope::CurrentAndNext,
                                  LayerBit(ObjectsLayerIndex) | LayerBit(TriggersLayerIndex));
                operation = [&] {
                    const RoomDialogValues shown = PropertiesDialogValues(*project);
                    RoomDialogValues edited = shown;
                    edited.Name = "Edited " + std::to_string(i);
                    edited.AmbientLight = pick(0, 31);
                    edited.Long = pick(0, 1) ? shown.Long : pick(1, 31);
                    PropertiesOutcome applied =
                        ApplyRoomProperties(*project, shown, edited, pick(0, 3) == 0);
                    if (applied.AskRebuild && pick(0, 1)) {
                        return RebuildCurrentRoom(*project, edited);
                    }
                    return applied.Window;
                };
                break;
            case 5: // the last room goes with its objects and its alternate-room links
                scope = FlipMapsScope(LayerBit(ObjectsLayerIndex) | LayerBit(TriggersLayerIndex));
                operation = [&] { return DeleteRoom(*project, scene); };
                break;
            case 6:
                operation = [&] { return CloneRoom(*project); };
                break;
            case 7: // choosing a room is no edit: it must leave no step
                operation = [&] { return SelectRoom(*project, scene, pick(0, 4)); };
                break;
            case 8: {
                const auto direction = static_cast<SendDirection>(pick(0, 5));
                const int neighbour = pick(0, project->RoomCount);
                operation = [=, this] { return SendRoomTo(*project, direction, neighbour); };
                break;
            }
            case 9: {
                const PortalViewFields fields{pick(0, project->RoomCount), pick(1, 4), pick(1, 4),
                                              pick(0, 5)};
                const int which = pick(0, 2);
                operation = [=, this] {
                    return which == 0   ? AddPortalView(*project, fields)
                           : which == 1 ? ReplacePortalView(*project, pick(1, 3), fields)
                                        : DeletePortalView(*project);
                };
                break;
            }
            case 10:
                operation = [&] {
                    return PortalOriginClick(*project, ViewHit::OfSector(pick(1, 40)), pick(1, 3));
                };
                break;
            case 11: // the position fields
                operation = [&] {
                    project->Current().PosX = pick(0, 200);
                    DocumentOutcome moved;
                    moved.Redraw = true;
                    return moved;
                };
                break;
            case 12: // an edit over every room
                scope = RoomScope::All;
                operation = [&] {
                    for (int r = 1; r <= project->RoomCount; ++r) {
                        project->Room(r).PosZ += 1;
                    }
                    return DocumentOutcome{};
                };
                break;
            case 13: // objects: placed anywhere, some outside their room or past a limit
            case 14: {
                const auto objectKind = static_cast<ObjectKind>(pick(1, 4));
                const int room = pick(1, project->RoomCount + 1);
                TEditorObject object =
                    NewObject(objectKind, room, pick(-100, 20000), pick(-100, 20000),
                              pick(0, 3) == 0 ? 0 : pick(1, 90));
                object.Angle = static_cast<uint16_t>(pick(0, 65535));
                object.Flags = static_cast<uint16_t>(pick(0, 65535));
                scope = ObjectsScope();
                operation = [=, this] { return PlaceObject(*project, object); };
                break;
            }
            case 15: {
                const int index = pick(-1, objects);
                const int x = pick(-500, 40000), z = pick(-500, 40000);
                const bool snap = pick(0, 1);
                const int degrees = pick(-400, 400);
                const int which = pick(0, 2);
                scope = ObjectsScope();
                operation = [=, this] {
                    return which == 0   ? MoveObject(*project, index, x, z, snap)
                           : which == 1 ? TurnObject(*project, index, degrees)
                                        : DeleteObject(*project, index);
                };
                break;
            }
            case 19:
                scope = FlipMapsScope();
                operation = [&] { return MakeAlternateRoom(*project, scene); };
                break;
            case 16: { // a field of the dock
                const int index = pick(0, std::max(objects - 1, 0));
                scope = ObjectsScope();
                operation = [=, this] {
                    if (!HasObject(*project, index)) {
                        return DocumentOutcome{};
                    }
                    TEditorObject changed = project->Objects.Objects[index];
                    changed.Intensity = pick(-1, 8191);
                    changed.Type = static_cast<int16_t>(pick(-1, 20));
                    if (pick(0, 3) == 0) { // another kind: what named it may no longer fit
                        changed.Kind = static_cast<uint8_t>(pick(1, 4));
                    }
                    return ChangeObject(*project, index, changed);
                };
                break;
            }
            case 17: { // triggers set over sectors, some outside the room or naming no object
                const int room = pick(1, project->RoomCount + 1);
                std::vector<TriggerSector> sectors;
                for (int n = pick(1, 2); n > 0; --n) {
                    sectors.push_back({room, pick(0, 8), pick(0, 8)});
                }
                TEditorTrigger trigger =
                    NewTrigger(room, 1, 1, static_cast<TriggerKind>(pick(0, LastTriggerKind)));
                trigger.Timer = static_cast<uint8_t>(pick(0, 255));
                trigger.Death = static_cast<uint8_t>(pick(0, 1));
                if (TriggerKindTiesObject(trigger.KindOf())) {
                    trigger.Object = static_cast<int16_t>(pick(-1, objects));
                }
                for (int a = pick(0, 2); a > 0; --a) {
                    // Flip on (a number), or an action naming an object that may not fit it.
                    const auto action =
                        static_cast<TriggerActionKind>(pick(0, 1) ? 4 : pick(0, 3) * 2);
                    trigger.Actions[trigger.ActionCount++] = NewTriggerAction(
                        action,
                        action == TriggerActionKind::FlipOn ? pick(0, 9) : pick(0, objects));
                }
                scope = TriggersScope();
                operation = [=, this] {
                    return SetTriggers(*project, FormatNone, sectors, trigger);
                };
                break;
            }
            case 18: {
                const std::vector<TriggerSector> sectors = {
                    {pick(1, project->RoomCount), pick(1, 10), pick(1, 10)}};
                scope = TriggersScope();
                operation = [=, this] { return DeleteTriggers(*project, sectors); };
                break;
            }
            }
            const uint64_t before = Fingerprint(*project, scene);
            if (steps.empty()) { // the state the undos must come back to
                initial->ReplaceWith(*project);
                initialScene = scene;
            }
            const DocumentSnapshot snapshot(*project, scene, scope);
            const DocumentOutcome outcome = operation();
            std::optional<DocumentChange> change = snapshot.Finish(*project, scene, outcome);
            ASSERT_EQ(outcome.Refused, !outcome.Message.empty())
                << what << ": every message of these operations is a refusal";
            if (outcome.Refused) {
                ++refused;
                ASSERT_FALSE(change) << what << ": a refused edit leaves no step";
                ASSERT_EQ(Fingerprint(*project, scene), before)
                    << what << ": a refused edit leaves the document as it was";
            } else if (!change) {
                ++unchanged;
            } else {
                triggersSet += kind == 17 ? 1 : 0;
                steps.push_back({std::move(*change), before, Fingerprint(*project, scene), what});
                final->ReplaceWith(*project); // the state the redos must come to
            }
            if (kind == 7) {
                ASSERT_FALSE(change) << "choosing the current room is no step";
            }
            ASSERT_EQ(FlipMapsProblem(project->FlipMaps, project->RoomCount), "") << what;
            alternates = std::max(alternates, AlternateRoomCount(*project));
            ASSERT_EQ(LayerProblem(*project), "") << what;
        }
        ASSERT_GT(steps.size(), 150u) << "refused " << refused << ", unchanged " << unchanged;
        EXPECT_GT(project->Objects.Count, 0u) << "the run left objects to undo";
        EXPECT_GT(triggersSet, 0) << "the run set triggers";
        EXPECT_GT(refused, 0) << "the run met refusals";
        EXPECT_GT(alternates, 1) << "the run linked rooms to alternates";
        EXPECT_GT(unchanged, 0) << "the run met operations that changed nothing";
        // The view's neighbour is the tool bar's setting: undo and redo leave it alone.
        const int neighbour = scene.NeighbourRoom;

        for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
            step->Change.ApplyBefore(*project, scene);
            ASSERT_EQ(Fingerprint(*project, scene), step->Before) << "undo of " << step->What;
            ASSERT_EQ(scene.NeighbourRoom, neighbour);
        }
        EXPECT_TRUE(SameBytes(*project, *initial)) << "every edit undone";
        EXPECT_EQ(scene.DrawnRoom, initialScene.DrawnRoom);
        for (Step& step : steps) {
            step.Change.ApplyAfter(*project, scene);
            ASSERT_EQ(Fingerprint(*project, scene), step.After) << "redo of " << step.What;
        }
        EXPECT_TRUE(SameBytes(*project, *final)) << "every edit redone";
    }
}

TEST_F(DocumentChanges, AStepKeepsOnlyWhatChanged) {
    Add(31, 31);
    Add(31, 31);
    SectorToolState tools;
    tools.SelectedShape = 2;
    const int n = SectorNumber(10, 12, 31);
    std::optional<DocumentChange> click = Record(
        [&] { return EditClick(*project, scene, tools, ViewHit::OfSector(n), false, false); });
    ASSERT_TRUE(click);
    EXPECT_EQ(click->ChangedRooms(), std::vector<int>{2});
    EXPECT_LT(click->MemoryBytes(), 512u) << "one sector, not a room";
    EXPECT_FALSE(Record([&] {
        return EditClick(*project, scene, tools, ViewHit::OfSector(n), false, false);
    })) << "the same click again changes nothing";

    scene.NeighbourRoom = 1;
    EXPECT_FALSE(Record([&] {
        return EditClick(*project, scene, tools, ViewHit::OfNeighbourRoom(), false, false);
    })) << "a click on the neighbour room only makes it current";
    EXPECT_EQ(project->CurrentRoom, 1);
    EXPECT_EQ(scene.DrawnRoom, 1);

    std::optional<DocumentChange> added = Record([&] {
        RoomDialogValues values = RoomAt(4, 4, 10, 10, 10, 3);
        return AddRoom(*project, scene, values);
    });
    ASSERT_TRUE(added);
    EXPECT_EQ(added->ChangedRooms(), std::vector<int>{3}) << "the new room's slot";
    added->ApplyBefore(*project, scene);
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_EQ(project->CurrentRoom, 1) << "the room that was current";
    EXPECT_EQ(scene.DrawnRoom, 1);

    // A deleted room keeps its record: only the count and the current room change.
    std::optional<DocumentChange> deleted = Record([&] { return DeleteRoom(*project, scene); });
    ASSERT_TRUE(deleted);
    EXPECT_TRUE(deleted->ChangedRooms().empty());
    deleted->ApplyBefore(*project, scene);
    EXPECT_EQ(project->RoomCount, 2);
}

TEST_F(DocumentChanges, RefusedEditsAreTakenBackWhole) {
    Add(10, 10, 3);
    // A replication that meets a sector where the shape does not fit writes the sectors before
    // it, then stops with its message: the whole click is taken back.
    const int first = SectorNumber(2, 2, 10);
    project->Current().Sector(first + 3).CeilingShape = 4;
    project->Current().GameSector(first + 3).CeilingHeight = 2;
    SectorToolState tools;
    tools.SelectedShape = 1;
    tools.ReplicationCount = 6;
    scene.HeightSelector = 1;
    const auto before = std::make_unique<TEditorProject>();
    before->ReplaceWith(*project);
    const DocumentSnapshot snapshot(*project, scene, RoomScope::CurrentAndNext);
    const DocumentOutcome outcome =
        EditClick(*project, scene, tools, ViewHit::OfSector(first), false, false);
    ASSERT_EQ(outcome.Message, InvalidHeightText);
    ASSERT_TRUE(outcome.Refused);
    ASSERT_EQ(project->Current().GameSector(first).FloorHeight, 1) << "written before the stop";
    EXPECT_FALSE(snapshot.Finish(*project, scene, outcome));
    EXPECT_TRUE(SameBytes(*project, *before));
    // A message that is no refusal leaves the edit as it is.
    std::optional<DocumentChange> told = Record([&] {
        project->Current().PosX += 1;
        DocumentOutcome outcome;
        outcome.Message = "moved";
        return outcome;
    });
    ASSERT_TRUE(told);
    told->ApplyBefore(*project, scene);
    EXPECT_TRUE(SameBytes(*project, *before));

    for (int r = 2; r <= MaxRooms; ++r) {
        Add(2, 2);
    }
    before->ReplaceWith(*project);
    EXPECT_FALSE(Record([&] { return CloneRoom(*project); })) << "the 129th room is refused";
    EXPECT_FALSE(Record([&] { return AddRoom(*project, scene, RoomAt(3, 3, 1, 1, 1, 3)); }));
    EXPECT_TRUE(SameBytes(*project, *before));
}

// A checked build notices an edit that wrote outside the rooms it declared, which undo could not
// take back, and names the room and the scope; the current room, the free slot, the count and
// the current room's number stay writable.
TEST_F(DocumentChanges, AWriteOutsideTheScopeIsCaught) {
    if (!EditScopeChecked()) {
        GTEST_SKIP() << "the scope check is compiled out of this build (NDEBUG without "
                        "MORVANE_CHECK_EDIT_SCOPE)";
    }
    Add(4, 4);
    Add(4, 4);
    Add(4, 4);
    project->CurrentRoom = 2;
    EXPECT_NO_THROW(Record([&] {
        project->Room(2).PosX += 1;
        project->Room(4).PosX = 5;
        project->RoomCount = 4;
        project->CurrentRoom = 4;
        return DocumentOutcome{};
    }));
    project->RoomCount = 3;
    project->CurrentRoom = 2;

    auto caught = [&](RoomScope scope, const std::function<void()>& write, bool refuse) {
        try {
            Record(
                [&] {
                    write();
                    return refuse ? DocumentOutcome::Refusal(InvalidHeightText) : DocumentOutcome{};
                },
                scope);
        } catch (const std::logic_error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(caught(
                  RoomScope::CurrentAndNext, [&] { project->Room(1).PosX += 1; }, false),
              "An edit changed room 1 outside its scope (the current room 2 and the free slot "
              "4): undo could not take it back.");
    EXPECT_EQ(
        caught(
            RoomScope::CurrentAndNext, [&] { project->Room(100).Sector(7).FloorShape = 3; }, true),
        "An edit changed room 100 outside its scope (the current room 2 and the free slot "
        "4): undo could not take it back.")
        << "a refused edit too: taking it back would leave room 100 changed";
    EXPECT_EQ(
        caught(
            RoomScope::All, [&] { project->Settings.BaseLevelFile.Assign("other.phd"); }, false),
        "An edit changed the project's settings outside its scope (every room): undo "
        "could not take it back.");
    EXPECT_EQ(caught(
                  RoomScope::All, [&] { project->Room(128).PosZ = 9; }, false),
              "no error");

    TextLayers text;
    const DocumentSnapshot before(*project, scene, {RoomScope::CurrentAndNext, LayerBit(0)},
                                  text.Layers);
    text.Notes = "in scope";
    text.Marks = "outside";
    try {
        before.Finish(*project, scene, {});
        ADD_FAILURE() << "a layer written outside the scope is caught";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "An edit changed the layer \"marks\" outside its scope (the "
                               "current room 2 and the free slot 4, the layer \"notes\"): undo "
                               "could not take it back.");
    }
}

// A layer beside the rooms goes through the history as the rooms do: each step keeps only the
// bytes that changed, sizes may grow and shrink (zeros included), a refusal puts the layer back,
// and undoing and redoing every step gives every state back.
TEST_F(DocumentChanges, LayersBesideTheRoomsAreUndoneAndRedone) {
    Add(6, 6);
    TextLayers text;
    const EditScope scope(RoomScope::CurrentAndNext, LayerBit(0));
    auto record = [&](const std::function<void()>& write, bool refuse = false) {
        const DocumentSnapshot before(*project, scene, scope, text.Layers);
        write();
        return before.Finish(*project, scene,
                             refuse ? DocumentOutcome::Refusal(InvalidHeightText)
                                    : DocumentOutcome{});
    };
    std::vector<std::string> notes = {text.Notes};
    std::vector<int> positions = {project->Current().PosX};
    std::vector<DocumentChange> steps;
    auto step = [&](const std::function<void()>& write) {
        std::optional<DocumentChange> change = record(write);
        ASSERT_TRUE(change);
        steps.push_back(std::move(*change));
        notes.push_back(text.Notes);
        positions.push_back(project->Current().PosX);
    };
    step([&] {
        text.Notes.assign(4000, 'a');
        project->Current().PosX = 33;
    });
    step([&] { text.Notes[2000] = 'b'; });
    EXPECT_LT(steps.back().MemoryBytes(), 512u) << "one byte of the layer, not the layer";
    EXPECT_TRUE(steps.back().ChangedRooms().empty());
    step([&] { text.Notes.resize(10); });
    step([&] { text.Notes += std::string("\0\0x", 3); });
    step([&] { text.Notes += std::string(2, '\0'); }); // only the size changes
    step([&] { text.Notes.clear(); });
    EXPECT_FALSE(record([] {})) << "nothing changed";
    EXPECT_FALSE(record([&] { text.Notes = "refused"; }, true));
    EXPECT_EQ(text.Notes, "") << "a refusal puts the layer back";

    for (std::size_t i = steps.size(); i-- > 0;) {
        steps[i].ApplyBefore(*project, scene);
        ASSERT_EQ(text.Notes, notes[i]) << "undo of step " << i;
        ASSERT_EQ(project->Current().PosX, positions[i]) << "undo of step " << i;
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        steps[i].ApplyAfter(*project, scene);
        ASSERT_EQ(text.Notes, notes[i + 1]) << "redo of step " << i;
        ASSERT_EQ(project->Current().PosX, positions[i + 1]) << "redo of step " << i;
    }
    EXPECT_EQ(text.Marks, "") << "a layer outside the scope is left alone";
}

TEST_F(DocumentChanges, SuccessiveChangesAppendedAreOneStep) {
    Add(6, 6);
    project->Current().PosX = 10;
    auto move = [&](int x) {
        return Record([&] {
            project->Current().PosX = x;
            return DocumentOutcome{};
        });
    };
    std::optional<DocumentChange> first = move(12);
    std::optional<DocumentChange> second = move(123);
    std::optional<DocumentChange> third = move(7);
    ASSERT_TRUE(first && second && third);
    first->Append(std::move(*second));
    first->Append(std::move(*third));
    first->ApplyBefore(*project, scene);
    EXPECT_EQ(project->Current().PosX, 10);
    first->ApplyAfter(*project, scene);
    EXPECT_EQ(project->Current().PosX, 7);
}

// A click is named by what it did, the most telling first.
TEST(SectorEditNames, NameWhatTheClickDid) {
    auto room = std::make_unique<TEditorRoom>();
    std::memset(static_cast<void*>(room.get()), 0, sizeof(TEditorRoom));
    BuildSectorGrid(*room, 4, 4, 10, 4);
    const int n = SectorNumber(2, 2, 4), m = SectorNumber(3, 2, 4);
    struct Case {
        const char* expected;
        bool ceiling;
        std::function<void(TEditorRoom&)> change;
    };
    const Case cases[] = {
        {"Raise Floor", false, [&](TEditorRoom& r) { r.GameSector(n).FloorHeight = 2; }},
        {"Lower Ceiling", true, [&](TEditorRoom& r) { r.GameSector(n).CeilingHeight = 3; }},
        {"Raise Ceiling", true,
         [&](TEditorRoom& r) {
             r.GameSector(n).CeilingHeight = 5;
             r.Sector(n).CeilingShape = 3;
         }},
        {"Fill Sector", false,
         [&](TEditorRoom& r) { r.GameSector(n).FloorHeight = r.GameSector(n).CeilingHeight; }},
        {"Edit Floor Heights", false,
         [&](TEditorRoom& r) {
             r.GameSector(n).FloorHeight = 1;
             r.GameSector(SectorNumber(1, 1, 4)).FloorHeight = 2; // a solid border lowered
         }},
        {"Place Floor Shape", false,
         [&](TEditorRoom& r) {
             r.Sector(n).FloorShape = 7;
             r.Sector(n).FloorSurface.Textures[2] = 9;
         }},
        {"Paint Ceiling Textures", true,
         [&](TEditorRoom& r) { r.Sector(m).CeilingSurface.Textures[0] = 12; }},
        {"Set Floor Portals", false, [&](TEditorRoom& r) { r.GameSector(m).RoomBelow = 2; }},
        {"Set Ceiling Portals", true,
         [&](TEditorRoom& r) {
             r.GameSector(m).RoomAbove = 1;
             r.Sector(m).PortalKind = PortalKindAbove;
         }},
    };
    for (const Case& c : cases) {
        auto after = std::make_unique<TEditorRoom>(*room);
        c.change(*after);
        EXPECT_EQ(SectorEditName(*room, *after, c.ceiling), c.expected);
    }
    EXPECT_EQ(SendRoomToName(SendDirection::Down), "Send to Down");
}

} // namespace
} // namespace morvane
