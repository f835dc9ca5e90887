#pragma once

#include <QByteArray>

#include <optional>

// Command frames to the logger and the codes of its replies. A command frame is five bytes:
// length, code, parameter, 0, 1 (the configuration frame adds 13 bytes of data).
namespace LoggerFrame {

enum Code : char {
    ReadConfiguration = '1',
    DownloadRecords = '2',
    ClearRecords = '3',
    SendConfiguration = '4',
    RecordingSwitch = '6',
    AccessRequest = '7',
};

inline constexpr char kRecordingOn = '5';
inline constexpr char kRecordingOff = '4';
inline constexpr int kHeaderLength = 5;
inline constexpr int kConfigurationFrameLength = 18;

// The five-byte frame of a command.
QByteArray command(Code code, char parameter = 0);
inline QByteArray accessRequest() {
    return command(AccessRequest);
}
inline QByteArray readConfiguration() {
    return command(ReadConfiguration);
}
inline QByteArray downloadRecords() {
    return command(DownloadRecords);
}
inline QByteArray clearRecords() {
    return command(ClearRecords);
}
inline QByteArray recordingSwitch(bool on) {
    return command(RecordingSwitch, on ? kRecordingOn : kRecordingOff);
}

// What a configuration frame carries: the PC's clock for the logger (year as two digits)
// and the recording set-up. Every value is a plain binary byte; the records count is a word.
struct Configuration {
    int hour = 0, minute = 0, second = 0;
    int day = 1, month = 1, year = 0;
    int intervalHour = 0, intervalMinute = 0, intervalSecond = 1;
    int recordsPerMeasurement = 10;
    int mode = 1;
    int measurements = 1;

    bool operator==(const Configuration&) const = default;
};

QByteArray configuration(const Configuration& c);

// A frame as the logger checks it: its code (byte 1), when it follows the command layout
// (bytes 3-4 are 0, 1; five bytes long, eighteen for a configuration frame).
std::optional<Code> commandCode(const QByteArray& frame);
// The configuration a well-formed configuration frame carries.
Configuration decodeConfiguration(const QByteArray& frame);
// The nine clock and interval bytes of a configuration frame (h, m, s, day, month, year,
// ih, im, is), which the logger echoes in its configuration reply.
QByteArray clockBytes(const QByteArray& frame);

} // namespace LoggerFrame
