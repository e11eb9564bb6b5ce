#pragma once

#include "document/project.h"

#include <filesystem>
#include <string>
#include <vector>

namespace morvane {

// A recovery copy keeps unsaved work through a crash. It is two files in the recovery folder:
//   NAME.mvn          the document in the project file format, readable by Open;
//   NAME.mvn.origin   the path of the project the document belongs to, as the file system
//                     names it, on one line; empty for a document that was never saved.
// The copy is written after its origin file, so a copy found without one is incomplete.
inline constexpr const char* RecoveryCopyExtension = ".mvn";
inline constexpr const char* RecoveryOriginSuffix = ".origin";

struct RecoveryCopy {
    std::string Path;         // the copy (NAME.mvn)
    std::string OriginalPath; // empty for a document never saved
    std::filesystem::file_time_type Written;
};

// Writes the document as a recovery copy, both files replaced only when complete. Throws
// IoError.
void WriteRecoveryCopy(const TEditorProject& project, const std::string& copyPath,
                       const std::string& originalPath);

// Removes a copy and its origin file; a file that is not there is no error.
void RemoveRecoveryCopy(const std::string& copyPath);

// The complete copies in a folder, newest first; a missing folder has none.
std::vector<RecoveryCopy> FindRecoveryCopies(const std::string& folder);

// Whether a copy holds work its project does not: the document was never saved, its project
// is gone, or the project is older than the copy.
bool RecoveryIsNewerThanProject(const RecoveryCopy& copy);

} // namespace morvane
