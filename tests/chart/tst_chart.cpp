// The chart window's core: the pictures checked pixel by pixel at the coordinates the layout
// gives (never by the shapes of the glyphs), the range rules of the start-record list, the
// picture file and the menu item.
#include "ChartTable.h"
#include "chart/ChartController.h"
#include "chart/ChartPicture.h"
#include "support/SessionFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>

#include <cmath>
#include <functional>

namespace {

using ValueOf = std::function<double(int record)>;

// The values 10.0 .. 20.0 in a fixed order, both ends in every ten records.
const double kTen[] = {10, 12.5, 20, 15, 11, 19, 13, 17, 14, 16};

double cycleOfTen(int record) {
    return kTen[(record - 1) % 10];
}

// A record table as a download leaves it, and the chart window's core over it.
struct Chart : SessionFixture {
    Chart(int N, int M, int total, int decimalsCode, const ValueOf& value = cycleOfTen,
          char language = 'p')
        : SessionFixture(language), chart(s().chartSource()) {
        s().FormShow();
        fillChartTable(s(), N, M, total, decimalsCode, value);
        chart.FormShow();
    }

    // The table row of a record of the fixture.
    int rowOf(int record) const {
        const int N = session->table().loggerInfo.recordsPerMeasurement;
        const int M = session->table().loggerInfo.storedMeasurements;
        const int m = std::min((record - 1) / N, M - 1);
        return record + 1 + m;
    }

    // Selects measurement m (from 0) and confirms it.
    void confirm(int m) {
        chart.ListBox1Click(m);
        chart.Button2_Sel_MedClick();
    }

    const QImage& image() const { return chart.picture(); }
    const ChartViewState& view() const { return chart.view(); }

    // The texts drawn with their top-left corner at (x, y), in drawing order.
    QStringList textsAt(int x, int y) const {
        QStringList out;
        for (const ChartPainter::TextDraw& t : chart.painter().texts())
            if (t.at == QPoint(x, y))
                out << t.text;
        return out;
    }
    // The last text drawn at (x, y): what stays visible there.
    QString textAt(int x, int y) const {
        const QStringList all = textsAt(x, y);
        return all.isEmpty() ? QString() : all.constLast();
    }

    ChartController chart;
};

QColor pixel(const QImage& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return {};
    return image.pixelColor(x, y);
}

bool colourNear(const QImage& image, int x, int y, const QColor& colour, int tolerance) {
    for (int dy = -tolerance; dy <= tolerance; ++dy)
        if (pixel(image, x, y + dy) == colour)
            return true;
    return false;
}

int countColour(const QImage& image, const QColor& colour, QRect area) {
    area &= image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

// The window's point k (from 1) for a value on the 10 .. 20 scale: x 75, 130 ... 570, and
// y 325 for 10 up to 75 for 20.
QPoint windowPoint(int k, double v) {
    return {55 * k + 20, int(325 - 25 * (v - 10))};
}

} // namespace

class TestChart : public QObject {
    Q_OBJECT
private slots:
    void grids_data();
    void grids();
    void windowLineAndMarks_data();
    void windowLineAndMarks();
    void windowTexts();
    void zeroLine_data();
    void zeroLine();
    void allRecordsPositions_data();
    void allRecordsPositions();
    void widenedScale_data();
    void widenedScale();
    void extremesTieGoesToLaterRecord();
    void extremesWholeNumberForms();
    void startCases_data();
    void startCases();
    void lastStartOfMeasurement();
    void typedStart_data();
    void typedStart();
    void measurementListAndControls();
    void redrawGivesSamePicture();
    void damagedValue_data();
    void damagedValue();
    void measurementWithoutRecords();
    void decimalSeparatorsOfFiles();
    void pictureFile_data();
    void pictureFile();
    void pictureCannotBeWritten();
    void languages_data();
    void languages();
    void menuItemWhileShown();
};

void TestChart::grids_data() {
    QTest::addColumn<bool>("allRecords");
    QTest::addColumn<QList<int>>("verticals");
    QTest::addColumn<int>("right");

    QList<int> window;
    for (int i = 0; i <= 9; ++i)
        window << 75 + 55 * i;
    QTest::newRow("template") << false << window << 570;
    QTest::newRow("all records") << true << QList<int>{75,  102, 130, 157, 185, 212, 240,
                                                       267, 295, 322, 350, 377, 405, 432,
                                                       460, 487, 515, 542, 570, 597, 625}
                                 << 625;
}

void TestChart::grids() {
    QFETCH(bool, allRecords);
    QFETCH(QList<int>, verticals);
    QFETCH(int, right);

    // All values equal: the all-records line is one flat row and hides nothing else.
    Chart c(100, 1, 100, 1, [](int) { return 12.5; });
    int lineY = -1;
    if (allRecords) {
        c.confirm(0);
        c.chart.Button1Click();
        for (int y = 75; y <= 325 && lineY < 0; ++y)
            if (pixel(c.image(), 300, y) == ChartPainter::kRed)
                lineY = y;
        QVERIFY(lineY >= 0);
    }
    const QImage& img = c.image();
    auto onLine = [&](int y) { return y == lineY; };

    for (int x : verticals)
        for (int y = 75; y <= 325; ++y)
            if (!onLine(y))
                QVERIFY2(pixel(img, x, y) == ChartPainter::kGreen,
                         qPrintable(QStringLiteral("vertical at %1, %2").arg(x).arg(y)));
    for (int i = 0; i <= 10; ++i) {
        const int y = 75 + 25 * i;
        if (onLine(y))
            continue;
        for (int x = 75; x <= right; ++x)
            QVERIFY2(pixel(img, x, y) == ChartPainter::kGreen,
                     qPrintable(QStringLiteral("horizontal at %1, %2").arg(x).arg(y)));
    }
    // Nothing green off the lines: the grid is exactly these lines.
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (pixel(img, x, y) != ChartPainter::kGreen)
                continue;
            const bool onVertical = verticals.contains(x) && y >= 75 && y <= 325;
            const bool onHorizontal =
                (y - 75) % 25 == 0 && y >= 75 && y <= 325 && x >= 75 && x <= right;
            QVERIFY2(onVertical || onHorizontal,
                     qPrintable(QStringLiteral("green at %1, %2").arg(x).arg(y)));
        }
}

