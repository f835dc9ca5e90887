// Statistics and limits over the typed record view, against figures worked out by hand.
#include "analysis/LimitStore.h"
#include "analysis/Statistics.h"
#include "analysis/StatisticsFormat.h"
#include "records/RecordCells.h"
#include "records/RecordView.h"
#include "support/SessionFixture.h"

#include <QBrush>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A record: day/month, time, value cell text.
struct Rec {
    QString date, time, value;
};

using Rows = QList<RecordSet::Row>;

// The rows of measurements, each a separator row and its records, numbered through.
Rows table(const QList<QList<Rec>>& measurements) {
    Rows rows;
    int record = 0;
    for (qsizetype m = 0; m < measurements.size(); ++m) {
        rows << RecordCells::separatorRow(int(m) + 1);
        for (const Rec& r : measurements[m])
            rows << RecordSet::Row{RecordCells::numberText(++record), "  " + r.date + "   ",
                                   " " + r.time + " ", r.value};
    }
    rows << RecordSet::Row{};
    return rows;
}

Statistics statsOf(const Rows& rows, const QString& issueDate, Statistics::Quantity q,
                   const Limits& limits = {}) {
    RecordSet t;
    t.replaceRowsFrom(1, rows);
    return Statistics::of(RecordView::build(t, {issueDate, false, u'.', "BAR"}), q, limits);
}

QString iso(const QDateTime& t) {
    return t.toString(Qt::ISODate).remove(u'Z');
}

const Statistics::Quantity kPressure{false, false};
const Statistics::Quantity kCelsius{true, false};

} // namespace

class TestStatistics : public QObject {
    Q_OBJECT
private slots:
    void summaryOfAMeasurement();
    void yearBoundary();
    void meanKineticTemperature_data();
    void meanKineticTemperature();
    void smallAndDamagedMeasurements();
    void excursions();
    void limitsAsTyped_data();
    void limitsAsTyped();
    void limitsKeptPerQuantityAndUnit();
    void sessionRefusesBadLimitsAndMarksTheGrid();
    void json();
};

void TestStatistics::summaryOfAMeasurement() {
    // Intervals 300, 300, 600 s; mean 44.5 / 4 = 11.125; squares of the deviations
    // 1.265625 + 1.890625 + 2.640625 + 1.890625 = 7.6875, sd = sqrt(7.6875 / 3) = 1.60078.
    const Rows t = table({{{"05/12", "10:00:00", "   0010.0 "},
                           {"05/12", "10:05:00", "   0012.5 "},
                           {"05/12", "10:10:00", "   0009.5 "},
                           {"05/12", "10:20:00", "   0012.5 "}}});
    const Statistics st = statsOf(t, "09/12/2025", kPressure);
    QCOMPARE(st.measurements.size(), 1);
    const Statistics::Summary& s = st.measurements[0];
    QCOMPARE(s.measurement, 1);
    QCOMPARE(s.records, 4);
    QCOMPARE(iso(s.first), QString("2025-12-05T10:00:00"));
    QCOMPARE(iso(s.last), QString("2025-12-05T10:20:00"));
    QCOMPARE(s.spanSeconds, std::optional<qint64>(1200));
    QCOMPARE(s.intervalSeconds, std::optional<qint64>(300));
    QCOMPARE(s.min->value.plain(), QString("9.5"));
    QCOMPARE(s.min->record, 3);
    QCOMPARE(iso(s.min->time), QString("2025-12-05T10:10:00"));
    // The first of two equal maxima.
    QCOMPARE(s.max->value.plain(), QString("12.5"));
    QCOMPARE(s.max->record, 2);
    QCOMPARE(*s.mean, 11.125);
    QVERIFY(qAbs(*s.sd - 1.6007810593582121) < 1e-12);
    QVERIFY(!s.mkt);
    QCOMPARE(st.all.measurement, 0);
    QCOMPARE(st.all.records, 4);
    QVERIFY(!st.firstUnreadable);
}

void TestStatistics::yearBoundary() {
    // Issued on 5 January: a record of 31 December belongs to the year before.
    const Rows t = table({{{"31/12", "23:50:00", "   0001.0 "},
                           {"01/01", "00:10:00", "   0002.0 "},
                           {"01/01", "00:30:00", "   0003.0 "}}});
    const Statistics st = statsOf(t, "05/01/2026", kPressure);
    const Statistics::Summary& s = st.measurements[0];
    QCOMPARE(iso(s.first), QString("2025-12-31T23:50:00"));
    QCOMPARE(iso(s.last), QString("2026-01-01T00:30:00"));
    QCOMPARE(s.spanSeconds, std::optional<qint64>(2400));
    QCOMPARE(s.intervalSeconds, std::optional<qint64>(1200));
}

