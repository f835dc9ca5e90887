#include "app/MainWindow.h"
#include "protocol/LoggerFrame.h"
#include "support/Replies.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QColor kRed(0xFF, 0x00, 0x00);
const QColor kLime(0x00, 0xFF, 0x00);

void writeSettings(const QByteArray& bytes) {
    QFile f(QStringLiteral("prg.IDO"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Types text as key presses; unlike QTest::keyClicks it also takes non-ASCII letters.
void type(QWidget* w, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The session fixture, and the window showing its session.
struct Rig : SessionFixture {
    Rig() { clock.set(QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30))); }

    MainWindow window{*session};

    template <class T = QWidget> T* get(const char* name) {
        T* w = window.findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no %s named %s", T::staticMetaObject.className(), name);
        return w;
    }
    QColor colour(const char* panel) { return get(panel)->palette().color(QPalette::Window); }
    void show() {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasItsName() {
        Rig rig;
        QCOMPARE(rig.window.objectName(), QStringLiteral("TForm1"));
        const char* widgets[] = {
            "StringGrid1", "Label1",    "Label2",    "Label3",     "Label4",  "Label5",
            "Label6",      "Label7",    "Label8",    "Label9",     "Label10", "Label11",
            "Label12",     "Label13",   "Label14",   "Label15",    "Label16", "Label17",
            "Label18",     "Label19",   "Edit1",     "Edit3",      "Edit4",   "Edit5",
            "Edit6",       "Edit7",     "GroupBox1", "GroupBox2",  "Panel5",  "Panel6",
            "Panel7",      "Button2",   "Button3",   "Button4",    "Button5", "Button6",
            "Button7",     "Registros", "CheckBox1", "StatusBar1", "Arquivo1"};
        for (const char* name : widgets)
            QVERIFY2(rig.window.findChild<QWidget*>(QString::fromLatin1(name)), name);
        for (const char* name :
             {"Abrir1", "Salvarcomo1", "Imprimir1", "mnSair", "Grafico1", "mnSobre"})
            QVERIFY2(rig.window.findChild<QAction*>(QString::fromLatin1(name)), name);
        // Each button sits inside its coloured panel.
        QCOMPARE(rig.get("Button2")->parentWidget(), rig.get("Panel5"));
        QCOMPARE(rig.get("Button7")->parentWidget(), rig.get("Panel6"));
        QCOMPARE(rig.get("Button3")->parentWidget(), rig.get("Panel7"));
        QVERIFY(rig.get("GroupBox1")->isAncestorOf(rig.get("Panel5")));
        QVERIFY(rig.get("GroupBox2")->isAncestorOf(rig.get("Edit7")));
        QVERIFY(rig.get("Registros")->isAncestorOf(rig.get("CheckBox1")));
    }

    void startsWithOnlyTheInterfaceButtonUsable() {
        Rig rig;
        // Leftovers of a previous run must not survive the first showing.
        rig.get<QLineEdit>("Edit3")->setText(QStringLiteral("stale"));
        rig.show();

        QCOMPARE(rig.window.windowTitle(), QStringLiteral("TERVIX.V1.0"));
        QVERIFY(rig.get("Button2")->isEnabled());
        for (const char* name :
             {"Button3", "Button4", "Button5", "Button6", "Button7", "CheckBox1", "StringGrid1"})
            QVERIFY2(!rig.get(name)->isEnabled(), name);
        QVERIFY(!rig.get<QCheckBox>("CheckBox1")->isChecked());
        for (const char* name : {"Edit1", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"}) {
            QVERIFY2(rig.get<QLineEdit>(name)->isReadOnly(), name);
            QVERIFY2(rig.get<QLineEdit>(name)->text().isEmpty(), name);
        }
        for (const char* name : {"Label13", "Label14", "Label17", "Label18", "Label19"})
            QVERIFY2(rig.get<QLabel>(name)->text().isEmpty(), name);
        for (const char* name : {"Salvarcomo1", "Imprimir1", "Grafico1"})
            QVERIFY2(!rig.get<QAction>(name)->isEnabled(), name);
        for (const char* name : {"Abrir1", "mnSair", "mnSobre"})
            QVERIFY2(rig.get<QAction>(name)->isEnabled(), name);
        for (const char* name : {"Panel5", "Panel6", "Panel7"})
            QCOMPARE(rig.colour(name), kRed);
        for (const char* name : {"StatusBar1_0", "StatusBar1_1", "StatusBar1_2"})
            QVERIFY2(rig.get<QLabel>(name)->text().isEmpty(), name);
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void hasTheDesignedSizes() {
        Rig rig;
        rig.show();
        QWidget* central = rig.window.centralWidget();
        QStatusBar* status = rig.window.statusBar();
        QCOMPARE(central->width(), MainWindow::kClientWidth);
        QCOMPARE(central->height() + status->height(), MainWindow::kClientHeight);
        QCOMPARE(central->y(), rig.window.menuBar()->geometry().bottom() + 1);
        QCOMPARE(rig.window.height(), rig.window.menuBar()->height() + MainWindow::kClientHeight);
        QCOMPARE(rig.window.minimumSize(), rig.window.maximumSize());
        const Qt::WindowFlags flags = rig.window.windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);

        auto* grid = rig.get<QTableView>("StringGrid1");
        QCOMPARE(grid->selectionMode(), QAbstractItemView::NoSelection);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(rig.get<QLineEdit>("Edit3")->maxLength(), 50);
        QCOMPARE(rig.get<QLineEdit>("Edit6")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QVERIFY(rig.get<QLineEdit>("Edit7")->font().bold());
    }

    // Every field of the view state, each set to a value of its own, reaches the widget of
    // its name.
    void rendersEveryField() {
        Rig rig;
        rig.show();
        MainViewState& v = rig.s().controls().view;
        int n = 0;
        auto next = [&n] { return QStringLiteral("t%1").arg(++n); };
        const bool on = true, off = false;

        v.caption = next();
        v.Arquivo1 = {next(), off};
        const std::pair<MenuItemState*, const char*> items[] = {{&v.Abrir1, "Abrir1"},
                                                                {&v.Salvarcomo1, "Salvarcomo1"},
                                                                {&v.ExportarCsv1, "ExportarCsv1"},
                                                                {&v.Imprimir1, "Imprimir1"},
                                                                {&v.mnSair, "mnSair"},
                                                                {&v.Grafico1, "Grafico1"},
                                                                {&v.mnSobre, "mnSobre"}};
        for (const auto& [item, name] : items)
            *item = {next(), n % 2 == 0};
        QString* const labelFields[] = {&v.Label1,  &v.Label2,  &v.Label3,  &v.Label4,  &v.Label5,
                                        &v.Label6,  &v.Label7,  &v.Label8,  &v.Label9,  &v.Label10,
                                        &v.Label11, &v.Label12, &v.Label13, &v.Label14, &v.Label15,
                                        &v.Label16, &v.Label17, &v.Label18, &v.Label19};
        for (QString* label : labelFields)
            *label = next();
        const std::pair<QString*, const char*> groups[] = {{&v.GroupBox1, "GroupBox1"},
                                                           {&v.GroupBox2, "GroupBox2"},
                                                           {&v.GroupBox3, "GroupBox3"},
                                                           {&v.Registros, "Registros"}};
        for (const auto& [title, name] : groups)
            *title = next();
        const std::pair<EditState*, const char*> edits[] = {
            {&v.Edit1, "Edit1"}, {&v.Edit3, "Edit3"}, {&v.Edit4, "Edit4"},
            {&v.Edit5, "Edit5"}, {&v.Edit6, "Edit6"}, {&v.Edit7, "Edit7"}};
        for (const auto& [edit, name] : edits)
            *edit = {next(), n % 2 == 1};
        const std::pair<ButtonState*, const char*> buttons[] = {
            {&v.Button2, "Button2"}, {&v.Button3, "Button3"}, {&v.Button4, "Button4"},
            {&v.Button5, "Button5"}, {&v.Button6, "Button6"}, {&v.Button7, "Button7"}};
        for (const auto& [button, name] : buttons)
            *button = {next(), n % 2 == 0};
        v.CheckBox1 = {next(), off, on};
        v.Panel5 = PanelColour::Lime;
        v.Panel6 = PanelColour::Red;
        v.Panel7 = PanelColour::Lime;
        v.StringGrid1Enabled = off;
        v.StatusBar1 = {next(), next(), next()};
        v.DownloadProgress = 42;
        emit rig.s().viewChanged();

        QCOMPARE(rig.window.windowTitle(), v.caption);
        auto* menu = rig.get<QMenu>("Arquivo1");
        QCOMPARE(menu->title(), v.Arquivo1.caption);
        QCOMPARE(menu->menuAction()->isEnabled(), v.Arquivo1.enabled);
        for (const auto& [item, name] : items) {
            auto* action = rig.window.findChild<QAction*>(QString::fromLatin1(name));
            QVERIFY2(action, name);
            QCOMPARE(action->text(), item->caption);
            QCOMPARE(action->isEnabled(), item->enabled);
        }
        for (int i = 0; i < int(std::size(labelFields)); ++i) {
            const QByteArray name = "Label" + QByteArray::number(i + 1);
            QCOMPARE(rig.get<QLabel>(name.constData())->text(), *labelFields[i]);
        }
        for (const auto& [title, name] : groups)
            QCOMPARE(rig.get<QGroupBox>(name)->title(), *title);
        for (const auto& [edit, name] : edits) {
            QCOMPARE(rig.get<QLineEdit>(name)->text(), edit->text);
            QCOMPARE(rig.get<QLineEdit>(name)->isReadOnly(), edit->readOnly);
        }
        for (const auto& [button, name] : buttons) {
            QCOMPARE(rig.get<QPushButton>(name)->text(), button->caption);
            QCOMPARE(rig.get<QPushButton>(name)->isEnabled(), button->enabled);
        }
        auto* box = rig.get<QCheckBox>("CheckBox1");
        QCOMPARE(box->text(), v.CheckBox1.caption);
        QCOMPARE(box->isEnabled(), v.CheckBox1.enabled);
        QCOMPARE(box->isChecked(), v.CheckBox1.checked);
        QCOMPARE(rig.colour("Panel5"), kLime);
        QCOMPARE(rig.colour("Panel6"), kRed);
        QCOMPARE(rig.colour("Panel7"), kLime);
        QCOMPARE(rig.get<QTableView>("StringGrid1")->isEnabled(), v.StringGrid1Enabled);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(rig.get<QLabel>(qPrintable(QStringLiteral("StatusBar1_%1").arg(i)))->text(),
                     v.StatusBar1[std::size_t(i)]);
        auto* progress = rig.get<QProgressBar>("DownloadProgress");
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->value(), 42);
    }

    void captionsFollowTheLanguage_data() {
        QTest::addColumn<QByteArray>("settings");
        // Arquivo1, Grafico1, Label3, Label4, Label5, Button2, Button6, Button7, Label11
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("header");

        const QStringList portuguese{
            "Arquivo",  "Gráfico",  "Responsavel:", "Data:",           "Dados do Relatório",
            "Conectar", "Carregar", "Selecionar",   "N° de Registros:"};
        const QStringList portugueseHeader{"  REG.    ", "   DATA   ", "   HORA   ",
                                           "  VALOR         "};
        QTest::newRow("p") << QByteArray("p") << portuguese << portugueseHeader;
        QTest::newRow("e") << QByteArray("e")
                           << QStringList{"Archivo",   "Gráfico",           "Responsable:",
                                          "Fecha:",    "Datos del Informe", "Conectar",
                                          "Descargar", "Seleccionar",       "N° de Registros:"}
                           << QStringList{"  REG.    ", "   FECHA  ", "  HORAS  ",
                                          "  VALOR         "};
        QTest::newRow("i")
            << QByteArray("ie")
            << QStringList{"File",    "Graphic",  "Responsible:", "Date:",         "Report Data",
                           "Connect", "Download", "Select",       "N° of Records:"}
            << QStringList{"  REC.    ", "  DATE    ", "   TIME   ", "  VALUE         "};
        QTest::newRow("missing file") << QByteArray() << portuguese << portugueseHeader;
    }

    void captionsFollowTheLanguage() {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, header);
        Rig rig;
        if (!settings.isEmpty())
            writeSettings(settings);
        rig.show();

        const QStringList shown{
            rig.get<QMenu>("Arquivo1")->title(),     rig.get<QAction>("Grafico1")->text(),
            rig.get<QLabel>("Label3")->text(),       rig.get<QLabel>("Label4")->text(),
            rig.get<QLabel>("Label5")->text(),       rig.get<QPushButton>("Button2")->text(),
            rig.get<QPushButton>("Button6")->text(), rig.get<QPushButton>("Button7")->text(),
            rig.get<QLabel>("Label11")->text()};
        QCOMPARE(shown, captions);
        QStringList headers;
        for (int c = 0; c < 4; ++c)
            headers << rig.get<QTableView>("StringGrid1")
                           ->model()
                           ->headerData(c, Qt::Horizontal)
                           .toString();
        QCOMPARE(headers, header);
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("TERVIX.V1.0"));
    }

    void interfaceButtonOpensAndCloses_data() {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QString>("whileOpen");
        QTest::addColumn<QString>("whileClosed");
        QTest::addColumn<QString>("connected");
        QTest::newRow("p") << QByteArray("p") << "Desconectar"
                           << "Conectar"
                           << "Interface conectada";
        QTest::newRow("i") << QByteArray("i") << "Disconnect"
                           << "Connect"
                           << "Interface connected";
    }

    void interfaceButtonOpensAndCloses() {
        QFETCH(QByteArray, settings);
        QFETCH(QString, whileOpen);
        QFETCH(QString, whileClosed);
        QFETCH(QString, connected);
        Rig rig;
        writeSettings(settings);
        rig.show();
        auto* button = rig.get<QPushButton>("Button2");

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(rig.log.calls.contains(QStringLiteral("open 0")));
        QCOMPARE(rig.colour("Panel5"), kLime);
        QCOMPARE(button->text(), whileOpen);
        QVERIFY(rig.get("Button7")->isEnabled());
        // No device chosen yet, so the remote button stays off.
        QVERIFY(!rig.get("Button3")->isEnabled());
        QCOMPARE(rig.get<QLabel>("StatusBar1_0")->text(), connected);

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(rig.log.calls.last(), QStringLiteral("close"));
        QCOMPARE(rig.colour("Panel5"), kRed);
        QCOMPARE(button->text(), whileClosed);
        QVERIFY(!rig.get("Button7")->isEnabled());
        QVERIFY(rig.prompt.messages.isEmpty());
    }

    void failedOpenIsReported() {
        Rig rig;
        rig.fake->openStatus = SerialTransport::DeviceNotFound;
        rig.show();
        QTest::mouseClick(rig.get("Button2"), Qt::LeftButton);
        QCOMPARE(rig.prompt.messages,
                 QStringList{QStringLiteral("Erro ao abrir o dispositivo USB.")});
        QCOMPARE(rig.colour("Panel5"), kRed);
        QCOMPARE(rig.get<QPushButton>("Button2")->text(), QStringLiteral("Conectar"));
        QVERIFY(!rig.get("Button7")->isEnabled());
        QCOMPARE(rig.get<QLabel>("StatusBar1_0")->text(), QStringLiteral("Interface desconectada"));
    }

    void remoteButtonsReachTheSession_data() {
        QTest::addColumn<QByteArray>("button");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("questions");
        QTest::newRow("Conectar") << QByteArray("Button3") << QByteArray("AT+ADDR?") << 0;
        QTest::newRow("Carregar") << QByteArray("Button6") << LoggerFrame::downloadRecords() << 0;
        // Clearing asks first; answered No, nothing is sent.
        QTest::newRow("Limpar") << QByteArray("Button5") << QByteArray() << 1;
    }

    void remoteButtonsReachTheSession() {
        QFETCH(QByteArray, button);
        QFETCH(QByteArray, written);
        QFETCH(int, questions);
        Rig rig;
        rig.show();
        QTest::mouseClick(rig.get("Button2"), Qt::LeftButton);
        rig.s().DeviceChosen(QStringLiteral("1"), QStringLiteral("A1B2C3D4E5F6"));
        rig.s().table().loggerInfo.storedMeasurements = 1;
        rig.s().controls().stateConfigurationReceived(true);
        emit rig.s().viewChanged();
        QCOMPARE(rig.get<QLineEdit>("Edit7")->text(), QStringLiteral("A1B2C3D4E5F6"));
        rig.log.writes.clear();

        QWidget* w = rig.get(button.constData());
        QVERIFY(w->isEnabled());
        QTest::mouseClick(w, Qt::LeftButton);
        QCOMPARE(rig.log.writes,
                 written.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{written});
        QCOMPARE(int(rig.prompt.questions.size()), questions);
    }

    void secondShowingKeepsTheState() {
        Rig rig;
        rig.show();
        QTest::mouseClick(rig.get("Button2"), Qt::LeftButton);
        rig.window.hide();
        rig.show();
        QCOMPARE(rig.colour("Panel5"), kLime);
        QVERIFY(rig.get("Button7")->isEnabled());
        QCOMPARE(rig.log.calls.count(QStringLiteral("open 0")), 1);
    }

    void typingReachesTheSession() {
        Rig rig;
        rig.show();
        rig.s().controls().stateDownloadFinished();
        emit rig.s().viewChanged();
        auto* edit = rig.get<QLineEdit>("Edit4");
        QVERIFY(!edit->isReadOnly());

        type(edit, QStringLiteral("Calibração"));
        QCOMPARE(rig.s().view().Edit4.text, QStringLiteral("Calibração"));
        // A view update while the user types leaves the cursor where it was.
        edit->setCursorPosition(3);
        emit rig.s().viewChanged();
        QCOMPARE(edit->cursorPosition(), 3);
        type(edit, QStringLiteral("X"));
        QCOMPARE(rig.s().view().Edit4.text, QStringLiteral("CalXibração"));

        edit->clear();
        type(edit, QString(60, u'a'));
        QCOMPARE(rig.s().view().Edit4.text, QString(50, u'a'));
        QCOMPARE(edit->text(), QString(50, u'a'));
    }

    void checkBoxSetsTheRecordingRequest() {
        Rig rig;
        rig.show();
        rig.s().controls().stateConfigurationReceived(false);
        emit rig.s().viewChanged();
        auto* box = rig.get<QCheckBox>("CheckBox1");
        QVERIFY(box->isEnabled());

        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(rig.s().controls().RecordingRequested);
        QVERIFY(rig.s().view().CheckBox1.checked);
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QVERIFY(!rig.s().controls().RecordingRequested);
    }

    void exitClosesTheWindow() {
        Rig rig;
        rig.show();
        QSignalSpy closed(&rig.window, &MainWindow::closed);
        rig.get<QAction>("mnSair")->trigger();
        QVERIFY(!rig.window.isVisible());
        QCOMPARE(closed.count(), 1);
        QVERIFY(rig.prompt.questions.empty());
        QVERIFY(rig.prompt.saveQuestions.empty());
    }

    void closingAsksForUnsavedRecords_data() {
        QTest::addColumn<bool>("viaSair");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Sair, cancel") << true << int(SaveChoice::Cancel) << false;
        QTest::newRow("Sair, discard") << true << int(SaveChoice::Discard) << true;
        QTest::newRow("Sair, save") << true << int(SaveChoice::Save) << true;
        QTest::newRow("title bar, cancel") << false << int(SaveChoice::Cancel) << false;
        QTest::newRow("title bar, discard") << false << int(SaveChoice::Discard) << true;
        QTest::newRow("title bar, save") << false << int(SaveChoice::Save) << true;
    }

    void closingAsksForUnsavedRecords() {
        QFETCH(bool, viaSair);
        QFETCH(int, answer);
        QFETCH(bool, closes);
        Rig rig;
        rig.show();
        // A download of two records, read by the poll.
        QTest::mouseClick(rig.get("Button2"), Qt::LeftButton);
        rig.s().table().loggerInfo.storedMeasurements = 1;
        rig.s().table().loggerInfo.recordsPerMeasurement = 2;
        rig.s().commands().RecordsReplyLength = 19;
        rig.fake->incoming = Replies::records({{5, 3, 16, 0, 0, 1}, {5, 3, 16, 1, 0, 2}});
        rig.s().Timer2Timer();
        QVERIFY(rig.s().recordsUnsaved());
        type(rig.get("Edit3"), QStringLiteral("Ensaio"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        rig.s().chooseSaveFile = [path] { return path; };

        QSignalSpy closed(&rig.window, &MainWindow::closed);
        rig.prompt.saveAnswers = {SaveChoice(answer)};
        if (viaSair)
            rig.get<QAction>("mnSair")->trigger();
        else
            rig.window.close();
        QCOMPARE(int(rig.prompt.saveQuestions.size()), 1);
        QCOMPARE(rig.window.isVisible(), !closes);
        QCOMPARE(closed.count(), closes ? 1 : 0);
        QCOMPARE(QFile::exists(path), answer == int(SaveChoice::Save));
    }

    void readOnlyFieldsLookReadOnly() {
        Rig rig;
        rig.show();
        auto* title = rig.get<QLineEdit>("Edit3");
        const QColor editable = QApplication::palette(title).color(QPalette::Base);
        // At start-up the report fields cannot be typed in, and do not look as if they could.
        for (const char* name : {"Edit1", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"})
            QVERIFY2(rig.get<QLineEdit>(name)->palette().color(QPalette::Base) != editable, name);
        rig.s().controls().stateDownloadFinished();
        emit rig.s().viewChanged();
        QVERIFY(!title->isReadOnly());
        QCOMPARE(title->palette().color(QPalette::Base), editable);
        QVERIFY(rig.get<QLineEdit>("Edit1")->palette().color(QPalette::Base) != editable);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
