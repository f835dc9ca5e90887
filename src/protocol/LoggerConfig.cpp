#include "LoggerConfig.h"

#include "LoggerFrame.h"

#include <QDateTime>

#include <algorithm>

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

} // namespace

QByteArray LoggerConfig::frame(const QDateTime& pcTime) const {
    const QTime time = pcTime.time();
    const QDate date = pcTime.date();
    LoggerFrame::Configuration c;
    c.hour = time.hour();
    c.minute = time.minute();
    c.second = time.second();
    c.day = date.day();
    c.month = date.month();
    c.year = ((date.year() % 100) + 100) % 100;
    c.intervalHour = interval.hour();
    c.intervalMinute = interval.minute();
    c.intervalSecond = interval.second();
    c.recordsPerMeasurement = recordsPerMeasurement;
    c.mode = int(mode);
    c.measurements = measurements;
    return LoggerFrame::configuration(c);
}

std::optional<QTime> LoggerConfig::parseInterval(const QString& text) {
    if (text.size() != 8 || text.at(2) != u':' || text.at(5) != u':')
        return std::nullopt;
    int part[3] = {};
    for (int i = 0; i < 3; ++i) {
        const QChar tens = text.at(3 * i), units = text.at(3 * i + 1);
        if (!isAsciiDigit(tens) || !isAsciiDigit(units))
            return std::nullopt;
        part[i] = (tens.unicode() - '0') * 10 + (units.unicode() - '0');
    }
    if (!QTime::isValid(part[0], part[1], part[2]))
        return std::nullopt;
    return QTime(part[0], part[1], part[2]);
}

std::optional<int> LoggerConfig::parseCount(const QString& text, int min, int max) {
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    // Held just above max once beyond it, so that no length of digits can overflow.
    int value = 0;
    for (QChar c : digits) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - '0'), max + 1);
    }
    if (value < min || value > max)
        return std::nullopt;
    return value;
}
