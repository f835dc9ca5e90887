#include "InputFile.h"

#include <QFileInfo>

namespace InputFile {

bool open(QFile& file, QString* reason) {
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile()) {
        *reason =
            info.isDir() ? QStringLiteral("is a folder") : QStringLiteral("not a regular file");
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        *reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace InputFile
