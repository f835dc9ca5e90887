// The record table of the session: logger description, filling from a records reply,
// replies cut short and records that cannot be converted.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "records/MeasurementUnits.h"
#include "records/RecordCells.h"
#include "support/FakeTransport.h"
#include "support/RecordingPrompt.h"
#include "support/Replies.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

using Record = Replies::Record;

// A valid record for every index (the date stays within 28 days, so it is valid in any year).
Record plainRecord(int i) {
    return {1 + i % 28, 1 + i % 12, i % 24, i % 60, (i * 7) % 60, quint16(i * 37)};
}

// A records reply; `length` replaces the length it announces.
QByteArray reply(const QList<Record>& records, int length = -1) {
    return Replies::records(records, length);
}

QList<Record> plainRecords(int n) {
    QList<Record> out;
    for (int i = 0; i < n; ++i)
        out << plainRecord(i);
    return out;
}

struct Fixture {
    explicit Fixture(char language = 'p', Regional regional = {}, int year = 2025) {
        auto t = std::make_unique<FakeTransport>(&log);
        session = std::make_unique<MainSession>(
            MainSession::Services{time, clock, prompt, std::move(t), regional});
        clock.set(QDateTime(QDate(year, 12, 9), QTime(14, 5, 30)));
        session->controls().UiLanguage = language;
        session->table().ClearRecordSet();
    }

    // As a connection does it: the configuration reply, then a fresh download.
    void configure(int perMeasurement, int stored, int decimals = 1) {
        LoggerInfo& info = session->table().loggerInfo;
        info.measurementType = 1;
        info.unitCode = 0;
        info.decimalsCode = decimals;
        info.recordsPerMeasurement = perMeasurement;
        info.storedMeasurements = stored;
        info.configuredMeasurements = stored;
        session->table().ShowLoggerInfo();
        session->table().fill = {};
    }

    // Appends from a buffer exactly `received` bytes long, so that reading past it is caught
    // by the address sanitizer.
    bool append(const QByteArray& bytes, int received = -1) {
        if (received < 0)
            received = int(bytes.size());
        auto exact = std::make_unique<uint8_t[]>(size_t(std::max(received, 1)));
        std::copy_n(bytes.constData(), std::min<qsizetype>(received, bytes.size()), exact.get());
        const uint32_t length = uint8_t(bytes[3]) << 8 | uint8_t(bytes[4]);
        return session->table().AppendRecords(exact.get(), length, uint32_t(received));
    }

    // One token a table row from row 1: "M0001" separator, "R0001" record, "-" empty.
    QStringList layout() const {
        QStringList out;
        const RecordSet& r = session->records();
        for (int row = 1; row < r.rowCountTotal(); ++row) {
            const RecordSet::Row& cells = r.row(row);
            if (cells[0] == QLatin1String("   M      "))
                out << "M" + cells[1].trimmed();
            else if (cells == RecordSet::Row{})
                out << "-";
            else
                out << "R" + cells[0].trimmed();
        }
        return out;
    }

    ManualClock time;
    FixedClock clock{QDateTime()};
    RecordingPrompt prompt;
    FakeTransport::Log log;
    std::unique_ptr<MainSession> session;
};

QStringList header(char language) {
    switch (language) {
    case 'e':
        return {"  REG.    ", "   FECHA  ", "  HORAS  "};
    case 'i':
        return {"  REC.    ", "  DATE    ", "   TIME   "};
    default:
        return {"  REG.    ", "   DATA   ", "   HORA   "};
    }
}

} // namespace

Q_DECLARE_METATYPE(Record)
Q_DECLARE_METATYPE(Regional)

class TestRecordTable : public QObject {
    Q_OBJECT
private slots:
    void showLoggerInfo_data();
    void showLoggerInfo();
    void everyValueHeaderIsSixteenWide();
    void unknownCodesKeepTexts_data();
    void unknownCodesKeepTexts();
    void layout_data();
    void layout();
    void recordRowTexts_data();
    void recordRowTexts();
    void replyCutShort_data();
    void replyCutShort();
    void unconvertibleRecord_data();
    void unconvertibleRecord();
};

