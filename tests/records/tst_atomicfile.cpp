// Writing files: a failed write, the last one included, never replaces a good file; devices
// and FIFOs are written into, never replaced.
#include "records/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// A file-size limit for this process: writes beyond it fail (EFBIG) as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void writesAndReplaces();
    void failureKeepsTheOldFile_data();
    void failureKeepsTheOldFile();
    void writesIntoSpecialFiles();
};

void TestAtomicFile::writesAndReplaces() {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    QVERIFY(AtomicFile::write(path, QByteArray("first")).ok());
    QVERIFY(AtomicFile::write(path, QByteArray("second")).ok());
    QCOMPARE(contentOf(path), QByteArray("second"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"}); // nothing left aside
}

void TestAtomicFile::failureKeepsTheOldFile_data() {
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<rlim_t>("limit");
    QTest::addColumn<bool>("producerFails");
    QTest::addColumn<QString>("reason");
    // A limit just below the size cuts only the end: the last write is the one that fails.
    QTest::newRow("last bytes do not fit")
        << qsizetype(100000) << rlim_t(99990) << false << "File too large";
    QTest::newRow("nothing fits") << qsizetype(10) << rlim_t(0) << false << "File too large";
    QTest::newRow("producer gives up") << qsizetype(10) << RLIM_INFINITY << true << "";
}

void TestAtomicFile::failureKeepsTheOldFile() {
    QFETCH(qsizetype, size);
    QFETCH(rlim_t, limit);
    QFETCH(bool, producerFails);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    for (const bool existing : {true, false}) {
        const QString path = dir.filePath(existing ? "old.pdf" : "new.pdf");
        if (existing)
            QVERIFY(AtomicFile::write(path, QByteArray("old content\n")).ok());
        AtomicFile::Result r;
        {
            const FileSizeLimit cap(limit);
            r = AtomicFile::write(path, [&](QIODevice& d) {
                // Many small writes, as the PDF and image writers make them.
                for (qsizetype i = 0; i < size; i += 1000)
                    d.write(QByteArray(std::min<qsizetype>(1000, size - i), 'x'));
                return !producerFails;
            });
        }
        QCOMPARE(r.status, AtomicFile::Result::WriteFailed);
        QCOMPARE(r.reason, reason);
        QCOMPARE(QFileInfo::exists(path), existing);
        if (existing)
            QCOMPARE(contentOf(path), QByteArray("old content\n"));
        QVERIFY(AtomicFile::describe(path, r).startsWith(path));
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.pdf"});
}

void TestAtomicFile::writesIntoSpecialFiles() {
    // A character device stays a device.
    QVERIFY(AtomicFile::write("/dev/null", QByteArray("x")).ok());
    QVERIFY(!QFileInfo("/dev/null").isFile());
    // /dev/full refuses every byte: the failure is seen, nothing is put in its place.
    const AtomicFile::Result full = AtomicFile::write("/dev/full", QByteArray(10, 'x'));
    QCOMPARE(full.status, AtomicFile::Result::WriteFailed);
    QVERIFY(!full.reason.isEmpty());

    // A FIFO: the bytes go to its reader, the FIFO stays.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QByteArray received;
    QThread* reader = QThread::create([&] { received = contentOf(fifo); });
    reader->start();
    QVERIFY(AtomicFile::write(fifo, QByteArray("through the pipe")).ok());
    QVERIFY(reader->wait(10000));
    delete reader;
    QCOMPARE(received, QByteArray("through the pipe"));
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    QVERIFY(S_ISFIFO(st.st_mode));

    // A folder is not written over.
    QCOMPARE(AtomicFile::write(dir.path(), QByteArray("x")).status, AtomicFile::Result::CannotOpen);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
