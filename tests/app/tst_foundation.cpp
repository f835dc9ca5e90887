// Building blocks: virtual timers, regional separators, code page, settings file, texts.
#include "app/ManualClock.h"
#include "app/Regional.h"
#include "app/SettingsFile.h"
#include "app/Texts.h"
#include "app/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

class TestFoundation : public QObject {
    Q_OBJECT
private slots:
    void manualClockFiresInTimeOrder();
    void tickerIntervalAndEnableRules();
    void tickerStoppedInsideOtherTick();
    void regionalSeparators_data();
    void regionalSeparators();
    void windows1252RoundTrip();
    void windows1252Unencodable();
    void settingsFile_data();
    void settingsFile();
    void settingsFileMissingIsCreatedEmpty();
    void settingsFileUnreadable();
    void textsByLanguage();
};

void TestFoundation::manualClockFiresInTimeOrder() {
    ManualClock clock;
    auto a = clock.createTicker();
    auto b = clock.createTicker();
    QList<QPair<char, qint64>> fired;
    a->setCallback([&] { fired.append({'a', clock.nowMs()}); });
    b->setCallback([&] { fired.append({'b', clock.nowMs()}); });
    a->setInterval(300);
    b->setInterval(200);
    a->start();
    b->start();
    clock.advance(600);
    const QList<QPair<char, qint64>> expected = {
        {'b', 200}, {'a', 300}, {'b', 400}, {'a', 600}, {'b', 600}};
    QCOMPARE(fired, expected);
    QCOMPARE(clock.nowMs(), 600);
}

void TestFoundation::tickerIntervalAndEnableRules() {
    ManualClock clock;
    auto t = clock.createTicker();
    QList<qint64> at;
    t->setCallback([&] { at << clock.nowMs(); });
    t->setInterval(100);
    QVERIFY(!t->isActive());
    clock.advance(250);
    QVERIFY(at.isEmpty()); // disabled timers never tick

    t->start();
    clock.advance(50);
    t->start(); // already running: the period is not restarted
    clock.advance(50);
    QCOMPARE(at, QList<qint64>{350});

    clock.advance(40);
    t->setInterval(100); // same interval: no restart
    clock.advance(60);
    QCOMPARE(at, (QList<qint64>{350, 450}));

    clock.advance(40);
    t->setInterval(200); // a new interval restarts the period from now
    clock.advance(199);
    QCOMPARE(at.size(), 2);
    clock.advance(1);
    QCOMPARE(at.last(), 690);

    t->stop();
    clock.advance(1000);
    QCOMPARE(at.size(), 3);
}

void TestFoundation::tickerStoppedInsideOtherTick() {
    ManualClock clock;
    auto first = clock.createTicker();
    auto second = clock.createTicker();
    int secondTicks = 0;
    first->setInterval(100);
    second->setInterval(100);
    first->setCallback([&] { second->stop(); });
    second->setCallback([&] { ++secondTicks; });
    first->start();
    second->start();
    clock.advance(100); // both due at 100; the first stops the second before it runs
    QCOMPARE(secondTicks, 0);
    QVERIFY(!second->isActive());
}

void TestFoundation::regionalSeparators_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("C") << QLocale::c() << "/"
                       << ":"
                       << ".";
    QTest::newRow("pt_BR") << QLocale(QLocale::Portuguese, QLocale::Brazil) << "/"
                           << ":"
                           << ",";
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << "."
                           << ":"
                           << ",";
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "/"
                           << ":"
                           << ".";
}

void TestFoundation::regionalSeparators() {
    QFETCH(QLocale, locale);
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(QString, decimal);
    const Regional r = Regional::fromLocale(locale);
    QCOMPARE(QString(r.dateSeparator), date);
    QCOMPARE(QString(r.timeSeparator), time);
    QCOMPARE(QString(r.decimalSeparator), decimal);
}

void TestFoundation::windows1252RoundTrip() {
    QByteArray all(256, 0);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = Windows1252::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(text.at(0x80), QChar(0x20AC)); // euro sign
    QCOMPARE(text.at(0xBA), QChar(u'º'));
    QCOMPARE(text.at(0xB2), QChar(u'²'));
    bool ok = false;
    QCOMPARE(Windows1252::encode(text, &ok), all);
    QVERIFY(ok);
    QCOMPARE(Windows1252::encode(u"PRESSÃO KGF/cm²"), QByteArray("PRESS\xC3O KGF/cm\xB2"));
}

