#include "LoggerReply.h"

#include "BigEndian.h"

namespace LoggerReply {

namespace {

constexpr int kClockAt = 13;
constexpr int kClockLength = 9;

} // namespace

Configuration configuration(const uint8_t* b) {
    Configuration c;
    c.info.storedMeasurements = b[2];
    c.recordsReplyLength = uint32_t(BigEndian::word(b + 3));
    c.info.decimalsCode = b[5];
    c.info.measurementType = b[6];
    c.info.unitCode = b[7];
    c.info.spareCode = b[8];
    c.info.rangeValue = BigEndian::word(b + 9);
    c.info.equipmentNumber = BigEndian::word(b + 11);
    c.clock = QByteArray(reinterpret_cast<const char*>(b + kClockAt), kClockLength);
    c.info.recordsPerMeasurement = BigEndian::word(b + 22);
    c.mode = b[24];
    c.info.configuredMeasurements = b[25];
    return c;
}

uint32_t recordsLength(const uint8_t* reply) {
    return uint32_t(BigEndian::word(reply + 3));
}

Record record(const uint8_t* r) {
    return {r[0], r[1], r[2], r[3], r[4], uint16_t(BigEndian::word(r + 5))};
}

QByteArray encodeConfiguration(const Configuration& c, int lengthByte) {
    const LoggerInfo& i = c.info;
    QByteArray r;
    r.reserve(kConfigurationLength);
    r.append(char(lengthByte)).append(LoggerFrame::ReadConfiguration);
    r.append(char(i.storedMeasurements));
    BigEndian::appendWord(r, int(c.recordsReplyLength));
    r.append(char(i.decimalsCode)).append(char(i.measurementType));
    r.append(char(i.unitCode)).append(char(i.spareCode));
    BigEndian::appendWord(r, i.rangeValue);
    BigEndian::appendWord(r, i.equipmentNumber);
    r.append(c.clock.leftJustified(kClockLength, '\0', true));
    BigEndian::appendWord(r, i.recordsPerMeasurement);
    r.append(char(c.mode)).append(char(i.configuredMeasurements));
    return r;
}

QByteArray encodeRecords(int storedMeasurements, const QList<Record>& records,
                         int announcedLength) {
    const int length = recordsReplyLength(int(records.size()));
    QByteArray r;
    r.reserve(length);
    r.append(char(0)).append(LoggerFrame::DownloadRecords).append(char(storedMeasurements));
    BigEndian::appendWord(r, announcedLength >= 0 ? announcedLength : length);
    for (const Record& x : records) {
        for (int v : {x.day, x.month, x.hour, x.minute, x.second})
            r.append(char(v));
        BigEndian::appendWord(r, x.raw);
    }
    return r;
}

QByteArray acknowledgement(LoggerFrame::Code code, char parameter) {
    return LoggerFrame::command(code, parameter);
}

} // namespace LoggerReply
