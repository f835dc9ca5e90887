#include "TracingTransport.h"

#include "app/Ticker.h"

TracingTransport::TracingTransport(std::unique_ptr<SerialTransport> inner, const TimeBase& time,
                                   Sink sink)
    : inner_(std::move(inner)), time_(time), sink_(std::move(sink)) {}

namespace {

QString stamp(qint64 ms) {
    return QStringLiteral("%1.%2").arg(ms / 1000, 6).arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace

QString TracingTransport::line(qint64 ms, char direction, QByteArrayView bytes, int32_t status) {
    QString text = QStringLiteral("%1 %2 %3")
                       .arg(stamp(ms), QString(QLatin1Char(direction)),
                            QString::fromLatin1(bytes.toByteArray().toHex(' ')));
    if (status != Ok)
        text += QStringLiteral(" (status %1)").arg(status);
    return text;
}

int32_t TracingTransport::open(int index) {
    const int32_t status = inner_->open(index);
    sink_(QStringLiteral("%1 open %2: status %3")
              .arg(stamp(time_.nowMs()), inner_->description())
              .arg(status));
    return status;
}

int32_t TracingTransport::write(const QByteArray& bytes, uint32_t* written) {
    const int32_t status = inner_->write(bytes, written);
    sink_(line(time_.nowMs(), '>', bytes, status));
    return status;
}

int32_t TracingTransport::read(char* buffer, uint32_t max, uint32_t* got) {
    const int32_t status = inner_->read(buffer, max, got);
    if (*got > 0 || status != Ok)
        sink_(line(time_.nowMs(), '<', QByteArrayView(buffer, *got), status));
    return status;
}
