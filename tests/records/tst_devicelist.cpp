// The device list: the file "lidi.IDO", the list window's behaviour, and the window itself.
#include "records/DeviceListDialog.h"
#include "records/DeviceListEditor.h"
#include "records/DeviceListFile.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

using Mode = DeviceListEditor::Mode;

namespace {

const QString kFile = QStringLiteral("lidi.IDO");

// Texts of the window, Portuguese only.
const QString kCodeEmpty = QStringLiteral("Entre com um código!");
const QString kCodeInvalid =
    QStringLiteral("O código deve ter 12 caracteres hexadecimais (0 a 9, A a F).");
const QString kCannotOpen = QStringLiteral("O arquivo não pode ser aberto.\n");
const QString kCannotCreate = QStringLiteral("The lst file can't be opened.\n");
const QString kWriteError = QStringLiteral("Erro de escrita no arquivo.\n");

QByteArray contents(const QString& path = kFile) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QByteArray& bytes, const QString& path = kFile) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A scratch current directory for the file tests.
struct Scratch {
    QTemporaryDir dir;
    Scratch() { QDir::setCurrent(dir.path()); }
    ~Scratch() { QDir::setCurrent(QDir::tempPath()); }
};

// A session whose main window has been shown, and the list window's state over it.
struct Rig {
    SessionFixture f{'p'};
    DeviceListEditor editor{f.s()};
    Rig() { f.s().FormShow(); }

    const QStringList& messages() const { return f.prompt.messages; }

    // One step written as the user would do it: "Editar", "Inserir CODE", "Apagar",
    // "Gravar", "click N".
    void perform(const QString& step) {
        const QString arg = step.section(u' ', 1);
        if (step == u"Editar")
            editor.Button6_EditarClick();
        else if (step.startsWith(u"Inserir"))
            editor.Button3_InserirClick(arg);
        else if (step == u"Apagar")
            editor.Button4_ApagarClick();
        else if (step == u"Gravar")
            editor.Button5_GravarClick();
        else if (step.startsWith(u"click"))
            editor.ListBox1Click(arg.toInt());
        else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
    void perform(const QStringList& steps) {
        for (const QString& s : steps)
            perform(s);
    }
};

// Lowers the largest file the process may write, so that writing fails as on a full disk;
// the file system and the permissions (which do not stop root) play no part.
struct FileSizeLimit {
    rlimit old{};
    bool active = false;
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &old) != 0)
            return;
        rlimit lower = old;
        lower.rlim_cur = bytes;
        std::signal(SIGXFSZ, SIG_IGN);
        active = setrlimit(RLIMIT_FSIZE, &lower) == 0;
    }
    ~FileSizeLimit() {
        if (active)
            setrlimit(RLIMIT_FSIZE, &old);
    }
};

QStringList twelve(std::initializer_list<const char*> prefixes) {
    // Distinct 12-character entries: a letter and its position, padded with '0'.
    QStringList out;
    for (const char* p : prefixes)
        out << QString::fromLatin1(p).leftJustified(DeviceListFile::kEntryLength, u'0');
    return out;
}

} // namespace

class TestDeviceList : public QObject {
    Q_OBJECT
private slots:
    // --- the file ---
    void reading_data();
    void reading();
    void missingFileIsCreatedEmpty();
    void writing_data();
    void writing();

    // --- the window's behaviour ---
    void showingTakesTheFirstEntry();
    void showingAnEmptyListKeepsTheAddress();
    void clickingChoosesAnEntry();
    void modes_data();
    void modes();
    void insertPosition_data();
    void insertPosition();
    void codes_data();
    void codes();
    void fullListTakesNoMore();
    void closingWithUnsavedChanges_data();
    void closingWithUnsavedChanges();
    void closingLightsPanel6_data();
    void closingLightsPanel6();
    void fileFailuresLeaveTheListUsable_data();
    void fileFailuresLeaveTheListUsable();

    // --- the window ---
    void dialogShowsTheEditorState();
    void confirmationAnswers();
};

