#include "app/ManualClock.h"
#include "protocol/LoggerFrame.h"
#include "protocol/LoggerReply.h"
#include "sim/SimulatedBoard.h"

#include <QDate>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

const QByteArray kAddress = "A4C1380B9F21";
// The configuration reply of the default logger: 2 measurements of 10 records stored, 5
// configured, pressure in BAR with one decimal, range 100, equipment 1234, first record
// 14/03 08:00:00, interval 00:01:00, fixed mode.
const QByteArray kDefaultConfigHex =
    "1a 31 02 00 91 01 01 00 00 00 64 04 d2 08 00 00 0e 03 00 00 01 00 00 0a 01 05";

constexpr int32_t kOk = SerialTransport::Ok;
constexpr int32_t kInvalidHandle = SerialTransport::InvalidHandle;
constexpr int32_t kDeviceNotFound = SerialTransport::DeviceNotFound;
constexpr int32_t kIoError = SerialTransport::IoError;

// A command frame with a code or parameter the logger does not know.
QByteArray frame(char code, char parameter = 0) {
    return LoggerFrame::command(LoggerFrame::Code(code), parameter);
}

QString hex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' '));
}

// A board on a virtual clock, opened like the program opens the interface.
struct Rig {
    ManualClock clock;
    std::optional<SimulatedBoard> board;
    QString error;

    explicit Rig(const QStringList& arguments = {}) {
        const std::optional<SimOptions> options = SimOptions::parse(arguments, &error);
        if (!options)
            return;
        board.emplace(clock, *options);
        if (!options->openFails)
            board->open(0);
    }
    bool ok() const { return board.has_value(); }

    uint32_t waiting() {
        uint32_t n = 0;
        board->queueStatus(&n);
        return n;
    }
    QByteArray drain() {
        QByteArray bytes(qsizetype(waiting()), '\0');
        uint32_t got = 0;
        board->read(bytes.data(), uint32_t(bytes.size()), &got);
        bytes.truncate(got);
        return bytes;
    }
    int32_t send(const QByteArray& bytes) {
        uint32_t written = 0;
        return board->write(bytes, &written);
    }
    // Writes a block and returns everything that arrives within waitMs.
    QByteArray exchange(const QByteArray& bytes, qint64 waitMs = 1000) {
        if (send(bytes) != SerialTransport::Ok)
            return "<write failed>";
        clock.advance(waitMs);
        return drain();
    }
};

#define MAKE_RIG(name, ...)                                                                        \
    Rig name(__VA_ARGS__);                                                                         \
    QVERIFY2(name.ok(), qPrintable(name.error))

// The records of a records reply, as the program decodes them: L from bytes 3-4, 7-byte
// records after.
std::vector<LoggerReply::Record> decodeRecords(const QByteArray& reply) {
    std::vector<LoggerReply::Record> out;
    const auto* bytes = reinterpret_cast<const uint8_t*>(reply.constData());
    const qsizetype length = LoggerReply::recordsLength(bytes);
    for (qsizetype p = LoggerReply::kRecordsHeaderLength;
         p + LoggerReply::kRecordLength <= std::min(length, reply.size());
         p += LoggerReply::kRecordLength)
        out.push_back(LoggerReply::record(bytes + p));
    return out;
}

} // namespace

class TestSimulatedBoard : public QObject {
    Q_OBJECT

private slots:
    void parseAcceptsBothForms();
    void parseRejects_data();
    void parseRejects();

    void moduleCommands_data();
    void moduleCommands();
    void connectionTakesEffectWhenReported();

    void loggerReplies_data();
    void loggerReplies();
    void configurationReplyCarriesOptions();
    void configurationAnnouncesRecordsReply_data();
    void configurationAnnouncesRecordsReply();
    void recordCalendar_data();
    void recordCalendar();
    void recordValues_data();
    void recordValues();
    void recordsAreSeeded();
    void configurationFrameChangesReport();
    void clearErasesRecords();
    void recordingSwitch();

    void pacing_data();
    void pacing();
    void repliesQueueOneAfterAnother();
    void nextActivityFollowsTheWire();
    void purgeDropsOnlyArrivedBytes();

    void closedBoardRefusesEverything();
    void openFailure();
    void writeFailureAfterN();
    void faultyReplies_data();
    void faultyReplies();
    void splitRepliesFallAcrossPollTicks_data();
    void splitRepliesFallAcrossPollTicks();
    void unsolicitedLost();
    void oversizeRecordsReply();
    void blocksAreLoggedWithTimes();
};

