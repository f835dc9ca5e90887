// The chart window as a view: its designed frame, and the "Gráfico" menu item opening it
// modally over the main window and getting it back after "Fechar".
#include "ChartTable.h"
#include "app/Clock.h"
#include "app/MainWindow.h"
#include "app/ManualClock.h"
#include "chart/ChartWindow.h"
#include "support/FakeTransport.h"
#include "support/RecordingPrompt.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

struct Rig {
    ManualClock time;
    FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(10, 20, 30))};
    RecordingPrompt prompt;
    FakeTransport::Log log;
    MainSession session{{time, clock, prompt, std::make_unique<FakeTransport>(&log), Regional{}}};
    MainWindow window{session};

    Rig() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("main window not shown");
        fillChartTable(session, 20, 2, 40, 1, [](int r) { return r % 7 - 2.5; });
        window.render();
    }
    ChartWindow* chart() { return window.findChild<ChartWindow*>(QStringLiteral("TForm2")); }
    QAction* grafico() { return window.findChild<QAction*>(QStringLiteral("Grafico1")); }
    template <class T = QWidget> static T* in(QWidget* w, const char* name) {
        return w->findChild<T*>(QString::fromLatin1(name));
    }
};

} // namespace

class TestChartWindow : public QObject {
    Q_OBJECT
private slots:
    void designedFrame();
    void menuOpensWindowUntilFechar();
};

void TestChartWindow::designedFrame() {
    Rig rig;
    ChartWindow* w = rig.chart();
    QVERIFY(w);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));

    const Qt::WindowFlags flags = w->windowFlags();
    for (Qt::WindowType button : {Qt::WindowCloseButtonHint, Qt::WindowMinimizeButtonHint,
                                  Qt::WindowMaximizeButtonHint, Qt::WindowContextHelpButtonHint})
        QVERIFY(!(flags & button));
    QWidget* client = Rig::in(w, "ClientArea");
    QCOMPARE(client->size(), QSize(806, 479));
    QCOMPARE(client->palette().color(QPalette::Window), QColor(0, 128, 128));
    QCOMPARE(Rig::in(w, "Image1")->geometry(), QRect(8, 20, 645, 393));
    QCOMPARE(Rig::in<QLabel>(w, "Label2")->palette().color(QPalette::Window), QColor(0, 0, 255));
    for (const char* label : {"Label1", "Label2", "Label3", "Label4"})
        QCOMPARE(Rig::in<QLabel>(w, label)->palette().color(QPalette::WindowText),
                 QColor(255, 255, 0));
    QVERIFY(Rig::in(w, "Button2_Fechar")->font().bold());
    QCOMPARE(Rig::in(w, "Button2_Fechar")->font().pointSize(), 8);
    // The captions sit in one row under the surface: start, final, last record.
    const int row = Rig::in(w, "Label1")->y();
    QVERIFY(row > 20 + 393);
    QVERIFY(Rig::in(w, "Label1")->x() < Rig::in(w, "Label3")->x());
    QVERIFY(Rig::in(w, "Label3")->x() < Rig::in(w, "Label2")->x());
    QVERIFY(Rig::in(w, "ListBox1")->x() > 8 + 645);
    w->controller().Button2_FecharClick();
    w->hide();
}

void TestChartWindow::menuOpensWindowUntilFechar() {
    Rig rig;
    QVERIFY(rig.grafico()->isEnabled());

    struct Seen {
        bool visible = false, menuOff = false, stillOpenAfterEscape = false;
        int entries = 0;
        QString edit1, edit2;
        bool pictureShown = false;
    } seen;
    QTimer::singleShot(0, &rig.window, [&] {
        ChartWindow* w = rig.chart();
        seen.visible = w->isVisible();
        seen.menuOff = !rig.session.view().Grafico1.enabled;
        auto* list = Rig::in<QListWidget>(w, "ListBox1");
        seen.entries = list->count();
        list->setCurrentRow(1);
        QTest::mouseClick(Rig::in<QPushButton>(w, "Button2_Sel_Med"), Qt::LeftButton);
        seen.edit1 = Rig::in<QLineEdit>(w, "Edit1")->text();
        seen.edit2 = Rig::in<QLineEdit>(w, "Edit2")->text();
        seen.pictureShown = Rig::in<QLabel>(w, "Image1")
                                ->pixmap()
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32) == w->controller().picture();
        QTest::keyClick(w, Qt::Key_Escape);
        seen.stillOpenAfterEscape = w->isVisible();
        QTest::mouseClick(Rig::in<QPushButton>(w, "Button2_Fechar"), Qt::LeftButton);
    });
    rig.grafico()->trigger();

    QVERIFY(seen.visible);
    QVERIFY(seen.menuOff);
    QCOMPARE(seen.entries, 2);
    QCOMPARE(seen.edit1, QStringLiteral("30"));
    QCOMPARE(seen.edit2, QStringLiteral("40"));
    QVERIFY(seen.pictureShown);
    QVERIFY(seen.stillOpenAfterEscape);
    QVERIFY(!rig.chart()->isVisible());
    QVERIFY(rig.grafico()->isEnabled());
    QVERIFY(rig.prompt.messages.isEmpty());
}

QTEST_MAIN(TestChartWindow)
#include "tst_chartwindow.moc"
