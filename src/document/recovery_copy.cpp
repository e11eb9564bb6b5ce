#include "document/recovery_copy.h"

#include "document/project_file.h"
#include "io/atomic_file.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace morvane {

namespace fs = std::filesystem;

namespace {

std::string OriginPathOf(const std::string& copyPath) {
    return copyPath + RecoveryOriginSuffix;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

void WriteRecoveryCopy(const TEditorProject& project, const std::string& copyPath,
                       const std::string& originalPath) {
    AtomicFileWriter origin(OriginPathOf(copyPath));
    origin.Writer().WriteBytes(originalPath.data(), originalPath.size());
    origin.Writer().WriteU8('\n');
    origin.Commit();
    WriteProjectFile(project, copyPath);
}

void RemoveRecoveryCopy(const std::string& copyPath) {
    std::error_code ignored;
    fs::remove(copyPath, ignored);
    fs::remove(OriginPathOf(copyPath), ignored);
}

std::vector<RecoveryCopy> FindRecoveryCopies(const std::string& folder) {
    std::vector<RecoveryCopy> copies;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string path = entry.path().string();
        if (!EndsWith(path, RecoveryCopyExtension) || !entry.is_regular_file(error)) {
            continue;
        }
        std::ifstream origin(OriginPathOf(path), std::ios::binary);
        if (!origin) {
            continue; // written halfway: its origin comes first
        }
        RecoveryCopy copy;
        copy.Path = path;
        std::getline(origin, copy.OriginalPath);
        copy.Written = entry.last_write_time(error);
        if (!error) {
            copies.push_back(std::move(copy));
        }
    }
    std::sort(copies.begin(), copies.end(),
              [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.Written > b.Written; });
    return copies;
}

bool RecoveryIsNewerThanProject(const RecoveryCopy& copy) {
    if (copy.OriginalPath.empty()) {
        return true;
    }
    std::error_code error;
    const fs::file_time_type project = fs::last_write_time(copy.OriginalPath, error);
    return error || project < copy.Written;
}

} // namespace morvane
