// The device list reader on arbitrary file contents: it must never fail, never return more
// than the file can hold, and give back exactly the whole 12-character pieces it was given.
#include "records/DeviceListFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList entries = DeviceListFile::parse(bytes);

    const qsizetype kept = std::min<qsizetype>(bytes.size(), DeviceListFile::kMaxCharacters);
    if (entries.size() != kept / DeviceListFile::kEntryLength)
        std::abort();
    for (const QString& e : entries)
        if (e.size() != DeviceListFile::kEntryLength)
            std::abort();
    // Every byte stands for one character, so writing the list back gives the same bytes.
    if (DeviceListFile::serialise(entries) !=
        bytes.first(entries.size() * DeviceListFile::kEntryLength))
        std::abort();
    if (DeviceListFile::parse(DeviceListFile::serialise(entries)) != entries)
        std::abort();
    return 0;
}
