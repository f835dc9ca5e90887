#include "DeviceListFile.h"

#include "app/Windows1252.h"

#include <QFile>
#include <QSaveFile>

DeviceListFile::ReadResult DeviceListFile::read(const QString& path) {
    ReadResult result;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        result.entries = parse(file.read(kMaxCharacters));
        return result;
    }
    // Only a missing file is created: an existing one that cannot be read (a folder, no
    // permission) must not be truncated on the way.
    QFile created(path);
    if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        result.created = true;
    else
        result.cannotOpen = true;
    return result;
}

DeviceListFile::WriteFailure DeviceListFile::write(const QStringList& entries,
                                                   const QString& path) {
    QSaveFile file(path);
    // Where no scratch file can be made next to the list, write the list itself.
    file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write (a full disk) shows in write()'s count; the buffered
    // path can lose it and still commit a cut list.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return WriteFailure::CannotOpen;
    const QByteArray bytes = serialise(entries);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return WriteFailure::WriteError;
    }
    return file.commit() ? WriteFailure::None : WriteFailure::WriteError;
}

QString DeviceListFile::firstEntry(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList entries = parse(file.read(kEntryLength));
    return entries.isEmpty() ? QString() : entries.constFirst();
}

QStringList DeviceListFile::parse(QByteArrayView bytes) {
    const QString text =
        Windows1252::decode(bytes.first(std::min<qsizetype>(bytes.size(), kMaxCharacters)));
    QStringList entries;
    const qsizetype count = text.size() / kEntryLength;
    entries.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        entries << text.mid(i * kEntryLength, kEntryLength);
    return entries;
}

QByteArray DeviceListFile::serialise(const QStringList& entries) {
    return Windows1252::encode(entries.join(QString()));
}
