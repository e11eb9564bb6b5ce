#include "import/random_project.h"
#include "support/test_files.h"

#include "demo/demo_level.h"
#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "document/room_operations.h"
#include "document/shape_table.h"
#include "import/level_import.h"
#include "level/floor_data.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/level_writer.h"
#include "level/room_objects.h"
#include "levelbuild/build_pipeline.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>

namespace morvane {
namespace {

// Projects made by the editor's operations, built onto a demo base level, come back from the
// built level as they were. What the build does not keep is defined here:
// - a flat floor (ceiling) of shape 1 comes back as shape 0 a level higher (lower): both build
//   the same level;
// - PortalKind tells a wall portal (2) from a room above (1); a sector without a room above
//   comes back with 0, whatever it held;
// - a slot whose face the build made comes back with its texture, or -1 when it had none; a slot
//   whose face the build did not make (a wall hidden by its neighbour, the face of a closed
//   sector) takes the room's default texture of its kind;
// - the editor gives every sector of a room the same light, which comes back in every light slot
//   and as the room's SectorLight;
// - BoxIndex is 65535 and FloorDataIndex the slope entry of the shapes, as the editor keeps them.
class RoundTrip : public ::testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        kind_ = GetParam();
        extension_ = kind_ == FormatTUB ? ".tub" : std::string(".") + FormatKindName(kind_);
        auto base = std::make_unique<TLevelData>();
        demo::MakeDemoLevel(*base, kind_);
        textures_ = static_cast<int>(base->NumObjectTextures);
        base_ = dir_.Path("base" + extension_);
        ASSERT_EQ(WriteLevelFile(*base, base_), LevelWritten);
    }

    // Builds the project into a file, from a fresh read of the base level, and reads it back;
    // returns the build's refusal, empty when the level was written.
    std::string TryBuild(const TEditorProject& project, const std::string& name, TLevelData& out) {
        record_->LastBaseLevelName.clear();
        TScriptState script;
        const BuildResult result =
            BuildLevel(project, *record_, {base_, dir_.Path(name + extension_), "", "", ""},
                       std::string(MORVANE_SOURCE_DIR) + "/data", script);
        if (!result.Written) {
            return ::testing::PrintToString(result.Messages);
        }
        EXPECT_EQ(ReadLevelFile(out, dir_.Path(name + extension_)).Status, ReadStatus::Done);
        return "";
    }
    void Build(const TEditorProject& project, const std::string& name, TLevelData& out) {
        const std::string refusal = TryBuild(project, name, out);
        ASSERT_EQ(refusal, "");
    }

    // The slots (room, n * 10 + slot) whose faces the build makes: the project is built once more
    // with every slot's texture set to its own number, which the level's faces then carry.
    std::set<std::pair<int, int>> BuiltSlots(const TEditorProject& project) {
        TEditorProject* tagged = scratchProject_.get();
        tagged->ReplaceWith(project);
        for (int r = 1; r <= tagged->RoomCount; ++r) {
            TEditorRoom& room = tagged->Room(r);
            for (int n = 0; n < room.SectorCount(); ++n) {
                for (int t = 0; t < 5; ++t) {
                    room.Sectors[n].FloorSurface.Textures[t] = n * 10 + t;
                    room.Sectors[n].CeilingSurface.Textures[t] = n * 10 + 5 + t;
                }
            }
        }
        // The tags lie beyond the base level's object textures, which stops the write of all but
        // the smallest projects; the level record holds the level as built all the same.
        TLevelData* level = record_.get();
        level->LastBaseLevelName.clear();
        TScriptState script;
        const BuildResult result =
            BuildLevel(*tagged, *level, {base_, dir_.Path("tagged" + extension_), "", "", ""},
                       std::string(MORVANE_SOURCE_DIR) + "/data", script);
        EXPECT_TRUE(result.Written ||
                    (result.Messages.size() == 1 &&
                     result.Messages[0].find("use object textures beyond") != std::string::npos))
            << ::testing::PrintToString(result.Messages);
        std::set<std::pair<int, int>> slots;
        for (int r = 0; r < level->NumRooms; ++r) {
            const TLevelRoom& room = level->Rooms[r];
            for (int f = 0; f < room.NumRectangles; ++f) {
                slots.insert({r + 1, room.Rectangles[f].Texture});
            }
            for (int f = 0; f < room.NumTriangles; ++f) {
                slots.insert({r + 1, room.Triangles[f].Texture});
            }
        }
        return slots;
    }

