// Data files: the bytes the writer produces, the reader's fixed positions and limits, round
// trips between the interface languages, files that are not data files, saving that fails,
// the CSV export, and the file dialogs of the main window.
#include "app/MainWindow.h"
#include "app/Windows1252.h"
#include "records/CsvExport.h"
#include "records/DataFile.h"
#include "records/RecordCells.h"
#include "support/Replies.h"
#include "support/SessionFixture.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

#ifdef __linux__
#include <csignal>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

using Rec = Replies::Record;

// What the scripted logger reports and holds.
struct Logger {
    int type = 1;
    int unit = 0;
    int decimals = 1;
    int perMeasurement = 3;
    int stored = 2;
    int configured = 5;
    int equipment = 77;
    QList<Rec> records = fiveRecords();

    // Two measurements of three records: 5 and 6 December, a negative and the largest value.
    static QList<Rec> fiveRecords() {
        QList<Rec> out;
        out.append(Rec{5, 12, 10, 0, 1, 10});
        out.append(Rec{5, 12, 10, 1, 1, 0xFFF6});
        out.append(Rec{6, 12, 8, 30, 0, 1234});
        out.append(Rec{7, 12, 23, 59, 59, 0});
        out.append(Rec{8, 12, 0, 0, 0, 0x7FFF});
        return out;
    }
};

QByteArray configurationFrame(const Logger& l) {
    LoggerInfo info;
    info.storedMeasurements = l.stored;
    info.decimalsCode = l.decimals;
    info.measurementType = l.type;
    info.unitCode = l.unit;
    info.rangeValue = 100;
    info.equipmentNumber = l.equipment;
    info.recordsPerMeasurement = l.perMeasurement;
    info.configuredMeasurements = l.configured;
    return Replies::configuration(info, LoggerReply::recordsReplyLength(int(l.records.size())));
}

// A session in a scratch folder (the fixture's clock says 9 December 2025) that downloads
// from a scripted logger, as the clicks do.
struct Session : SessionFixture {
    explicit Session(char language = 'p') : SessionFixture(language) {}

    void deliver(const QByteArray& bytes) {
        s().poll().ReceiveMode = ReceiveModeKind::Frame;
        fake->incoming = bytes;
        s().poll().Timer2->start();
        s().guarded([this] { s().Timer2Timer(); });
    }
    void download(const Logger& logger = {}) {
        s().FormShow();
        s().Button2Click();
        s().DeviceChosen("1", "A1B2C3D4E5F6");
        s().link().Status_conexao = 4;
        deliver(configurationFrame(logger));
        s().Button6Click();
        deliver(Replies::records(logger.records));
        QVERIFY(prompt.messages.isEmpty());
        QCOMPARE(v().StatusBar1[2], QString("Concluido"));
    }
    void save(const QString& path) {
        s().guarded([&] { s().Salvarcomo1Click([&] { return path; }); });
    }
    // Records of a download that were not saved are discarded.
    void open(const QString& path) {
        prompt.saveAnswers = {SaveChoice::Discard};
        s().guarded([&] { s().Abrir1Click([&] { return path; }); });
    }
    QList<RecordSet::Row> rows(int last) const {
        QList<RecordSet::Row> out;
        for (int r = 1; r <= last; ++r)
            out << session->records().row(r);
        return out;
    }
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString blanks(int n) {
    return QString(n, u' ');
}

// A data file built by hand from the layout, independent of the writer: fourteen header lines,
// the column titles, the record lines, CR LF after each.
struct FileSpec {
    QString title = "Ensaio";
    QString date = "09/12/2025";
    QString numbers[10] = {"01", "01", "00", "00", "0077", "00100", "0003", "05", "02", "0005"};
    QString titles = "  REG.       DATA      HORA    VALOR (BAR)    ";
    QStringList records;

