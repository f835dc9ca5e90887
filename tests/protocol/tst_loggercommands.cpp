// Logger commands on a scripted interface: the configuration reply, the download and its
// wait, the clear sequence, and their failures.
#include "protocol/LoggerFrame.h"
#include "support/Replies.h"
#include "support/SessionFixture.h"

#include <QTest>

namespace {

// A pressure logger in PSI with one decimal, equipment 77, 9 measurements configured.
QByteArray configurationFrame(int stored, int replyLength, int perMeasurement) {
    LoggerInfo info;
    info.storedMeasurements = stored;
    info.decimalsCode = 1;
    info.measurementType = 1;
    info.unitCode = 3;
    info.equipmentNumber = 77;
    info.recordsPerMeasurement = perMeasurement;
    info.configuredMeasurements = 9;
    return Replies::configuration(info, replyLength);
}

// A records reply of n records, dated 5 December 10:00:0k, value k.
QByteArray recordsReply(int n, int announced = -1) {
    QList<Replies::Record> records;
    for (int k = 1; k <= n; ++k)
        records.append({5, 12, 10, 0, k % 60, quint16(k)});
    return Replies::records(records, announced);
}

struct Ready : SessionFixture {
    explicit Ready(char language = 'p', int stored = 1, int perMeasurement = 10)
        : SessionFixture(language) {
        s().FormShow();
        s().Button2Click();
        s().DeviceChosen("1", "A1B2C3D4E5F6");
        s().link().Status_conexao = 4;
        deliver(configurationFrame(stored, 5 + 7 * perMeasurement * stored, perMeasurement),
                ReceiveModeKind::Frame);
        log.writes.clear();
    }
    void deliver(const QByteArray& bytes, ReceiveModeKind mode) {
        s().poll().ReceiveMode = mode;
        fake->incoming = bytes;
        s().poll().Timer2->start();
        s().guarded([this] { s().Timer2Timer(); }); // as the timer runs it
    }
};

} // namespace

class TestLoggerCommands : public QObject {
    Q_OBJECT
private slots:
    void configurationReply_data();
    void configurationReply();
    void downloadWaitsForWholeReply();
    void emptyRecordsReply();
    void incompleteRecordsReply();
    void impossibleDateStopsDownload();
    void downloadWriteFails();
    void clearSequence_data();
    void clearSequence();
    void clearWriteFails();
};

void TestLoggerCommands::configurationReply_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("perMeasurement");
    QTest::newRow("300 records, 2105 bytes") << 1 << 0x0839 << 0x012C;
    QTest::newRow("nothing stored") << 0 << 5 << 10;
}

void TestLoggerCommands::configurationReply() {
    QFETCH(int, stored);
    QFETCH(int, length);
    QFETCH(int, perMeasurement);
    SessionFixture f('i');
    f.s().FormShow();
    f.s().Button2Click();
    f.s().link().Status_conexao = 4;
    f.fake->incoming = configurationFrame(stored, length, perMeasurement);
    f.s().poll().ReceiveMode = ReceiveModeKind::Frame;
    f.s().Timer2Timer();
    const MainSession& s = f.s();
    QCOMPARE(s.commands().RecordsReplyLength, uint32_t(length));
    QCOMPARE(s.table().loggerInfo.recordsPerMeasurement, perMeasurement);
    QCOMPARE(s.table().loggerInfo.storedMeasurements, stored);
    QCOMPARE(s.table().loggerInfo.unitCode, 3);
    QCOMPARE(f.v().Label14, QString("PSI"));
    QCOMPARE(f.v().Label18, QStringLiteral("%1/9").arg(stored));
    QCOMPARE(f.v().Label19, QString("77"));
    QCOMPARE(s.table().TForm3.Edit2, QString::number(perMeasurement));
    QCOMPARE(s.table().TForm3.Edit1, QString("9"));
    QCOMPARE(f.v().StatusBar1[2], QString("Finished"));
    QVERIFY(f.v().Button4.enabled && f.v().CheckBox1.enabled);
    QCOMPARE(f.v().Button5.enabled, stored > 0);
    QCOMPARE(f.v().Button6.enabled, stored > 0);
}

