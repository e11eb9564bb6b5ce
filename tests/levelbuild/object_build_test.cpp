#include "levelbuild/build_fixture.h"

#include "document/object_operations.h"
#include "document/sector_numbering.h"
#include "level/floor_data.h"
#include "level/level_check.h"
#include "level/level_reader.h"
#include "level/world_units.h"

#include <gmock/gmock.h>

#include <cstring>
#include <random>

namespace morvane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// Little-endian fields of a stored record, read here apart from the program's own decoding.
uint32_t U(const uint8_t* bytes, int offset, int size) {
    uint32_t value = 0;
    for (int b = size - 1; b >= 0; --b) {
        value = value << 8 | bytes[offset + b];
    }
    return value;
}
int32_t I32(const uint8_t* bytes, int offset) {
    return static_cast<int32_t>(U(bytes, offset, 4));
}

std::vector<std::string> Lines(const std::vector<LevelFinding>& findings) {
    std::vector<std::string> lines;
    for (const LevelFinding& f : findings) {
        lines.push_back(FormatFinding(f));
    }
    return lines;
}

TEditorObject Object(ObjectKind kind, int room, int x, int z, int type = 0) {
    return NewObject(kind, room, x, z, type);
}

using ObjectChecks = test::BuildFixture;

class ObjectBuild : public test::BuildFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    std::string Extension() const {
        return GetParam() == FormatTUB ? ".tub" : "." + std::string(FormatKindName(GetParam()));
    }
    // Two rooms of 8 x 8 sectors at level 16 (floors at y 16384), side by side.
    void TwoRooms() {
        NewProject(*project, scene);
        Add(8, 8, 2, 16, 5, 4);
        Add(8, 8, 12, 16, 5, 4);
    }
    void Place(const TEditorObject& object) {
        const DocumentOutcome outcome = PlaceObject(*project, object);
        ASSERT_FALSE(outcome.Refused) << outcome.Message;
    }
    // Builds onto the layout's demo base and reads the level back.
    BuildResult BuildAndRead(TLevelData& out, const std::string& items = "") {
        if (base_.empty()) {
            base_ = MakeBase(GetParam(), "base" + Extension());
        }
        const std::string file = dir.Path("out" + Extension());
        BuildResult result = Build({base_, file, items, "", ""});
        if (result.Written) {
            EXPECT_EQ(ReadLevelFile(out, file).Status, ReadStatus::Done);
        }
        return result;
    }
    std::string base_;
};