void TestChart::windowLineAndMarks_data() {
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("M");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("measurement");
    QTest::addColumn<int>("firstRecord");
    QTest::addColumn<int>("points");

    QTest::newRow("ten records") << 10 << 1 << 10 << 0 << 1 << 10;
    QTest::newRow("window in a longer measurement") << 50 << 2 << 100 << 1 << 51 << 10;
    QTest::newRow("last measurement of seven") << 100 << 2 << 107 << 1 << 101 << 7;
}

void TestChart::windowLineAndMarks() {
    QFETCH(int, N);
    QFETCH(int, M);
    QFETCH(int, total);
    QFETCH(int, measurement);
    QFETCH(int, firstRecord);
    QFETCH(int, points);

    Chart c(N, M, total, 1);
    c.confirm(measurement);
    QVERIFY(c.prompt.messages.isEmpty());
    const QImage& img = c.image();

    QList<QPoint> p;
    for (int k = 1; k <= points; ++k)
        p << windowPoint(k, cycleOfTen(firstRecord + k - 1));

    // The red line runs from each point to the next, two pixels wide.
    for (int k = 1; k < points; ++k) {
        const QPoint a = p[k - 1], b = p[k];
        for (double t : {0.2, 0.35, 0.5, 0.65, 0.8}) {
            const int x = int(std::lround(a.x() + t * (b.x() - a.x())));
            const int y = int(std::lround(a.y() + t * (b.y() - a.y())));
            const int steep = std::abs(b.y() - a.y()) / 55 + 2;
            QVERIFY2(colourNear(img, x, y, ChartPainter::kRed, steep),
                     qPrintable(QStringLiteral("segment %1 near %2, %3").arg(k).arg(x).arg(y)));
        }
    }
    // It stops at the last point of the window.
    QCOMPARE(countColour(img, ChartPainter::kRed, QRect(p.last().x() + 3, 60, 645, 280)), 0);
    QCOMPARE(countColour(img, ChartPainter::kRed, QRect(0, 60, 72, 280)), 0);

    // A black mark has its top-left corner on each point, and there is no other black in
    // the plot area.
    for (const QPoint& q : p)
        QVERIFY2(pixel(img, q.x(), q.y()) == ChartPainter::kBlack,
                 qPrintable(QStringLiteral("mark at %1, %2").arg(q.x()).arg(q.y())));
    for (int y = 66; y <= 330; ++y)
        for (int x = 72; x <= 600; ++x) {
            if (pixel(img, x, y) != ChartPainter::kBlack)
                continue;
            const bool inMark = std::any_of(p.begin(), p.end(), [&](const QPoint& q) {
                return x >= q.x() && x <= q.x() + 3 && y >= q.y() && y <= q.y() + 5;
            });
            QVERIFY2(inMark, qPrintable(QStringLiteral("stray black at %1, %2").arg(x).arg(y)));
        }
}