    QStringList lines() const {
        QStringList l = {title.leftJustified(50), blanks(50), blanks(50), date};
        for (const QString& n : numbers)
            l << n;
        return l << titles << records;
    }
    QByteArray bytes(const char* lineEnd = "\r\n") const {
        QByteArray out;
        for (const QString& line : lines())
            out += Windows1252::encode(line) + lineEnd;
        return out;
    }
};

QString separatorLine(int m) {
    return QStringLiteral("   M        %1    ").arg(m, 4, 10, QLatin1Char('0')) + blanks(20);
}

QString recordLine(int n, const QString& value = "   0001.0 ") {
    return QStringLiteral("  %1      05/12    10:00:01 ").arg(n, 4, 10, QLatin1Char('0')) + value;
}

// Separator rows every `perMeasurement` records, n records in all.
QStringList recordLines(int n, int perMeasurement = 3) {
    QStringList out;
    for (int k = 0; k < n; ++k) {
        if (k % perMeasurement == 0)
            out << separatorLine(k / perMeasurement + 1);
        out << recordLine(k + 1);
    }
    return out;
}

#ifdef __linux__
// Without these capabilities root too must respect the permissions of a folder.
class WithoutPermissionOverride {
public:
    WithoutPermissionOverride() {
        header_ = {_LINUX_CAPABILITY_VERSION_3, 0};
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &=
            ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutPermissionOverride() {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

// Files written while it lives cannot grow past `bytes`; a write beyond fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

} // namespace

Q_DECLARE_METATYPE(Logger)

class TestDataFile : public QObject {
    Q_OBJECT
private slots:
    void savedBytes();
    void roundTrip_data();
    void roundTrip();
    void pressureUnitsReopen_data();
    void pressureUnitsReopen();
    void reader_data();
    void reader();
    void rowCountFromHeader();
    void notADataFile_data();
    void notADataFile();
    void openWithoutAFile_data();
    void openWithoutAFile();
    void fieldsRefused_data();
    void fieldsRefused();
    void saveFailureKeepsOlderFile_data();
    void saveFailureKeepsOlderFile();
    void csvRows_data();
    void csvRows();
    void csvAfterDownloadAndOpen();
    void exportMenuFollowsTable();
    void windowDialogs();
};

void TestDataFile::savedBytes() {
    Session f('p');
    Logger logger;
    logger.unit = 3; // PSI
    logger.perMeasurement = 2;
    logger.stored = 1;
    logger.configured = 9;
    logger.records = {{5, 12, 10, 0, 1, 10}, {5, 12, 10, 1, 1, 0xFFF6}};
    f.download(logger);
    f.s().Edit3Change("abc");
    f.s().Edit5Change("Zé");
    const QString path = f.dir.filePath("x.dat");
    f.save(path);
    QVERIFY(f.prompt.messages.isEmpty());

    const QByteArray expected =
        "abc" + QByteArray(47, ' ') + "\r\n" + QByteArray(50, ' ') +
        "\r\n"
        "Z\xE9" +
        QByteArray(48, ' ') +
        "\r\n"
        "09/12/2025\r\n"
        "01\r\n01\r\n03\r\n00\r\n0077\r\n00100\r\n0002\r\n09\r\n01\r\n0002\r\n"
        "  REG.       DATA      HORA    VALOR (PSI)    \r\n"
        "   M        0001                        \r\n"
        "  0001      05/12    10:00:01    0001.0 \r\n"
        "  0002      05/12    10:01:01   -0001.0 \r\n";
    QCOMPARE(readAll(path).split('\n'), expected.split('\n'));

    // The window keeps what was written: padded report fields with their line end, read-only.
    QCOMPARE(f.v().Edit3.text, "abc" + blanks(47) + "\n");
    QCOMPARE(f.v().Edit4.text, blanks(50) + "\n");
    QCOMPARE(f.v().Edit5.text, "Zé" + blanks(48) + "\n");
    QCOMPARE(f.v().Edit1.text, QString("09/12/2025"));
    QVERIFY(f.v().Edit3.readOnly && f.v().Edit4.readOnly && f.v().Edit5.readOnly);
    QVERIFY(!f.v().Salvarcomo1.enabled);
    QVERIFY(f.v().Grafico1.enabled && f.v().Imprimir1.enabled);
    QCOMPARE(f.v().caption, "Datalogger " + QDir::toNativeSeparators(path));
    QCOMPARE(f.s().table().RecordOrigin, RecordOriginKind::Downloaded);
}

void TestDataFile::roundTrip_data() {
    QTest::addColumn<char>("saveLanguage");
    QTest::addColumn<char>("openLanguage");
    QTest::addColumn<Logger>("logger");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("titleLineLength");
    QTest::addColumn<QStringList>("shown"); // type text, unit text, value header

    Logger bar;
    Logger psi;
    psi.unit = 3;
    psi.decimals = 2;
    Logger celsius;
    celsius.type = 2;
    celsius.unit = 1;
    celsius.decimals = 3;
    Logger humidity;
    humidity.type = 4;
    humidity.decimals = 0;
    humidity.perMeasurement = 2;
    humidity.stored = 3;
    humidity.configured = 3;
    const QString fifty = "T" + QString(48, u'x') + "Z";

    QTest::newRow("Spanish file, Portuguese window")
        << 'e' << 'p' << psi << fifty << 45 << QStringList{"PRESSÃO", "PSI", " VALOR (PSI)    "};
    QTest::newRow("Spanish file of the first download, English window")
        << 'e' << 'i' << bar << "Ensayo" << 45
        << QStringList{"PRESSURE", "BAR", " VALUE (BAR)    "};
    QTest::newRow("Portuguese file, Spanish window")
        << 'p' << 'e' << bar << "Ensaio" << 46 << QStringList{"PRESIÓN", "BAR", " VALOR (BAR)    "};
    QTest::newRow("English file, Portuguese window")
        << 'i' << 'p' << celsius << "Run 7" << 46
        << QStringList{"TEMPERATURA", "ºC", " VALOR (ºC)     "};
    QTest::newRow("Portuguese file, English window")
        << 'p' << 'i' << humidity << "Umidade da câmara" << 46
        << QStringList{"HUMIDITY   ", "% ", " VALUE (%)      "};
}

void TestDataFile::roundTrip() {
    QFETCH(char, saveLanguage);
    QFETCH(char, openLanguage);
    QFETCH(Logger, logger);
    QFETCH(QString, title);
    QFETCH(int, titleLineLength);
    QFETCH(QStringList, shown);

    Session saving(saveLanguage);
    saving.download(logger);
    saving.s().Edit3Change(title);
    saving.s().Edit4Change("Objetivo");
    const QString path = saving.dir.filePath("round.dat");
    saving.save(path);
    QVERIFY(saving.prompt.messages.isEmpty());
    const int rowsWritten = saving.s().table().fill.rowsWritten;
    const QList<RecordSet::Row> saved = saving.rows(rowsWritten);

    // Every line ends in CR LF; the column titles have the language's width, records 40.
    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.chopped(1).split('\n');
    QCOMPARE(lines.size(), 15 + rowsWritten);
    for (const QByteArray& line : lines)
        QVERIFY(line.endsWith('\r') && line.count('\r') == 1);
    QCOMPARE(lines[0].size() - 1, 50);
    QCOMPARE(lines[14].size() - 1, titleLineLength);
    for (int i = 15; i < lines.size(); ++i)
        QCOMPARE(lines[i].size() - 1, 40);

    Session opening(openLanguage);
    opening.s().FormShow();
    opening.open(path);
    QVERIFY2(opening.prompt.messages.isEmpty(), qPrintable(opening.prompt.messages.join('|')));
    const MainViewState& v = opening.v();
    QCOMPARE(opening.rows(rowsWritten), saved);
    QCOMPARE(opening.s().records().rowCountTotal(),
             rowsWritten - logger.stored + logger.configured + 1);
    QCOMPARE(opening.s().table().fill.rowsWritten, rowsWritten);
    QCOMPARE(opening.s().table().fileRecordCount, rowsWritten - logger.stored);
    QCOMPARE(v.Edit3.text, title.leftJustified(50));
    QCOMPARE(v.Edit4.text, QString("Objetivo").leftJustified(50));
    QCOMPARE(v.Edit5.text, blanks(50));
    QCOMPARE(v.Edit1.text, QString("09/12/2025"));
    QCOMPARE(v.Label13, shown[0]);
    QCOMPARE(v.Label14, shown[1]);
    QCOMPARE(opening.s().records().cell(0, 3), shown[2]);
    QCOMPARE(opening.s().records().cell(0, 1), Texts::text(Txt::HeaderDate, openLanguage));
    QCOMPARE(v.Label17, QStringLiteral("%1").arg(logger.perMeasurement, 4, 10, QLatin1Char('0')));
    QCOMPARE(v.Label18, QStringLiteral("%1/%2").arg(logger.stored).arg(logger.configured));
    QCOMPARE(v.Label19, QString("0077"));
    QCOMPARE(opening.s().table().loggerInfo.decimalsCode, logger.decimals);
    QCOMPARE(v.caption, "Datalogger " + QDir::toNativeSeparators(path));
    QCOMPARE(opening.s().table().RecordOrigin, RecordOriginKind::FromFile);
    QVERIFY(v.Grafico1.enabled && v.Imprimir1.enabled && !v.Salvarcomo1.enabled);
    QVERIFY(v.Edit3.readOnly && v.Edit4.readOnly && v.Edit5.readOnly);
    QVERIFY(v.StringGrid1Enabled);
}

void TestDataFile::pressureUnitsReopen_data() {
    QTest::addColumn<int>("unit");
    QTest::addColumn<QByteArray>("line7");
    QTest::addColumn<QString>("unitText");
    QTest::addColumn<QString>("header");
    QTest::newRow("mBAR") << -1 << QByteArray("-1") << "mBAR"
                          << " VALOR (mBAR)   ";
    QTest::newRow("PSI") << 3 << QByteArray("03") << "PSI"
                         << " VALOR (PSI)    ";
    QTest::newRow("N") << 8 << QByteArray("08") << "N"
                       << " VALOR ( N )    ";
}

void TestDataFile::pressureUnitsReopen() {
    QFETCH(int, unit);
    QFETCH(QByteArray, line7);
    QFETCH(QString, unitText);
    QFETCH(QString, header);
    RecordSet table;
    table.setRowCountTotal(4);
    table.setRow(1, RecordCells::separatorRow(1));
    table.setRow(2, {"  0001    ", "  05/12   ", " 10:00:01 ", "   0001.0 "});
    LoggerInfo info{1, 1, unit, 0, 100, 77, 1, 1, 1};
    const QByteArray bytes = DataFile::write({"t", "", "", "09/12/2025"}, info, table, 2);
    QCOMPARE(bytes.split('\n').at(6), line7 + '\r');

    Session f('p');
    f.s().FormShow();
    writeFile("unit.dat", bytes);
    f.open("unit.dat");
    QCOMPARE(f.s().table().loggerInfo.unitCode, unit);
    QCOMPARE(f.v().Label13, QString("PRESSÃO"));
    QCOMPARE(f.v().Label14, unitText);
    QCOMPARE(f.s().records().cell(0, 3), header);
}

void TestDataFile::reader_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("badLine");

    using S = DataFile::ReadStatus;
    FileSpec plain;
    plain.records = recordLines(5);
    const QByteArray good = plain.bytes();
    const int n = int(plain.records.size()); // 7: two separators, five records
    QTest::newRow("complete") << good << int(S::Ok) << n << 0;
    QTest::newRow("empty lines after the records") << good + "\r\n\r\n\r\n" << int(S::Ok) << n << 0;
    QTest::newRow("line feeds without CR") << plain.bytes("\n") << int(S::Ok) << n << 0;
    QTest::newRow("last line without its line end") << good.chopped(2) << int(S::Ok) << n << 0;
    QTest::newRow("NUL byte ends the text")
        << good.left(good.size() - 3 * 42 + 5) + '\0' + good.right(3 * 42 - 5) << int(S::Ok)
        << n - 3 << 0;
    QTest::newRow("values with a decimal comma") << [] {
        FileSpec f;
        f.records = {separatorLine(1), recordLine(1, "   0012,5 "), recordLine(2, "  -0001,0 ")};
        return f.bytes();
    }() << int(S::Ok) << 3 << 0;

    FileSpec wide = plain;
    wide.records[3] += " ";
    QTest::newRow("a line of 41 characters stops reading") << wide.bytes() << int(S::Ok) << 3 << 0;
    FileSpec narrow = plain;
    narrow.records[2].chop(1);
    QTest::newRow("a line of 39 characters stops reading")
        << narrow.bytes() << int(S::Ok) << 2 << 0;
    FileSpec lonelyCr = plain;
    lonelyCr.records[1].replace(39, 1, u'\r');
    lonelyCr.records[1] += u'x';
    QTest::newRow("a CR alone is a character of its line")
        << lonelyCr.bytes() << int(S::Ok) << 1 << 0;

    QTest::newRow("empty file") << QByteArray() << int(S::TooShort) << 0 << 0;
    QTest::newRow("cut inside the header") << good.left(150) << int(S::TooShort) << 0 << 0;
    QTest::newRow("cut in the record count") << good.left(201 + 13) << int(S::TooShort) << 0 << 0;
    QTest::newRow("header without its last line end")
        << good.left(202 + 13) << int(S::Ok) << 0 << 0;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) +
                                   QByteArray(400, '\xff')
                            << int(S::Foreign) << 0 << 0;
    QTest::newRow("random bytes without NUL")
        << QByteArray(300, '\x7f') << int(S::Foreign) << 0 << 0;
    QTest::newRow("a text whose first line is short")
        << QByteArray("Title\r\n") + good.mid(52) << int(S::Foreign) << 0 << 0;
    QTest::newRow("a NUL inside the header")
        << good.left(120) + '\0' + good.mid(121) << int(S::Foreign) << 0 << 0;