void TestSimulatedBoard::parseAcceptsBothForms() {
    QString error;
    const auto o =
        SimOptions::parse({"--type", "2", "--unit=1", "--drop", "7", "--drop=at", "--truncate",
                           "1:20", "--split=2:250", "--negative", "--conn-fail", "f",
                           "--interval=00:00:10", "--start-date", "29/12", "--linked", "A1B2"},
                          &error);
    QVERIFY2(o, qPrintable(error));
    QCOMPARE(o->measurementType, 2);
    QCOMPARE(o->unitCode, 1);
    QCOMPARE(o->dropped, QByteArray("7A"));
    QCOMPARE(o->truncated.value('1'), 20);
    QCOMPARE(o->splitGapMs.value('2'), 250);
    QVERIFY(o->negativeValues);
    QCOMPARE(o->connResult, QStringLiteral("OK+CONNF"));
    QCOMPARE(o->intervalSeconds, 10);
    QCOMPARE(o->startDay, 29);
    QCOMPARE(o->startMonth, 12);
    QCOMPARE(o->linkedAtStart, QStringLiteral("A1B2"));
    // Every option the parser knows is in the help, with its default.
    const QString help = SimOptions::helpText();
    for (const char* name : {"--type", "--drop", "--truncate", "--split", "--oversize",
                             "--config-length", "--config-extra", "--lost-after", "--linked",
                             "--conn-fail", "--write-fail-after", "--open-fail", "--seed"})
        QVERIFY2(help.contains(QLatin1String(name)), name);
    QVERIFY(help.contains(QLatin1String("(default: 1234)")));
}

void TestSimulatedBoard::parseRejects_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown option") << QStringList{"--colour", "red"} << "unknown option --colour";
    QTest::newRow("positional") << QStringList{"type"} << "unexpected argument";
    QTest::newRow("missing value") << QStringList{"--type"} << "--type needs a value";
    QTest::newRow("flag with value") << QStringList{"--oversize=1"} << "takes no value";
    QTest::newRow("not a number") << QStringList{"--records", "ten"} << "--records expects";
    QTest::newRow("byte too big") << QStringList{"--stored=256"} << "from 0 to 255";
    QTest::newRow("negative latency") << QStringList{"--logger-latency", "-1"} << "expects";
    QTest::newRow("29 February") << QStringList{"--start-date", "29/02"} << "common year";
    QTest::newRow("31 April") << QStringList{"--start-date", "31/04"} << "common year";
    QTest::newRow("hour 24") << QStringList{"--start-time", "24:00:00"} << "HH:MM:SS";
    QTest::newRow("minute 60") << QStringList{"--interval", "00:60:00"} << "HH:MM:SS";
    QTest::newRow("zero interval") << QStringList{"--interval", "00:00:00"} << "at least";
    QTest::newRow("drop code 5") << QStringList{"--drop", "5"} << "reply code";
    QTest::newRow("truncate without n") << QStringList{"--truncate", "1"} << "CODE:N";
    QTest::newRow("conn-fail X") << QStringList{"--conn-fail", "X"} << "E or F";
    QTest::newRow("address blank") << QStringList{"--linked", "A B"} << "letters or digits";
    QTest::newRow("too many records") << QStringList{"--record-count", "3714"} << "--oversize";
    QTest::newRow("more than two bytes hold")
        << QStringList{"--oversize", "--record-count", "9362"} << "from 0 to 9361";
}

void TestSimulatedBoard::parseRejects() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QString error;
    QVERIFY(!SimOptions::parse(arguments, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
}

void TestSimulatedBoard::moduleCommands_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("linkedAfter");
    const QStringList linked{"--linked", kAddress};
    QTest::newRow("address, no link")
        << QStringList{} << QByteArray("AT+ADDR?") << QByteArray("OK+ADDR:00124B0A17F3") << false;
    QTest::newRow("own address option")
        << QStringList{"--module-address", "112233445566"} << QByteArray("AT+ADDR?")
        << QByteArray("OK+ADDR:112233445566") << false;
    QTest::newRow("address while linked")
        << linked << QByteArray("AT+ADDR?") << "OK+ADDR:" + kAddress << true;
    QTest::newRow("PIO3 low") << linked << QByteArray("AT+PIO30") << QByteArray("OK+PIO3:0")
                              << true;
    QTest::newRow("PIO3 high") << linked << QByteArray("AT+PIO31") << QByteArray("OK+PIO3:1")
                               << true;
    QTest::newRow("PIO2 low") << linked << QByteArray("AT+PIO20") << QByteArray("OK+PIO2:0")
                              << true;
    QTest::newRow("PIO2 high") << linked << QByteArray("AT+PIO21") << QByteArray("OK+PIO2:1")
                               << true;
    QTest::newRow("AT, no link") << QStringList{} << QByteArray("AT") << QByteArray("OK") << false;
    QTest::newRow("AT ends the link")
        << linked << QByteArray("AT") << QByteArray("OK+LOST") << false;
    QTest::newRow("unknown command")
        << linked << QByteArray("AT+NAME?") << QByteArray("ERROR") << true;
    QTest::newRow("AT with terminator")
        << QStringList{} << QByteArray("AT\r\n") << QByteArray("ERROR") << false;
    QTest::newRow("connect without address")
        << QStringList{} << QByteArray("AT+CON") << QByteArray("ERROR") << false;
    QTest::newRow("connect") << QStringList{} << "AT+CON" + kAddress
                             << QByteArray("OK+CONNAOK+CONN") << true;
    QTest::newRow("connect error") << QStringList{"--conn-fail", "E"} << "AT+CON" + kAddress
                                   << QByteArray("OK+CONNAOK+CONNE") << false;
    QTest::newRow("connect failed") << QStringList{"--conn-fail", "F"} << "AT+CON" + kAddress
                                    << QByteArray("OK+CONNAOK+CONNF") << false;
}

