// The configuration dialog's state and actions on a scripted interface with a frozen clock:
// the frame, the checks, the mode buttons, the clock refresh and the logger's answer.
#include "app/ConfigurationEditor.h"
#include "app/Ticker.h"
#include "protocol/LoggerFrame.h"
#include "support/Replies.h"
#include "support/SessionFixture.h"

#include <QTest>

namespace {

// A configuration reply: 300 records per measurement, 9 measurements configured.
QByteArray configurationReply() {
    LoggerInfo info;
    info.storedMeasurements = 1;
    info.measurementType = 1;
    info.recordsPerMeasurement = 300;
    info.configuredMeasurements = 9;
    return Replies::configuration(info, LoggerReply::recordsReplyLength(0));
}

// A session connected to the logger (its configuration reply read), and the dialog.
struct Connected : SessionFixture {
    explicit Connected(char language = 'p') : SessionFixture(language) {
        s().FormShow();
        s().Button2Click();
        s().link().Status_conexao = 4;
        fake->incoming = configurationReply();
        s().poll().ReceiveMode = ReceiveModeKind::Frame;
        s().Timer2Timer();
        log.writes.clear();
        editor.setChangedCallback([this] { ++changes; });
    }
    // "Configurar", then the fields as the user leaves them, then "Enviar".
    void send(const QString& interval, const QString& records, const QString& measurements,
              bool continuous = false) {
        open();
        editor.MaskEdit1Change(interval);
        if (continuous)
            editor.RadioButton3Click();
        editor.Edit2Change(records);
        editor.Edit1Change(measurements);
        s().guarded([this] { editor.Button1Click(); });
    }
    void open() {
        s().Button4Click();
        editor.FormShow();
    }

    ConfigurationEditor editor{s()};
    int changes = 0;
};

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

} // namespace

class TestConfiguration : public QObject {
    Q_OBJECT
private slots:
    void frame_data();
    void frame();
    void refused_data();
    void refused();
    void modeButtons();
    void fieldsKeptBetweenOpenings();
    void captions_data();
    void captions();
    void clockRefresh();
    void writeFails();
    void answerIsRead();
};

void TestConfiguration::frame_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QDateTime>("pcTime");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("measurements");
    QTest::addColumn<bool>("continuous");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QString>("status");
    const QDateTime dec9(QDate(2025, 12, 9), QTime(14, 5, 30));
    QTest::newRow("example") << 'p' << dec9 << "00:00:10"
                             << "300"
                             << "2" << false << hex("1234000001 0E051E 090C19 00000A 012C 01 02")
                             << "Arquivo enviado.";
    QTest::newRow("largest counts")
        << 'e' << dec9 << "00:00:01"
        << "3600"
        << "50" << false << hex("1234000001 0E051E 090C19 000001 0E10 01 32") << "Archivo enviado.";
    QTest::newRow("smallest counts, blanks around") << 'i' << dec9 << "01:30:00"
                                                    << " 2 "
                                                    << "1" << false
                                                    << hex("1234000001 0E051E 090C19 011E00 0002 "
                                                           "01 01")
                                                    << "file sent.";
    QTest::newRow("year 2031, last second of a day")
        << 'p' << QDateTime(QDate(2031, 1, 31), QTime(23, 59, 59)) << "23:59:59"
        << "10"
        << "1" << false << hex("1234000001 173B3B 1F011F 173B3B 000A 01 01") << "Arquivo enviado.";
    // Continuous mode puts its own counts into the fields, which then take no typing.
    QTest::newRow("continuous") << 'p' << dec9 << "00:10:00"
                                << "7"
                                << "7" << true << hex("1234000001 0E051E 090C19 000A00 0E10 02 01")
                                << "Arquivo enviado.";
}

void TestConfiguration::frame() {
    QFETCH(char, language);
    QFETCH(QDateTime, pcTime);
    QFETCH(QString, interval);
    QFETCH(QString, records);
    QFETCH(QString, measurements);
    QFETCH(bool, continuous);
    QFETCH(QByteArray, expected);
    QFETCH(QString, status);
    Connected f(language);
    f.clock.set(pcTime);
    f.send(interval, records, measurements, continuous);
    QCOMPARE(f.log.writes, QList<QByteArray>{expected});
    QVERIFY2(f.prompt.messages.isEmpty(), qPrintable(f.prompt.messages.join('\n')));
    QCOMPARE(f.v().StatusBar1[2], status);
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Frame);
    QVERIFY(f.s().usb().UsbOpen);
}

