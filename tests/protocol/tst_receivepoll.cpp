// The receive poll: text and frame reads, the reply dispatch, caps and re-arming.
#include "protocol/LoggerFrame.h"
#include "support/SessionFixture.h"

#include <QTest>

namespace {

// A 26-byte configuration reply: 2 measurements stored of 10 records, pressure in BAR.
QByteArray configurationReply() {
    QByteArray b(26, 0);
    b[0] = 26;
    b[1] = '1';
    b[2] = 2;
    b[3] = 0;
    b[4] = char(5 + 7 * 20);
    b[5] = 1;
    b[6] = 1;
    b[7] = 0;
    b[11] = 0x04;
    b[12] = char(0xD2); // equipment 1234
    b[22] = 0;
    b[23] = 10;
    b[25] = 5;
    return b;
}

struct PollFixture : SessionFixture {
    PollFixture() : SessionFixture('p') {
        s().FormShow();
        s().Button2Click(); // opens the scripted interface
        log.writes.clear();
    }
    void receive(const QByteArray& bytes, ReceiveModeKind mode) {
        s().ReceiveMode = mode;
        fake->incoming = bytes;
        s().Timer2->start();
        s().guarded([this] { s().Timer2Timer(); }); // as the timer runs it
    }
};

} // namespace

class TestReceivePoll : public QObject {
    Q_OBJECT
private slots:
    void commandFrames();
    void dispatch_data();
    void dispatch();
    void configurationLength_data();
    void configurationLength();
    void rearm_data();
    void rearm();
    void textModeTakesWholeQueue();
    void frameModeCapsAt26000();
    void staleBytesNeverRead();
    void failedReadIsALostInterface();
};

void TestReceivePoll::commandFrames() {
    using namespace LoggerFrame;
    QCOMPARE(command(ReadConfiguration), QByteArray("\x05\x31\x00\x00\x01", 5));
    QCOMPARE(command(DownloadRecords), QByteArray("\x05\x32\x00\x00\x01", 5));
    QCOMPARE(command(ClearRecords), QByteArray("\x05\x33\x00\x00\x01", 5));
    QCOMPARE(command(RecordingSwitch, kRecordingOn), QByteArray("\x05\x36\x35\x00\x01", 5));
    QCOMPARE(command(RecordingSwitch, kRecordingOff), QByteArray("\x05\x36\x34\x00\x01", 5));
    QCOMPARE(command(AccessRequest), QByteArray("\x05\x37\x00\x00\x01", 5));
}

void TestReceivePoll::dispatch_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("effect");
    QTest::newRow("7 access") << QByteArray("\x05\x37\x00\x00\x01", 5) << "access";
    QTest::newRow("7 any length") << QByteArray("\x01\x37", 2) << "access";
    QTest::newRow("1 configuration") << configurationReply() << "configuration";
    QTest::newRow("3 cleared") << QByteArray("\x05\x33\x00\x00\x01", 5) << "done";
    QTest::newRow("4 stored") << QByteArray("\x05\x34\x00\x00\x01", 5) << "done";
    QTest::newRow("6 switched") << QByteArray("\x05\x36\x35\x00\x01", 5) << "text";
    QTest::newRow("5 ignored") << QByteArray("\x05\x35\x00\x00\x01", 5) << "ignored";
    QTest::newRow("module text ignored") << QByteArray("OK+PIO2:1") << "ignored";
    QTest::newRow("one byte") << QByteArray("\x37", 1) << "ignored";
}

void TestReceivePoll::dispatch() {
    QFETCH(QByteArray, frame);
    QFETCH(QString, effect);
    PollFixture f;
    f.s().Status_conexao = 3;
    f.receive(frame, ReceiveModeKind::Frame);
    MainSession& s = f.s();
    QCOMPARE(s.bytesRead, uint32_t(frame.size()));

    if (effect == "access") {
        QCOMPARE(s.Status_conexao, 4);
        QVERIFY(s.RemoteConnected);
        QCOMPARE(f.log.writes,
                 QList<QByteArray>{LoggerFrame::command(LoggerFrame::ReadConfiguration)});
        QVERIFY(s.Timer2->isActive()); // the configuration request runs the poll again
        QCOMPARE(s.ReceiveMode, ReceiveModeKind::Frame);
    } else if (effect == "configuration") {
        QCOMPARE(s.Status_conexao, 6);
        QCOMPARE(s.RecordsReplyLength, 145u);
        QCOMPARE(s.loggerInfo.equipmentNumber, 1234);
        QCOMPARE(s.ReceiveMode, ReceiveModeKind::Text);
        QVERIFY(!s.Timer2->isActive());
    } else if (effect == "done") {
        QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
        QCOMPARE(s.ReceiveMode, ReceiveModeKind::Text);
    } else if (effect == "text") {
        QCOMPARE(s.ReceiveMode, ReceiveModeKind::Text);
        QCOMPARE(s.Status_conexao, 3);
    } else {
        QCOMPARE(s.Status_conexao, 3);
        QCOMPARE(s.ReceiveMode, ReceiveModeKind::Frame);
        QVERIFY(f.log.writes.isEmpty());
        QVERIFY(f.v().StatusBar1[2].isEmpty());
        QVERIFY(!s.Timer2->isActive()); // stopped until the next re-arming
    }
}

