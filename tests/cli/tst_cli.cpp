// tervix-cli as scripts use it, against tervix-sim over a pseudo-terminal on real time.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "app/Windows1252.h"
#include "support/FakeTransport.h"
#include "support/RecordingPrompt.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

namespace {

const QString kAddress = QStringLiteral("A1B2C3D4E5F6");

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
    qint64 ms = 0;
};

Result runCli(const QStringList& arguments, const QString& workDir = {}, int waitMs = 30000) {
    QProcess cli;
    if (!workDir.isEmpty())
        cli.setWorkingDirectory(workDir);
    QElapsedTimer clock;
    clock.start();
    cli.start(QStringLiteral(TERVIX_CLI), arguments);
    Result r;
    if (!cli.waitForFinished(waitMs)) {
        cli.kill();
        cli.waitForFinished();
        return r;
    }
    r.ms = clock.elapsed();
    r.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    r.out = QString::fromUtf8(cli.readAllStandardOutput());
    r.err = QString::fromUtf8(cli.readAllStandardError());
    return r;
}

// tervix-cli run by a shell that first sets `prelude` up (limits, ignored signals) and
// afterwards reports the CPU time the program used, as its last stderr line.
QProcess* startShelled(QObject* parent, const QString& prelude, const QStringList& arguments) {
    auto* p = new QProcess(parent);
    p->start("bash",
             QStringList{"-c", prelude + "; \"$0\" \"$@\"; s=$?; times >&2; exit $s", TERVIX_CLI} +
                 arguments);
    return p;
}

// User plus system seconds of the children, from the last line of bash's "times".
double childCpuSeconds(const QString& err) {
    const QStringList lines = err.trimmed().split('\n');
    const QRegularExpression time("(\\d+)m([\\d.]+)s");
    double seconds = 0;
    for (auto it = time.globalMatch(lines.last()); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        seconds += m.captured(1).toDouble() * 60 + m.captured(2).toDouble();
    }
    return seconds;
}

// The blocks a --trace run wrote to the interface, in order.
QList<QByteArray> sentBlocks(const QString& err) {
    QList<QByteArray> blocks;
    const QRegularExpression sent("^\\s*\\d+\\.\\d+ > ([0-9a-f ]+)$",
                                  QRegularExpression::MultilineOption);
    for (auto it = sent.globalMatch(err); it.hasNext();)
        blocks << QByteArray::fromHex(it.next().captured(1).toLatin1());
    return blocks;
}

const QByteArray kDownloadFrame("\x05\x32\x00\x00\x01", 5);
const QByteArray kSwitchOff("\x05\x36\x34\x00\x01", 5);

// The logger was released once: exactly one recording switch, and after it the PIO steps
// and "AT", nothing else.
void verifyReleasedOnce(const QString& err) {
    const QList<QByteArray> blocks = sentBlocks(err);
    QCOMPARE(blocks.count(kSwitchOff), 1);
    const qsizetype at = blocks.indexOf(kSwitchOff);
    QCOMPARE(blocks.mid(at), (QList<QByteArray>{kSwitchOff, "AT+PIO30", "AT+PIO31", "AT"}));
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
    // The board goes away at once: the far end of the terminal closes.
    void unplug() {
        process_.kill();
        process_.waitForFinished(3000);
    }

private:
    QProcess process_;
    QString path_;
};

// Reads a process's stderr until `needle` shows (or the time is up); returns all read.
QString readErrUntil(QProcess& p, const QByteArray& needle, int ms = 20000) {
    QByteArray err;
    QElapsedTimer clock;
    clock.start();
    p.waitForStarted(5000);
    while (!err.contains(needle) && clock.elapsed() < ms && p.state() == QProcess::Running) {
        p.waitForReadyRead(200);
        err += p.readAllStandardError();
    }
    return QString::fromUtf8(err);
}

// The trace line of a block, as --trace writes it.
QByteArray traced(const QByteArray& block) {
    return "> " + block.toHex(' ');
}

// A data file with a header and no records; `announced` is its record count (line 14).
QByteArray dataFile(int announced) {
    return "t" + QByteArray(49, ' ') + "\r\n" + QByteArray(50, ' ') + "\r\n" + QByteArray(50, ' ') +
           "\r\n09/12/2025\r\n01\r\n01\r\n00\r\n00\r\n0077\r\n00100\r\n0003\r\n05\r\n" +
           (announced ? "01" : "00") + "\r\n" +
           QByteArray::number(announced).rightJustified(4, '0') +
           "\r\n  REG.       DATA      HORA    VALOR (BAR)    \r\n";
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void infoOverPseudoTerminal();
    void configureClearThenInfo();
    void downloadShowExport();
    void failures_data();
    void failures();
    void loggerReleased_data();
    void loggerReleased();
    void releasedOnSignal_data();
    void releasedOnSignal();
    void vanishedBoard();
    void savedButNotReleased();
    void outputToStandardOutput();
    void fullDisk_data();
    void fullDisk();
    void brokenSettingsFiles();
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
    const QByteArray csvBytes = contentOf(csv);
    // "-" pipes the same bytes.
    r = runCli({"export", file, "-o", "-"});
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out.toUtf8(), csvBytes);
    const QStringList rows = QString::fromUtf8(csvBytes).split("\r\n");
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

