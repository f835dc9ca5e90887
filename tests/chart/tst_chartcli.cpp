// tervix-cli chart: the picture of a data file, the same as the chart window draws after
// "Abrir...", and the command's refusals.
#include "ChartTable.h"
#include "chart/ChartController.h"
#include "records/DataFile.h"
#include "support/SessionFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QString err;
};

Result runCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(TERVIX_CLI), arguments);
    Result r;
    if (!cli.waitForFinished(30000)) {
        cli.kill();
        cli.waitForFinished();
        return r;
    }
    r.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    r.err = QString::fromUtf8(cli.readAllStandardError());
    return r;
}

// Three measurements of 30 records, the last one holding 7, saved as "chart.DAT" in the
// scratch folder; one value cell may be damaged.
struct DataFileRig : SessionFixture {
    explicit DataFileRig(int damagedRecord = 0) {
        s().FormShow();
        fillChartTable(s(), 30, 3, 67, 2, [](int r) { return (r * 37 % 23) * 0.75 - 4; });
        if (damagedRecord)
            s().records().setCell(damagedRecord + 1 + (damagedRecord - 1) / 30, 3,
                                  QStringLiteral("   12x4   "));
        QFile f(QStringLiteral("chart.DAT"));
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot write the data file");
        f.write(DataFile::write({QStringLiteral("Chart"), {}, {}, QStringLiteral("01/02/2025")},
                                s().table().loggerInfo, s().records(),
                                s().table().fill.rowsWritten));
    }
};

// The picture the window shows for the same file: opened, measurement k confirmed, then the
// j-th start (0: "Todos os registros").
QImage windowPicture(int k, int j) {
    const QString path = QDir::current().absoluteFilePath(QStringLiteral("chart.DAT"));
    SessionFixture reader;
    reader.s().FormShow();
    reader.s().Abrir1Click([&] { return path; });
    if (!reader.prompt.messages.isEmpty())
        qFatal("the data file does not open: %s", qPrintable(reader.prompt.messages.first()));
    ChartController chart(reader.s().chartSource());
    chart.FormShow();
    chart.ListBox1Click(k - 1);
    chart.Button2_Sel_MedClick();
    if (j == 0)
        chart.Button1Click();
    else if (chart.view().ComboBox1Enabled)
        chart.ComboBox1Change(j - 1);
    return chart.picture();
}

} // namespace

class TestChartCli : public QObject {
    Q_OBJECT
private slots:
    void sameAsTheWindow_data();
    void sameAsTheWindow();
    void refusals_data();
    void refusals();
};

void TestChartCli::sameAsTheWindow_data() {
    QTest::addColumn<int>("k");
    QTest::addColumn<int>("j");
    QTest::newRow("measurement 2 from its 3rd start") << 2 << 3;
    QTest::newRow("measurement 1, all records") << 1 << 0;
    QTest::newRow("short last measurement") << 3 << 1;
}

void TestChartCli::sameAsTheWindow() {
    QFETCH(int, k);
    QFETCH(int, j);
    DataFileRig rig;
    const QImage expected = windowPicture(k, j);
    QDir::setCurrent(rig.dir.path());

    QStringList args{QStringLiteral("chart"), QStringLiteral("chart.DAT"),
                     QStringLiteral("-m"),    QString::number(k),
                     QStringLiteral("-o"),    QStringLiteral("out.bmp")};
    args << (j ? QStringList{QStringLiteral("--start"), QString::number(j)}
               : QStringList{QStringLiteral("--all")});
    const Result r = runCli(args);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QImage written(QStringLiteral("out.bmp"), "BMP");
    QCOMPARE(written.size(), QSize(645, 393));
    QCOMPARE(written.convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
    // Not an empty chart: the measurement's line is on it.
    int red = 0;
    for (int y = 75; y <= 325; ++y)
        for (int x = 75; x <= 625; ++x)
            red += written.pixelColor(x, y) == QColor(255, 0, 0);
    QVERIFY(red > 0);
}

void TestChartCli::refusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("damagedRecord");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QStringList base{"chart", "chart.DAT", "-o", "out.bmp"};
    QTest::newRow("no such file") << QStringList{"chart", "missing.DAT", "-m",     "1",
                                                 "--all", "-o",          "out.bmp"}
                                  << 0 << 3 << "";
    QTest::newRow("damaged value")
        << base + QStringList{"-m", "2", "--start", "1"} << 45 << 3 << "45";
    QTest::newRow("measurement not listed")
        << base + QStringList{"-m", "4", "--all"} << 0 << 1 << "lists 3 measurement";
    QTest::newRow("start not listed")
        << base + QStringList{"-m", "1", "--start", "22"} << 0 << 1 << "lists 21 start";
    QTest::newRow("all of a measurement drawn whole")
        << base + QStringList{"-m", "3", "--all"} << 0 << 1 << "--all";
    QTest::newRow("start and all")
        << base + QStringList{"-m", "1", "--all", "--start", "1"} << 0 << 1 << "either";
    QTest::newRow("no measurement") << base + QStringList{"--all"} << 0 << 1 << "-m K";
    QTest::newRow("folder that does not exist")
        << QStringList{"chart", "chart.DAT", "-m", "1", "--all", "-o", "nowhere/out.bmp"} << 0 << 3
        << "out.bmp";
    // A device that takes no byte stands for a full disk: the reason is the system's.
    QTest::newRow("full device") << QStringList{"chart", "chart.DAT", "-m",       "1",
                                                "--all", "-o",        "/dev/full"}
                                 << 0 << 3
                                 << "\"/dev/full\" não pode ser gravado: No space left on device";
}

void TestChartCli::refusals() {
    QFETCH(QStringList, args);
    QFETCH(int, damagedRecord);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    DataFileRig rig(damagedRecord);
    const Result r = runCli(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(QStringLiteral("out.bmp")));
}

QTEST_MAIN(TestChartCli)
#include "tst_chartcli.moc"
