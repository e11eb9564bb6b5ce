#pragma once

#include "levelbuild/build_pipeline.h"

#include <string>
#include <vector>

namespace morvane {

// The kinds of line a build's or an import's report holds: what stopped the work, what looks
// wrong or did not come over as it was, and what is only said.
enum class ReportKind { Error, Warning, Note };

// Where a line of a report points, as its text names it; 0 where it names nothing. Rooms,
// columns, rows, sectors and views are counted from 1, as the editor shows them.
struct ReportPlace {
    int Room = 0;
    bool LevelRoom = false;  // named as "Level room N": the level's numbering, not the project's
    int Column = 0, Row = 0; // "column 4, row 5"
    int Sector = 0;          // "Sector 12 of room 3": a sector by its number in the room
    int View = 0;            // "Door #2"
};

// The first room, sector and portal view a line names, in the wording of the build's and the
// import's messages: "room 3", "Room 3", "Level room 3" (a room's name in brackets right after
// its number is passed over), "column 4, row 5", "Sector 12", "Door #2".
ReportPlace ParseReportPlace(const std::string& line);

struct ReportLine {
    ReportKind Kind = ReportKind::Note;
    std::string Text;
    ReportPlace Place;
    // Whether the text is the project's single-byte text (it names rooms by their names), or
    // else the file system's (it names files).
    bool ProjectText = false;
};

// Each line of a message (a message may hold several, as the build's list of errors does) as a
// line of the report: "error: ..." and "warning: ..." lines are of that kind, the others of
// `kind`. Blank lines are left out.
void AddReportLines(std::vector<ReportLine>& lines, const std::string& message, ReportKind kind);

// A build's report: the "Level written" line (a note) when the level was written, the messages
// (errors when nothing was written, else warnings: a side file taken back out, a second Lara),
// then the warnings of the checks, each placed where its finding is.
std::vector<ReportLine> BuildReportLines(const BuildResult& result);

} // namespace morvane