void TestCli::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrContains");
    // Placeholders: EMPTY a data file without records, CUT one that announces records it does
    // not hold, FIFO a named pipe. The port /dev/tervix-none does not exist: a command refused
    // before it is opened exits 1, not 2.
    const QStringList none = {"--port", "/dev/tervix-none", "--address", kAddress, "--lang", "i"};
    const QStringList download = none + QStringList{"download", "-o", "x.dat"};

    QTest::newRow("no command") << QStringList{"--simulate"} << 1 << "no command";
    QTest::newRow("unknown command") << QStringList{"--simulate", "fly"} << 1 << "unknown";
    QTest::newRow("bad language") << QStringList{"--lang", "x", "info"} << 1 << "--lang";
    QTest::newRow("two backends") << QStringList{"--simulate", "--ftdi", "info"} << 1 << "exclude";
    QTest::newRow("unknown simulator option")
        << QStringList{"--simulate", "--sim-options", "--no-such", "--address", kAddress, "info"}
        << 1 << "unknown option --no-such";
    QTest::newRow("extra argument")
        << (none + QStringList{"info", "extra"}) << 1 << "info: unexpected argument: extra";
    QTest::newRow("bad timeout") << (none + QStringList{"info", "--timeout", "0"}) << 1
                                 << "--timeout takes a whole number";
    for (const char* address : {"A1B2C3D4E5F6A", "ZZZZZZZZZZZZ", "A1B2C3\nD4E5F",
                                "A1B2C3\x01"
                                "D4E5F"})
        QTest::newRow(qPrintable(QString("address %1").arg(QString(address).toLatin1().toHex())))
            << QStringList{"--simulate", "--address", address, "info"} << 1
            << "--address takes exactly 12 hexadecimal digits";

    QTest::newRow("port that does not exist")
        << (none + QStringList{"info"}) << 2
        << "Error opening USB device.\n/dev/tervix-none: No such file or directory";
    QTest::newRow("port that is not a serial device")
        << QStringList{"--port", "EMPTY", "--address", kAddress, "--lang", "i", "info"} << 2
        << "EMPTY: not a serial device";
    QTest::newRow("simulated open failure")
        << QStringList{"--simulate", "--sim-options", "--open-fail", "--address",
                       kAddress,     "--lang",        "p",           "info"}
        << 2 << "Erro ao abrir o dispositivo USB.";

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

    QTest::newRow("download without a title") << download << 1 << "--title";
    QTest::newRow("download, title too long")
        << (download + QStringList{"--title", QString(51, 'a')}) << 1 << "at most 50";
    QTest::newRow("download, responsible beyond the code page")
        << (download + QStringList{"--title", "t", "--responsible", "Иван"}) << 1 << "И в а н";
    QTest::newRow("download, recording switch")
        << (download + QStringList{"--title", "t", "--record", "yes"}) << 1 << "on or off";

    QTest::newRow("show, missing file")
        << QStringList{"--lang", "i", "show", "no-such-file.dat"} << 3
        << "The file can't be opened.\nno-such-file.dat: No such file or directory";
    QTest::newRow("show, not a data file") << QStringList{"--lang", "p", "show", TERVIX_SIM} << 3
                                           << "O arquivo não é um arquivo de dados";
    QTest::newRow("show, a FIFO") << QStringList{"--lang", "i", "show", "FIFO"} << 3
                                  << "FIFO: not a regular file";
    QTest::newRow("show, records missing")
        << QStringList{"--lang", "i", "show", "CUT"} << 0 << "Incomplete file: 0 of 5 rows read.";
    QTest::newRow("export without output") << QStringList{"export", "x.dat"} << 1 << "-o";
    QTest::newRow("report without output") << QStringList{"report", "x.dat"} << 1 << "-o";
    QTest::newRow("report of a FIFO")
        << QStringList{"report", "FIFO", "-o", "x.pdf"} << 3 << "FIFO: not a regular file";
    QTest::newRow("report into a missing folder")
        << QStringList{"--lang", "e", "report", "EMPTY", "-o", "/no-such-folder/x.pdf"} << 3
        << "No se puede grabar el archivo PDF: /no-such-folder/x.pdf: ";
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
        << "El archivo no se pudo abrir.\n/no-such-folder/x.csv: ";
}

