#pragma once

#include "AtomicFile.h"
#include "DataFolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The list of known module addresses, kept in "lidi.IDO": the entries back to back in
// Windows-1252, with no separator, line end or header. It is read back by cutting it into
// 12-character pieces, so an entry of another length shifts every entry after it.
class DeviceListFile {
public:
    static constexpr int kEntryLength = 12;
    static constexpr int kMaxCharacters = 648;
    static constexpr int kMaxEntries = kMaxCharacters / kEntryLength;

    static QString defaultPath() { return DataFolder::filePath(QStringLiteral("lidi.IDO")); }

    struct ReadResult {
        QStringList entries;
        bool created = false;    // the file was missing and an empty one was made
        bool cannotOpen = false; // neither opened nor created: the list is empty
        QString reason;          // why it could not be opened
    };

    // Reads the list; a missing file is created empty. Never fails hard: a file that can be
    // neither read nor created gives an empty list and says so.
    static ReadResult read(const QString& path = defaultPath());

    // Replaces the file with the entries, in order. The new content takes the place of the
    // old only when it was written completely.
    static AtomicFile::Result write(const QStringList& entries,
                                    const QString& path = defaultPath());

    // The first entry, or an empty text when there is none or the file cannot be read; for
    // an existing file that cannot be read, its name and the reason go to *reason.
    // Creates nothing.
    static QString firstEntry(const QString& path = defaultPath(), QString* reason = nullptr);

    // The entries held by a file's bytes: the whole 12-character pieces of its first 648
    // characters.
    static QStringList parse(QByteArrayView bytes);

    // The file's bytes for the entries. Characters outside the code page become '?'.
    static QByteArray serialise(const QStringList& entries);
};