    int32_t kind_ = 0;
    std::string extension_, base_;
    int textures_ = 0;
    test::TempDir dir_;
    // Records made once: each is tens of megabytes.
    std::unique_ptr<TLevelData> record_ = std::make_unique<TLevelData>();
    std::unique_ptr<TEditorProject> scratchProject_ = std::make_unique<TEditorProject>();
};

// Shape 1 is shape 0 one level further: returns the level and the shape as the import gives them.
std::pair<int, int> Canonical(int level, int shape, int towardOpening) {
    return shape == 1 ? std::pair{level + towardOpening, 0} : std::pair{level, shape};
}

void ExpectSameRoom(const TEditorRoom& made, const TEditorRoom& back,
                    const std::set<std::pair<int, int>>& built, int r) {
    ASSERT_EQ(back.PosX, made.PosX);
    ASSERT_EQ(back.PosZ, made.PosZ);
    ASSERT_EQ(back.PosY, made.PosY);
    ASSERT_EQ(back.Height, made.Height);
    ASSERT_EQ(back.XSectors, made.XSectors);
    ASSERT_EQ(back.ZSectors, made.ZSectors);
    EXPECT_EQ(back.Water != 0, made.Water != 0);
    EXPECT_EQ(back.WindRain != 0, made.WindRain != 0);
    EXPECT_EQ(back.Quicksand != 0, made.Quicksand != 0);
    EXPECT_EQ(back.Sky != 0, made.Sky != 0);
    EXPECT_EQ(back.AmbientIntensity, made.AmbientIntensity & 0xFF);
    EXPECT_EQ(back.SectorLight, made.SectorLight);

    ASSERT_EQ(back.PortalViewCount, made.PortalViewCount);
    for (int d = 1; d <= made.PortalViewCount; ++d) {
        const TPortalView& a = made.PortalView(d);
        const TPortalView& b = back.PortalView(d);
        SCOPED_TRACE("portal view " + std::to_string(d));
        EXPECT_EQ(+b.Facing, +a.Facing);
        EXPECT_EQ(+b.TargetRoom, +a.TargetRoom);
        EXPECT_EQ(+b.WidthTiles, +a.WidthTiles);
        // A wall view shows no more than the opening it stands in, whatever its height: the
        // level keeps what it shows, and the rebuild below compares the portals themselves.
        if (a.Facing > PortalFacingRight) {
            EXPECT_EQ(+b.HeightTiles, +a.HeightTiles);
        }
        EXPECT_EQ(+b.OriginX, +a.OriginX);
        EXPECT_EQ(+b.OriginZ, +a.OriginZ);
    }

    for (int n = 1; n <= made.SectorCount(); ++n) {
        SCOPED_TRACE("sector " + std::to_string(n));
        const TEditorSector& a = made.Sector(n);
        const TEditorSector& b = back.Sector(n);
        const TGameSector& ga = made.GameSector(n);
        const TGameSector& gb = back.GameSector(n);
        const auto floor = Canonical(ga.FloorHeight, a.FloorShape, +1);
        const auto ceiling = Canonical(ga.CeilingHeight, a.CeilingShape, -1);
        ASSERT_EQ(gb.FloorHeight, floor.first);
        ASSERT_EQ(+b.FloorShape, floor.second);
        ASSERT_EQ(gb.CeilingHeight, ceiling.first);
        ASSERT_EQ(+b.CeilingShape, ceiling.second);
        EXPECT_EQ(+gb.FloorDataIndex, +ga.FloorDataIndex);
        EXPECT_EQ(+gb.BoxIndex, 0xFFFF);
        EXPECT_EQ(gb.RoomBelow, ga.RoomBelow);
        EXPECT_EQ(gb.RoomAbove, ga.RoomAbove);
        EXPECT_EQ(b.PortalKind == PortalKindSide, a.PortalKind == PortalKindSide);
        if (ga.RoomAbove != NoRoom) {
            EXPECT_EQ(+b.PortalKind, +a.PortalKind);
        }
        for (int s = 0; s < 10; ++s) {
            const bool ceilingSide = s >= 5;
            const int t = s % 5;
            const TSectorSurface& sa = ceilingSide ? a.CeilingSurface : a.FloorSurface;
            const TSectorSurface& sb = ceilingSide ? b.CeilingSurface : b.FloorSurface;
            const int32_t texture = sb.Textures[t];
            if (built.count({r, (n - 1) * 10 + s}) != 0) {
                EXPECT_EQ(texture, sa.Textures[t] < 0 ? -1 : sa.Textures[t]) << "slot " << s;
            } else {
                const int wallDefault[5] = {0, 1, -1, 2, 3};
                const int which = t == 2 ? (ceilingSide ? DefaultCeilingFace : DefaultFloorFace)
                                         : (ceilingSide ? DefaultCeilingWall1 : DefaultFloorWall1) +
                                               wallDefault[t];
                EXPECT_EQ(texture, back.DefaultTextures[which]) << "hidden slot " << s;
            }
            EXPECT_EQ(sb.Lights[t], sa.Lights[t]) << "light slot " << t;
        }
    }
}

