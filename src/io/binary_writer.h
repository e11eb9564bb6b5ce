#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace morvane {

// Little-endian writer over an open file (see BinaryReader for the byte order). Every failed
// write throws IoError with the system's reason ("Disk full", ...).
class BinaryWriter {
public:
    explicit BinaryWriter(std::FILE* file) : file_(file) {}

    void WriteBytes(const void* source, std::size_t byteCount);
    void WriteZeros(std::size_t byteCount);
    void WriteU8(uint8_t value) { WriteBytes(&value, 1); }
    void WriteI8(int8_t value) { WriteBytes(&value, 1); }
    void WriteU16(uint16_t value) { WriteBytes(&value, 2); }
    void WriteI16(int16_t value) { WriteBytes(&value, 2); }
    void WriteU32(uint32_t value) { WriteBytes(&value, 4); }
    void WriteI32(int32_t value) { WriteBytes(&value, 4); }

    template <class T> void WriteArray(const T* source, std::size_t count) {
        WriteBytes(source, count * sizeof(T));
    }
    template <class T> void WriteValue(const T& value) { WriteBytes(&value, sizeof(T)); }

    uint64_t Position() const { return position_; }

private:
    std::FILE* file_;
    uint64_t position_ = 0;
};

} // namespace morvane
