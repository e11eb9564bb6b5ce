#include "support/real_level_rebuild.h"
#include "support/test_files.h"

#include "document/flip_map_operations.h"
#include "document/object_operations.h"
#include "import/level_import.h"
#include "import/sector_corners.h"
#include "level/floor_data.h"
#include "level/level_check.h"
#include "level/level_format.h"
#include "level/level_reader.h"
#include "level/room_objects.h"
#include "levelbuild/build_pipeline.h"
#include "script/trigger_encoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace morvane {
namespace {

SectorCorners CornersOf(const TLevelData& level, int room, int index) {
    const TGameSector& sector = level.Rooms[room].Sectors[index];
    return LevelSectorCorners(sector, ReadSectorFloorData(level, sector.FloorDataIndex));
}

// A sector's floor and ceiling are the same when both are walls, or when their corner heights
// (slopes included) are.
bool SameSurfaces(const SectorCorners& a, const SectorCorners& b) {
    return (a.Wall && b.Wall) || (a.Floor == b.Floor && a.Ceiling == b.Ceiling);
}

struct RealLevel {
    const char* File;
    int RoomsWhole;      // at least
    int SectorsWhole;    // at least
    double SameSurfaces; // share of the level's sectors, at least
    double FacesUsed;    // share of the level's faces that gave a slot its texture, at least
};

// Figures measured on the three files; a change that imports less fails here.
constexpr RealLevel RealLevels[] = {
    {"tr1-demo-level2.tub", 3, 3511, 0.8167, 0.943},
    {"tr1-opentomb-altroom1.phd", 1, 363, 1.0, 1.0},
    {"tr2-hiltop.tr2", 8, 228, 1.0, 1.0},
};

TEST(RealLevelsImport, RoomsComeOverAndBuildAgainOntoTheSameBaseLevel) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    test::TempDir out;
    test::RealLevelRebuild run;
    const auto& original = run.Original;
    const auto& rebuilt = run.Rebuilt;
    const ImportResult& result = run.Imported;
    for (const RealLevel& real : RealLevels) {
        SCOPED_TRACE(real.File);
        // The project builds onto the level it came from.
        ASSERT_NO_FATAL_FAILURE(run.Run(dir, real.File, out));
        const ImportCounts& counts = result.Counts;
        EXPECT_EQ(counts.RoomsSkipped, 0);
        EXPECT_EQ(counts.RoomsImported(), original->NumRooms);
        EXPECT_GE(counts.RoomsWhole, real.RoomsWhole);
        EXPECT_GE(counts.SectorsWhole, real.SectorsWhole);
        EXPECT_GE(counts.FacesUsed, real.FacesUsed * counts.Faces);
        ASSERT_EQ(rebuilt->NumRooms, original->NumRooms);
        std::vector<std::string> errors, oneWay;
        for (const LevelFinding& finding : CheckLevel(*rebuilt)) {
            if (finding.Severity == FindingSeverity::Error) {
                errors.push_back(FormatFinding(finding));
            }
            if (finding.Portal > 0 && finding.Text.find("no portal back") != std::string::npos) {
                oneWay.push_back(FormatFinding(finding));
            }
        }
        EXPECT_TRUE(errors.empty())
            << "the rebuilt level passes the level check: " << ::testing::PrintToString(errors);
        // The levels have no portal without the same quad back; neither has the rebuilt one.
        EXPECT_TRUE(oneWay.empty()) << ::testing::PrintToString(oneWay);
        // The alternate rooms build back; of a pair linked both ways, the later room is the
        // alternate and its link back is gone.
        for (int r = 0; r < original->NumRooms; ++r) {
            const int a = original->Rooms[r].AlternateRoom;
            const bool linkBack = a >= 0 && a < r && original->Rooms[a].AlternateRoom == r;
            EXPECT_EQ(rebuilt->Rooms[result.ProjectRoomOf[r] - 1].AlternateRoom,
                      a < 0 || linkBack ? -1 : result.ProjectRoomOf[a] - 1)
                << "room " << r + 1;
        }
        if (std::string(real.File) == "tr1-opentomb-altroom1.phd") {
            EXPECT_EQ(FlipLinks(*run.Project), (std::vector<FlipLink>{{2, 3}}));
        }

        int sectors = 0, same = 0;
        for (int r = 0; r < original->NumRooms; ++r) {
            const TLevelRoom& from = original->Rooms[r];
            const int back = result.ProjectRoomOf[r] - 1;
            const TLevelRoom& to = rebuilt->Rooms[back];
            sectors += from.NumXSectors * from.NumZSectors;
            for (int x = 0; x < to.NumXSectors; ++x) {
                for (int z = 0; z < to.NumZSectors; ++z) {
                    same += SameSurfaces(CornersOf(*original, r, x * from.NumZSectors + z),
                                         CornersOf(*rebuilt, back, x * to.NumZSectors + z));
                }
            }
        }
        EXPECT_GE(same, counts.SectorsWhole) << "every sector that came over whole builds back";
        EXPECT_GE(static_cast<double>(same) / sectors, real.SameSurfaces);
        std::printf("%s: %s Floor and ceiling as in the level: %d of %d sectors (%.2f %%).\n",
                    real.File, ImportSummary(counts).c_str(), same, sectors,
                    100.0 * same / sectors);
    }
}

