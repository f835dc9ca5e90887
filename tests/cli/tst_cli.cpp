// tervix-cli as scripts use it, against tervix-sim over a pseudo-terminal on real time.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "app/Windows1252.h"
#include "support/FakeTransport.h"
#include "support/RecordingPrompt.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
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
    void configureClearThenInfo();
    void downloadShowExport();
    void dataFileCommandFailures_data();
    void dataFileCommandFailures();
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

void TestCli::configureClearThenInfo() {
    // The simulated logger applies the new counts and the clear; a later info shows both.
    Simulator sim({"--linked", "A1B2C3D4E5F6", "--records", "25", "--stored", "3"});
    const QStringList common = {"--port", sim.path(), "--address", "A1B2C3D4E5F6", "--lang", "i"};
    Result r = runCli(common + QStringList{"configure", "--interval", "00:00:10", "--records",
                                           "300", "--measurements", "2"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    QCOMPARE(r.out, QString("interval: 00:00:10\n"
                            "records_per_measurement: 300\n"
                            "mode: fixed\n"
                            "configured_measurements: 2\n"));
    r = runCli(common + QStringList{"clear", "--yes"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    r = runCli(common + QStringList{"info"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.out.contains("\nrecords_per_measurement: 300\n"
                            "stored_measurements: 0\n"
                            "configured_measurements: 2\n"),
             qPrintable(r.out));
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
    // Refused before the port is opened: the port does not exist, which would be status 2.
    const QStringList none = {"--port",       "/dev/tervix-none", "--address",
                              "A1B2C3D4E5F6", "--lang",           "i"};
    QTest::newRow("clear without --yes") << (none + QStringList{"clear"}) << 1 << "--yes";
    QTest::newRow("configure, interval not a time")
        << (none + QStringList{"configure", "--interval", "25:00:00", "--records", "300",
                               "--measurements", "2"})
        << 1 << "\"25:00:00\" is not a valid recording interval";
    QTest::newRow("configure, zero interval")
        << (none + QStringList{"configure", "--interval", "00:00:00", "--records", "300",
                               "--measurements", "2"})
        << 1 << "cannot be 00:00:00";
    QTest::newRow("configure, both counts out of range")
        << (none + QStringList{"configure", "--interval", "00:00:10", "--records", "3601",
                               "--measurements", "51"})
        << 1 << "between 2 and 3600 \nThe number of records must be a number between 1 and 50 \n";
    QTest::newRow("configure, continuous with other counts")
        << (none + QStringList{"configure", "--interval", "00:00:10", "--mode", "continuous",
                               "--records", "10"})
        << 1 << "continuous mode records 3600 records";
    QTest::newRow("configure without counts")
        << (none + QStringList{"configure", "--interval", "00:00:10"}) << 1 << "--measurements";
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

void TestCli::downloadShowExport() {
    // One download on real time; the data file it saves is read back by "show", by the
    // session as "Abrir..." reads it, and exported as CSV.
    Simulator sim({"--linked", "A1B2C3D4E5F6", "--unit", "3", "--records", "4", "--stored", "2",
                   "--negative"});
    QTemporaryDir dir;
    const QString file = dir.filePath("ensaio.dat");
    Result r =
        runCli({"--port", sim.path(), "--address", "A1B2C3D4E5F6", "--lang", "e", "download", "-o",
                file, "--title", "Ensayo 1", "--objective", "Presión, línea 2", "--record", "off"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));

    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.endsWith("\r\n"));
    const QStringList lines = Windows1252::decode(bytes.chopped(2)).split("\r\n");
    QCOMPARE(lines.size(), 15 + 2 + 8); // header, titles, two separators, eight records
    QCOMPARE(lines[0], QString("Ensayo 1").leftJustified(50));
    QCOMPARE(lines[1], QString("Presión, línea 2").leftJustified(50));
    QCOMPARE(lines[6], QString("03"));    // PSI
    QCOMPARE(lines[13], QString("0008")); // records
    const QStringList recordLines = lines.mid(15);
    for (const QString& line : recordLines)
        QCOMPARE(line.size(), 40);

    r = runCli({"show", file});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, recordLines.join('\n') + '\n');

    // The window's reading of the same file.
    ManualClock time;
    FixedClock clock{QDateTime::currentDateTime()};
    RecordingPrompt prompt;
    FakeTransport::Log log;
    MainSession session({time, clock, prompt, std::make_unique<FakeTransport>(&log), Regional{}});
    session.Abrir1Click([&] { return file; });
    QVERIFY(prompt.messages.isEmpty());
    QStringList shown;
    for (int row = 1; row <= session.table().fill.rowsWritten; ++row) {
        const RecordSet::Row& cells = session.records().row(row);
        shown << cells[0] + cells[1] + cells[2] + cells[3];
    }
    QCOMPARE(shown, recordLines);
    QCOMPARE(session.view().Label14, QString("PSI"));

    const QString csv = dir.filePath("ensaio.csv");
    r = runCli({"export", file, "-o", csv});
    QCOMPARE(r.exitCode, 0);
    QFile c(csv);
    QVERIFY(c.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(c.readAll()).split("\r\n");
    QCOMPARE(rows.first(), QString("measurement,record,date,time,timestamp,value,unit"));
    QCOMPARE(rows.size(), 1 + 8 + 1); // a line end after the last row
    QVERIFY(rows.last().isEmpty());
    const QRegularExpression iso("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}$");
    int k = 0;
    for (const QString& line : recordLines) {
        if (line.startsWith("   M"))
            continue;
        const QStringList cells = rows[1 + k].split(',');
        QCOMPARE(cells.size(), 7);
        QCOMPARE(cells[0], QString::number(k / 4 + 1));
        QCOMPARE(cells[1], QString::number(k + 1));
        QCOMPARE(cells[2], line.mid(10, 10).trimmed());
        QCOMPARE(cells[3], line.mid(20, 10).trimmed());
        QVERIFY2(iso.match(cells[4]).hasMatch(), qPrintable(cells[4]));
        bool number = false;
        QCOMPARE(cells[5].toDouble(&number), line.mid(30, 10).trimmed().toDouble());
        QVERIFY(number);
        QCOMPARE(cells[6], QString("PSI"));
        ++k;
    }
    QCOMPARE(k, 8);

    // Statistics of the same file: the counts, and the mean of the value cells worked out
    // here from the lines.
    r = runCli({"stats", file, "--upper", "0", "--json"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject stats = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(stats["unit"].toString(), QString("PSI"));
    const QJsonArray measurements = stats["measurements"].toArray();
    QCOMPARE(measurements.size(), 2);
    QCOMPARE(measurements[1].toObject()["records"].toInt(), 4);
    double sum = 0;
    int above = 0;
    for (const QString& line : recordLines) {
        if (line.startsWith("   M"))
            continue;
        const double v = line.mid(30, 10).trimmed().toDouble();
        sum += v;
        above += v > 0 ? 1 : 0;
    }
    const QJsonObject all = stats["all"].toObject();
    QCOMPARE(all["records"].toInt(), 8);
    QVERIFY(qAbs(all["mean"].toDouble() - sum / 8) <= 1e-5 * qMax(1.0, qAbs(sum / 8)));
    QCOMPARE(all["above"].toObject()["records"].toInt(), above);
    QVERIFY(all["mkt"].isNull()); // pressure

    const QString svg = dir.filePath("ensaio.svg");
    r = runCli({"plot", file, "-o", svg, "--measurement", "2", "--upper", "0"});
    QCOMPARE(r.exitCode, 0);
    QFile picture(svg);
    QVERIFY(picture.open(QIODevice::ReadOnly));
    QVERIFY(picture.readAll().contains("<svg"));

    // The record report of the same file, read back from the PDF.
    const QString pdf = dir.filePath("ensaio.pdf");
    r = runCli({"--lang", "e", "report", file, "-o", pdf});
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.isEmpty(), qPrintable(r.err));
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext is not installed");
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(pages.contains("INFORME DEL EQUIPO NUMERO (TAG):"));
    QVERIFY(pages.contains(QString::fromUtf8("Título: Ensayo 1")));
    QVERIFY(pages.contains("Page 1 of 2") && pages.contains("Page 2 of 2"));
    for (const QString& line : recordLines)
        QVERIFY2(pages.contains(line.mid(0, 10).trimmed()), qPrintable(line));
}

void TestCli::dataFileCommandFailures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrContains");
    // Refused before the port is opened: the port does not exist, which would be status 2.
    const QStringList none = {"--port", "/dev/tervix-none", "--address", "A1B2C3D4E5F6", "--lang",
                              "i",      "download",         "-o",        "x.dat"};
    QTest::newRow("download without a title") << none << 1 << "--title";
    QTest::newRow("download, title too long")
        << (none + QStringList{"--title", QString(51, 'a')}) << 1 << "at most 50";
    QTest::newRow("download, responsible beyond the code page")
        << (none + QStringList{"--title", "t", "--responsible", "Иван"}) << 1 << "И в а н";
    QTest::newRow("download, recording switch")
        << (none + QStringList{"--title", "t", "--record", "yes"}) << 1 << "on or off";
    QTest::newRow("show, missing file") << QStringList{"--lang", "i", "show", "no-such-file.dat"}
                                        << 3 << "The file can't be opened.";
    QTest::newRow("show, not a data file") << QStringList{"--lang", "p", "show", TERVIX_SIM} << 3
                                           << "O arquivo não é um arquivo de dados";
    QTest::newRow("export without output") << QStringList{"export", "x.dat"} << 1 << "-o";
    QTest::newRow("report without output") << QStringList{"report", "x.dat"} << 1 << "-o";
    QTest::newRow("report into a missing folder")
        << QStringList{"--lang", "e", "report", "EMPTY", "-o", "/no-such-folder/x.pdf"} << 3
        << "No se puede grabar el archivo PDF: /no-such-folder/x.pdf";
    QTest::newRow("stats, limit not a number")
        << QStringList{"stats", "EMPTY", "--lower", "x"} << 1 << "--lower takes a number";
    QTest::newRow("stats, lower above upper")
        << QStringList{"stats", "EMPTY", "--lower", "2", "--upper", "1"} << 1 << "above --upper";
    QTest::newRow("stats, missing file") << QStringList{"--lang", "i", "stats", "no-such-file.dat"}
                                         << 3 << "The file can't be opened.";
    QTest::newRow("plot, no picture suffix")
        << QStringList{"plot", "EMPTY", "-o", "x.bmp"} << 1 << "OUT.svg or -o OUT.png";
    QTest::newRow("plot, measurement the file does not have")
        << QStringList{"--lang", "i", "plot", "EMPTY", "-o", "x.png", "--measurement", "1"} << 1
        << "Measurement 1 has no records.";
    QTest::newRow("plot into a missing folder")
        << QStringList{"--lang", "i", "plot", "EMPTY", "-o", "/no-such-folder/x.svg"} << 3
        << "The file \"/no-such-folder/x.svg\" cannot be written";
    QTest::newRow("export into a missing folder")
        << QStringList{"--lang", "e", "export", "EMPTY", "-o", "/no-such-folder/x.csv"} << 3
        << "El archivo no se pudo abrir.";
}

void TestCli::dataFileCommandFailures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrContains);
    // "EMPTY" stands for a data file with a header and no records.
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.dat");
    QFile f(empty);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("t" + QByteArray(49, ' ') + "\r\n" + QByteArray(50, ' ') + "\r\n" +
            QByteArray(50, ' ') +
            "\r\n09/12/2025\r\n01\r\n01\r\n00\r\n00\r\n0077\r\n00100\r\n0003\r\n05\r\n00\r\n"
            "0000\r\n  REG.       DATA      HORA    VALOR (BAR)    \r\n");
    f.close();
    arguments.replaceInStrings(QRegularExpression("^EMPTY$"), empty);
    const Result r = runCli(arguments);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(stderrContains), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