    FileSpec blank = plain;
    blank.numbers[1] = " 1";
    QTest::newRow("blank in a number") << blank.bytes() << int(S::NotANumber) << 0 << 6;
    FileSpec letters = plain;
    letters.numbers[9] = "00x5";
    QTest::newRow("letters in the record count")
        << letters.bytes() << int(S::NotANumber) << 0 << 14;
    FileSpec longTitle = plain;
    longTitle.title = QString(51, u'a');
    QTest::newRow("a title of 51 characters") << longTitle.bytes() << int(S::Foreign) << 0 << 0;
}

void TestDataFile::reader() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(int, rows);
    QFETCH(int, badLine);
    // An exact-size copy, so that reading past the end is caught by the address sanitizer.
    const std::unique_ptr<char[]> exact(new char[size_t(bytes.size()) + 1]);
    std::copy(bytes.begin(), bytes.end(), exact.get());
    const DataFile::ReadResult r = DataFile::parse(QByteArrayView(exact.get(), bytes.size()));
    QCOMPARE(int(r.status), status);
    QCOMPARE(r.badLine, badLine);
    QCOMPARE(int(r.content.rows.size()), rows);
    if (r.status != DataFile::ReadStatus::Ok)
        return;
    // Cells are the line's characters as they stand.
    const QString text = Windows1252::decode(bytes);
    for (const RecordSet::Row& row : r.content.rows)
        QVERIFY(text.contains(row[0] + row[1] + row[2] + row[3]));
    QCOMPARE(r.content.fields.title.size(), 50);
    QCOMPARE(r.content.fields.date, QString("09/12/2025"));
    QCOMPARE(r.content.equipmentText, QString("0077"));
}