void TestSimulatedBoard::moduleCommands() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, reply);
    QFETCH(bool, linkedAfter);
    MAKE_RIG(rig, arguments);
    QCOMPARE(rig.exchange(command), reply);
    QCOMPARE(rig.board->isLinked(), linkedAfter);
    if (command == "AT+CON" + kAddress && linkedAfter)
        QCOMPARE(rig.board->linkedAddress(), QString::fromLatin1(kAddress));
    if (command.startsWith("AT+PIO"))
        QCOMPARE(command.at(6) == '2' ? rig.board->pio2() : rig.board->pio3(), command.at(7) - '0');
}

void TestSimulatedBoard::connectionTakesEffectWhenReported() {
    // Module latency 20 ms, "OK+CONN" 100 ms after "OK+CONNA".
    MAKE_RIG(rig, QStringList{});
    QCOMPARE(rig.send("AT+CON" + kAddress), kOk);
    rig.clock.advanceTo(28);
    QCOMPARE(rig.waiting(), 7u); // 8 bytes from 20 ms: the last one at 28.33 ms
    rig.clock.advanceTo(29);
    QCOMPARE(rig.drain(), QByteArray("OK+CONNA"));

    // Not linked yet: a frame goes nowhere.
    rig.clock.advanceTo(119);
    QVERIFY(!rig.board->isLinked());
    QCOMPARE(rig.send(LoggerFrame::accessRequest()), kOk);
    rig.clock.advanceTo(120);
    QVERIFY(rig.board->isLinked());
    rig.clock.advanceTo(127);
    QCOMPARE(rig.drain(), QByteArray("OK+CON"));
    rig.clock.advanceTo(128);
    QCOMPARE(rig.drain(), QByteArray("N"));
    QCOMPARE(hex(rig.exchange(LoggerFrame::accessRequest())), QStringLiteral("05 37 00 00 01"));
}

void TestSimulatedBoard::loggerReplies_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("reply");
    QTest::newRow("access") << LoggerFrame::accessRequest() << "05 37 00 00 01";
    QTest::newRow("configuration")
        << LoggerFrame::readConfiguration() << QString::fromLatin1(kDefaultConfigHex);
    QTest::newRow("clear") << LoggerFrame::clearRecords() << "05 33 00 00 01";
    QTest::newRow("send configuration")
        << QByteArray::fromHex("12340000010e051e090c1900000a012c0102") << "05 34 00 00 01";
    QTest::newRow("recording on") << LoggerFrame::recordingSwitch(true) << "05 36 35 00 01";
    QTest::newRow("recording off") << LoggerFrame::recordingSwitch(false) << "05 36 34 00 01";
    QTest::newRow("code 5 is not a command") << frame('5') << "";
    QTest::newRow("unknown code") << frame('9') << "";
    QTest::newRow("recording, bad parameter") << frame('6', '1') << "";
    QTest::newRow("bytes 3-4 not 0 1") << QByteArray::fromHex("0531000000") << "";
    QTest::newRow("configuration frame too short") << frame('4') << "";
    QTest::newRow("length byte too big") << QByteArray::fromHex("0631000001") << "";
    QTest::newRow("length byte 6, 6 bytes") << QByteArray::fromHex("063100000100") << "";
    QTest::newRow("two frames in one block")
        << LoggerFrame::accessRequest() + LoggerFrame::recordingSwitch(false)
        << "05 37 00 00 01 05 36 34 00 01";
}

void TestSimulatedBoard::loggerReplies() {
    QFETCH(QByteArray, request);
    QFETCH(QString, reply);
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    QCOMPARE(hex(rig.exchange(request)), reply);
    // Without a link the same bytes reach no logger.
    MAKE_RIG(unlinked, QStringList{});
    QCOMPARE(unlinked.exchange(request), QByteArray());
}

