#include "import/import_report.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

// The import's messages name the level's rooms; the report places them in the project rooms
// those became, and a room that was not imported nowhere.
TEST(ImportReport, LevelRoomsArePlacedInTheirProjectRooms) {
    ImportResult result;
    result.Counts.RoomsWhole = 2;
    result.ProjectRoomOf = {1, 0, 2};
    result.Messages = {
        "Level room 3: 2 sectors have a floor or ceiling that no shape makes (first at column 4, "
        "row 5); the nearest shape was used.",
        "Level room 2: not imported, it lies outside the project's grid.",
        "Level room 9: its alternate room (level room 1) was not kept, it is not another room "
        "of the level.",
        "Objects imported: 3 items, 0 cameras, 1 static mesh, 2 lights.",
        "4 lights had a second fade unlike the first; the first was kept for both."};
    const std::vector<ReportLine> lines = ImportReportLines(result);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].Text, ImportSummary(result.Counts));
    EXPECT_EQ(lines[0].Kind, ReportKind::Note);

    EXPECT_EQ(lines[1].Kind, ReportKind::Warning);
    EXPECT_EQ(lines[1].Place.Room, 2) << "level room 3 is project room 2";
    EXPECT_FALSE(lines[1].Place.LevelRoom);
    EXPECT_EQ(lines[1].Place.Column, 4);
    EXPECT_EQ(lines[1].Place.Row, 5);
    for (int i : {2, 3}) {
        EXPECT_EQ(lines[i].Kind, ReportKind::Warning) << lines[i].Text;
        EXPECT_EQ(lines[i].Place.Room, 0) << lines[i].Text;
    }
    EXPECT_EQ(lines[4].Kind, ReportKind::Note) << "what came over is only said";
    EXPECT_EQ(lines[5].Kind, ReportKind::Warning);
}

} // namespace
} // namespace morvane
