// tervix-cli as scripts use it, against tervix-sim over a pseudo-terminal on real time.
#include <QProcess>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runCli(const QStringList& arguments, int waitMs = 30000) {
    QProcess cli;
    cli.start(QStringLiteral(TERVIX_CLI), arguments);
    Result r;
    if (!cli.waitForFinished(waitMs)) {
        cli.kill();
        cli.waitForFinished();
        return r;
    }
    r.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    r.out = QString::fromUtf8(cli.readAllStandardOutput());
    r.err = QString::fromUtf8(cli.readAllStandardError());
    return r;
}

// One simulator for a test; its pseudo-terminal path is the first line it prints.
class Simulator {
public:
    explicit Simulator(const QStringList& options) {
        process_.start(QStringLiteral(TERVIX_SIM), options);
        if (process_.waitForReadyRead(5000))
            path_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~Simulator() {
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
    }
    const QString& path() const { return path_; }

private:
    QProcess process_;
    QString path_;
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void infoOverPseudoTerminal();
    void loggerThatDoesNotAnswer();
    void failures_data();
    void failures();
};

void TestCli::infoOverPseudoTerminal() {
    Simulator sim({"--linked", "A1B2C3D4E5F6", "--type", "4", "--records", "25", "--stored", "3"});
    QVERIFY(sim.path().startsWith("/dev/"));
    const Result r =
        runCli({"--port", sim.path(), "--address", "A1B2C3D4E5F6", "--lang", "e", "info"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, QString("equipment: 1234\n"
                            "type: 4 HUMEDAD\n"
                            "unit: 0 %\n"
                            "decimals: 1\n"
                            "records_per_measurement: 25\n"
                            "stored_measurements: 3\n"
                            "configured_measurements: 5\n"
                            "records_reply_length: 530\n"));
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
}

void TestCli::loggerThatDoesNotAnswer() {
    // No access reply: the command gives up by itself within its time limit.
    Simulator sim({"--linked", "A1B2C3D4E5F6", "--drop", "7"});
    QElapsedTimer clock;
    clock.start();
    const Result r = runCli({"--port", sim.path(), "--address", "A1B2C3D4E5F6", "--lang", "i",
                             "--timeout", "2", "info"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(!r.err.isEmpty(), "a failure is explained on stderr");
    QVERIFY(clock.elapsed() < 15000);
}

void TestCli::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrContains");
    QTest::newRow("no command") << QStringList{"--simulate"} << 1 << "no command";
    QTest::newRow("unknown command") << QStringList{"--simulate", "fly"} << 1 << "unknown";
    QTest::newRow("bad language") << QStringList{"--lang", "x", "info"} << 1 << "--lang";
    QTest::newRow("two backends") << QStringList{"--simulate", "--ftdi", "info"} << 1 << "exclude";
    QTest::newRow("port that does not exist")
        << QStringList{"--port", "/dev/tervix-none", "--address", "A1B2C3D4E5F6", "--lang", "i",
                       "info"}
        << 2 << "Error opening USB device.";
    QTest::newRow("simulated open failure")
        << QStringList{"--simulate",   "--sim-options", "--open-fail", "--address",
                       "A1B2C3D4E5F6", "--lang",        "p",           "info"}
        << 2 << "Erro ao abrir o dispositivo USB.";
    QTest::newRow("address too long")
        << QStringList{"--simulate", "--address", "A1B2C3D4E5F6AB", "--lang", "i", "info"} << 2
        << "longer than 13";
}

void TestCli::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrContains);
    const Result r = runCli(arguments);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(stderrContains), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