void TestDataFile::rowCountFromHeader() {
    // The header's record count and configured measurements size the table; record lines
    // beyond it are read but not shown.
    FileSpec layout;
    layout.numbers[6] = "0100"; // records per measurement
    layout.numbers[7] = "01";   // configured
    layout.numbers[8] = "01";   // stored
    layout.numbers[9] = "0100"; // record count
    layout.records = recordLines(103, 200);
    Session f('p');
    f.s().FormShow();
    writeFile("big.dat", layout.bytes());
    f.open("big.dat");
    QVERIFY(f.prompt.messages.isEmpty());
    QCOMPARE(f.s().records().rowCountTotal(), 102);
    QCOMPARE(f.s().records().cell(101, 0), QString("  0100    "));
    QCOMPARE(f.s().table().fill.rowsWritten, 101);
    QCOMPARE(f.s().table().fileRecordCount, 100);
    QCOMPARE(f.v().Label17, QString("0100"));
    QCOMPARE(f.v().Label18, QString("1/1"));
    QVERIFY(f.v().StatusBar1[2].isEmpty()); // every row it announced was read

    // A file cut short is shown as far as it goes, and the status bar says so.
    layout.records = recordLines(40, 200);
    writeFile("cut.dat", layout.bytes());
    f.open("cut.dat");
    QVERIFY(f.prompt.messages.isEmpty());
    QCOMPARE(f.s().table().fill.rowsWritten, 41);
    QCOMPARE(f.v().StatusBar1[2], QString("Arquivo incompleto: 41 de 101 linhas lidas."));

    // A file of 200,000 characters and more: only the first 154,810 are read. With the
    // 46-character title line, record line k (from 0) ends at 249 + 41k + 40.
    FileSpec huge;
    huge.numbers[9] = "9999";
    huge.numbers[7] = "99";
    for (int k = 0; k < 5000; ++k)
        huge.records << recordLine(k % 9999 + 1);
    const QByteArray bytes = huge.bytes();
    QVERIFY(bytes.size() - 15 - 5000 >= 200000); // characters, CR LF counted once
    const DataFile::ReadResult r = DataFile::parse(bytes);
    QCOMPARE(int(r.status), int(DataFile::ReadStatus::Ok));
    QCOMPARE(r.content.rows.size(), 3769);
    QVERIFY(249 + 41 * 3768 + 40 < DataFile::kMaxChars);
    QVERIFY(249 + 41 * 3769 + 40 >= DataFile::kMaxChars);
}

