// Any bytes from the serial line, in either receive mode, through the poll, the reply dispatch
// and the record decoding: nothing may crash, read out of bounds or hang.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "app/Prompt.h"
#include "link/SerialTransport.h"

#include <QCoreApplication>

#include <cstdint>

namespace {

class SilentPrompt : public Prompt {
public:
    void message(const QString&) override {}
    bool askYesNo(const QString&, const QString&, bool) override { return false; }
};

// Hands out the fuzz input as the receive queue, in chunks whose sizes the input chooses.
class FeedTransport : public SerialTransport {
public:
    QByteArray pending;
    int32_t open(int) override { return Ok; }
    void close() override {}
    bool isOpen() const override { return true; }
    int32_t setDataCharacteristics(int, int, int) override { return Ok; }
    int32_t setBaudRate(int) override { return Ok; }
    int32_t setTimeouts(int, int) override { return Ok; }
    int32_t purge(int) override { return Ok; }
    int32_t write(const QByteArray&, uint32_t* written) override {
        *written = 0;
        return Ok;
    }
    int32_t queueStatus(uint32_t* rx) override {
        *rx = uint32_t(pending.size());
        return Ok;
    }
    int32_t read(char* buffer, uint32_t max, uint32_t* got) override {
        const auto n = std::min<qsizetype>(max, pending.size());
        std::copy_n(pending.constData(), n, buffer);
        pending.remove(0, n);
        *got = uint32_t(n);
        return Ok;
    }
    QString description() const override { return QStringLiteral("fuzz"); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_replies";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    ManualClock time;
    FixedClock clock(QDateTime(QDate(2024, 2, 10), QTime(12, 0)));
    SilentPrompt prompt;
    auto transport = std::make_unique<FeedTransport>();
    FeedTransport* feed = transport.get();
    MainSession session({time, clock, prompt, std::move(transport), Regional{}});
    session.FormShow();
    session.Button2Click();

    // The first bytes set up the state the reply meets; the rest arrive in chunks.
    if (size < 4)
        return 0;
    session.table().loggerInfo.recordsPerMeasurement = data[0];
    session.table().loggerInfo.storedMeasurements = data[1];
    session.link().BtState = data[2] % 3;
    session.DeviceChosen(QStringLiteral("1"), QStringLiteral("A1B2C3D4E5F6"));
    size_t at = 4;
    while (at < size) {
        const size_t chunk = std::min<size_t>(size - at, 1 + data[at] * 128u);
        ++at;
        const size_t n = std::min(chunk, size - at);
        feed->pending.append(reinterpret_cast<const char*>(data + at), qsizetype(n));
        at += n;
        session.poll().ReceiveMode =
            (data[3] >> (at % 8)) & 1 ? ReceiveModeKind::Text : ReceiveModeKind::Frame;
        session.guarded([&] { session.Timer2Timer(); });
    }
    return 0;
}