TEST_P(ObjectBuild, EveryKindStandsWhereItWasPlacedInTheLayoutsRecords) {
    const int32_t kind = GetParam();
    const bool second = UsesSecondGameRecords(kind);
    TwoRooms();
    TEditorObject lara = Object(ObjectKind::Item, 2, 3 * 1024 + 100, 4 * 1024 + 200, 0);
    lara.Angle = 0x4000;
    lara.Flags = ItemActivationMask;
    lara.Intensity = 1234;
    TEditorObject item = Object(ObjectKind::Item, 1, 2 * 1024 + 512, 5 * 1024 + 7, 163);
    item.OnFloor = 0;
    item.Y = 16384 - 300; // above the floor, as a hanging pickup
    item.Angle = 0xC000;
    item.Flags = ItemInvisibleFlag | 0x0600;
    item.Intensity = 777;
    item.Intensity2 = 888;
    TEditorObject camera = Object(ObjectKind::Camera, 1, 4 * 1024, 3 * 1024);
    camera.OnFloor = 0;
    camera.Y = 16384 - 700;
    camera.Flags = 1;
    TEditorObject mesh = Object(ObjectKind::Static, 2, 5 * 1024 + 512, 2 * 1024 + 512, 0);
    mesh.Angle = 0x8000;
    mesh.Intensity = 0x1111;
    mesh.Intensity2 = 0x2222;
    TEditorObject light = Object(ObjectKind::Light, 1, 1536, 1536);
    light.OnFloor = 0;
    light.Y = 16384 - 512;
    light.Intensity = 0x0F00;
    light.Intensity2 = 0x0E00;
    light.Fade = 0x5000;
    light.Colour = 0x102030;
    // The layer's order is not the level's: Lara comes first whatever her place.
    for (const TEditorObject& o : {camera, item, mesh, lara, light}) {
        Place(o);
    }

    auto out = std::make_unique<TLevelData>();
    const BuildResult result = BuildAndRead(*out);
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(Lines(result.Warnings), IsEmpty());
    EXPECT_THAT(Lines(CheckLevel(*out)), IsEmpty());

    const TRoomInfo& one = out->Rooms[0].RoomInfo;
    const TRoomInfo& two = out->Rooms[1].RoomInfo;
    ASSERT_EQ(one.X, 2 * 1024);
    ASSERT_EQ(two.X, 12 * 1024);
    ASSERT_EQ(out->NumItems, 2u);
    struct Expected {
        int Type, Room, X, Y, Z, Angle, Intensity, Intensity2, Flags;
    };
    const Expected items[] = {
        {0, 1, two.X + lara.X, 16384, two.Z + lara.Z, 0x4000, 1234, -1, ItemActivationMask},
        {163, 0, one.X + item.X, 16384 - 300, one.Z + item.Z, 0xC000, 777, 888, 0x0700}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        const Expected& e = items[i];
        if (second) {
            const TItem2& got = out->Items2[i];
            EXPECT_EQ(got.Intensity2, e.Intensity2 < 0 ? 0xFFFF : e.Intensity2);
            EXPECT_EQ(std::tuple(+got.Type, +got.Room, +got.X, +got.Y, +got.Z, +got.Angle,
                                 +got.Intensity, +got.Flags),
                      std::tuple(e.Type, e.Room, +e.X, +e.Y, +e.Z, e.Angle, e.Intensity, e.Flags));
        } else {
            const TItem1& got = out->Items1[i];
            EXPECT_EQ(std::tuple(+got.Type, +got.Room, +got.X, +got.Y, +got.Z, +got.Angle,
                                 +got.Intensity, +got.Flags),
                      std::tuple(e.Type, e.Room, +e.X, +e.Y, +e.Z, e.Angle, e.Intensity, e.Flags));
        }
    }

    ASSERT_EQ(out->NumCameras, 1u);
    const TCamera& c = out->Cameras[0];
    EXPECT_EQ(std::tuple(+c.X, +c.Y, +c.Z, +c.Room, +c.Flags),
              std::tuple(+one.X + 4096, 16384 - 700, +one.Z + 3072, 0, 1));

    ASSERT_EQ(out->Rooms[1].NumStaticMeshes, 1);
    EXPECT_EQ(out->Rooms[0].NumStaticMeshes, 0);
    const uint8_t* s =
        second ? out->Rooms[1].RoomStatics2[0].Bytes : out->Rooms[1].RoomStatics1[0].Bytes;
    EXPECT_EQ(std::tuple(I32(s, 0), I32(s, 4), I32(s, 8), U(s, 12, 2), U(s, 14, 2)),
              std::tuple(+two.X + +mesh.X, 16384, +two.Z + +mesh.Z, 0x8000u, 0x1111u));
    EXPECT_EQ(second ? U(s, 16, 2) : U(s, 16, 2), second ? 0x2222u : 0u)
        << "second intensity, then the mesh id (0)";
    if (second) {
        EXPECT_EQ(U(s, 18, 2), 0u);
    }

    ASSERT_EQ(out->Rooms[0].NumLights, 1);
    EXPECT_EQ(out->Rooms[1].NumLights, 0);
    const uint8_t* l = second ? out->Rooms[0].Lights2[0].Bytes : out->Rooms[0].Lights1[0].Bytes;
    EXPECT_EQ(std::tuple(I32(l, 0), I32(l, 4), I32(l, 8)),
              std::tuple(+one.X + 1536, 16384 - 512, +one.Z + 1536));
    if (kind == FormatTR3) {
        EXPECT_EQ(std::tuple(l[12], l[13], l[14], l[15]), std::tuple(0x10, 0x20, 0x30, 0));
        EXPECT_EQ(std::tuple(U(l, 16, 2), U(l, 18, 2), U(l, 20, 4)),
                  std::tuple(0x0F00u, 0x0E00u, 0x5000u));
    } else if (second) {
        EXPECT_EQ(std::tuple(U(l, 12, 2), U(l, 14, 2), U(l, 16, 4), U(l, 20, 4)),
                  std::tuple(0x0F00u, 0x0E00u, 0x5000u, 0x5000u));
    } else {
        EXPECT_EQ(std::tuple(U(l, 12, 2), U(l, 14, 4)), std::tuple(0x0F00u, 0x5000u));
    }
}