void TestDataFile::notADataFile_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    FileSpec layout;
    layout.records = recordLines(4);
    const QByteArray good = layout.bytes();
    QTest::newRow("empty, Portuguese")
        << 'p' << QByteArray()
        << "O arquivo não é um arquivo de dados: ele termina antes do fim do cabeçalho.\n";
    QTest::newRow("cut inside the header, Spanish")
        << 'e' << good.left(120)
        << "El archivo no es un archivo de datos: termina antes del final del encabezado.\n";
    FileSpec bad = layout;
    bad.numbers[1] = "x1";
    QTest::newRow("a letter in the type, English")
        << 'i' << bad.bytes()
        << "The file is not a data file: header line 6 should hold a whole number but holds "
           "\"x1\".\n";
    QTest::newRow("binary, English")
        << 'i' << QByteArray(256, '\x01') << "The file is not a TERVIX data file.\n";
    QTest::newRow("a text of another kind, Portuguese")
        << 'p' << QByteArray("data;hora;valor\r\n").repeated(20)
        << "O arquivo não é um arquivo de dados do TERVIX.\n";
}

void TestDataFile::notADataFile() {
    QFETCH(char, language);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    Session f(language);
    f.download();
    writeFile("foreign.dat", bytes);
    f.open("foreign.dat");
    QCOMPARE(f.prompt.messages, QStringList{message});
    // Nothing of the file shows: the window stays cleared.
    const MainViewState& v = f.v();
    QCOMPARE(v.caption, QString("TERVIX.V1.0"));
    QCOMPARE(f.s().records().rowCountTotal(), 2);
    QCOMPARE(f.s().records().row(1), RecordSet::Row{});
    QVERIFY(v.Edit3.text.isEmpty() && v.Edit1.text.isEmpty() && v.Label13.isEmpty() &&
            v.Label17.isEmpty());
    QVERIFY(!v.Grafico1.enabled && !v.Imprimir1.enabled && !v.Salvarcomo1.enabled);
    QVERIFY(!v.ExportarCsv1.enabled);
    QCOMPARE(f.s().table().RecordOrigin, RecordOriginKind::Downloaded);
}

void TestDataFile::openWithoutAFile_data() {
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("dialog cancelled") << true;
    QTest::newRow("file that cannot be opened") << false;
}

