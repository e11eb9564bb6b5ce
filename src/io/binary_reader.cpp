#include "io/binary_reader.h"

#include "io/io_error.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

static_assert(std::endian::native == std::endian::little,
              "records are transferred as little-endian blocks");

namespace morvane {

BinaryReader::BinaryReader(std::FILE* file, const uint8_t* memory, uint64_t size)
    : file_(file), memory_(memory), size_(size) {}

BinaryReader::BinaryReader(BinaryReader&& other) noexcept
    : file_(other.file_), memory_(other.memory_), size_(other.size_), position_(other.position_) {
    other.file_ = nullptr;
}

BinaryReader::~BinaryReader() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

BinaryReader BinaryReader::OpenFile(const std::string& path, uint64_t maxBytes) {
    uint64_t size = 0;
    std::FILE* file = OpenRegularFile(path, maxBytes, size);
    return BinaryReader(file, nullptr, size);
}

BinaryReader BinaryReader::FromMemory(const void* data, std::size_t size) {
    return BinaryReader(nullptr, static_cast<const uint8_t*>(data), size);
}

void BinaryReader::ReadBytes(void* destination, std::size_t byteCount) {
    if (byteCount == 0) {
        return;
    }
    if (byteCount > Remaining()) {
        position_ = size_;
        ThrowReadBeyondEnd();
    }
    if (memory_ != nullptr) {
        std::memcpy(destination, memory_ + position_, byteCount);
    } else if (std::fread(destination, 1, byteCount, file_) != byteCount) {
        int error = std::ferror(file_) ? errno : 0;
        position_ = size_;
        if (error != 0) {
            ThrowIoError(error);
        }
        ThrowReadBeyondEnd();
    }
    position_ += byteCount;
}

void BinaryReader::Skip(std::size_t byteCount) {
    if (byteCount > Remaining()) {
        position_ = size_;
        ThrowReadBeyondEnd();
    }
    if (memory_ == nullptr && std::fseek(file_, static_cast<long>(byteCount), SEEK_CUR) != 0) {
        ThrowIoError(errno);
    }
    position_ += byteCount;
}

uint8_t BinaryReader::ReadU8() {
    uint8_t value = 0;
    ReadBytes(&value, 1);
    return value;
}

uint16_t BinaryReader::ReadU16() {
    uint16_t value = 0;
    ReadBytes(&value, 2);
    return value;
}

uint32_t BinaryReader::ReadU32() {
    uint32_t value = 0;
    ReadBytes(&value, 4);
    return value;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string NotRegularFileText(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "it is a folder, not a regular file";
    }
    if (S_ISFIFO(mode) || S_ISSOCK(mode)) {
        return "it is a pipe, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not a regular file";
    }
    return "it is not a regular file";
}

std::FILE* OpenRegularFile(const std::string& path, uint64_t maxBytes, uint64_t& size) {
    if (path.empty()) {
        ThrowIoError(ENOENT);
    }
    // Without O_NONBLOCK the open of a pipe waits for a writer; the flag is dropped again once
    // the file is known to be a regular one.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        ThrowIoError(errno);
    }
    auto refuse = [descriptor](const std::string& text) {
        close(descriptor);
        throw IoError(text);
    };
    struct stat info {};
    if (fstat(descriptor, &info) != 0) {
        refuse(IoErrorText(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        refuse(NotRegularFileText(info.st_mode));
    }
    size = static_cast<uint64_t>(info.st_size);
    if (size > maxBytes) {
        refuse("its size is " + std::to_string(size) + " bytes, above the limit of " +
               std::to_string(maxBytes) + ".");
    }
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        refuse(IoErrorText(errno));
    }
    std::FILE* file = fdopen(descriptor, "rb");
    if (file == nullptr) {
        refuse(IoErrorText(errno));
    }
    return file;
}

} // namespace morvane