void TestLoggerCommands::downloadWaitsForWholeReply() {
    Ready f('p', 1, 10); // 5 + 7 x 10 = 75 bytes
    QCOMPARE(f.s().commands().RecordsReplyLength, 75u);
    f.clock.set(QDateTime(QDate(2019, 1, 3), QTime(9, 0)));
    f.s().Button6Click();
    QCOMPARE(f.log.writes, QList<QByteArray>{LoggerFrame::downloadRecords()});
    QCOMPARE(f.s().poll().Timer2->interval(), 300);
    const QByteArray reply = recordsReply(10);
    f.fake->incoming = reply.left(74);
    f.time.advance(5000);
    QCOMPARE(f.v().StatusBar1[2], QString("Aguarde. Tranferindo..."));
    QCOMPARE(f.v().DownloadProgress, 98); // 74 of 75 bytes
    QVERIFY(!f.s().poll().Timer2->isActive());
    QCOMPARE(f.fake->incoming.size(), 74); // nothing read yet

    f.fake->incoming = reply;
    f.time.advance(1000 + 300);
    QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
    QCOMPARE(f.s().records().rowCountTotal(), 1 + 1 + 10 + 1);
    QCOMPARE(f.s().records().cell(11, 0), QString("  0010    "));
    QCOMPARE(f.v().Edit1.text, QString("03/01/2019"));
    QCOMPARE(f.s().commands().defaultFileName, QString("2019_01_03_D00"));
    QCOMPARE(f.v().DownloadProgress, -1);
    QVERIFY(f.prompt.messages.isEmpty());
}

void TestLoggerCommands::emptyRecordsReply() {
    Ready f('e');
    f.clock.set(QDateTime(QDate(2019, 1, 3), QTime(9, 0)));
    f.s().Button6Click();
    f.deliver(recordsReply(0), ReceiveModeKind::Frame); // L = 5
    QCOMPARE(f.s().commands().RecordsReplyLength, 5u);
    QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
    QCOMPARE(f.s().records().rowCountTotal(), 2);
    QCOMPARE(f.v().Edit1.text, QString("03/01/2019"));
    QCOMPARE(f.s().commands().defaultFileName, QString("2019_01_03_D00"));
    QVERIFY(f.v().Salvarcomo1.enabled && !f.v().Edit3.readOnly);
}

void TestLoggerCommands::incompleteRecordsReply() {
    Ready f('i', 2, 10);
    f.s().Button6Click();
    // The reply announces 20 records; 8 and a half arrived.
    f.deliver(recordsReply(20).left(5 + 7 * 8 + 3), ReceiveModeKind::Frame);
    QCOMPARE(f.prompt.messages, QStringList{"The logger's reply was incomplete: only the records "
                                            "received were loaded."});
    QCOMPARE(f.s().records().cell(9, 0), QString("  0008    "));
    QCOMPARE(f.s().records().rowCountTotal(), 1 + 1 + 8 + 1);
    QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
}

void TestLoggerCommands::impossibleDateStopsDownload() {
    Ready f('p');
    f.s().Button6Click();
    QByteArray reply = recordsReply(5);
    reply[5 + 7 * 2] = 0; // record 3: day 0
    f.deliver(reply, ReceiveModeKind::Frame);
    QCOMPARE(f.prompt.messages.size(), 1);
    QCOMPARE(f.s().records().cell(3, 0), QString("  0002    ")); // rows before it stay
    QCOMPARE(f.v().StatusBar1[2], QString("Aguarde. Tranferindo..."));
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Frame);
    QVERIFY(!f.v().Salvarcomo1.enabled);
}