void TestDataFile::openWithoutAFile() {
    QFETCH(bool, cancelled);
    Session f('i');
    f.download();
    const QString missing = f.dir.filePath("missing.dat");
    f.open(cancelled ? QString() : missing);
    const MainViewState& v = f.v();
    QCOMPARE(f.s().records().rowCountTotal(), 2);
    QCOMPARE(f.s().records().row(1), RecordSet::Row{});
    QCOMPARE(v.caption, QString("TERVIX.V1.0"));
    QVERIFY(v.Edit3.readOnly && v.Edit3.text.isEmpty());
    if (cancelled) {
        QVERIFY(f.prompt.messages.isEmpty());
        QVERIFY(!v.Grafico1.enabled);
        QVERIFY(!v.Salvarcomo1.enabled && !v.Imprimir1.enabled); // no records to save or print
        QVERIFY(v.Label13.isEmpty());
        QCOMPARE(f.s().table().RecordOrigin, RecordOriginKind::Downloaded);
    } else {
        // The opening goes on with the cleared record set: pressure in BAR, no rows.
        QCOMPARE(f.prompt.messages, QStringList{"The file can't be opened.\n" + missing +
                                                ": No such file or directory"});
        QCOMPARE(v.Label13, QString("PRESSURE"));
        QCOMPARE(v.Label14, QString("BAR"));
        QCOMPARE(f.s().records().cell(0, 3), QString(" VALUE (BAR)    "));
        QVERIFY(v.Grafico1.enabled && v.Imprimir1.enabled && !v.Salvarcomo1.enabled);
        QCOMPARE(f.s().table().RecordOrigin, RecordOriginKind::FromFile);
    }
}

void TestDataFile::fieldsRefused_data() {
    QTest::addColumn<char>("language");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("objective");
    QTest::addColumn<QString>("responsible");
    QTest::addColumn<QString>("message");
    QTest::newRow("no title") << 'p' << ""
                              << "x"
                              << "y"
                              << "O Campo Título deve ser preechido.";
    QTest::newRow("no title, English") << 'i' << ""
                                       << ""
                                       << ""
                                       << "Title field must be filled.";
    QTest::newRow("title beyond the code page")
        << 'p' << "Ensaio ≠ 3"
        << ""
        << ""
        << "O campo Título contém caracteres que não podem ser gravados no arquivo: ≠";
    QTest::newRow("objective with a line break")
        << 'e' << "t"
        << "a\nb"
        << ""
        << "El campo Objetivo contiene caracteres que no se pueden guardar en el archivo: U+000A";
    QTest::newRow("responsible with Cyrillic and an emoji")
        << 'i' << "t"
        << "€ is fine"
        << "Иван 🙂 Иван"
        << "The Responsible field holds characters that cannot be written to the file: И в а н "
           "🙂";
}

void TestDataFile::fieldsRefused() {
    QFETCH(char, language);
    QFETCH(QString, title);
    QFETCH(QString, objective);
    QFETCH(QString, responsible);
    QFETCH(QString, message);
    Session f(language);
    f.download();
    f.s().Edit3Change(title);
    f.s().Edit4Change(objective);
    f.s().Edit5Change(responsible);
    bool asked = false;
    f.s().Salvarcomo1Click([&] {
        asked = true;
        return f.dir.filePath("never.dat");
    });
    QCOMPARE(f.prompt.messages, QStringList{message});
    QVERIFY2(!asked, "no file is chosen before the fields can be saved");
    QVERIFY(!QFile::exists(f.dir.filePath("never.dat")));
    QVERIFY(f.v().Salvarcomo1.enabled && !f.v().Edit3.readOnly);
    QCOMPARE(f.v().Edit3.text, title);
}

void TestDataFile::saveFailureKeepsOlderFile_data() {
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<QString>("message");
    // The message names the file and the system's reason.
    QTest::newRow("read-only folder")
        << true << "O arquivo não pode ser salvo.\nPATH: Permission denied";
    QTest::newRow("write fails part way")
        << false << "Erro de escrita no arquivo.\nPATH: File too large";
}

void TestDataFile::saveFailureKeepsOlderFile() {
#ifndef __linux__
    QSKIP("folder permissions and file size limits are set the Linux way");
#else
    QFETCH(bool, readOnlyFolder);
    QFETCH(QString, message);
    Session f('p');
    Logger many;
    many.records.clear();
    for (int i = 0; i < 30; ++i)
        many.records << Rec{1 + i % 28, 1, 12, 0, i % 60, quint16(i)};
    many.perMeasurement = 30;
    many.stored = 1;
    f.download(many);
    f.s().Edit3Change("Nova");
    const QString folder = f.dir.filePath("kept");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/old.dat";
    const QByteArray older = "an older file that must survive\r\n";
    writeFile(path, older);

    {
        QFile::setPermissions(folder, readOnlyFolder
                                          ? QFile::ReadOwner | QFile::ExeOwner
                                          : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WithoutPermissionOverride permissions;
        // 30 records make about 1,500 bytes; the limit stops the new file at 600.
        std::optional<FileSizeLimit> limit;
        if (!readOnlyFolder)
            limit.emplace(600);
        f.save(path);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QCOMPARE(f.prompt.messages, QStringList{message.replace("PATH", path)});
    QCOMPARE(readAll(path), older);
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"old.dat"});
    // Nothing changed in the window: the user can save again elsewhere.
    QVERIFY(f.v().Salvarcomo1.enabled && !f.v().Edit3.readOnly);
    QCOMPARE(f.v().Edit3.text, QString("Nova"));
    QCOMPARE(f.v().caption, QString("TERVIX.V1.0"));

    f.prompt.messages.clear();
    f.save(path);
    QVERIFY(f.prompt.messages.isEmpty());
    QVERIFY(readAll(path).startsWith("Nova"));
#endif
}