void TestConfiguration::refused_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("measurements");
    QTest::addColumn<QStringList>("messages");
    const QString records = QString::fromUtf8("Número de registro deve ser entre 2 e 3600");
    const QString measurements = QString::fromUtf8("Número de medições deve ser entre 1 e 50");
    QTest::newRow("records 1") << 'p' << "00:00:10"
                               << "1"
                               << "2" << QStringList{records};
    QTest::newRow("records 3601") << 'p' << "00:00:10"
                                  << "3601"
                                  << "2" << QStringList{records};
    QTest::newRow("records empty") << 'p' << "00:00:10"
                                   << ""
                                   << "2" << QStringList{records};
    QTest::newRow("records not whole") << 'p' << "00:00:10"
                                       << "2.5"
                                       << "2" << QStringList{records};
    QTest::newRow("records negative") << 'p' << "00:00:10"
                                      << "-10"
                                      << "2" << QStringList{records};
    QTest::newRow("records huge") << 'p' << "00:00:10"
                                  << "99999999999999999999"
                                  << "2" << QStringList{records};
    QTest::newRow("measurements 0") << 'p' << "00:00:10"
                                    << "300"
                                    << "0" << QStringList{measurements};
    QTest::newRow("measurements 51") << 'p' << "00:00:10"
                                     << "300"
                                     << "51" << QStringList{measurements};
    QTest::newRow("measurements empty") << 'p' << "00:00:10"
                                        << "300"
                                        << "" << QStringList{measurements};
    QTest::newRow("both, one click") << 'p' << "00:00:10"
                                     << "3601"
                                     << "51" << QStringList{records, measurements};
    QTest::newRow("both, Spanish") << 'e' << "00:00:10"
                                   << "1"
                                   << "0"
                                   << QStringList{"El número de registro debe ser entre 2 y 3600",
                                                  "El número de registro debe ser entre 1 y 50"};
    QTest::newRow("both, English")
        << 'i' << "00:00:10"
        << "1"
        << "0"
        << QStringList{"The number of records must be a number between 2 and 3600 ",
                       "The number of records must be a number between 1 and 50 "};
    // The interval is read first: a bad one stops everything, the counts unchecked.
    const auto notATime = [](const char* field) {
        return QString::fromUtf8("\"%1\" não é um intervalo de registro válido: use hh:mm:ss, com "
                                 "horas de 00 a 23 e minutos e segundos de 00 a 59.")
            .arg(QString::fromLatin1(field));
    };
    QTest::newRow("25:00:00") << 'p' << "25:00:00"
                              << "1"
                              << "51" << QStringList{notATime("25:00:00")};
    QTest::newRow("00:61:00") << 'p' << "00:61:00"
                              << "300"
                              << "2" << QStringList{notATime("00:61:00")};
    QTest::newRow("00:00:60") << 'p' << "00:00:60"
                              << "300"
                              << "2" << QStringList{notATime("00:00:60")};
    QTest::newRow("blanks left in the mask") << 'p' << "1 :30:  "
                                             << "300"
                                             << "2" << QStringList{notATime("1 :30:  ")};
    QTest::newRow("empty interval") << 'p' << ""
                                    << "300"
                                    << "2" << QStringList{notATime("")};
    QTest::newRow("25:00:00, English")
        << 'i' << "25:00:00"
        << "300"
        << "2"
        << QStringList{"\"25:00:00\" is not a valid recording interval: use hh:mm:ss, with hours "
                       "from 00 to 23 and minutes and seconds from 00 to 59."};
    QTest::newRow("zero interval")
        << 'p' << "00:00:00"
        << "300"
        << "2"
        << QStringList{QString::fromUtf8("O intervalo de registro não pode ser 00:00:00; o menor "
                                         "intervalo é 00:00:01.")};
    QTest::newRow("zero interval, Spanish")
        << 'e' << "00:00:00"
        << "1"
        << "2"
        << QStringList{QString::fromUtf8("El intervalo de grabación no puede ser 00:00:00; el "
                                         "menor intervalo es 00:00:01.")};
}