void TestReceivePoll::configurationLength_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    const QByteArray reply = configurationReply();
    QTest::newRow("26 read as 26") << reply << true;
    QTest::newRow("26 with 4 more bytes") << reply + QByteArray(4, 'x') << false;
    QByteArray longer = reply + QByteArray(4, 0);
    longer[0] = 30;
    QTest::newRow("30 announced and read") << longer << true;
    QTest::newRow("cut to 20 bytes") << reply.left(20) << false;
}

void TestReceivePoll::configurationLength() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    PollFixture f;
    f.s().Status_conexao = 4;
    f.receive(bytes, ReceiveModeKind::Frame);
    QCOMPARE(f.s().Status_conexao, accepted ? 6 : 4);
    QCOMPARE(f.s().loggerInfo.recordsPerMeasurement, accepted ? 10 : 0);
    QCOMPARE(f.s().RecordsReplyLength, accepted ? 145u : 0u);
}

void TestReceivePoll::rearm_data() {
    QTest::addColumn<uint32_t>("expected");
    QTest::addColumn<int>("queued");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("999 of 1000") << 1000u << 999 << false;
    QTest::newRow("1000 of 1000") << 1000u << 1000 << true;
    QTest::newRow("1001 of 1000") << 1000u << 1001 << true;
    QTest::newRow("unknown length, empty queue") << 0u << 0 << true;
}

void TestReceivePoll::rearm() {
    QFETCH(uint32_t, expected);
    QFETCH(int, queued);
    QFETCH(bool, enabled);
    PollFixture f;
    f.s().RecordsReplyLength = expected;
    f.fake->incoming = QByteArray(queued, 'r');
    f.s().Timer2->stop();
    f.s().RearmReceivePoll();
    QCOMPARE(f.s().Timer2->isActive(), enabled);
}

void TestReceivePoll::textModeTakesWholeQueue() {
    PollFixture f;
    f.s().BtState = 2;
    f.s().Status_conexao = 0;
    // A reply with 40 bytes before it: not a reply, and nothing is left for the next tick.
    f.receive(QByteArray(40, '#') + "OK+CONN", ReceiveModeKind::Text);
    QCOMPARE(f.s().TextBuffer.size(), 36);
    QCOMPARE(f.s().Status_conexao, 0);
    QVERIFY(f.fake->incoming.isEmpty());
    QVERIFY(f.s().Timer2->isActive()); // text mode keeps polling
    f.receive("OK+CONN", ReceiveModeKind::Text);
    QCOMPARE(f.s().Status_conexao, 1);
}

void TestReceivePoll::frameModeCapsAt26000() {
    PollFixture f;
    f.receive(QByteArray(26010, 'x'), ReceiveModeKind::Frame);
    QCOMPARE(f.s().bytesRead, 26000u);
    QCOMPARE(f.fake->incoming.size(), 10); // the rest stays queued
}

void TestReceivePoll::staleBytesNeverRead() {
    PollFixture f;
    f.s().Status_conexao = 4;
    f.receive(configurationReply(), ReceiveModeKind::Frame);
    QCOMPARE(f.s().Status_conexao, 6);
    // A short frame after a long one: what follows it in the buffer is not old data.
    f.receive(QByteArray("\x01\x37", 2), ReceiveModeKind::Frame);
    QVERIFY(std::all_of(f.s().RxBuffer.begin() + 2, f.s().RxBuffer.end(),
                        [](uint8_t b) { return b == 0; }));
}

void TestReceivePoll::failedReadIsALostInterface() {
    struct FailingRead : FakeTransport {
        using FakeTransport::FakeTransport;
        int32_t read(char*, uint32_t, uint32_t* got) override {
            *got = 0;
            incoming.clear();
            return IoError;
        }
    };
    FakeTransport::Log log;
    FailingRead* fake = nullptr;
    SessionFixture f('p', [&](TimeBase&) {
        auto t = std::make_unique<FailingRead>(&log);
        fake = t.get();
        return t;
    });
    f.s().FormShow();
    f.s().Button2Click();
    f.s().Status_conexao = 3;
    fake->incoming = QByteArray("\x05\x37\x00\x00\x01", 5);
    f.s().ReceiveMode = ReceiveModeKind::Frame;
    f.s().Timer2Timer();
    QCOMPARE(f.s().UsbStatus, int32_t(SerialTransport::IoError));
    // A port that cannot be read is gone: the link-failure reset, saying so.
    QCOMPARE(f.prompt.messages, QStringList{f.s().text(Txt::InterfaceLost)});
    QVERIFY(!f.s().UsbOpen);
    QVERIFY(!f.s().Timer2->isActive());
}

QTEST_GUILESS_MAIN(TestReceivePoll)
#include "tst_receivepoll.moc"
