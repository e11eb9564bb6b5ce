#pragma once

#include "document/project.h"
#include "document/project_file.h"
#include "level/level_check.h"
#include "level/level_data.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

namespace morvane {

// A JSON value whose object members keep the order in which they were added, so that the
// tool's output lists them in a fixed order.
using Json = nlohmann::ordered_json;

// A stored text (single bytes, Latin-1) as a JSON string.
Json Latin1Text(std::string_view text);

// The level's version, layout kind and every count, with one entry per room.
Json LevelSummary(const TLevelData& level);

// The project's settings and one entry per room, with the version stored in the file, and the
// counts of its objects by kind.
Json ProjectSummary(const ProjectOutline& project);

// The level check's findings, one object each: "severity" ("error" or "warning"), then of
// "room", "room_name", "column", "row", "portal", "view", "item" and "box" those that name the
// place (counted from 1), and "text".
Json FindingsSummary(const std::vector<LevelFinding>& findings);

// Prints the value indented by two blanks with every character beyond ASCII escaped, and a
// newline.
void PrintJson(const Json& value, std::ostream& out);

} // namespace morvane
