#include "support/random_objects.h"
#include "support/test_files.h"

#include "document/editor_texts.h"
#include "document/flip_block.h"
#include "document/flip_map_operations.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "io/binary_reader.h"
#include "io/io_error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>

namespace morvane {
namespace {

using test::ByteBuilder;
using test::Bytes;

constexpr const char* Refused = "Project file \"test.mvn\" refused: ";

Bytes Saved(const TEditorProject& project) {
    test::TempDir dir;
    WriteProjectFile(project, dir.Path("p.mvn"));
    return test::ReadFileBytes(dir.Path("p.mvn"));
}

// The refusal's text of reading the bytes as a project and as its outline (the two must
// agree), or empty when both read.
std::string RefusalOf(TEditorProject& project, const Bytes& bytes) {
    std::string texts[2];
    try {
        BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
        ReadProject(project, reader, "test.mvn");
    } catch (const IoError& e) {
        texts[0] = e.what();
    }
    try {
        ProjectOutline outline;
        BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
        ReadProjectOutline(outline, reader, "test.mvn");
    } catch (const IoError& e) {
        texts[1] = e.what();
    }
    EXPECT_EQ(texts[0], texts[1]) << "the project and its outline are refused alike";
    return texts[0];
}

void AddRooms(TEditorProject& project, SceneRooms& scene, std::mt19937& random, int count) {
    for (int r = 0; r < count; ++r) {
        RoomDialogValues values =
            RoomAt(1 + static_cast<int>(random() % 31), 1 + static_cast<int>(random() % 31),
                   static_cast<int>(random() % 100), 20, static_cast<int>(random() % 100), 4);
        values.Name = NextRoomName(project);
        AddRoom(project, scene, values);
        TEditorRoom& room = project.Current();
        room.PortalViewCount = static_cast<int32_t>(random() % 3);
        for (int d = 1; d <= room.PortalViewCount; ++d) {
            room.PortalView(d) = {PortalFacingFront, 0, 1, 1, 1, 1, 1};
        }
    }
}

TEST(AlternateRooms, MadeAsACopyInPlaceRefusedTwiceAndKeptConsistentByDelete) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    std::mt19937 random(3);
    AddRooms(*project, scene, random, 3);
    project->Room(2).Sector(7).FloorShape = 4;

    SelectRoom(*project, scene, 1);
    const DocumentOutcome made = MakeAlternateRoom(*project, scene);
    ASSERT_FALSE(made.Refused) << made.Message;
    ASSERT_EQ(project->RoomCount, 4);
    EXPECT_EQ(project->CurrentRoom, 4) << "the alternate is made current";
    EXPECT_EQ(scene.DrawnRoom, 4);
    EXPECT_EQ(std::memcmp(&project->Room(4), &project->Room(2), sizeof(TEditorRoom)), 0)
        << "the alternate is the original byte for byte, at its place";
    EXPECT_EQ(AlternateOf(*project, 2), 4);
    EXPECT_EQ(OriginalOf(*project, 4), 2);
    EXPECT_EQ(ShownRoom(*project, 2, true), 4);
    EXPECT_EQ(ShownRoom(*project, 2, false), 2);
    EXPECT_EQ(ShownRoom(*project, 1, true), 1);
    ASSERT_TRUE(made.ToolBar);
    EXPECT_EQ(made.ToolBar->RoomList, (std::vector<std::string>{"Room #1", "Room #2", "Room #3",
                                                                "Room #2 (alternate of 2)"}));

    // Refused: an alternate of an alternate, a second alternate; nothing changes.
    EXPECT_EQ(MakeAlternateRoom(*project, scene).Message,
              "Room 4 is the alternate room of room 2; an alternate room has none of its own. "
              "No room was added.");
    SelectRoom(*project, scene, 1);
    EXPECT_EQ(MakeAlternateRoom(*project, scene).Message,
              "Room 2 already has an alternate room (room 4). No room was added.");
    EXPECT_EQ(project->RoomCount, 4);
    EXPECT_EQ(FlipLinks(*project), (std::vector<FlipLink>{{2, 4}}));

