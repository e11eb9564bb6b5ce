#pragma once

#include <string>
#include <vector>

namespace morvane {

inline constexpr const char* RecentFilesName = "rconfig.cnf";

// The recently used project paths, most recent first, at most five; kept as a text file of one
// path per line in the program's folder.
class RecentFiles {
public:
    static constexpr int Capacity = 5;

    // Reads the list; a missing or unreadable file gives an empty list. Blank lines are skipped
    // and the list is cut to its capacity.
    void Load(const std::string& configPath);
    // Writes the list; throws IoError when it cannot.
    void Save(const std::string& configPath) const;
    // Puts the path at the head, moving it there when it is listed already and dropping the
    // oldest entry beyond five.
    void Remember(const std::string& path);

    const std::vector<std::string>& Paths() const { return paths_; }

private:
    std::vector<std::string> paths_;
};

} // namespace morvane
