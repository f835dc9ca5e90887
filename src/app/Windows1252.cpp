#include "Windows1252.h"

#include <array>

namespace {

// Bytes 0x80 to 0x9F; the other bytes are their own Unicode code points.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int encodeChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < int(kHigh.size()); ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

namespace Windows1252 {

QString decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *dst++ = QChar(u >= 0x80 && u < 0xA0 ? kHigh[u - 0x80] : char16_t(u));
    }
    return out;
}

QByteArray encode(QStringView text, bool* ok) {
    QByteArray out;
    out.reserve(text.size());
    bool all = true;
    for (QChar c : text) {
        const int b = encodeChar(c.unicode());
        all = all && b >= 0;
        out.append(b >= 0 ? char(b) : '?');
    }
    if (ok)
        *ok = all;
    return out;
}

bool canEncode(QStringView text) {
    for (QChar c : text)
        if (encodeChar(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace Windows1252
