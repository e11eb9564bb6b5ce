#include "io/backup_copy.h"

#include "io/atomic_file.h"
#include "io/io_error.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace morvane {

namespace {

constexpr std::size_t CopyBlock = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::string BackupPathOf(const std::string& path) {
    return path + BackupSuffix;
}

bool KeepBackupCopy(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return false; // a first save: nothing to keep
        }
        ThrowIoError(errno);
    }
    if (!S_ISREG(info.st_mode)) {
        ThrowIoError(EISDIR);
    }
    std::unique_ptr<std::FILE, FileCloser> source(std::fopen(path.c_str(), "rb"));
    if (!source) {
        ThrowIoError(errno);
    }
    AtomicFileWriter backup(BackupPathOf(path));
    auto block = std::make_unique<char[]>(CopyBlock);
    for (;;) {
        const std::size_t read = std::fread(block.get(), 1, CopyBlock, source.get());
        if (read > 0) {
            backup.Writer().WriteBytes(block.get(), read);
        }
        if (read < CopyBlock) {
            if (std::ferror(source.get())) {
                ThrowIoError(EIO);
            }
            break;
        }
    }
    backup.Commit();
    return true;
}

} // namespace morvane
