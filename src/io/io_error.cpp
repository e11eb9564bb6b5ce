#include "io/io_error.h"

#include <cerrno>

namespace morvane {

std::string IoErrorText(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
        return "File not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EINVAL:
    case ENAMETOOLONG:
        return "Invalid filename";
    default:
        return "I/O error " + std::to_string(errnoValue);
    }
}

void ThrowIoError(int errnoValue) {
    throw IoError(IoErrorText(errnoValue));
}

void ThrowReadBeyondEnd() {
    throw IoError(ReadBeyondEndText);
}

IoError FileError(const std::string& kind, const std::string& path, const std::string& outcome,
                  const std::string& text) {
    const std::string named = kind + " \"" + path + "\"";
    if (text.compare(0, named.size(), named) == 0) {
        return IoError(text);
    }
    return IoError(named + " " + outcome + ": " + text);
}

} // namespace morvane
