// Connecting to the logger through the simulated board on virtual time: the exact command
// bytes and their times, the control states, time-outs, disconnection, download and faults,
// and the downloaded records kept from being lost or misread.
#include "app/Prompt.h"
#include "protocol/LoggerFrame.h"
#include "records/DataFile.h"
#include "sim/SimulatedBoard.h"
#include "support/SessionFixture.h"

#include <QTest>

namespace {

const QString kAddress = QStringLiteral("A1B2C3D4E5F6");

struct Link : SessionFixture {
    explicit Link(char language = 'p', SimOptions options = {})
        : SessionFixture(
              language,
              [options](TimeBase& t) { return std::make_unique<SimulatedBoard>(t, options); }),
          board(static_cast<SimulatedBoard*>(&s().transport())) {
        s().FormShow();
        s().Button2Click();
        s().DeviceChosen(QStringLiteral("1"), kAddress);
    }

    // The blocks the board received, with their times relative to t0.
    QStringList sent(qint64 t0 = 0) const {
        QStringList out;
        for (const SimulatedBoard::Block& b : board->receivedBlocks()) {
            const bool printable =
                std::all_of(b.bytes.begin(), b.bytes.end(), [](char c) { return c >= 0x20; });
            out << QStringLiteral("%1 %2")
                       .arg(b.timeMs - t0)
                       .arg(printable ? QString::fromLatin1(b.bytes)
                                      : QString::fromLatin1(b.bytes.toHex(' ')));
        }
        return out;
    }

    bool ready() { return s().link().Status_conexao == 6; }
    void connect() {
        s().Button3Click();
        QVERIFY(time.advanceUntil([&] { return ready(); }, 20000));
    }
    void download() {
        s().Button6Click();
        QVERIFY(time.advanceUntil([&] { return v().StatusBar1[2] == "Concluido"; }, 10000));
    }
    // Saves the record set under a title; the file's path.
    QString save(const QString& name) {
        s().Edit3Change(QStringLiteral("Ensaio"));
        const QString path = dir.filePath(name);
        s().Salvarcomo1Click([path] { return path; });
        return path;
    }
    QStringList table() const {
        QStringList rows;
        const RecordSet& r = session->records();
        for (int i = 0; i < r.rowCountTotal(); ++i)
            rows << QStringList(r.row(i).begin(), r.row(i).end()).join(QString());
        return rows;
    }

    SimulatedBoard* board;
};

SimOptions linked() {
    SimOptions o;
    o.linkedAtStart = kAddress;
    return o;
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT
private slots:
    void connectWhenAlreadyLinked();
    void connectWithNewLink();
    void accessTimeOut_data();
    void accessTimeOut();
    void configurationTimeOut_data();
    void configurationTimeOut();
    void disconnect_data();
    void disconnect();
    void download();
    void secondDownloadInSameConnection();
    void eventsOfAWholeSession();
    void connectionRefused_data();
    void connectionRefused();
    void writeFailureAtEachStep_data();
    void writeFailureAtEachStep();
    void linkLostInAnyState_data();
    void linkLostInAnyState();
    void splitModuleReplyIsIgnored();
    void recordsReplyNeverCompletes();
    void addressRefused_data();
    void addressRefused();
    void unsavedRecordsAreAskedFor_data();
    void unsavedRecordsAreAskedFor();
    void nothingToAskFor_data();
    void nothingToAskFor();
    void downloadAfterClearingReadsConfigurationFirst_data();
    void downloadAfterClearingReadsConfigurationFirst();
    void commandsAreOffWhileDisconnecting();
};

void TestConnection::connectWhenAlreadyLinked() {
    Link f('p', linked());
    f.s().Button3Click();
    QVERIFY(!f.v().Button2.enabled); // row 7
    f.time.advance(180);
    // The module reports the link: row 8.
    QCOMPARE(f.s().link().BtState, 1);
    QCOMPARE(f.v().StatusBar1[1], "BT Conectado. Dispositivo: " + kAddress);
    QCOMPARE(f.v().StatusBar1[2], QString("Acessando..."));
    QVERIFY(!f.v().Button2.enabled && !f.v().Button3.enabled && f.v().Button7.enabled);

    QVERIFY(f.time.advanceUntil([&] { return f.ready(); }, 10000));
    const QStringList expected = {"0 AT+ADDR?",         "360 AT+PIO30",  "1360 AT+PIO31",
                                  "1560 AT+PIO20",      "2560 AT+PIO21", "3560 05 37 00 00 01",
                                  "3810 05 31 00 00 01"};
    QCOMPARE(f.sent(), expected);
    // 3.38 s from the handled address reply (at 180 ms) to the access request.
    QCOMPARE(f.time.nowMs(), 4060);

    const MainViewState& v = f.v();
    QVERIFY(f.s().link().RemoteConnected);
    QCOMPARE(v.Button3.caption, QString("Desconectar"));
    QCOMPARE(v.StatusBar1[2], QString("Concluido"));
    QCOMPARE(v.Panel7, PanelColour::Lime);
    // Row 14 with two stored measurements.
    QVERIFY(v.Button3.enabled && v.Button4.enabled && v.Button5.enabled && v.Button6.enabled);
    QVERIFY(v.CheckBox1.enabled && !v.Button7.enabled && !v.Button2.enabled);
    QCOMPARE(f.s().commands().RecordsReplyLength, uint32_t(f.board->recordsReplyLength()));
    QCOMPARE(f.s().table().loggerInfo.equipmentNumber, 1234);
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Text);
    QVERIFY(!f.s().poll().Timer2->isActive());
    QVERIFY(f.prompt.messages.isEmpty());
}