void TestRecordTable::showLoggerInfo_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<QString>("unitText");
    QTest::addColumn<QString>("valueHeader");
    QTest::newRow("p pressure BAR") << 'p' << 1 << 0 << "PRESSÃO"
                                    << "BAR"
                                    << " VALOR (BAR)    ";
    QTest::newRow("e pressure, type 0, N") << 'e' << 0 << 8 << "PRESIÓN"
                                           << "N"
                                           << " VALOR ( N )    ";
    QTest::newRow("i pressure KGF/cm²") << 'i' << 1 << 2 << "PRESSURE"
                                        << "KGF/cm²"
                                        << " VALUE (KGF/cm²)";
    QTest::newRow("p pressure mBAR from a file") << 'p' << 1 << -1 << "PRESSÃO"
                                                 << "mBAR"
                                                 << " VALOR (mBAR)   ";
    QTest::newRow("i pressure mmH2O") << 'i' << 1 << 6 << "PRESSURE"
                                      << "mmH2O"
                                      << " VALUE (mmH2O)  ";
    QTest::newRow("p temperature ºF") << 'p' << 2 << 0 << "TEMPERATURA"
                                      << "ºF"
                                      << " VALOR (ºF)     ";
    QTest::newRow("p type 3 is type 2") << 'p' << 3 << 0 << "TEMPERATURA"
                                        << "ºF"
                                        << " VALOR (ºF)     ";
    QTest::newRow("i type 3 ºC") << 'i' << 3 << 1 << "TEMPERATURE"
                                 << "ºC"
                                 << " VALUE (ºC)     ";
    QTest::newRow("e any other code is ºC") << 'e' << 2 << 200 << "TEMPERATURA"
                                            << "ºC"
                                            << " VALOR (ºC)     ";
    QTest::newRow("p humidity padded") << 'p' << 4 << 9 << "UMIDADE    "
                                       << "% "
                                       << " VALOR (%)      ";
    QTest::newRow("e humidity padded") << 'e' << 4 << 0 << "HUMEDAD    "
                                       << "% "
                                       << " VALOR (%)      ";
    QTest::newRow("i humidity padded") << 'i' << 4 << 3 << "HUMIDITY   "
                                       << "% "
                                       << " VALUE (%)      ";
}

void TestRecordTable::showLoggerInfo() {
    QFETCH(char, language);
    QFETCH(int, type);
    QFETCH(int, unit);
    QFETCH(QString, typeText);
    QFETCH(QString, unitText);
    QFETCH(QString, valueHeader);
    Fixture f(language);
    MainSession& s = *f.session;
    RecordSet& r = s.records();
    r.setRowCountTotal(6);
    r.setRow(1, RecordCells::separatorRow(1));
    s.table().loggerInfo = {1, type, unit, 0, 0, 4321, 300, 5, 2};
    QSignalSpy changed(&s, &MainSession::viewChanged);

    s.table().ShowLoggerInfo();

    const MainViewState& v = s.view();
    QCOMPARE(v.Label13, typeText);
    QCOMPARE(v.Label14, unitText);
    const RecordSet::Row& h = r.row(0);
    QCOMPARE(QStringList(h.begin(), h.end()), header(language) << valueHeader);
    QCOMPARE(v.Label17, "300");
    QCOMPARE(v.Label18, "2/5");
    QCOMPARE(v.Label19, "4321");
    QCOMPARE(s.table().TForm3.Edit2, "300");
    QCOMPARE(s.table().TForm3.Edit1, "5");
    QVERIFY(v.StringGrid1Enabled);
    QCOMPARE(r.rowCountTotal(), 2);
    QCOMPARE(r.row(1), RecordSet::Row{});
    QVERIFY(!changed.isEmpty());
}

void TestRecordTable::everyValueHeaderIsSixteenWide() {
    for (char language : {'p', 'e', 'i'})
        for (int type = 1; type <= 4; ++type)
            for (int unit = -1; unit <= 8; ++unit) {
                const auto texts = MeasurementUnits::unitTexts(type, unit, language);
                QVERIFY(texts);
                QCOMPARE(texts->valueHeader.size(), 16);
                QVERIFY(texts->valueHeader.startsWith(language == 'i' ? " VALUE (" : " VALOR ("));
            }
}

