#include "io/atomic_file.h"

#include "io/io_error.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

namespace {

constexpr std::size_t WriteBufferSize = 1 << 20;

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The permissions a newly created file would get, or those of the file being replaced.
mode_t PermissionsFor(const std::string& target) {
    struct stat info {};
    if (stat(target.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : targetPath_(std::move(targetPath)) {
    std::string name = NameOf(targetPath_);
    if (name.empty()) {
        ThrowIoError(EINVAL);
    }
    struct stat info {};
    if (stat(targetPath_.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        ThrowIoError(EISDIR);
    }
    std::string pattern = FolderOf(targetPath_) + "/." + name + ".XXXXXX";
    int descriptor = mkstemp(pattern.data());
    if (descriptor < 0) {
        ThrowIoError(errno);
    }
    temporaryPath_ = pattern;
    fchmod(descriptor, PermissionsFor(targetPath_));
    file_ = fdopen(descriptor, "wb");
    if (file_ == nullptr) {
        int error = errno;
        close(descriptor);
        unlink(temporaryPath_.c_str());
        ThrowIoError(error);
    }
    buffer_ = std::make_unique<char[]>(WriteBufferSize);
    std::setvbuf(file_, buffer_.get(), _IOFBF, WriteBufferSize);
    writer_ = std::make_unique<BinaryWriter>(file_);
}

AtomicFileWriter::~AtomicFileWriter() {
    Discard();
}

void AtomicFileWriter::Discard() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temporaryPath_.empty()) {
        unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

void AtomicFileWriter::Commit() {
    if (file_ == nullptr) {
        return;
    }
    int error = 0;
    if (std::fflush(file_) != 0) {
        error = errno;
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && std::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        Discard();
        ThrowIoError(error);
    }
    temporaryPath_.clear();
}

} // namespace morvane