void TestConnection::connectWithNewLink() {
    Link f('i');
    f.s().Button3Click();
    f.time.advance(180);
    QCOMPARE(f.s().link().BtState, 2);
    QCOMPARE(f.sent(), (QStringList{"0 AT+ADDR?", "180 AT+CON" + kAddress}));
    f.time.advance(180); // "OK+CONNA" and "OK+CONN" arrive in one tick
    QCOMPARE(f.s().link().Status_conexao, 1);
    QCOMPARE(f.v().Panel7, PanelColour::Lime);
    QVERIFY(!f.v().Button3.enabled && !f.v().Button7.enabled);
    QVERIFY(f.time.advanceUntil([&] { return f.ready(); }, 10000));
    const QStringList expected = {"0 AT+ADDR?",          "180 AT+CON" + kAddress, "560 AT+PIO30",
                                  "1560 AT+PIO31",       "1760 AT+PIO20",         "2760 AT+PIO21",
                                  "3760 05 37 00 00 01", "4010 05 31 00 00 01"};
    QCOMPARE(f.sent(), expected);
    QCOMPARE(f.v().StatusBar1[2], QString("Finished"));
    QVERIFY(f.board->isLinked());
}

void TestConnection::accessTimeOut_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("p") << 'p'
                       << QStringList{QString::fromUtf8(
                              "Verifique se o registrador está habilitado e tente novamente")};
    QTest::newRow("e") << 'e' << QStringList{};
}

void TestConnection::accessTimeOut() {
    QFETCH(char, language);
    QFETCH(QStringList, messages);
    SimOptions o = linked();
    o.dropped = "7";
    Link f(language, o);
    f.s().Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return f.s().link().Status_conexao == 3; }, 5000));
    QVERIFY(f.time.advanceUntil(
        [&] { return !f.prompt.messages.isEmpty() || f.s().link().Status_conexao == 0; }, 10000));
    // The supervision gave up, then disconnected (the module had acknowledged the PIO).
    QCOMPARE(f.s().link().Status_conexao, 0);
    QCOMPARE(f.prompt.messages, messages);
    QVERIFY(f.time.advanceUntil([&] { return !f.s().link().RemoteConnected; }, 5000));
    QCOMPARE(f.v().StatusBar1[2], QString("Desconetado"));
    QVERIFY(f.v().Button2.enabled && f.v().Button7.enabled);
    QVERIFY(!f.board->isLinked());
    QVERIFY(f.sent().last().endsWith(" AT"));
    f.time.advance(20000); // nothing more happens
    QCOMPARE(f.prompt.messages, messages);
    QVERIFY(!f.s().link().Timer1->isActive() && !f.s().poll().Timer2->isActive() &&
            !f.s().link().Timer3->isActive());
}