    // Deleting the alternate (the last room) drops the link from its original.
    DeleteRoom(*project, scene);
    EXPECT_EQ(project->RoomCount, 3);
    EXPECT_EQ(AlternateRoomCount(*project), 0);
    // An original after its alternate (as an imported level may have it): deleting it drops
    // its link too.
    ASSERT_EQ(ReplaceFlipMaps(*project, {{3, 1}}), "");
    DeleteRoom(*project, scene);
    EXPECT_EQ(AlternateRoomCount(*project), 0);

    // A full project refuses with the room limit's text.
    AddRooms(*project, scene, random, MaxRooms - project->RoomCount);
    SelectRoom(*project, scene, 0);
    EXPECT_EQ(MakeAlternateRoom(*project, scene).Message, TooManyRoomsText);
    EXPECT_EQ(AlternateRoomCount(*project), 0);
}

TEST(AlternateRooms, InconsistentLinksAreRefusedNamingTheRooms) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    std::mt19937 random(4);
    AddRooms(*project, scene, random, 4);
    const struct {
        std::vector<FlipLink> Links;
        const char* Problem;
    } cases[] = {
        {{{1, 2}, {3, 4}}, ""},
        {{{4, 1}}, ""},
        {{{1, 5}}, "room 1 has alternate 5, a room the project does not have (it has 4)"},
        {{{0, 2}}, "room 0 does not exist (the project has 4)"},
        {{{2, 2}}, "room 2 is its own alternate"},
        {{{1, 3}, {2, 3}}, "room 3 is the alternate of both room 1 and room 2"},
        {{{1, 2}, {2, 3}},
         "room 2 is the alternate of room 1 and has an alternate of its own "
         "(room 3)"},
        {{{1, 2}, {1, 3}}, "room 1 is given two alternates"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(ReplaceFlipMaps(*project, {}), "");
        EXPECT_EQ(ReplaceFlipMaps(*project, c.Links), c.Problem);
        EXPECT_EQ(FlipLinks(*project), c.Problem[0] == 0 ? c.Links : std::vector<FlipLink>{})
            << "a problem changes nothing";
    }
}

// The block assembled field by field, apart from the writer.
Bytes AssembledBlock(const std::vector<FlipLink>& links) {
    ByteBuilder b;
    b.Raw("FLIP", 4).U16(1).U32(static_cast<uint32_t>(4 + 2 * links.size()));
    b.U32(static_cast<uint32_t>(links.size()));
    for (const FlipLink& link : links) {
        b.U8(static_cast<uint8_t>(link.Room)).U8(static_cast<uint8_t>(link.Alternate));
    }
    return b.Get();
}

// Random projects with objects and alternate rooms: the file is the file without alternates
// followed by the block, and reads back with the same links; without alternates there is no
// block at all.
TEST(FlipMapsBlock, RandomLinksComeBackAfterTheObjectsBlock) {
    std::mt19937 random(12);
    auto loaded = std::make_unique<TEditorProject>();
    int linked = 0;
    for (int round = 0; round < 30; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        auto project = std::make_unique<TEditorProject>();
        SceneRooms scene;
        AddRooms(*project, scene, random, 1 + static_cast<int>(random() % 8));
        test::PlaceRandomObjects(*project, random, static_cast<int>(random() % 20));
        const Bytes withoutLinks = Saved(*project);
        for (int made = static_cast<int>(random() % 5); made > 0; --made) {
            SelectRoom(*project, scene, static_cast<int>(random() % project->RoomCount));
            MakeAlternateRoom(*project, scene);
        }
        const std::vector<FlipLink> links = FlipLinks(*project);
        linked += links.empty() ? 0 : 1;
        // The alternates are rooms of their own: the file without links is the one of these rooms.
        TEditorProject& unlinked = *loaded;
        unlinked.ReplaceWith(*project);
        ASSERT_EQ(ReplaceFlipMaps(unlinked, {}), "");
        const Bytes rooms = Saved(unlinked);
        const Bytes file = Saved(*project);
        Bytes expected = rooms;
        const Bytes block = links.empty() ? Bytes{} : AssembledBlock(links);
        expected.insert(expected.end(), block.begin(), block.end());
        EXPECT_TRUE(file == expected) << "the block follows the rooms and the objects";
        if (links.empty()) {
            EXPECT_TRUE(file == withoutLinks) << "no alternate, no block";
        }

        loaded->Clear();
        ASSERT_EQ(RefusalOf(*loaded, file), "");
        EXPECT_EQ(FlipLinks(*loaded), links);
        EXPECT_EQ(std::memcmp(&loaded->FlipMaps, &project->FlipMaps, sizeof(TFlipMaps)), 0);
        ProjectOutline outline;
        BinaryReader reader = BinaryReader::FromMemory(file.data(), file.size());
        ReadProjectOutline(outline, reader, "test.mvn");
        EXPECT_EQ(outline.AlternateRooms, static_cast<int>(links.size()));
        EXPECT_TRUE(outline == OutlineOf(*project, ProjectFileVersion));
    }
    EXPECT_GT(linked, 15);
}

// A damaged block refuses the file whole, naming the block; the document stays as it was.
TEST(FlipMapsBlock, DamagedBlocksAreRefusedWhole) {
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    std::mt19937 random(5);
    AddRooms(*project, scene, random, 3);
    SelectRoom(*project, scene, 0);
    ASSERT_FALSE(MakeAlternateRoom(*project, scene).Refused);
    const Bytes file = Saved(*project);
    const std::size_t start = file.size() - 16; // one link
    ASSERT_EQ(std::string(file.begin() + static_cast<std::ptrdiff_t>(start),
                          file.begin() + static_cast<std::ptrdiff_t>(start) + 4),
              "FLIP");
    const std::string block =
        std::string(Refused) + "the alternate-rooms block at byte " + std::to_string(start);

    auto kept = std::make_unique<TEditorProject>();
    AddRooms(*kept, scene, random, 2);
    auto before = std::make_unique<TEditorProject>();
    before->ReplaceWith(*kept);
    const auto expectRefused = [&](const Bytes& bytes, const std::string& text) {
        EXPECT_EQ(RefusalOf(*kept, bytes), text);
        EXPECT_EQ(std::memcmp(kept.get(), before.get(), sizeof(TEditorProject)), 0)
            << "a refused file leaves the document as it was";
    };
    // Every truncation within the block.
    for (std::size_t size = start + 1; size < file.size(); ++size) {
        SCOPED_TRACE("cut at " + std::to_string(size));
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
        const std::string refusal = RefusalOf(*kept, cut);
        EXPECT_EQ(refusal.rfind(size - start < 4 ? std::string(Refused) : block, 0), 0u) << refusal;
    }
    const auto with = [&](const Bytes& tail) {
        Bytes bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(start));
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    ByteBuilder version;
    version.Raw("FLIP", 4).U16(2).U32(6).U32(1).U8(1).U8(4);
    expectRefused(with(version.Get()),
                  block + " has version 2, which this program does not read (it reads version "
                          "1).");
    ByteBuilder length;
    length.Raw("FLIP", 4).U16(1).U32(8).U32(1).U8(1).U8(4).U8(0).U8(0);
    expectRefused(with(length.Get()), block + " has a length of 8 bytes, which does not fit its "
                                              "count of 1 links (6 bytes).");
    ByteBuilder many;
    many.Raw("FLIP", 4).U16(1).U32(4 + 2 * 65).U32(65).Fill(130, 1);
    expectRefused(with(many.Get()), block + " holds 65 links, above the limit of 64.");
    expectRefused(with(AssembledBlock({{1, 4}, {4, 2}})),
                  std::string(Refused) +
                      "in the alternate-rooms block, room 4 is the alternate of room 1 and has an "
                      "alternate of its own (room 2).");
    expectRefused(with(AssembledBlock({{1, 9}})),
                  std::string(Refused) + "in the alternate-rooms block, room 1 has alternate 9, "
                                         "a room the project does not have (it has 4).");
    Bytes twice = AssembledBlock({{1, 4}});
    const Bytes second = AssembledBlock({{2, 3}});
    twice.insert(twice.end(), second.begin(), second.end());
    expectRefused(with(twice), block.substr(0, block.size() - std::to_string(start).size()) +
                                   std::to_string(start + 16) +
                                   " is a second alternate-rooms block.");
}

} // namespace
} // namespace morvane
