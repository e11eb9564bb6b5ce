#pragma once

#include "import/level_import.h"
#include "levelbuild/report_lines.h"

#include <vector>

namespace morvane {

// An import's report: its summary (a note), then each message: what did not come over as it was
// (a warning, placed in the project room its level room became) or what came over ("Objects
// imported: ...", a note).
std::vector<ReportLine> ImportReportLines(const ImportResult& result);

} // namespace morvane
