#pragma once

#include <QByteArray>
#include <QString>
#include <QTime>

#include <optional>

class QDateTime;

// A recording configuration for the logger and the 18-byte frame that carries it, together
// with the PC's date and time for the logger's clock. Every value travels as a plain binary
// byte (no text, no BCD); the records count as two bytes, high byte first.
struct LoggerConfig {
    enum class Mode : quint8 { Fixed = 1, Continuous = 2 };

    static constexpr int kMinRecords = 2;
    static constexpr int kMaxRecords = 3600;
    static constexpr int kMinMeasurements = 1;
    static constexpr int kMaxMeasurements = 50;

    QTime interval = QTime(0, 0, 1);
    int recordsPerMeasurement = 10;
    Mode mode = Mode::Fixed;
    int measurements = 1;

    // The frame with the PC's date and time for the logger's clock.
    QByteArray frame(const QDateTime& pcTime) const;

    // "hh:mm:ss" read as a time of day: exactly two digits each, hours 0-23, minutes and
    // seconds 0-59. Anything else (blanks included) gives nullopt.
    static std::optional<QTime> parseInterval(const QString& text);
    // A whole number from min to max, blanks around it allowed; nullopt otherwise.
    static std::optional<int> parseCount(const QString& text, int min, int max);
};
