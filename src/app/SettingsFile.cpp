#include "SettingsFile.h"

#include "Texts.h"
#include "records/AtomicFile.h"
#include "records/InputFile.h"

#include <QDir>
#include <QFile>

namespace SettingsFile {

Result read(const QString& path) {
    Result result;
    QFile file(path);
    QString reason;
    if (!InputFile::open(file, &reason)) {
        // Missing: leave an empty file behind, as the program always has. One that exists
        // (unreadable, a folder, a FIFO) is left alone.
        if (!file.exists()) {
            const AtomicFile::Result created = AtomicFile::write(path, QByteArray());
            if (created.ok())
                return result;
            reason = created.reason;
        }
        result.cannotOpen = true;
        result.problem = QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
        return result;
    }
    char first = 0;
    if (file.getChar(&first) && Texts::isLanguage(first))
        result.language = first;
    return result;
}

} // namespace SettingsFile
