// Reading the largest data file the reader takes (154,810 characters, about 3,770 record lines),
// writing the largest record set a download gives (3713 records), and its CSV export.
#include "records/CsvExport.h"
#include "records/DataFile.h"
#include "records/RecordCells.h"

#include <benchmark/benchmark.h>

namespace {

// 13 measurements of 300 records: 3713 records and 13 separator rows.
void fillLargestTable(RecordSet& table, LoggerInfo& info) {
    info = {1, 1, 0, 0, 100, 77, 300, 13, 13};
    QList<RecordSet::Row> rows;
    for (int i = 0, m = 0; i < 3713; ++i) {
        if (i % 300 == 0)
            rows << RecordCells::separatorRow(++m);
        rows << RecordSet::Row{RecordCells::numberText(i + 1),
                               RecordCells::dateText(1 + i % 28, 1 + i % 12, 'p', u'/'),
                               RecordCells::timeText(i % 24, i % 60, i % 60, u':'),
                               RecordCells::valueText(quint16(i * 37), 1, u'.')};
    }
    rows << RecordSet::Row{};
    table.replaceRowsFrom(1, rows);
    table.setRow(0, {"  REG.    ", "   DATA   ", "   HORA   ", " VALOR (BAR)    "});
}

QByteArray largestFile() {
    RecordSet table;
    LoggerInfo info;
    fillLargestTable(table, info);
    QByteArray bytes =
        DataFile::write({"Ensaio", "", "", "09/12/2025"}, info, table, table.rowCountTotal() - 2);
    // Past the reader's limit, as the largest file it can be offered.
    while (bytes.size() < 2 * DataFile::kMaxChars)
        bytes += "  0001      01/01    00:00:00    0000.0 \r\n";
    return bytes;
}

void BM_ReadLargestFile(benchmark::State& state) {
    const QByteArray bytes = largestFile();
    for (auto _ : state) {
        const DataFile::ReadResult r = DataFile::parse(bytes);
        benchmark::DoNotOptimize(r.content.rows.size());
    }
    state.SetBytesProcessed(state.iterations() * DataFile::kMaxChars);
}
BENCHMARK(BM_ReadLargestFile)->Unit(benchmark::kMillisecond);

void BM_WriteLargestRecordSet(benchmark::State& state) {
    RecordSet table;
    LoggerInfo info;
    fillLargestTable(table, info);
    for (auto _ : state) {
        const QByteArray bytes = DataFile::write({"Ensaio", "", "", "09/12/2025"}, info, table,
                                                 table.rowCountTotal() - 2);
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_WriteLargestRecordSet)->Unit(benchmark::kMillisecond);

void BM_CsvLargestRecordSet(benchmark::State& state) {
    RecordSet table;
    LoggerInfo info;
    fillLargestTable(table, info);
    for (auto _ : state) {
        const QByteArray csv =
            CsvExport::write(table, RecordView::build(table, {"09/12/2025", false, u'.', "BAR"}));
        benchmark::DoNotOptimize(csv.size());
    }
}
BENCHMARK(BM_CsvLargestRecordSet)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