void TestChart::windowTexts() {
    Chart c(10, 1, 10, 1);
    c.confirm(0);

    // Value labels ten pixels right of and five above each point: 15.0 is drawn at y 200
    // and labelled at y 195.
    for (int k = 1; k <= 10; ++k) {
        const double v = kTen[k - 1];
        QCOMPARE(c.textAt(55 * k + 30, windowPoint(k, v).y() - 5),
                 QString::number(v, 'f', 1).rightJustified(4, u'0'));
    }
    QCOMPARE(c.textAt(250, 195), QStringLiteral("15.0"));

    // The value axis: 10.00 to 20.00 after a blank, seven pixels above each grid line.
    for (int n = 0; n <= 10; ++n)
        QCOMPARE(c.textAt(25, 318 - 25 * n), QStringLiteral(" %1.00").arg(10 + n));

    // The time axis: the cells as the table holds them, blanks included.
    for (int k = 1; k <= 10; ++k) {
        const RecordSet::Row& row = c.s().records().row(c.rowOf(k));
        QCOMPARE(c.textAt(55 * k - 5, 335), row[2]);
        QCOMPARE(c.textAt(55 * k - 5, 355), row[1]);
        QCOMPARE(c.textAt(55 * k - 5, 375), row[0]);
    }
    QCOMPARE(c.textAt(300, 35), QStringLiteral(" 10.0"));
    QCOMPARE(c.textAt(300, 15), QStringLiteral(" 20.0"));
    QCOMPARE(c.textAt(435, 35), QStringLiteral("1"));
    QCOMPARE(c.textAt(435, 15), QStringLiteral("3"));
}

void TestChart::zeroLine_data() {
    QTest::addColumn<bool>("inside");
    QTest::newRow("zero inside the values") << true;
    QTest::newRow("zero below the values") << false;
}

void TestChart::zeroLine() {
    QFETCH(bool, inside);
    // -5 .. 5 puts zero at y 200; 10 .. 20 puts it 250 pixels below the plot.
    static const double around[] = {-5, 5, -4, 4, -3, 3, -5, 5, -4, 4};
    Chart c(10, 1, 10, 1,
            inside ? ValueOf([](int r) { return around[r - 1]; }) : ValueOf(cycleOfTen));
    c.confirm(0);
    const QImage& img = c.image();

    if (!inside) {
        QCOMPARE(countColour(img, ChartPainter::kPurple, img.rect()), 0);
        return;
    }
    // The purple line runs across the plot at y 200, hidden only where the red line
    // crosses it (near the middle between two points).
    for (int x = 75; x <= 570; ++x) {
        const int offset = (x - 75) % 55;
        if (offset <= 12 || offset >= 43)
            QVERIFY2(pixel(img, x, 200) == ChartPainter::kPurple,
                     qPrintable(QStringLiteral("zero line at %1").arg(x)));
    }
    QCOMPARE(pixel(img, 74, 200), ChartPainter::kWhite);
    QCOMPARE(pixel(img, 571, 200), ChartPainter::kWhite);
    QCOMPARE(countColour(img, ChartPainter::kPurple, QRect(75, 199, 496, 1)), 0);
    QCOMPARE(countColour(img, ChartPainter::kPurple, QRect(75, 201, 496, 1)), 0);
    // "0" in purple left of the plot, five pixels above the line.
    QVERIFY(countColour(img, ChartPainter::kPurple, QRect(68, 195, 7, 13)) > 0);
    QCOMPARE(c.textAt(68, 195), QStringLiteral("0"));
}

void TestChart::allRecordsPositions_data() {
    QTest::addColumn<int>("N");
    QTest::addColumn<QList<int>>("labelX");
    QTest::addColumn<QStringList>("labels");

    QList<int> x100;
    QStringList l100;
    for (int i = 0; i <= 10; ++i) {
        x100 << 70 + 55 * i;
        l100 << QStringLiteral(" %1").arg(10 * i);
    }
    QTest::newRow("N 100") << 100 << x100 << l100;

    QList<int> x25;
    QStringList l25;
    for (int i = 0; i <= 12; ++i) {
        x25 << 70 + 44 * i;
        l25 << QStringLiteral(" %1").arg(2 * i);
    }
    QTest::newRow("N 25: labels up to 24") << 25 << x25 << l25;
}

