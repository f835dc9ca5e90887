#pragma once

#include "records/DataFolder.h"

#include <QString>

// The settings file: its first byte is the interface language. The program only ever
// creates it, empty, when it is missing; one that cannot be read leaves Portuguese.
namespace SettingsFile {

inline const QString kName = QStringLiteral("prg.IDO");

struct Result {
    char language = 'p';
    // Neither readable nor creatable: the user is told, the language is Portuguese.
    bool cannotOpen = false;
    QString problem; // cannotOpen: the file's name and the system's reason
};

Result read(const QString& path = DataFolder::filePath(kName));

} // namespace SettingsFile