void TestRecordTable::unknownCodesKeepTexts_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<QString>("unitText");
    QTest::addColumn<QString>("valueHeader");
    // The panel shows a temperature in ºC beforehand.
    QTest::newRow("type 7") << 7 << 3 << "TEMPERATURA"
                            << "ºC"
                            << " VALOR (ºC)     ";
    QTest::newRow("type 5") << 5 << 0 << "TEMPERATURA"
                            << "ºC"
                            << " VALOR (ºC)     ";
    QTest::newRow("type 255") << 255 << 1 << "TEMPERATURA"
                              << "ºC"
                              << " VALOR (ºC)     ";
    QTest::newRow("pressure, unit 9") << 1 << 9 << "PRESSÃO"
                                      << "ºC"
                                      << " VALOR (ºC)     ";
    QTest::newRow("pressure, unit -2") << 0 << -2 << "PRESSÃO"
                                       << "ºC"
                                       << " VALOR (ºC)     ";
}

void TestRecordTable::unknownCodesKeepTexts() {
    QFETCH(int, type);
    QFETCH(int, unit);
    QFETCH(QString, typeText);
    QFETCH(QString, unitText);
    QFETCH(QString, valueHeader);
    Fixture f;
    MainSession& s = *f.session;
    s.table().loggerInfo = {1, 2, 1, 0, 0, 10, 20, 3, 1};
    s.table().ShowLoggerInfo();
    s.table().loggerInfo = {1, type, unit, 0, 0, 77, 120, 9, 8};
    s.table().ShowLoggerInfo();
    const MainViewState& v = s.view();
    QCOMPARE(v.Label13, typeText);
    QCOMPARE(v.Label14, unitText);
    QCOMPARE(s.records().cell(0, 3), valueHeader);
    QCOMPARE(v.Label17, "120");
    QCOMPARE(v.Label18, "8/9");
    QCOMPARE(v.Label19, "77");
    QCOMPARE(s.table().TForm3.Edit2, "120");
    QCOMPARE(s.table().TForm3.Edit1, "9");
}

void TestRecordTable::layout_data() {
    QTest::addColumn<int>("perMeasurement");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("records");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("3 x 2, five records")
        << 3 << 2 << 5
        << QStringList{"M0001", "R0001", "R0002", "R0003", "M0002", "R0004", "R0005", "-"};
    QTest::newRow("3 x 2, three records: second separator after the last")
        << 3 << 2 << 3 << QStringList{"M0001", "R0001", "R0002", "R0003", "M0002", "-"};
    QTest::newRow("five bytes: no row at all") << 3 << 2 << 0 << QStringList{"-"};
    QTest::newRow("more records than 2 x 2: the rest stay in the last")
        << 2 << 2 << 7 << QStringList{"M0001", "R0001", "R0002", "M0002", "R0003",
                                      "R0004", "R0005", "R0006", "R0007", "-"};
    QTest::newRow("1 x 3") << 1 << 3 << 3 << QStringList{"M0001", "R0001", "M0002", "R0002",
                                                         "M0003", "R0003", "-"};
    QTest::newRow("nothing stored: one separator")
        << 3 << 0 << 2 << QStringList{"M0001", "R0001", "R0002", "-"};
}

void TestRecordTable::layout() {
    QFETCH(int, perMeasurement);
    QFETCH(int, stored);
    QFETCH(int, records);
    QFETCH(QStringList, rows);
    Fixture f;
    f.configure(perMeasurement, stored);
    QVERIFY(f.append(reply(plainRecords(records))));
    QCOMPARE(f.layout(), rows);
    const FillState& fill = f.session->table().fill;
    QCOMPARE(fill.rowsWritten, rows.size() - 1);
    QCOMPARE(fill.lastRecordNumber, records);
    QCOMPARE(fill.lastMeasurementNumber, int(rows.filter(QRegularExpression("^M")).size()));
}

