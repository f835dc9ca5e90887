// The About box and the report preview's PDF export, offscreen.
#include "report/AboutBox.h"
#include "report/RecordReport.h"
#include "report/ReportPreviewDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class TestReportWindows : public QObject {
    Q_OBJECT
private slots:
    void aboutBox_data();
    void aboutBox();
    void previewExportsPdf();
};

void TestReportWindows::aboutBox_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("version");
    QTest::newRow("p") << 'p' << "Sobre Registrador" << QString::fromUtf8(" Versão: beta");
    QTest::newRow("e") << 'e' << "Sobre Registrador" << QString::fromUtf8(" Versión: 1.3");
    QTest::newRow("i") << 'i' << "About Datalogger"
                       << " Version: 1.3";
}

void TestReportWindows::aboutBox() {
    QFETCH(char, language);
    QFETCH(QString, caption);
    QFETCH(QString, version);
    AboutBox box;
    box.applyLanguage(language);
    QCOMPARE(box.objectName(), QString("TAboutBox1"));
    QCOMPARE(box.windowTitle(), caption);
    QCOMPARE(box.findChild<QLabel*>("Version")->text(), version);
    auto* ok = box.findChild<QPushButton*>("OKButton");
    QCOMPARE(ok->text(), QString("OK"));
    QVERIFY(ok->isDefault());
    box.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!box.isVisible());
    QCOMPARE(box.result(), int(QDialog::Accepted));
}

void TestReportWindows::previewExportsPdf() {
    const RecordReport report("RELAT\u00D3RIO", "  REG.    \n", "  0001    \n");
    ReportPreviewDialog preview([&](QPagedPaintDevice& d) { return report.print(d); },
                                ReportPreviewDialog::textsFor('e'));
    auto* action = preview.findChild<QAction*>("ExportarPdf");
    QVERIFY(action);
    QCOMPARE(action->text(), QString("Exportar PDF..."));

    QTemporaryDir dir;
    const QString path = dir.filePath("r.pdf");
    QVERIFY(preview.exportPdf(path).ok());
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");

    // A folder that does not exist: nothing is written, and the caller is told.
    QVERIFY(!preview.exportPdf(dir.filePath("missing/r.pdf")).ok());
    QVERIFY(!QFile::exists(dir.filePath("missing/r.pdf")));
}

QTEST_MAIN(TestReportWindows)
#include "tst_reportwindows.moc"