void TestLoggerCommands::downloadWriteFails() {
    Ready f('e');
    f.fake->failWritesFrom = 0;
    f.s().Button6Click();
    QCOMPARE(f.prompt.messages, (QStringList{"Error al intentar enviar datos.",
                                             "Error para abrir el dispositivo USB."}));
    QVERIFY(!f.s().usb().UsbOpen);
    QCOMPARE(f.v().DownloadProgress, -1);
    QVERIFY(!f.s().link().Timer3->isActive());
}

void TestLoggerCommands::clearSequence_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("status");
    for (bool yes : {true, false}) {
        const char* answer = yes ? "yes" : "no";
        QTest::addRow("p %s", answer) << 'p' << yes << "Limpar registros"
                                      << "Deseja realmente continuar?"
                                      << "Limpando registros";
        QTest::addRow("e %s", answer)
            << 'e' << yes << "Borrar registros" << QString::fromUtf8("¿Desea realmente continuar?")
            << "Terminado";
        QTest::addRow("i %s", answer) << 'i' << yes << "Clear records"
                                      << "Do you really want to continue?"
                                      << "Finished";
    }
}

void TestLoggerCommands::clearSequence() {
    QFETCH(char, language);
    QFETCH(bool, yes);
    QFETCH(QString, title);
    QFETCH(QString, question);
    QFETCH(QString, status);
    Ready f(language, 2, 10);
    f.s().Button6Click();
    f.deliver(recordsReply(20), ReceiveModeKind::Frame);
    f.log.writes.clear();
    QVERIFY(f.v().Salvarcomo1.enabled && f.v().Imprimir1.enabled);
    f.prompt.answers = {yes};
    f.prompt.saveAnswers = {SaveChoice::Discard};
    f.s().Button5Click();
    QCOMPARE(int(f.prompt.questions.size()), 1);
    QCOMPARE(f.prompt.questions[0].title, title);
    QCOMPARE(f.prompt.questions[0].text, question);
    QVERIFY(f.prompt.questions[0].defaultNo);
    if (!yes) {
        QVERIFY(f.log.writes.isEmpty());
        QCOMPARE(f.s().records().rowCountTotal(), 1 + 2 + 20 + 1);
        return;
    }
    QCOMPARE(f.log.writes, QList<QByteArray>{LoggerFrame::clearRecords()});
    QCOMPARE(f.v().StatusBar1[2], status);
    // The header and 39 empty rows; the instrument panel emptied.
    const RecordSet& r = f.s().records();
    QCOMPARE(r.rowCountTotal(), 40);
    QVERIFY(!r.cell(0, 0).isEmpty());
    QCOMPARE(r.row(39), RecordSet::Row{});
    QVERIFY(f.v().Label13.isEmpty() && f.v().Label19.isEmpty() && f.v().Edit1.text.isEmpty());
    QVERIFY(!f.v().Grafico1.enabled && f.v().Edit3.readOnly);
    // Nothing left to save or print.
    QVERIFY(!f.v().Salvarcomo1.enabled && !f.v().Imprimir1.enabled);

    // The logger's answer: nothing stored any more.
    f.time.advance(200);
    QVERIFY(!f.s().poll().Timer2->isActive() || f.s().poll().ReceiveMode == ReceiveModeKind::Frame);
    f.deliver(LoggerReply::acknowledgement(LoggerFrame::ClearRecords), ReceiveModeKind::Frame);
    QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
    QVERIFY(!f.v().Button5.enabled && !f.v().Button6.enabled);
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Text);
}

void TestLoggerCommands::clearWriteFails() {
    Ready f('p');
    f.fake->failWritesFrom = 0;
    f.prompt.answers = {true};
    f.s().Button5Click();
    QCOMPARE(f.prompt.messages,
             (QStringList{"Erro ao tentar enviar dados.", "Erro ao abrir o dispositivo USB."}));
    QVERIFY(f.v().StatusBar1[2].isEmpty());
    QVERIFY(!f.s().usb().UsbOpen);
}

QTEST_GUILESS_MAIN(TestLoggerCommands)
#include "tst_loggercommands.moc"
