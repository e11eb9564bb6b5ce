#include "document/recent_files.h"

#include "io/atomic_file.h"
#include "io/io_error.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace morvane {

void RecentFiles::Load(const std::string& configPath) {
    paths_.clear();
    std::ifstream in(configPath);
    std::string line;
    while (static_cast<int>(paths_.size()) < Capacity && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back(); // written on another system
        }
        if (!line.empty()) {
            paths_.push_back(line);
        }
    }
}

void RecentFiles::LoadTakingOver(const std::string& configPath, const std::string& oldPath) {
    std::error_code error;
    if (!configPath.empty() && std::filesystem::exists(configPath, error)) {
        Load(configPath);
        return;
    }
    if (!std::filesystem::is_regular_file(oldPath, error)) {
        paths_.clear();
        return;
    }
    Load(oldPath);
    if (configPath.empty()) {
        return;
    }
    try {
        Save(configPath);
    } catch (const IoError&) {
        // Taken over again on the next start.
    }
}

void RecentFiles::Save(const std::string& configPath) const {
    const std::filesystem::path folder = std::filesystem::path(configPath).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::create_directories(folder, error) && error) {
        ThrowIoError(error.value());
    }
    AtomicFileWriter file(configPath);
    for (const std::string& path : paths_) {
        file.Writer().WriteBytes(path.data(), path.size());
        file.Writer().WriteU8('\n');
    }
    file.Commit();
}

void RecentFiles::Remember(const std::string& path) {
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (static_cast<int>(paths_.size()) > Capacity) {
        paths_.resize(Capacity);
    }
}

} // namespace morvane