void TestDataFile::csvRows_data() {
    QTest::addColumn<QList<RecordSet::Row>>("rows");
    QTest::addColumn<QString>("issueDate");
    QTest::addColumn<bool>("monthFirst");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QStringList>("lines");

    const RecordSet::Row m1 = RecordCells::separatorRow(1);
    const RecordSet::Row m2 = RecordCells::separatorRow(2);
    auto rec = [](int n, const QString& date, const QString& time, const QString& value) {
        return RecordSet::Row{RecordCells::numberText(n), date, time, value};
    };
    QTest::newRow("year of the issue date, or the year before")
        << QList<RecordSet::Row>{m1,
                                 rec(1, "  05/12   ", " 10:00:01 ", "   0123.4 "),
                                 rec(2, "  09/12   ", " 23:59:59 ", "  -0012.3 "),
                                 m2,
                                 rec(3, "  10/12   ", " 00:00:00 ", "   0000.0 "),
                                 RecordSet::Row{}}
        << "09/12/2025" << false << "BAR"
        << QStringList{"1,1,05/12,10:00:01,2025-12-05T10:00:01,123.4,BAR",
                       "1,2,09/12,23:59:59,2025-12-09T23:59:59,-12.3,BAR",
                       "2,3,10/12,00:00:00,2024-12-10T00:00:00,0.0,BAR"};
    QTest::newRow("month first, decimal comma, other separators")
        << QList<RecordSet::Row>{m1, rec(1, "  02-29   ", " 08.15.00 ", "   01,250 "),
                                 rec(2, "  12-31   ", " 08.16.00 ", "  -00,001 ")}
        << "03/01/2025" << true << "ºC "
        << QStringList{"1,1,02-29,08.15.00,2024-02-29T08:15:00,1.250,ºC",
                       "1,2,12-31,08.16.00,2024-12-31T08:16:00,-0.001,ºC"};
    QTest::newRow("whole numbers, no date to give a year")
        << QList<RecordSet::Row>{m1, rec(1, "  29/02   ", " 08:15:00 ", "   000007 ")} << ""
        << false << "% " << QStringList{"1,1,29/02,08:15:00,,7,%"};
    QTest::newRow("a day the year does not have")
        << QList<RecordSet::Row>{m1, rec(1, "  29/02   ", " 08:15:00 ", "   000007 ")}
        << "09/12/2025" << false << "N" << QStringList{"1,1,29/02,08:15:00,,7,N"};
    QTest::newRow("damaged cells are kept as text, quoted where needed")
        << QList<RecordSet::Row>{rec(1, "  5/1/2   ", " 25:00:00 ", "  1,2,3   "),
                                 {"  x\"y     ", "  01/01   ", " 00:00:00 ", "          "}}
        << "09/12/2025" << false << "KGF/cm²"
        << QStringList{",1,5/1/2,25:00:00,,\"1,2,3\",KGF/cm²",
                       ",\"x\"\"y\",01/01,00:00:00,2025-01-01T00:00:00,,KGF/cm²"};
}

void TestDataFile::csvRows() {
    QFETCH(QList<RecordSet::Row>, rows);
    QFETCH(QString, issueDate);
    QFETCH(bool, monthFirst);
    QFETCH(QString, unit);
    QFETCH(QStringList, lines);
    RecordSet table;
    table.setRowCountTotal(int(rows.size()) + 1);
    for (int r = 0; r < rows.size(); ++r)
        table.setRow(r + 1, rows[r]);
    const QByteArray csv =
        CsvExport::write(table, RecordView::build(table, {issueDate, monthFirst, u'.', unit}));
    const QString expected =
        "measurement,record,date,time,timestamp,value,unit\r\n" + lines.join("\r\n") + "\r\n";
    QCOMPARE(QString::fromUtf8(csv), expected);
}

void TestDataFile::csvAfterDownloadAndOpen() {
    // Downloaded in English the dates are month first; the file remembers it through its
    // column titles, whatever the language of the window that opens it.
    Session english('i');
    Logger logger;
    logger.records = {{5, 12, 10, 0, 1, 10}, {31, 12, 10, 1, 1, 0xFFF6}};
    english.download(logger);
    english.s().Edit3Change("csv");
    english.s().ExportarCsvClick([] { return QStringLiteral("down.csv"); });
    english.save("down.dat");
    QVERIFY(english.prompt.messages.isEmpty());
    const QByteArray expected = "measurement,record,date,time,timestamp,value,unit\r\n"
                                "1,1,12/05,10:00:01,2025-12-05T10:00:01,1.0,BAR\r\n"
                                "1,2,12/31,10:01:01,2024-12-31T10:01:01,-1.0,BAR\r\n";
    QCOMPARE(readAll("down.csv"), expected);

    Session portuguese('p');
    portuguese.s().FormShow();
    portuguese.open(english.dir.filePath("down.dat"));
    QCOMPARE(portuguese.s().proposedCsvName(), QString("down.csv"));
    portuguese.s().ExportarCsvClick([] { return QStringLiteral("again.csv"); });
    QVERIFY(portuguese.prompt.messages.isEmpty());
    QCOMPARE(readAll("again.csv"), expected);
}

