// The main session's start-up, the interface button and the link-failure reset.
#include "support/SessionFixture.h"

#include <QTest>

namespace {

// Settings content as the tests write it.
struct Fixture : SessionFixture {
    explicit Fixture(const QByteArray* settings = nullptr)
        : SessionFixture(settings && !settings->isEmpty() ? settings->at(0) : 0) {}
};

QByteArray lang(char c) {
    return QByteArray(1, c);
}

} // namespace

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void startUpState();
    void startUpTexts_data();
    void startUpTexts();
    void settingsCannotBeOpened();
    void languageFromCommandLine();
    void openInterface_data();
    void openInterface();
    void openFailure_data();
    void openFailure();
    void closeInterface();
    void linkFailureResetAfterWriteFailure_data();
    void linkFailureResetAfterWriteFailure();
    void connectingEndsOnFaults_data();
    void connectingEndsOnFaults();
    void clearRecordSetHeaders_data();
    void clearRecordSetHeaders();
    void checkBoxFollowsRecordingRequest();
};

void TestSession::startUpState() {
    Fixture f;
    int renders = 0;
    QObject::connect(f.session.get(), &MainSession::viewChanged, [&] { ++renders; });
    f.session->FormShow();
    const MainSession& s = *f.session;
    const MainViewState& v = s.view();
    QVERIFY(renders > 0);

    QCOMPARE(s.controls().UiLanguage, 'p');
    QCOMPARE(s.usb().UsbOpen, false);
    QCOMPARE(s.usb().UsbStatus, 0);
    QCOMPARE(s.poll().ReceiveMode, ReceiveModeKind::Frame);
    QCOMPARE(s.link().BtState, 0);
    QCOMPARE(s.link().RemoteConnected, false);
    QCOMPARE(s.link().Status_conexao, 0);
    QCOMPARE(s.link().tempo_disp, 0);
    QCOMPARE(s.link().PioStep, 0);
    QCOMPARE(s.commands().RecordsReplyLength, 0u);
    QCOMPARE(int(s.poll().RxBuffer.size()), 26000);
    QCOMPARE(s.table().RecordOrigin, RecordOriginKind::Downloaded);
    QCOMPARE(s.controls().RecordingRequested, false);
    QCOMPARE(s.table().loggerInfo, LoggerInfo{});
    QVERIFY(!s.link().Timer1->isActive() && !s.poll().Timer2->isActive() &&
            !s.link().Timer3->isActive());
    QCOMPARE(s.poll().Timer2->interval(), 180);
    QCOMPARE(s.link().Timer3->interval(), 1000);

    // Only the interface button, "Abrir...", "Sair" and "Sobre" can be used.
    QVERIFY(v.Button2.enabled);
    QVERIFY(!v.Button3.enabled && !v.Button4.enabled && !v.Button5.enabled && !v.Button6.enabled);
    QVERIFY(!v.Button7.enabled && !v.CheckBox1.enabled);
    QVERIFY(v.Abrir1.enabled && v.mnSair.enabled && v.mnSobre.enabled);
    QVERIFY(!v.Salvarcomo1.enabled && !v.Imprimir1.enabled && !v.Grafico1.enabled);
    QVERIFY(v.Edit3.readOnly && v.Edit4.readOnly && v.Edit5.readOnly && v.Edit1.readOnly);
    QVERIFY(v.Edit1.text.isEmpty() && v.Edit3.text.isEmpty());
    QVERIFY(v.Label13.isEmpty() && v.Label19.isEmpty());
    QVERIFY(!v.StringGrid1Enabled);
    QCOMPARE(v.Panel5, PanelColour::Red);
    QCOMPARE(v.Panel6, PanelColour::Red);
    QCOMPARE(v.Panel7, PanelColour::Red);
    QCOMPARE(v.StatusBar1, (std::array<QString, 3>{}));
    QCOMPARE(v.caption, QString("TERVIX.V1.0"));
    QCOMPARE(s.records().rowCountTotal(), 2);
    QVERIFY(f.prompt.messages.isEmpty());
    QVERIFY(f.log.calls.isEmpty()); // nothing touches the interface at start-up
}

void TestSession::startUpTexts_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<char>("language");
    QTest::addColumn<QStringList>("captions"); // Button2, Label3, Arquivo1, Button7, Label11
    QTest::addColumn<QString>("header0");
    const QStringList portuguese{"Conectar", "Responsavel:", "Arquivo", "Selecionar",
                                 "N° de Registros:"};
    QTest::newRow("p") << lang('p') << 'p' << portuguese << "  REG.    ";
    QTest::newRow("e") << lang('e') << 'e'
                       << QStringList{"Conectar", "Responsable:", "Archivo", "Seleccionar",
                                      "N° de Registros:"}
                       << "  REG.    ";
    QTest::newRow("i") << lang('i') << 'i'
                       << QStringList{"Connect", "Responsible:", "File", "Select", "N° of Records:"}
                       << "  REC.    ";
    QTest::newRow("missing file") << QByteArray() << 'p' << portuguese << "  REG.    ";
}

