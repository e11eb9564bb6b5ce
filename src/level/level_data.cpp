#include "level/level_data.h"

#include "io/zeroed_pages.h"

#include <cstring>
#include <type_traits>

namespace morvane {

static_assert(std::is_trivially_copyable_v<TLevelRecord>,
              "the fixed part of the level record is cleared as bytes");

namespace {
constexpr uint8_t Marker[8] = {7, 'Q', 'u', 'i', 'l', 'l', 'o', 'n'};
}

// The fixed part is left as operator new gives it: zero bytes.
TLevelData::TLevelData() {}

void TLevelData::Clear() {
    ZeroBytes(static_cast<TLevelRecord*>(this), sizeof(TLevelRecord));
    // The buffers are emptied but keep their memory for the next read: loading levels one after
    // another then costs no fresh pages.
    Textile8.clear();
    Textile16.clear();
    Samples.clear();
}

void TLevelData::TakeFrom(TLevelData& other) {
    if (&other == this) {
        return;
    }
    std::memcpy(static_cast<TLevelRecord*>(this), static_cast<const TLevelRecord*>(&other),
                sizeof(TLevelRecord));
    Textile8.swap(other.Textile8);
    Textile16.swap(other.Textile16);
    Samples.swap(other.Samples);
    LastBaseLevelName = other.LastBaseLevelName;
}

bool TLevelData::HasSignature() const {
    return std::memcmp(Signature, Marker, 8) == 0;
}

void TLevelData::SetSignature() {
    std::memcpy(Signature, Marker, 8);
}

} // namespace morvane
