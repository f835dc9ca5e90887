// The record report's variables, its pagination, and the PDF pages of both reports read back
// with the poppler tools.
#include "chart/ChartController.h"
#include "records/RecordCells.h"
#include "report/ChartReport.h"
#include "report/RecordReport.h"
#include "report/ReportVariables.h"
#include "support/SessionFixture.h"

#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <optional>

namespace {

// A record table of one measurement of n records, as a download leaves it.
void fillRecords(RecordSet& records, int n) {
    QList<RecordSet::Row> rows;
    rows.append(RecordCells::separatorRow(1));
    for (int k = 1; k <= n; ++k)
        rows.append({RecordCells::numberText(k), "  05/12   ", " 10:00:00 ", "   0012.3 "});
    rows.append(RecordSet::Row{});
    records.setRow(0, {"  REG.    ", "   DATA   ", "   HORA   ", " VALOR (BAR)    "});
    records.replaceRowsFrom(1, rows);
}

// Runs a tool; its standard output, or nullopt when it failed.
std::optional<QString> run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Rendering a PDF page may move a channel by a step or two.
bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 3 && std::abs(a.green() - b.green()) <= 3 &&
           std::abs(a.blue() - b.blue()) <= 3;
}

bool havePoppler() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void coverText_data();
    void coverText();
    void variablesFromSession();
    void pagination_data();
    void pagination();
    void recordReportPdf();
    void chartReportShowsPicture();
    void chartReportFollowsRedraw();
};

void TestReport::coverText_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<QString>("expected");
    QTest::newRow("p downloaded")
        << 'p' << false
        << QString::fromUtf8("RELATÓRIO DO EQUIPAMENTO NÚMERO (TAG):     1234\n\n\n\n"
                             "Título: Caldeira\n\nObjetivo: Teste\n\nResponsável: Ana\n\n"
                             "Data: 09/12/2025\n\n");
    QTest::newRow("e from file") << 'e' << true
                                 << QString::fromUtf8(
                                        "INFORME DEL EQUIPO NUMERO (TAG):     1234\n\n\n\n"
                                        "Título: Caldeira\nObjetivo: Teste\nAutor: Ana\n"
                                        "Fecha: 09/12/2025\n\n");
    QTest::newRow("i downloaded")
        << 'i' << false
        << QString("REPORT OF EQUIPMENT NUMBER (TAG):     1234\n\n\n\nTitle: Caldeira\n\n"
                   "Subject: Teste\n\nAuthor: Ana\n\nDate: 09/12/2025\n\n");
}

void TestReport::coverText() {
    QFETCH(char, language);
    QFETCH(bool, fromFile);
    QFETCH(QString, expected);
    const ReportVariables::Cover cover{
        "1234",  "Caldeira",   "Teste",
        "Ana",   "09/12/2025", fromFile ? RecordOriginKind::FromFile : RecordOriginKind::Downloaded,
        language};
    QCOMPARE(ReportVariables::file(cover), expected);
}

void TestReport::variablesFromSession() {
    SessionFixture f('i');
    f.s().FormShow();
    fillRecords(f.s().records(), 3);
    f.s().table().fill.rowsWritten = 4;
    f.s().Edit3Change("Boiler");
    QCOMPARE(f.s().frxReport1GetValue("FILE1"),
             QString("  REG.       DATA      HORA    VALOR (BAR)    \n"));
    const QString listing = f.s().frxReport1GetValue("file2");
    QCOMPARE(listing.count('\n'), 4); // the separator row and three records
    QVERIFY(listing.startsWith("   M        0001    " + QString(20, ' ') + "\n"));
    QVERIFY(listing.endsWith("  0003      05/12    10:00:00    0012.3 \n"));
    QVERIFY(f.s().frxReport1GetValue("File").contains("Title: Boiler\n\n"));
    QVERIFY(f.s().frxReport1GetValue("other").isEmpty());
}

void TestReport::pagination_data() {
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("listingPages");
    // Courier New 8 pt has a line spacing of about 3.2 mm: 82 lines a column.
    QTest::newRow("empty record set") << 0 << 1;
    QTest::newRow("100 records") << 100 << 1;
    QTest::newRow("164 lines") << 163 << 1;
    QTest::newRow("165 lines") << 164 << 2;
    QTest::newRow("3713 records") << 3713 << 23;
}

void TestReport::pagination() {
    QFETCH(int, records);
    QFETCH(int, listingPages);
    RecordSet r;
    fillRecords(r, records);
    const QString file2 = ReportVariables::file2(r, records > 0 ? records + 1 : 0);
    const RecordReport report("cover", ReportVariables::file1(r), file2);
    const RecordReport::Layout l = report.layout(3.2);
    QCOMPARE(l.linesPerColumn, 82);
    QCOMPARE(l.listingPages, listingPages);
    QCOMPARE(report.listingLines().size(), records > 0 ? records + 1 : 0);
    if (records == 100) // 101 lines: both columns of the first listing page are used
        QVERIFY(report.listingLines().size() > l.linesPerColumn);
}