void TestDeviceList::reading_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("11 characters") << QByteArray(11, 'A') << QStringList();
    QTest::newRow("25 characters: last one ignored")
        << QByteArray("0123456789ABCDEF01234567X") << QStringList{"0123456789AB", "CDEF01234567"};
    QTest::newRow("Windows-1252") << QByteArray("\x80\xC7\xE3\x9F"
                                                "ABCDEFGH")
                                  << QStringList{QStringLiteral("€ÇãŸABCDEFGH")};

    // 58 whole pieces, of which only the first 54 (648 characters) are read.
    QByteArray big;
    QStringList first54;
    for (int i = 0; i < 700; ++i)
        big += char('A' + (i / 12) % 26);
    for (int k = 0; k < 54; ++k)
        first54 << QString(12, QChar(u'A' + k % 26));
    QTest::newRow("700 characters") << big << first54;
    QTest::newRow("648 characters") << big.left(648) << first54;
    QTest::newRow("659 characters") << big.left(659) << first54;
}

void TestDeviceList::reading() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    Scratch s;
    put(bytes);

    const DeviceListFile::ReadResult r = DeviceListFile::read();
    QCOMPARE(r.entries, entries);
    QVERIFY(!r.created && !r.cannotOpen);
    QCOMPARE(contents(), bytes);
    QCOMPARE(DeviceListFile::firstEntry(), entries.value(0));
}

void TestDeviceList::missingFileIsCreatedEmpty() {
    Scratch s;
    // The command line's default address looks, but creates nothing.
    QCOMPARE(DeviceListFile::firstEntry(), QString());
    QVERIFY(!QFileInfo::exists(kFile));

    const DeviceListFile::ReadResult r = DeviceListFile::read();
    QVERIFY(r.entries.isEmpty());
    QVERIFY(r.created && !r.cannotOpen);
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kFile});
    QCOMPARE(QFileInfo(kFile).size(), 0);
}

void TestDeviceList::writing_data() {
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("readBack");

    QTest::newRow("two entries, back to back")
        << QStringList{"0123456789AB", "CDEF01234567"} << QByteArray("0123456789ABCDEF01234567")
        << QStringList{"0123456789AB", "CDEF01234567"};
    QTest::newRow("13 characters shift the next entry")
        << QStringList{"0123456789ABC", "DEF012345678"} << QByteArray("0123456789ABCDEF012345678")
        << QStringList{"0123456789AB", "CDEF01234567"};
    QTest::newRow("Windows-1252") << QStringList{QStringLiteral("ÇÃO€12345678")}
                                  << QByteArray("\xC7\xC3O\x80"
                                                "12345678")
                                  << QStringList{QStringLiteral("ÇÃO€12345678")};
    QTest::newRow("empty list") << QStringList() << QByteArray() << QStringList();
}

void TestDeviceList::writing() {
    QFETCH(QStringList, entries);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, readBack);
    Scratch s;
    put(QByteArray(36, 'Z')); // a longer earlier list: nothing of it may stay

    QVERIFY(DeviceListFile::write(entries).ok());
    QCOMPARE(contents(), bytes);
    QCOMPARE(DeviceListFile::read().entries, readBack);
    QCOMPARE(QDir::current().entryList(QDir::Files), QStringList{kFile});
}

void TestDeviceList::showingTakesTheFirstEntry() {
    Rig rig;
    put("0123456789ABCDEF01234567");
    QVERIFY(!rig.f.v().Button3.enabled);

    rig.editor.FormShow();
    QCOMPARE(rig.editor.entries(), (QStringList{"0123456789AB", "CDEF01234567"}));
    QCOMPARE(rig.editor.selected(), 0);
    QCOMPARE(rig.editor.Edit2(), QString("1"));
    QCOMPARE(rig.editor.Edit3(), QString("2"));
    QCOMPARE(rig.f.v().Edit6.text, QString("1"));
    QCOMPARE(rig.f.v().Edit7.text, QString("0123456789AB"));
    QVERIFY(rig.f.v().Button3.enabled);
    QVERIFY(!rig.editor.DeviceListDirty());
    QVERIFY(rig.editor.isOpen());
    QVERIFY(rig.messages().isEmpty());
}