void TestSession::startUpTexts() {
    QFETCH(QByteArray, settings);
    QFETCH(char, language);
    QFETCH(QStringList, captions);
    QFETCH(QString, header0);
    Fixture f(settings.isEmpty() ? nullptr : &settings);
    f.session->FormShow();
    const MainViewState& v = f.session->view();
    QCOMPARE(f.session->controls().UiLanguage, language);
    QCOMPARE((QStringList{v.Button2.caption, v.Label3, v.Arquivo1.caption, v.Button7.caption,
                          v.Label11}),
             captions);
    // Every language has its header row from the start.
    QCOMPARE(f.session->records().cell(0, 0), header0);
    QVERIFY(f.prompt.messages.isEmpty());
    QVERIFY(QFile::exists("prg.IDO"));
}

void TestSession::settingsCannotBeOpened() {
    Fixture f;
    QVERIFY(QDir().mkdir("prg.IDO"));
    f.session->FormShow();
    QCOMPARE(f.prompt.messages, QStringList{QString::fromUtf8(
                                    "O arquivo não pode ser aberto.\nprg.IDO: is a folder")});
    QCOMPARE(f.session->controls().UiLanguage, 'p');
    QVERIFY(f.session->view().Button2.enabled); // the program goes on
}

void TestSession::languageFromCommandLine() {
    const QByteArray settings = lang('e');
    Fixture f(&settings);
    f.session->languageOverride = 'i';
    f.session->FormShow();
    QCOMPARE(f.session->controls().UiLanguage, 'i');
    f.session->table().ClearRecordSet();
    QCOMPARE(f.session->records().cell(0, 0), QString("  REC.    "));
}

void TestSession::openInterface_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("deviceNumber");
    QTest::addColumn<QString>("panel0");
    QTest::addColumn<QString>("caption");
    QTest::newRow("p, no device") << lang('p') << ""
                                  << "Interface conectada"
                                  << "Desconectar";
    QTest::newRow("e, no device") << lang('e') << ""
                                  << "Interface conectada"
                                  << "Desconectar";
    QTest::newRow("i, device 1") << lang('i') << "1"
                                 << "Interface connected"
                                 << "Disconnect";
}

void TestSession::openInterface() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, deviceNumber);
    QFETCH(QString, panel0);
    QFETCH(QString, caption);
    Fixture f(&settings);
    f.session->FormShow();
    if (!deviceNumber.isEmpty())
        f.session->DeviceChosen(deviceNumber, "A1B2C3D4E5F6");
    f.session->Button2Click();
    const MainSession& s = *f.session;
    const MainViewState& v = s.view();
    QVERIFY(s.usb().UsbOpen);
    QCOMPARE(s.usb().UsbStatus, 0);
    QCOMPARE(v.Panel5, PanelColour::Lime);
    QVERIFY(v.Button7.enabled);
    QCOMPARE(v.Button3.enabled, !deviceNumber.isEmpty());
    QCOMPARE(v.StatusBar1[0], panel0);
    QCOMPARE(v.Button2.caption, caption);
    // The line is set up in this order, after the open.
    QCOMPARE(f.log.calls,
             (QStringList{"open 0", "data 8 0 0", "baud 9600", "timeouts 1 0", "purge 3"}));
    QVERIFY(f.prompt.messages.isEmpty());
}

void TestSession::openFailure_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("deviceNumber");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("panel0");
    QTest::newRow("p, empty N") << lang('p') << ""
                                << "Erro ao abrir o dispositivo USB."
                                << "Interface desconectada";
    QTest::newRow("e, filled N") << lang('e') << "3"
                                 << "Error para abrir el dispositivo USB."
                                 << "Interface desconectada";
    QTest::newRow("i, filled N") << lang('i') << "2"
                                 << "Error opening USB device."
                                 << "Interface disconnected";
}

