#pragma once

#include "RecordSet.h"

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// The fixed-width cell texts of the record table. Every cell of a record row is ten
// characters wide; the blanks are data (data files, the chart and the report read them back).
namespace RecordCells {

inline constexpr int kWidth = 10;

// The 16-bit value as the logger sends it, read as two's complement.
int signedValue(quint16 raw);

// Decimal places of a decimals code: 1, 2 or 3; any other code means whole numbers.
int decimalPlaces(int decimalsCode);

// The value cell: three blanks (two for a negative value), the scaled value with at least
// six, four, three or two integer digits for 0, 1, 2 or 3 decimal places, one blank.
// decimalsCode 1: 1234 -> "   0123.4 ", 0xFF85 -> "  -0012.3 ".
QString valueText(quint16 raw, int decimalsCode, QChar decimalSeparator);

// "  dd/mm   " ("  mm/dd   " in English). Day and month are 0..99.
QString dateText(int day, int month, char language, QChar dateSeparator);

// " hh:mm:ss ". Each field is 0..99.
QString timeText(int hours, int minutes, int seconds, QChar timeSeparator);

// A record or measurement number: two blanks, four digits, four blanks ("  0042    ").
QString numberText(int n);

// The row that opens measurement n (counting from 1).
RecordSet::Row separatorRow(int measurementNumber);

// A value cell as the number it shows: magnitude / 10^decimals, with the decimals the cell
// has ("  -0012.3 " -> 123, 1 decimal, negative). Exact, so a value can be written back
// with the digits it had.
struct CellNumber {
    quint64 magnitude = 0;
    int decimals = 0;
    bool negative = false;

    double value() const;
    // A plain number with "." as separator and no leading zeros ("-12.3", "0.0", "7").
    QString plain() const;
};

// The one reader of value cells. Blanks around the number are ignored; the decimal point
// may be ".", "," or the given regional separator and needs a digit after it. Nothing else
// is accepted (no exponent, no grouping, no more than 18 significant digits), so an empty
// or separator-row cell gives nullopt.
std::optional<CellNumber> parseNumber(QStringView cell, QChar decimalSeparator = u'.');

// A separator row opens a measurement: its first cell is the mark "M".
bool isSeparatorRow(const RecordSet::Row& row);

} // namespace RecordCells