TEST_P(RoundTrip, ProjectsMadeByTheEditorComeBackFromTheirLevel) {
    auto made = std::make_unique<TEditorProject>();
    auto back = std::make_unique<TEditorProject>();
    auto level = std::make_unique<TLevelData>();
    auto rebuilt = std::make_unique<TLevelData>();
    constexpr int Projects = 25;
    int unbuildable = 0, withAlternates = 0;
    for (int seed = 1; seed <= Projects; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(static_cast<unsigned>(seed * 7 + kind_));
        test::MakeRandomProject(*made, random, textures_);
        if (seed % 3 == 0) { // every other room given an alternate, as the editor makes them
            SceneRooms scene;
            const int current = made->CurrentRoom;
            for (int r = 1, rooms = made->RoomCount; r <= rooms; r += 2) {
                SelectRoom(*made, scene, r - 1);
                ASSERT_FALSE(MakeAlternateRoom(*made, scene).Refused);
            }
            made->CurrentRoom = static_cast<uint8_t>(current);
        }
        // A random room can need more vertices than a level room holds, and the current room
        // can be closed all over (Lara would start in a wall, which stops the write): such a
        // project has no level to come back from.
        if (const std::string refusal = TryBuild(*made, "made", *level); !refusal.empty()) {
            EXPECT_TRUE(refusal.find("needs more than") != std::string::npos ||
                        refusal.find("Lara starts inside a solid sector") != std::string::npos)
                << refusal;
            ++unbuildable;
            continue;
        }
        const ImportResult result = ImportLevelRooms(*level, *back, base_);

        ASSERT_EQ(result.Counts.RoomsWhole, made->RoomCount)
            << ::testing::PrintToString(result.Messages);
        EXPECT_EQ(result.Counts.RoomsClipped + result.Counts.RoomsSkipped, 0);
        EXPECT_EQ(result.Counts.SectorsClipped + result.Counts.SectorsSkipped, 0);
        ASSERT_EQ(back->RoomCount, made->RoomCount);
        EXPECT_EQ(FlipLinks(*back), FlipLinks(*made)) << "the alternate rooms come back";
        withAlternates += AlternateRoomCount(*made) > 0 ? 1 : 0;
        EXPECT_EQ(back->Settings.BaseLevelFile.Str(), base_);
        EXPECT_EQ(back->Settings.OutputLevelFile.Str(), "");
        EXPECT_EQ(result.Counts.FacesUsed, result.Counts.Faces)
            << "every face of the level belongs to a sector slot";
        for (const std::string& message : result.Messages) {
            EXPECT_EQ(message.find("Level room"), std::string::npos) << message;
        }

        const auto built = BuiltSlots(*made);
        int sectors = 0;
        for (int r = 1; r <= made->RoomCount; ++r) {
            SCOPED_TRACE("room " + std::to_string(r));
            ASSERT_NO_FATAL_FAILURE(ExpectSameRoom(made->Room(r), back->Room(r), built, r));
            sectors += made->Room(r).SectorCount();
        }
        EXPECT_EQ(result.Counts.SectorsWhole, sectors);

        // Everything the game sees: the imported project builds the same level, byte for byte.
        back->CurrentRoom = made->CurrentRoom;
        ASSERT_NO_FATAL_FAILURE(Build(*back, "rebuilt", *rebuilt));
        EXPECT_TRUE(test::ReadFileBytes(dir_.Path("made" + extension_)) ==
                    test::ReadFileBytes(dir_.Path("rebuilt" + extension_)))
            << "the imported project builds another level";
    }
    EXPECT_LE(unbuildable, Projects / 10);
    EXPECT_GE(withAlternates, 6);
}

