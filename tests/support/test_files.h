#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

// Note for assertions: the file records are packed, and GoogleTest binds its arguments to
// references, which must not point at a misaligned member. Fields of packed records are
// therefore compared as values: EXPECT_EQ(+item.X, 5120).

namespace morvane::test {

using Bytes = std::vector<uint8_t>;

// Appends little-endian values, for files assembled byte by byte in a test.
class ByteBuilder {
public:
    ByteBuilder& U8(uint8_t v) { return Raw(&v, 1); }
    ByteBuilder& U16(uint16_t v) { return Raw(&v, 2); }
    ByteBuilder& I16(int16_t v) { return Raw(&v, 2); }
    ByteBuilder& U32(uint32_t v) { return Raw(&v, 4); }
    ByteBuilder& I32(int32_t v) { return Raw(&v, 4); }
    // n bytes counting up from first (wrapping at 256), so that every byte of a block is known.
    ByteBuilder& Pattern(std::size_t n, uint8_t first) {
        for (std::size_t i = 0; i < n; ++i) {
            bytes_.push_back(static_cast<uint8_t>(first + i));
        }
        return *this;
    }
    ByteBuilder& Fill(std::size_t n, uint8_t value) {
        bytes_.insert(bytes_.end(), n, value);
        return *this;
    }
    ByteBuilder& Raw(const void* data, std::size_t n) {
        const auto* p = static_cast<const uint8_t*>(data);
        bytes_.insert(bytes_.end(), p, p + n);
        return *this;
    }
    std::size_t Size() const { return bytes_.size(); }
    const Bytes& Get() const { return bytes_; }

private:
    Bytes bytes_;
};

// A fresh folder removed with everything in it when the test ends.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Root() const { return path_; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const;

private:
    std::filesystem::path path_;
};

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

// The folder of real level files beside the repository, or empty when it is not there.
std::string RealFixturesDir();

} // namespace morvane::test