void TestRecordTable::recordRowTexts_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<Regional>("regional");
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::newRow("p") << 'p' << Regional{u'/', u':', u'.'}
                       << QStringList{"  0001    ", "  05/12   ", " 08:03:09 ", "   0123.4 "}
                       << QStringList{"  0002    ", "  29/02   ", " 23:59:59 ", "  -0012.3 "};
    QTest::newRow("e") << 'e' << Regional{u'/', u':', u'.'}
                       << QStringList{"  0001    ", "  05/12   ", " 08:03:09 ", "   0123.4 "}
                       << QStringList{"  0002    ", "  29/02   ", " 23:59:59 ", "  -0012.3 "};
    QTest::newRow("i, other separators")
        << 'i' << Regional{u'-', u'.', u','}
        << QStringList{"  0001    ", "  12-05   ", " 08.03.09 ", "   0123,4 "}
        << QStringList{"  0002    ", "  02-29   ", " 23.59.59 ", "  -0012,3 "};
}

void TestRecordTable::recordRowTexts() {
    QFETCH(char, language);
    QFETCH(Regional, regional);
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    Fixture f(language, regional, 2024);
    MainSession& s = *f.session;
    f.configure(10, 1);
    s.Edit3Change("title");
    s.Edit4Change("objective");
    QSignalSpy reset(&s.records(), &QAbstractItemModel::modelReset);
    QSignalSpy changed(&s, &MainSession::viewChanged);

    QVERIFY(f.append(reply({{5, 12, 8, 3, 9, 1234}, {29, 2, 23, 59, 59, 0xFF85}})));

    const RecordSet& r = s.records();
    QCOMPARE(r.rowCountTotal(), 5);
    const auto texts = [&](int row) { return QStringList(r.row(row).begin(), r.row(row).end()); };
    QCOMPARE(texts(2), first);
    QCOMPARE(texts(3), second);
    QCOMPARE(r.data(r.index(1, 3)).toString(), first[3]); // what the grid shows
    QCOMPARE(reset.size(), 1);
    const MainViewState& v = s.view();
    QVERIFY(v.Edit1.text.isEmpty() && v.Edit3.text.isEmpty() && v.Edit4.text.isEmpty());
    QVERIFY(v.StringGrid1Enabled);
    QVERIFY(!changed.isEmpty());
    QVERIFY(f.prompt.messages.isEmpty());
}

void TestRecordTable::replyCutShort_data() {
    QTest::addColumn<int>("records"); // records in the bytes handed over
    QTest::addColumn<int>("length");  // what bytes 3-4 announce
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("decoded");
    QTest::addColumn<bool>("complete");
    QTest::newRow("all there") << 10 << 75 << 75 << 10 << true;
    QTest::newRow("last record half there") << 10 << 75 << 71 << 9 << false;
    QTest::newRow("header only") << 10 << 75 << 5 << 0 << false;
    QTest::newRow("not even the header") << 10 << 75 << 3 << 0 << false;
    QTest::newRow("trailing bytes after the records") << 3 << 30 << 30 << 3 << true;
    QTest::newRow("more received than announced") << 10 << 26 << 75 << 3 << true;
    QTest::newRow("announces more than the buffer holds")
        << 3713 << 0xFFFF << 26000 << 3713 << false;
    QTest::newRow("announces and holds more than the buffer")
        << 4000 << 0xFFFF << 28005 << 3713 << false;
}

void TestRecordTable::replyCutShort() {
    QFETCH(int, records);
    QFETCH(int, length);
    QFETCH(int, received);
    QFETCH(int, decoded);
    QFETCH(bool, complete);
    Fixture f;
    f.configure(5000, 1);
    QByteArray bytes = reply(plainRecords(records), length);
    bytes.append(QByteArray(std::max(0, received - int(bytes.size())), '\x01'));

    QCOMPARE(f.append(bytes, received), complete);

    const FillState& fill = f.session->table().fill;
    QCOMPARE(fill.lastRecordNumber, decoded);
    QCOMPARE(fill.rowsWritten, decoded > 0 ? decoded + 1 : 0);
    const RecordSet& r = f.session->records();
    QCOMPARE(r.rowCountTotal(), fill.rowsWritten + 2);
    QCOMPARE(r.row(r.rowCountTotal() - 1), RecordSet::Row{});
    if (decoded > 0)
        QCOMPARE(r.cell(decoded + 1, 0), RecordCells::numberText(decoded));
    QVERIFY(f.session->view().StringGrid1Enabled);
}