void TestSession::openFailure() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, deviceNumber);
    QFETCH(QString, message);
    QFETCH(QString, panel0);
    Fixture f(&settings);
    f.fake->openStatus = SerialTransport::DeviceNotFound;
    f.session->FormShow();
    if (!deviceNumber.isEmpty())
        f.session->DeviceChosen(deviceNumber, "A1B2C3D4E5F6");
    f.session->poll().Timer2->start();
    f.session->link().Timer3->start();
    f.session->Button2Click();
    const MainSession& s = *f.session;
    const MainViewState& v = s.view();
    QCOMPARE(f.prompt.messages, QStringList{message});
    QVERIFY(!s.usb().UsbOpen);
    QCOMPARE(s.usb().UsbStatus, int32_t(SerialTransport::DeviceNotFound));
    QCOMPARE(v.Panel5, PanelColour::Red);
    QVERIFY(!v.Button3.enabled && !v.Button4.enabled && !v.Button5.enabled);
    QVERIFY(!v.Button6.enabled && !v.Button7.enabled && !v.CheckBox1.enabled);
    QVERIFY(v.Button2.enabled);
    QVERIFY(!s.poll().Timer2->isActive() && !s.link().Timer3->isActive());
    QCOMPARE(v.StatusBar1[0], panel0);
    QCOMPARE(f.log.calls, QStringList{"open 0"}); // no line set-up after a failed open

    // The program goes on: a later attempt can succeed.
    f.fake->openStatus = SerialTransport::Ok;
    f.session->Button2Click();
    QVERIFY(s.usb().UsbOpen);
    QCOMPARE(s.usb().UsbStatus, 0);
}

void TestSession::closeInterface() {
    const QByteArray settings = lang('i');
    Fixture f(&settings);
    f.session->FormShow();
    f.session->Button2Click();
    const MainViewState& v = f.session->view();
    f.session->DeviceChosen("1", "A1B2C3D4E5F6");
    f.session->DeviceListClosed();
    QCOMPARE(v.Panel6, PanelColour::Lime);
    f.session->poll().Timer2->start();
    f.session->link().Timer3->start();
    f.session->Button2Click();
    const MainSession& s = *f.session;
    QVERIFY(!s.usb().UsbOpen);
    QVERIFY(!f.fake->isOpen());
    QCOMPARE(f.log.calls.last(), QString("close"));
    QCOMPARE(v.Panel5, PanelColour::Red);
    QCOMPARE(v.Panel6, PanelColour::Red);
    QVERIFY(v.Edit6.text.isEmpty() && v.Edit7.text.isEmpty());
    QVERIFY(!v.Button3.enabled && !v.Button7.enabled && !v.CheckBox1.enabled);
    QVERIFY(!s.poll().Timer2->isActive() && !s.link().Timer3->isActive());
    QCOMPARE(v.StatusBar1, (std::array<QString, 3>{"Interface disconnected", "", ""}));
    QCOMPARE(v.Button2.caption, QString("Connect"));
}

void TestSession::linkFailureResetAfterWriteFailure_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("sendMessage");
    QTest::addColumn<QString>("resetMessage");
    QTest::addColumn<QString>("panel0");
    QTest::addColumn<QString>("caption");
    QTest::newRow("p") << lang('p') << "Erro ao tentar enviar dados."
                       << "Erro ao abrir o dispositivo USB."
                       << "Desconectado"
                       << "Conectar";
    QTest::newRow("e") << lang('e') << "Error al intentar enviar datos."
                       << "Error para abrir el dispositivo USB."
                       << "Desconectado"
                       << "Conectar";
    QTest::newRow("i") << lang('i') << "Error when trying to send data."
                       << "Error opening USB device."
                       << "Disconnected"
                       << "Connect";
}

void TestSession::linkFailureResetAfterWriteFailure() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, sendMessage);
    QFETCH(QString, resetMessage);
    QFETCH(QString, panel0);
    QFETCH(QString, caption);
    Fixture f(&settings);
    f.fake->failWritesFrom = 0;
    f.session->FormShow();
    f.session->Button2Click();
    MainSession& s = *f.session;
    s.CheckBox1Click(true);
    s.link().RemoteConnected = true;
    s.poll().Timer2->start();
    s.link().Timer3->start();

    // A sender finds the write failed, tells the user, then runs the reset.
    uint32_t written = 0;
    s.usb().UsbStatus = s.transport().write(QByteArray("AT+ADDR?"), &written);
    QVERIFY(s.usb().UsbStatus != 0);
    s.prompt().message(s.text(Txt::SendFailed));
    s.LinkFailureReset();

    const MainViewState& v = s.view();
    QCOMPARE(f.prompt.messages, (QStringList{sendMessage, resetMessage}));
    QVERIFY(!s.usb().UsbOpen);
    QVERIFY(!s.link().RemoteConnected);
    QVERIFY(v.Button2.enabled);
    QCOMPARE(v.Button2.caption, caption);
    QCOMPARE(v.Button3.caption, caption);
    QVERIFY(!v.Button3.enabled && !v.Button4.enabled && !v.Button5.enabled && !v.Button6.enabled);
    QVERIFY(!v.CheckBox1.enabled);
    QVERIFY(v.CheckBox1.checked); // disabled without unchecking
    QVERIFY(v.Button7.enabled);   // left as it was
    QCOMPARE(v.Panel5, PanelColour::Lime);
    QVERIFY(!s.poll().Timer2->isActive() && !s.link().Timer3->isActive());
    QCOMPARE(v.StatusBar1, (std::array<QString, 3>{panel0, "", ""}));

    // The device was closed by the reset, so the interface opens again at once.
    QVERIFY(!f.fake->isOpen());
    f.log.calls.clear();
    s.Button2Click();
    QVERIFY(s.usb().UsbOpen);
    QCOMPARE(f.log.calls.first(), QString("open 0"));
    QCOMPARE(s.usb().UsbStatus, 0);
}

