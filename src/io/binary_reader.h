#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace morvane {

// Little-endian reader over a whole file or a memory buffer. Every read either fills its
// destination completely or throws IoError ("Read beyond end of file" when the data ends early),
// so a caller never works on a half-filled value. The host must be little-endian: records are
// transferred as blocks, exactly as they lie in the files.
class BinaryReader {
public:
    // Opens a file for reading; throws IoError when it cannot be opened.
    static BinaryReader OpenFile(const std::string& path);
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

bool FileExists(const std::string& path);

} // namespace morvane