void TestRecordTable::unconvertibleRecord_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<int>("year");
    QTest::addColumn<Record>("bad");
    QTest::addColumn<QString>("message"); // empty: the record is fine
    QTest::addColumn<QStringList>("partial");
    const QStringList numberOnly{"  0004    ", "", "", ""};
    QTest::newRow("day 0") << 'p' << 2025 << Record{0, 12, 1, 2, 3, 5}
                           << "Registro 4: dia 0 do mês 12 não é uma data válida. Os registros "
                              "seguintes não foram carregados."
                           << numberOnly;
    QTest::newRow("month 13") << 'e' << 2025 << Record{1, 13, 1, 2, 3, 5}
                              << "Registro 4: el día 1 del mes 13 no es una fecha válida. Los "
                                 "registros siguientes no se cargaron."
                              << numberOnly;
    QTest::newRow("29 February, common year")
        << 'i' << 2025 << Record{29, 2, 1, 2, 3, 5}
        << "Record 4: day 29 of month 2 is not a valid date. The records after it were not "
           "loaded."
        << numberOnly;
    QTest::newRow("31 April") << 'p' << 2024 << Record{31, 4, 1, 2, 3, 5}
                              << "Registro 4: dia 31 do mês 4 não é uma data válida. Os "
                                 "registros seguintes não foram carregados."
                              << numberOnly;
    QTest::newRow("hour 24") << 'p' << 2025 << Record{9, 12, 24, 0, 0, 5}
                             << "Registro 4: 24:00:00 não é uma hora válida. Os registros "
                                "seguintes não foram carregados."
                             << QStringList{"  0004    ", "  09/12   ", "", ""};
    QTest::newRow("minute 60") << 'i' << 2025 << Record{9, 12, 1, 60, 0, 5}
                               << "Record 4: 01:60:00 is not a valid time. The records after it "
                                  "were not loaded."
                               << QStringList{"  0004    ", "  12/09   ", "", ""};
    QTest::newRow("second 60") << 'e' << 2025 << Record{9, 12, 1, 2, 60, 5}
                               << "Registro 4: 01:02:60 no es una hora válida. Los registros "
                                  "siguientes no se cargaron."
                               << QStringList{"  0004    ", "  09/12   ", "", ""};
    QTest::newRow("29 February, leap year")
        << 'p' << 2024 << Record{29, 2, 1, 2, 3, 5} << "" << QStringList{};
}

void TestRecordTable::unconvertibleRecord() {
    QFETCH(char, language);
    QFETCH(int, year);
    QFETCH(Record, bad);
    QFETCH(QString, message);
    QFETCH(QStringList, partial);
    Fixture f(language, {}, year);
    MainSession& s = *f.session;
    f.configure(2, 3);
    s.Edit3Change("title");
    QList<Record> records = plainRecords(3);
    records << bad << plainRecord(4);

    s.guarded([&] { f.append(reply(records)); });

    if (message.isEmpty()) {
        QVERIFY(f.prompt.messages.isEmpty());
        QCOMPARE(f.layout(), (QStringList{"M0001", "R0001", "R0002", "M0002", "R0003", "R0004",
                                          "M0003", "R0005", "-"}));
        return;
    }
    QCOMPARE(f.prompt.messages, QStringList{message});
    const RecordSet& r = s.records();
    QCOMPARE(f.layout().mid(0, 5), (QStringList{"M0001", "R0001", "R0002", "M0002", "R0003"}));
    QCOMPARE(s.table().fill.rowsWritten, 5);
    QCOMPARE(r.rowCountTotal(), 7);
    QCOMPARE(QStringList(r.row(6).begin(), r.row(6).end()), partial);
    // The end of the download's handling did not run.
    QCOMPARE(s.view().Edit3.text, "title");
}

QTEST_GUILESS_MAIN(TestRecordTable)
#include "tst_recordtable.moc"
