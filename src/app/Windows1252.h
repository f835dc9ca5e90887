#pragma once

#include <QByteArray>
#include <QString>

// The single-byte code page of every file the program reads or writes.
namespace Windows1252 {

// Every byte maps to one character; the five bytes the code page leaves undefined map to the
// control characters of the same number.
QString decode(QByteArrayView bytes);

// Characters the code page cannot hold become '?'; *ok (when given) tells whether any did.
QByteArray encode(QStringView text, bool* ok = nullptr);

bool canEncode(QStringView text);

} // namespace Windows1252