void TestStatistics::meanKineticTemperature_data() {
    // Expected: 10000 / -ln(mean(exp(-10000 / T))) in kelvin, worked out apart.
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<bool>("fahrenheit");
    QTest::addColumn<QString>("mkt"); // six significant digits; empty: none
    QTest::newRow("20, 25, 30 °C")
        << QStringList{"   0020.0 ", "   0025.0 ", "   0030.0 "} << false << "25.8582";
    QTest::newRow("the same in °F")
        << QStringList{"   0068.0 ", "   0077.0 ", "   0086.0 "} << true << "78.5448";
    QTest::newRow("below zero") << QStringList{"  -0010.0 ", "  -0005.0 "} << false << "-7.08896";
    QTest::newRow("one value is the value") << QStringList{"   0021.5 "} << false << "21.5";
    QTest::newRow("the unit's lowest value is below absolute zero")
        << QStringList{"   0020.0 ", "  -3276.8 "} << false << "";
}

void TestStatistics::meanKineticTemperature() {
    QFETCH(QStringList, cells);
    QFETCH(bool, fahrenheit);
    QFETCH(QString, mkt);
    QList<Rec> records;
    for (const QString& c : cells)
        records << Rec{"05/12", QString("10:%1:00").arg(records.size(), 2, 10, QChar('0')), c};
    const Statistics st = statsOf(table({records}), "09/12/2025", {true, fahrenheit});
    const Statistics::Summary& s = st.measurements[0];
    QCOMPARE(s.mkt ? QString::number(*s.mkt, 'g', 6) : QString(), mkt);
    QCOMPARE(st.all.mkt.has_value(), s.mkt.has_value());
}

void TestStatistics::smallAndDamagedMeasurements() {
    const Rows t = table({{{"05/12", "10:00:00", "   0007.0 "}}, // one record
                          {},                                    // none
                          {{"05/12", "11:00:00", "   0004.0 "},  // equal values
                           {"05/12", "11:01:00", "   0004.0 "},
                           {"05/12", "11:02:00", "   xx.x   "}, // damaged
                           {"05/12", "11:03:00", "   0004.0 "}}});
    const Statistics st = statsOf(t, "09/12/2025", kCelsius);
    QCOMPARE(st.measurements.size(), 3);

    const Statistics::Summary& one = st.measurements[0];
    QCOMPARE(one.records, 1);
    QCOMPARE(one.spanSeconds, std::optional<qint64>(0));
    QVERIFY(!one.intervalSeconds);
    QCOMPARE(*one.mean, 7.0);
    QVERIFY(!one.sd);

    const Statistics::Summary& none = st.measurements[1];
    QCOMPARE(none.measurement, 2);
    QCOMPARE(none.records, 0);
    QVERIFY(!none.first.isValid() && !none.min && !none.mean && !none.sd && !none.mkt);

    const Statistics::Summary& flat = st.measurements[2];
    QCOMPARE(flat.records, 3);
    QCOMPARE(*flat.sd, 0.0);
    QVERIFY(qAbs(*flat.mkt - 4.0) < 1e-9);
    QCOMPARE(flat.intervalSeconds, std::optional<qint64>(60));
    QVERIFY(st.firstUnreadable);
    QCOMPARE(st.firstUnreadable->record, std::optional<int>(4));
    RecordSet grid;
    grid.replaceRowsFrom(1, t);
    QCOMPARE(StatisticsFormat::unreadable(st, grid, "%1 \"%2\""), QString("4 \"xx.x\""));

    QCOMPARE(st.all.records, 4);
    QCOMPARE(*st.all.mean, 4.75);
}