void TestChart::allRecordsPositions() {
    QFETCH(int, N);
    QFETCH(QList<int>, labelX);
    QFETCH(QStringList, labels);

    // Alternating 10 and 20: every record is a sharp peak at y 325 or y 75.
    Chart c(N, 1, N, 1, [](int r) { return r % 2 ? 10.0 : 20.0; });
    c.confirm(0);
    c.chart.Button1Click();
    const QImage& img = c.image();

    const double stepX = 550.0 / N;
    for (int j = 1; j <= N; ++j) {
        const int x = int(75 + j * stepX);
        const int y = j % 2 ? 325 : 75;
        QVERIFY2(pixel(img, x, y) == ChartPainter::kRed,
                 qPrintable(QStringLiteral("record %1 at %2, %3").arg(j).arg(x).arg(y)));
        QVERIFY(pixel(img, x - 1, y) != ChartPainter::kRed);
        if (j < N)
            QVERIFY(pixel(img, x + 1, y) != ChartPainter::kRed);
    }
    QCOMPARE(countColour(img, ChartPainter::kRed, QRect(626, 0, 20, 393)), 0);
    // No zero line, no marks, no value labels.
    QCOMPARE(countColour(img, ChartPainter::kBlack, QRect(75, 60, 560, 270)), 0);
    QCOMPARE(countColour(img, ChartPainter::kPurple, QRect(75, 0, 570, 393)), 0);

    QList<int> xs;
    QStringList shown;
    for (const ChartPainter::TextDraw& t : c.chart.painter().texts())
        if (t.at.y() == 335) {
            xs << t.at.x();
            shown << t.text;
        }
    QCOMPARE(xs, labelX);
    QCOMPARE(shown, labels);
    QCOMPARE(c.textAt(300, 355), QStringLiteral("Registro"));
}

void TestChart::widenedScale_data() {
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    QTest::addColumn<int>("firstY");
    QTest::addColumn<QString>("bottomLabel");
    QTest::addColumn<QString>("topLabel");

    // One step each side of the first value, labels in fifths of the step, the line at
    // mid-height.
    QTest::newRow("span 0") << QList<double>{12.5} << 12.4 << 12.6 << 200 << " 12.40"
                            << " 12.60";
    // 0.4 x 0.2 is below the step of 0.1: widened around 10.0, then 10.2 still counts.
    QTest::newRow("span 0.2") << QList<double>{10.0, 10.2, 10.1} << 9.9 << 10.2 << 241 << " 9.90"
                              << " 10.20";
    QTest::newRow("span 0.3") << QList<double>{10.0, 10.3, 10.1} << 10.0 << 10.3 << 325 << " 10.00"
                              << " 10.30";
}

void TestChart::widenedScale() {
    QFETCH(QList<double>, values);
    QFETCH(double, lowest);
    QFETCH(double, highest);
    QFETCH(int, firstY);
    QFETCH(QString, bottomLabel);
    QFETCH(QString, topLabel);

    Chart c(10, 1, 10, 1, [&](int r) { return values[(r - 1) % values.size()]; });
    c.confirm(0);
    const ChartScale& s = c.chart.painter().scale();
    QVERIFY(std::fabs(s.lowest - lowest) < 1e-4);
    QVERIFY(std::fabs(s.highest - highest) < 1e-4);
    QVERIFY(std::fabs(s.scale - 0.4 * (highest - lowest)) < 1e-5);

    // The first point's mark, within a pixel of where the scale puts it.
    int markY = -1;
    for (int y = 60; y <= 340 && markY < 0; ++y)
        if (pixel(c.image(), 75, y) == ChartPainter::kBlack)
            markY = y;
    QVERIFY2(std::abs(markY - firstY) <= 1, qPrintable(QString::number(markY)));
    QCOMPARE(c.textAt(25, 318), bottomLabel);
    QCOMPARE(c.textAt(25, 68), topLabel);
    // The annotations keep the true extremes.
    const double trueLow = *std::min_element(values.begin(), values.end());
    QCOMPARE(c.textAt(300, 35), QStringLiteral(" %1").arg(trueLow, 0, 'f', 1));
}

void TestChart::extremesTieGoesToLaterRecord() {
    // The lowest value at records 3 and 7, at 7 only, at 3 only.
    auto values = [](bool at3, bool at7) {
        return [=](int r) { return (r == 3 && at3) || (r == 7 && at7) ? 2.0 : 5.0 + r; };
    };
    const QRect annotation(435, 35, 60, 14);
    Chart tie(10, 1, 10, 1, values(true, true));
    Chart only7(10, 1, 10, 1, values(false, true));
    Chart only3(10, 1, 10, 1, values(true, false));
    for (Chart* c : {&tie, &only7, &only3})
        c->confirm(0);

    QCOMPARE(tie.image().copy(annotation), only7.image().copy(annotation));
    QVERIFY(tie.image().copy(annotation) != only3.image().copy(annotation));
    QCOMPARE(tie.textAt(435, 35), QStringLiteral("7"));
}

