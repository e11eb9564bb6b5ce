#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace morvane {

// The editor's files in the user's folders (QStandardPaths), named after the application
// ("Morvane3D"): nothing the editor writes goes beside the program, which an installed program
// cannot write.

// The user's config folder of the editor (~/.config/Morvane3D on Linux, or
// $XDG_CONFIG_HOME/Morvane3D), where its settings and the recent-files list live; empty when no
// such folder is known. The folder is not made here: writers make it when they first write.
QString UserConfigFolder();

// The path of the named file in UserConfigFolder(); empty when no config folder is known.
QString UserConfigFile(const QString& name);

// The name of the editor's settings file in the config folder.
inline constexpr const char* SettingsFileName = "morvane3d.conf";

// The editor's settings (an INI file, SettingsFileName, in the config folder). When no config
// folder is known the settings are kept in memory for this run only.
std::unique_ptr<QSettings> OpenUserSettings();

} // namespace morvane
