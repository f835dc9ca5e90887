#include "app/MessageBox.h"
#include "app/ToolkitTranslation.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace {

struct Seen {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString yesText; // as shown, without the accelerator mark
    QString noText;
};

// Once the modal box is up, notes what it shows and presses key on it.
void pressWhenShown(Qt::Key key, Seen* seen) {
    QTimer::singleShot(0, [key, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            // Nothing to answer: leave the loop so that the test fails instead of hanging.
            QApplication::exit(1);
            return;
        }
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->buttons = box->standardButtons();
        seen->icon = box->icon();
        for (auto [button, text] : {std::pair{QMessageBox::Yes, &seen->yesText},
                                    std::pair{QMessageBox::No, &seen->noText}}) {
            if (QAbstractButton* b = box->button(button))
                *text = b->text().remove(u'&');
        }
        QTest::keyClick(box, key);
    });
}

} // namespace

class TestMessageBox : public QObject {
    Q_OBJECT
private slots:
    void messageHasTheProgramTitleAndOk() {
        MessageBoxPrompt prompt;
        Seen seen;
        pressWhenShown(Qt::Key_Return, &seen);
        prompt.message(QStringLiteral("Erro ao abrir o dispositivo USB."));
        QCOMPARE(seen.title, QStringLiteral("Datalogger TERVIX"));
        QCOMPARE(seen.text, QStringLiteral("Erro ao abrir o dispositivo USB."));
        QCOMPARE(seen.buttons, QMessageBox::Ok);
    }

    void questionAnswers_data() {
        QTest::addColumn<bool>("defaultNo");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Enter, default No") << true << int(Qt::Key_Return) << false;
        QTest::newRow("Enter, default Yes") << false << int(Qt::Key_Return) << true;
        QTest::newRow("Escape, default Yes") << false << int(Qt::Key_Escape) << false;
    }

    void questionAnswers() {
        QFETCH(bool, defaultNo);
        QFETCH(int, key);
        QFETCH(bool, yes);
        MessageBoxPrompt prompt;
        Seen seen;
        pressWhenShown(Qt::Key(key), &seen);
        QCOMPARE(prompt.askYesNo(QStringLiteral("Limpar"), QStringLiteral("Apagar?"), defaultNo),
                 yes);
        QCOMPARE(seen.title, QStringLiteral("Limpar"));
        QCOMPARE(seen.text, QStringLiteral("Apagar?"));
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(seen.icon, QMessageBox::Warning);
    }

    // The toolkit's own texts follow the interface language, also after a change of language.
    void standardButtonsFollowTheLanguage_data() {
        QTest::addColumn<QString>("languages");
        QTest::addColumn<QString>("yes");
        QTest::addColumn<QString>("no");
        QTest::newRow("Portuguese")
            << QStringLiteral("p") << QStringLiteral("Sim") << QStringLiteral("Não");
        QTest::newRow("Spanish") << QStringLiteral("e") << QStringLiteral("Sí")
                                 << QStringLiteral("No");
        QTest::newRow("English") << QStringLiteral("i") << QStringLiteral("Yes")
                                 << QStringLiteral("No");
        QTest::newRow("Portuguese, then English")
            << QStringLiteral("pi") << QStringLiteral("Yes") << QStringLiteral("No");
        QTest::newRow("Spanish, then Portuguese")
            << QStringLiteral("ep") << QStringLiteral("Sim") << QStringLiteral("Não");
    }
    void standardButtonsFollowTheLanguage() {
        QFETCH(QString, languages);
        QFETCH(QString, yes);
        QFETCH(QString, no);
        ToolkitTranslation translation;
        for (QChar language : languages)
            QVERIFY(translation.apply(language.toLatin1()));
        MessageBoxPrompt prompt;
        Seen seen;
        pressWhenShown(Qt::Key_Escape, &seen);
        prompt.askYesNo(QStringLiteral("Limpar"), QStringLiteral("Apagar?"), true);
        QCOMPARE(seen.yesText, yes);
        QCOMPARE(seen.noText, no);
    }

    void saveQuestionAnswers_data() {
        QTest::addColumn<QString>("press"); // a button's caption, or "Enter" / "Escape"
        QTest::addColumn<int>("choice");
        QTest::newRow("Enter cancels") << "Enter" << int(SaveChoice::Cancel);
        QTest::newRow("Escape cancels") << "Escape" << int(SaveChoice::Cancel);
        QTest::newRow("Guardar") << "Guardar" << int(SaveChoice::Save);
        QTest::newRow("Descartar") << "Descartar" << int(SaveChoice::Discard);
    }

    void saveQuestionAnswers() {
        QFETCH(QString, press);
        QFETCH(int, choice);
        QStringList captions;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                QApplication::exit(1);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                captions << b->text();
            if (press == "Enter" || press == "Escape") {
                QTest::keyClick(box, press == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press)
                    b->click();
        });
        MessageBoxPrompt prompt;
        const SaveChoice answer = prompt.askSaveDiscardCancel(
            {"Registros no guardados", "¿Guardar?", "Guardar", "Descartar", "Cancelar"});
        QCOMPARE(int(answer), choice);
        captions.sort();
        QCOMPARE(captions, (QStringList{"Cancelar", "Descartar", "Guardar"}));
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