void TestCli::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrContains);
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.dat");
    const QString cut = dir.filePath("cut.dat");
    const QString fifo = dir.filePath("fifo");
    QVERIFY(writeFile(empty, dataFile(0)));
    QVERIFY(writeFile(cut, dataFile(4)));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    arguments.replaceInStrings(QRegularExpression("^EMPTY$"), empty);
    arguments.replaceInStrings(QRegularExpression("^CUT$"), cut);
    arguments.replaceInStrings(QRegularExpression("^FIFO$"), fifo);
    stderrContains.replace("EMPTY", empty).replace("FIFO", fifo);
    const Result r = runCli(arguments, dir.path());
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(stderrContains), qPrintable(r.err));
    if (exitCode == 1)
        QVERIFY2(!QFileInfo::exists(dir.filePath("x.dat")), "nothing is done on bad usage");
}

void TestCli::loggerReleased_data() {
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("message");
    const QStringList silent = {"--linked", kAddress, "--drop", "7"};
    // --timeout ends the wait; the session's own access time-out comes later.
    QTest::newRow("info, --timeout during access")
        << silent << QStringList{"--lang", "i", "--timeout", "2", "info"}
        << "Timed out. (access and configuration)";
    // The logger never answers the access request: the session gives up by itself and has
    // already begun the disconnect, which is waited for, never started again.
    const QString refused = "Verifique se o registrador está habilitado e tente novamente";
    QTest::newRow("info, access refused")
        << silent << QStringList{"--lang", "p", "info"} << refused;
    QTest::newRow("configure, access refused")
        << silent << QStringList{"--lang",    "p",   "configure",      "--interval", "00:00:10",
                                 "--records", "300", "--measurements", "2"}
        << refused;
    QTest::newRow("clear, access refused")
        << silent << QStringList{"--lang", "p", "clear", "--yes"} << refused;
    QTest::newRow("download, --timeout mid-download")
        << QStringList{"--linked", kAddress, "--records", "3000", "--stored", "1"}
        << QStringList{"--lang", "i", "download", "-o", "x.dat", "--title", "t", "--timeout", "6"}
        << "Timed out. (download)";
}

void TestCli::loggerReleased() {
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, command);
    QFETCH(QString, message);
    Simulator sim(simulator);
    QTemporaryDir dir;
    const Result r =
        runCli(QStringList{"--port", sim.path(), "--address", kAddress, "--trace"} + command,
               dir.path(), 40000);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY2(r.ms < 20000, qPrintable(QString::number(r.ms)));
    verifyReleasedOnce(r.err);
    QVERIFY(!QFileInfo::exists(dir.filePath("x.dat")));
}

void TestCli::releasedOnSignal_data() {
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("SIGINT") << int(SIGINT) << 130;
    QTest::newRow("SIGTERM") << int(SIGTERM) << 143;
}

void TestCli::releasedOnSignal() {
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    Simulator sim({"--linked", kAddress, "--records", "3000", "--stored", "1"});
    QTemporaryDir dir;
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(TERVIX_CLI, {"--port", sim.path(), "--address", kAddress, "--trace", "download", "-o",
                           "x.dat", "--title", "t"});
    QString err = readErrUntil(cli, traced(kDownloadFrame));
    QVERIFY2(err.contains(traced(kDownloadFrame)), qPrintable(err));
    QCOMPARE(::kill(pid_t(cli.processId()), signal), 0);
    QVERIFY(cli.waitForFinished(15000));
    err += QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), exitCode);
    verifyReleasedOnce(err);
    QVERIFY(!QFileInfo::exists(dir.filePath("x.dat")));
}

void TestCli::vanishedBoard() {
    // The adapter is unplugged mid-download: the far end of the terminal closes.
    auto sim = std::make_unique<Simulator>(
        QStringList{"--linked", kAddress, "--records", "3000", "--stored", "1"});
    QTemporaryDir dir;
    std::unique_ptr<QProcess> cli(
        startShelled(nullptr, "cd " + dir.path(),
                     {"--port", sim->path(), "--address", kAddress, "--lang", "i", "--trace",
                      "download", "-o", "x.dat", "--title", "t"}));
    QString err = readErrUntil(*cli, traced(kDownloadFrame));
    QVERIFY2(err.contains(traced(kDownloadFrame)), qPrintable(err));
    QElapsedTimer clock;
    clock.start();
    sim->unplug();
    QVERIFY(cli->waitForFinished(20000));
    const qint64 ms = clock.elapsed();
    err += QString::fromUtf8(cli->readAllStandardError());
    QCOMPARE(cli->exitCode(), 2);
    QVERIFY2(err.contains("The USB interface was lost."), qPrintable(err));
    QVERIFY2(ms < 5000, qPrintable(QString::number(ms)));
    // Waiting costs no CPU: the whole run, start-up included, uses well under a second.
    const double cpu = childCpuSeconds(err);
    QVERIFY2(cpu < 1.0, qPrintable(QString::number(cpu)));
    QVERIFY(!QFileInfo::exists(dir.filePath("x.dat")));
}

