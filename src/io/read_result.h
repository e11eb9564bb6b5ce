#pragma once

#include <string>
#include <utility>

namespace morvane {

// How a file reader ended when it did not throw. A file error (a missing or unreadable file
// where one is required, a short file, a count beyond a capacity) throws IoError naming the
// file; the outcomes below are the file's own answers, each with the text the user is shown.
enum class ReadStatus {
    Done,
    Missing,     // nothing at the path, where the reader allows that
    OtherKind,   // not a file of the kind asked for: its signature or version code says so
    OldVersion,  // a file of the kind in a version that is no longer read
    OtherLayout, // made for a level of another layout
    LineError,   // a line of a text file is in error; the reader stopped there
};

struct ReadResult {
    ReadStatus Status = ReadStatus::Done;
    std::string Text; // what the user is shown; empty when Done

    bool Done() const { return Status == ReadStatus::Done; }
    static ReadResult Failed(ReadStatus status, std::string text) {
        return {status, std::move(text)};
    }
};

} // namespace morvane
