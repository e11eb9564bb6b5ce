#include "support/test_files.h"

#include "demo/demo_level.h"
#include "io/io_error.h"
#include "level/level_format.h"
#include "script/trscript.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sys/stat.h>

namespace morvane {
namespace {

using ::testing::ElementsAre;

// The demo level: room 1 is 7 columns by 6 rows, open inside a ring of walls, floor at 0.
struct TriggerScript : ::testing::Test {
    test::TempDir dir;
    std::unique_ptr<TLevelData> level = std::make_unique<TLevelData>();
    TScriptState state;

    void SetUp() override { demo::MakeDemoLevel(*level, FormatTR1); }

    // The compile's status; a line in error comes with the text the build shows.
    ReadStatus Compile(const std::string& text) {
        test::WriteFileBytes(dir.Path("t.scp"), test::Bytes(text.begin(), text.end()));
        const ReadResult compiled = CompileTriggerScript(dir.Path("t.scp"), *level, state);
        EXPECT_EQ(compiled.Text, compiled.Done() ? "" : Error());
        return compiled.Status;
    }
    std::string Error() const {
        return "Error at Line " + std::to_string(state.ScriptLineNumber) + ":" +
               state.ScriptErrorText;
    }
    TGameSector& Sector(int room, int x, int z) {
        TLevelRoom& r = level->Rooms[room - 1];
        return r.Sectors[(x - 1) * r.NumZSectors + (z - 1)];
    }
    std::vector<uint16_t> Words(uint32_t from, uint32_t to) const {
        return std::vector<uint16_t>(level->FloorData + from, level->FloorData + to);
    }
};

TEST_F(TriggerScript, AStartTriggerBlockBecomesTheSectorsLastEntry) {
    ASSERT_EQ(
        Compile("Start_Trigger(1,2,3)\nDo_with_Activate(62,5,0)\nItem(4)\nEnd()\nEnd_Trigger()\n"),
        ReadStatus::Done);
    EXPECT_EQ(state.ScriptLineNumber, -1);
    EXPECT_EQ(Sector(1, 2, 3).FloorDataIndex, 1);
    EXPECT_EQ(Words(1, level->NumFloorData), (std::vector<uint16_t>{0x8004, 0x3E05, 0x8003}));
}

TEST_F(TriggerScript, KillAfterASlopeAndALaterTriggerKeepEverything) {
    level->FloorData[1] = 0x8002; // a floor slant
    level->FloorData[2] = 0x00FE;
    level->NumFloorData = 3;
    Sector(1, 2, 2).FloorDataIndex = 1;
    ASSERT_EQ(Compile("Kill_Lara(1,2,2)\n"), ReadStatus::Done);
    EXPECT_EQ(Sector(1, 2, 2).FloorDataIndex, 3);
    EXPECT_EQ(Words(3, level->NumFloorData), (std::vector<uint16_t>{0x0002, 0x00FE, 0x8005}));
    ASSERT_EQ(Compile("Start_Trigger(1,2,2)\nIf_Item_is_ON_Do_with_Activate(1,0,1,7)\n"
                      "Switch_camera(2)\nSwitch_camera(2,10,1,1)\nEnd()\nEnd_Trigger()\n"),
              ReadStatus::Done);
    EXPECT_EQ(Sector(1, 2, 2).FloorDataIndex, 6);
    EXPECT_EQ(Words(6, level->NumFloorData),
              (std::vector<uint16_t>{0x0002, 0x00FE, 0x0005, 0x8304, 0x8100, 0x0006, 0x0401, 0x0000,
                                     0x0401, 0x910A}));
    EXPECT_EQ(Words(1, 3), (std::vector<uint16_t>{0x8002, 0x00FE})) << "old entries stay";
}

TEST_F(TriggerScript, CopyAndPasteShareOneEntryList) {
    ASSERT_EQ(Compile("Paste_Trigger(1,3,3)\n"), ReadStatus::Done);
    EXPECT_EQ(Sector(1, 3, 3).FloorDataIndex, 0) << "the clipboard starts empty";
    ASSERT_EQ(Compile("Kill_Lara(1,2,2)\nCopy_Trigger(1,2,2)\nPaste_Trigger(1,4,4)\n"),
              ReadStatus::Done);
    EXPECT_EQ(Sector(1, 4, 4).FloorDataIndex, Sector(1, 2, 2).FloorDataIndex);
    ASSERT_EQ(Compile("Paste_Trigger(1,5,2)\n"), ReadStatus::Done);
    EXPECT_EQ(Sector(1, 5, 2).FloorDataIndex, Sector(1, 2, 2).FloorDataIndex)
        << "the clipboard lasts from one compile to the next";
}

TEST_F(TriggerScript, PutItemDefaultsPlacesAndCopies) {
    const uint32_t before = level->NumItems;
    ASSERT_EQ(Compile("Put_Item(1,2,3,0,5,1,0)\nPut_Item(1,2,3,1,6,2,1,9,3,20)\nPut_Item(1,2,3,0,7,"
                      "0,0,0,0)\n"),
              ReadStatus::Done);
    ASSERT_EQ(level->NumItems, before + 4);
    const TItem1& one = level->Items1[before];
    const TRoomInfo& info = level->Rooms[0].RoomInfo;
    EXPECT_EQ(one.Type, 5);
    EXPECT_EQ(one.Room, 0);
    EXPECT_EQ(+one.X, info.X + 1024 + 512);
    EXPECT_EQ(+one.Z, info.Z + 2048 + 512) << "place 0 is the sector's centre";
    EXPECT_EQ(+one.Y, 0);
    EXPECT_EQ(one.Angle, 16384);
    EXPECT_EQ(one.Intensity, 0x10FF);
    EXPECT_EQ(one.Flags, 0);
    const TItem1& copy = level->Items1[before + 3];
    EXPECT_EQ(+copy.Y, -256) << "one click above the floor";
    EXPECT_EQ(+copy.Z, info.Z + 2048 + 512 + 512) << "place 1 moves half a sector toward +Z";
    EXPECT_EQ(copy.Angle, 32768);
    EXPECT_EQ(copy.Intensity, 20 * 256 + 255);
    EXPECT_EQ(copy.Flags, 9);
    EXPECT_EQ(level->Items1[before + 1].Type, 6) << "three copies, then copies 0 appends nothing";

    demo::MakeDemoLevel(*level, FormatTR2);
    ASSERT_EQ(Compile("Put_Item(1,2,3,0,5,0,4)\n"), ReadStatus::Done);
    const TItem2& second = level->Items2[level->NumItems - 1];
    EXPECT_EQ(second.Intensity2, 0xFF0F);
    EXPECT_EQ(+second.X, info.X + 1024 + 512 + 512) << "place 4 moves toward +X";
}

TEST_F(TriggerScript, CamerasAndAlternateRooms) {
    ASSERT_EQ(Compile("Add_Camera(1,2,3,2)\nAdd_Camera(1,2,3,0,5)\nPut_Alternate(1,7)\n"),
              ReadStatus::Done);
    ASSERT_EQ(level->NumCameras, 3u);
    const TCamera& camera = level->Cameras[1];
    EXPECT_EQ(+camera.Y, -512);
    EXPECT_EQ(camera.Room, 0);
    EXPECT_EQ(camera.Flags, 0);
    EXPECT_EQ(level->Cameras[2].Flags, 5);
    EXPECT_EQ(level->Rooms[0].AlternateRoom, 7);
}

TEST_F(TriggerScript, ErrorsNameTheLine) {
    struct Case {
        const char* Script;
        const char* Message;
    };
    const Case cases[] = {
        {"Item 5\n", "Error at Line 1:Invalid Command:->Item 5"},
        {"\nEnd_Trigger()\n", "Error at Line 2:Missing Start_trigger commando:->End_Trigger()"},
        {"Start_Trigger(1,2)\n", "Error at Line 1:Not enough parameters:->"},
        {"Start_Trigger(1,2,2)\nKill_Lara(1,2,2)\n",
         "Error at Line 2:Missing End() command:->Kill_Lara(1,2,2)"},
        {"Start_Trigger(1,2,2)\nDo_with_Activate(1,1,1)\nEnd_Trigger()\n",
         "Error at Line 3:Missing End() command:->End_Trigger()"},
        {"Kill_Lara(2,1,1)\n", "Error at Line 1:Invalid room number:->Kill_Lara(2,1,1)"},
        {"Put_Item(1,8,1,0,0,0,0)\n", "Error at Line 1:Invalid sector:->Put_Item(1,8,1,0,0,0,0)"},
        {"Copy_Trigger(1,1,7)\n", "Error at Line 1:Invalid sector:->Copy_Trigger(1,1,7)"},
        {"Put_Item(1,2,2,0,0,0,0,0,299)\n",
         "Error at Line 1:Too many items:->Put_Item(1,2,2,0,0,0,0,0,299)"},
    };
    for (const Case& c : cases) {
        demo::MakeDemoLevel(*level, FormatTR1);
        const uint32_t floorData = level->NumFloorData, items = level->NumItems;
        EXPECT_EQ(Compile(c.Script), ReadStatus::LineError) << c.Script;
        EXPECT_EQ(Error(), c.Message);
        EXPECT_EQ(level->NumFloorData, floorData) << c.Script;
        EXPECT_EQ(level->NumItems, items) << c.Script;
    }
}

TEST_F(TriggerScript, UnfinishedAndEmptyBlocksWriteNothing) {
    const uint32_t before = level->NumFloorData;
    EXPECT_EQ(Compile("Start_Trigger(1,2,2)\nDo_with_Activate(1,1,1)\nItem(1)\n"),
              ReadStatus::Done);
    EXPECT_EQ(Compile("Start_Trigger(1,2,2)\n"), ReadStatus::Done);
    EXPECT_EQ(Compile("Start_Trigger(1,2,2)\nEnd_Trigger()\n"), ReadStatus::Done);
    EXPECT_EQ(level->NumFloorData, before);
    EXPECT_EQ(Sector(1, 2, 2).FloorDataIndex, 0);
}

TEST_F(TriggerScript, LimitsOfTheBufferFloorDataAndCameras) {
    std::string longBlock = "Start_Trigger(1,2,2)\nDo_with_Activate(1,1,1)\n";
    for (int i = 0; i < 130; ++i) {
        longBlock += "Item(1)\n";
    }
    EXPECT_EQ(Compile(longBlock), ReadStatus::LineError);
    EXPECT_EQ(state.ScriptErrorText, "Trigger too long:->Item(1)");
    EXPECT_EQ(state.ScriptLineNumber, 2 + 127);

    std::string cameras;
    for (int i = 0; i < 100; ++i) {
        cameras += "Add_Camera(1,2,2,0)\n";
    }
    EXPECT_EQ(Compile(cameras), ReadStatus::LineError) << "the demo level has one camera already";
    EXPECT_EQ(state.ScriptErrorText, "Too many cameras:->Add_Camera(1,2,2,0)");
    EXPECT_EQ(level->NumCameras, 100u);

    level->NumFloorData = MaxFloorData - 1;
    EXPECT_EQ(Compile("Kill_Lara(1,2,2)\nKill_Lara(1,2,3)\n"), ReadStatus::LineError);
    EXPECT_EQ(state.ScriptErrorText, "Floor data full:->Kill_Lara(1,2,3)");
    EXPECT_EQ(level->NumFloorData, static_cast<uint32_t>(MaxFloorData));
}

// Parameters at the ends of the 32-bit range: a height whose world y does not fit the level's
// field stops the compile like the other range errors; an item number of -2147483648 still
// gives its word (as 65535 - 1 wraps); a sector of a room far out is refused.
TEST_F(TriggerScript, ResultsThatDoNotFitTheirFieldsAreRefused) {
    const uint32_t items = level->NumItems, cameras = level->NumCameras;
    EXPECT_EQ(Compile("Put_Item(1,2,2,8388607,5,0,0)\nPut_Item(1,2,2,2147483647,5,0,0)\n"),
              ReadStatus::LineError);
    EXPECT_EQ(Error(), "Error at Line 2:Invalid height:->Put_Item(1,2,2,2147483647,5,0,0)");
    EXPECT_EQ(level->NumItems, items + 1) << "8388607 clicks is the highest y";
    EXPECT_EQ(+level->Items1[items].Y, -8388607 * 256);
    EXPECT_EQ(Compile("Add_Camera(1,2,2,-2147483648)\n"), ReadStatus::LineError);
    EXPECT_EQ(Error(), "Error at Line 1:Invalid height:->Add_Camera(1,2,2,-2147483648)");
    EXPECT_EQ(level->NumCameras, cameras);

    ASSERT_EQ(Compile("Start_Trigger(1,2,2)\nIf_Item_is_ON_Do_with_Activate(1,0,1,-2147483648)\n"
                      "End()\nEnd_Trigger()\n"),
              ReadStatus::Done);
    EXPECT_EQ(level->FloorData[level->NumFloorData - 1], 0xFFFF);

    level->Rooms[0].RoomInfo.X = 2147483647 - 1024;
    EXPECT_EQ(Compile("Put_Item(1,2,2,0,5,0,0)\n"), ReadStatus::LineError);
    EXPECT_EQ(Error(), "Error at Line 1:Invalid sector:->Put_Item(1,2,2,0,5,0,0)");
}

// A script that is no script: a line longer than the limit stops the compile on that line; a
// path that is not a regular file is refused before anything is read, naming the file.
TEST_F(TriggerScript, OverlongLinesAndFilesThatAreNoScript) {
    const std::string comment = ";" + std::string(MaxScriptLineLength + 10, 'c') + "\n";
    std::string longest = "Kill_Lara(1,2,2)";
    longest.resize(MaxScriptLineLength, ' ');
    std::string tooLong = "Kill_Lara(1,3,3)";
    tooLong.resize(MaxScriptLineLength + 1, ' ');
    EXPECT_EQ(Compile(comment + longest + "\n" + tooLong + "\nKill_Lara(1,4,4)\n"),
              ReadStatus::LineError);
    EXPECT_EQ(Error(), "Error at Line 3:Line too long (more than 4096 characters):->");
    EXPECT_NE(Sector(1, 2, 2).FloorDataIndex, 0) << "a line of 4096 characters is compiled";
    EXPECT_EQ(Sector(1, 3, 3).FloorDataIndex, 0);
    EXPECT_EQ(Sector(1, 4, 4).FloorDataIndex, 0);

    ASSERT_EQ(mkfifo(dir.Path("pipe.scp").c_str(), 0600), 0);
    for (const std::string& path :
         {dir.Path("pipe.scp"), std::string("/dev/zero"), dir.Root().string()}) {
        try {
            CompileTriggerScript(path, *level, state);
            FAIL() << path << " was read";
        } catch (const IoError& e) {
            EXPECT_THAT(e.what(),
                        ::testing::StartsWith("Scripting file \"" + path + "\" refused: it is a "));
        }
    }
    try {
        Compile("Kill_Lara(1,2,2)\n\nKill_Lara(1,2,two)\n");
        FAIL() << "a parameter that is no integer was taken";
    } catch (const IoError& e) {
        EXPECT_EQ(e.what(), "Scripting file \"" + dir.Path("t.scp") +
                                "\" refused: line 3: 'TWO' is not a valid integer value");
    }
}

// Random and damaged scripts against the generated level: every compile ends with 0, -1 or a
// value error, and nothing outside the record's arrays is touched (checked by the sanitizers).
TEST_F(TriggerScript, RandomScriptsNeverCrash) {
    const char* words[] = {"Start_Trigger",
                           "Copy_Trigger",
                           "Paste_Trigger",
                           "Put_Item",
                           "Kill_Lara",
                           "Add_Camera",
                           "Put_Alternate",
                           "Do_with_Activate",
                           "If_Item_at_Sector_Do_with_Activate_Else_with_Deactivate",
                           "End_Trigger",
                           "Item",
                           "Switch_camera",
                           "Timer",
                           "End",
                           "Underwater_Flow",
                           "Look_at_item",
                           "Found_Secret",
                           "End_Level",
                           "bogus"};
    std::mt19937 random(11);
    int failures = 0, valueErrors = 0;
    for (int round = 0; round < 3000; ++round) {
        if (round % 200 == 0) {
            demo::MakeDemoLevel(*level, round % 400 == 0 ? FormatTR1 : FormatTR3);
        }
        std::string script;
        for (int line = static_cast<int>(random() % 12); line > 0; --line) {
            script += words[random() % std::size(words)];
            script += "(";
            for (int p = static_cast<int>(random() % 11); p > 0; --p) {
                script += std::to_string(static_cast<int>(random() % 20) - 3);
                script += p > 1 ? "," : "";
            }
            script += random() % 10 ? ")\n" : "\n";
            if (random() % 15 == 0) {
                script[random() % script.size()] = static_cast<char>(random() % 128);
            }
        }
        try {
            failures += Compile(script) != ReadStatus::Done;
        } catch (const IoError& e) {
            ASSERT_THAT(e.what(), ::testing::StartsWith("Scripting file \"" + dir.Path("t.scp") +
                                                        "\" refused: line "));
            ++valueErrors;
        }
        ASSERT_LE(level->NumFloorData, static_cast<uint32_t>(MaxFloorData));
        ASSERT_LE(level->NumItems, static_cast<uint32_t>(MaxItems));
        ASSERT_LE(level->NumCameras, static_cast<uint32_t>(MaxCameras));
    }
    EXPECT_GT(failures, 100);
    EXPECT_GT(valueErrors, 10);
}

} // namespace
} // namespace morvane