void TestSimulatedBoard::configurationReplyCarriesOptions() {
    MAKE_RIG(rig,
             (QStringList{
                 "--linked",     kAddress,   "--type",     "4",        "--unit",         "3",
                 "--decimals",   "2",        "--spare",    "7",        "--range",        "500",
                 "--equipment",  "65000",    "--records",  "300",      "--stored",       "3",
                 "--configured", "9",        "--mode",     "2",        "--start-date",   "05/12",
                 "--start-time", "23:59:58", "--interval", "01:30:00", "--record-count", "100"}));
    // L = 5 + 7 x 100 = 705 = 02 C1.
    QCOMPARE(hex(rig.exchange(LoggerFrame::readConfiguration())),
             QStringLiteral("1a 31 03 02 c1 02 04 03 07 01 f4 fd e8 17 3b 3a 05 0c 00 01 1e 00 "
                            "01 2c 02 09"));
}

void TestSimulatedBoard::configurationAnnouncesRecordsReply_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("records");
    QTest::newRow("default") << QStringList{} << 20;
    QTest::newRow("one measurement of ten") << QStringList{"--stored", "1"} << 10;
    QTest::newRow("none stored") << QStringList{"--stored", "0"} << 0;
    QTest::newRow("last measurement partial") << QStringList{"--record-count", "13"} << 13;
    QTest::newRow("bounded to one reply")
        << QStringList{"--records", "3600", "--stored", "2"} << SimulatedBoard::kMaxRecords;
}

void TestSimulatedBoard::configurationAnnouncesRecordsReply() {
    QFETCH(QStringList, arguments);
    QFETCH(int, records);
    MAKE_RIG(rig, arguments + QStringList{"--linked", kAddress});
    const QByteArray config = rig.exchange(LoggerFrame::readConfiguration());
    QCOMPARE(config.size(), 26);
    const int announced = quint8(config.at(3)) << 8 | quint8(config.at(4));
    QCOMPARE(announced, 5 + 7 * records);
    const QByteArray reply = rig.exchange(LoggerFrame::downloadRecords(), 30000);
    QCOMPARE(reply.size(), announced);
    QCOMPARE(reply.at(1), LoggerFrame::DownloadRecords);
    QCOMPARE(quint8(reply.at(3)) << 8 | quint8(reply.at(4)), announced);
    QVERIFY(reply.size() <= 26000);
}

void TestSimulatedBoard::recordCalendar_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("stamps");
    QTest::newRow("default: minutes, then the next measurement an hour later")
        << QStringList{"--records", "3"}
        << QStringList{"14/03 08:00:00", "14/03 08:01:00", "14/03 08:02:00",
                       "14/03 09:02:00", "14/03 09:03:00", "14/03 09:04:00"};
    QTest::newRow("new year") << QStringList{"--start-date", "31/12",    "--start-time", "23:58:30",
                                             "--interval",   "00:00:45", "--records",    "4",
                                             "--stored",     "1"}
                              << QStringList{"31/12 23:58:30", "31/12 23:59:15", "01/01 00:00:00",
                                             "01/01 00:00:45"};
    QTest::newRow("no 29 February")
        << QStringList{"--start-date", "28/02",    "--start-time", "23:00:00",
                       "--interval",   "01:00:00", "--records",    "2",
                       "--stored",     "2",        "--gap",        "00:00:00"}
        << QStringList{"28/02 23:00:00", "01/03 00:00:00", "01/03 00:00:00", "01/03 01:00:00"};
    QTest::newRow("long gap") << QStringList{"--records", "1", "--stored", "3", "--gap", "48:00:00"}
                              << QStringList{"14/03 08:00:00", "16/03 08:00:00", "18/03 08:00:00"};
}

void TestSimulatedBoard::recordCalendar() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, stamps);
    MAKE_RIG(rig, arguments + QStringList{"--linked", kAddress});
    const auto records = decodeRecords(rig.exchange(LoggerFrame::downloadRecords()));
    QStringList got;
    for (const LoggerReply::Record& r : records)
        got << QString::asprintf("%02d/%02d %02d:%02d:%02d", r.day, r.month, r.hour, r.minute,
                                 r.second);
    QCOMPARE(got, stamps);
}