void TestDeviceList::showingAnEmptyListKeepsTheAddress() {
    Rig rig;
    rig.f.s().DeviceChosen(QStringLiteral("3"), QStringLiteral("AABBCCDDEEFF"));

    rig.editor.FormShow();
    QVERIFY(rig.editor.entries().isEmpty());
    QCOMPARE(rig.editor.selected(), -1);
    QCOMPARE(rig.editor.Edit3(), QString("0"));
    QCOMPARE(rig.f.v().Edit6.text, QString("0"));
    QCOMPARE(rig.f.v().Edit7.text, QString("AABBCCDDEEFF"));
    QVERIFY(rig.f.v().Button3.enabled);
    QVERIFY(QFileInfo(kFile).isFile());
    QVERIFY(rig.messages().isEmpty());
}

void TestDeviceList::clickingChoosesAnEntry() {
    Rig rig;
    put("0123456789ABCDEF01234567");
    rig.editor.FormShow();

    rig.editor.ListBox1Click(1);
    QCOMPARE(rig.editor.selected(), 1);
    QCOMPARE(rig.editor.Edit2(), QString("2"));
    QCOMPARE(rig.f.v().Edit6.text, QString("2"));
    QCOMPARE(rig.f.v().Edit7.text, QString("CDEF01234567"));

    // A click beside the entries chooses nothing.
    for (int outside : {-1, 2}) {
        rig.editor.ListBox1Click(outside);
        QCOMPARE(rig.editor.selected(), 1);
        QCOMPARE(rig.editor.Edit2(), QString("2"));
        QCOMPARE(rig.f.v().Edit7.text, QString("CDEF01234567"));
    }
}

void TestDeviceList::modes_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("editar");
    QTest::addColumn<bool>("inserirApagar");
    QTest::addColumn<bool>("gravar");
    QTest::addColumn<bool>("code");
    QTest::addColumn<bool>("dirty");
    QTest::addColumn<int>("count");

    const QByteArray two = "0123456789ABCDEF01234567";
    const int browse = int(Mode::Browse), edit = int(Mode::Edit), changed = int(Mode::EditChanged);
    QTest::newRow("shown") << two << QStringList{} << browse << true << false << false << false
                           << false << 2;
    QTest::newRow("Editar") << two << QStringList{"Editar"} << edit << true << true << false << true
                            << false << 2;
    QTest::newRow("Inserir") << two << QStringList{"Editar", "Inserir 00AA00AA00AA"} << changed
                             << false << true << true << true << true << 3;
    QTest::newRow("Apagar") << two << QStringList{"Editar", "Apagar"} << changed << false << true
                            << true << true << true << 1;
    QTest::newRow("Gravar") << two << QStringList{"Editar", "Apagar", "Gravar"} << browse << true
                            << false << false << false << false << 1;
    QTest::newRow("Inserir while browsing does nothing")
        << two << QStringList{"Inserir 00AA00AA00AA"} << browse << true << false << false << false
        << false << 2;
    QTest::newRow("Apagar with nothing selected does nothing")
        << two << QStringList{"Editar", "Apagar", "Apagar"} << changed << false << true << true
        << true << true << 1;
    QTest::newRow("Apagar on an empty list does nothing")
        << QByteArray() << QStringList{"Editar", "Apagar"} << edit << true << true << false << true
        << false << 0;
}

