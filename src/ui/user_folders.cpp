#include "ui/user_folders.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace morvane {

QString UserConfigFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString UserConfigFile(const QString& name) {
    const QString folder = UserConfigFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

std::unique_ptr<QSettings> OpenUserSettings() {
    const QString path = UserConfigFile(SettingsFileName);
    if (path.isEmpty()) {
        // Not written anywhere: QSettings on an empty file name keeps its values in memory.
        return std::make_unique<QSettings>(QString(), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace morvane