void TestConnection::configurationTimeOut_data() {
    accessTimeOut_data();
}

void TestConnection::configurationTimeOut() {
    QFETCH(char, language);
    QFETCH(QStringList, messages);
    SimOptions o = linked();
    o.dropped = "1";
    Link f(language, o);
    f.s().Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return f.s().link().Status_conexao == 4; }, 5000));
    const qint64 t4 = f.time.nowMs();
    QVERIFY(f.time.advanceUntil([&] { return f.s().link().Status_conexao == 0; }, 10000));
    QVERIFY(f.time.nowMs() - t4 <= 6000);
    if (language == 'p')
        messages =
            QStringList{QString::fromUtf8("Feche o programa, desconecte e reconecte a "
                                          "interface,reinicie o programa e tente novamente")};
    QCOMPARE(f.prompt.messages, messages);
    QVERIFY(f.time.advanceUntil([&] { return !f.s().link().RemoteConnected; }, 5000));
    QVERIFY(f.v().Button2.enabled);
}

void TestConnection::disconnect_data() {
    QTest::addColumn<bool>("record");
    QTest::addColumn<QString>("frame");
    QTest::newRow("recording off") << false << "05 36 34 00 01";
    QTest::newRow("recording on") << true << "05 36 35 00 01";
}

void TestConnection::disconnect() {
    QFETCH(bool, record);
    QFETCH(QString, frame);
    Link f('p', linked());
    f.connect();
    f.s().CheckBox1Click(true);
    if (!record)
        f.s().CheckBox1Click(false);
    const qint64 t0 = f.time.nowMs();
    const qsizetype before = f.board->receivedBlocks().size();
    f.s().Button3Click();
    QVERIFY(!f.v().Button2.enabled); // row 16
    QCOMPARE(f.v().StatusBar1[2], QString("Ativando/Desativando leitura de registros"));
    QCOMPARE(f.s().records().rowCountTotal(), 2);
    QVERIFY(f.time.advanceUntil([&] { return !f.s().link().RemoteConnected; }, 5000));
    const QStringList all = f.sent(t0);
    QCOMPARE(all.mid(before),
             (QStringList{"0 " + frame, "500 AT+PIO30", "1500 AT+PIO31", "2000 AT"}));
    QCOMPARE(f.board->recording(), record);
    // Row 11: idle again.
    const MainViewState& v = f.v();
    QCOMPARE(v.StatusBar1[1], "BT Desconectado. Dispositivo: " + kAddress);
    QCOMPARE(v.StatusBar1[2], QString("Desconetado"));
    QCOMPARE(v.Button3.caption, QString("Conectar"));
    QCOMPARE(v.Panel7, PanelColour::Red);
    QVERIFY(v.Button2.enabled && v.Button7.enabled && !v.Button4.enabled && !v.CheckBox1.enabled);
    QCOMPARE(f.s().link().BtState, 0);
    QVERIFY(!f.s().poll().Timer2->isActive() && !f.s().link().Timer3->isActive());
    // And the next connection works from the start.
    f.connect();
}

