#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace morvane {

inline constexpr uint64_t NoSizeLimit = UINT64_MAX;

// Opens a file for reading without ever waiting on it: a folder, a pipe or a device is refused
// with a text that says what it is (a pipe would block the open, a device such as /dev/zero
// never ends), and a file of more than maxBytes with its size and the limit. Throws IoError;
// returns the open file, and its size in `size`.
std::FILE* OpenRegularFile(const std::string& path, uint64_t maxBytes, uint64_t& size);

// What a refused path is, for messages: "it is a folder, not a regular file", a pipe, a device.
std::string NotRegularFileText(mode_t mode);

// Little-endian reader over a whole file or a memory buffer. Every read either fills its
// destination completely or throws IoError ("Read beyond end of file" when the data ends early),
// so a caller never works on a half-filled value. The host must be little-endian: records are
// transferred as blocks, exactly as they lie in the files.
class BinaryReader {
public:
    // Opens a regular file for reading (see OpenRegularFile); throws IoError when it cannot be
    // opened or is refused.
    static BinaryReader OpenFile(const std::string& path, uint64_t maxBytes = NoSizeLimit);
    // Reads from a buffer that must outlive the reader.
    static BinaryReader FromMemory(const void* data, std::size_t size);

    BinaryReader(BinaryReader&& other) noexcept;
    BinaryReader& operator=(BinaryReader&&) = delete;
    BinaryReader(const BinaryReader&) = delete;
    BinaryReader& operator=(const BinaryReader&) = delete;
    ~BinaryReader();

    void ReadBytes(void* destination, std::size_t byteCount);
    void Skip(std::size_t byteCount);

    uint8_t ReadU8();
    int8_t ReadI8() { return static_cast<int8_t>(ReadU8()); }
    uint16_t ReadU16();
    int16_t ReadI16() { return static_cast<int16_t>(ReadU16()); }
    uint32_t ReadU32();
    int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }

    // Reads count records of type T as one block.
    template <class T> void ReadArray(T* destination, std::size_t count) {
        ReadBytes(destination, count * sizeof(T));
    }
    template <class T> void ReadValue(T& destination) { ReadBytes(&destination, sizeof(T)); }

    uint64_t Size() const { return size_; }
    uint64_t Position() const { return position_; }
    uint64_t Remaining() const { return size_ - position_; }
    bool AtEnd() const { return position_ >= size_; }

private:
    BinaryReader(std::FILE* file, const uint8_t* memory, uint64_t size);

    std::FILE* file_ = nullptr;
    const uint8_t* memory_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

// Whether anything is at the path (a file, but also a folder, a pipe or a device: the readers
// then refuse what is not a regular file with a text that says what it is).
bool FileExists(const std::string& path);
// Whether the path names a regular file (or a link to one).
bool IsRegularFile(const std::string& path);

} // namespace morvane