void TestFoundation::windows1252Unencodable() {
    bool ok = true;
    QCOMPARE(Windows1252::encode(u"a\u4E2Db", &ok), QByteArray("a?b"));
    QVERIFY(!ok);
    QVERIFY(!Windows1252::canEncode(u"\u2603"));
    QVERIFY(Windows1252::canEncode(u"Título €"));
}

void TestFoundation::settingsFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<char>("language");
    QTest::newRow("empty") << QByteArray() << 'p';
    QTest::newRow("p") << QByteArray("p") << 'p';
    QTest::newRow("e") << QByteArray("e") << 'e';
    QTest::newRow("i") << QByteArray("i") << 'i';
    QTest::newRow("only first byte counts") << QByteArray("ie") << 'i';
    QTest::newRow("capital P") << QByteArray("P") << 'p';
    QTest::newRow("x") << QByteArray("x") << 'p';
    QTest::newRow("capital I") << QByteArray("I") << 'p';
    QTest::newRow("NUL then e") << QByteArray("\0e", 2) << 'p';
    QTest::newRow("binary") << QByteArray("\xff\xfe\x00i", 4) << 'p';
    QTest::newRow("blank then i") << QByteArray(" i") << 'p';
}

void TestFoundation::settingsFile() {
    QFETCH(QByteArray, content);
    QFETCH(char, language);
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::kName);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    const SettingsFile::Result r = SettingsFile::read(path);
    QCOMPARE(r.language, language);
    QVERIFY(!r.cannotOpen);
    QCOMPARE(QFile(path).size(), content.size()); // never written
}

void TestFoundation::settingsFileMissingIsCreatedEmpty() {
    QTemporaryDir dir;
    const QString path = dir.filePath(SettingsFile::kName);
    for (int run = 0; run < 2; ++run) { // and the next start reads the empty file
        const SettingsFile::Result r = SettingsFile::read(path);
        QCOMPARE(r.language, 'p');
        QVERIFY(!r.cannotOpen);
        QVERIFY(QFile::exists(path));
        QCOMPARE(QFile(path).size(), 0);
    }
}

void TestFoundation::settingsFileUnreadable() {
    QTemporaryDir dir;
    // A directory of that name can be neither read nor created as a file.
    const QString path = dir.filePath(SettingsFile::kName);
    QVERIFY(QDir().mkdir(path));
    SettingsFile::Result r = SettingsFile::read(path);
    QVERIFY(r.cannotOpen);
    QCOMPARE(r.language, 'p');

    // A folder where nothing can be created.
    const QString locked = dir.filePath("locked");
    QVERIFY(QDir().mkdir(locked));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    r = SettingsFile::read(locked + "/" + SettingsFile::kName);
    if (QFile::exists(locked + "/" + SettingsFile::kName))
        QSKIP("running with rights that ignore folder permissions");
    QVERIFY(r.cannotOpen);
    QCOMPARE(r.language, 'p');
}

void TestFoundation::textsByLanguage() {
    QCOMPARE(Texts::text(Txt::UsbOpenFailed, 'e'), QString("Error para abrir el dispositivo USB."));
    QCOMPARE(Texts::text(Txt::HeaderTime, 'e'), QString("  HORAS  "));
    QCOMPARE(Texts::text(Txt::HeaderDate, 'i'), QString("  DATE    "));
    // Portuguese-only texts shown in every language.
    QCOMPARE(Texts::text(Txt::SettingsFileCannotOpen, 'i'),
             QString::fromUtf8("O arquivo não pode ser aberto.\n"));
    // Main-window captions: design texts for Spanish and English.
    QCOMPARE(Texts::design(Txt::Button2), QString("Conectar "));
    QCOMPARE(Texts::text(Txt::Button2, 'p'), QString("Conectar"));
    QCOMPARE(Texts::text(Txt::Label3, 'p'), QString("Responsavel:"));
    // An unknown code reads as Portuguese.
    QCOMPARE(Texts::text(Txt::UsbConnected, 'x'), QString("Interface conectada"));
}

QTEST_GUILESS_MAIN(TestFoundation)
#include "tst_foundation.moc"