void TestConnection::download() {
    SimOptions o = linked();
    o.recordsPerMeasurement = 3;
    o.storedMeasurements = 2;
    o.recordCount = 5;
    Link f('p', o);
    f.clock.set(QDateTime(QDate(2019, 1, 3), QTime(10, 0)));
    f.connect();
    f.s().Button6Click();
    QCOMPARE(f.v().StatusBar1[2], QString("Aguarde. Tranferindo..."));
    QCOMPARE(f.v().DownloadProgress, 0);
    QCOMPARE(f.sent().last().section(' ', 1), QString("05 32 00 00 01"));
    QVERIFY(f.time.advanceUntil([&] { return f.v().StatusBar1[2] == "Concluido"; }, 5000));
    const MainViewState& v = f.v();
    QCOMPARE(f.s().records().rowCountTotal(), 1 + 2 + 5 + 1);
    QCOMPARE(v.Edit1.text, QString("03/01/2019"));
    QCOMPARE(f.s().commands().defaultFileName, QString("2019_01_03_D00"));
    QVERIFY(v.Grafico1.enabled && v.Imprimir1.enabled && v.Salvarcomo1.enabled);
    QVERIFY(!v.Edit3.readOnly && v.Button6.enabled && v.CheckBox1.enabled);
    QCOMPARE(v.DownloadProgress, -1);
    QVERIFY(!f.s().poll().Timer2->isActive() && !f.s().link().Timer3->isActive());
    QCOMPARE(f.s().poll().ReceiveMode, ReceiveModeKind::Text);
}

void TestConnection::eventsOfAWholeSession() {
    // What a waiter (the command line) sees of a connect, a download, a clear and the
    // disconnect, in order. The recording switch's answer arrives while the poll reads module
    // texts, so it is not a logger answer.
    SimOptions o = linked();
    o.recordCount = 5;
    Link f('i', o);
    QStringList events;
    MainSession& s = f.s();
    QObject::connect(&s, &MainSession::linked, [&] { events << "linked"; });
    QObject::connect(&s, &MainSession::unlinked, [&] { events << "unlinked"; });
    QObject::connect(&s, &MainSession::configurationRead, [&] { events << "configuration"; });
    QObject::connect(&s, &MainSession::downloadFinished,
                     [&](bool complete) { events << QString("download %1").arg(complete); });
    QObject::connect(&s, &MainSession::loggerAnswered,
                     [&](int code) { events << QString("answered %1").arg(QChar(code)); });
    QObject::connect(&s, &MainSession::failed, [&](const QString& m) { events << "failed " + m; });
    f.connect();
    s.Button6Click();
    QVERIFY(f.time.advanceUntil([&] { return events.last() == "answered 2"; }, 5000));
    f.prompt.answers.push_back(true);
    f.prompt.saveAnswers.push_back(SaveChoice::Discard); // the records just downloaded
    s.Button5Click();
    QVERIFY(f.time.advanceUntil([&] { return events.last() == "answered 3"; }, 5000));
    s.Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return events.last() == "unlinked"; }, 10000));
    QCOMPARE(events, (QStringList{"linked", "answered 7", "configuration", "answered 1",
                                  "download 1", "answered 2", "answered 3", "unlinked"}));
}

void TestConnection::secondDownloadInSameConnection() {
    Link f('e', linked());
    f.connect();
    for (int round = 0; round < 2; ++round) {
        f.s().Button6Click();
        QVERIFY(f.time.advanceUntil([&] { return f.v().StatusBar1[2] == "Concluido"; }, 5000));
        QCOMPARE(f.s().records().rowCountTotal(), 1 + 2 + 20 + 1);
        f.s().records().setRowCountTotal(2); // so the second round is seen to fill it again
    }
}

void TestConnection::connectionRefused_data() {
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("delayMs");
    // 250 ms: "OK+CONNA" and the result in separate ticks; 0: both in one read.
    QTest::newRow("OK+CONNE") << "OK+CONNE" << QString::fromUtf8("Erro de Conexão BT") << 250;
    QTest::newRow("OK+CONNF") << "OK+CONNF" << QString::fromUtf8("Conexão BT falhou") << 250;
    QTest::newRow("OK+CONNAOK+CONNF") << "OK+CONNF" << QString::fromUtf8("Conexão BT falhou") << 0;
}

