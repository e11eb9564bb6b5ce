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
class AtomicFileWriter {
public:
    // Creates the temporary file; throws IoError when the folder cannot take it.
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    BinaryWriter& Writer() { return *writer_; }

    // Flushes, closes and renames the temporary file over the target; throws IoError on failure
    // (the target is then untouched).
    void Commit();

    const std::string& TemporaryPath() const { return temporaryPath_; }

private:
    void Discard();

    std::string targetPath_;
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::unique_ptr<BinaryWriter> writer_;
};

} // namespace morvane
