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

} // namespace morvane
