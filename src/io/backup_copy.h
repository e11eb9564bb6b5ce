#pragma once

#include <string>

namespace morvane {

// The suffix of the one backup generation kept beside a file: "level.mvn" -> "level.mvn.bak".
inline constexpr const char* BackupSuffix = ".bak";

std::string BackupPathOf(const std::string& path);

// Before a file is replaced: copies it to its backup (replacing the older backup) when it
// exists. The copy goes through AtomicFileWriter, so a copy that fails halfway leaves the older
// backup as it was. Returns whether a backup was made; throws IoError when the file cannot be
// read or the backup cannot be written.
bool KeepBackupCopy(const std::string& path);

} // namespace morvane
