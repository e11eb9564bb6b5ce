#include "support/random_objects.h"
#include "support/test_files.h"

#include "document/object_block.h"
#include "document/project_file.h"
#include "document/recovery_copy.h"
#include "document/room_operations.h"
#include "document/trigger_operations.h"
#include "io/binary_reader.h"
#include "io/io_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <tuple>

namespace morvane {
namespace {

using test::ByteBuilder;
using test::Bytes;
using test::TempDir;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* Refused = "Project file \"test.mvn\" refused: ";

Bytes Saved(const TEditorProject& project) {
    TempDir dir;
    WriteProjectFile(project, dir.Path("p.mvn"));
    return test::ReadFileBytes(dir.Path("p.mvn"));
}

ProjectReadOutcome ReadBytes(TEditorProject& project, const Bytes& bytes) {
    BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
    return ReadProject(project, reader, "test.mvn");
}

ProjectReadOutcome ReadOutlineBytes(ProjectOutline& outline, const Bytes& bytes) {
    BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
    return ReadProjectOutline(outline, reader, "test.mvn");
}

// The refusal's text, or empty when the file was read.
template <class Read> std::string RefusalOf(Read read) {
    try {
        read();
    } catch (const IoError& e) {
        return e.what();
    }
    return {};
}

// A damaged file, and the start of the refusal it must get (after "Project file ... refused: ").
struct Case {
    std::string What;
    Bytes File;
    std::string Expected;
};

// Each file is refused with its text, by the reader and by the outline alike, and leaves the
// document (which holds `known`) as it was.
void ExpectRefusedWhole(const std::vector<Case>& cases, TEditorProject& project,
                        const TEditorProject& known) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        const std::string whole = RefusalOf([&] { ReadBytes(project, c.File); });
        EXPECT_THAT(whole, StartsWith(Refused + c.Expected));
        ProjectOutline outline;
        EXPECT_EQ(RefusalOf([&] { ReadOutlineBytes(outline, c.File); }), whole);
        ASSERT_EQ(std::memcmp(static_cast<const void*>(&project), &known, sizeof(TEditorProject)),
                  0)
            << "a refused file changed the document";
    }
}

void AddRooms(TEditorProject& project, std::mt19937& random, int count) {
    SceneRooms scene;
    for (int r = 0; r < count; ++r) {
        RoomDialogValues values;
        values.Name = NextRoomName(project);
        values.Long = 1 + static_cast<int>(random() % 31);
        values.Width = 1 + static_cast<int>(random() % 31);
        AddRoom(project, scene, values);
        TEditorRoom& room = project.Current();
        room.PortalViewCount = static_cast<int32_t>(random() % 3);
        for (int d = 1; d <= room.PortalViewCount; ++d) {
            room.PortalView(d) = {PortalFacingFront, 0, 1, 1, 1, 1, 1};
        }
    }
}

// The size of a version-5 file of the project's rooms, from the file's layout: the settings and
// the room count, each room's fields, sectors, views and closing bytes, the closing bytes.
std::size_t RoomsFileSize(const TEditorProject& project) {
    std::size_t size = 877;
    for (int r = 1; r <= project.RoomCount; ++r) {
        const TEditorRoom& room = project.Room(r);
        size += 86 + 110 * static_cast<std::size_t>(room.SectorCount()) + 4 +
                20 * static_cast<std::size_t>(room.PortalViewCount) + 40;
    }
    return size + 40;
}

// The objects block assembled field by field, apart from the writer.
Bytes AssembledBlock(const TObjectLayer& layer) {
    ByteBuilder b;
    if (layer.Count == 0) {
        return {};
    }
    b.Raw("OBJS", 4).U16(1).U32(4 + 40 * layer.Count).U32(layer.Count);
    for (uint32_t i = 0; i < layer.Count; ++i) {
        const TEditorObject& o = layer.Objects[i];
        b.U8(o.Kind).U8(o.Room).U8(o.OnFloor).U8(o.Reserved1);
        b.I32(o.X).I32(o.Y).I32(o.Z);
        b.U16(o.Angle).I16(o.Type).U16(o.Flags).U16(o.Reserved2);
        b.I32(o.Intensity).I32(o.Intensity2).U32(o.Fade).U32(o.Colour);
    }
    return b.Get();
}