void TestConnection::connectionRefused() {
    QFETCH(QString, result);
    QFETCH(QString, status);
    QFETCH(int, delayMs);
    SimOptions o;
    o.connResult = result;
    o.connDelayMs = delayMs;
    Link f('p', o);
    f.s().Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return f.v().StatusBar1[1] == status; }, 3000));
    const MainViewState& v = f.v();
    QCOMPARE(f.s().link().BtState, 0);
    QCOMPARE(f.s().link().Status_conexao, 0);
    QVERIFY(v.Button2.enabled && v.Button7.enabled); // row 10
    QVERIFY(!v.Button4.enabled && !v.CheckBox1.enabled);
    // The PIO sequence already started still runs, access request included.
    QVERIFY(f.time.advanceUntil([&] { return f.s().link().PioStep == 8; }, 6000));
    QCOMPARE(f.sent().last().section(' ', 1), QString("05 37 00 00 01"));
    // The user closes the interface: nothing runs on, nothing more is sent.
    QVERIFY(f.v().Button2.enabled);
    f.s().Button2Click();
    QVERIFY(!f.s().usb().UsbOpen);
    QVERIFY(!f.s().link().Timer1->isActive() && !f.s().poll().Timer2->isActive() &&
            !f.s().link().Timer3->isActive());
    const qsizetype sent = f.board->receivedBlocks().size();
    f.time.advance(30000);
    QCOMPARE(f.board->receivedBlocks().size(), sent);
    QVERIFY(f.prompt.messages.isEmpty());
    // And starts again.
    f.s().Button2Click();
    QVERIFY(f.s().usb().UsbOpen);
    f.s().DeviceChosen("1", kAddress); // closing emptied "N°:" and "MAC:"
    f.s().Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return f.v().StatusBar1[1] == status; }, 3000));
}

void TestConnection::writeFailureAtEachStep_data() {
    QTest::addColumn<int>("okWrites");
    // Writes of a connection when already linked: AT+ADDR?, four PIO commands, access,
    // configuration request; then download, recording switch, AT+PIO30, AT+PIO31, AT.
    for (int n = 0; n <= 11; ++n)
        QTest::addRow("after %d writes", n) << n;
}

void TestConnection::writeFailureAtEachStep() {
    QFETCH(int, okWrites);
    SimOptions o = linked();
    o.writeFailAfter = okWrites;
    Link f('i', o);
    f.s().Button3Click();
    f.time.advanceUntil([&] { return f.ready() || !f.prompt.messages.isEmpty(); }, 10000);
    if (f.prompt.messages.isEmpty()) {
        f.s().Button6Click();
        f.time.advanceUntil(
            [&] { return f.v().StatusBar1[2] == "Concluido" || !f.prompt.messages.isEmpty(); },
            5000);
    }
    if (f.prompt.messages.isEmpty()) {
        f.prompt.saveAnswers = {SaveChoice::Discard};
        f.s().Button3Click();
        f.time.advanceUntil([&] { return !f.prompt.messages.isEmpty(); }, 5000);
    }
    QCOMPARE(f.prompt.messages,
             (QStringList{"Error when trying to send data.", "Error opening USB device."}));
    const MainViewState& v = f.v();
    QVERIFY(!f.s().usb().UsbOpen);
    QVERIFY(v.Button2.enabled);
    QCOMPARE(v.Button2.caption, QString("Connect"));
    QVERIFY(!v.Button3.enabled);
    QCOMPARE(v.StatusBar1[0], QString("Disconnected"));
    QVERIFY(!f.s().poll().Timer2->isActive() && !f.s().link().Timer3->isActive());
    f.time.advance(20000);
    QCOMPARE(f.prompt.messages.size(), 2); // nothing keeps running after the reset
    QVERIFY(!f.board->isOpen());           // closed, so it can be opened again
}

void TestConnection::linkLostInAnyState_data() {
    QTest::addColumn<int>("afterMs");
    for (int ms : {150, 400, 1500, 3600, 3900})
        QTest::addRow("%d ms into the link", ms) << ms;
}

