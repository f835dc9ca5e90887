// The interactive chart: its ranges under zoom, pan and a dragged rectangle, the cursor on
// the nearest record, the pictures it writes, and the windows and menu items around it.
#include "analysis/AnalysisChart.h"
#include "analysis/AnalysisWindow.h"
#include "analysis/StatisticsWindow.h"
#include "app/MainWindow.h"
#include "records/RecordCells.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Measurement 1: records 1-3 a minute apart from 10:00; measurement 2: records 4-5 from
// 10:10, two minutes apart.
QList<RecordSet::Row> sample() {
    auto rec = [](int n, const char* time, const char* value) {
        return RecordSet::Row{RecordCells::numberText(n), "  05/12   ", QString(" %1 ").arg(time),
                              value};
    };
    return {RecordCells::separatorRow(1),
            rec(1, "10:00:00", "   0010.0 "),
            rec(2, "10:01:00", "   0020.0 "),
            rec(3, "10:02:00", "   0015.0 "),
            RecordCells::separatorRow(2),
            rec(4, "10:10:00", "   0030.0 "),
            rec(5, "10:12:00", "   bad    "),
            rec(6, "10:14:00", "   0000.0 "),
            {}};
}

RecordView sampleView(const QString& issued = "09/12/2025") {
    RecordSet t;
    t.replaceRowsFrom(1, sample());
    return RecordView::build(t, {issued, false, u'.', "BAR"});
}

double secs(const char* time) {
    return double(
        QDateTime(QDate(2025, 12, 5), QTime::fromString(time), Qt::UTC).toSecsSinceEpoch());
}

const QSize kSize(800, 500);

} // namespace

class TestAnalysisChart : public QObject {
    Q_OBJECT
private slots:
    void seriesAndFullRange();
    void zoomPanAndRectangle();
    void cursorOnTheNearestRecord();
    void recordNumbersWithoutDates();
    void writesPictures();
    void menuItemsFollowTheChartItem();
    void statisticsWindowAppliesAndCopies();
};

void TestAnalysisChart::seriesAndFullRange() {
    AnalysisChart chart;
    chart.setData(sampleView(), {});
    QVERIFY(chart.timeAxis());
    QCOMPARE(chart.series().size(), 2);
    QCOMPARE(chart.series()[1].points.size(), size_t(2)); // the bad value is left out
    const AnalysisChart::Range full = chart.full();
    QCOMPARE(full.x0, secs("10:00:00"));
    QCOMPARE(full.x1, secs("10:14:00"));
    // 0 to 30, padded by 5 % of the span each side.
    QCOMPARE(full.y0, -1.5);
    QCOMPARE(full.y1, 31.5);
    QCOMPARE(chart.range(), full);

    // Limits widen the range; a hidden series leaves it.
    chart.setLimits({-10.0, 50.0});
    QCOMPARE(chart.full().y0, -13.0);
    QCOMPARE(chart.full().y1, 53.0);
    chart.setLimits({});
    chart.setVisible(1, false);
    QCOMPARE(chart.full().x1, secs("10:02:00"));
    QCOMPARE(chart.full().y1, 20.5);
}

void TestAnalysisChart::zoomPanAndRectangle() {
    AnalysisChart chart;
    chart.setData(sampleView(), {});
    const AnalysisChart::Range full = chart.range();
    const QRectF area = AnalysisChart::plotArea(kSize);

    // Seconds since the epoch leave a few digits less for the span.
    auto close = [](double a, double b, double span) { return qAbs(a - b) < 1e-6 * span; };
    const double w = full.x1 - full.x0, h = full.y1 - full.y0;

    // Halving about the centre keeps the centre.
    chart.zoom(0.5, area.center(), kSize);
    const AnalysisChart::Range half = chart.range();
    QVERIFY(close(half.x1 - half.x0, w / 2, w));
    QVERIFY(close(half.x0 + half.x1, full.x0 + full.x1, w));
    QVERIFY(close(half.y1 - half.y0, h / 2, h));

    // Dragging a quarter of the width to the right shows what lay a quarter to the left.
    chart.pan(QPointF(area.width() / 4, 0), kSize);
    QVERIFY(close(chart.range().x0, half.x0 - w / 8, w));
    QVERIFY(close(chart.range().y0, half.y0, h));

    // The rectangle over the left half and the upper half of the plot.
    chart.reset();
    chart.zoomTo(QRectF(area.left(), area.top(), area.width() / 2, area.height() / 2), kSize);
    QVERIFY(close(chart.range().x0, full.x0, w));
    QVERIFY(close(chart.range().x1, full.x0 + w / 2, w));
    QVERIFY(close(chart.range().y0, full.y0 + h / 2, h));
    QVERIFY(close(chart.range().y1, full.y1, h));
    // A click is no rectangle.
    const AnalysisChart::Range before = chart.range();
    chart.zoomTo(QRectF(area.center(), QSizeF(1, 1)), kSize);
    QCOMPARE(chart.range(), before);
}

