#include "script/script.h"

#include <cctype>
#include <charconv>

namespace morvane {

namespace {

std::string Trim(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32) {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) {
        --last;
    }
    return text.substr(first, last - first);
}

int32_t ToInteger(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    int32_t value = 0;
    auto [stop, error] = std::from_chars(begin, end, value, 10);
    if (begin == end || error != std::errc() || stop != end) {
        throw ScriptValueError(text);
    }
    return value;
}

} // namespace

bool ScriptLineReader::ReadPhysicalLine(std::string& line) {
    line.clear();
    tooLong_ = false;
    int c = std::fgetc(file_);
    if (c == EOF) {
        return false;
    }
    while (c != EOF && c != '\n') {
        if (line.size() < MaxScriptLineLength) {
            line.push_back(static_cast<char>(c));
        } else {
            tooLong_ = true; // the rest of the line is read and dropped
        }
        c = std::fgetc(file_);
    }
    return true;
}

std::string ScriptLineReader::ReadScriptLine(TScriptState& state) {
    std::string result, line;
    while (result.empty()) {
        if (!ReadPhysicalLine(line)) {
            state.ScriptLineNumber = -1;
            return {};
        }
        ++state.ScriptLineNumber;
        result = Trim(line);
        if (!result.empty() && result[0] == ';') {
            result.clear();
        }
    }
    return result;
}

ParseResult ParseScriptCommand(const std::string& line, TScriptState& state, std::string& name) {
    state.ScriptParamCount = 0;
    name.clear();
    std::string text;
    for (char c : line) {
        if (c != ' ') {
            text.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    const std::size_t open = text.find('(');
    if (open == std::string::npos) {
        return ParseResult::Parsed;
    }
    std::string rest = text.substr(open + 1);
    int stored = 0;
    auto store = [&](const std::string& parameter) {
        if (stored == MaxScriptParams) {
            return false;
        }
        state.ScriptParams[++stored] = ToInteger(parameter);
        return true;
    };
    for (std::size_t comma; (comma = rest.find(',')) != std::string::npos;) {
        if (!store(rest.substr(0, comma))) {
            return ParseResult::TooManyParameters;
        }
        rest = rest.substr(comma + 1);
    }
    const std::size_t close = rest.find(')');
    if (close == std::string::npos) {
        return ParseResult::Parsed; // the parameters stored stay, the count stays 0
    }
    if (close > 0 && !store(rest.substr(0, close))) {
        return ParseResult::TooManyParameters;
    }
    name = text.substr(0, open);
    state.ScriptParamCount = stored;
    return ParseResult::Parsed;
}

} // namespace morvane