// Objects dropped at random places of random projects stand on the floor the game finds under
// them, slopes and rooms below included, each in its kind's record; imported from the level they
// come back where they stood, and the project they make builds the same level again.
TEST_P(RoundTrip, ObjectsOnTheFloorStandOnItAndComeBackFromTheLevel) {
    auto made = std::make_unique<TEditorProject>();
    auto back = std::make_unique<TEditorProject>();
    auto level = std::make_unique<TLevelData>();
    auto rebuilt = std::make_unique<TLevelData>();
    constexpr int Projects = 12;
    int built = 0, checked = 0;
    for (int seed = 1; seed <= Projects; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(static_cast<unsigned>(seed * 13 + kind_));
        test::MakeRandomProject(*made, random, textures_);
        for (int n = 0; n < 40; ++n) {
            const int r = std::uniform_int_distribution<int>(1, made->RoomCount)(random);
            const TEditorRoom& room = made->Room(r);
            const int x = std::uniform_int_distribution<int>(0, room.XSectors * 1024 - 1)(random);
            const int z = std::uniform_int_distribution<int>(0, room.ZSectors * 1024 - 1)(random);
            const auto kind = static_cast<ObjectKind>(1 + n % 4);
            TEditorObject o = NewObject(kind, r, x, z, kind == ObjectKind::Item ? 163 : 0);
            o.OnFloor = 1;
            o.Angle = static_cast<uint16_t>(random());
            o.Flags = kind == ObjectKind::Item ? ItemActivationMask : 1;
            o.Colour = random() & 0xFFFFFF;
            PlaceObject(*made, o); // a room's lights or static meshes may be full: left out
        }
        // Lara, placed by the build, can land where a random project's links are broken.
        if (const std::string refusal = TryBuild(*made, "made", *level); !refusal.empty()) {
            EXPECT_TRUE(refusal.find("needs more than") != std::string::npos ||
                        refusal.find("Lara starts inside a solid sector") != std::string::npos ||
                        refusal.find("the floor under Lara cannot be found") != std::string::npos)
                << refusal;
            continue;
        }
        ++built;
        for (uint32_t i = 0; i < made->Objects.Count; ++i) {
            const TEditorObject& o = made->Objects.Objects[i];
            const int r = o.Room - 1, at = ObjectLevelIndex(*made, static_cast<int>(i));
            const TLevelRoom& room = level->Rooms[r];
            int32_t x = 0, y = 0, z = 0;
            switch (o.KindOf()) {
            case ObjectKind::Item: {
                const LevelItem item = GetLevelItem(*level, at);
                EXPECT_EQ(std::tuple(+item.Type, +item.Room, +item.Angle, +item.Flags),
                          std::tuple(163, r, +o.Angle, +o.Flags));
                x = item.X, y = item.Y, z = item.Z;
                break;
            }
            case ObjectKind::Camera: {
                const TCamera& camera = level->Cameras[at];
                EXPECT_EQ(camera.Room, r);
                x = camera.X, y = camera.Y, z = camera.Z;
                break;
            }
            case ObjectKind::Static: {
                const RoomStatic mesh = GetRoomStatic(*level, room, at);
                EXPECT_EQ(mesh.Angle, o.Angle);
                x = mesh.X, y = mesh.Y, z = mesh.Z;
                break;
            }
            case ObjectKind::Light: {
                const RoomLight light = GetRoomLight(*level, room, at);
                EXPECT_EQ(light.Colour, kind_ == FormatTR3 ? o.Colour : 0u);
                x = light.X, y = light.Y, z = light.Z;
                break;
            }
            }
            EXPECT_EQ(std::pair(x, z), std::pair(room.RoomInfo.X + o.X, room.RoomInfo.Z + o.Z))
                << "object " << i;
            const FloorUnder floor = FindFloorUnder(*level, r, x, z);
            if (floor.Problem.empty()) {
                EXPECT_EQ(y, floor.FloorY) << "object " << i << " stands on the floor";
                ++checked;
            }
        }

        // The import brings them in the level's order: Lara (whom the build placed), the items,
        // the cameras, then room by room the static meshes and lights.
        ImportLevelRooms(*level, *back, base_);
        ASSERT_EQ(LaraStartIndex(*back), 0);
        std::map<std::pair<int, int>, std::vector<const TEditorObject*>> before, after;
        auto group = [](const TEditorObject& o) {
            const bool inRoom = o.Is(ObjectKind::Static) || o.Is(ObjectKind::Light);
            return std::pair(+o.Kind, inRoom ? +o.Room : 0);
        };
        for (uint32_t i = 0; i < made->Objects.Count; ++i) {
            before[group(made->Objects.Objects[i])].push_back(&made->Objects.Objects[i]);
        }
        for (uint32_t i = 1; i < back->Objects.Count; ++i) {
            after[group(back->Objects.Objects[i])].push_back(&back->Objects.Objects[i]);
        }
        ASSERT_EQ(back->Objects.Count, made->Objects.Count + 1);
        for (const auto& [key, objects] : before) {
            ASSERT_EQ(after[key].size(), objects.size());
            for (std::size_t i = 0; i < objects.size(); ++i) {
                const TEditorObject& a = *objects[i];
                const TEditorObject& b = *after[key][i];
                const bool angle = a.Is(ObjectKind::Item) || a.Is(ObjectKind::Static);
                EXPECT_EQ(std::tuple(+b.Room, b.X, b.Z, +b.OnFloor, +b.Angle),
                          std::tuple(+a.Room, a.X, a.Z, 0, angle ? +a.Angle : 0))
                    << "kind " << key.first << ", " << i;
            }
        }
        back->CurrentRoom = made->CurrentRoom;
        ASSERT_NO_FATAL_FAILURE(Build(*back, "rebuilt", *rebuilt));
        EXPECT_TRUE(test::ReadFileBytes(dir_.Path("made" + extension_)) ==
                    test::ReadFileBytes(dir_.Path("rebuilt" + extension_)))
            << "the imported objects build the same level";
    }
    EXPECT_GE(built, Projects * 9 / 10);
    EXPECT_GE(checked, built * 30) << "most objects stand over a floor the game finds";
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, RoundTrip,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

} // namespace
} // namespace morvane