void TestConfiguration::refused() {
    QFETCH(char, language);
    QFETCH(QString, interval);
    QFETCH(QString, records);
    QFETCH(QString, measurements);
    QFETCH(QStringList, messages);
    Connected f(language);
    f.send(interval, records, measurements);
    QCOMPARE(f.prompt.messages, messages);
    QVERIFY(f.log.writes.isEmpty());
    QVERIFY(f.v().StatusBar1[2].isEmpty());
    QVERIFY(!f.s().poll().Timer2->isActive());
    // The fields stay as typed, to be corrected.
    QCOMPARE(f.editor.MaskEdit1(), interval);
    QCOMPARE(f.editor.Edit2(), records);
}

void TestConfiguration::modeButtons() {
    Connected f;
    f.open();
    QVERIFY(f.editor.RadioButton2Checked() && !f.editor.RadioButton3Checked());
    QVERIFY(!f.editor.Edit2ReadOnly() && !f.editor.Edit1ReadOnly());
    f.editor.Edit2Change("120");
    f.editor.Edit1Change("7");

    f.editor.RadioButton3Click();
    QVERIFY(!f.editor.RadioButton2Checked() && f.editor.RadioButton3Checked());
    QCOMPARE(f.editor.Edit2(), QString("3600"));
    QCOMPARE(f.editor.Edit1(), QString("1"));
    QVERIFY(f.editor.Edit2ReadOnly() && f.editor.Edit1ReadOnly());
    // Read-only fields take no typing.
    f.editor.Edit2Change("5");
    f.editor.Edit1Change("5");
    QCOMPARE(f.editor.Edit2(), QString("3600"));
    QCOMPARE(f.editor.Edit1(), QString("1"));

    f.editor.RadioButton2Click();
    QVERIFY(f.editor.RadioButton2Checked() && !f.editor.RadioButton3Checked());
    QCOMPARE(f.editor.Edit2(), QString("50"));
    QCOMPARE(f.editor.Edit1(), QString("1"));
    QVERIFY(!f.editor.Edit2ReadOnly() && !f.editor.Edit1ReadOnly());
    f.editor.Edit2Change("60");
    QCOMPARE(f.editor.Edit2(), QString("60"));
}

void TestConfiguration::fieldsKeptBetweenOpenings() {
    Connected f;
    // The configuration reply wrote the logger's counts into the count fields.
    f.open();
    QCOMPARE(f.editor.Edit2(), QString("300"));
    QCOMPARE(f.editor.Edit1(), QString("9"));
    QCOMPARE(f.editor.MaskEdit1(), QString("00:00:01"));

    f.editor.MaskEdit1Change("00:05:00");
    f.editor.RadioButton3Click();
    f.editor.Button2Click();
    QVERIFY(!f.editor.isOpen());
    f.open();
    QCOMPARE(f.editor.MaskEdit1(), QString("00:05:00"));
    QVERIFY(f.editor.RadioButton3Checked() && f.editor.Edit2ReadOnly());
    QCOMPARE(f.editor.Edit2(), QString("3600"));

    // A later configuration reply sets the counts again; interval and mode stay.
    f.editor.Button2Click();
    f.fake->incoming = configurationReply();
    f.s().poll().ReceiveMode = ReceiveModeKind::Frame;
    f.s().Timer2Timer();
    f.open();
    QCOMPARE(f.editor.Edit2(), QString("300"));
    QCOMPARE(f.editor.Edit1(), QString("9"));
    QCOMPARE(f.editor.MaskEdit1(), QString("00:05:00"));
    QVERIFY(f.editor.RadioButton3Checked());
}

void TestConfiguration::captions_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QStringList>("expected");
    // Title, time, date, interval, marks, records, measurements, group, fixed, continuous,
    // send, close.
    QTest::newRow("p") << 'p'
                       << QString::fromUtf8("Configuração|Hora:|Data:|Intervalo de registro:| H   "
                                            "M   S|Número de registros:|Número de medições:| "
                                            "Registrador | Fixo| Continuo |Enviar|Fechar")
                              .split('|');
    QTest::newRow("e") << 'e'
                       << QString::fromUtf8("Configuración|Horas:|Fecha:|Intervalo de grabación:| "
                                            "H   M   S|Número de registros:|Número de medições:| "
                                            "Registrador | Fijo| Continuo |Enviar|Fechar")
                              .split('|');
    QTest::newRow("i") << 'i'
                       << QString::fromUtf8("Configuration|Time:|Date:|Sample Rate(Sec):| H   M   "
                                            "S|Number of records:|Número de medições:| Recorder | "
                                            "Fixed| Continuous |Send|Fechar")
                              .split('|');
}

