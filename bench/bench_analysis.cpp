// The analysis on the largest record set a download gives (3713 records in 13 measurements,
// a minute apart): the typed view, the statistics with both limits, and a full redraw of the
// analysis chart, whole and zoomed, with the cursor search a mouse move does. Each should stay
// well under a frame (16 ms).
#include "analysis/AnalysisChart.h"
#include "analysis/Statistics.h"
#include "records/RecordCells.h"
#include "records/RecordView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void fillLargestTable(RecordSet& table) {
    QList<RecordSet::Row> rows;
    for (int i = 0, m = 0; i < 3713; ++i) {
        if (i % 300 == 0)
            rows << RecordCells::separatorRow(++m);
        const int day = 1 + i / 1440, minute = i % 1440;
        rows << RecordSet::Row{RecordCells::numberText(i + 1),
                               RecordCells::dateText(day, 12, 'p', u'/'),
                               RecordCells::timeText(minute / 60, minute % 60, 0, u':'),
                               RecordCells::valueText(quint16((i * 37) % 2000), 1, u'.')};
    }
    rows << RecordSet::Row{};
    table.replaceRowsFrom(1, rows);
}

const RecordView::Context kContext{"09/12/2025", false, u'.', "ºC"};

void BM_TypedView(benchmark::State& state) {
    RecordSet table;
    fillLargestTable(table);
    for (auto _ : state) {
        const RecordView view = RecordView::build(table, kContext);
        benchmark::DoNotOptimize(view.measurements.size());
    }
}
BENCHMARK(BM_TypedView)->Unit(benchmark::kMillisecond);

void BM_Statistics(benchmark::State& state) {
    RecordSet table;
    fillLargestTable(table);
    const RecordView view = RecordView::build(table, kContext);
    for (auto _ : state) {
        const Statistics st = Statistics::of(view, {true, false}, {20.0, 150.0});
        benchmark::DoNotOptimize(st.all.mean);
    }
}
BENCHMARK(BM_Statistics)->Unit(benchmark::kMillisecond);

void redraw(benchmark::State& state, bool zoomed) {
    RecordSet table;
    fillLargestTable(table);
    AnalysisChart chart;
    chart.setData(RecordView::build(table, kContext), {20.0, 150.0});
    const QSize size(1000, 600);
    if (zoomed)
        chart.zoom(0.25, AnalysisChart::plotArea(size).center(), size);
    QImage image(size, QImage::Format_RGB32);
    for (auto _ : state) {
        chart.setCursor(AnalysisChart::plotArea(size).center(), size);
        QPainter p(&image);
        chart.paint(p, size);
    }
}

void BM_ChartRedrawFull(benchmark::State& state) {
    redraw(state, false);
}
BENCHMARK(BM_ChartRedrawFull)->Unit(benchmark::kMillisecond);

void BM_ChartRedrawZoomed(benchmark::State& state) {
    redraw(state, true);
}
BENCHMARK(BM_ChartRedrawZoomed)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The chart draws text, which needs the GUI library's fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