void TestSimulatedBoard::recordValues_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<int>("highest");
    QTest::addColumn<bool>("negative");
    // Raw values: physical value x 10^decimals.
    QTest::newRow("pressure, bar, 1 decimal") << QStringList{} << 24 << 56 << false;
    QTest::newRow("pressure below zero") << QStringList{"--negative"} << -19 << 19 << true;
    QTest::newRow("temperature") << QStringList{"--type", "2"} << -62 << 102 << true;
    QTest::newRow("temperature, 2 decimals")
        << QStringList{"--type", "3", "--decimals", "2"} << -620 << 1020 << true;
    QTest::newRow("humidity") << QStringList{"--type", "4"} << 345 << 755 << false;
    QTest::newRow("humidity, whole numbers")
        << QStringList{"--type", "4", "--decimals", "0"} << 34 << 76 << false;
}

void TestSimulatedBoard::recordValues() {
    QFETCH(QStringList, arguments);
    QFETCH(int, lowest);
    QFETCH(int, highest);
    QFETCH(bool, negative);
    MAKE_RIG(rig,
             arguments + QStringList{"--linked", kAddress, "--records", "50", "--stored", "4"});
    const auto records = decodeRecords(rig.exchange(LoggerFrame::downloadRecords(), 3000));
    QCOMPARE(records.size(), size_t(200));
    QCOMPARE(records.size(), rig.board->records().size());
    bool sawNegative = false;
    for (size_t i = 0; i < records.size(); ++i) {
        const LoggerReply::Record& r = records[i];
        const int value = qint16(r.raw);
        QVERIFY2(value >= lowest && value <= highest, qPrintable(QString::number(value)));
        // The bytes carry the value as a 16-bit two's complement, high byte first.
        QCOMPARE(value, int(rig.board->records()[i].value));
        QVERIFY(QDate(2023, r.month, r.day).isValid());
        QVERIFY(r.hour < 24 && r.minute < 60 && r.second < 60);
        sawNegative = sawNegative || value < 0;
        // A smooth curve: neighbours within a measurement differ by a fraction of the span.
        if (i % 50 != 0)
            QVERIFY(std::abs(value - qint16(records[i - 1].raw)) <= (highest - lowest) / 4);
    }
    QCOMPARE(sawNegative, negative);
}

void TestSimulatedBoard::recordsAreSeeded() {
    const QStringList base{"--linked", kAddress, "--type", "2"};
    MAKE_RIG(a, base);
    MAKE_RIG(b, base);
    MAKE_RIG(c, base + QStringList{"--seed", "2"});
    const QByteArray replyA = a.exchange(LoggerFrame::downloadRecords());
    QCOMPARE(replyA.size(), 145);
    QCOMPARE(b.exchange(LoggerFrame::downloadRecords()), replyA);
    const QByteArray replyC = c.exchange(LoggerFrame::downloadRecords());
    QCOMPARE(replyC.size(), replyA.size());
    QVERIFY(replyC != replyA);
}

void TestSimulatedBoard::configurationFrameChangesReport() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    // 9 December 2025 14:05:30, interval 00:00:10, 300 records, continuous, 3 measurements.
    const QByteArray config = QByteArray::fromHex("12340000010e051e090c1900000a012c0203");
    QCOMPARE(hex(rig.exchange(config)), QStringLiteral("05 34 00 00 01"));
    QCOMPARE(rig.board->recordsPerMeasurement(), 300);
    QCOMPARE(rig.board->configuredMeasurements(), 3);
    QCOMPARE(rig.board->mode(), 2);
    // The stored records stay: 2 measurements, L = 145.
    QCOMPARE(hex(rig.exchange(LoggerFrame::readConfiguration())),
             QStringLiteral("1a 31 02 00 91 01 01 00 00 00 64 04 d2 0e 05 1e 09 0c 19 00 00 0a "
                            "01 2c 02 03"));
    QCOMPARE(rig.exchange(LoggerFrame::downloadRecords()).size(), 145);
}

void TestSimulatedBoard::clearErasesRecords() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    QCOMPARE(hex(rig.exchange(LoggerFrame::clearRecords())), QStringLiteral("05 33 00 00 01"));
    QVERIFY(rig.board->records().empty());
    QCOMPARE(rig.board->storedMeasurements(), 0);
    const QByteArray config = rig.exchange(LoggerFrame::readConfiguration());
    QCOMPARE(hex(config.mid(2, 3)), QStringLiteral("00 00 05"));
    QCOMPARE(hex(config.mid(22)), QStringLiteral("00 0a 01 05")); // configuration untouched
    QCOMPARE(hex(rig.exchange(LoggerFrame::downloadRecords())), QStringLiteral("00 32 00 00 05"));
}

void TestSimulatedBoard::recordingSwitch() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    QVERIFY(!rig.board->recording());
    rig.exchange(LoggerFrame::recordingSwitch(true));
    QVERIFY(rig.board->recording());
    rig.exchange(frame('6', '1')); // not a switch: ignored
    QVERIFY(rig.board->recording());
    rig.exchange(LoggerFrame::recordingSwitch(false));
    QVERIFY(!rig.board->recording());
}

