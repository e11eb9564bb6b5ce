#include "io/binary_writer.h"

#include "io/io_error.h"

#include <algorithm>
#include <cerrno>

namespace morvane {

void BinaryWriter::WriteBytes(const void* source, std::size_t byteCount) {
    if (byteCount == 0) {
        return;
    }
    if (std::fwrite(source, 1, byteCount, file_) != byteCount) {
        ThrowIoError(errno != 0 ? errno : EIO);
    }
    position_ += byteCount;
}

void BinaryWriter::WriteZeros(std::size_t byteCount) {
    static const uint8_t zeros[4096] = {};
    while (byteCount > 0) {
        std::size_t chunk = std::min(byteCount, sizeof(zeros));
        WriteBytes(zeros, chunk);
        byteCount -= chunk;
    }
}

} // namespace morvane