void TestDeviceList::modes() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, steps);
    QFETCH(int, mode);
    QFETCH(bool, editar);
    QFETCH(bool, inserirApagar);
    QFETCH(bool, gravar);
    QFETCH(bool, code);
    QFETCH(bool, dirty);
    QFETCH(int, count);
    Rig rig;
    put(file);
    rig.editor.FormShow();
    rig.perform(steps);

    const DeviceListEditor& e = rig.editor;
    QCOMPARE(int(e.mode()), mode);
    QCOMPARE(e.Button6_EditarEnabled(), editar);
    QCOMPARE(e.Button3_InserirEnabled(), inserirApagar);
    QCOMPARE(e.Button4_ApagarEnabled(), inserirApagar);
    QCOMPARE(e.Button5_GravarEnabled(), gravar);
    QCOMPARE(e.Edit1Enabled(), code);
    QVERIFY(e.Button2_FecharEnabled());
    QCOMPARE(e.DeviceListDirty(), dirty);
    QCOMPARE(e.entries().size(), count);
    QCOMPARE(e.Edit3(), QString::number(count));
    QVERIFY(rig.messages().isEmpty());
}

void TestDeviceList::insertPosition_data() {
    QTest::addColumn<QStringList>("file");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("entries");

    const QStringList abc = twelve({"A", "B", "C"});
    const QString n = QStringLiteral("FFFFFFFFFFFF");
    QTest::newRow("first selected: second place")
        << abc << QStringList{"Editar", "click 0", "Inserir " + n}
        << QStringList{abc[0], n, abc[1], abc[2]};
    QTest::newRow("after Editar: the end")
        << abc << QStringList{"Editar", "Inserir " + n} << (abc + QStringList{n});
    QTest::newRow("nothing selected: the top")
        << abc << QStringList{"Editar", "click 1", "Apagar", "Inserir " + n}
        << QStringList{n, abc[0], abc[2]};
    QTest::newRow("empty list") << QStringList() << QStringList{"Editar", "Inserir " + n}
                                << QStringList{n};
    QTest::newRow("two in a row, first selected")
        << abc << QStringList{"Editar", "click 0", "Inserir " + n, "Inserir EEEEEEEEEEEE"}
        << QStringList{abc[0], n, abc[1], abc[2], "EEEEEEEEEEEE"};
}

void TestDeviceList::insertPosition() {
    QFETCH(QStringList, file);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, entries);
    Rig rig;
    put(DeviceListFile::serialise(file));
    rig.editor.FormShow();
    rig.perform(steps);

    QCOMPARE(rig.editor.entries(), entries);
    // The selection moves to the last entry, not to the new one.
    QCOMPARE(rig.editor.selected(), entries.size() - 1);
    QCOMPARE(rig.editor.Edit1(), QString());
    // Only "Gravar" writes the file.
    QCOMPARE(contents(), DeviceListFile::serialise(file));
}

void TestDeviceList::codes_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("entry"); // empty: refused
    QTest::addColumn<QString>("message");

    QTest::newRow("upper case") << "0123456789AB"
                                << "0123456789AB" << QString();
    QTest::newRow("lower case stored upper") << "a1b2c3d4e5f6"
                                             << "A1B2C3D4E5F6" << QString();
    QTest::newRow("blanks around dropped") << " 0123456789ab "
                                           << "0123456789AB" << QString();
    QTest::newRow("empty") << "" << QString() << kCodeEmpty;
    QTest::newRow("blanks only") << "   " << QString() << kCodeEmpty;
    QTest::newRow("11 digits") << "0123456789A" << QString() << kCodeInvalid;
    QTest::newRow("13 digits") << "0123456789ABC" << QString() << kCodeInvalid;
    QTest::newRow("not hexadecimal") << "0123456789AG" << QString() << kCodeInvalid;
    QTest::newRow("with separators") << "01:23:45:67:89:AB" << QString() << kCodeInvalid;
    QTest::newRow("blank inside") << "012345 789AB" << QString() << kCodeInvalid;
    QTest::newRow("accented letter") << "0123456789AÉ" << QString() << kCodeInvalid;
    QTest::newRow("full-width digit") << "0123456789A\uFF11" << QString() << kCodeInvalid;
}