void TestChart::extremesWholeNumberForms() {
    // Whole numbers: "Confirmar" writes the shortest form, a start change the padded one.
    Chart c(20, 1, 20, 0, [](int r) { return r == 4 ? -5 : r; });
    c.confirm(0);
    QCOMPARE(c.textAt(300, 35), QStringLiteral("-5"));
    QCOMPARE(c.textAt(300, 15), QStringLiteral("20"));
    QCOMPARE(c.textAt(25, 318), QStringLiteral(" -5.0"));
    c.chart.ComboBox1Change(2);
    QCOMPARE(c.textAt(300, 35), QStringLiteral(" -5"));
    QCOMPARE(c.textAt(300, 15), QStringLiteral(" 20"));
    QCOMPARE(c.view().Edit1.text, QStringLiteral("12"));
}

void TestChart::startCases_data() {
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("M");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("measurement");
    QTest::addColumn<int>("starts");
    QTest::addColumn<QString>("firstStart");
    QTest::addColumn<QString>("lastStart");
    QTest::addColumn<QString>("edit1");
    QTest::addColumn<QString>("edit2");
    QTest::addColumn<bool>("startBox");
    QTest::addColumn<bool>("allRecords");
    QTest::addColumn<int>("points");

    QTest::newRow("not the last measurement") << 100 << 3 << 300 << 0 << 91 << "  0001    "
                                              << "  0091    "
                                              << "10"
                                              << "100" << true << true << 10;
    QTest::newRow("last measurement complete") << 100 << 3 << 300 << 2 << 91 << "  0201    "
                                               << "  0291    "
                                               << "210"
                                               << "300" << true << true << 10;
    QTest::newRow("last measurement with 15") << 100 << 3 << 215 << 2 << 6 << "  0201    "
                                              << "  0206    "
                                              << "210"
                                              << "215" << true << true << 10;
    QTest::newRow("last measurement with 7") << 100 << 3 << 207 << 2 << 1 << "  0201    "
                                             << "  0201    "
                                             << "207"
                                             << "207" << false << false << 7;
    QTest::newRow("last measurement with exactly 10") << 100 << 3 << 210 << 2 << 1 << "  0201    "
                                                      << "  0201    "
                                                      << "210"
                                                      << "210" << false << false << 10;
    QTest::newRow("N of 5: the window is the measurement") << 5 << 2 << 10 << 0 << 1 << "  0001    "
                                                           << "  0001    "
                                                           << "5"
                                                           << "5" << true << true << 5;
    QTest::newRow("N of 5, last measurement with 3") << 5 << 2 << 8 << 1 << 1 << "  0006    "
                                                     << "  0006    "
                                                     << "8"
                                                     << "8" << false << false << 3;
    QTest::newRow("more records than M x N follow in the last")
        << 10 << 2 << 25 << 1 << 6 << "  0011    "
        << "  0016    "
        << "20"
        << "25" << true << true << 10;
}

void TestChart::startCases() {
    QFETCH(int, N);
    QFETCH(int, M);
    QFETCH(int, total);
    QFETCH(int, measurement);
    QFETCH(int, starts);
    QFETCH(QString, firstStart);
    QFETCH(QString, lastStart);
    QFETCH(QString, edit1);
    QFETCH(QString, edit2);
    QFETCH(bool, startBox);
    QFETCH(bool, allRecords);
    QFETCH(int, points);

    Chart c(N, M, total, 1);
    c.confirm(measurement);
    const ChartViewState& v = c.view();
    QVERIFY(c.prompt.messages.isEmpty());
    QCOMPARE(int(v.ComboBox1Items.size()), starts);
    QCOMPARE(v.ComboBox1Items.constFirst(), firstStart);
    QCOMPARE(v.ComboBox1Items.constLast(), lastStart);
    QCOMPARE(v.ComboBox1Index, 0);
    QCOMPARE(v.ComboBox1Text, firstStart);
    QCOMPARE(v.Edit1.text, edit1);
    QCOMPARE(v.Edit2.text, edit2);
    QVERIFY(v.Edit1.enabled && v.Edit2.enabled && v.Print1.enabled);
    QCOMPARE(v.ComboBox1Enabled, startBox);
    QCOMPARE(v.Button1.enabled, allRecords);

    // A mark for each record shown, none past them: no row outside the measurement is drawn.
    for (int k = 1; k <= 10; ++k) {
        const int marks =
            countColour(c.image(), ChartPainter::kBlack, QRect(55 * k + 20, 70, 1, 262));
        QVERIFY2((marks > 0) == (k <= points), qPrintable(QStringLiteral("point %1").arg(k)));
    }
    QCOMPARE(c.textsAt(55 * points - 5, 375).size(), 1);
    QVERIFY(c.textsAt(55 * (points + 1) - 5, 375).isEmpty());

    // The last start shows the last records of the measurement and no further.
    c.chart.ComboBox1Change(starts - 1);
    if (startBox) {
        QCOMPARE(c.view().Edit1.text, edit2);
        QCOMPARE(c.textAt(55 * points - 5, 375),
                 RecordCells::numberText(c.view().Edit2.text.toInt()));
    }
}