void TestConnection::linkLostInAnyState() {
    QFETCH(int, afterMs);
    SimOptions o;
    o.lostAfterMs = afterMs;
    Link f('p', o);
    f.s().Button3Click();
    // Lost while a reply is read in frame mode, it goes unnoticed; the time-outs then end
    // the attempt and the disconnect finds the module without a link.
    QVERIFY(f.time.advanceUntil([&] { return f.v().StatusBar1[2] == "Desconetado"; }, 15000));
    QVERIFY(!f.s().link().RemoteConnected);
    QCOMPARE(f.s().link().Status_conexao, 0);
    QVERIFY(f.v().Button2.enabled && f.v().Button7.enabled);
    f.time.advance(20000);
    QVERIFY(!f.s().link().Timer3->isActive());
    // A new connection works.
    f.s().Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return f.s().link().Status_conexao >= 1; }, 5000));
}

void TestConnection::splitModuleReplyIsIgnored() {
    SimOptions o = linked();
    o.splitGapMs[SimOptions::kModuleKey] = 200; // halves fall in different poll ticks
    Link f('p', o);
    f.s().Button3Click();
    f.time.advance(400);
    // "OK+ADDR:..." never arrived whole: the module is told to connect.
    QCOMPARE(f.s().link().BtState, 2);
    QVERIFY(f.sent().last().contains("AT+CON" + kAddress));
}

void TestConnection::recordsReplyNeverCompletes() {
    SimOptions o = linked();
    o.truncated['2'] = 40;
    Link f('p', o);
    f.connect();
    f.s().Button6Click();
    f.time.advance(5000);
    QCOMPARE(f.v().StatusBar1[2], QString("Aguarde. Tranferindo..."));
    QVERIFY(f.v().DownloadProgress > 0 && f.v().DownloadProgress < 100);
    // The user can still disconnect.
    f.s().Button3Click();
    QVERIFY(f.time.advanceUntil([&] { return !f.s().link().RemoteConnected; }, 5000));
    QCOMPARE(f.v().DownloadProgress, -1);
}

void TestConnection::addressRefused_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    QTest::newRow("14 characters") << "A1B2C3D4E5F6AB"
                                   << "The device address is longer than 13 characters and "
                                      "cannot be sent.";
    QTest::newRow("empty") << ""
                           << "Select a device before connecting.";
}

void TestConnection::addressRefused() {
    QFETCH(QString, address);
    QFETCH(QString, message);
    Link f('i');
    f.s().DeviceChosen("1", address);
    f.s().Button3Click();
    QCOMPARE(f.prompt.messages, QStringList{message});
    QVERIFY(f.board->receivedBlocks().isEmpty());
    QVERIFY(f.v().Button2.enabled);
}

void TestConnection::unsavedRecordsAreAskedFor_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("dialogGivesFile");
    QTest::addColumn<bool>("goesOn");
    // After a failed link the records stay; both the interface button and a new connection
    // would clear them.
    for (const char* action :
         {"Abrir", "Desconectar", "Limpar", "interface Desconectar", "Conectar again"}) {
        QTest::addRow("%s, cancel", action) << action << int(SaveChoice::Cancel) << true << false;
        QTest::addRow("%s, discard", action) << action << int(SaveChoice::Discard) << true << true;
        QTest::addRow("%s, save", action) << action << int(SaveChoice::Save) << true << true;
        QTest::addRow("%s, save dialog cancelled", action)
            << action << int(SaveChoice::Save) << false << false;
    }
}