void TestDataFile::exportMenuFollowsTable() {
    Session f('e');
    f.s().FormShow();
    QCOMPARE(f.v().ExportarCsv1.caption, QString("Exportar CSV..."));
    QVERIFY(!f.v().ExportarCsv1.enabled);
    f.download();
    QVERIFY(f.v().ExportarCsv1.enabled);
    f.s().Edit3Change("t");
    f.save("e.dat");
    QVERIFY(f.v().ExportarCsv1.enabled);
    f.s().table().ClearRecordSet();
    QVERIFY(!f.v().ExportarCsv1.enabled);
    f.open("e.dat");
    QVERIFY(f.v().ExportarCsv1.enabled);

    FileSpec empty; // a header and no record lines
    writeFile("empty.dat", empty.bytes());
    f.open("empty.dat");
    QVERIFY(f.prompt.messages.isEmpty());
    QVERIFY(!f.v().ExportarCsv1.enabled);
}

void TestDataFile::windowDialogs() {
    Session f('p');
    MainWindow window(f.s());
    window.show(); // the first showing runs FormShow
    auto* open = window.findChild<QAction*>("Abrir1");
    auto* save = window.findChild<QAction*>("Salvarcomo1");
    auto* exportCsv = window.findChild<QAction*>("ExportarCsv1");
    QVERIFY(open && save && exportCsv);
    QVERIFY(!exportCsv->isEnabled());
    QCOMPARE(exportCsv->text(), QString("Exportar CSV..."));
    const QList<QAction*> items = window.findChild<QMenu*>("Arquivo1")->actions();
    QCOMPARE(items.indexOf(exportCsv), items.indexOf(save) + 1);

    // Answers the next file dialog with `name` after noting how it was set up.
    struct Seen {
        QStringList filters;
        QString suffix;
        QString proposed;
        bool saving = false;
    };
    auto answer = [](const QString& name, Seen* seen) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, poll, [=] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible())
                return;
            poll->deleteLater();
            poll->stop();
            seen->filters = d->nameFilters();
            seen->suffix = d->defaultSuffix();
            seen->proposed = QFileInfo(d->selectedFiles().value(0)).fileName();
            seen->saving = d->acceptMode() == QFileDialog::AcceptSave;
            // Typed, as the user would: the dialog does not take a selection over a name
            // field that has the focus.
            d->findChild<QLineEdit*>("fileNameEdit")->setText(name);
            QMetaObject::invokeMethod(d, "accept");
        });
        poll->start(10);
    };

    f.download();
    f.s().Edit3Change("Pela janela");
    Seen saving;
    answer("janela", &saving);
    save->trigger();
    QVERIFY(f.prompt.messages.isEmpty());
    QCOMPARE(saving.filters, (QStringList{"DADOS(*.DAT)", "Todos(*.*)"}));
    QCOMPARE(saving.suffix, QString("dat"));
    QVERIFY2(saving.proposed.startsWith("2025_12_09_D00"), qPrintable(saving.proposed));
    QVERIFY(saving.saving);
    QVERIFY(QFile::exists(f.dir.filePath("janela.dat")));
    QCOMPARE(window.windowTitle(),
             "Datalogger " + QDir::toNativeSeparators(f.dir.filePath("janela.dat")));

    Seen opening;
    answer("janela.dat", &opening);
    open->trigger();
    QVERIFY(f.prompt.messages.isEmpty());
    QVERIFY(!opening.saving);
    QCOMPARE(opening.filters, (QStringList{"DADOS(*.DAT)", "Todos(*.*)"}));
    QVERIFY(opening.suffix.isEmpty());
    auto* grid = window.findChild<QTableView*>("StringGrid1");
    QCOMPARE(grid->model()->rowCount(), f.s().records().rowCountTotal() - 1);
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QString("  0001    "));
    QCOMPARE(grid->model()->index(2, 3).data().toString(), QString("  -0001.0 "));
    QCOMPARE(window.findChild<QLineEdit*>("Edit3")->text(),
             QString("Pela janela").leftJustified(50));
    QVERIFY(exportCsv->isEnabled());

    Seen exporting;
    answer("planilha", &exporting);
    exportCsv->trigger();
    QCOMPARE(exporting.filters, QStringList{"Arquivo CSV (*.csv)"});
    QCOMPARE(exporting.proposed, QString("janela.csv"));
    QVERIFY(readAll(f.dir.filePath("planilha.csv")).startsWith("measurement,record,date,"));
}

QTEST_MAIN(TestDataFile)
#include "tst_datafile.moc"
