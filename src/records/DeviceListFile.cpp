#include "DeviceListFile.h"

#include "app/Windows1252.h"

#include "InputFile.h"

#include <QDir>
#include <QFile>

DeviceListFile::ReadResult DeviceListFile::read(const QString& path) {
    ReadResult result;
    QFile file(path);
    if (InputFile::open(file, &result.reason)) {
        result.entries = parse(file.read(kMaxCharacters));
        return result;
    }
    // Only a missing file is created: an existing one that cannot be read (a folder, no
    // permission, a FIFO) must not be truncated on the way.
    QFile created(path);
    if (!file.exists() && created.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        result.created = true;
    else
        result.cannotOpen = true;
    return result;
}

AtomicFile::Result DeviceListFile::write(const QStringList& entries, const QString& path) {
    return AtomicFile::write(path, serialise(entries));
}

QString DeviceListFile::firstEntry(const QString& path, QString* reason) {
    QFile file(path);
    QString why;
    if (!InputFile::open(file, &why)) {
        if (reason && file.exists())
            *reason = QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
        return {};
    }
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