void TestSimulatedBoard::pacing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("completeAtMs");
    const QStringList linked{"--linked", kAddress};
    // Byte k of a reply that starts at S is there at S + (k + 1) x 1000/960 ms.
    // 75 bytes from 30 ms: the last one at 30 + 78.125 ms.
    QTest::newRow("records reply of 75 bytes")
        << linked + QStringList{"--stored", "1"} << LoggerFrame::downloadRecords() << 75 << 109;
    // 25205 bytes: the last one at 30 + 26255.21 ms; any drift in the byte time shows here.
    QTest::newRow("records reply of 3600 records")
        << linked + QStringList{"--stored", "1", "--records", "3600"}
        << LoggerFrame::downloadRecords() << 25205 << 26286;
    QTest::newRow("module reply") << QStringList{} << QByteArray("AT") << 2 << 23;
    QTest::newRow("module without latency")
        << QStringList{"--module-latency", "0"} << QByteArray("AT") << 2 << 3;
    QTest::newRow("slow logger") << linked + QStringList{"--logger-latency", "100"}
                                 << LoggerFrame::accessRequest() << 5 << 106;
    QTest::newRow("configuration reply") << linked << LoggerFrame::readConfiguration() << 26 << 58;
}

void TestSimulatedBoard::pacing() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, request);
    QFETCH(int, length);
    QFETCH(int, completeAtMs);
    MAKE_RIG(rig, arguments);
    QCOMPARE(rig.send(request), kOk);
    rig.clock.advanceTo(completeAtMs - 1);
    QCOMPARE(rig.waiting(), uint32_t(length - 1));
    rig.clock.advanceTo(completeAtMs);
    QCOMPARE(rig.waiting(), uint32_t(length));
    rig.clock.advance(10000);
    QCOMPARE(rig.waiting(), uint32_t(length));
}

void TestSimulatedBoard::repliesQueueOneAfterAnother() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    // Both ready at 30 ms; the configuration reply follows the access reply on the line.
    QCOMPARE(rig.send(LoggerFrame::accessRequest()), kOk);
    QCOMPARE(rig.send(LoggerFrame::readConfiguration()), kOk);
    rig.clock.advanceTo(35);
    QCOMPARE(rig.waiting(), 4u); // the access reply's last byte comes at 35.21 ms
    rig.clock.advanceTo(36);
    QCOMPARE(rig.waiting(), 5u);
    rig.clock.advanceTo(62);
    QCOMPARE(rig.waiting(), 30u);
    rig.clock.advanceTo(63);
    const QByteArray both = rig.drain();
    QCOMPARE(hex(both), "05 37 00 00 01 " + QString::fromLatin1(kDefaultConfigHex));
}

void TestSimulatedBoard::nextActivityFollowsTheWire() {
    MAKE_RIG(rig, QStringList{});
    QVERIFY(!rig.board->nextActivityMs());
    QCOMPARE(rig.send("AT"), kOk);
    QCOMPARE(rig.board->nextActivityMs().value_or(-1), qint64(20)); // the reply event
    rig.clock.advanceTo(20);
    QCOMPARE(rig.waiting(), 0u);
    QCOMPARE(rig.board->nextActivityMs().value_or(-1), qint64(22)); // "O" at 21.04 ms
    rig.clock.advanceTo(22);
    QCOMPARE(rig.drain(), QByteArray("O"));
    QCOMPARE(rig.board->nextActivityMs().value_or(-1), qint64(23)); // "K" at 22.08 ms
    rig.clock.advanceTo(23);
    QCOMPARE(rig.drain(), QByteArray("K"));
    QVERIFY(!rig.board->nextActivityMs());
}

void TestSimulatedBoard::purgeDropsOnlyArrivedBytes() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    QCOMPARE(rig.send(LoggerFrame::readConfiguration()), kOk);
    rig.clock.advanceTo(41); // 10 bytes of 26 have arrived
    QCOMPARE(rig.waiting(), 10u);
    QCOMPARE(rig.board->purge(SerialTransport::PurgeRx | SerialTransport::PurgeTx), kOk);
    QCOMPARE(rig.waiting(), 0u);
    rig.clock.advance(1000);
    QCOMPARE(hex(rig.drain()), QString::fromLatin1(kDefaultConfigHex).mid(30));

    // Closing loses what has arrived, and what arrives while closed.
    QCOMPARE(rig.send(LoggerFrame::accessRequest()), kOk);
    rig.clock.advance(33);
    QVERIFY(rig.waiting() > 0);
    rig.board->close();
    rig.clock.advance(1000);
    QCOMPARE(rig.board->open(0), kOk);
    QCOMPARE(rig.waiting(), 0u);
}

