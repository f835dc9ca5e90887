#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DataFolder {

bool isInstalled() {
    return QFileInfo::exists(QCoreApplication::applicationDirPath() +
                             QStringLiteral("/" TERVIX_INSTALLED_MARKER));
}

QString path() {
    if (!isInstalled())
        return {};
    // The desktop program and the command line share one folder, whatever each calls itself.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/tervix");
}

QString filePath(const QString& name) {
    const QString folder = path();
    if (folder.isEmpty())
        return name;
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

QString helpText() {
    const QString folder = path();
    return QStringLiteral(
               "Files:\n"
               "  prg.IDO (language), lidi.IDO (device list) and imagraf.bmp (chart picture)\n"
               "  are kept in the current folder when the program runs from its build folder,\n"
               "  and in the user's data folder (created when missing) when it is installed.\n"
               "  This copy keeps them in: %1\n")
        .arg(folder.isEmpty() ? QStringLiteral("the current folder") : folder);
}

} // namespace DataFolder
