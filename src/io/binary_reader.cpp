#include "io/binary_reader.h"

#include "io/io_error.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

BinaryReader BinaryReader::OpenFile(const std::string& path) {
    if (path.empty()) {
        ThrowIoError(ENOENT);
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ThrowIoError(errno);
    }
    struct stat info {};
    if (fstat(fileno(file), &info) != 0) {
        int error = errno;
        std::fclose(file);
        ThrowIoError(error);
    }
    if (S_ISDIR(info.st_mode)) {
        std::fclose(file);
        ThrowIoError(EISDIR);
    }
    return BinaryReader(file, nullptr, static_cast<uint64_t>(info.st_size));
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
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

} // namespace morvane
