// Turning the largest records reply (26000 bytes, 3713 records) into table rows.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "app/Prompt.h"
#include "link/SerialTransport.h"
#include "protocol/LoggerReply.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

class SilentPrompt : public Prompt {
public:
    void message(const QString&) override {}
    bool askYesNo(const QString&, const QString&, bool) override { return false; }
};

// The longest records reply: 3713 records in 26000 bytes, as its announced length says.
std::vector<uint8_t> fullReply() {
    constexpr int kLength = LoggerReply::kLongestReply;
    QList<LoggerReply::Record> records;
    for (int i = 0; LoggerReply::recordsReplyLength(i + 1) <= kLength; ++i)
        records.append({1 + i % 28, 1 + i % 12, i % 24, i % 60, i % 60, quint16(i * 37 - 9000)});
    QByteArray bytes = LoggerReply::encodeRecords(0, records, kLength);
    bytes.resize(kLength, '\0');
    return {bytes.begin(), bytes.end()};
}

void BM_AppendRecordsFullReply(benchmark::State& state) {
    ManualClock time;
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    SilentPrompt prompt;
    // No transport: filling the table never talks to the interface.
    MainSession session({time, clock, prompt, nullptr, Regional{}});
    session.table().loggerInfo.measurementType = 1;
    session.table().loggerInfo.decimalsCode = 1;
    session.table().loggerInfo.recordsPerMeasurement = 300;
    session.table().loggerInfo.storedMeasurements = 13;
    session.table().loggerInfo.configuredMeasurements = 13;
    const std::vector<uint8_t> reply = fullReply();

    for (auto _ : state) {
        state.PauseTiming();
        session.table()
            .ShowLoggerInfo(); // a fresh table of two rows, as after the configuration reply
        session.table().fill = {};
        state.ResumeTiming();
        const bool complete = session.table().AppendRecords(reply.data(), uint32_t(reply.size()),
                                                            uint32_t(reply.size()));
        benchmark::DoNotOptimize(complete);
    }
    if (session.table().fill.lastRecordNumber != 3713)
        state.SkipWithError("not every record was decoded");
    state.SetItemsProcessed(state.iterations() * 3713);
}
BENCHMARK(BM_AppendRecordsFullReply)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
