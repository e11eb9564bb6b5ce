#include "levelbuild/build_fixture.h"

#include "levelbuild/report_lines.h"

#include <gmock/gmock.h>

#include <random>

namespace morvane {
namespace {

using test::BuildFixture;

std::string Where(const ReportPlace& place) {
    return "room " + std::to_string(place.Room) + (place.LevelRoom ? " (level)" : "") +
           ", column " + std::to_string(place.Column) + ", row " + std::to_string(place.Row) +
           ", sector " + std::to_string(place.Sector) + ", view " + std::to_string(place.View);
}

bool SamePlace(const ReportPlace& a, const ReportPlace& b) {
    return Where(a) == Where(b);
}

ReportPlace Place(int room, int column = 0, int row = 0, int view = 0, int sector = 0) {
    ReportPlace place;
    place.Room = room;
    place.Column = column;
    place.Row = row;
    place.View = view;
    place.Sector = sector;
    return place;
}

// The lines of the level check and the build name their room first; a room's name (which may
// read like another place) and the text after the place (which names other rooms and sectors)
// do not move the place read back.
TEST(ReportLines, EveryFindingsPlaceIsReadBackFromItsLine) {
    std::mt19937 random(20261209);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const std::vector<std::string> names = {"",        "Room #17",        "room 7",   "Hall 2",
                                            "Door #3", "column 5, row 6", "Sector 9", "a(b"};
    std::vector<LevelFinding> errors;
    std::string joined = "The level was not written: many errors would break it in the game:";
    for (int i = 0; i < 3000; ++i) {
        LevelFinding finding;
        finding.Severity = pick(0, 1) == 0 ? FindingSeverity::Warning : FindingSeverity::Error;
        finding.Room = pick(0, 3) == 0 ? 0 : pick(1, 128);
        finding.RoomName = names[static_cast<std::size_t>(pick(0, 7))];
        if (finding.Room > 0 && pick(0, 1) == 0) {
            finding.Column = pick(1, 32);
            finding.Row = pick(1, 32);
        }
        if (finding.Room > 0 && finding.Column == 0 && pick(0, 2) == 0) {
            finding.Portal = pick(1, 40);
        }
        if (finding.Room > 0 && pick(0, 3) == 0) {
            finding.View = pick(1, 20);
        }
        if (pick(0, 3) == 0) {
            finding.Object = "object " + std::to_string(pick(0, 300)) + " (item)";
        }
        if (pick(0, 3) == 0) {
            finding.Item = pick(1, 300);
        }
        // What the text names beyond the place, where the place already names as much.
        finding.Text = "something is wrong";
        if (finding.Room > 0) {
            finding.Text += ": the portal to room " + std::to_string(pick(1, 128)) + " (Room #3)";
        }
        if (finding.Column > 0) {
            finding.Text += " needs one at column " + std::to_string(pick(1, 32)) + ", row " +
                            std::to_string(pick(1, 32));
        }
        if (finding.View > 0) {
            finding.Text += " and Door #" + std::to_string(pick(1, 20));
        }
        const std::string line = FormatFinding(finding);
        const ReportPlace expected = Place(finding.Room, finding.Column, finding.Row, finding.View);
        const ReportPlace read = ParseReportPlace(line);
        ASSERT_TRUE(SamePlace(read, expected))
            << line << "\n  read as " << Where(read) << "\n  not " << Where(expected);
        if (finding.Severity == FindingSeverity::Error && errors.size() < 50) {
            errors.push_back(finding);
            joined += "\n" + line;
        }
    }

    // The build's one message of errors: a line each, every one an error with its place.
    std::vector<ReportLine> lines;
    AddReportLines(lines, joined + "\n", ReportKind::Note);
    ASSERT_EQ(lines.size(), errors.size() + 1);
    EXPECT_EQ(lines[0].Kind, ReportKind::Note) << "the heading is the message's own kind";
    EXPECT_TRUE(SamePlace(lines[0].Place, {}));
    for (std::size_t i = 0; i < errors.size(); ++i) {
        const ReportLine& line = lines[i + 1];
        EXPECT_EQ(line.Kind, ReportKind::Error) << line.Text;
        EXPECT_EQ(line.Text, FormatFinding(errors[i]));
        EXPECT_TRUE(SamePlace(
            line.Place, Place(errors[i].Room, errors[i].Column, errors[i].Row, errors[i].View)))
            << line.Text;
    }
}

// The wordings of the import's and the build's messages that name their place otherwise.
TEST(ReportLines, PlacesInTheImportsAndTheBuildsOwnWordings) {
    ReportPlace level = Place(12, 1, 9);
    level.LevelRoom = true;
    const struct {
        const char* text;
        ReportPlace place;
    } cases[] = {
        {"Level room 12: 40 sectors have a floor or ceiling that no shape makes (first at column "
         "1, row 9); the nearest shape was used.",
         level},
        {"Sector 12 of room 3 links to room 5, which the project does not have.",
         Place(3, 0, 0, 0, 12)},
        {"Portal view Door #2 of room 4 has its origin (column 7, row 1) outside the room's grid.",
         Place(4, 7, 1, 2)},
        {"Room 1 (Room #1) needs more than 2000 vertices", Place(1)},
        {"error: object 6 (item): room 9 does not exist (the project has 2)", Place(9)},
        {"94 rooms imported (3 whole, 91 clipped), 0 skipped; 4299 sectors", Place(0)},
        {"Objects imported: 93 items, 6 cameras, 27 static meshes, 100 lights.", Place(0)},
        {"the bedroom 5 and column 3 alone", Place(0)},
    };
    for (const auto& c : cases) {
        const ReportPlace read = ParseReportPlace(c.text);
        EXPECT_TRUE(SamePlace(read, c.place)) << c.text << "\n  read as " << Where(read);
    }
}

using BuildReport = BuildFixture;

TEST_F(BuildReport, AWrittenLevelsReportAndARefusedOnes) {
    const std::string base = MakeBase(FormatTR1, "BASE.PHD");
    Add(3, 3, 2, 32, 5, 4); // too small for Lara's usual start: a warning at column 2, row 2
    BuildResult result = Build({base, dir.Path("OUT.PHD"), "", "", ""});
    ASSERT_TRUE(result.Written);
    std::vector<ReportLine> lines = BuildReportLines(result);
    ASSERT_EQ(lines.size(), 1 + result.Warnings.size());
    EXPECT_EQ(lines[0].Kind, ReportKind::Note);
    EXPECT_EQ(lines[0].Text, result.Report);
    EXPECT_EQ(lines[1].Kind, ReportKind::Warning);
    EXPECT_EQ(lines[1].Text, FormatFinding(result.Warnings[0]));
    EXPECT_TRUE(SamePlace(lines[1].Place, Place(1, 2, 2))) << Where(lines[1].Place);

    Add(4, 4, 8, 30, 1, 3);
    project->Room(2).PortalViewCount = 1;
    project->Room(2).PortalView(1) = {1, 0, 1, 1, 1, 5, 2};
    result = Build({base, dir.Path("P.PHD"), "", "", ""});
    ASSERT_FALSE(result.Written);
    lines = BuildReportLines(result);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Kind, ReportKind::Error);
    EXPECT_TRUE(SamePlace(lines[0].Place, Place(2, 2, 5, 1))) << Where(lines[0].Place);
}

} // namespace
} // namespace morvane
