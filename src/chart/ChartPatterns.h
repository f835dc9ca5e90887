#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

// Which of the two whole-number forms the extremes annotations take: the window drawn by
// "Confirmar", or redrawn after a change of the start record.
enum class ExtremesForm { Confirmed, StartChanged };

// The number texts of the chart, by the decimals code of the logger (1, 2 or 3 decimals;
// any other code means whole numbers).
namespace ChartPatterns {

// The smallest value step of the code: 0.1, 0.01, 0.001 or 1.
double step(int decimalsCode);

QString pointLabel(int decimalsCode); // "###0.0" ...
QString extremes(int decimalsCode);   // " ###0.0" ... (" #####0" for whole numbers)
QString axisLabel(int decimalsCode);  // one decimal more than the values: " ##0.00" ...

// A number in a pattern: '0' a digit always shown, '#' a digit shown only when significant,
// '.' the decimal separator; any other character is copied. A minus sign goes right before
// the digits. Digits beyond the pattern's integer places are always shown.
QString format(double value, QStringView pattern, QChar decimalSeparator);

// The shortest general form of a 32-bit value: no padding, as many decimals as it needs.
QString general(float value, QChar decimalSeparator);

// The text of an extremes value in the form the drawing asks for.
QString extremesText(float value, int decimalsCode, ExtremesForm form, QChar decimalSeparator);

} // namespace ChartPatterns