void TestStatistics::excursions() {
    // Measurement 1 every 60 s: 5 15 16 5 17 5; measurement 2 every 120 s: 12 12 3.
    const Rows t = table({{{"05/12", "10:00:00", "   0005.0 "},
                           {"05/12", "10:01:00", "   0015.0 "},
                           {"05/12", "10:02:00", "   0016.0 "},
                           {"05/12", "10:03:00", "   0005.0 "},
                           {"05/12", "10:04:00", "   0017.0 "},
                           {"05/12", "10:05:00", "   0005.0 "}},
                          {{"04/12", "08:00:00", "   0012.0 "},
                           {"04/12", "08:02:00", "   0012.0 "},
                           {"04/12", "08:04:00", "   0003.0 "}}});
    // A value on a limit is inside.
    const Statistics st = statsOf(t, "09/12/2025", kPressure, {5.0, 10.0});
    const Statistics::Summary& m1 = st.measurements[0];
    QCOMPARE(m1.below->records, 0);
    QCOMPARE(m1.below->excursions, 0);
    QCOMPARE(m1.below->seconds, std::optional<qint64>(0));
    QVERIFY(!m1.below->firstTime.isValid());
    QCOMPARE(m1.above->records, 3);
    QCOMPARE(m1.above->excursions, 2);
    QCOMPARE(m1.above->seconds, std::optional<qint64>(180));
    QCOMPARE(iso(m1.above->firstTime), QString("2025-12-05T10:01:00"));

    const Statistics::Summary& m2 = st.measurements[1];
    QCOMPARE(m2.above->records, 2);
    QCOMPARE(m2.above->excursions, 1);
    QCOMPARE(m2.above->seconds, std::optional<qint64>(240));
    QCOMPARE(m2.below->records, 1);
    QCOMPARE(iso(m2.below->firstTime), QString("2025-12-04T08:04:00"));

    QCOMPARE(st.all.above->records, 5);
    QCOMPARE(st.all.above->excursions, 3);
    QCOMPARE(st.all.above->seconds, std::optional<qint64>(420));
    QCOMPARE(iso(st.all.above->firstTime), QString("2025-12-04T08:00:00"));
    QCOMPARE(st.all.below->records, 1);

    // Only the limit that is set gives a side.
    const Statistics upperOnly = statsOf(t, "09/12/2025", kPressure, {std::nullopt, 10.0});
    QVERIFY(!upperOnly.all.below && upperOnly.all.above);
}

void TestStatistics::limitsAsTyped_data() {
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<int>("problem");
    QTest::addColumn<double>("lowerValue"); // NaN: none
    using P = Limits::Problem;
    const double none = qQNaN();
    QTest::newRow("none") << ""
                          << "  " << int(P::None) << none;
    QTest::newRow("decimal comma") << "-1,5"
                                   << "2.25" << int(P::None) << -1.5;
    QTest::newRow("equal limits") << "3"
                                  << "3" << int(P::None) << 3.0;
    QTest::newRow("lower not a number") << "abc"
                                        << "2" << int(P::LowerNotANumber) << none;
    QTest::newRow("upper not a number") << "1"
                                        << "1e3" << int(P::UpperNotANumber) << none;
    QTest::newRow("lower above upper") << "5"
                                       << "4.9" << int(P::LowerAboveUpper) << none;
}

void TestStatistics::limitsAsTyped() {
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(int, problem);
    QFETCH(double, lowerValue);
    const Limits::Parsed p = Limits::parse(lower, upper, u'.');
    QCOMPARE(int(p.problem), problem);
    QCOMPARE(p.limits.lower.has_value(), !qIsNaN(lowerValue));
    if (p.limits.lower)
        QCOMPARE(*p.limits.lower, lowerValue);
    if (p.problem != Limits::Problem::None)
        QVERIFY(!p.limits.any());
}