// Random layers on random rooms: the file is the rooms' file followed by the block (none for an
// empty layer), and reading it gives back the document byte for byte, into a record that held
// another project; the outline counts the objects by kind.
TEST(ObjectsBlock, RandomLayersComeBackByteForByte) {
    std::mt19937 random(11);
    auto loaded = std::make_unique<TEditorProject>();
    int withObjects = 0, empty = 0, mostRooms = 0;
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        auto project = std::make_unique<TEditorProject>();
        AddRooms(*project, random, 1 + static_cast<int>(random() % 6));
        const int tries = round % 8 == 0   ? 0
                          : round % 5 == 0 ? 900
                                           : static_cast<int>(random() % 40);
        test::PlaceRandomObjects(*project, random, tries);
        const uint32_t count = project->Objects.Count;
        ++(count > 0 ? withObjects : empty);

        const Bytes file = Saved(*project);
        const std::size_t roomsEnd = RoomsFileSize(*project);
        ASSERT_EQ(file.size(), roomsEnd + (count > 0 ? 14 + 40 * count : 0));
        EXPECT_TRUE(Bytes(file.begin() + static_cast<std::ptrdiff_t>(roomsEnd), file.end()) ==
                    AssembledBlock(project->Objects));

        ASSERT_EQ(ReadBytes(*loaded, file).Status, ReadStatus::Done);
        ASSERT_EQ(loaded->Objects.Count, count);
        // Every byte up to the last room either record ever held, and the whole layer: the rooms
        // beyond are never written (comparing them would map the pages of both records).
        mostRooms = std::max<int>(mostRooms, project->RoomCount);
        const std::size_t rooms = offsetof(TEditorProject, Rooms) + mostRooms * sizeof(TEditorRoom);
        EXPECT_EQ(std::memcmp(static_cast<const void*>(loaded.get()), project.get(), rooms), 0)
            << "the rooms read differ from the ones saved";
        EXPECT_EQ(std::memcmp(&loaded->Objects, &project->Objects, sizeof(TObjectLayer)), 0)
            << "the objects read differ from the ones saved";
        ProjectOutline outline;
        ASSERT_EQ(ReadOutlineBytes(outline, file).Status, ReadStatus::Done);
        EXPECT_TRUE(outline == OutlineOf(*project, ProjectFileVersion));
        EXPECT_TRUE(outline.Objects == CountObjects(*project));

        // Deleting every object gives back the file of the rooms alone.
        while (project->Objects.Count > 0) {
            DeleteObject(*project, static_cast<int>(random() % project->Objects.Count));
        }
        EXPECT_TRUE(Saved(*project) ==
                    Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(roomsEnd)));
    }
    EXPECT_GT(withObjects, 25);
    EXPECT_GT(empty, 3);
}

// A document with rooms, settings and objects, to see that a refused file leaves all of it.
void MakeKnownDocument(TEditorProject& project) {
    std::mt19937 random(3);
    AddRooms(project, random, 2);
    project.Settings.LevelDescription.Assign("known");
    test::PlaceRandomObjects(project, random, 30);
}

// Three objects on two rooms of 2 x 3 sectors, the block at BlockStart.
struct FileWithBlock {
    Bytes File;
    std::size_t BlockStart = 0;
};

FileWithBlock MakeFileWithBlock() {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values;
    values.Long = 2;
    values.Width = 3;
    AddRoom(*project, scene, values);
    AddRoom(*project, scene, values);
    PlaceObject(*project, NewObject(ObjectKind::Item, 1, 100, 200, LaraItemType));
    PlaceObject(*project, NewObject(ObjectKind::Light, 2, 3000, 2000));
    PlaceObject(*project, NewObject(ObjectKind::Static, 2, 0, 0, 5));
    FileWithBlock f;
    f.File = Saved(*project);
    f.BlockStart = f.File.size() - (14 + 3 * 40);
    return f;
}

