#pragma once

#include "LoggerFrame.h"
#include "LoggerInfo.h"

#include <QByteArray>

#include <QList>
#include <cstdint>

// The logger's replies: byte 1 is the code of the command answered. Decoders read replies
// that arrived; encoders build them for the simulated logger and for tests.
namespace LoggerReply {

inline constexpr int kConfigurationLength = 26;
inline constexpr int kRecordsHeaderLength = 5; // 0, code, stored measurements, length (word)
inline constexpr int kRecordLength = 7;        // day, month, hour, minute, second, value (word)
// The longest reply the program takes in: its receive buffer holds this much.
inline constexpr int kLongestReply = 26000;

// The configuration reply: what it says about the logger, the length of the records reply
// that would follow a download, and the clock and mode last configured.
struct Configuration {
    LoggerInfo info;
    uint32_t recordsReplyLength = 0;
    QByteArray clock = QByteArray(9, '\0'); // as in the configuration frame
    int mode = 1;

    bool operator==(const Configuration&) const = default;
};

// One record of a records reply, as the logger stores it.
struct Record {
    int day = 1, month = 1, hour = 0, minute = 0, second = 0;
    uint16_t raw = 0;

    bool operator==(const Record&) const = default;
};

// The code of a reply (its byte 1).
inline char code(const uint8_t* reply) {
    return char(reply[1]);
}

// Decoders: `reply` holds at least kConfigurationLength bytes, kRecordsHeaderLength bytes,
// and kRecordLength bytes respectively.
Configuration configuration(const uint8_t* reply);
// The total length a records reply announces (its bytes 3-4).
uint32_t recordsLength(const uint8_t* reply);
Record record(const uint8_t* at);

// Encoders. `lengthByte` is byte 0 of the configuration reply (its length, 26, unless a
// test makes it lie); `announcedLength` replaces the true length of a records reply.
QByteArray encodeConfiguration(const Configuration& c, int lengthByte = kConfigurationLength);
QByteArray encodeRecords(int storedMeasurements, const QList<Record>& records,
                         int announcedLength = -1);
// The five-byte acknowledgement of a command: 5, code, parameter, 0, 1.
QByteArray acknowledgement(LoggerFrame::Code code, char parameter = 0);

// The length of a records reply of n records.
inline int recordsReplyLength(int n) {
    return kRecordsHeaderLength + kRecordLength * n;
}

} // namespace LoggerReply
