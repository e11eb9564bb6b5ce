#pragma once

#include "io/binary_writer.h"

#include <cstdio>
#include <memory>
#include <string>

namespace morvane {

// Writes a file so that the target is replaced only by a complete file: the data goes to a
// temporary file in the target's folder, which is renamed over the target by Commit. A writer
// destroyed without Commit (an exception on the way) removes its temporary file and leaves the
// target as it was.
//
// A target that is a symbolic link is written through: the file the link names is replaced and
// the link stays. A target that is there but is not a regular file (a folder, a device, a pipe)
// or that may not be written is refused before anything is written: "may not be written" is
// what access() says, and also a file without any write permission bit, which is read-only on
// purpose; the second rule is what refuses it for the root user too, whom access() lets write
// everything. Temporary files of the same target left by a write that was killed midway are
// removed by the next write; those of a write still running are kept, since it holds a lock on
// its temporary file.
class AtomicFileWriter {
public:
    // Creates the temporary file; throws IoError when the target is refused or the folder
    // cannot take the file.
    explicit AtomicFileWriter(const std::string& targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    BinaryWriter& Writer() { return *writer_; }

    // Flushes, closes and renames the temporary file over the target; throws IoError on failure
    // (the target is then untouched).
    void Commit();

    const std::string& TemporaryPath() const { return temporaryPath_; }
    // The file that Commit replaces: the target, or the file its links lead to.
    const std::string& ReplacedPath() const { return targetPath_; }

private:
    void Discard();
    void ReleaseLock();

    std::string targetPath_;
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
    int lockDescriptor_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<BinaryWriter> writer_;
};

} // namespace morvane
