#pragma once

#include <stdexcept>
#include <string>

namespace morvane {

// A failed file operation. The text is what the user sees; the editor shows it in one place
// (its general error handler) and the command-line tool prints it.
class IoError : public std::runtime_error {
public:
    explicit IoError(const std::string& text) : std::runtime_error(text) {}
};

inline constexpr const char* ReadBeyondEndText = "Read beyond end of file";

// The user-facing text for an errno value: "File not found", "File access denied", "Disk full",
// "Too many open files", "Invalid filename" or "I/O error %d".
std::string IoErrorText(int errnoValue);

[[noreturn]] void ThrowIoError(int errnoValue);
[[noreturn]] void ThrowReadBeyondEnd();

// An error about one named file, so that the user knows which of the files at hand it is:
// `kind "path" outcome: text`, e.g. Level file "a.phd" refused: Read beyond end of file. A text
// that already starts by naming the file (a reader's own refusal) is kept as it is.
IoError FileError(const std::string& kind, const std::string& path, const std::string& outcome,
                  const std::string& text);

// The outcomes FileError is used with.
inline constexpr const char* RefusedOutcome = "refused";
inline constexpr const char* NotWrittenOutcome = "not written";

} // namespace morvane
