#include "levelbuild/build_fixture.h"

#include "document/object_operations.h"
#include "document/trigger_operations.h"
#include "import/trigger_import.h"
#include "level/floor_data.h"
#include "level/level_reader.h"
#include "levelbuild/trigger_floor_data.h"
#include "script/trigger_encoding.h"

#include <gmock/gmock.h>

#include <cstring>
#include <optional>
#include <random>
#include <sstream>

namespace morvane {
namespace {

using ::testing::HasSubstr;

// The words of a sector's whole entry list, walked entry by entry.
std::vector<uint16_t> EntryList(const TLevelData& level, int room, int column, int row) {
    const TLevelRoom& r = level.Rooms[room - 1];
    const uint32_t start = r.Sectors[(column - 1) * r.NumZSectors + (row - 1)].FloorDataIndex;
    uint32_t at = start;
    for (bool last = start == 0; !last && at < level.NumFloorData;) {
        const uint16_t head = level.FloorData[at];
        last = (head & FloorDataEnd) != 0;
        if ((head & 0x1F) == FloorDataTrigger) {
            TriggerEntryWords entry;
            EXPECT_TRUE(ReadTriggerEntry(level.FloorData, level.NumFloorData, at, entry));
        } else {
            at += (head & 0x1F) == FloorDataKill ? 1 : 2;
        }
    }
    return {level.FloorData + start, level.FloorData + at};
}

// The trigger script that writes the same words, for the triggers the script's commands can say:
// its kinds (a heavy trigger through the item word of "If_Item_at_Sector", which is an object
// action), its actions, and of the camera's upper bits only the one its third parameter sets.
std::optional<std::string> ScriptOf(const TEditorProject& project, const TEditorTrigger& t) {
    const auto level = [&](int object) { return ObjectLevelIndex(project, object) + 1; };
    const int s = t.Once | t.Mask << 1 | (t.SetupBits & 1) << 6;
    const int f = t.SetupBits >> 1;
    const std::string stf =
        std::to_string(s) + "," + std::to_string(t.Timer) + "," + std::to_string(f);
    std::ostringstream out;
    const std::string sector =
        std::to_string(t.Room) + "," + std::to_string(t.Column) + "," + std::to_string(t.Row);
    if (t.Death) {
        out << "Kill_Lara(" << sector << ")\n";
    }
    if (t.ActionCount == 0) {
        return out.str();
    }
    int first = 0;
    out << "Start_Trigger(" << sector << ")\n";
    switch (t.KindOf()) {
    case TriggerKind::Trigger:
        out << "Do_with_Activate(" << stf << ")\n";
        break;
    case TriggerKind::Pad:
        out << "If_Lara_on_ground_Do_with_Activate(" << stf << ")\n";
        break;
    case TriggerKind::Dummy:
        out << "If_Not_Lara_on_ground_Do_with_Activate(" << stf << ")\n";
        break;
    case TriggerKind::Switch:
        out << "If_Item_is_ON_Do_with_Activate_Else_with_Deactivate(" << stf << ","
            << level(t.Object) << ")\n";
        break;
    case TriggerKind::Key:
        out << "If_Item_is_ON_Do_with_Activate(" << stf << "," << level(t.Object) << ")\n";
        break;
    case TriggerKind::Pickup:
        out << "If_Item_is_picked_Up_Do_with_Activate(" << stf << "," << level(t.Object) << ")\n";
        break;
    case TriggerKind::Heavy:
        if (t.Actions[0].KindOf() != TriggerActionKind::Object) {
            return std::nullopt;
        }
        out << "If_Item_at_Sector_Do_with_Activate_Else_with_Deactivate(" << stf << ","
            << level(t.Actions[0].Value) << ")\n";
        first = 1;
        break;
    case TriggerKind::Antipad:
    case TriggerKind::Antitrigger:
        if (t.Timer != 0) {
            return std::nullopt; // the script gives these no timer
        }
        out << (t.KindOf() == TriggerKind::Antipad ? "If_Lara_on_ground_Do_with_Deactivate("
                                                   : "Do_with_Deactivate(")
            << s << "," << f << ")\n";
        break;
    default:
        return std::nullopt;
    }
    for (int a = first; a < t.ActionCount; ++a) {
        const TTriggerAction& action = t.Actions[a];
        switch (action.KindOf()) {
        case TriggerActionKind::Object:
            out << "Item(" << level(action.Value) << ")\n";
            break;
        case TriggerActionKind::Camera:
            if (action.CameraBits != 0 && action.CameraBits != 0x08) {
                return std::nullopt;
            }
            out << "Switch_camera(" << level(action.Value) << "," << int(action.Seconds) << ","
                << (action.CameraBits ? 1 : 0) << "," << int(action.Once) << ")\n";
            break;
        case TriggerActionKind::Current:
            out << "Underwater_Flow(" << level(action.Value) - 1 << ")\n";
            break;
        case TriggerActionKind::FlipMap:
            out << "Alternate_Room(" << action.Value << ")\n";
            break;
        case TriggerActionKind::LookAt:
            out << "Look_at_item(" << level(action.Value) << ")\n";
            break;
        case TriggerActionKind::EndLevel:
            out << "End_Level()\n";
            break;
        case TriggerActionKind::Soundtrack:
            out << "Play_sound_Track(" << action.Value << ")\n";
            break;
        case TriggerActionKind::Secret:
            out << "Found_Secret(" << action.Value << ")\n";
            break;
        default:
            return std::nullopt;
        }
    }
    out << "End()\nEnd_Trigger()\n";
    return out.str();
}

class TriggerBuild : public test::BuildFixture, public ::testing::WithParamInterface<int32_t> {
protected:
    std::string Extension() const {
        return GetParam() == FormatTUB ? ".tub" : "." + std::string(FormatKindName(GetParam()));
    }
    void Place(const TEditorObject& object) {
        const DocumentOutcome outcome = PlaceObject(*project, object);
        ASSERT_FALSE(outcome.Refused) << outcome.Message;
    }
};

// Random triggers of every kind and action the layout has, on the sectors of two rooms, built
// into the level: each sector's entries read back as the trigger that was set (its objects
// through the level indexes the build gave them), and where the trigger script can say the same,
// the script built instead gives the sector the same words.
TEST_P(TriggerBuild, EveryKindAndActionBuildsAndReadsBackAsTheScriptWritesIt) {
    const int32_t layout = GetParam();
    std::mt19937 random(static_cast<unsigned>(layout));
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    NewProject(*project, scene);
    Add(12, 12, 2, 16, 5, 4);
    Add(12, 12, 16, 16, 5, 4);
    // Items before Lara in the layer, so that her level index (0) is not her place in it.
    for (int i = 0; i < 8; ++i) {
        ASSERT_NO_FATAL_FAILURE(Place(NewObject(ObjectKind::Item, 1 + i % 2, (1 + i) * 1024 + 512,
                                                2 * 1024 + 512, 0 + 1 + i)));
        ASSERT_NO_FATAL_FAILURE(
            Place(NewObject(ObjectKind::Camera, 1 + i % 2, (1 + i) * 1024 + 512, 5 * 1024)));
    }
    ASSERT_NO_FATAL_FAILURE(Place(NewObject(ObjectKind::Item, 1, 6 * 1024 + 512, 6 * 1024, 0)));
    std::vector<int> items, cameras;
    for (uint32_t i = 0; i < project->Objects.Count; ++i) {
        (project->Objects.Objects[i].Is(ObjectKind::Item) ? items : cameras)
            .push_back(static_cast<int>(i));
    }
    const auto any = [&](const std::vector<int>& from) {
        return from[static_cast<std::size_t>(pick(0, static_cast<int>(from.size()) - 1))];
    };
    std::vector<int> kinds, actions;
    for (int k = 0; k <= LastTriggerKind; ++k) {
        if (LayoutHasTriggerKind(layout, k)) {
            kinds.push_back(k);
        }
    }
    for (int a = 0; a <= LastTriggerActionKind; ++a) {
        if (LayoutHasTriggerAction(layout, a)) {
            actions.push_back(a);
        }
    }
    int made = 0;
    for (int room = 1; room <= 2; ++room) {
        for (int column = 2; column <= 11; ++column) {
            for (int row = 2; row <= 11; ++row) {
                const int n = made++;
                TEditorTrigger t = NewTrigger(
                    room, column, row,
                    static_cast<TriggerKind>(kinds[static_cast<std::size_t>(n) % kinds.size()]));
                t.Timer = static_cast<uint8_t>(pick(0, 3) == 0 ? 0 : pick(0, 255));
                t.Once = static_cast<uint8_t>(pick(0, 1));
                t.Mask = static_cast<uint8_t>(pick(0, 31));
                t.Death = static_cast<uint8_t>(pick(0, 3) == 0);
                t.SetupBits = static_cast<uint8_t>(pick(0, 5) == 0 ? pick(0, 3) : 0);
                if (TriggerKindTiesObject(t.KindOf())) {
                    t.Object = static_cast<int16_t>(any(items));
                }
                t.ActionCount =
                    static_cast<uint8_t>(n % 11 == 0 ? 0 : pick(1, n % 5 == 0 ? 16 : 3));
                for (int a = 0; a < t.ActionCount; ++a) {
                    const auto kind = static_cast<TriggerActionKind>(
                        actions[static_cast<std::size_t>(n + a) % actions.size()]);
                    TTriggerAction& action = t.Actions[a];
                    action = NewTriggerAction(kind);
                    if (TriggerActionNamesObject(kind)) {
                        action.Value = static_cast<int16_t>(any(items));
                    } else if (TriggerActionNamesCamera(kind)) {
                        action.Value = static_cast<int16_t>(any(cameras));
                    } else if (kind == TriggerActionKind::Secret) {
                        action.Value = static_cast<int16_t>(pick(1, MaxSecretNumber));
                    } else if (kind == TriggerActionKind::Soundtrack ||
                               kind == TriggerActionKind::FlipEffect) {
                        action.Value = static_cast<int16_t>(pick(0, 120));
                    } else if (kind != TriggerActionKind::EndLevel &&
                               kind != TriggerActionKind::ClearBodies) {
                        action.Value = static_cast<int16_t>(pick(0, MaxFlipMapNumber));
                    }
                    if (kind == TriggerActionKind::Camera) {
                        action.Seconds = static_cast<uint8_t>(pick(0, 255));
                        action.Once = static_cast<uint8_t>(pick(0, 1));
                        action.CameraBits =
                            static_cast<uint8_t>(pick(0, 2) == 0 ? pick(0, 63) : pick(0, 1) * 8);
                    }
                }
                const DocumentOutcome set = SetTriggers(*project, layout, {{room, column, row}}, t);
                ASSERT_FALSE(set.Refused) << set.Message;
            }
        }
    }
    const std::string base = MakeBase(layout, "base" + Extension());
    const BuildResult built = Build({base, dir.Path("out" + Extension()), "", "", ""});
    ASSERT_TRUE(built.Written) << ::testing::PrintToString(built.Messages);

    ImportedObjectIndexes indexes;
    indexes.OfItem.assign(items.size() + 1, -1);
    indexes.OfCamera.assign(cameras.size(), -1);
    for (int i : items) {
        indexes.OfItem[static_cast<std::size_t>(ObjectLevelIndex(*project, i))] = i;
    }
    for (int c : cameras) {
        indexes.OfCamera[static_cast<std::size_t>(ObjectLevelIndex(*project, c))] = c;
    }
    std::string scriptText;
    int scripted = 0;
    for (uint32_t i = 0; i < project->Triggers.Count; ++i) {
        const TEditorTrigger& t = project->Triggers.Triggers[i];
        SCOPED_TRACE(TriggerPlaceText(t));
        const TLevelRoom& room = level->Rooms[t.Room - 1];
        SectorTriggerRead read = ReadSectorTrigger(
            *level, room.Sectors[(t.Column - 1) * room.NumZSectors + t.Row - 1].FloorDataIndex,
            indexes);
        const bool writes = t.Death || t.ActionCount > 0;
        ASSERT_EQ(read.Found, writes);
        if (!writes) {
            continue;
        }
        EXPECT_EQ(read.Problem, "");
        EXPECT_TRUE(read.Exact);
        read.Trigger.Room = t.Room;
        read.Trigger.Column = t.Column;
        read.Trigger.Row = t.Row;
        if (t.ActionCount == 0) { // the kill entry alone says nothing of the rest
            EXPECT_EQ(read.Trigger.ActionCount, 0);
        } else {
            EXPECT_EQ(std::memcmp(&read.Trigger, &t, sizeof(t)), 0);
        }
        if (const auto text = ScriptOf(*project, t)) {
            scriptText += *text;
            ++scripted;
        }
    }

    // The script of the triggers it can say, built on the project without its triggers.
    auto triggers = std::vector<TEditorTrigger>(
        project->Triggers.Triggers, project->Triggers.Triggers + project->Triggers.Count);
    ASSERT_EQ(ReplaceTriggerLayer(*project, {}, layout), "");
    test::WriteFileBytes(dir.Path("t.scp"), test::Bytes(scriptText.begin(), scriptText.end()));
    const auto scriptLevel = std::make_unique<TLevelData>();
    const BuildResult scriptBuilt = BuildLevel(
        *project, *scriptLevel, {base, dir.Path("script" + Extension()), "", "", dir.Path("t.scp")},
        std::string(MORVANE_SOURCE_DIR) + "/data", script);
    ASSERT_TRUE(scriptBuilt.Written) << ::testing::PrintToString(scriptBuilt.Messages);
    ASSERT_TRUE(scriptBuilt.Messages.empty()) << ::testing::PrintToString(scriptBuilt.Messages);
    ASSERT_EQ(ReplaceTriggerLayer(*project, triggers, layout), "");
    int compared = 0;
    for (const TEditorTrigger& t : triggers) {
        if (ScriptOf(*project, t)) {
            EXPECT_EQ(EntryList(*level, t.Room, t.Column, t.Row),
                      EntryList(*scriptLevel, t.Room, t.Column, t.Row))
                << TriggerPlaceText(t);
            compared += t.Death || t.ActionCount > 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(compared, scripted) << "every trigger the script said was compared";
    EXPECT_GT(compared, 30) << "of " << made;
    std::printf("%s: %d triggers built and read back, %d of them compared with the script.\n",
                FormatKindName(layout), made, compared);
}

// A trigger the layout cannot hold stops the build with the trigger and field named.
TEST_P(TriggerBuild, AKindTheLayoutLacksStopsTheBuild) {
    NewProject(*project, scene);
    Add(6, 6, 2, 16, 5, 4);
    TEditorTrigger monkey = NewTrigger(1, 3, 3, TriggerKind::Monkey);
    monkey.Actions[monkey.ActionCount++] = NewTriggerAction(TriggerActionKind::EndLevel);
    ASSERT_FALSE(SetTriggers(*project, FormatNone, {{1, 3, 3}}, monkey).Refused);
    const BuildResult built = Build(
        {MakeBase(GetParam(), "base" + Extension()), dir.Path("out" + Extension()), "", "", ""});
    if (GetParam() == FormatTR3) {
        EXPECT_TRUE(built.Written) << ::testing::PrintToString(built.Messages);
    } else {
        EXPECT_FALSE(built.Written);
        EXPECT_THAT(
            ::testing::PrintToString(built.Messages),
            HasSubstr("the trigger of room 1, column 3, row 3 has its kind \\\"monkey\\\""));
    }
}

INSTANTIATE_TEST_SUITE_P(AllLayouts, TriggerBuild,
                         ::testing::Values(FormatTR1, FormatTUB, FormatTR2, FormatTR3),
                         [](const auto& info) { return std::string(FormatKindName(info.param)); });

} // namespace
} // namespace morvane