void TestSimulatedBoard::closedBoardRefusesEverything() {
    ManualClock clock;
    SimulatedBoard board(clock, SimOptions{});
    QVERIFY(!board.isOpen());
    char buffer[8];
    uint32_t n = 99;
    QCOMPARE(board.write("AT", &n), kInvalidHandle);
    QCOMPARE(n, 0u);
    QCOMPARE(board.queueStatus(&n), kInvalidHandle);
    QCOMPARE(board.read(buffer, sizeof buffer, &n), kInvalidHandle);
    QCOMPARE(board.purge(SerialTransport::PurgeRx), kInvalidHandle);
    QCOMPARE(board.setBaudRate(9600), kInvalidHandle);
    QCOMPARE(board.setDataCharacteristics(8, 0, 0), kInvalidHandle);
    QCOMPARE(board.setTimeouts(1, 0), kInvalidHandle);
    QVERIFY(board.receivedBlocks().isEmpty());

    QCOMPARE(board.open(1), kDeviceNotFound); // only one interface
    QCOMPARE(board.open(0), kOk);
    QCOMPARE(board.open(0), kInvalidHandle); // already open
    QCOMPARE(board.setBaudRate(9600), kOk);
    QCOMPARE(board.baudRate(), 9600);
    board.close();
    QCOMPARE(board.write("AT", &n), kInvalidHandle);
}

void TestSimulatedBoard::openFailure() {
    MAKE_RIG(rig, QStringList{"--open-fail"});
    QCOMPARE(rig.board->open(0), kDeviceNotFound);
    QVERIFY(!rig.board->isOpen());
    QCOMPARE(rig.send("AT"), kInvalidHandle);
}

void TestSimulatedBoard::writeFailureAfterN() {
    MAKE_RIG(rig, (QStringList{"--write-fail-after", "2"}));
    QCOMPARE(rig.exchange("AT"), QByteArray("OK"));
    QCOMPARE(rig.exchange("AT+ADDR?"), QByteArray("OK+ADDR:00124B0A17F3"));
    uint32_t written = 99;
    QCOMPARE(rig.board->write("AT", &written), kIoError);
    QCOMPARE(written, 0u);
    QCOMPARE(rig.board->write("AT", &written), kIoError);
    rig.clock.advance(1000);
    QCOMPARE(rig.waiting(), 0u); // the failed writes reached nothing
    QCOMPARE(rig.board->receivedBlocks().size(), 2);
    QCOMPARE(rig.board->failedWrites(), 2);
}

void TestSimulatedBoard::faultyReplies_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("reply");
    const QString config = QString::fromLatin1(kDefaultConfigHex);
    QTest::newRow("access reply lost")
        << QStringList{"--drop", "7"} << LoggerFrame::accessRequest() << "";
    QTest::newRow("configuration reply lost")
        << QStringList{"--drop", "1"} << LoggerFrame::readConfiguration() << "";
    QTest::newRow("other replies still come")
        << QStringList{"--drop", "1"} << LoggerFrame::accessRequest() << "05 37 00 00 01";
    QTest::newRow("two codes lost")
        << QStringList{"--drop", "1", "--drop", "7"} << LoggerFrame::accessRequest() << "";
    QTest::newRow("module replies lost")
        << QStringList{"--drop", "at"} << QByteArray("AT+PIO21") << "";
    QTest::newRow("configuration cut to 20 bytes")
        << QStringList{"--truncate", "1:20"} << LoggerFrame::readConfiguration()
        << config.left(20 * 3 - 1);
    QTest::newRow("records reply one record short")
        << QStringList{"--stored", "1", "--truncate", "2:-7"} << LoggerFrame::downloadRecords()
        << "68 bytes";
    QTest::newRow("module reply cut")
        << QStringList{"--truncate", "at:5"} << QByteArray("AT+PIO21") << "4f 4b 2b 50 49";
    QTest::newRow("configuration claims 20 bytes")
        << QStringList{"--config-length", "20"} << LoggerFrame::readConfiguration()
        << "14" + config.mid(2);
    QTest::newRow("configuration with 4 extra bytes")
        << QStringList{"--config-extra", "4"} << LoggerFrame::readConfiguration()
        << config + " 00 00 00 00";
}

