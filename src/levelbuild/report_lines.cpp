#include "levelbuild/report_lines.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace morvane {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}
bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Whether `line` holds `word` at `at`, letters compared without case.
bool WordAt(const std::string& line, std::size_t at, const std::string& word) {
    if (at + word.size() > line.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(line[at + i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// The number at `at` (digits only, kept within an int), and the place after it; none when no
// digit is there.
bool NumberAt(const std::string& line, std::size_t& at, int& number) {
    if (at >= line.size() || !IsDigit(line[at])) {
        return false;
    }
    long value = 0;
    while (at < line.size() && IsDigit(line[at])) {
        value = std::min(value * 10 + (line[at] - '0'), 1000000L);
        ++at;
    }
    number = static_cast<int>(value);
    return true;
}

// The first place from `from` where `word` (lower case, ending in its blank or sign) begins a
// word and a number follows it: the number, and the place after it.
bool FindNumbered(const std::string& line, std::size_t from, const std::string& word,
                  std::size_t& found, std::size_t& after, int& number) {
    for (std::size_t at = from; at + word.size() <= line.size(); ++at) {
        if ((at > 0 && IsLetter(line[at - 1])) || !WordAt(line, at, word)) {
            continue;
        }
        std::size_t end = at + word.size();
        if (NumberAt(line, end, number)) {
            found = at;
            after = end;
            return true;
        }
    }
    return false;
}

// Where a room's part of a line ends: after its number, or after its name in brackets.
std::size_t AfterRoomName(const std::string& line, std::size_t after) {
    if (WordAt(line, after, " (")) {
        const std::size_t close = line.find(')', after);
        if (close != std::string::npos) {
            return close + 1;
        }
    }
    return after;
}

} // namespace

ReportPlace ParseReportPlace(const std::string& line) {
    ReportPlace place;
    std::size_t found = 0, after = 0;
    int number = 0;
    std::size_t rest = 0; // the text after the first room and its name
    if (FindNumbered(line, 0, "room ", found, after, number)) {
        place.Room = number;
        place.LevelRoom = found >= 6 && WordAt(line, found - 6, "level ");
        rest = AfterRoomName(line, after);
    }
    // A room's name may hold anything: what names a sector or a view is looked for after it, or
    // before the room when the line names them first ("Sector 12 of room 3").
    auto numbered = [&](const std::string& word, int& into) {
        std::size_t at = 0, end = 0;
        int value = 0;
        if (place.Room > 0 && FindNumbered(line, 0, word, at, end, value) && end <= found) {
            into = value;
        } else if (FindNumbered(line, rest, word, at, end, value)) {
            into = value;
        }
        return end;
    };
    const std::size_t columnEnd = numbered("column ", place.Column);
    if (place.Column > 0) {
        std::size_t rowAt = columnEnd + 6;
        if (!WordAt(line, columnEnd, ", row ") || !NumberAt(line, rowAt, place.Row)) {
            place.Column = place.Row = 0; // a column alone names no sector
        }
    }
    numbered("sector ", place.Sector);
    numbered("door #", place.View);
    return place;
}

void AddReportLines(std::vector<ReportLine>& lines, const std::string& message, ReportKind kind) {
    std::size_t begin = 0;
    while (begin <= message.size()) {
        std::size_t end = message.find('\n', begin);
        if (end == std::string::npos) {
            end = message.size();
        }
        std::string text = message.substr(begin, end - begin);
        begin = end + 1;
        if (text.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        ReportKind lineKind = kind;
        if (text.rfind("error: ", 0) == 0) {
            lineKind = ReportKind::Error;
        } else if (text.rfind("warning: ", 0) == 0) {
            lineKind = ReportKind::Warning;
        }
        ReportPlace place = ParseReportPlace(text);
        lines.push_back({lineKind, std::move(text), place});
    }
}

std::vector<ReportLine> BuildReportLines(const BuildResult& result) {
    std::vector<ReportLine> lines;
    if (result.Written) {
        lines.push_back({ReportKind::Note, result.Report, {}});
    }
    for (const std::string& message : result.Messages) {
        AddReportLines(lines, message, result.Written ? ReportKind::Warning : ReportKind::Error);
    }
    for (const LevelFinding& finding : result.Warnings) {
        ReportPlace place;
        place.Room = finding.Room;
        place.Column = finding.Column;
        place.Row = finding.Row;
        place.View = finding.View;
        lines.push_back(
            {finding.Severity == FindingSeverity::Error ? ReportKind::Error : ReportKind::Warning,
             FormatFinding(finding), place, true});
    }
    return lines;
}

} // namespace morvane