void TestConnection::unsavedRecordsAreAskedFor() {
    QFETCH(QString, action);
    QFETCH(int, answer);
    QFETCH(bool, dialogGivesFile);
    QFETCH(bool, goesOn);
    SimOptions o = linked();
    const bool afterFailure = action == "interface Desconectar" || action == "Conectar again";
    if (afterFailure)
        o.writeFailAfter = 8; // the connection and the download; a second download fails
    Link f('i', o);
    f.connect();
    f.download();
    if (afterFailure) {
        // The failed write resets the link and leaves the records; the interface is opened
        // again, so that its button now closes it and the remote button connects.
        f.s().Button6Click();
        QCOMPARE(f.prompt.messages.size(), 2);
        f.s().Button2Click();
        QVERIFY(f.s().usb().UsbOpen);
    }
    QVERIFY(f.s().recordsUnsaved());
    f.s().Edit3Change(QStringLiteral("Ensaio"));
    const QString path = f.dir.filePath(QStringLiteral("saved.dat"));
    f.s().chooseSaveFile = [&] { return dialogGivesFile ? path : QString(); };
    f.prompt.saveAnswers = {SaveChoice(answer)};
    f.prompt.answers = {true}; // "Limpar" is confirmed before the records are asked about

    const QStringList table = f.table();
    const qsizetype blocks = f.board->receivedBlocks().size();
    const MainViewState before = f.v();
    if (action == "Abrir")
        f.s().Abrir1Click([] { return QString(); });
    else if (action == "Desconectar")
        f.s().Button3Click();
    else if (action == "Limpar")
        f.s().Button5Click();
    else if (action == "Conectar again")
        f.s().Button3Click();
    else
        f.s().Button2Click();

    QCOMPARE(int(f.prompt.saveQuestions.size()), 1);
    const SaveQuestion& q = f.prompt.saveQuestions.front();
    QCOMPARE(q.title, QString("Unsaved records"));
    QCOMPARE((QStringList{q.save, q.discard, q.cancel}),
             (QStringList{"Save", "Discard", "Cancel"}));
    const bool saved = answer == int(SaveChoice::Save) && dialogGivesFile;
    QCOMPARE(QFile::exists(path), saved);
    if (saved)
        QCOMPARE(DataFile::read(path).content.rows.size(), table.size() - 2);

    const QList<SimulatedBoard::Block> sent = f.board->receivedBlocks().mid(blocks);
    if (!goesOn) {
        // Everything as it was: nothing sent, nothing changed, the records still unsaved.
        QVERIFY(sent.isEmpty());
        QCOMPARE(f.table(), table);
        QCOMPARE(f.v().Edit3.text, before.Edit3.text);
        QCOMPARE(f.v().StatusBar1, before.StatusBar1);
        QCOMPARE(f.v().Button3.caption, before.Button3.caption);
        QCOMPARE(f.v().Button2.enabled, before.Button2.enabled);
        QCOMPARE(f.v().Salvarcomo1.enabled, before.Salvarcomo1.enabled);
        QVERIFY(f.s().usb().UsbOpen && f.s().recordsUnsaved());
        return;
    }
    QVERIFY(!f.s().recordsUnsaved());
    if (action == "interface Desconectar") {
        QVERIFY(!f.s().usb().UsbOpen);
        return;
    }
    if (action == "Conectar again") {
        QVERIFY(!f.v().Button2.enabled); // the connection started
        return;
    }
    for (const QString& row : f.table().mid(1))
        QVERIFY(row.trimmed().isEmpty()); // the records are gone
    if (action == "Desconectar")
        QCOMPARE(sent.value(0).bytes,
                 LoggerFrame::command(LoggerFrame::RecordingSwitch, LoggerFrame::kRecordingOff));
    if (action == "Limpar")
        QCOMPARE(sent.value(0).bytes, LoggerFrame::command(LoggerFrame::ClearRecords));
}

void TestConnection::nothingToAskFor_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("saved") << "saved";
    QTest::newRow("opened from a file") << "opened";
    QTest::newRow("no records downloaded") << "empty";
}

void TestConnection::nothingToAskFor() {
    QFETCH(QString, before);
    SimOptions o = linked();
    if (before == "empty")
        o.recordCount = 0;
    Link f('p', o);
    f.connect();
    f.download();
    if (before != "empty") {
        const QString path = f.save(QStringLiteral("a.dat"));
        if (before == "opened")
            f.s().Abrir1Click([path] { return path; });
        QCOMPARE(f.s().table().RecordOrigin,
                 before == "opened" ? RecordOriginKind::FromFile : RecordOriginKind::Downloaded);
    }
    f.s().Button3Click();
    QVERIFY(f.prompt.saveQuestions.empty());
    QVERIFY(f.time.advanceUntil([&] { return !f.s().link().RemoteConnected; }, 5000));
}