// An items table after objects comes after them, its triggers still naming its own items and
// cameras; without objects it replaces them as before.
TEST_P(ObjectBuild, AnItemsTableComesAfterTheObjects) {
    const bool second = UsesSecondGameRecords(GetParam());
    const int itemSize = second ? 24 : 22;
    const int lightSize = second ? 24 : 18;
    TwoRooms();
    test::ByteBuilder table;
    table.U8(7).Raw("QUILLON", 7).U32(2);
    for (int i = 0; i < 2; ++i) { // two items in room 1, on its floor
        std::vector<uint8_t> record(itemSize, 0);
        const int16_t type = i == 0 ? 0 : 163, room = 0; // Lara, then a pickup
        const int32_t x = 2048 + 1536 + 1024 * i, y = 16384, z = 5 * 1024 + 1536;
        std::memcpy(&record[0], &type, 2);
        std::memcpy(&record[2], &room, 2);
        std::memcpy(&record[4], &x, 4);
        std::memcpy(&record[8], &y, 4);
        std::memcpy(&record[12], &z, 4);
        table.Raw(reinterpret_cast<const char*>(record.data()), record.size());
    }
    // A trigger (type 0) on item 2 of the table, then its camera 1.
    table.U16(5).U16(0x8004).U16(0x3E00).U16(0x0001).U16(0x0400).U16(0x8000);
    table.U32(1).I32(2048 + 2048).I32(16384 - 1024).I32(5 * 1024 + 2048).U16(0).U16(0);
    table.U16(1).U16(0);                            // room 1: no sprites
    table.U16(1).Pattern(lightSize, 0x11).U16(0);   // a light, no static meshes
    table.I16(-1).U16(0);                           // no alternate room, no flags
    table.U16(1).U16(SectorNumber(3, 3, 8)).U16(0); // the trigger under room 1's column 3, row 3
    test::WriteFileBytes(dir.Path("t.itm"), table.Get());

    auto out = std::make_unique<TLevelData>();
    BuildResult result = BuildAndRead(*out, dir.Path("t.itm"));
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(result.Messages, IsEmpty());
    EXPECT_EQ(out->NumItems, 2u) << "without objects the table's items replace Lara";
    EXPECT_EQ(out->NumCameras, 1u);
    EXPECT_EQ(out->Rooms[0].NumLights, 1);

    Place(Object(ObjectKind::Item, 1, 1536, 1536, 0));
    Place(Object(ObjectKind::Item, 1, 2560, 1536, 163));
    Place(Object(ObjectKind::Camera, 1, 2048, 2048));
    TEditorObject light = Object(ObjectKind::Light, 1, 2048, 2048);
    Place(light);
    result = BuildAndRead(*out, dir.Path("t.itm"));
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(result.Messages,
                ElementsAre("Item 3 of the level, from the items table or the script, is a second "
                            "Lara: the game starts her there rather than at the project's. Remove "
                            "one of them."));
    ASSERT_EQ(out->NumItems, 4u);
    ASSERT_EQ(out->NumCameras, 2u);
    EXPECT_EQ(second ? out->Items2[0].Type : out->Items1[0].Type, 0);
    EXPECT_EQ(second ? out->Items2[2].X : out->Items1[2].X, 2048 + 1536) << "the table's first";
    EXPECT_EQ(out->Cameras[1].X, 4096) << "the table's camera";
    ASSERT_EQ(out->Rooms[0].NumLights, 2);
    const uint8_t* l = second ? out->Rooms[0].Lights2[1].Bytes : out->Rooms[0].Lights1[1].Bytes;
    EXPECT_EQ(l[0], 0x11) << "the table's light after the project's";
    const SectorFloorData data =
        ReadSectorFloorData(*out, out->Rooms[0].Sectors[2 * 8 + 2].FloorDataIndex);
    EXPECT_EQ(data.TriggeredItems, std::vector<int>{3}) << "the table's item 2, now item 4";
    EXPECT_EQ(data.TriggeredCameras, std::vector<int>{1}) << "the table's camera 1, now 2";

    // 15 lights of the project fill room 1: the table's light does not fit.
    for (int n = 0; n < 14; ++n) {
        Place(light);
    }
    result = BuildAndRead(*out, dir.Path("t.itm"));
    EXPECT_THAT(result.Messages,
                ElementsAre(HasSubstr("the lights of room 1 after the level's 15 would be 16, "
                                      "above the limit of 15.")));
}

