#include "io/atomic_file.h"

#include "io/binary_reader.h"
#include "io/io_error.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {

namespace {

constexpr std::size_t WriteBufferSize = 1 << 20;
constexpr int MaxLinkSteps = 40; // as the system's own limit on links in a path
constexpr const char* TemporarySuffix = ".XXXXXX";
constexpr std::size_t TemporaryRandomLength = 6;

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

// The file a chain of symbolic links ends at (the path itself when it is no link). The end of a
// dangling link is where the new file is made.
std::string FollowLinks(const std::string& path) {
    std::string current = path;
    for (int step = 0; step < MaxLinkSteps; ++step) {
        struct stat info {};
        if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::string target(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = readlink(current.c_str(), target.data(), target.size());
        if (length < 0) {
            ThrowIoError(errno);
        }
        target.resize(static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : FolderOf(current) + "/" + target;
    }
    ThrowIoError(ELOOP);
}

// A file that is there must be a regular file the user may write (see the class comment).
void CheckExistingTarget(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return; // a new file
    }
    if (!S_ISREG(info.st_mode)) {
        throw IoError(NotRegularFileText(info.st_mode));
    }
    if (access(path.c_str(), W_OK) != 0 || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ThrowIoError(EACCES);
    }
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

// Whether `entry` is the name of a temporary file this writer makes for a target named
// `targetName` in the same folder: "." + targetName + "." + six letters or digits.
bool IsTemporaryNameOf(const std::string& entry, const std::string& targetName) {
    const std::size_t prefix = 1 + targetName.size() + 1;
    if (entry.size() != prefix + TemporaryRandomLength || entry[0] != '.' ||
        entry.compare(1, targetName.size(), targetName) != 0 || entry[prefix - 1] != '.') {
        return false;
    }
    for (std::size_t i = prefix; i < entry.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(entry[i]))) {
            return false;
        }
    }
    return true;
}

// Removes the temporary files of the target that no running write holds: a write holds an
// exclusive lock on its temporary file from its creation to its rename, and the lock goes with
// the process that held it.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) {
        return; // mkstemp reports what is wrong with the folder
    }
    while (const dirent* entry = readdir(directory)) {
        if (!IsTemporaryNameOf(entry->d_name, name)) {
            continue;
        }
        const std::string path = folder + "/" + entry->d_name;
        const int descriptor =
            open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0) {
            continue;
        }
        struct stat info {};
        if (fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode) &&
            flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            unlink(path.c_str());
        }
        close(descriptor);
    }
    closedir(directory);
}

} // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& targetPath)
    : targetPath_(FollowLinks(targetPath)) {
    const std::string name = NameOf(targetPath_);
    if (name.empty()) {
        ThrowIoError(EINVAL);
    }
    CheckExistingTarget(targetPath_);
    const std::string folder = FolderOf(targetPath_);
    RemoveStaleTemporaries(folder, name);
    std::string pattern = folder + "/." + name + TemporarySuffix;
    int descriptor = mkstemp(pattern.data());
    if (descriptor < 0) {
        const int error = errno;
        struct stat info {};
        if ((error == ENOENT || error == ENOTDIR) &&
            (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
            throw IoError("the folder \"" + folder + "\" does not exist");
        }
        ThrowIoError(error);
    }
    temporaryPath_ = pattern;
    // A fresh file: nobody else holds it. The lock is kept on a second descriptor of the same
    // open file, so that it lasts from the close of the data through the rename.
    flock(descriptor, LOCK_EX | LOCK_NB);
    lockDescriptor_ = dup(descriptor);
    fchmod(descriptor, PermissionsFor(targetPath_));
    file_ = fdopen(descriptor, "wb");
    if (file_ == nullptr) {
        int error = errno;
        close(descriptor);
        Discard();
        ThrowIoError(error);
    }
    buffer_ = std::make_unique_for_overwrite<char[]>(WriteBufferSize);
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
    ReleaseLock();
}

void AtomicFileWriter::ReleaseLock() {
    if (lockDescriptor_ >= 0) {
        close(lockDescriptor_);
        lockDescriptor_ = -1;
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
    ReleaseLock();
}

} // namespace morvane
