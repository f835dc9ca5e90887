#include "LoggerFrame.h"

namespace LoggerFrame {

QByteArray command(Code code, char parameter) {
    const char bytes[kHeaderLength] = {char(kHeaderLength), code, parameter, 0, 1};
    return QByteArray(bytes, kHeaderLength);
}

} // namespace LoggerFrame
