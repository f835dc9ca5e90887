#pragma once

#include <QByteArray>

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
inline constexpr int kConfigurationReplyLength = 26;

// The five-byte frame of a command.
QByteArray command(Code code, char parameter = 0);

} // namespace LoggerFrame