void TestDeviceList::codes() {
    QFETCH(QString, code);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    Rig rig;
    put("000000000000");
    rig.editor.FormShow();
    rig.editor.Button6_EditarClick();

    rig.editor.Button3_InserirClick(code);
    if (entry.isEmpty()) {
        QCOMPARE(rig.messages(), QStringList{message});
        QCOMPARE(rig.editor.entries(), QStringList{"000000000000"});
        QCOMPARE(rig.editor.mode(), Mode::Edit);
        QVERIFY(!rig.editor.DeviceListDirty());
        // The code stays in the field to be corrected.
        QCOMPARE(rig.editor.Edit1(), code.toUpper());
    } else {
        QVERIFY(rig.messages().isEmpty());
        QCOMPARE(rig.editor.entries(), (QStringList{"000000000000", entry}));
        QCOMPARE(rig.editor.Edit1(), QString());
        rig.editor.Button5_GravarClick();
        QCOMPARE(contents(), "000000000000" + entry.toLatin1());
    }
}

void TestDeviceList::fullListTakesNoMore() {
    Rig rig;
    QStringList full;
    for (int i = 0; i < DeviceListFile::kMaxEntries; ++i)
        full << QStringLiteral("%1").arg(i, 12, 16, QChar(u'0')).toUpper();
    put(DeviceListFile::serialise(full));
    rig.editor.FormShow();
    rig.editor.Button6_EditarClick();

    rig.editor.Button3_InserirClick(QStringLiteral("FFFFFFFFFFFF"));
    QCOMPARE(rig.messages().size(), 1);
    QVERIFY(rig.messages()[0].contains(u"54"));
    QCOMPARE(rig.editor.entries(), full);
    QVERIFY(!rig.editor.DeviceListDirty());

    // Room again after one is deleted; all of it comes back from the file.
    rig.perform({"Apagar", "Inserir FFFFFFFFFFFF", "Gravar"});
    const QStringList saved = DeviceListFile::read().entries;
    QCOMPARE(saved.size(), DeviceListFile::kMaxEntries);
    QCOMPARE(saved.constFirst(), QString("FFFFFFFFFFFF"));
}

void TestDeviceList::closingWithUnsavedChanges_data() {
    QTest::addColumn<bool>("sim");
    QTest::newRow("Sim") << true;
    QTest::newRow("Não, then Gravar") << false;
}

void TestDeviceList::closingWithUnsavedChanges() {
    QFETCH(bool, sim);
    Rig rig;
    const QByteArray before = "0123456789AB";
    put(before);
    rig.editor.FormShow();
    rig.perform({"Editar", "Inserir cdef01234567"});

    QVERIFY(rig.editor.Button2_FecharClick()); // the confirmation is asked
    QVERIFY(rig.editor.isOpen());
    if (sim) {
        rig.editor.ConfirmationSim();
        QVERIFY(!rig.editor.isOpen());
        QCOMPARE(contents(), before);
        QCOMPARE(rig.f.v().Panel6, PanelColour::Red);
        // The next showing reads the file again: the change is gone.
        rig.editor.FormShow();
        QCOMPARE(rig.editor.entries(), QStringList{"0123456789AB"});
    } else {
        // "Não" leaves the window as it was.
        QCOMPARE(rig.editor.entries(), (QStringList{"0123456789AB", "CDEF01234567"}));
        rig.editor.Button5_GravarClick();
        QCOMPARE(contents(), QByteArray("0123456789ABCDEF01234567"));
        QVERIFY(!rig.editor.Button2_FecharClick());
        QVERIFY(!rig.editor.isOpen());
        QCOMPARE(rig.f.v().Panel6, PanelColour::Lime);
    }
    QVERIFY(rig.messages().isEmpty());
}

void TestDeviceList::closingLightsPanel6_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("lime");

    QTest::newRow("first entry chosen") << QByteArray("0123456789AB") << QStringList{} << true;
    QTest::newRow("empty list, no address") << QByteArray() << QStringList{} << false;
    // "Editar" clears only the number; the address stays and counts.
    QTest::newRow("after Editar") << QByteArray("0123456789AB") << QStringList{"Editar"} << true;
}

