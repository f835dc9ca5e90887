#include "link/QtSerialTransport.h"
#include "protocol/LoggerFrame.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

constexpr int32_t kOk = SerialTransport::Ok;

// Starts the simulator and returns the terminal path it prints first.
QString startSimulator(QProcess& sim, const QStringList& arguments) {
    sim.start(QStringLiteral(TERVIX_SIM_PROGRAM), arguments);
    if (!sim.waitForStarted(3000))
        return {};
    QElapsedTimer waited;
    waited.start();
    while (!sim.canReadLine() && waited.elapsed() < 3000)
        sim.waitForReadyRead(100);
    return QString::fromLocal8Bit(sim.readLine()).trimmed();
}

// Polls the port in short steps, as the receive poll does, until `want` bytes have come
// or the deadline has passed; then waits a little longer so that surplus bytes show.
QByteArray collect(SerialTransport& port, qsizetype want, int deadlineMs = 2000) {
    QByteArray got;
    QElapsedTimer waited;
    waited.start();
    auto poll = [&] {
        uint32_t n = 0;
        port.queueStatus(&n);
        if (n == 0)
            return;
        QByteArray chunk(qsizetype(n), '\0');
        uint32_t read = 0;
        port.read(chunk.data(), n, &read);
        got += chunk.left(read);
    };
    while (got.size() < want && waited.elapsed() < deadlineMs) {
        QTest::qWait(10);
        poll();
    }
    QTest::qWait(40);
    poll();
    return got;
}

int32_t send(SerialTransport& port, const QByteArray& bytes) {
    uint32_t written = 0;
    return port.write(bytes, &written);
}

} // namespace

class TestSerialRoundTrip : public QObject {
    Q_OBJECT

private slots:
    void roundTrip();
    void endsOnStandardInputEofWhenAsked();
    void helpAndBadOptions();
};

void TestSerialRoundTrip::roundTrip() {
    QProcess sim;
    // The trace stays in the test's directory for a look after a failure.
    sim.setStandardErrorFile(QStringLiteral("roundtrip-trace.txt"));
    const QString path = startSimulator(sim, {"--trace", "--stored", "1", "--module-latency", "5",
                                              "--logger-latency", "5", "--conn-delay", "30"});
    QVERIFY2(path.startsWith(QLatin1String("/dev/")), qPrintable(path));

    QtSerialTransport port(path);
    QCOMPARE(port.open(0), kOk);
    QCOMPARE(port.setDataCharacteristics(8, 0, 0), kOk);
    QCOMPARE(port.setBaudRate(9600), kOk);
    QCOMPARE(port.setTimeouts(1, 0), kOk);
    QCOMPARE(port.purge(SerialTransport::PurgeRx | SerialTransport::PurgeTx), kOk);

    QCOMPARE(send(port, "AT+ADDR?"), kOk);
    QCOMPARE(collect(port, 20), QByteArray("OK+ADDR:00124B0A17F3"));
    QCOMPARE(send(port, "AT+CONA4C1380B9F21"), kOk);
    QCOMPARE(collect(port, 15), QByteArray("OK+CONNAOK+CONN"));
    QCOMPARE(send(port, LoggerFrame::accessRequest()), kOk);
    QCOMPARE(collect(port, 5).toHex(' '), QByteArray("05 37 00 00 01"));
    QCOMPARE(send(port, LoggerFrame::readConfiguration()), kOk);
    const QByteArray config = collect(port, 26);
    QCOMPARE(config.size(), 26);
    QCOMPARE(config.left(5).toHex(' '), QByteArray("1a 31 01 00 4b"));
    QCOMPARE(send(port, LoggerFrame::downloadRecords()), kOk);
    const QByteArray records = collect(port, 75);
    QCOMPARE(records.size(), 75);
    QCOMPARE(records.left(10).toHex(' '), QByteArray("00 32 01 00 4b 0e 03 08 00 00"));

    // A client that goes away and comes back finds the board as it left it.
    port.close();
    QCOMPARE(port.open(0), kOk);
    QCOMPARE(send(port, "AT+ADDR?"), kOk);
    QCOMPARE(collect(port, 20), QByteArray("OK+ADDR:A4C1380B9F21"));
    port.close();

    sim.terminate();
    QVERIFY(sim.waitForFinished(3000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
    // Each command reached the board as one block.
    QFile traceFile(QStringLiteral("roundtrip-trace.txt"));
    QVERIFY(traceFile.open(QIODevice::ReadOnly));
    const QByteArray trace = traceFile.readAll();
    QVERIFY2(trace.contains("< 41 54 2b 41 44 44 52 3f\n"), trace.constData());
    QVERIFY2(trace.contains("< 05 31 00 00 01\n"), trace.constData());
}

void TestSerialRoundTrip::endsOnStandardInputEofWhenAsked() {
    QProcess sim;
    QVERIFY(!startSimulator(sim, {"--exit-on-stdin-eof"}).isEmpty());
    QVERIFY(!sim.waitForFinished(200)); // still serving
    sim.closeWriteChannel();
    QVERIFY(sim.waitForFinished(3000));
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), 0);
}

void TestSerialRoundTrip::helpAndBadOptions() {
    QProcess help;
    help.start(QStringLiteral(TERVIX_SIM_PROGRAM), {"--help"});
    QVERIFY(help.waitForFinished(3000));
    QCOMPARE(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    for (const char* option : {"--exit-on-stdin-eof", "--trace", "--truncate", "--oversize"})
        QVERIFY2(text.contains(option), option);

    QProcess bad;
    bad.start(QStringLiteral(TERVIX_SIM_PROGRAM), {"--drop", "5"});
    QVERIFY(bad.waitForFinished(3000));
    QCOMPARE(bad.exitStatus(), QProcess::NormalExit);
    QCOMPARE(bad.exitCode(), 1);
    QVERIFY(bad.readAllStandardOutput().isEmpty()); // no terminal was opened
    QVERIFY(bad.readAllStandardError().contains("--drop"));
}

QTEST_GUILESS_MAIN(TestSerialRoundTrip)
#include "tst_serialroundtrip.moc"
