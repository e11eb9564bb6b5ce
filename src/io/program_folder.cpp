#include "io/program_folder.h"

#include "io/binary_reader.h"
#include "io/io_error.h"

#include <cerrno>
#include <filesystem>

// MORVANE_DATA_FROM_BIN: the installed data folder relative to the installed executables'
// folder ("../share/morvane3d"), set by the build from its install folders.
#ifndef MORVANE_DATA_FROM_BIN
#error "MORVANE_DATA_FROM_BIN is set by src/io/CMakeLists.txt"
#endif

namespace morvane {

namespace fs = std::filesystem;

std::string ProgramFolder() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return fs::current_path(error).string();
    }
    return exe.parent_path().string();
}

std::vector<std::string> ProgramDataFolders(const std::string& programFolder) {
    const fs::path beside = fs::path(programFolder).lexically_normal();
    const fs::path installed = (beside / MORVANE_DATA_FROM_BIN).lexically_normal();
    std::vector<std::string> folders{beside.string()};
    if (installed != beside) {
        folders.push_back(installed.string());
    }
    // Without a trailing separator, so that the folders read well in a message.
    for (std::string& folder : folders) {
        if (folder.size() > 1 && folder.back() == '/') {
            folder.pop_back();
        }
    }
    return folders;
}

std::string FindProgramDataFile(const std::string& name, const std::string& programFolder) {
    const std::vector<std::string> folders = ProgramDataFolders(programFolder);
    std::string lookedIn;
    for (const std::string& folder : folders) {
        const std::string path = (fs::path(folder) / name).string();
        if (IsRegularFile(path)) {
            return path;
        }
        lookedIn += (lookedIn.empty() ? "" : " or ") + folder;
    }
    throw IoError(IoErrorText(ENOENT) + " in " + lookedIn);
}

} // namespace morvane