void TestChart::lastStartOfMeasurement() {
    Chart c(100, 3, 300, 1);
    c.confirm(2);
    c.chart.ComboBox1Change(90);
    QCOMPARE(c.view().Edit1.text, QStringLiteral("300"));
    QCOMPARE(c.view().Edit2.text, QStringLiteral("300"));
    QCOMPARE(c.view().ComboBox1Text, QStringLiteral("  0291    "));
    for (int k = 1; k <= 10; ++k)
        QCOMPARE(c.textAt(55 * k - 5, 375), RecordCells::numberText(290 + k));
    // An entry beyond the list changes nothing.
    const QImage before = c.image();
    c.chart.ComboBox1Change(91);
    QCOMPARE(c.view().Edit1.text, QStringLiteral("300"));
    QCOMPARE(c.image(), before);
}

void TestChart::typedStart_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("edit1");

    QTest::newRow("listed, short form") << "205"
                                        << "  0205    "
                                        << "214";
    QTest::newRow("listed, as the cell") << "  0291 "
                                         << "  0291    "
                                         << "300";
    QTest::newRow("record past the last start") << "295"
                                                << "  0201    "
                                                << "210";
    QTest::newRow("record of another measurement") << "0150"
                                                   << "  0201    "
                                                   << "210";
    QTest::newRow("not a number") << "abc"
                                  << "  0201    "
                                  << "210";
}

void TestChart::typedStart() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, edit1);

    Chart c(100, 3, 300, 1);
    c.confirm(2);
    const QImage confirmed = c.image();
    c.chart.ComboBox1Typed(typed);
    QCOMPARE(c.view().ComboBox1Text, shown);
    QCOMPARE(c.view().Edit1.text, edit1);
    if (edit1 == u"210")
        QCOMPARE(c.image(), confirmed);
    // A refused start is explained in the window, not in a message box, until a start is
    // taken.
    const bool refused = edit1 == u"210";
    QCOMPARE(c.view().StartHint.isEmpty(), !refused);
    QVERIFY(c.prompt.messages.isEmpty());
    if (refused) {
        QVERIFY(c.view().StartHint.contains(typed.trimmed()));
        c.chart.ComboBox1Change(1);
        QVERIFY(c.view().StartHint.isEmpty());
    }
}

void TestChart::measurementListAndControls() {
    Chart c(10, 3, 30, 1);
    const ChartViewState& v = c.view();
    QCOMPARE(v.ListBox1, (QStringList{QStringLiteral("M  01   "), QStringLiteral("M  02   "),
                                      QStringLiteral("M  03   ")}));
    QCOMPARE(v.ListBox1Index, -1);
    for (bool enabled : {v.Edit1.enabled, v.Edit2.enabled, v.ComboBox1Enabled, v.Button1.enabled,
                         v.Button2_Sel_Med.enabled, v.Print1.enabled})
        QVERIFY(!enabled);
    QVERIFY(v.Edit1.text.isEmpty() && v.Edit2.text.isEmpty() && v.ComboBox1Text.isEmpty());
    // Before any choice: "Confirmar", the start box and "Imprimir" do nothing.
    c.chart.Button2_Sel_MedClick();
    c.chart.Button1Click();
    QVERIFY(!c.chart.Print1Click());
    QVERIFY(!QFile::exists(QStringLiteral("imagraf.bmp")));
    QVERIFY(!c.chart.range());

    c.chart.ListBox1Click(1);
    QVERIFY(v.Button2_Sel_Med.enabled);
    QVERIFY(!v.ComboBox1Enabled && !v.Button1.enabled);
    c.chart.Button2_Sel_MedClick();
    QVERIFY(v.ComboBox1Enabled && v.Button1.enabled);
    QCOMPARE(v.Edit2.text, QStringLiteral("20"));

    // Another measurement clicked: its picture stays until "Confirmar", and nothing can be
    // drawn on the old scale meanwhile.
    const QImage drawn = c.image();
    c.chart.ListBox1Click(2);
    QVERIFY(!v.ComboBox1Enabled && !v.Button1.enabled);
    c.chart.Button1Click();
    QCOMPARE(c.image(), drawn);
    QCOMPARE(v.Edit2.text, QStringLiteral("20"));

    // Reopening starts over.
    c.chart.Button2_FecharClick();
    QVERIFY(!c.chart.isOpen());
    c.chart.FormShow();
    QCOMPARE(v.ListBox1Index, -1);
    QVERIFY(!v.Print1.enabled && !v.Button2_Sel_Med.enabled && v.Edit1.text.isEmpty());
}