void TestDeviceList::closingLightsPanel6() {
    QFETCH(QByteArray, file);
    QFETCH(QStringList, steps);
    QFETCH(bool, lime);
    Rig rig;
    put(file);
    rig.editor.FormShow();
    rig.perform(steps);

    QVERIFY(!rig.editor.Button2_FecharClick());
    QVERIFY(!rig.editor.isOpen());
    QCOMPARE(rig.f.v().Panel6, lime ? PanelColour::Lime : PanelColour::Red);
}

void TestDeviceList::fileFailuresLeaveTheListUsable_data() {
    QTest::addColumn<bool>("folder");
    QTest::addColumn<QStringList>("messages");
    // Each message names the file and the system's reason.
    QTest::newRow("a folder named lidi.IDO")
        << true
        << QStringList{kCannotOpen + "lidi.IDO: is a folder",
                       kCannotCreate + "lidi.IDO: is a folder"};
    QTest::newRow("writing fails")
        << false << QStringList{kWriteError + "lidi.IDO: File too large"};
}

void TestDeviceList::fileFailuresLeaveTheListUsable() {
    QFETCH(bool, folder);
    QFETCH(QStringList, messages);
    Rig rig;
    const QByteArray before = "0123456789AB";
    if (folder)
        QVERIFY(QDir().mkdir(kFile));
    else
        put(before);

    rig.editor.FormShow();
    QVERIFY(rig.editor.isOpen());
    rig.perform({"Editar", "Inserir AAAAAAAAAAAA"});
    {
        FileSizeLimit limit(folder ? RLIM_INFINITY : 4);
        if (!limit.active)
            QSKIP("the file size limit cannot be lowered here");
        rig.editor.Button5_GravarClick();
    }
    QCOMPARE(rig.messages(), messages);

    // Nothing is lost: the changes stay pending, "Gravar" can be tried again and closing
    // still asks.
    QCOMPARE(rig.editor.mode(), Mode::EditChanged);
    QVERIFY(rig.editor.DeviceListDirty());
    QVERIFY(rig.editor.Button5_GravarEnabled());
    QVERIFY(rig.editor.entries().contains("AAAAAAAAAAAA"));
    QVERIFY(rig.editor.Button2_FecharClick());
    if (folder) {
        QVERIFY(QFileInfo(kFile).isDir());
    } else {
        QCOMPARE(contents(), before);
        QCOMPARE(QDir::current().entryList(QDir::Files), (QStringList{kFile, "prg.IDO"}));
        rig.editor.Button5_GravarClick(); // the limit is gone
        QCOMPARE(contents(), before + "AAAAAAAAAAAA");
        QVERIFY(!rig.editor.DeviceListDirty());
    }
}

namespace {

struct DialogRig : Rig {
    DeviceListDialog dialog{f.s()};

    template <class T = QWidget> T* get(const char* name) {
        T* w = dialog.findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no %s named %s", T::staticMetaObject.className(), name);
        return w;
    }
    void click(const char* button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    // Enabled flags of "Editar", "Inserir", "Apagar", "Gravar", "Fechar" and the code field.
    QString flags() {
        QString out;
        for (const char* name : {"Button6_Editar", "Button3_Inserir", "Button4_Apagar",
                                 "Button5_Gravar", "Button2_Fechar", "Edit1"})
            out += get(name)->isEnabled() ? u'1' : u'0';
        return out;
    }
    // Answers the confirmation as soon as it is shown.
    void answer(const char* button) {
        QTimer::singleShot(0, &dialog, [button] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == u"TForm7")
                QTest::mouseClick(modal->findChild<QPushButton*>(button), Qt::LeftButton);
        });
    }
};

} // namespace