void TestCli::savedButNotReleased() {
    // Eight writes reach the logger (address check, four PIO steps, access, configuration,
    // download); the recording switch of the disconnect is the first that fails.
    QTemporaryDir dir;
    const Result r =
        runCli({"--simulate", "--sim-options",
                "--linked " + kAddress + " --records 4 --stored 1 --write-fail-after 8",
                "--address", kAddress, "--lang", "i", "download", "-o", "x.dat", "--title", "t"},
               dir.path());
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains("Error when trying to send data."), qPrintable(r.err));
    QVERIFY2(r.err.contains("the data file x.dat was saved; only the disconnect failed"),
             qPrintable(r.err));
    QVERIFY(QFileInfo(dir.filePath("x.dat")).size() > 0);
}

void TestCli::outputToStandardOutput() {
    // "-" and /dev/stdout go through the descriptor: appending keeps what was there.
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.dat");
    const QString log = dir.filePath("log");
    QVERIFY(writeFile(empty, dataFile(0)));
    QVERIFY(writeFile(log, "earlier\n"));
    for (const char* target : {"-", "/dev/stdout"}) {
        QProcess shell;
        shell.start("bash", {"-c", "\"$0\" export \"$1\" -o \"$2\" >> \"$3\"", TERVIX_CLI, empty,
                             target, log});
        QVERIFY(shell.waitForFinished(30000));
        QCOMPARE(shell.exitCode(), 0);
    }
    const QByteArray header = "measurement,record,date,time,timestamp,value,unit\r\n";
    QCOMPARE(contentOf(log), "earlier\n" + header + header);
}

void TestCli::fullDisk_data() {
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("limitKb");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("message");
    const QStringList report = {"--lang", "e", "report", "EMPTY", "-o", "OUT"};
    QTest::newRow("report, new file")
        << report << 4 << false << "No se puede grabar el archivo PDF: OUT: File too large";
    QTest::newRow("report, existing file")
        << report << 4 << true << "No se puede grabar el archivo PDF: OUT: File too large";
    QTest::newRow("export, existing file")
        << QStringList{"--lang", "i", "export", "EMPTY", "-o", "OUT"} << 0 << true
        << "Error writing to file.\nOUT: File too large";
}

void TestCli::fullDisk() {
    QFETCH(QStringList, command);
    QFETCH(int, limitKb);
    QFETCH(bool, existing);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.dat");
    const QString out = dir.filePath("out");
    QVERIFY(writeFile(empty, dataFile(0)));
    if (existing)
        QVERIFY(writeFile(out, "the earlier file\n"));
    command.replaceInStrings(QRegularExpression("^EMPTY$"), empty);
    command.replaceInStrings(QRegularExpression("^OUT$"), out);
    message.replace("OUT", out);
    // A file-size limit stands for a full disk: writes beyond it fail.
    std::unique_ptr<QProcess> cli(
        startShelled(nullptr, QString("trap '' XFSZ; ulimit -f %1").arg(limitKb), command));
    QVERIFY(cli->waitForFinished(30000));
    const QString err = QString::fromUtf8(cli->readAllStandardError());
    QCOMPARE(cli->exitCode(), 3);
    QVERIFY2(err.contains(message), qPrintable(err));
    if (existing)
        QCOMPARE(contentOf(out), QByteArray("the earlier file\n"));
    else
        QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), existing ? 2 : 1);
}

void TestCli::brokenSettingsFiles() {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.dat");
    QVERIFY(writeFile(empty, dataFile(0)));
    // The settings file is a folder: said once, in Portuguese, and the command runs.
    QVERIFY(QDir(dir.path()).mkdir("prg.IDO"));
    Result r = runCli({"show", empty}, dir.path());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.err.count("O arquivo não pode ser aberto."), 1);
    QVERIFY2(r.err.contains("prg.IDO: is a folder"), qPrintable(r.err));

    // The device list is a FIFO: refused at once, named as the file at fault.
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("lidi.IDO")).constData(), 0600), 0);
    r = runCli({"--simulate", "--lang", "i", "info"}, dir.path(), 10000);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains("lidi.IDO: not a regular file"), qPrintable(r.err));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
