#include "RecordCells.h"

#include <cstdint>

namespace {

// Writes n as exactly `digits` decimal digits ending just before `end`; returns the start.
char16_t* putDigits(char16_t* end, unsigned n, int digits) {
    for (int i = 0; i < digits; ++i) {
        *--end = char16_t(u'0' + n % 10);
        n /= 10;
    }
    return end;
}

QString twoDigitFields(QChar separator, std::initializer_list<int> fields, int lead, int trail) {
    char16_t buf[RecordCells::kWidth];
    char16_t* p = buf;
    for (int i = 0; i < lead; ++i)
        *p++ = u' ';
    bool first = true;
    for (int f : fields) {
        if (!first)
            *p++ = separator.unicode();
        first = false;
        p = putDigits(p + 2, unsigned(f), 2) + 2;
    }
    for (int i = 0; i < trail; ++i)
        *p++ = u' ';
    return QString(reinterpret_cast<const QChar*>(buf), p - buf);
}

} // namespace

namespace RecordCells {

int signedValue(quint16 raw) {
    // Two's complement for the whole range, 0x8000 included: it reads as -32768, so the
    // scale is symmetric and every value keeps the cell's width.
    return int(int16_t(raw));
}

int decimalPlaces(int decimalsCode) {
    return decimalsCode >= 1 && decimalsCode <= 3 ? decimalsCode : 0;
}

QString valueText(quint16 raw, int decimalsCode, QChar decimalSeparator) {
    const int v = signedValue(raw);
    const int places = decimalPlaces(decimalsCode);
    // The formats "000000 ", "0000.0 ", "000.00 ", "00.000 ": |v| <= 32768 never needs
    // more integer digits than these, so the cell is always ten characters.
    const int integerDigits = places == 0 ? 6 : 5 - places;
    unsigned a = unsigned(v < 0 ? -v : v);

    char16_t buf[kWidth];
    char16_t* p = buf + kWidth;
    *--p = u' ';
    if (places > 0) {
        p = putDigits(p, a, places);
        for (int i = 0; i < places; ++i)
            a /= 10;
        *--p = decimalSeparator.unicode();
    }
    p = putDigits(p, a, integerDigits);
    if (v < 0)
        *--p = u'-';
    while (p > buf)
        *--p = u' ';
    return QString(reinterpret_cast<const QChar*>(buf), kWidth);
}

QString dateText(int day, int month, char language, QChar dateSeparator) {
    if (language == 'i')
        return twoDigitFields(dateSeparator, {month, day}, 2, 3);
    return twoDigitFields(dateSeparator, {day, month}, 2, 3);
}

QString timeText(int hours, int minutes, int seconds, QChar timeSeparator) {
    return twoDigitFields(timeSeparator, {hours, minutes, seconds}, 1, 1);
}

QString numberText(int n) {
    if (n < 0 || n > 9999)
        return QString::asprintf("  %4.4d    ", n);
    char16_t buf[kWidth] = {u' ', u' ', 0, 0, 0, 0, u' ', u' ', u' ', u' '};
    putDigits(buf + 6, unsigned(n), 4);
    return QString(reinterpret_cast<const QChar*>(buf), kWidth);
}

RecordSet::Row separatorRow(int measurementNumber) {
    static const QString mark = QStringLiteral("   M      ");
    static const QString blank(kWidth, u' ');
    return {mark, numberText(measurementNumber), blank, blank};
}

double CellNumber::value() const {
    // One division by an exact power of ten rounds once: the nearest double to the text.
    double scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const double v = double(magnitude) / scale;
    return negative ? -v : v;
}

QString CellNumber::plain() const {
    QString digits = QString::number(magnitude);
    if (digits.size() <= decimals)
        digits.prepend(QString(decimals - digits.size() + 1, u'0'));
    if (decimals > 0)
        digits.insert(digits.size() - decimals, u'.');
    return negative ? u'-' + digits : digits;
}

std::optional<CellNumber> parseNumber(QStringView cell, QChar decimalSeparator) {
    cell = cell.trimmed();
    constexpr int kMaxDigits = 18; // keeps the magnitude exact in 64 bits
    CellNumber n;
    qsizetype i = 0;
    if (!cell.isEmpty() && (cell[0] == u'-' || cell[0] == u'+')) {
        n.negative = cell[0] == u'-';
        ++i;
    }
    int digits = 0, significant = 0;
    bool point = false;
    for (; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (point)
                ++n.decimals;
            if (significant > 0 || c != u'0') {
                if (++significant > kMaxDigits || n.decimals > kMaxDigits)
                    return std::nullopt;
                n.magnitude = n.magnitude * 10 + (c.unicode() - u'0');
            } else if (n.decimals > kMaxDigits) {
                return std::nullopt;
            }
        } else if (!point && (c == u'.' || c == u',' || c == decimalSeparator)) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    // "12." is twelve, as the locale-aware readers of hand-edited files take it.
    if (digits == 0)
        return std::nullopt;
    return n;
}

bool isSeparatorRow(const RecordSet::Row& row) {
    return QStringView(row[0]).trimmed() == u"M";
}

} // namespace RecordCells
