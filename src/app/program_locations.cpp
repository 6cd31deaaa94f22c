#include "app/program_locations.h"

#include "app/qt_text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace kavlen {

AppLocations programLocations() {
    const QString executable = QCoreApplication::applicationFilePath();
    const QString executableDir = QCoreApplication::applicationDirPath();
    AppLocations locations;
    locations.settingsFile = settingsFileFor(
        toPath(executable), QFileInfo(executableDir).isWritable(),
        toPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)));
    locations.dataDirs.push_back(toPath(executableDir));
    // The per-user data folder first, then the installed ones.
    for (const QString& dir : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        locations.dataDirs.push_back(toPath(dir));
    return locations;
}

} // namespace kavlen
