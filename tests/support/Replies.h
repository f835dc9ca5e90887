#pragma once

#include "protocol/LoggerReply.h"

// Logger replies as the tests need them, built by the codec.
namespace Replies {

using Record = LoggerReply::Record;

// The configuration reply for a logger described by `info`, announcing a records reply of
// `recordsReplyLength` bytes.
inline QByteArray configuration(const LoggerInfo& info, int recordsReplyLength) {
    LoggerReply::Configuration c;
    c.info = info;
    c.recordsReplyLength = uint32_t(recordsReplyLength);
    return LoggerReply::encodeConfiguration(c);
}

// A records reply holding `records`; `announced` replaces the length it states.
inline QByteArray records(const QList<Record>& records, int announced = -1) {
    return LoggerReply::encodeRecords(0, records, announced);
}

} // namespace Replies
