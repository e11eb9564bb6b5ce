#include "import/import_report.h"

namespace morvane {

std::vector<ReportLine> ImportReportLines(const ImportResult& result) {
    std::vector<ReportLine> lines;
    lines.push_back({ReportKind::Note, ImportSummary(result.Counts), {}});
    for (const std::string& message : result.Messages) {
        const std::size_t first = lines.size();
        AddReportLines(lines, message, ReportKind::Warning);
        for (std::size_t i = first; i < lines.size(); ++i) {
            ReportLine& line = lines[i];
            line.ProjectText = true;
            if (line.Place.Room == 0 && line.Text.find(" imported: ") != std::string::npos) {
                line.Kind = ReportKind::Note; // a count of what came over
            }
            if (line.Place.LevelRoom) {
                // The messages name the level's rooms; the editor shows the project's. A room
                // that was not imported has no place in the project.
                const int levelRoom = line.Place.Room;
                const bool known =
                    levelRoom >= 1 && levelRoom <= static_cast<int>(result.ProjectRoomOf.size());
                line.Place.Room = known ? result.ProjectRoomOf[levelRoom - 1] : 0;
                line.Place.LevelRoom = false;
                if (line.Place.Room == 0) {
                    line.Place = {};
                }
            }
        }
    }
    return lines;
}

} // namespace morvane
