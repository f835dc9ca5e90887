// The wire layouts: command frames, logger replies both ways, the module's texts.
#include "protocol/LoggerFrame.h"
#include "protocol/LoggerReply.h"
#include "protocol/ModuleText.h"

#include <QTest>

Q_DECLARE_METATYPE(ModuleText::Reply)

class TestCodec : public QObject {
    Q_OBJECT
private slots:
    void commandFrames();
    void configurationFrameBothWays();
    void configurationReplyBothWays();
    void recordsReplyBothWays();
    void frameLayoutChecked_data();
    void frameLayoutChecked();
    void moduleCommands();
    void moduleReplies_data();
    void moduleReplies();
};

void TestCodec::commandFrames() {
    using namespace LoggerFrame;
    QCOMPARE(readConfiguration(), QByteArray("\x05\x31\x00\x00\x01", 5));
    QCOMPARE(downloadRecords(), QByteArray("\x05\x32\x00\x00\x01", 5));
    QCOMPARE(clearRecords(), QByteArray("\x05\x33\x00\x00\x01", 5));
    QCOMPARE(recordingSwitch(true), QByteArray("\x05\x36\x35\x00\x01", 5));
    QCOMPARE(recordingSwitch(false), QByteArray("\x05\x36\x34\x00\x01", 5));
    QCOMPARE(accessRequest(), QByteArray("\x05\x37\x00\x00\x01", 5));
    QCOMPARE(LoggerReply::acknowledgement(RecordingSwitch, kRecordingOn), recordingSwitch(true));
}

void TestCodec::configurationFrameBothWays() {
    LoggerFrame::Configuration c;
    c.hour = 14, c.minute = 5, c.second = 30, c.day = 9, c.month = 12, c.year = 25;
    c.intervalHour = 1, c.intervalMinute = 2, c.intervalSecond = 3;
    c.recordsPerMeasurement = 3600, c.mode = 2, c.measurements = 50;
    const QByteArray frame = LoggerFrame::configuration(c);
    QCOMPARE(frame.toHex(' '), QByteArray("12 34 00 00 01 0e 05 1e 09 0c 19 01 02 03 0e 10 02 32"));
    QCOMPARE(LoggerFrame::commandCode(frame), std::optional(LoggerFrame::SendConfiguration));
    QCOMPARE(LoggerFrame::decodeConfiguration(frame), c);
    QCOMPARE(LoggerFrame::clockBytes(frame), frame.mid(5, 9));
}

void TestCodec::configurationReplyBothWays() {
    LoggerReply::Configuration c;
    c.info = {2, 4, 0, 7, 300, 1234, 3600, 50, 13};
    c.recordsReplyLength = 25996;
    c.clock = QByteArray::fromHex("08000e0e0300000100");
    c.mode = 2;
    const QByteArray bytes = LoggerReply::encodeConfiguration(c);
    QCOMPARE(bytes.toHex(' '),
             QByteArray("1a 31 0d 65 8c 02 04 00 07 01 2c 04 d2 08 00 0e 0e 03 00 00 01 00 0e 10 "
                        "02 32"));
    QCOMPARE(LoggerReply::configuration(reinterpret_cast<const uint8_t*>(bytes.constData())), c);
    // Byte 0 may be made to lie; nothing else changes.
    QCOMPARE(LoggerReply::encodeConfiguration(c, 200).mid(1), bytes.mid(1));
    QCOMPARE(quint8(LoggerReply::encodeConfiguration(c, 200).at(0)), quint8(200));
}

void TestCodec::recordsReplyBothWays() {
    const QList<LoggerReply::Record> records = {{5, 12, 10, 0, 1, 10}, {29, 2, 23, 59, 59, 0xFFF6}};
    const QByteArray bytes = LoggerReply::encodeRecords(3, records);
    QCOMPARE(bytes.toHex(' '),
             QByteArray("00 32 03 00 13 05 0c 0a 00 01 00 0a 1d 02 17 3b 3b ff f6"));
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
    QCOMPARE(LoggerReply::code(b), LoggerFrame::DownloadRecords);
    QCOMPARE(LoggerReply::recordsLength(b), uint32_t(LoggerReply::recordsReplyLength(2)));
    QCOMPARE(LoggerReply::record(b + 5), records[0]);
    QCOMPARE(LoggerReply::record(b + 12), records[1]);
    // An announced length replaces the true one and nothing else.
    const QByteArray lying = LoggerReply::encodeRecords(3, records, 0x1234);
    QCOMPARE(LoggerReply::recordsLength(reinterpret_cast<const uint8_t*>(lying.constData())),
             uint32_t(0x1234));
    QCOMPARE(lying.mid(5), bytes.mid(5));
}

