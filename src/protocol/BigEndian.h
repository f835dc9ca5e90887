#pragma once

#include <QByteArray>

#include <cstdint>

// Two-byte numbers on the logger's wire travel high byte first.
namespace BigEndian {

inline int word(const uint8_t* at) {
    return (at[0] << 8) | at[1];
}

inline int word(const QByteArray& bytes, qsizetype at) {
    return word(reinterpret_cast<const uint8_t*>(bytes.constData() + at));
}

inline void appendWord(QByteArray& bytes, int value) {
    bytes.append(char((value >> 8) & 0xFF)).append(char(value & 0xFF));
}

} // namespace BigEndian
