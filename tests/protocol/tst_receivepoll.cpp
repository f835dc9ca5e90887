// The receive poll: text and frame reads, the reply dispatch, caps and re-arming.
#include "protocol/LoggerFrame.h"
#include "support/Replies.h"
#include "support/SessionFixture.h"

#include <QTest>

namespace {

// A 26-byte configuration reply: 2 measurements stored of 10 records, pressure in BAR.
QByteArray configurationReply() {
    LoggerInfo info;
    info.storedMeasurements = 2;
    info.decimalsCode = 1;
    info.measurementType = 1;
    info.equipmentNumber = 1234;
    info.recordsPerMeasurement = 10;
    info.configuredMeasurements = 5;
    return Replies::configuration(info, LoggerReply::recordsReplyLength(20));
}

struct PollFixture : SessionFixture {
    PollFixture() : SessionFixture('p') {
        s().FormShow();
        s().Button2Click(); // opens the scripted interface
        log.writes.clear();
    }
    void receive(const QByteArray& bytes, ReceiveModeKind mode) {
        s().poll().ReceiveMode = mode;
        fake->incoming = bytes;
        s().poll().Timer2->start();
        s().guarded([this] { s().Timer2Timer(); }); // as the timer runs it
    }
};

} // namespace

class TestReceivePoll : public QObject {
    Q_OBJECT
private slots:
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

void TestReceivePoll::dispatch_data() {
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("effect");
    QTest::newRow("7 access") << LoggerReply::acknowledgement(LoggerFrame::AccessRequest)
                              << "access";
    QTest::newRow("7 any length") << QByteArray(1, '\x01') + LoggerFrame::AccessRequest << "access";
    QTest::newRow("1 configuration") << configurationReply() << "configuration";
    QTest::newRow("3 cleared") << LoggerReply::acknowledgement(LoggerFrame::ClearRecords) << "done";
    QTest::newRow("4 stored") << LoggerReply::acknowledgement(LoggerFrame::SendConfiguration)
                              << "done";
    QTest::newRow("6 switched") << LoggerReply::acknowledgement(LoggerFrame::RecordingSwitch,
                                                                LoggerFrame::kRecordingOn)
                                << "text";
    QTest::newRow("5 ignored") << LoggerReply::acknowledgement(LoggerFrame::Code('5')) << "ignored";
    QTest::newRow("module text ignored") << QByteArray("OK+PIO2:1") << "ignored";
    QTest::newRow("one byte") << QByteArray(1, LoggerFrame::AccessRequest) << "ignored";
}

void TestReceivePoll::dispatch() {
    QFETCH(QByteArray, frame);
    QFETCH(QString, effect);
    PollFixture f;
    f.s().link().Status_conexao = 3;
    f.receive(frame, ReceiveModeKind::Frame);
    MainSession& s = f.s();
    QCOMPARE(s.poll().bytesRead, uint32_t(frame.size()));

    if (effect == "access") {
        QCOMPARE(s.link().Status_conexao, 4);
        QVERIFY(s.link().RemoteConnected);
        QCOMPARE(f.log.writes, QList<QByteArray>{LoggerFrame::readConfiguration()});
        QVERIFY(s.poll().Timer2->isActive()); // the configuration request runs the poll again
        QCOMPARE(s.poll().ReceiveMode, ReceiveModeKind::Frame);
    } else if (effect == "configuration") {
        QCOMPARE(s.link().Status_conexao, 6);
        QCOMPARE(s.commands().RecordsReplyLength, 145u);
        QCOMPARE(s.table().loggerInfo.equipmentNumber, 1234);
        QCOMPARE(s.poll().ReceiveMode, ReceiveModeKind::Text);
        QVERIFY(!s.poll().Timer2->isActive());
    } else if (effect == "done") {
        QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
        QCOMPARE(s.poll().ReceiveMode, ReceiveModeKind::Text);
    } else if (effect == "text") {
        QCOMPARE(s.poll().ReceiveMode, ReceiveModeKind::Text);
        QCOMPARE(s.link().Status_conexao, 3);
    } else {
        QCOMPARE(s.link().Status_conexao, 3);
        QCOMPARE(s.poll().ReceiveMode, ReceiveModeKind::Frame);
        QVERIFY(f.log.writes.isEmpty());
        QVERIFY(f.v().StatusBar1[2].isEmpty());
        QVERIFY(!s.poll().Timer2->isActive()); // stopped until the next re-arming
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
    f.s().link().Status_conexao = 4;
    f.receive(bytes, ReceiveModeKind::Frame);
    QCOMPARE(f.s().link().Status_conexao, accepted ? 6 : 4);
    QCOMPARE(f.s().table().loggerInfo.recordsPerMeasurement, accepted ? 10 : 0);
    QCOMPARE(f.s().commands().RecordsReplyLength, accepted ? 145u : 0u);
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
    f.fake->incoming = QByteArray(queued, 'r');
    f.s().poll().Timer2->stop();
    f.s().poll().RearmReceivePoll(expected);
    QCOMPARE(f.s().poll().Timer2->isActive(), enabled);
}

void TestReceivePoll::textModeTakesWholeQueue() {
    PollFixture f;
    f.s().link().BtState = 2;
    f.s().link().Status_conexao = 0;
    // A reply with 40 bytes before it: not a reply, and nothing is left for the next tick.
    f.receive(QByteArray(40, '#') + "OK+CONN", ReceiveModeKind::Text);
    QCOMPARE(f.s().poll().TextBuffer.size(), 36);
    QCOMPARE(f.s().link().Status_conexao, 0);
    QVERIFY(f.fake->incoming.isEmpty());
    QVERIFY(f.s().poll().Timer2->isActive()); // text mode keeps polling
    f.receive("OK+CONN", ReceiveModeKind::Text);
    QCOMPARE(f.s().link().Status_conexao, 1);
}

void TestReceivePoll::frameModeCapsAt26000() {
    PollFixture f;
    f.receive(QByteArray(26010, 'x'), ReceiveModeKind::Frame);
    QCOMPARE(f.s().poll().bytesRead, 26000u);
    QCOMPARE(f.fake->incoming.size(), 10); // the rest stays queued
}

void TestReceivePoll::staleBytesNeverRead() {
    PollFixture f;
    f.s().link().Status_conexao = 4;
    f.receive(configurationReply(), ReceiveModeKind::Frame);
    QCOMPARE(f.s().link().Status_conexao, 6);
    // A short frame after a long one: what follows it in the buffer is not old data.
    f.receive(QByteArray(1, '\x01') + LoggerFrame::AccessRequest, ReceiveModeKind::Frame);
    QVERIFY(std::all_of(f.s().poll().RxBuffer.begin() + 2, f.s().poll().RxBuffer.end(),
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
    f.s().link().Status_conexao = 3;
    fake->incoming = LoggerReply::acknowledgement(LoggerFrame::AccessRequest);
    f.s().poll().ReceiveMode = ReceiveModeKind::Frame;
    f.s().Timer2Timer();
    QCOMPARE(f.s().usb().UsbStatus, int32_t(SerialTransport::IoError));
    // A port that cannot be read is gone: the link-failure reset, saying so.
    QCOMPARE(f.prompt.messages, QStringList{f.s().text(Txt::InterfaceLost)});
    QVERIFY(!f.s().usb().UsbOpen);
    QVERIFY(!f.s().poll().Timer2->isActive());
}

QTEST_GUILESS_MAIN(TestReceivePoll)
#include "tst_receivepoll.moc"
