// Turning the largest records reply (26000 bytes, 3713 records) into table rows.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "app/Prompt.h"
#include "link/SerialTransport.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

class SilentPrompt : public Prompt {
public:
    void message(const QString&) override {}
    bool askYesNo(const QString&, const QString&, bool) override { return false; }
};

std::vector<uint8_t> fullReply() {
    constexpr int kLength = MainSession::kRxBufferSize;
    std::vector<uint8_t> r(kLength, 0);
    r[1] = '2';
    r[3] = uint8_t(kLength >> 8);
    r[4] = uint8_t(kLength & 0xFF);
    for (int i = 0, at = 5; at + 7 <= kLength; ++i, at += 7) {
        const int raw = (i * 37 - 9000) & 0xFFFF;
        const uint8_t rec[7] = {uint8_t(1 + i % 28), uint8_t(1 + i % 12), uint8_t(i % 24),
                                uint8_t(i % 60),     uint8_t(i % 60),     uint8_t(raw >> 8),
                                uint8_t(raw & 0xFF)};
        std::copy(rec, rec + 7, r.begin() + at);
    }
    return r;
}

void BM_AppendRecordsFullReply(benchmark::State& state) {
    ManualClock time;
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    SilentPrompt prompt;
    // No transport: filling the table never talks to the interface.
    MainSession session({time, clock, prompt, nullptr, Regional{}});
    session.loggerInfo.measurementType = 1;
    session.loggerInfo.decimalsCode = 1;
    session.loggerInfo.recordsPerMeasurement = 300;
    session.loggerInfo.storedMeasurements = 13;
    session.loggerInfo.configuredMeasurements = 13;
    const std::vector<uint8_t> reply = fullReply();

    for (auto _ : state) {
        state.PauseTiming();
        session.ShowLoggerInfo(); // a fresh table of two rows, as after the configuration reply
        session.fill = {};
        state.ResumeTiming();
        const bool complete =
            session.AppendRecords(reply.data(), uint32_t(reply.size()), uint32_t(reply.size()));
        benchmark::DoNotOptimize(complete);
    }
    if (session.fill.lastRecordNumber != 3713)
        state.SkipWithError("not every record was decoded");
    state.SetItemsProcessed(state.iterations() * 3713);
}
BENCHMARK(BM_AppendRecordsFullReply)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
