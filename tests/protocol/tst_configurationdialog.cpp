// The configuration window over its editor: what it shows, the input it forwards, and its
// opening from the main window.
#include "app/ConfigurationDialog.h"
#include "app/MainWindow.h"
#include "app/Ticker.h"
#include "protocol/LoggerConfig.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

struct Rig : SessionFixture {
    explicit Rig(char language) : SessionFixture(language) {
        s().FormShow();
        s().Button2Click(); // the interface is open, so writes go out
        log.writes.clear();
    }
    template <class T = QWidget> T* get(QWidget* parent, const char* name) {
        T* w = parent->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no %s named %s", T::staticMetaObject.className(), name);
        return w;
    }
};

} // namespace

class TestConfigurationDialog : public QObject {
    Q_OBJECT
private slots:
    void showsTheEditor();
    void forwardsInput();
    void escapeIsFechar();
    void openedByConfigurar();
};

void TestConfigurationDialog::showsTheEditor() {
    Rig f('i');
    ConfigurationDialog d(f.s());
    QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(d.windowFlags() & Qt::WindowSystemMenuHint));
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.windowTitle(), QString("Configuration"));
    QCOMPARE(f.get<QLabel>(&d, "Label1")->text(), QString("Sample Rate(Sec):"));
    QCOMPARE(f.get<QRadioButton>(&d, "RadioButton3")->text(), QString(" Continuous "));
    QCOMPARE(f.get<QPushButton>(&d, "Button2")->text(), QString("Fechar"));
    QCOMPARE(f.get<QLineEdit>(&d, "MaskEdit1")->text(), QString("00:00:01"));
    QCOMPARE(f.get<QLineEdit>(&d, "Edit2")->text(), QString("10"));
    QCOMPARE(f.get<QLineEdit>(&d, "Edit1")->text(), QString("1"));
    QVERIFY(f.get<QRadioButton>(&d, "RadioButton2")->isChecked());

    // The clock refresh reaches the window without any input.
    QCOMPARE(f.get<QLabel>(&d, "Label6")->text(), QString("14:05:30"));
    f.clock.set(QDateTime(QDate(2025, 12, 10), QTime(0, 0, 2)));
    f.time.advance(ConfigurationEditor::kClockRefreshMs);
    QCOMPARE(f.get<QLabel>(&d, "Label6")->text(), QString("00:00:02"));
    QCOMPARE(f.get<QLabel>(&d, "Label7")->text(), QString("10/12/2025"));
}

void TestConfigurationDialog::forwardsInput() {
    Rig f('p');
    ConfigurationDialog d(f.s());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    auto* interval = f.get<QLineEdit>(&d, "MaskEdit1");
    auto* records = f.get<QLineEdit>(&d, "Edit2");
    auto* send = f.get<QPushButton>(&d, "Button1");

    // A digit left out stays a blank in the field, and the interval is refused as typed.
    interval->selectAll();
    QTest::keyClicks(interval, "1");
    QCOMPARE(d.editor().MaskEdit1(), QString("1 :  :  "));
    QTest::mouseClick(send, Qt::LeftButton);
    QCOMPARE(f.prompt.messages.size(), 1);
    QVERIFY(f.prompt.messages[0].startsWith(QString("\"1 :  :  \"")));

    interval->selectAll();
    QTest::keyClicks(interval, "013000");
    QCOMPARE(d.editor().MaskEdit1(), QString("01:30:00"));
    f.get<QRadioButton>(&d, "RadioButton3")->click();
    QCOMPARE(records->text(), QString("3600"));
    QVERIFY(records->isReadOnly() && f.get<QLineEdit>(&d, "Edit1")->isReadOnly());
    // and looks it: drawn on the window colour, not on the colour of a field to type in.
    const QColor editable = QApplication::palette(records).color(QPalette::Base);
    QVERIFY(records->palette().color(QPalette::Base) != editable);
    f.get<QRadioButton>(&d, "RadioButton2")->click();
    QCOMPARE(records->text(), QString("50"));
    QVERIFY(!records->isReadOnly());
    QCOMPARE(records->palette().color(QPalette::Base), editable);
    records->selectAll();
    QTest::keyClicks(records, "120");
    QCOMPARE(d.editor().Edit2(), QString("120"));

    QTest::mouseClick(send, Qt::LeftButton);
    QCOMPARE(f.prompt.messages.size(), 1);
    QCOMPARE(f.log.writes.size(), 1);
    QCOMPARE(f.log.writes[0].mid(11, 5), QByteArray::fromHex("011E000078"));
    QCOMPARE(f.v().StatusBar1[2], QString("Arquivo enviado."));
    QVERIFY(d.isVisible()); // it stays open after sending
}

void TestConfigurationDialog::escapeIsFechar() {
    Rig f('e');
    ConfigurationDialog d(f.s());
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QVERIFY(d.editor().Timer1->isActive());
    QTest::keyClick(&d, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.editor().Timer1->isActive());
    QVERIFY(!d.editor().isOpen());
}

void TestConfigurationDialog::openedByConfigurar() {
    Rig f('p');
    MainWindow window(f.s());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* dialog = window.findChild<ConfigurationDialog*>(QStringLiteral("TForm3"));
    QVERIFY(dialog);
    auto* button = f.get<QPushButton>(&window, "Button4");
    button->setEnabled(true); // as a configuration reply would
    f.s().poll().ReceiveMode = ReceiveModeKind::Text;
    bool shownModal = false;
    ReceiveModeKind modeWhenShown = ReceiveModeKind::Text;
    QTimer::singleShot(0, dialog, [&] {
        shownModal = dialog->isVisible() && dialog->isModal();
        modeWhenShown = f.s().poll().ReceiveMode;
        QTest::mouseClick(f.get<QPushButton>(dialog, "Button2"), Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(shownModal);
    QCOMPARE(modeWhenShown, ReceiveModeKind::Frame);
    QVERIFY(!dialog->isVisible());
}

QTEST_MAIN(TestConfigurationDialog)
#include "tst_configurationdialog.moc"
