#pragma once

#include "records/DataFolder.h"

#include <QString>

// The settings file: its first byte is the interface language. The program only ever
// creates it, empty, when it is missing.
namespace SettingsFile {

inline const QString kName = QStringLiteral("prg.IDO");

struct Result {
    char language = 'p';
    // Neither readable nor creatable: the user is told, the language is Portuguese.
    bool cannotOpen = false;
};

Result read(const QString& path = DataFolder::filePath(kName));

} // namespace SettingsFile