void TestStatistics::limitsKeptPerQuantityAndUnit() {
    QTemporaryDir dir;
    const QString path = dir.filePath("limits.ini");
    {
        LimitStore store(path);
        QVERIFY(store.put(1, 3, {1.5, 7.25}));          // pressure, PSI
        QVERIFY(store.put(2, 1, {std::nullopt, -2.5})); // temperature, °C
    }
    const LimitStore again(path);
    QCOMPARE(again.get(1, 3), (Limits{1.5, 7.25}));
    QCOMPARE(again.get(3, 7), (Limits{std::nullopt, -2.5})); // types 2 and 3 alike, any °C
    QCOMPARE(again.get(2, 0), Limits{});                     // °F has none
    QCOMPARE(again.get(1, 0), Limits{});                     // another pressure unit

    // A file where the folder should be.
    QFile blocker(dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    LimitStore unwritable(dir.filePath("blocker/limits.ini"));
    QVERIFY(!unwritable.put(4, 0, {1.0, 2.0}));
}

void TestStatistics::sessionRefusesBadLimitsAndMarksTheGrid() {
    SessionFixture f('i');
    f.s().FormShow();
    RecordSet& grid = f.s().records();
    const Rows t = table({{{"05/12", "10:00:00", "   0005.0 "},
                           {"05/12", "10:01:00", "   0015.0 "},
                           {"05/12", "10:02:00", "   0010.0 "}}});
    grid.replaceRowsFrom(1, t);

    auto colourOf = [&](int row) {
        return grid.data(grid.index(row - 1, 3), Qt::ForegroundRole).value<QBrush>().color();
    };
    QVERIFY(f.s().setLimits("6", "10"));
    QCOMPARE(f.s().limits(), (Limits{6.0, 10.0}));
    QCOMPARE(colourOf(2), QColor(0, 0, 255));                            // 5 below
    QCOMPARE(colourOf(3), QColor(255, 0, 0));                            // 15 above
    QVERIFY(!grid.data(grid.index(3, 3), Qt::ForegroundRole).isValid()); // 10 on the limit
    QVERIFY(!grid.data(grid.index(1, 0), Qt::ForegroundRole).isValid()); // only the value cell

    QVERIFY(!f.s().setLimits("x", "10"));
    QVERIFY(!f.s().setLimits("11", "10"));
    QCOMPARE(f.prompt.messages, (QStringList{"The lower limit \"x\" is not a number.",
                                             "The lower limit is above the upper limit."}));
    QCOMPARE(f.s().limits(), (Limits{6.0, 10.0}));
    QVERIFY(QFile::exists(LimitStore::kName));

    QVERIFY(f.s().setLimits("", ""));
    QVERIFY(!grid.data(grid.index(1, 3), Qt::ForegroundRole).isValid());
}

void TestStatistics::json() {
    const Rows t = table({{{"05/12", "10:00:00", "   0012.5 "},
                           {"05/12", "10:01:00", "  -0001.2 "},
                           {"05/12", "10:02:00", "   0003.0 "}},
                          {}});
    const Statistics st = statsOf(t, "09/12/2025", kCelsius, {0.0, std::nullopt});
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(StatisticsFormat::json(st), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject root = doc.object();
    QCOMPARE(root.keys(), (QStringList{"all", "measurements", "unit"}));
    QCOMPARE(root["unit"].toString(), QString("BAR"));
    const QJsonArray ms = root["measurements"].toArray();
    QCOMPARE(ms.size(), 2);
    const QJsonObject m1 = ms[0].toObject();
    QCOMPARE(m1["measurement"].toInt(), 1);
    QCOMPARE(m1["records"].toInt(), 3);
    QCOMPARE(m1["first"].toString(), QString("2025-12-05T10:00:00"));
    QCOMPARE(m1["span_s"].toInt(), 120);
    QCOMPARE(m1["interval_s"].toInt(), 60);
    QCOMPARE(m1["min"].toDouble(), -1.2);
    QCOMPARE(m1["min_record"].toInt(), 2);
    QCOMPARE(m1["max"].toDouble(), 12.5);
    // (12.5 - 1.2 + 3) / 3 = 4.7666..., to six digits.
    QCOMPARE(m1["mean"].toDouble(), 4.76667);
    QVERIFY(m1["mkt"].isDouble());
    QCOMPARE(m1["below"].toObject()["records"].toInt(), 1);
    QCOMPARE(m1["below"].toObject()["duration_s"].toInt(), 60);
    QCOMPARE(m1["below"].toObject()["first_time"].toString(), QString("2025-12-05T10:01:00"));
    QVERIFY(!m1.contains("above"));
    const QJsonObject m2 = ms[1].toObject();
    QCOMPARE(m2["records"].toInt(), 0);
    for (const char* key : {"first", "span_s", "min", "min_time", "mean", "sd", "mkt"})
        QVERIFY2(m2[key].isNull(), key);
    QCOMPARE(root["all"].toObject()["measurement"].toInt(), 0);

    // The values keep the cell's decimals in the text itself.
    QVERIFY(StatisticsFormat::json(st).contains("\"max\": 12.5,"));
    const QString text = StatisticsFormat::text(st);
    QVERIFY(text.startsWith("unit: BAR\n\nmeasurement: 1\nrecords: 3\n"));
    QVERIFY(text.contains("\nmeasurement: 2\nrecords: 0\nfirst: -\n"));
    QVERIFY(text.contains("\nmeasurement: all\n"));
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
