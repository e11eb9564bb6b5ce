#include "support/test_files.h"

#include "document/editor_texts.h"
#include "document/project_file.h"
#include "document/room_operations.h"
#include "io/binary_reader.h"
#include "io/io_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>

namespace morvane {
namespace {

using test::ByteBuilder;
using test::Bytes;
using test::TempDir;
using ::testing::HasSubstr;

template <int N> void String(ByteBuilder& b, const std::string& text) {
    b.U8(static_cast<uint8_t>(text.size())).Raw(text.data(), text.size());
    b.Fill(N - text.size(), 0);
}

// A project file assembled byte by byte: one room "Hall" of 2 x 3 sectors with one portal view.
struct AssembledProject {
    Bytes File;
    std::size_t RoomCountOffset, GridOffset, PortalCountOffset;
};

AssembledProject AssembleProject(int version, const std::string& script = "") {
    ByteBuilder b;
    AssembledProject p;
    String<16>(b, "Quillon Mvn file");
    b.U8(static_cast<uint8_t>(version));
    String<100>(b, "A level");
    String<250>(b, "Some comments");
    String<100>(b, "base.phd");
    String<100>(b, "items.itm");
    String<100>(b, "rooms.msh");
    if (version > 4) {
        String<100>(b, script);
    }
    String<100>(b, "out.phd");
    b.U8(1); // current room
    p.RoomCountOffset = b.Size();
    b.U8(1);
    b.I32(7).I32(9);
    String<40>(b, "Hall");
    b.U8(30).U8(4);
    for (int i = 0; i < 10; ++i) {
        b.U16(static_cast<uint16_t>(i == 9 ? 0xFFFF : 100 + i)); // ceiling face left out
    }
    b.U8(20).I32(20).U8(1).U8(0).U8(1).U8(0).U8(0).U8(0);
    p.GridOffset = b.Size();
    b.U16(2).U16(3);
    for (int s = 0; s < 6; ++s) {
        b.U16(static_cast<uint16_t>(s))
            .U16(0xFFFF)
            .U8(255)
            .U8(static_cast<uint8_t>(s))
            .U8(255)
            .U8(4);
    }
    for (int s = 0; s < 6; ++s) {
        b.Pattern(102, static_cast<uint8_t>(s * 10));
    }
    p.PortalCountOffset = b.Size();
    b.I32(1).U8(3).U8(0).U16(2).I32(4).I32(3).I32(2).I32(3);
    b.Fill(40, 0);
    b.Fill(40, 0);
    p.File = b.Get();
    return p;
}

ProjectReadOutcome ReadBytes(TEditorProject& project, const Bytes& bytes) {
    BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
    return ReadProject(project, reader, "test.mvn");
}

// A document in a known state, to see that a refused file leaves it alone.
void MakeKnownDocument(TEditorProject& project) {
    SceneRooms scene;
    RoomDialogValues values;
    values.Name = "Known";
    values.Long = 4;
    values.Width = 5;
    AddRoom(project, scene, values);
    project.Settings.LevelDescription.Assign("known description");
}

void ExpectKnownDocument(const TEditorProject& project, const std::string& context) {
    ASSERT_EQ(project.RoomCount, 1) << context;
    EXPECT_EQ(project.Room(1).Name.Str(), "Known") << context;
    EXPECT_EQ(project.Room(1).SectorCount(), 20) << context;
    EXPECT_EQ(project.Settings.LevelDescription.Str(), "known description") << context;
    EXPECT_EQ(project.Settings.ScriptFile.Length, 0) << context;
}

TEST(ProjectFile, AnEmptyProjectIs917Bytes) {
    TempDir dir;
    auto project = std::make_unique<TEditorProject>();
    WriteProjectFile(*project, dir.Path("empty.mvn"));
    const Bytes file = test::ReadFileBytes(dir.Path("empty.mvn"));
    ASSERT_EQ(file.size(), 917u);
    EXPECT_EQ(file[0], 16);
    EXPECT_EQ(std::string(file.begin() + 1, file.begin() + 17), "Quillon Mvn file");
    EXPECT_EQ(file[17], 5);
    EXPECT_EQ(file[875], 1) << "current room";
    EXPECT_EQ(file[876], 0) << "room count";
    EXPECT_TRUE(std::all_of(file.begin() + 877, file.end(), [](uint8_t b) { return b == 0; }));
}

TEST(ProjectFile, ReadsVersionFiveAsLaidOut) {
    auto project = std::make_unique<TEditorProject>();
    const ProjectReadOutcome read = ReadBytes(*project, AssembleProject(5, "trig.scp").File);
    ASSERT_EQ(read.Status, ReadStatus::Done);
    EXPECT_EQ(read.Version, 5);
    EXPECT_EQ(project->Settings.Comments.Str(), "Some comments");
    EXPECT_EQ(project->Settings.ScriptFile.Str(), "trig.scp");
    EXPECT_EQ(project->Settings.OutputLevelFile.Str(), "out.phd");
    ASSERT_EQ(project->RoomCount, 1);
    const TEditorRoom& room = project->Room(1);
    EXPECT_EQ(room.PosX, 7);
    EXPECT_EQ(room.PosZ, 9);
    EXPECT_EQ(room.Name.Str(), "Hall");
    EXPECT_EQ(room.PosY, 30);
    EXPECT_EQ(room.Height, 4);
    EXPECT_EQ(+room.DefaultTextures[0], 100);
    EXPECT_EQ(+room.DefaultTextures[8], 108);
    EXPECT_EQ(+room.DefaultTextures[9], -1) << "a face left out stays left out";
    EXPECT_EQ(room.SectorLight, 20);
    EXPECT_EQ(room.Water, 1);
    EXPECT_EQ(room.Quicksand, 1);
    EXPECT_EQ(room.Sky, 0);
    EXPECT_EQ(room.ZSectors, 2);
    EXPECT_EQ(room.XSectors, 3);
    EXPECT_EQ(room.GameSector(6).FloorDataIndex, 5);
    EXPECT_EQ(room.GameSector(6).FloorHeight, 5);
    EXPECT_EQ(room.Sector(6).FloorShape, 50);
    EXPECT_EQ(+room.Sector(2).PortalKind, 0x47464544) << "bytes 58-61 of the second sector";
    ASSERT_EQ(room.PortalViewCount, 1);
    EXPECT_EQ(room.PortalView(1).Facing, 3);
    EXPECT_EQ(room.PortalView(1).TargetRoom, 2);
    EXPECT_EQ(+room.PortalView(1).OriginX, 3);
}

TEST(ProjectFile, VersionFourHasNoScriptAndIsSavedAsVersionFive) {
    TempDir dir;
    const Bytes v4 = AssembleProject(4).File;
    const Bytes v5 = AssembleProject(5).File;
    ASSERT_EQ(v5.size() - v4.size(), 101u);
    auto project = std::make_unique<TEditorProject>();
    project->Settings.ScriptFile.Assign("left from before");
    ASSERT_EQ(ReadBytes(*project, v4).Status, ReadStatus::Done);
    EXPECT_EQ(project->Settings.ScriptFile.Str(), "");
    EXPECT_EQ(project->Settings.OutputLevelFile.Str(), "out.phd");
    EXPECT_EQ(project->Room(1).Name.Str(), "Hall");
    WriteProjectFile(*project, dir.Path("saved.mvn"));
    EXPECT_EQ(test::ReadFileBytes(dir.Path("saved.mvn")), v5);

    Bytes v9 = v5;
    v9[17] = 9;
    EXPECT_EQ(ReadBytes(*project, v9).Version, 9);
    EXPECT_EQ(project->Room(1).Name.Str(), "Hall") << "later versions read as version 5";
}

TEST(ProjectFile, EveryFieldSurvivesARoundTrip) {
    TempDir dir;
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene;
    std::mt19937 random(5);
    for (int r = 0; r < 3; ++r) {
        RoomDialogValues values;
        values.Name = "Room " + std::to_string(r);
        values.Long = 3 + r;
        values.Width = 31 - r;
        AddRoom(*project, scene, values);
        TEditorRoom& room = project->Current();
        // Every byte of every sector and view the file carries.
        for (int n = 1; n <= room.SectorCount(); ++n) {
            auto* bytes = reinterpret_cast<uint8_t*>(&room.Sector(n));
            for (std::size_t i = 0; i < sizeof(TEditorSector); ++i) {
                bytes[i] = static_cast<uint8_t>(random());
            }
            auto* game = reinterpret_cast<uint8_t*>(&room.GameSector(n));
            for (std::size_t i = 0; i < sizeof(TGameSector); ++i) {
                game[i] = static_cast<uint8_t>(random());
            }
        }
        room.PortalViewCount = 20;
        for (auto& view : room.PortalViews) {
            view = {5, 0, 7, 2, 3, 4, 5};
        }
        room.DefaultTextures[3] = -1;
        room.AmbientIntensity = -77;
        room.WindRain = 1;
    }
    project->CurrentRoom = 2;
    BuildSettings settings{"d", "c", "b", "i", "m", "s", "o"};
    EXPECT_EQ(SaveProject(*project, settings, dir.Path("round.mvn")),
              "Quillon's Morvane3D - " + dir.Path("round.mvn"));

    auto loaded = std::make_unique<TEditorProject>();
    ASSERT_EQ(ReadProjectFile(*loaded, dir.Path("round.mvn")).Status, ReadStatus::Done);
    EXPECT_EQ(loaded->CurrentRoom, 2);
    EXPECT_EQ(BuildSettingsOf(*loaded).ScriptFile, "s");
    for (int r = 1; r <= 3; ++r) {
        const TEditorRoom& a = project->Room(r);
        const TEditorRoom& b = loaded->Room(r);
        EXPECT_EQ(b.Name.Str(), a.Name.Str());
        EXPECT_EQ(b.AmbientIntensity, -77);
        EXPECT_EQ(b.WindRain, 1);
        EXPECT_EQ(std::memcmp(a.DefaultTextures, b.DefaultTextures, sizeof(a.DefaultTextures)), 0);
        EXPECT_EQ(std::memcmp(a.Sectors, b.Sectors, sizeof(TEditorSector) * a.SectorCount()), 0);
        EXPECT_EQ(std::memcmp(a.GameSectors, b.GameSectors, 8 * a.SectorCount()), 0);
        EXPECT_EQ(std::memcmp(a.PortalViews, b.PortalViews, sizeof(a.PortalViews)), 0);
    }
    WriteProjectFile(*loaded, dir.Path("again.mvn"));
    EXPECT_TRUE(test::ReadFileBytes(dir.Path("again.mvn")) ==
                test::ReadFileBytes(dir.Path("round.mvn")));
}

TEST(ProjectFile, SavingCutsTheSettingsToTheirCapacity) {
    TempDir dir;
    auto project = std::make_unique<TEditorProject>();
    BuildSettings settings;
    settings.LevelDescription = std::string(120, 'd');
    settings.Comments = std::string(300, 'c');
    SaveProject(*project, settings, dir.Path("cut.mvn"));
    const Bytes file = test::ReadFileBytes(dir.Path("cut.mvn"));
    EXPECT_EQ(file[18], 100);
    EXPECT_EQ(file[119], 250);
    EXPECT_EQ(project->Settings.LevelDescription.Str(), std::string(100, 'd'));
}

TEST(ProjectFile, OldAndForeignFilesLeaveTheDocumentAlone) {
    auto project = std::make_unique<TEditorProject>();
    MakeKnownDocument(*project);
    Bytes old = AssembleProject(5).File;
    old[17] = 3;
    const ProjectReadOutcome oldRead = ReadBytes(*project, old);
    EXPECT_EQ(oldRead.Status, ReadStatus::OldVersion);
    EXPECT_EQ(oldRead.Text,
              "Project file \"test.mvn\" refused:  Old 2D file format not supported ");
    ExpectKnownDocument(*project, "old version");
    Bytes foreign = AssembleProject(5).File;
    foreign[5] = 'X';
    const ProjectReadOutcome foreignRead = ReadBytes(*project, foreign);
    EXPECT_EQ(foreignRead.Status, ReadStatus::OtherKind);
    EXPECT_EQ(foreignRead.Text, "Project file \"test.mvn\" refused: Error Opening the file!");
    ExpectKnownDocument(*project, "wrong magic");
}

TEST(ProjectFile, EveryTruncationIsRefusedWithTheDocumentUntouched) {
    const Bytes file = AssembleProject(5).File;
    auto project = std::make_unique<TEditorProject>();
    MakeKnownDocument(*project);
    for (std::size_t length = 0; length < file.size(); ++length) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        try {
            ReadBytes(*project, cut);
            FAIL() << "a project cut at " << length << " bytes was read";
        } catch (const IoError& e) {
            ASSERT_EQ(e.what(),
                      "Project file \"test.mvn\" refused: " + std::string(ReadBeyondEndText))
                << "cut at " << length;
        }
        ExpectKnownDocument(*project, "cut at " + std::to_string(length));
    }
}

TEST(ProjectFile, CountsBeyondCapacityAreRefused) {
    const AssembledProject assembled = AssembleProject(5);
    auto project = std::make_unique<TEditorProject>();
    MakeKnownDocument(*project);
    struct Case {
        std::size_t Offset;
        Bytes Value;
        const char* Expected;
    };
    const Case cases[] = {
        {assembled.RoomCountOffset, {129}, "the room count is 129, above the limit of 128"},
        {assembled.GridOffset, {33, 0, 32, 0}, "1056, above the limit of 1024"},
        {assembled.GridOffset, {0xFF, 0xFF, 0xFF, 0xFF}, "4294836225, above the limit of 1024"},
        {assembled.PortalCountOffset, {21, 0, 0, 0}, "portal view count of room 1 is 21"},
        {assembled.PortalCountOffset,
         {0xFF, 0xFF, 0xFF, 0xFF},
         "portal view count of room 1 is -1"},
    };
    for (const Case& c : cases) {
        Bytes file = assembled.File;
        std::copy(c.Value.begin(), c.Value.end(), file.begin() + c.Offset);
        try {
            ReadBytes(*project, file);
            FAIL() << c.Expected;
        } catch (const IoError& e) {
            EXPECT_THAT(e.what(), HasSubstr(c.Expected));
            EXPECT_THAT(e.what(), HasSubstr("test.mvn"));
        }
        ExpectKnownDocument(*project, c.Expected);
    }
}

TEST(ProjectFile, RandomAndDamagedFilesNeverCrash) {
    const Bytes valid = AssembleProject(5).File;
    std::mt19937 random(99);
    auto project = std::make_unique<TEditorProject>();
    for (int round = 0; round < 300; ++round) {
        Bytes file = valid;
        if (round % 3 == 0) {
            file.resize(random() % 2000);
            for (auto& b : file) {
                b = static_cast<uint8_t>(random());
            }
        } else {
            for (int flips = 1 + random() % 6; flips > 0; --flips) {
                file[18 + random() % (file.size() - 18)] = static_cast<uint8_t>(random());
            }
        }
        try {
            if (ReadBytes(*project, file).Status == ReadStatus::Done) {
                ASSERT_TRUE(project->RoomCount == 0 || project->HasCurrentRoom());
            }
        } catch (const IoError&) {
        }
    }
}

TEST(ProjectFile, AnOutOfRangeCurrentRoomFallsBackToTheFirst) {
    Bytes file = AssembleProject(5).File;
    file[875] = 200;
    auto project = std::make_unique<TEditorProject>();
    ASSERT_EQ(ReadBytes(*project, file).Status, ReadStatus::Done);
    EXPECT_EQ(project->CurrentRoom, 1);
}

TEST(OpenProject, ResetsTheViewAndNamesTheBaseLevelOnlyWhenItExists) {
    TempDir dir;
    auto project = std::make_unique<TEditorProject>();
    SceneRooms scene{3, 2, 5};
    test::WriteFileBytes(dir.Path("p.mvn"), AssembleProject(5).File);
    OpenProjectOutcome opened = OpenProject(*project, scene, dir.Path("p.mvn"));
    EXPECT_EQ(opened.Read.Text, "");
    EXPECT_EQ(opened.Caption, "Quillon's Morvane3D - " + dir.Path("p.mvn"));
    EXPECT_EQ(opened.Settings.ItemsTableFile, "items.itm");
    EXPECT_FALSE(opened.BaseLevelToRead.has_value()) << "base.phd does not exist";
    EXPECT_EQ(scene.DrawnRoom, 1);
    EXPECT_EQ(scene.NeighbourRoom, 0);
    EXPECT_EQ(scene.HeightSelector, 0);
    ASSERT_TRUE(opened.Window.ToolBar.has_value());
    EXPECT_EQ(opened.Window.ToolBar->RoomList, std::vector<std::string>{"Hall"});
    EXPECT_EQ(opened.Window.ToolBar->PortalViewList, std::vector<std::string>{"Door #1"});
    EXPECT_EQ(opened.Window.ToolBar->PortalFacingIndex, 2);

    project->Settings.BaseLevelFile.Assign(dir.Path("p.mvn")); // any existing file
    WriteProjectFile(*project, dir.Path("q.mvn"));
    EXPECT_EQ(OpenProject(*project, scene, dir.Path("q.mvn")).BaseLevelToRead, dir.Path("p.mvn"));

    Bytes old = AssembleProject(5).File;
    old[17] = 2;
    test::WriteFileBytes(dir.Path("old.mvn"), old);
    EXPECT_EQ(OpenProject(*project, scene, dir.Path("old.mvn")).Read.Text,
              "Project file \"" + dir.Path("old.mvn") + "\" refused: " + OldFormatText);
    EXPECT_THROW(OpenProject(*project, scene, dir.Path("absent.mvn")), IoError);
}

// What the whole read and the outline read make of one file: the outcome, or the refusal's text.
struct BothReads {
    std::string Refusal;
    ProjectReadOutcome Whole, Outlined;
    ProjectOutline FromWhole, Outline;
};

BothReads ReadBothWays(TEditorProject& project, const Bytes& bytes) {
    BothReads both;
    std::string wholeRefusal;
    try {
        both.Whole = ReadBytes(project, bytes);
        both.FromWhole = OutlineOf(project, both.Whole.Version);
    } catch (const IoError& e) {
        wholeRefusal = e.what();
    }
    try {
        BinaryReader reader = BinaryReader::FromMemory(bytes.data(), bytes.size());
        both.Outlined = ReadProjectOutline(both.Outline, reader, "test.mvn");
    } catch (const IoError& e) {
        both.Refusal = e.what();
    }
    EXPECT_EQ(both.Refusal, wholeRefusal) << "the two reads refuse a file alike";
    return both;
}

// The outline (what project-info shows) skips the sectors and portal views: every file must give
// it the same outcome, refusal or fields as the whole read gives the document.
TEST(ProjectOutline, AgreesWithTheWholeReadOnEveryFile) {
    std::vector<std::pair<std::string, Bytes>> files;
    for (int version : {4, 5}) {
        const AssembledProject assembled = AssembleProject(version, "trig.scp");
        files.emplace_back("version " + std::to_string(version), assembled.File);
        // Cuts all over the file (a whole read takes a 14 MB scratch record, so not every one),
        // and at every byte around the counts and the end.
        for (std::size_t length = 0; length < assembled.File.size(); ++length) {
            const auto near = [length](std::size_t offset) {
                return length + 4 >= offset && length <= offset + 8;
            };
            if (length % 29 != 0 && !near(assembled.RoomCountOffset) &&
                !near(assembled.GridOffset) && !near(assembled.PortalCountOffset) &&
                !near(assembled.File.size() - 8)) {
                continue;
            }
            files.emplace_back("cut at " + std::to_string(length),
                               Bytes(assembled.File.begin(),
                                     assembled.File.begin() + static_cast<std::ptrdiff_t>(length)));
        }
        for (auto [offset, value] :
             {std::pair{assembled.RoomCountOffset, Bytes{129}},
              std::pair{assembled.GridOffset, Bytes{33, 0, 32, 0}},
              std::pair{assembled.PortalCountOffset, Bytes{21, 0, 0, 0}},
              std::pair{assembled.PortalCountOffset, Bytes{0xFF, 0xFF, 0xFF, 0xFF}}}) {
            Bytes file = assembled.File;
            std::copy(value.begin(), value.end(),
                      file.begin() + static_cast<std::ptrdiff_t>(offset));
            files.emplace_back("a count changed at " + std::to_string(offset), file);
        }
    }
    Bytes old = AssembleProject(5).File;
    old[17] = 3;
    files.emplace_back("old version", old);
    Bytes foreign = AssembleProject(5).File;
    foreign[5] = 'X';
    files.emplace_back("wrong magic", foreign);

    // Projects of several rooms as the editor saves them, with every field varied.
    std::mt19937 random(5);
    TempDir dir;
    for (int round = 0; round < 4; ++round) {
        auto project = std::make_unique<TEditorProject>();
        SceneRooms scene;
        for (int r = 0; r < 3 + round * 4; ++r) {
            RoomDialogValues values;
            values.Name = "Room " + std::to_string(r);
            values.Long = 1 + random() % 31;
            values.Width = 1 + random() % 31;
            AddRoom(*project, scene, values);
            TEditorRoom& room = project->Current();
            room.PosX = static_cast<int32_t>(random() % 2000001) - 1000000;
            room.PosZ = static_cast<int32_t>(random() % 200);
            room.AmbientIntensity = static_cast<int32_t>(random());
            room.DefaultTextures[random() % 10] = -1;
            room.Reserved[1] = static_cast<uint8_t>(random());
            room.Sky = static_cast<uint8_t>(random() % 2);
            room.PortalViewCount = static_cast<int32_t>(random() % (MaxPortalViews + 1));
        }
        project->CurrentRoom = static_cast<uint8_t>(1 + random() % project->RoomCount);
        project->Settings.Comments.Assign("round " + std::to_string(round));
        WriteProjectFile(*project, dir.Path("p.mvn"));
        files.emplace_back("saved project " + std::to_string(round),
                           test::ReadFileBytes(dir.Path("p.mvn")));
    }
    // Damaged copies of the two assembled files and the saved ones.
    const std::vector<Bytes> whole = {
        files.front().second,           AssembleProject(5, "trig.scp").File,
        files[files.size() - 1].second, files[files.size() - 2].second,
        files[files.size() - 3].second, files[files.size() - 4].second};
    for (int round = 0; round < 60; ++round) {
        Bytes file = whole[random() % whole.size()];
        if (file.size() > 18) {
            for (int flips = 1 + random() % 4; flips > 0; --flips) {
                file[18 + random() % (file.size() - 18)] = static_cast<uint8_t>(random());
            }
        }
        files.emplace_back("damaged " + std::to_string(round), file);
    }

    int done = 0, refused = 0;
    auto project = std::make_unique<TEditorProject>();
    for (const auto& [what, file] : files) {
        SCOPED_TRACE(what);
        const BothReads both = ReadBothWays(*project, file);
        if (!both.Refusal.empty()) {
            ++refused;
            continue;
        }
        EXPECT_EQ(both.Outlined.Status, both.Whole.Status);
        EXPECT_EQ(both.Outlined.Text, both.Whole.Text);
        EXPECT_EQ(both.Outlined.Version, both.Whole.Version);
        if (both.Whole.Status == ReadStatus::Done) {
            ++done;
            EXPECT_TRUE(both.Outline == both.FromWhole) << "the outline's fields differ";
            EXPECT_EQ(both.Outline.Rooms.size(), both.Outline.RoomCount);
        }
    }
    EXPECT_GT(done, 20) << "enough files are read to compare the fields";
    EXPECT_GT(refused, 60) << "enough files are refused to compare the refusals";
}

// Saving as the editor does it keeps the file being replaced as NAME.mvn.bak; a backup that
// cannot be written stops the save with the project file as it was.
TEST(SaveProject, KeepsThePreviousFileAsItsBackup) {
    TempDir dir;
    const std::string path = dir.Path("castle.mvn");
    auto project = std::make_unique<TEditorProject>();
    BuildSettings settings;
    settings.LevelDescription = "first";
    SaveProject(*project, settings, path);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak")) << "a new file has nothing to keep";
    const Bytes first = test::ReadFileBytes(path);

    settings.LevelDescription = "second";
    EXPECT_EQ(SaveProject(*project, settings, path), "Quillon's Morvane3D - " + path);
    EXPECT_EQ(test::ReadFileBytes(path + ".bak"), first);
    EXPECT_NE(test::ReadFileBytes(path), first);

    const Bytes second = test::ReadFileBytes(path);
    std::filesystem::remove(path + ".bak");
    std::filesystem::create_directory(path + ".bak");
    settings.LevelDescription = "third";
    EXPECT_THROW(SaveProject(*project, settings, path), IoError);
    EXPECT_EQ(test::ReadFileBytes(path), second) << "the project file is as it was";
}

} // namespace
} // namespace morvane