void TestChart::redrawGivesSamePicture() {
    Chart c(20, 2, 40, 2, [](int r) { return std::sin(r) * 3; });
    QList<RecordSet::Row> table;
    for (int r = 0; r < c.s().records().rowCountTotal(); ++r)
        table << c.s().records().row(r);

    const QImage shownEmpty = c.image();
    c.confirm(1);
    const QImage first = c.image();
    c.chart.ComboBox1Change(5);
    c.chart.Button1Click();
    const QImage all = c.image();
    c.confirm(0);
    c.chart.Button1Click();
    c.confirm(1);
    QCOMPARE(c.image(), first);
    c.chart.Button1Click();
    QCOMPARE(c.image(), all);
    c.chart.FormShow();
    QCOMPARE(c.image(), shownEmpty);

    for (int r = 0; r < c.s().records().rowCountTotal(); ++r)
        QCOMPARE(c.s().records().row(r), table.at(r));
}

void TestChart::damagedValue_data() {
    QTest::addColumn<int>("record");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("measurement");
    QTest::addColumn<bool>("refused");

    QTest::newRow("in the window") << 5 << "   12x4   " << 0 << true;
    QTest::newRow("outside the window, still in the extremes") << 50 << "          " << 0 << true;
    QTest::newRow("in another measurement") << 150 << "  ###     " << 0 << false;
}

void TestChart::damagedValue() {
    QFETCH(int, record);
    QFETCH(QString, cell);
    QFETCH(int, measurement);
    QFETCH(bool, refused);

    Chart c(100, 2, 200, 1);
    c.s().records().setCell(c.rowOf(record), 3, cell);
    c.confirm(measurement);
    if (!refused) {
        QVERIFY(c.prompt.messages.isEmpty());
        QVERIFY(countColour(c.image(), ChartPainter::kRed, QRect(75, 75, 496, 251)) > 0);
        return;
    }
    QCOMPARE(c.prompt.messages.size(), 1);
    QVERIFY2(c.prompt.messages.first().contains(QStringLiteral("registro %1 ").arg(record)),
             qPrintable(c.prompt.messages.first()));
    // Nothing is drawn as if the cell held a number: no line, no marks, no labels.
    QCOMPARE(countColour(c.image(), ChartPainter::kRed, QRect(0, 60, 645, 333)), 0);
    QCOMPARE(countColour(c.image(), ChartPainter::kBlack, QRect(70, 70, 520, 260)), 0);
    QVERIFY(c.textsAt(25, 318).isEmpty());
    QVERIFY(!c.view().Button1.enabled && !c.view().ComboBox1Enabled);
}

void TestChart::measurementWithoutRecords() {
    // Three measurements announced, records for two: the third has none to draw.
    Chart c(10, 3, 20, 1);
    c.confirm(2);
    QCOMPARE(c.prompt.messages, QStringList{QStringLiteral("A medição M  03 não tem registros.")});
    QVERIFY(c.view().ComboBox1Items.isEmpty());
    QVERIFY(!c.view().ComboBox1Enabled && !c.view().Button1.enabled);
    QCOMPARE(countColour(c.image(), ChartPainter::kRed, QRect(0, 60, 645, 333)), 0);
    QVERIFY(c.view().Edit1.text.isEmpty() && c.view().Edit2.text.isEmpty());
}

void TestChart::decimalSeparatorsOfFiles() {
    // A file written under other regional settings holds "," in its value cells.
    Chart dot(10, 1, 10, 2, [](int r) { return r * 1.25 - 3; });
    Chart comma(10, 1, 10, 2, [](int r) { return r * 1.25 - 3; });
    for (int r = 1; r <= 10; ++r) {
        QString cell = comma.s().records().cell(comma.rowOf(r), 3);
        comma.s().records().setCell(comma.rowOf(r), 3, cell.replace(u'.', u','));
    }
    QVERIFY(comma.s().records().cell(2, 3).contains(u','));
    dot.confirm(0);
    comma.confirm(0);
    QVERIFY(comma.prompt.messages.isEmpty());
    QCOMPARE(comma.image(), dot.image());
}

void TestChart::pictureFile_data() {
    QTest::addColumn<bool>("allRecords");
    QTest::newRow("window chart") << false;
    QTest::newRow("all-records chart") << true;
}