void TestCodec::frameLayoutChecked_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("code"); // -1: not a command frame
    QTest::newRow("access") << LoggerFrame::accessRequest() << int('7');
    QTest::newRow("too short") << LoggerFrame::accessRequest().left(4) << -1;
    QTest::newRow("byte 3 not zero") << QByteArray("\x05\x37\x00\x01\x01", 5) << -1;
    QTest::newRow("byte 4 not one") << QByteArray("\x05\x37\x00\x00\x00", 5) << -1;
    QTest::newRow("configuration code, five bytes")
        << LoggerFrame::command(LoggerFrame::SendConfiguration) << -1;
    QTest::newRow("read, eighteen bytes")
        << LoggerFrame::readConfiguration() + QByteArray(13, '\0') << -1;
}

void TestCodec::frameLayoutChecked() {
    QFETCH(QByteArray, frame);
    QFETCH(int, code);
    const std::optional<LoggerFrame::Code> got = LoggerFrame::commandCode(frame);
    QCOMPARE(got ? int(*got) : -1, code);
}

void TestCodec::moduleCommands() {
    using ModuleText::Command;
    QCOMPARE(ModuleText::pio(3, 0), QByteArray("AT+PIO30"));
    QCOMPARE(ModuleText::connectTo("A1B2"), QByteArray("AT+CONA1B2"));
    QCOMPARE(ModuleText::parseCommand("AT").kind, Command::Attention);
    QCOMPARE(ModuleText::parseCommand("AT+ADDR?").kind, Command::AddressQuery);
    const Command connect = ModuleText::parseCommand("AT+CONA1B2");
    QCOMPARE(connect.kind, Command::Connect);
    QCOMPARE(connect.address, QByteArray("A1B2"));
    const Command pio = ModuleText::parseCommand("AT+PIO21");
    QCOMPARE(pio.kind, Command::Pio);
    QCOMPARE(pio.pin, 2);
    QCOMPARE(pio.level, 1);
    for (const char* unknown : {"AT+CON", "AT+PIO41", "AT+PIO22", "AT+PIO2", "at"})
        QCOMPARE(ModuleText::parseCommand(unknown).kind, Command::Unknown);
}

void TestCodec::moduleReplies_data() {
    using R = ModuleText::Reply;
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<R>("kind");
    QTest::newRow("ok") << ModuleText::okReply() << R::Ok;
    QTest::newRow("address") << ModuleText::addressReply("A1B2") << R::Address;
    QTest::newRow("connecting") << ModuleText::connectingReply() << R::Connecting;
    QTest::newRow("connected") << ModuleText::connectResult() << R::Connected;
    QTest::newRow("connected, run together") << QByteArray("OK+CONNAOK+CONN") << R::Connected;
    QTest::newRow("error") << ModuleText::connectResult("E") << R::ConnectError;
    QTest::newRow("failed") << ModuleText::connectResult("F") << R::ConnectFailed;
    QTest::newRow("error, run together") << QByteArray("OK+CONNAOK+CONNE") << R::ConnectError;
    QTest::newRow("failed, run together") << QByteArray("OK+CONNAOK+CONNF") << R::ConnectFailed;
    QTest::newRow("lost") << ModuleText::lostReply() << R::Lost;
    QTest::newRow("access") << ModuleText::pioReply(2, 1) << R::AccessGranted;
    QTest::newRow("other pio") << ModuleText::pioReply(3, 1) << R::Other;
    QTest::newRow("error reply") << ModuleText::errorReply() << R::Other;
    QTest::newRow("lost with more") << QByteArray("OK+LOSTOK") << R::Other;
}

void TestCodec::moduleReplies() {
    QFETCH(QByteArray, text);
    QFETCH(ModuleText::Reply, kind);
    QCOMPARE(ModuleText::classify(text), kind);
    if (kind == ModuleText::Reply::Address)
        QCOMPARE(ModuleText::addressOf(text), QByteArray("A1B2"));
}

QTEST_GUILESS_MAIN(TestCodec)
#include "tst_codec.moc"
