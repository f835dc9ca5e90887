#include "SettingsFile.h"

#include "Texts.h"

#include <QFile>

namespace SettingsFile {

Result read(const QString& path) {
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // Missing (or unreadable): leave an empty file behind, as the program always has.
        QFile created(path);
        if (created.exists() || !created.open(QIODevice::WriteOnly))
            result.cannotOpen = true;
        return result;
    }
    char first = 0;
    if (file.getChar(&first) && Texts::isLanguage(first))
        result.language = first;
    return result;
}

} // namespace SettingsFile