void TestConfiguration::captions() {
    QFETCH(char, language);
    QFETCH(QStringList, expected);
    Connected f(language);
    f.open();
    const ConfigurationEditor::Captions& c = f.editor.captions();
    const QStringList shown = {c.caption,      c.Label3,       c.Label4,  c.Label1,
                               c.Label2,       c.Label5,       c.Label8,  c.GroupBox1,
                               c.RadioButton2, c.RadioButton3, c.Button1, c.Button2};
    QCOMPARE(shown, expected);
}

void TestConfiguration::clockRefresh() {
    Connected f;
    QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
    f.open();
    QVERIFY(f.v().StatusBar1[2].isEmpty());
    QCOMPARE(f.editor.Label6(), QString("14:05:30"));
    QCOMPARE(f.editor.Label7(), QString("09/12/2025"));

    f.clock.set(QDateTime(QDate(2026, 1, 1), QTime(0, 0, 1)));
    f.time.advance(ConfigurationEditor::kClockRefreshMs - 1);
    QCOMPARE(f.editor.Label6(), QString("14:05:30"));
    QCOMPARE(f.changes, 0);
    f.time.advance(1);
    QCOMPARE(f.editor.Label6(), QString("00:00:01"));
    QCOMPARE(f.editor.Label7(), QString("01/01/2026"));
    QCOMPARE(f.changes, 1);
    f.time.advance(2 * ConfigurationEditor::kClockRefreshMs);
    QCOMPARE(f.changes, 3);

    // "Fechar": no more refreshing; the status panel is emptied again.
    f.send("00:00:10", "300", "2");
    QCOMPARE(f.v().StatusBar1[2], QString("Arquivo enviado."));
    f.editor.Button2Click();
    QVERIFY(!f.editor.Timer1->isActive());
    f.clock.set(QDateTime(QDate(2026, 1, 1), QTime(0, 0, 9)));
    f.time.advance(5 * ConfigurationEditor::kClockRefreshMs);
    QCOMPARE(f.editor.Label6(), QString("00:00:01"));
    QCOMPARE(f.changes, 3);
    QVERIFY(f.v().StatusBar1[2].isEmpty());
}

void TestConfiguration::writeFails() {
    Connected f('e');
    f.fake->failWritesFrom = 0;
    f.send("00:00:10", "300", "2");
    QCOMPARE(f.prompt.messages, QStringList{"Error al intentar enviar datos."});
    QVERIFY(!f.s().usb().UsbOpen);
    QVERIFY(f.v().StatusBar1[2].isEmpty());
    QVERIFY(!f.s().poll().Timer2->isActive());
    // No link-failure reset: the device stays open and the connection's controls stay.
    QVERIFY(!f.log.calls.contains("close"));
    QVERIFY(f.v().Button3.enabled && f.v().Button4.enabled);
    QCOMPARE(f.v().StatusBar1[0], QString("Interface conectada"));
    QVERIFY(f.editor.isOpen());
}

void TestConfiguration::answerIsRead() {
    Connected f('i');
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Text);
    f.open(); // "Configurar"
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Frame);
    f.send("00:00:10", "300", "2");
    QCOMPARE(f.v().StatusBar1[2], QString("file sent."));
    // The logger answers while the dialog is open; the poll alone picks it up.
    f.fake->incoming = LoggerReply::acknowledgement(LoggerFrame::SendConfiguration);
    QVERIFY(f.time.advanceUntil([&] { return f.fake->incoming.isEmpty(); }, 1000));
    QCOMPARE(f.v().StatusBar1[2], QString("Concluido"));
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Text);
    QVERIFY(!f.s().poll().Timer2->isActive());
    QVERIFY(f.prompt.messages.isEmpty());
}

QTEST_GUILESS_MAIN(TestConfiguration)
#include "tst_configuration.moc"