// The items, cameras, static meshes and lights of a real level come over and build back where
// they were: Lara first, the other items in the level's order, each room's records in its order.
TEST(RealLevelsImport, ObjectsBuildBackWhereTheyWere) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    test::TempDir out;
    test::RealLevelRebuild run;
    const auto& original = run.Original;
    const auto& rebuilt = run.Rebuilt;
    const ImportResult& result = run.Imported;
    for (const RealLevel& real : RealLevels) {
        SCOPED_TRACE(real.File);
        ASSERT_NO_FATAL_FAILURE(run.Run(dir, real.File, out));
        for (const std::string& message : result.Messages) {
            EXPECT_EQ(message.find("; not imported."), std::string::npos) << message;
        }

        // The level's items with Lara moved to the front, as the build orders them.
        std::vector<LevelItem> items;
        for (uint32_t i = 0; i < original->NumItems; ++i) {
            const LevelItem item = GetLevelItem(*original, static_cast<int>(i));
            items.insert(item.Type == 0 ? items.begin() : items.end(), item);
        }
        const int withoutLara = items.empty() || items.front().Type != 0 ? 1 : 0;
        ASSERT_EQ(rebuilt->NumItems, items.size() + withoutLara);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const LevelItem& a = items[i];
            const LevelItem b = GetLevelItem(*rebuilt, static_cast<int>(i) + withoutLara);
            EXPECT_EQ(std::tuple(a.Type, result.ProjectRoomOf[a.Room] - 1, +a.X, +a.Y, +a.Z,
                                 a.Angle, a.Flags, a.Intensity, a.Intensity2),
                      std::tuple(b.Type, +b.Room, +b.X, +b.Y, +b.Z, b.Angle, b.Flags, b.Intensity,
                                 b.Intensity2))
                << "item " << i;
        }
        ASSERT_EQ(rebuilt->NumCameras, original->NumCameras);
        for (uint32_t c = 0; c < original->NumCameras; ++c) {
            const TCamera& a = original->Cameras[c];
            const TCamera& b = rebuilt->Cameras[c];
            EXPECT_EQ(std::tuple(+a.X, +a.Y, +a.Z, result.ProjectRoomOf[a.Room] - 1, +a.Flags),
                      std::tuple(+b.X, +b.Y, +b.Z, +b.Room, +b.Flags))
                << "camera " << c;
        }
        int statics = 0, lights = 0;
        for (int r = 0; r < original->NumRooms; ++r) {
            const TLevelRoom& from = original->Rooms[r];
            const TLevelRoom& to = rebuilt->Rooms[result.ProjectRoomOf[r] - 1];
            ASSERT_EQ(to.NumStaticMeshes, from.NumStaticMeshes) << "room " << r;
            ASSERT_EQ(to.NumLights, from.NumLights) << "room " << r;
            const bool second = UsesSecondGameRecords(original->FormatKind);
            for (int s = 0; s < from.NumStaticMeshes; ++s, ++statics) {
                EXPECT_EQ(0, second ? std::memcmp(&from.RoomStatics2[s], &to.RoomStatics2[s], 20)
                                    : std::memcmp(&from.RoomStatics1[s], &to.RoomStatics1[s], 18))
                    << "room " << r << ", static mesh " << s;
            }
            for (int l = 0; l < from.NumLights; ++l, ++lights) {
                const RoomLight a = GetRoomLight(*original, from, l);
                const RoomLight b = GetRoomLight(*rebuilt, to, l);
                EXPECT_EQ(std::tuple(+a.X, +a.Y, +a.Z, a.Intensity, a.Intensity2, a.Fade, a.Colour),
                          std::tuple(+b.X, +b.Y, +b.Z, b.Intensity, b.Intensity2, b.Fade, b.Colour))
                    << "room " << r << ", light " << l;
            }
        }
        std::printf("%s: %zu items, %u cameras, %d static meshes, %d lights built back.\n",
                    real.File, items.size(), original->NumCameras, statics, lights);
    }
}