// Misplaced objects: what the game survives is a warning, what breaks it stops the build; each
// names the object by its place in the layer.
TEST_F(ObjectChecks, NameEachMisplacedObject) {
    NewProject(*project, scene);
    Add(8, 8, 2, 16, 5, 4); // floors at y 16384, ceilings at 12288, a solid border
    Add(8, 8, 12, 16, 5, 4);
    auto place = [&](TEditorObject o, int onFloor, int y) {
        o.OnFloor = static_cast<uint8_t>(onFloor);
        o.Y = y;
        project->Objects.Objects[project->Objects.Count++] = o;
    };
    place(NewObject(ObjectKind::Item, 1, 1536, 1536, 0), 1, 0);
    place(NewObject(ObjectKind::Item, 1, 2560, 2560, 163), 0, 16384 + 300);
    place(NewObject(ObjectKind::Static, 2, 512, 3000, 0), 1, 0);
    place(NewObject(ObjectKind::Light, 1, 3000, 3000), 0, 12288 - 2000);
    place(NewObject(ObjectKind::Item, 2, 3000, 3000, 999), 1, 0);
    place(NewObject(ObjectKind::Camera, 2, 2048, 2048), 0, 16384 + 10);
    const std::string base = MakeBase(FormatTR1, "base.phd");
    BuildResult result = Build({base, dir.Path("out.phd"), "", "", ""});
    ASSERT_TRUE(result.Written) << ::testing::PrintToString(result.Messages);
    EXPECT_THAT(
        Lines(result.Warnings),
        ElementsAre(
            "warning: room 1 (Room #1), object 1 (item): the item lies 300 units under the floor: "
            "it is hidden or falls out of the room. Put it on the floor, at y 16384.",
            "warning: room 2 (Room #2), object 2 (static): the static mesh lies inside a solid "
            "sector (room 2 (Room #2), column 1, row 3): it is hidden in a wall. Move it onto an "
            "open sector.",
            "warning: room 1 (Room #1), object 3 (light): the light lies 2000 units above the "
            "ceiling: it is outside its room. Put it under the ceiling, below y 12288.",
            "warning: room 2 (Room #2), object 4 (item): the level has no model for item type 999 "
            "(no moveable or sprite sequence of that id): the game cannot show it. Choose a type "
            "the base level has.",
            "warning: room 2 (Room #2), object 5 (camera): the camera lies 10 units under the "
            "floor: it is hidden or falls out of the room. Put it on the floor, at y 16384."));
    // The level check finds them too in the level file, by the level's own numbers.
    auto out = std::make_unique<TLevelData>();
    ASSERT_EQ(ReadLevelFile(*out, dir.Path("out.phd")).Status, ReadStatus::Done);
    const std::vector<std::string> found = Lines(CheckLevel(*out));
    EXPECT_EQ(found.size(), 5u) << ::testing::PrintToString(found);
    EXPECT_THAT(found, Contains(StartsWith("warning: room 2, static mesh 1: the static mesh lies "
                                           "inside a solid sector")));
    EXPECT_THAT(found, Contains(StartsWith("warning: room 1, light 1: the light lies 2000 units")));
    EXPECT_THAT(found, Contains(StartsWith("warning: room 2, item 3: the level has no model")));
    EXPECT_THAT(found, Contains(StartsWith("warning: room 2, camera 1: the camera lies 10 units")));

    // Lara under the floor, an item outside its room, an object in a missing room: errors.
    project->Objects.Objects[0].OnFloor = 0;
    project->Objects.Objects[0].Y = 16384 + 100;
    project->Objects.Objects[1].X = 9000;
    place(NewObject(ObjectKind::Item, 9, 512, 512, 163), 1, 0);
    result = Build({base, dir.Path("out.phd"), "", "", ""});
    EXPECT_FALSE(result.Written);
    ASSERT_EQ(result.Messages.size(), 1u);
    EXPECT_EQ(result.Messages[0],
              "The level was not written: 3 errors would break it in the game:\n"
              "error: room 1 (Room #1), object 0 (item): Lara starts 100 units under the floor: "
              "she falls out of the level or is stuck. Put her on the floor, at y 16384.\n"
              "error: room 1 (Room #1), object 1 (item): the item at x 11048, z 7680 stands "
              "outside its room: the game finds the floor and draws it in the wrong place. Move "
              "it into the room or give it the room it stands in.\n"
              "error: object 6 (item): room 9 does not exist (the project has 2): the build "
              "cannot place it. Put it in one of the project's rooms.");

    // Past a capacity the build stops before anything is built.
    project->Objects.Count = 0;
    for (int i = 0; i < 300; ++i) {
        place(NewObject(ObjectKind::Item, 1, 1536, 1536, 163), 1, 0);
    }
    result = Build({base, dir.Path("out.phd"), "", "", ""});
    EXPECT_THAT(result.Messages, ElementsAre("The project has 301 items, Lara's included; a level "
                                             "holds at most 300 items; the level was not "
                                             "written."));
    project->Objects.Count = 0;
    for (int i = 0; i < 16; ++i) {
        place(NewObject(ObjectKind::Light, 2, 1536, 1536), 1, 0);
    }
    result = Build({base, dir.Path("out.phd"), "", "", ""});
    EXPECT_THAT(result.Messages, ElementsAre("Room 2 has 16 lights; a room holds at most 15 "
                                             "lights; the level was not written."));
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, ObjectBuild,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

} // namespace
} // namespace morvane