void TestAnalysisChart::cursorOnTheNearestRecord() {
    AnalysisChart chart;
    chart.setWords({"Record", "Time", "M", "Lower", "Upper"});
    chart.setData(sampleView(), {});
    const QRectF area = AnalysisChart::plotArea(kSize);
    auto pixelOf = [&](double x, double y) {
        const AnalysisChart::Range r = chart.range();
        return QPointF(area.left() + (x - r.x0) / (r.x1 - r.x0) * area.width(),
                       area.top() + (r.y1 - y) / (r.y1 - r.y0) * area.height());
    };
    chart.setCursor(pixelOf(secs("10:01:00"), 20) + QPointF(3, -4), kSize);
    QVERIFY(chart.cursor());
    QCOMPARE(chart.cursor()->point.record, 2);
    QCOMPARE(chart.cursorText(), QString("Record 0002   05/12/2025 10:01:00   20.0 BAR"));

    chart.setCursor(pixelOf(secs("10:13:00"), 1), kSize);
    QCOMPARE(chart.cursor()->point.record, 6);
    chart.setVisible(1, false);
    QVERIFY(!chart.cursor());
    chart.setCursor(pixelOf(secs("10:13:00"), 1), kSize);
    QCOMPARE(chart.cursor()->point.record, 3);
    chart.setCursor(QPointF(2, 2), kSize); // outside the plot
    QVERIFY(!chart.cursor());
}

void TestAnalysisChart::recordNumbersWithoutDates() {
    AnalysisChart chart;
    chart.setData(sampleView(""), {});
    QVERIFY(!chart.timeAxis());
    QCOMPARE(chart.full().x0, 1.0);
    QCOMPARE(chart.full().x1, 6.0);
}

void TestAnalysisChart::writesPictures() {
    QTemporaryDir dir;
    AnalysisChart chart;
    chart.setData(sampleView(), {5.0, 25.0});
    QString error;
    QVERIFY(chart.save(dir.filePath("view.svg"), kSize, &error));
    QFile svg(dir.filePath("view.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    QVERIFY(text.contains("<svg") && text.contains("viewBox=\"0 0 800 500\""));

    QVERIFY(chart.save(dir.filePath("view.png"), kSize, &error));
    const QImage png(dir.filePath("view.png"));
    QCOMPARE(png.size(), kSize);
    // The upper limit line crosses the plot in red, the lower one in blue.
    auto hasColour = [&](QRgb want) {
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x)
                if (qRed(png.pixel(x, y)) == qRed(want) &&
                    qGreen(png.pixel(x, y)) == qGreen(want) &&
                    qBlue(png.pixel(x, y)) == qBlue(want))
                    return true;
        return false;
    };
    QVERIFY(hasColour(qRgb(220, 0, 0)));
    QVERIFY(hasColour(qRgb(0, 0, 220)));

    QVERIFY(!chart.save(dir.filePath("no/such/folder/view.png"), kSize, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("no/such/folder/view.png")));
}

void TestAnalysisChart::menuItemsFollowTheChartItem() {
    SessionFixture f('e');
    MainWindow window(f.s());
    window.show();
    auto* analysis = window.findChild<QAction*>("Analise1");
    auto* statistics = window.findChild<QAction*>("Estatisticas1");
    QVERIFY(analysis && statistics);
    QCOMPARE(analysis->text(), QString("Análisis"));
    QCOMPARE(statistics->text(), QString("Estadísticas"));
    const QList<QAction*> bar = window.menuBar()->actions();
    QCOMPARE(bar.indexOf(analysis), bar.indexOf(window.findChild<QAction*>("Grafico1")) + 1);
    auto* grafico = window.findChild<QAction*>("Grafico1");
    for (int step = 0; step < 2; ++step) {
        QCOMPARE(analysis->isEnabled(), grafico->isEnabled());
        QCOMPARE(statistics->isEnabled(), grafico->isEnabled());
        f.s().controls().stateDownloadFinished(); // enables "Gráfico"
        window.render();
    }
    QVERIFY(grafico->isEnabled());
}

void TestAnalysisChart::statisticsWindowAppliesAndCopies() {
    SessionFixture f('i');
    f.s().FormShow();
    f.s().records().replaceRowsFrom(1, sample());

    StatisticsWindow window(f.s());
    window.show();
    auto* table = window.findChild<QTableWidget*>("table");
    QCOMPARE(table->columnCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("All"));
    QCOMPARE(table->verticalHeaderItem(0)->text(), QString("Records"));
    QCOMPARE(table->item(0, 0)->text(), QString("3"));
    QCOMPARE(table->item(0, 1)->text(), QString("2"));
    QVERIFY(window.findChild<QLabel*>("damage")->text().startsWith("Record 5 has no valid value"));

    window.findChild<QLineEdit*>("upper")->setText("18");
    window.findChild<QPushButton*>("apply")->click();
    QCOMPARE(f.s().limits(), (Limits{std::nullopt, 18.0}));
    QCOMPARE(table->rowCount(), 18); // four rows for the upper side
    QCOMPARE(table->verticalHeaderItem(14)->text(), QString("Above: records"));
    QCOMPARE(table->item(14, 2)->text(), QString("2"));

    // A refused limit leaves the limits and the table as they were.
    window.findChild<QLineEdit*>("lower")->setText("20");
    window.findChild<QPushButton*>("apply")->click();
    QCOMPARE(f.prompt.messages, QStringList{"The lower limit is above the upper limit."});
    QCOMPARE(f.s().limits(), (Limits{std::nullopt, 18.0}));

    const QStringList lines = window.tabSeparated().split('\n');
    QCOMPARE(lines[0], QString("\tMeasurement 1\tMeasurement 2\tAll"));
    QCOMPARE(lines[1], QString("Records\t3\t2\t5"));
}

QTEST_MAIN(TestAnalysisChart)
#include "tst_analysischart.moc"