void Put(Bytes& file, std::size_t at, const Bytes& value) {
    std::copy(value.begin(), value.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

// Every damage of the block refuses the whole file, naming the file and the block, and leaves
// the open document as it was; the outline refuses it with the same text. A file cut where the
// block starts is a file without objects.
TEST(ObjectsBlock, EveryDamagedBlockRefusesTheFileAndNamesTheBlock) {
    const FileWithBlock made = MakeFileWithBlock();
    const std::size_t at = made.BlockStart;
    const std::string block = "the objects block at byte " + std::to_string(at);
    std::vector<Case> cases;
    for (std::size_t length = at + 1; length < made.File.size(); ++length) {
        cases.push_back(
            {"cut at " + std::to_string(length),
             Bytes(made.File.begin(), made.File.begin() + static_cast<std::ptrdiff_t>(length)),
             block + " is truncated"});
    }
    const auto changed = [&](std::size_t offset, const Bytes& value) {
        Bytes file = made.File;
        Put(file, at + offset, value);
        return file;
    };
    const std::size_t record = at + 14; // the first object's record
    Bytes longer = changed(6, {4 + 3 * 40 + 1, 0, 0, 0});
    longer.push_back(0);
    Bytes twice = made.File;
    twice.insert(twice.end(), made.File.begin() + static_cast<std::ptrdiff_t>(at), made.File.end());
    Bytes trailing = made.File;
    trailing.insert(trailing.end(), {'X', 'Y', 0x01});
    Bytes secondLara = made.File;
    secondLara[record + 80] = static_cast<uint8_t>(ObjectKind::Item); // the static becomes Lara
    Put(secondLara, record + 80 + 18, {0, 0});
    cases.insert(
        cases.end(),
        {
            {"version 7", changed(4, {7, 0}),
             block + " has version 7, which this program does not read (it reads version 1)."},
            {"a length one byte long", longer,
             block + " has a length of 125 bytes, which does not fit its count of 3 objects (124 "
                     "bytes)."},
            {"a length one record short", changed(6, {4 + 2 * 40, 0, 0, 0}),
             block + " has a length of 84 bytes, which does not fit its count of 3 objects"},
            {"a length without the count", changed(6, {2, 0, 0, 0}),
             block + " has a length of 2 bytes, too short for its count."},
            {"a count above the capacity", changed(10, {0x28, 0x23, 0, 0}),
             block + " holds 9000 objects, above the limit of " + std::to_string(MaxObjects)},
            {"an unknown tag", changed(0, {'T', 'R', 'I', 'X'}),
             "an unknown block (tag \"TRIX\") follows the rooms at byte " + std::to_string(at)},
            {"bytes after the block", trailing,
             "an unknown block (tag \"XY\\x01\") follows the rooms at byte " +
                 std::to_string(made.File.size())},
            {"a second block", twice,
             "the objects block at byte " + std::to_string(made.File.size()) +
                 " is a second objects block."},
            {"an unknown kind", changed(14, {7}),
             "in the objects block, objects[0].kind: unknown kind 7"},
            {"a room the project lacks", changed(14 + 41, {3}),
             "in the objects block, objects[1].room: room 3 does not exist (the project has 2)."},
            {"a place outside the room", changed(14 + 40 + 12, {0, 0x0C, 0, 0}),
             "in the objects block, objects[1].z: 3072 is outside room 2 (0 to 2047)."},
            {"a broken on-the-floor mark", changed(14 + 2, {2}),
             "in the objects block, objects[0].y: the on-the-floor mark is 2"},
            {"a second Lara", secondLara,
             "in the objects block, objects[2].kind: The project already has Lara's start"},
        });

    auto project = std::make_unique<TEditorProject>();
    MakeKnownDocument(*project);
    ASSERT_GT(project->Objects.Count, 10u);
    auto known = std::make_unique<TEditorProject>();
    known->ReplaceWith(*project);
    ExpectRefusedWhole(cases, *project, *known);

    const Bytes rooms(made.File.begin(), made.File.begin() + static_cast<std::ptrdiff_t>(at));
    ASSERT_EQ(ReadBytes(*project, rooms).Status, ReadStatus::Done);
    EXPECT_EQ(project->Objects.Count, 0u) << "the objects of the document before are gone";
    EXPECT_EQ(project->RoomCount, 2);
    EXPECT_TRUE(std::all_of(reinterpret_cast<const uint8_t*>(&project->Objects),
                            reinterpret_cast<const uint8_t*>(&project->Objects + 1),
                            [](uint8_t b) { return b == 0; }));
    ASSERT_EQ(ReadBytes(*project, made.File).Status, ReadStatus::Done);
    EXPECT_EQ(project->Objects.Count, 3u);
    EXPECT_EQ(CountObjects(*project), (ObjectCounts{1, 0, 1, 1}));
}

// The recovery copy and Save As go through the same writer: the objects come back from both,
// and the backup of a project saved over keeps the block it had.
TEST(ObjectsBlock, RecoveryCopiesAndSavesKeepTheObjects) {
    TempDir dir;
    std::mt19937 random(8);
    auto project = std::make_unique<TEditorProject>();
    AddRooms(*project, random, 3);
    test::PlaceRandomObjects(*project, random, 60);
    ASSERT_GT(project->Objects.Count, 30u);
    auto loaded = std::make_unique<TEditorProject>();
    const auto expectSame = [&](const std::string& path) {
        ASSERT_EQ(ReadProjectFile(*loaded, path).Status, ReadStatus::Done) << path;
        EXPECT_EQ(std::memcmp(static_cast<const void*>(loaded.get()), project.get(),
                              sizeof(TEditorProject)),
                  0)
            << path;
    };
    WriteRecoveryCopy(*project, dir.Path("recovery.mvn"), dir.Path("castle.mvn"));
    expectSame(dir.Path("recovery.mvn"));

    const BuildSettings settings = BuildSettingsOf(*project);
    SaveProject(*project, settings, dir.Path("castle.mvn"));
    expectSame(dir.Path("castle.mvn"));
    const Bytes first = test::ReadFileBytes(dir.Path("castle.mvn"));
    DeleteObject(*project, 0);
    SaveProject(*project, settings, dir.Path("castle.mvn"));
    expectSame(dir.Path("castle.mvn"));
    EXPECT_TRUE(test::ReadFileBytes(dir.Path("castle.mvn.bak")) == first);
}

// The triggers block assembled field by field, apart from the writer.
Bytes AssembledTriggersBlock(const TTriggerLayer& layer) {
    ByteBuilder b;
    if (layer.Count == 0) {
        return {};
    }
    uint32_t length = 4;
    for (uint32_t i = 0; i < layer.Count; ++i) {
        length += 12 + 8 * layer.Triggers[i].ActionCount;
    }
    b.Raw("TRIG", 4).U16(1).U32(length).U32(layer.Count);
    for (uint32_t i = 0; i < layer.Count; ++i) {
        const TEditorTrigger& t = layer.Triggers[i];
        b.U8(t.Room).U8(t.Column).U8(t.Row).U8(t.Kind).U8(t.Timer).U8(t.Once).U8(t.Mask);
        b.U8(t.Death).I16(t.Object).U8(t.ActionCount).U8(t.SetupBits);
        for (int a = 0; a < t.ActionCount; ++a) {
            const TTriggerAction& action = t.Actions[a];
            b.U8(action.Kind).U8(action.Seconds).U8(action.Once).U8(action.CameraBits);
            b.I16(action.Value).U16(action.Reserved);
        }
    }
    return b.Get();
}

// Random trigger layers beside random objects: the triggers block follows the objects block,
// reading gives both layers back byte for byte, and a project whose triggers all go is saved as
// it was before it had any.
TEST(TriggersBlock, RandomLayersComeBackByteForByte) {
    std::mt19937 random(21);
    auto loaded = std::make_unique<TEditorProject>();
    int withTriggers = 0, actions = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        auto project = std::make_unique<TEditorProject>();
        AddRooms(*project, random, 1 + static_cast<int>(random() % 4));
        test::PlaceRandomObjects(*project, random, round % 6 == 0 ? 0 : 40);
        const Bytes withoutTriggers = Saved(*project);
        test::PlaceRandomTriggers(*project, random, round % 7 == 0 ? 0 : 60);
        const uint32_t count = project->Triggers.Count;
        withTriggers += count > 0 ? 1 : 0;
        for (uint32_t i = 0; i < count; ++i) {
            actions += project->Triggers.Triggers[i].ActionCount;
        }

        const Bytes file = Saved(*project);
        const Bytes block = AssembledTriggersBlock(project->Triggers);
        ASSERT_EQ(file.size(), withoutTriggers.size() + block.size());
        EXPECT_TRUE(Bytes(file.begin(),
                          file.begin() + static_cast<std::ptrdiff_t>(withoutTriggers.size())) ==
                    withoutTriggers)
            << "the rooms and objects are written as before";
        EXPECT_TRUE(Bytes(file.begin() + static_cast<std::ptrdiff_t>(withoutTriggers.size()),
                          file.end()) == block);

        ASSERT_EQ(ReadBytes(*loaded, file).Status, ReadStatus::Done);
        EXPECT_EQ(std::memcmp(&loaded->Objects, &project->Objects, sizeof(TObjectLayer)), 0);
        EXPECT_EQ(std::memcmp(&loaded->Triggers, &project->Triggers, sizeof(TTriggerLayer)), 0)
            << "the triggers read differ from the ones saved";
        ProjectOutline outline;
        ASSERT_EQ(ReadOutlineBytes(outline, file).Status, ReadStatus::Done);
        EXPECT_EQ(outline.Triggers, static_cast<int>(count));
        EXPECT_TRUE(outline == OutlineOf(*project, ProjectFileVersion));

        // Deleting every object takes the triggers tied to them and the actions naming them;
        // deleting the rest of the triggers gives back the file without any.
        // Each deletion leaves every trigger naming the very objects it named before.
        const auto named = [&] {
            std::map<std::tuple<int, int, int>, std::vector<std::string>> objects;
            for (uint32_t i = 0; i < project->Triggers.Count; ++i) {
                const TEditorTrigger& t = project->Triggers.Triggers[i];
                auto& list = objects[{t.Room, t.Column, t.Row}];
                const auto add = [&](int index) {
                    const auto* bytes =
                        reinterpret_cast<const char*>(&project->Objects.Objects[index]);
                    list.emplace_back(bytes, sizeof(TEditorObject));
                };
                if (TriggerKindTiesObject(t.KindOf())) {
                    add(t.Object);
                }
                for (int a = 0; a < t.ActionCount; ++a) {
                    const TriggerActionKind kind = t.Actions[a].KindOf();
                    if (TriggerActionNamesObject(kind) || TriggerActionNamesCamera(kind)) {
                        add(t.Actions[a].Value);
                    } else {
                        list.push_back(std::to_string(t.Actions[a].Value));
                    }
                }
            }
            return objects;
        };
        while (project->Objects.Count > 0) {
            const int gone = static_cast<int>(random() % project->Objects.Count);
            const std::string goneBytes(
                reinterpret_cast<const char*>(&project->Objects.Objects[gone]),
                sizeof(TEditorObject));
            auto expected = named();
            DeleteObject(*project, gone);
            for (auto place = expected.begin(); place != expected.end();) {
                auto& list = place->second;
                list.erase(std::remove(list.begin(), list.end(), goneBytes), list.end());
                ++place;
            }
            const auto after = named();
            for (const auto& [place, list] : after) {
                ASSERT_EQ(list, expected[place]) << "a trigger names other objects";
            }
        }
        for (uint32_t i = 0; i < project->Triggers.Count; ++i) {
            const TEditorTrigger& t = project->Triggers.Triggers[i];
            ASSERT_FALSE(TriggerKindTiesObject(t.KindOf()));
            for (int a = 0; a < t.ActionCount; ++a) {
                ASSERT_FALSE(TriggerActionNamesObject(t.Actions[a].KindOf()) ||
                             TriggerActionNamesCamera(t.Actions[a].KindOf()));
            }
        }
        while (project->Triggers.Count > 0) {
            const TEditorTrigger t = project->Triggers.Triggers[random() % project->Triggers.Count];
            DeleteTriggers(*project, {{t.Room, t.Column, t.Row}});
        }
        EXPECT_TRUE(
            Saved(*project) ==
            Bytes(withoutTriggers.begin(),
                  withoutTriggers.begin() + static_cast<std::ptrdiff_t>(RoomsFileSize(*project))));
    }
    EXPECT_GT(withTriggers, 20);
    EXPECT_GT(actions, 300);
}

// Every damage of the triggers block refuses the whole file, naming the file and the block, and
// leaves the open document as it was.
TEST(TriggersBlock, EveryDamagedBlockRefusesTheFileAndNamesTheBlock) {
    auto known = std::make_unique<TEditorProject>();
    SceneRooms scene;
    RoomDialogValues values;
    values.Long = 4;
    values.Width = 5;
    AddRoom(*known, scene, values);
    PlaceObject(*known, NewObject(ObjectKind::Item, 1, 100, 200, 30));
    PlaceObject(*known, NewObject(ObjectKind::Camera, 1, 1100, 200));
    TEditorTrigger pad = NewTrigger(1, 2, 3, TriggerKind::Pad);
    pad.Actions[pad.ActionCount++] = NewTriggerAction(TriggerActionKind::Object, 0);
    pad.Actions[pad.ActionCount++] = NewTriggerAction(TriggerActionKind::Camera, 1, 4, true);
    ASSERT_FALSE(SetTriggers(*known, FormatNone, {{1, 2, 3}}, pad).Refused);
    TEditorTrigger lever = NewTrigger(1, 4, 2, TriggerKind::Switch);
    lever.Object = 0;
    lever.Actions[lever.ActionCount++] = NewTriggerAction(TriggerActionKind::Secret, 2);
    ASSERT_FALSE(SetTriggers(*known, FormatNone, {{1, 4, 2}}, lever).Refused);
    const Bytes made = Saved(*known);
    const std::size_t at = made.size() - (14 + 12 + 16 + 12 + 8);
    ASSERT_EQ(std::string(made.begin() + static_cast<std::ptrdiff_t>(at),
                          made.begin() + static_cast<std::ptrdiff_t>(at) + 4),
              "TRIG");
    const std::string block = "the triggers block at byte " + std::to_string(at);
    const auto changed = [&](std::size_t offset, const Bytes& value) {
        Bytes file = made;
        Put(file, at + offset, value);
        return file;
    };
    std::vector<Case> cases;
    for (std::size_t length = at + 1; length < made.size(); ++length) {
        cases.push_back({"cut at " + std::to_string(length),
                         Bytes(made.begin(), made.begin() + static_cast<std::ptrdiff_t>(length)),
                         block + " is truncated"});
    }
    Bytes twice = made;
    twice.insert(twice.end(), made.begin() + static_cast<std::ptrdiff_t>(at), made.end());
    const std::size_t first = 14, second = first + 12 + 16; // the two records, in the block
    cases.insert(
        cases.end(),
        {
            {"version 2", changed(4, {2, 0}),
             block + " has version 2, which this program does not read (it reads version 1)."},
            {"a length one byte short", changed(6, {51, 0, 0, 0}),
             block + " has a length of 51 bytes, which ends within the actions of trigger 1."},
            {"a length one byte long", changed(6, {53, 0, 0, 0}), block + " is truncated"},
            {"a length without the count", changed(6, {3, 0, 0, 0}),
             block + " has a length of 3 bytes, too short for its count."},
            {"a count above the capacity", changed(10, {0x01, 0x20, 0, 0}),
             block + " holds 8193 triggers, above the limit of 8192."},
            {"one trigger too many", changed(10, {3, 0, 0, 0}),
             block + " has a length of 52 bytes, which ends within trigger 2 of its 3."},
            {"too many actions", changed(first + 10, {17}),
             block + ": trigger 0 has 17 actions, above the limit of 16."},
            {"a second block", twice,
             "the triggers block at byte " + std::to_string(made.size()) +
                 " is a second triggers block."},
            {"a row outside the room", changed(first + 2, {5}),
             "in the triggers block, triggers[0].row: 5 is outside 1 to 4 (the rows of room 1)."},
            {"a room the project lacks", changed(second, {2}),
             "in the triggers block, triggers[1].room: room 2 does not exist (the project has 1)."},
            {"an unknown kind", changed(first + 3, {13}),
             "in the triggers block, triggers[0].kind: unknown kind 13."},
            {"a mask of six bits", changed(first + 6, {32}),
             "in the triggers block, triggers[0].mask: 32 is outside 0 to 31."},
            {"a switch without its switch", changed(second + 8, {0xFF, 0xFF}),
             "in the triggers block, triggers[1].object: object -1 does not exist (the project "
             "has 2)."},
            {"a camera action naming the item", changed(first + 12 + 8 + 4, {0, 0}),
             "in the triggers block, triggers[0].actions[1].camera: object 0 is an item, not a "
             "camera."},
            {"an unknown action", changed(first + 12, {12}),
             "in the triggers block, triggers[0].actions[0].do: unknown action 12."},
            {"secret 17", changed(second + 12 + 4, {17, 0}),
             "in the triggers block, triggers[1].actions[0].number: 17 is outside 1 to 16."},
            {"two triggers on one sector", changed(second, {1, 2, 3}),
             "in the triggers block, triggers[1].room: its sector already has triggers[0]"},
        });
    auto project = std::make_unique<TEditorProject>();
    project->ReplaceWith(*known);
    ExpectRefusedWhole(cases, *project, *known);
    ASSERT_EQ(ReadBytes(*project, made).Status, ReadStatus::Done);
    EXPECT_EQ(project->Triggers.Count, 2u);
}

} // namespace
} // namespace morvane
