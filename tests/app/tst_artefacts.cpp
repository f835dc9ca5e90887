// Real artefacts under tests/data, made by tervix-cli against tervix-sim: a download's trace
// replayed into the session, and the data files and the CSV the program wrote, read back.
#include "support/SessionFixture.h"

#include <QFile>
#include <QTest>

namespace {

QString dataPath(const QString& name) {
    return QStringLiteral(TERVIX_TEST_DATA "/") + name;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return f.readAll();
}

// A "--trace" capture: every block written (">") and every read ("<"), in order.
struct Trace {
    struct Block {
        bool sent;
        QByteArray bytes;
    };
    QList<Block> blocks;

    static Trace read(const QString& path) {
        Trace t;
        for (const QByteArray& line : readAll(path).split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 3 || (fields[1] != ">" && fields[1] != "<"))
                continue; // the time stamp, then the direction and the bytes
            t.blocks.append({fields[1] == ">", QByteArray::fromHex(fields.mid(2).join())});
        }
        return t;
    }
    QList<QByteArray> sent() const {
        QList<QByteArray> out;
        for (const Block& b : blocks)
            if (b.sent)
                out << b.bytes;
        return out;
    }
};

// Answers each write with the reads that followed it in the trace.
class ReplayTransport : public FakeTransport {
public:
    ReplayTransport(Log* log, Trace trace) : FakeTransport(log), trace_(std::move(trace)) {}

    int32_t write(const QByteArray& bytes, uint32_t* count) override {
        // Past the next block written, the reads up to the one after come in.
        while (next_ < trace_.blocks.size() && !trace_.blocks[next_].sent)
            ++next_;
        for (++next_; next_ < trace_.blocks.size() && !trace_.blocks[next_].sent; ++next_)
            incoming += trace_.blocks[next_].bytes;
        return FakeTransport::write(bytes, count);
    }

private:
    Trace trace_;
    qsizetype next_ = 0;
};

constexpr char kAddress[] = "A1B2C3D4E5F6";

} // namespace

class TestArtefacts : public QObject {
    Q_OBJECT
private slots:
    void downloadReplayed();
    void savedFilesReadBack_data();
    void savedFilesReadBack();
};

void TestArtefacts::downloadReplayed() {
    // tervix-cli --lang p --trace download -o download-p.dat --title "Ensaio p"
    //   --objective "Pressão, línea 2" --responsible Ana --record off, on 10 December 2026.
    const Trace trace = Trace::read(dataPath("download-p.trace"));
    FakeTransport::Log log;
    SessionFixture f('p',
                     [&](TimeBase&) { return std::make_unique<ReplayTransport>(&log, trace); });
    f.clock.set(QDateTime(QDate(2026, 12, 10), QTime(15, 58)));
    MainSession& s = f.s();
    auto waitFor = [&](const std::function<bool()>& done) {
        for (int ms = 0; ms < 60000 && !done(); ms += 10)
            f.time.advance(10);
        return done();
    };

    // The clicks of the command, as tervix-cli makes them.
    s.FormShow();
    s.Button2Click();
    s.DeviceChosen(QStringLiteral("1"), QString::fromLatin1(kAddress));
    s.Button3Click();
    QVERIFY(waitFor([&] { return s.link().Status_conexao == 6; }));
    s.Button6Click();
    QVERIFY(waitFor([&] { return s.view().StatusBar1[2] == s.text(Txt::Done); }));
    s.Edit3Change(QStringLiteral("Ensaio p"));
    s.Edit4Change(QStringLiteral("Pressão, línea 2"));
    s.Edit5Change(QStringLiteral("Ana"));
    s.Salvarcomo1Click([] { return QStringLiteral("replayed.dat"); });
    s.CheckBox1Click(false);
    s.Button3Click();
    QVERIFY(waitFor([&] { return !s.link().RemoteConnected && s.view().Button2.enabled; }));
    s.Button2Click();

    QVERIFY2(f.prompt.messages.isEmpty(), qPrintable(f.prompt.messages.join('\n')));
    QCOMPARE(log.writes, trace.sent());
    QCOMPARE(readAll(QStringLiteral("replayed.dat")), readAll(dataPath("download-p.dat")));
}

void TestArtefacts::savedFilesReadBack_data() {
    QTest::addColumn<char>("language");
    QTest::newRow("p") << 'p';
    QTest::newRow("e") << 'e';
    QTest::newRow("i") << 'i';
}

void TestArtefacts::savedFilesReadBack() {
    // Opened and saved again in its own language, each file keeps its bytes (the column
    // titles follow the interface language); the English one, whose dates are month first,
    // exports as the CSV the command line wrote from it, whatever the interface language.
    QFETCH(char, language);
    const QString saved = dataPath(QStringLiteral("download-%1.dat").arg(language));
    for (char reader : {'p', 'e', 'i'}) {
        SessionFixture f(reader);
        MainSession& s = f.s();
        s.FormShow();
        s.Abrir1Click([&] { return saved; });
        QVERIFY2(f.prompt.messages.isEmpty(), qPrintable(f.prompt.messages.join('\n')));
        if (reader == language) {
            s.Salvarcomo1Click([] { return QStringLiteral("again.dat"); });
            QCOMPARE(readAll(QStringLiteral("again.dat")).split('\n'), readAll(saved).split('\n'));
        }
        if (language == 'e') {
            s.ExportarCsvClick([] { return QStringLiteral("again.csv"); });
            QCOMPARE(readAll(QStringLiteral("again.csv")), readAll(dataPath("download-e.csv")));
        }
        QVERIFY(f.prompt.messages.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestArtefacts)
#include "tst_artefacts.moc"