void TestReport::recordReportPdf() {
    if (!havePoppler())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    RecordSet r;
    fillRecords(r, 3713);
    const RecordReport report(ReportVariables::file({"1234", "Caldeira", "", "", "09/12/2025",
                                                     RecordOriginKind::Downloaded, 'p'}),
                              ReportVariables::file1(r), ReportVariables::file2(r, 3714));
    const QString pdf = dir.filePath("report.pdf");
    {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        QVERIFY(report.print(writer));
    }
    const QString info = run("pdfinfo", {pdf}).value_or(QString());
    const QRegularExpressionMatch pages = QRegularExpression("Pages:\\s+(\\d+)").match(info);
    QVERIFY(pages.hasMatch());
    const int pageCount = pages.captured(1).toInt();
    QVERIFY2(pageCount >= 20 && pageCount <= 30, qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression("Page size:.*\\(A4\\)")) &&
                 info.contains(QRegularExpression("Page size:\\s+595")),
             qPrintable(info)); // A4 portrait

    const QString text = run("pdftotext", {"-layout", pdf, "-"}).value_or(QString());
    const QStringList perPage = text.split('\f', Qt::SkipEmptyParts);
    QCOMPARE(perPage.size(), pageCount);
    for (int p = 0; p < pageCount; ++p)
        QVERIFY2(perPage[p].contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pageCount)),
                 qPrintable(QString::number(p + 1)));
    QVERIFY(perPage[0].contains(QString::fromUtf8("RELATÓRIO DO EQUIPAMENTO NÚMERO (TAG):")));
    QVERIFY(perPage[0].contains("Caldeira"));
    for (int p = 1; p < pageCount; ++p)
        QVERIFY(perPage[p].contains("VALOR (BAR)"));
    QVERIFY(perPage[1].contains("0001"));
    QVERIFY(perPage[pageCount - 1].contains("3713"));
    // Every record is listed once.
    QCOMPARE(text.count("0012.3"), 3713);
}

void TestReport::chartReportShowsPicture() {
    if (!havePoppler())
        QSKIP("pdftoppm is not installed");
    QTemporaryDir dir;
    for (const QColor colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage picture(645, 393, QImage::Format_RGB32);
        picture.fill(colour);
        const QString pdf = dir.filePath("chart.pdf");
        {
            QPdfWriter writer(pdf);
            QVERIFY(ChartReport::print(writer, picture));
        }
        const QString info = run("pdfinfo", {pdf}).value_or(QString());
        QVERIFY2(info.contains(QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 595")),
                 qPrintable(info)); // A4 landscape
        QVERIFY(run("pdftoppm", {"-r", "20", "-png", "-singlefile", pdf, dir.filePath("page")}));
        const QImage page(dir.filePath("page.png"));
        QVERIFY(!page.isNull());
        QVERIFY(page.width() > page.height());
        // Centre of the frame: (10 + 19 + 229 / 2, 10 + 14 + 145 / 2) mm at 20 dpi.
        const QPoint centre(int((29 + 114.5) * 20 / 25.4), int((24 + 72.5) * 20 / 25.4));
        QVERIFY2(near(page.pixelColor(centre), colour), qPrintable(page.pixelColor(centre).name()));
        // Outside the frame the page stays white.
        QVERIFY(near(page.pixelColor(2, 2), Qt::white));
    }
}

void TestReport::chartReportFollowsRedraw() {
    SessionFixture f('p');
    f.s().FormShow();
    RecordSet& r = f.s().records();
    QList<RecordSet::Row> rows;
    rows.append(RecordCells::separatorRow(1));
    for (int k = 1; k <= 30; ++k)
        rows.append({RecordCells::numberText(k), "  05/12   ", " 10:00:00 ",
                     RecordCells::valueText(quint16(k * k), 1, '.')});
    r.replaceRowsFrom(1, rows);
    f.s().table().loggerInfo.recordsPerMeasurement = 30;
    f.s().table().loggerInfo.storedMeasurements = 1;
    f.s().table().loggerInfo.decimalsCode = 1;
    f.s().table().fill.rowsWritten = 31;

    ChartController chart(f.s().chartSource());
    chart.FormShow();
    chart.ListBox1Click(0);
    chart.Button2_Sel_MedClick();
    QVERIFY(chart.Print1Click());
    const QImage first("imagraf.bmp");
    QVERIFY(!first.isNull());
    QCOMPARE(first.convertToFormat(QImage::Format_RGB32),
             chart.picture().convertToFormat(QImage::Format_RGB32));

    // Another start: the report's picture is the new drawing.
    QVERIFY(chart.view().ComboBox1Items.size() > 1);
    chart.ComboBox1Change(int(chart.view().ComboBox1Items.size()) - 1);
    QVERIFY(chart.Print1Click());
    const QImage second("imagraf.bmp");
    QCOMPARE(second.convertToFormat(QImage::Format_RGB32),
             chart.picture().convertToFormat(QImage::Format_RGB32));
    QVERIFY(second != first);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
