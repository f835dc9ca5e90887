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

// A value cell back to its number. Blanks around it are ignored; the decimal point may be
// ".", "," or the given regional separator. Nothing else is accepted (no exponent, no
// grouping), so an empty or separator-row cell gives nullopt.
std::optional<double> parseValue(QStringView cell, QChar decimalSeparator = u'.');

} // namespace RecordCells