void TestConnection::downloadAfterClearingReadsConfigurationFirst_data() {
    QTest::addColumn<bool>("openFile");
    QTest::newRow("open dialog cancelled") << false;
    QTest::newRow("file of another logger opened") << true;
}

void TestConnection::downloadAfterClearingReadsConfigurationFirst() {
    QFETCH(bool, openFile);
    SimOptions o = linked();
    o.unitCode = 3; // PSI, one decimal, two measurements
    // What a download shows on a freshly connected logger.
    Link reference('p', o);
    reference.connect();
    reference.download();
    const QStringList expected = reference.table();
    QVERIFY(expected.at(0).contains("PSI"));

    QByteArray otherBytes;
    if (openFile) {
        SimOptions other = linked();
        other.decimalsCode = 0;
        other.unitCode = 6; // mmH2O, whole numbers, three measurements
        other.storedMeasurements = 3;
        Link g('p', other);
        g.connect();
        g.download();
        QFile saved(g.save(QStringLiteral("other.dat")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        otherBytes = saved.readAll();
    }

    Link f('p', o);
    f.connect();
    QString otherFile;
    if (openFile) {
        otherFile = f.dir.filePath(QStringLiteral("other.dat"));
        QFile out(otherFile);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(otherBytes);
    }
    f.s().Abrir1Click([otherFile] { return otherFile; });
    QCOMPARE(f.v().Label14, QString(openFile ? "mmH2O" : "")); // not the connected logger's
    QVERIFY(f.v().Button6.enabled);
    const qsizetype blocks = f.board->receivedBlocks().size();
    f.s().Button6Click();
    // The configuration request goes first, the download follows its reply.
    QCOMPARE(f.board->receivedBlocks().size(), blocks + 1);
    QCOMPARE(f.board->receivedBlocks().last().bytes,
             LoggerFrame::command(LoggerFrame::ReadConfiguration));
    QVERIFY(f.time.advanceUntil([&] { return f.v().StatusBar1[2] == "Concluido"; }, 10000));
    QCOMPARE(f.board->receivedBlocks().size(), blocks + 2);
    QCOMPARE(f.board->receivedBlocks().last().bytes,
             LoggerFrame::command(LoggerFrame::DownloadRecords));
    QCOMPARE(f.table(), expected);
    QCOMPARE(f.v().Label14, QString("PSI"));
    QVERIFY(f.prompt.messages.isEmpty());

    // Once read, the next download goes straight ahead.
    f.s().Button6Click();
    QCOMPARE(f.board->receivedBlocks().last().bytes,
             LoggerFrame::command(LoggerFrame::DownloadRecords));
}

void TestConnection::commandsAreOffWhileDisconnecting() {
    Link f('p', linked());
    f.connect();
    f.download();
    f.s().CheckBox1Click(true);
    f.prompt.saveAnswers = {SaveChoice::Discard};
    const qint64 t0 = f.time.nowMs();
    const qsizetype before = f.board->receivedBlocks().size();
    f.s().Button3Click();
    auto commandsOff = [&] {
        const MainViewState& v = f.v();
        return !v.Button4.enabled && !v.Button5.enabled && !v.Button6.enabled &&
               !v.CheckBox1.enabled;
    };
    QVERIFY(commandsOff());
    QVERIFY(f.v().CheckBox1.checked); // as sent
    // Second clicks while the sequence runs: nothing more goes out.
    for (qint64 at : {100, 700, 1600, 1900}) {
        f.time.advance(t0 + at - f.time.nowMs());
        QVERIFY(commandsOff());
        f.s().Button3Click();
    }
    QVERIFY(f.time.advanceUntil([&] { return !f.s().link().RemoteConnected; }, 5000));
    QVERIFY(commandsOff());
    QCOMPARE(f.sent(t0).mid(before),
             (QStringList{"0 05 36 35 00 01", "500 AT+PIO30", "1500 AT+PIO31", "2000 AT"}));
    QVERIFY(f.board->recording());
    QCOMPARE(int(f.prompt.saveQuestions.size()), 1);
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
