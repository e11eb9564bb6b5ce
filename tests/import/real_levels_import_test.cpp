#include "support/test_files.h"

#include "import/level_import.h"
#include "import/sector_corners.h"
#include "level/floor_data.h"
#include "level/level_check.h"
#include "level/level_reader.h"
#include "levelbuild/build_pipeline.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

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
    auto original = std::make_unique<TLevelData>();
    auto rebuilt = std::make_unique<TLevelData>();
    auto project = std::make_unique<TEditorProject>();
    for (const RealLevel& real : RealLevels) {
        SCOPED_TRACE(real.File);
        const std::string path = dir + "/" + real.File;
        ASSERT_EQ(ReadLevelFile(*original, path).Status, ReadStatus::Done);
        const ImportResult result = ImportLevelRooms(*original, *project, path);
        const ImportCounts& counts = result.Counts;
        EXPECT_EQ(counts.RoomsSkipped, 0);
        EXPECT_EQ(counts.RoomsImported(), original->NumRooms);
        EXPECT_GE(counts.RoomsWhole, real.RoomsWhole);
        EXPECT_GE(counts.SectorsWhole, real.SectorsWhole);
        EXPECT_GE(counts.FacesUsed, real.FacesUsed * counts.Faces);

        // The project builds onto the level it came from.
        const std::string extension =
            std::string(real.File).substr(std::string(real.File).rfind('.'));
        TScriptState script;
        const BuildResult built =
            BuildLevel(*project, *rebuilt, {path, out.Path("rebuilt" + extension), "", "", ""},
                       std::string(MORVANE_SOURCE_DIR) + "/data", script);
        ASSERT_TRUE(built.Written) << ::testing::PrintToString(built.Messages);
        ASSERT_EQ(ReadLevelFile(*rebuilt, out.Path("rebuilt" + extension)).Status,
                  ReadStatus::Done);
        ASSERT_EQ(rebuilt->NumRooms, original->NumRooms);
        std::vector<std::string> errors;
        for (const LevelFinding& finding : CheckLevel(*rebuilt)) {
            if (finding.Severity == FindingSeverity::Error) {
                errors.push_back(FormatFinding(finding));
            }
        }
        EXPECT_TRUE(errors.empty())
            << "the rebuilt level passes the level check: " << ::testing::PrintToString(errors);

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

} // namespace
} // namespace morvane