void TestChart::pictureFile() {
    QFETCH(bool, allRecords);
    Chart c(30, 1, 30, 1);
    c.confirm(0);
    if (allRecords)
        c.chart.Button1Click();
    QFile::remove(QStringLiteral("imagraf.bmp"));
    QVERIFY(c.chart.Print1Click());

    QFile f(QStringLiteral("imagraf.bmp"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    auto le32 = [&](int at) { return qFromLittleEndian<qint32>(b.constData() + at); };
    auto le16 = [&](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
    QVERIFY(b.startsWith("BM"));
    QCOMPARE(le32(2), b.size());
    QVERIFY(le32(14) >= 40);
    QCOMPARE(le32(18), 645);
    QCOMPARE(le32(22), 393);
    const int bits = le16(28);
    QVERIFY(bits == 24 || bits == 32);
    QCOMPARE(le32(30), 0); // no compression
    QCOMPARE(QImage::fromData(b, "BMP").convertToFormat(QImage::Format_RGB32),
             c.image().convertToFormat(QImage::Format_RGB32));

    // A later print replaces it.
    c.chart.ComboBox1Change(3);
    QVERIFY(c.chart.Print1Click());
    QCOMPARE(QImage(QStringLiteral("imagraf.bmp")).convertToFormat(QImage::Format_RGB32),
             c.image().convertToFormat(QImage::Format_RGB32));
}

void TestChart::pictureCannotBeWritten() {
    Chart c(10, 1, 10, 1);
    c.confirm(0);
    // A folder in the way of the file.
    QVERIFY(QDir().mkdir(QStringLiteral("imagraf.bmp")));
    QVERIFY(!c.chart.Print1Click());
    QCOMPARE(c.prompt.messages.size(), 1);
    QVERIFY(c.prompt.messages.first().startsWith(
        QStringLiteral("O arquivo \"%1\" não pode ser gravado: ")
            .arg(QDir::current().absoluteFilePath(QStringLiteral("imagraf.bmp")))));
    QVERIFY(c.prompt.messages.first().endsWith(u'\n'));
    QVERIFY(QFileInfo(QStringLiteral("imagraf.bmp")).isDir());
}

void TestChart::languages_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("p")
        << 'p'
        << QStringList{"Gráfico",         "Todos os registros",     "Imprimir", "Registro inicial",
                       "Último Registro", "Registro final",         "Hora",     "Data",
                       "Registro",        "Menor valor registrado:"};
    QTest::newRow("e") << 'e' << QStringList{"Gráfico",         "Todos os registros",
                                             "Imprimir",        "Registro inicial",
                                             "Ultimo Registro", "Registro final",
                                             "Horas",           "Fecha",
                                             "Registro",        "Valor más bajo registrado:"};
    QTest::newRow("i") << 'i' << QStringList{"Graphic",     "All records",
                                             "print",       "Initial record",
                                             "Last record", "Record end",
                                             "Time",        "Date",
                                             "Record  ",    "Lowest recorded value:"};
}

void TestChart::languages() {
    QFETCH(char, language);
    QFETCH(QStringList, texts);

    Chart c(10, 1, 10, 1, cycleOfTen, language);
    const ChartViewState& v = c.view();
    QCOMPARE((QStringList{v.caption, v.Button1.caption, v.Print1.caption, v.Label1, v.Label2,
                          v.Label3, c.textAt(600, 335), c.textAt(600, 355), c.textAt(600, 375),
                          c.textAt(170, 35)}),
             texts);
    QCOMPARE(v.Label4, QStringLiteral("Seleção da medição:"));
    QCOMPARE(v.Button2_Sel_Med.caption, QStringLiteral("Confirmar"));
    QCOMPARE(v.Button2_Fechar.caption, QStringLiteral("Fechar"));
}

void TestChart::menuItemWhileShown() {
    Chart c(10, 1, 10, 1);
    QVERIFY(c.v().Grafico1.enabled);
    c.s().Grafico1Click();
    QVERIFY(!c.v().Grafico1.enabled);
    c.chart.FormShow();
    c.chart.Button2_FecharClick();
    QVERIFY(c.v().Grafico1.enabled);

    // The record set cleared under the open window (a timer can do that): it stays off.
    c.s().Grafico1Click();
    c.chart.FormShow();
    c.s().table().ClearRecordSet();
    c.chart.Button2_FecharClick();
    QVERIFY(!c.v().Grafico1.enabled);
    // A disabled item opens nothing.
    c.s().Grafico1Click();
    c.chart.FormShow();
    c.chart.Button2_FecharClick();
    QVERIFY(!c.v().Grafico1.enabled);
}

QTEST_MAIN(TestChart)
#include "tst_chart.moc"
