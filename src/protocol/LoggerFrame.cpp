#include "LoggerFrame.h"

#include "BigEndian.h"

namespace LoggerFrame {

namespace {

constexpr int kClockAt = kHeaderLength;
constexpr int kClockLength = 9;

} // namespace

QByteArray command(Code code, char parameter) {
    const char bytes[kHeaderLength] = {char(kHeaderLength), code, parameter, 0, 1};
    return QByteArray(bytes, kHeaderLength);
}

QByteArray configuration(const Configuration& c) {
    QByteArray frame = command(SendConfiguration);
    frame[0] = char(kConfigurationFrameLength);
    for (int v : {c.hour, c.minute, c.second, c.day, c.month, c.year, c.intervalHour,
                  c.intervalMinute, c.intervalSecond})
        frame.append(char(v));
    BigEndian::appendWord(frame, c.recordsPerMeasurement);
    frame.append(char(c.mode)).append(char(c.measurements));
    return frame;
}

std::optional<Code> commandCode(const QByteArray& frame) {
    if (frame.size() < kHeaderLength || frame.at(3) != 0 || frame.at(4) != 1)
        return std::nullopt;
    const char code = frame.at(1);
    if (frame.size() != (code == SendConfiguration ? kConfigurationFrameLength : kHeaderLength))
        return std::nullopt;
    return Code(code);
}

Configuration decodeConfiguration(const QByteArray& frame) {
    auto at = [&](int i) { return int(quint8(frame.at(i))); };
    Configuration c;
    c.hour = at(5);
    c.minute = at(6);
    c.second = at(7);
    c.day = at(8);
    c.month = at(9);
    c.year = at(10);
    c.intervalHour = at(11);
    c.intervalMinute = at(12);
    c.intervalSecond = at(13);
    c.recordsPerMeasurement = BigEndian::word(frame, 14);
    c.mode = at(16);
    c.measurements = at(17);
    return c;
}

QByteArray clockBytes(const QByteArray& frame) {
    return frame.mid(kClockAt, kClockLength);
}

} // namespace LoggerFrame