namespace morvane {
namespace {

// A room the level's coordinates cannot hold is refused when the file is opened, naming the
// file, the room and the limit; a room set above level 64 by the tool bar still opens.
TEST(ProjectFile, RoomsBeyondTheLevelsCoordinatesAreRefused) {
    const AssembledProject assembled = AssembleProject(5);
    const std::size_t posX = assembled.RoomCountOffset + 1;
    const std::size_t posY = posX + 8 + 41;
    const std::size_t viewWidth = assembled.PortalCountOffset + 4 + 4;
    auto project = std::make_unique<TEditorProject>();
    MakeKnownDocument(*project);
    struct Case {
        std::size_t Offset;
        Bytes Value;
        const char* Expected;
    };
    const Case cases[] = {
        {posX, {0xFD, 0xFF, 0x1F, 0x00}, "Room 1 (\"Hall\") lies at X position 2097149"},
        {posX + 4, {0, 0, 0, 0x80}, "Room 1 (\"Hall\") lies at Z position -2147483648"},
        {viewWidth, {33, 0, 0, 0}, "Portal view Door #1 of room 1 is 33 by 3 sectors"},
    };
    for (const Case& c : cases) {
        Bytes file = assembled.File;
        std::copy(c.Value.begin(), c.Value.end(), file.begin() + c.Offset);
        try {
            ReadBytes(*project, file);
            FAIL() << c.Expected;
        } catch (const IoError& e) {
            EXPECT_THAT(e.what(),
                        HasSubstr(std::string("Project file \"test.mvn\" refused: ") + c.Expected));
        }
        ExpectKnownDocument(*project, c.Expected);
    }

    Bytes high = assembled.File;
    high[posY] = 64; // height 4: the top at level 68
    ASSERT_EQ(ReadBytes(*project, high).Status, ReadStatus::Done);
    EXPECT_EQ(project->Room(1).PosY, 64);

    TempDir dir;
    project->Room(1).XSectors = 32;
    project->Room(1).ZSectors = 1;
    WriteProjectFile(*project, dir.Path("wide.mvn"));
    EXPECT_THROW(
        {
            try {
                ReadProjectFile(*project, dir.Path("wide.mvn"));
            } catch (const IoError& e) {
                EXPECT_THAT(e.what(), HasSubstr("\" refused: Room 1 (\"Hall\") has 32 columns"));
                throw;
            }
        },
        IoError);
}

// Errors of files that cannot be read or written name the file.
TEST(ProjectFile, FileErrorsNameTheFile) {
    TempDir dir;
    auto project = std::make_unique<TEditorProject>();
    const auto readError = [&](const std::string& path) -> std::string {
        try {
            ReadProjectFile(*project, path);
        } catch (const IoError& e) {
            return e.what();
        }
        return "read";
    };
    EXPECT_EQ(readError(dir.Path("absent.mvn")),
              "Project file \"" + dir.Path("absent.mvn") + "\" refused: File not found");
    EXPECT_EQ(readError(dir.Root().string()), "Project file \"" + dir.Root().string() +
                                                  "\" refused: it is a folder, not a regular file");
    try {
        WriteProjectFile(*project, dir.Path("no-folder/p.mvn"));
        FAIL() << "written into a folder that is not there";
    } catch (const IoError& e) {
        EXPECT_EQ(e.what(), "Project file \"" + dir.Path("no-folder/p.mvn") +
                                "\" not written: the folder \"" + dir.Path("no-folder") +
                                "\" does not exist");
    }
}

} // namespace
} // namespace morvane