void TestSimulatedBoard::faultyReplies() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, request);
    QFETCH(QString, reply);
    MAKE_RIG(rig, arguments + QStringList{"--linked", kAddress});
    const QByteArray got = rig.exchange(request);
    if (reply.endsWith(QLatin1String(" bytes"))) {
        // The reply still announces the full length, so it never completes.
        QCOMPARE(got.size(), reply.section(QLatin1Char(' '), 0, 0).toInt());
        QCOMPARE(quint8(got.at(3)) << 8 | quint8(got.at(4)), 75);
    } else {
        QCOMPARE(hex(got), reply);
    }
}

void TestSimulatedBoard::splitRepliesFallAcrossPollTicks_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("pieces");
    const QStringList linked{"--linked", kAddress};
    QTest::newRow("whole configuration reply") << linked << LoggerFrame::readConfiguration() << 1;
    QTest::newRow("configuration split")
        << linked + QStringList{"--split", "1:200"} << LoggerFrame::readConfiguration() << 2;
    QTest::newRow("split of another code leaves it whole")
        << linked + QStringList{"--split", "7:200"} << LoggerFrame::readConfiguration() << 1;
    QTest::newRow("module reply split")
        << linked + QStringList{"--split", "at:200"} << QByteArray("AT+ADDR?") << 2;
}

void TestSimulatedBoard::splitRepliesFallAcrossPollTicks() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, request);
    QFETCH(int, pieces);
    MAKE_RIG(whole, QStringList{"--linked", kAddress});
    const QByteArray expected = whole.exchange(request);
    MAKE_RIG(rig, arguments);
    QCOMPARE(rig.send(request), kOk);
    // Read as the receive poll does, every 180 ms.
    QList<QByteArray> reads;
    for (int tick = 0; tick < 6; ++tick) {
        rig.clock.advance(180);
        if (const QByteArray bytes = rig.drain(); !bytes.isEmpty())
            reads << bytes;
    }
    QCOMPARE(reads.size(), pieces);
    QCOMPARE(reads.join(), expected);
}

void TestSimulatedBoard::unsolicitedLost() {
    MAKE_RIG(rig, (QStringList{"--lost-after", "1000"}));
    QCOMPARE(rig.send("AT+CON" + kAddress), kOk);
    rig.clock.advanceTo(1119); // linked at 120 ms
    QVERIFY(rig.board->isLinked());
    QCOMPARE(rig.drain(), QByteArray("OK+CONNAOK+CONN"));
    rig.clock.advanceTo(1120);
    QVERIFY(!rig.board->isLinked());
    QCOMPARE(rig.exchange(LoggerFrame::accessRequest()),
             QByteArray("OK+LOST")); // the frame went nowhere

    // A link ended by "AT" gets no late "OK+LOST"; the next link gets its own.
    MAKE_RIG(early, (QStringList{"--linked", kAddress, "--lost-after", "500"}));
    QCOMPARE(early.exchange("AT", 100), QByteArray("OK+LOST"));
    QCOMPARE(early.exchange("AT+CON" + kAddress, 300), QByteArray("OK+CONNAOK+CONN"));
    // Linked at 100 + 120 ms; lost at 720 ms. Now 400 ms.
    early.clock.advanceTo(719);
    QCOMPARE(early.drain(), QByteArray());
    QVERIFY(early.board->isLinked());
    early.clock.advance(100);
    QCOMPARE(early.drain(), QByteArray("OK+LOST"));
    QVERIFY(!early.board->isLinked());
}

void TestSimulatedBoard::oversizeRecordsReply() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress, "--oversize", "--stored", "1", "--records",
                               "4000"}));
    QCOMPARE(rig.board->records().size(), size_t(4000));
    const QByteArray config = rig.exchange(LoggerFrame::readConfiguration());
    QCOMPARE(quint8(config.at(3)) << 8 | quint8(config.at(4)), 28005);
    const QByteArray reply = rig.exchange(LoggerFrame::downloadRecords(), 30000);
    QCOMPARE(reply.size(), 28005);
    QVERIFY(reply.size() > 26000);
}

void TestSimulatedBoard::blocksAreLoggedWithTimes() {
    MAKE_RIG(rig, (QStringList{"--linked", kAddress}));
    rig.clock.advanceTo(40);
    rig.send("AT+PIO30");
    rig.clock.advanceTo(250);
    rig.send(LoggerFrame::accessRequest());
    const QList<SimulatedBoard::Block>& blocks = rig.board->receivedBlocks();
    QCOMPARE(blocks.size(), 2);
    QCOMPARE(blocks[0].timeMs, qint64(40));
    QCOMPARE(blocks[0].bytes, QByteArray("AT+PIO30"));
    QCOMPARE(blocks[1].timeMs, qint64(250));
    QCOMPARE(blocks[1].bytes, LoggerFrame::accessRequest());
}

QTEST_GUILESS_MAIN(TestSimulatedBoard)
#include "tst_simulatedboard.moc"
