#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace morvane {

inline constexpr int MaxScriptParams = 100;
// A line longer than this is an error of the compile (a script is short lines of commands; a
// longer line is most likely a file that is no script).
inline constexpr std::size_t MaxScriptLineLength = 4096;
// How messages name a script: Scripting file "X" refused: ...
inline constexpr const char* ScriptFileKind = "Scripting file";

// The parser's state, kept for the program's whole run: parameters stay from earlier lines
// above the current count, and the clipboard of Copy_Trigger survives from build to build.
struct TScriptState {
    int32_t ScriptParams[MaxScriptParams + 1] = {}; // numbered from 1
    int ScriptParamCount = 0;
    int ScriptLineNumber = 0; // -1 once the end of the file is reached
    std::string ScriptErrorText;
    uint8_t TriggerBuffer[256] = {};
    int32_t TriggerBufferLength = 0;
    uint16_t FloorDataClipboard = 0;

    int32_t Param(int position) const { return ScriptParams[position]; }
};

// A parameter that is not an integer. The compile of a script makes it a file error naming the
// script and the line (see CompileTriggerScript): it ends the whole build, and no level is
// written.
class ScriptValueError : public std::runtime_error {
public:
    explicit ScriptValueError(const std::string& text)
        : std::runtime_error("'" + text + "' is not a valid integer value") {}
};

// Reads script lines one by one: each physical line trimmed of characters up to 32 at both ends,
// blank lines and comments (";" first) skipped but counted.
class ScriptLineReader {
public:
    explicit ScriptLineReader(std::FILE* file) : file_(file) {}

    // The next command line, with ScriptLineNumber its physical number; an empty text and
    // ScriptLineNumber -1 at the end of the file. A line longer than MaxScriptLineLength comes
    // back cut to that length, with LineTooLong set.
    std::string ReadScriptLine(TScriptState& state);
    bool LineTooLong() const { return tooLong_; }

private:
    bool ReadPhysicalLine(std::string& line);
    std::FILE* file_;
    bool tooLong_ = false;
};

enum class ParseResult {
    Parsed,
    TooManyParameters, // more than 100 on one line
};

// Splits NAME(p1,p2,...): blanks removed, upper case. The name is empty when the line has no
// "(" or no ")". Parameters go to ScriptParams from position 1. Throws ScriptValueError for a
// parameter that is not a decimal integer.
ParseResult ParseScriptCommand(const std::string& line, TScriptState& state, std::string& name);

} // namespace morvane