void TestSession::connectingEndsOnFaults_data() {
    QTest::addColumn<bool>("portLost");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("interfaceOpen");
    // An unplugged adapter: the port reports an error to the poll.
    QTest::newRow("port lost") << true << "The USB interface was lost." << false;
    // A module that never answers the address check.
    QTest::newRow("module silent") << false << "The Bluetooth module did not answer." << true;
}

void TestSession::connectingEndsOnFaults() {
    QFETCH(bool, portLost);
    QFETCH(QString, message);
    QFETCH(bool, interfaceOpen);
    SessionFixture f('i');
    MainSession& s = *f.session;
    s.FormShow();
    s.Button2Click();
    s.DeviceChosen("1", "A1B2C3D4E5F6");
    QStringList failures;
    int unlinked = 0;
    QObject::connect(&s, &MainSession::failed, [&](const QString& m) { failures << m; });
    QObject::connect(&s, &MainSession::unlinked, [&] { ++unlinked; });
    s.Button3Click();
    QCOMPARE(f.log.writes, QList<QByteArray>{"AT+ADDR?"});
    f.fake->lost = portLost;

    f.time.advance(BleLink::kModuleAnswerSeconds * 1000 + 1000);
    QCOMPARE(f.prompt.messages, QStringList{message});
    QCOMPARE(failures, QStringList{message});
    QCOMPARE(unlinked, portLost ? 1 : 0);
    QCOMPARE(s.usb().UsbOpen, interfaceOpen);
    QVERIFY(s.view().Button2.enabled);
    QVERIFY(!s.link().Timer1->isActive() && !s.poll().Timer2->isActive() &&
            !s.link().Timer3->isActive());
    // Nothing more goes out, and nothing more happens.
    f.time.advance(60000);
    QCOMPARE(f.log.writes.size(), 1);
    QCOMPARE(f.prompt.messages.size(), 1);
}

void TestSession::clearRecordSetHeaders_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QStringList>("header");
    QTest::newRow("p") << lang('p')
                       << QStringList{"  REG.    ", "   DATA   ", "   HORA   ", "  VALOR         "};
    QTest::newRow("e") << lang('e')
                       << QStringList{"  REG.    ", "   FECHA  ", "  HORAS  ", "  VALOR         "};
    QTest::newRow("i") << lang('i')
                       << QStringList{"  REC.    ", "  DATE    ", "   TIME   ", "  VALUE         "};
}

void TestSession::clearRecordSetHeaders() {
    QFETCH(QByteArray, settings);
    QFETCH(QStringList, header);
    Fixture f(&settings);
    f.session->FormShow();
    RecordSet& r = f.session->records();
    const RecordSet::Row atStart = r.row(0);
    QCOMPARE(QStringList(atStart.begin(), atStart.end()), header); // written at start-up
    r.setRowCountTotal(5);
    r.setCell(3, 2, "x");
    f.session->table().loggerInfo.storedMeasurements = 4;
    f.session->table().RecordOrigin = RecordOriginKind::FromFile;
    f.session->table().ClearRecordSet();
    QCOMPARE(r.rowCountTotal(), 2);
    const RecordSet::Row& h = r.row(0);
    QCOMPARE(QStringList(h.begin(), h.end()), header);
    QCOMPARE(r.row(1), RecordSet::Row{});
    QCOMPARE(f.session->table().loggerInfo, LoggerInfo{});
    QCOMPARE(f.session->table().RecordOrigin, RecordOriginKind::Downloaded);
}

void TestSession::checkBoxFollowsRecordingRequest() {
    Fixture f;
    f.session->FormShow();
    f.session->CheckBox1Click(true);
    QVERIFY(f.session->controls().RecordingRequested);
    f.session->controls().stateNewLink(); // a row that disables the box also unchecks it
    QVERIFY(!f.session->controls().RecordingRequested);
    QVERIFY(!f.session->view().CheckBox1.checked);
    f.session->CheckBox1Click(true);
    f.session->controls().stateUsbClosed(); // rows 1, 3, 4 and 5 only disable it
    QVERIFY(f.session->controls().RecordingRequested);
    QVERIFY(f.session->view().CheckBox1.checked);
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
