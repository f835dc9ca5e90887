#include "ChartPatterns.h"

#include <cmath>

namespace {

int places(int decimalsCode) {
    return decimalsCode >= 1 && decimalsCode <= 3 ? decimalsCode : 0;
}

bool isDigitMark(QChar c) {
    return c == u'0' || c == u'#';
}

} // namespace

namespace ChartPatterns {

double step(int decimalsCode) {
    switch (places(decimalsCode)) {
    case 1:
        return 0.1;
    case 2:
        return 0.01;
    case 3:
        return 0.001;
    default:
        return 1;
    }
}

QString pointLabel(int decimalsCode) {
    switch (places(decimalsCode)) {
    case 1:
        return QStringLiteral("###0.0");
    case 2:
        return QStringLiteral("##0.00");
    case 3:
        return QStringLiteral("#0.000");
    default:
        return QStringLiteral("#####0");
    }
}

QString extremes(int decimalsCode) {
    return QLatin1Char(' ') + pointLabel(decimalsCode);
}

QString axisLabel(int decimalsCode) {
    switch (places(decimalsCode)) {
    case 1:
        return QStringLiteral(" ##0.00");
    case 2:
        return QStringLiteral(" #0.000");
    case 3:
        return QStringLiteral(" 0.0000");
    default:
        return QStringLiteral(" ####0.0");
    }
}

QString format(double value, QStringView pattern, QChar decimalSeparator) {
    // The pattern is a literal prefix, one run of digit marks with at most one '.', and a
    // literal suffix.
    qsizetype first = 0;
    while (first < pattern.size() && !isDigitMark(pattern[first]) && pattern[first] != u'.')
        ++first;
    qsizetype end = first;
    while (end < pattern.size() && (isDigitMark(pattern[end]) || pattern[end] == u'.'))
        ++end;
    const QStringView digits = pattern.mid(first, end - first);
    const qsizetype point = digits.indexOf(u'.');
    const QStringView integerMarks = point < 0 ? digits : digits.left(point);
    const QStringView fractionMarks = point < 0 ? QStringView() : digits.mid(point + 1);
    const int minIntegerDigits = int(integerMarks.count(u'0'));
    const int decimals = int(fractionMarks.size());

    if (!std::isfinite(value))
        value = 0;
    QString magnitude = QString::number(std::fabs(value), 'f', decimals);
    // A value that rounds to zero carries no sign.
    const bool negative = value < 0 && magnitude != QString::number(0.0, 'f', decimals);
    QString integer = decimals > 0 ? magnitude.left(magnitude.size() - decimals - 1) : magnitude;
    const QString fraction = decimals > 0 ? magnitude.right(decimals) : QString();
    if (integer == u"0" && minIntegerDigits == 0)
        integer.clear();
    if (integer.size() < minIntegerDigits)
        integer = QString(minIntegerDigits - integer.size(), u'0') + integer;

    QString out = pattern.left(first).toString();
    if (negative)
        out += u'-';
    out += integer;
    if (point >= 0) {
        out += decimalSeparator;
        out += fraction;
    }
    out += pattern.mid(end);
    return out;
}

QString general(float value, QChar decimalSeparator) {
    QString s = QString::number(double(value), 'g', 7);
    s.replace(u'.', decimalSeparator);
    return s;
}

QString extremesText(float value, int decimalsCode, ExtremesForm form, QChar decimalSeparator) {
    if (places(decimalsCode) == 0 && form == ExtremesForm::Confirmed)
        return general(value, decimalSeparator);
    return format(value, extremes(decimalsCode), decimalSeparator);
}

} // namespace ChartPatterns
