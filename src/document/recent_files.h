#pragma once

#include <string>
#include <vector>

namespace morvane {

inline constexpr const char* RecentFilesName = "rconfig.cnf";

// The recently used project paths, most recent first, at most five; kept as a text file of one
// path per line in the user's config folder.
class RecentFiles {
public:
    static constexpr int Capacity = 5;

    // Reads the list; a missing or unreadable file gives an empty list. Blank lines are skipped
    // and the list is cut to its capacity.
    void Load(const std::string& configPath);
    // Reads the list from the user's config file. Until that file exists, the list of an older
    // version kept beside the program (oldPath) is read instead and written to configPath at
    // once, so that it is taken over only once; the old file is never written. When the config
    // file cannot be written the list is kept for this run. An empty configPath (no user folder
    // known) reads the old list for this run only.
    void LoadTakingOver(const std::string& configPath, const std::string& oldPath);
    // Writes the list, making its folder when it is missing; throws IoError when it cannot.
    void Save(const std::string& configPath) const;
    // Puts the path at the head, moving it there when it is listed already and dropping the
    // oldest entry beyond five.
    void Remember(const std::string& path);

    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

} // namespace morvane