void TestDeviceList::dialogShowsTheEditorState() {
    DialogRig rig;
    put("0123456789ABCDEF01234567");
    QCOMPARE(rig.dialog.objectName(), QString("TForm6_Adicionar"));
    QCOMPARE(rig.dialog.windowTitle(), QString("Lista de dispositivos"));
    QVERIFY(!(rig.dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(rig.dialog.font().bold());

    rig.dialog.show();
    auto* list = rig.get<QListWidget>("ListBox1");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(rig.get<QLineEdit>("Edit2")->text(), QString("1"));
    QCOMPARE(rig.get<QLineEdit>("Edit3")->text(), QString("2"));
    QCOMPARE(rig.flags(), QString("100010"));

    rig.click("Button6_Editar");
    QCOMPARE(rig.flags(), QString("111011"));
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(rig.f.v().Edit6.text, QString());

    // The code field forces upper case as it is typed.
    QTest::keyClicks(rig.get<QLineEdit>("Edit1"), "ab12cd34ef56");
    QCOMPARE(rig.get<QLineEdit>("Edit1")->text(), QString("AB12CD34EF56"));
    rig.click("Button3_Inserir");
    QCOMPARE(rig.flags(), QString("011111"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(2)->text(), QString("AB12CD34EF56"));
    QCOMPARE(rig.get<QLineEdit>("Edit1")->text(), QString());
    QCOMPARE(rig.get<QLineEdit>("Edit3")->text(), QString("3"));

    // A click on an entry takes it into the main window.
    QListWidgetItem* first = list->item(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(first).center());
    QCOMPARE(rig.get<QLineEdit>("Edit2")->text(), QString("1"));
    QCOMPARE(rig.f.v().Edit6.text, QString("1"));
    QCOMPARE(rig.f.v().Edit7.text, QString("0123456789AB"));

    rig.click("Button5_Gravar");
    QCOMPARE(rig.flags(), QString("100010"));
    QCOMPARE(contents(), QByteArray("0123456789ABCDEF01234567AB12CD34EF56"));

    rig.click("Button2_Fechar");
    QVERIFY(!rig.dialog.isVisible());
    QCOMPARE(rig.f.v().Panel6, PanelColour::Lime);
    QVERIFY(rig.messages().isEmpty());
}

void TestDeviceList::confirmationAnswers() {
    DialogRig rig;
    put("0123456789AB");
    rig.dialog.show();
    rig.click("Button6_Editar");
    QTest::keyClicks(rig.get<QLineEdit>("Edit1"), "cdef01234567");
    rig.click("Button3_Inserir");

    auto* confirmation = rig.dialog.findChild<QDialog*>(QStringLiteral("TForm7"));
    QVERIFY(confirmation);
    QCOMPARE(confirmation->windowTitle(), QString("ATENÇÃO!"));
    QCOMPARE(confirmation->palette().color(QPalette::Window), QColor(Qt::white));
    auto* sim = confirmation->findChild<QPushButton*>(QStringLiteral("Button1_Sim"));
    auto* nao = confirmation->findChild<QPushButton*>(QStringLiteral("Button2_Nao"));
    QCOMPARE(sim->text(), QString("Sim"));
    QCOMPARE(nao->text(), QString("Não"));
    QVERIFY(sim->x() < nao->x());

    // Escape is "Fechar", which asks; "Não" keeps the window and its change.
    rig.answer("Button2_Nao");
    QTest::keyClick(&rig.dialog, Qt::Key_Escape);
    QVERIFY(rig.dialog.isVisible());
    QVERIFY(!confirmation->isVisible());
    QCOMPARE(rig.get<QListWidget>("ListBox1")->count(), 2);
    QCOMPARE(rig.flags(), QString("011111"));

    rig.answer("Button1_Sim");
    rig.click("Button2_Fechar");
    QVERIFY(!rig.dialog.isVisible());
    QCOMPARE(contents(), QByteArray("0123456789AB"));
    QCOMPARE(rig.f.v().Panel6, PanelColour::Red);

    // Shown again, the window reads the file anew.
    rig.dialog.show();
    QCOMPARE(rig.get<QListWidget>("ListBox1")->count(), 1);
    QCOMPARE(rig.flags(), QString("100010"));
}

QTEST_MAIN(TestDeviceList)
#include "tst_devicelist.moc"
