#include "level/level_format.h"

namespace morvane {

bool IsKnownVersion(uint32_t version) {
    return version == VersionTR1 || version == VersionTR2 || version == VersionTR3 ||
           version == VersionTR3Alt;
}

int32_t FormatKindFor(uint32_t version, const std::string& fileName) {
    switch (version) {
    case VersionTR1: {
        // The file's own name, not the folders it lies in.
        const std::size_t slash = fileName.find_last_of('/');
        const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
        if (name.find(".TUB") != std::string::npos || name.find(".tub") != std::string::npos) {
            return FormatTUB;
        }
        return FormatTR1;
    }
    case VersionTR2:
        return FormatTR2;
    case VersionTR3:
    case VersionTR3Alt:
        return FormatTR3;
    default:
        return FormatNone;
    }
}

const char* FormatKindName(int32_t kind) {
    switch (kind) {
    case FormatTR1:
        return "tr1";
    case FormatTUB:
        return "tub";
    case FormatTR2:
        return "tr2";
    case FormatTR3:
        return "tr3";
    default:
        return "none";
    }
}

} // namespace morvane