// The trigger and kill entries of a sector's list in their order, each head without the list's
// end mark, the items the triggers name renumbered by `item` (the level's order to the build's).
std::vector<uint16_t> TriggerWordsOf(const TLevelData& level, uint32_t index,
                                     const std::vector<int>& item) {
    std::vector<uint16_t> words;
    const uint32_t end = level.NumFloorData;
    for (uint32_t at = index; index != 0 && at < end;) {
        const uint16_t head = level.FloorData[at];
        const int function = level.FormatKind == FormatTR3 ? head & 0x1F : head & 0xFF;
        if (function == FloorDataKill) {
            words.push_back(FloorDataKill);
            ++at;
        } else if (function == FloorDataTrigger) {
            TriggerEntryWords entry;
            EXPECT_TRUE(ReadTriggerEntry(level.FloorData, end, at, entry)) << "at " << at;
            for (TriggerActionWords& action : entry.Actions) {
                if (action.Action == 0 || action.Action == 6) {
                    action.Operand = static_cast<uint16_t>(item.at(action.Operand));
                }
            }
            AppendTriggerEntry(entry, false, words);
        } else {
            at += function == 6 || function > 18 ? 1 : 2;
        }
        if (head & FloorDataEnd) {
            break;
        }
    }
    return words;
}

// Every sector's triggers and death floor come over and build back word for word: the same
// words in the same order, the items they name moved only as the build moves Lara to the front.
TEST(RealLevelsImport, TriggersBuildBackWordForWord) {
    const std::string dir = test::RealFixturesDir();
    if (dir.empty()) {
        GTEST_SKIP() << "the real level files are not beside the repository";
    }
    test::TempDir out;
    test::RealLevelRebuild run;
    const auto& original = run.Original;
    const auto& rebuilt = run.Rebuilt;
    for (const RealLevel& real : RealLevels) {
        SCOPED_TRACE(real.File);
        ASSERT_NO_FATAL_FAILURE(run.Run(dir, real.File, out));
        for (const std::string& message : run.Imported.Messages) {
            EXPECT_EQ(message.find("; not imported."), std::string::npos) << message;
            EXPECT_EQ(message.find("writes differently"), std::string::npos) << message;
        }
        std::vector<int> item(original->NumItems), same(rebuilt->NumItems);
        int lara = -1;
        for (uint32_t i = 0; i < original->NumItems; ++i) {
            lara =
                lara < 0 && GetLevelItem(*original, static_cast<int>(i)).Type == 0 ? int(i) : lara;
        }
        for (int i = 0; i < static_cast<int>(item.size()); ++i) {
            item[i] = i == lara ? 0 : (lara < 0 ? i + 1 : i + (i < lara ? 1 : 0));
        }
        for (std::size_t i = 0; i < same.size(); ++i) {
            same[i] = static_cast<int>(i);
        }
        int sectors = 0, words = 0;
        for (int r = 0; r < original->NumRooms; ++r) {
            const TLevelRoom& from = original->Rooms[r];
            const TLevelRoom& to = rebuilt->Rooms[run.Imported.ProjectRoomOf[r] - 1];
            ASSERT_EQ(to.NumXSectors * to.NumZSectors, from.NumXSectors * from.NumZSectors);
            for (int s = 0; s < from.NumXSectors * from.NumZSectors; ++s) {
                const std::vector<uint16_t> a =
                    TriggerWordsOf(*original, from.Sectors[s].FloorDataIndex, item);
                const std::vector<uint16_t> b =
                    TriggerWordsOf(*rebuilt, to.Sectors[s].FloorDataIndex, same);
                EXPECT_EQ(a, b) << "level room " << r << ", sector " << s;
                sectors += a.empty() ? 0 : 1;
                words += static_cast<int>(a.size());
            }
        }
        EXPECT_EQ(run.Project->Triggers.Count, static_cast<uint32_t>(sectors));
        std::printf("%s: %d sectors of triggers (%d words) built back word for word; Lara was "
                    "level item %d.\n",
                    real.File, sectors, words, lara + 1);
    }
}

} // namespace
} // namespace morvane
