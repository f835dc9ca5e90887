// The programs as installed copies: where they keep their files, and --version.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
};

Run run(const QString& program, const QStringList& arguments, const QString& folder,
        const QProcessEnvironment& environment) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    Run r;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    return r;
}

// The folder a program's --help names for its files ("the current folder" becomes folder).
QString folderFromHelp(const QString& help, const QString& currentFolder) {
    static const QRegularExpression line(QStringLiteral("This copy keeps them in: (.*)\\n"));
    const QString named = line.match(help).captured(1);
    return named == u"the current folder" ? currentFolder : named;
}

// A copy of a built program laid out as `cmake --install` lays it out: PREFIX/bin/NAME and
// the desktop entry in PREFIX/share/applications.
QString installCopy(const QString& built, const QString& prefix) {
    const QString bin = prefix + QStringLiteral("/bin/");
    const QString applications = prefix + QStringLiteral("/share/applications/");
    QDir().mkpath(bin);
    QDir().mkpath(applications);
    QFile entry(applications + QStringLiteral(TERVIX_APP_ID ".desktop"));
    if (!entry.exists() && !entry.open(QIODevice::WriteOnly))
        return {};
    const QString copy = bin + built.section(u'/', -1);
    return QFile::copy(built, copy) ? copy : QString();
}

} // namespace

class TestInstallation : public QObject {
    Q_OBJECT
private slots:
    // The programs print the rule and their folder in --help; the command line's files then
    // land there, and nowhere else. The desktop program names the same folder.
    void filesLandWhereHelpSays_data() {
        QTest::addColumn<bool>("installed");
        QTest::newRow("run from the build folder") << false;
        QTest::newRow("installed copy") << true;
    }
    void filesLandWhereHelpSays() {
        QFETCH(bool, installed);
        QTemporaryDir root;
        QVERIFY(root.isValid());
        // Started as from the desktop menu: in the home folder.
        const QString home = root.filePath(QStringLiteral("home"));
        const QString current = home;
        const QString dataHome = root.filePath(QStringLiteral("data"));
        QVERIFY(QDir().mkpath(home));

        QString cli = QStringLiteral(TERVIX_CLI);
        QString gui = QStringLiteral(TERVIX_GUI);
        if (installed) {
            const QString prefix = root.filePath(QStringLiteral("prefix"));
            cli = installCopy(cli, prefix);
            gui = installCopy(gui, prefix);
            QVERIFY(!cli.isEmpty() && !gui.isEmpty());
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        const Run cliHelp = run(cli, {QStringLiteral("--help")}, current, env);
        QCOMPARE(cliHelp.exitCode, 0);
        const QString folder = folderFromHelp(cliHelp.out, current);
        const QString expected = installed ? dataHome + QStringLiteral("/tervix") : current;
        QCOMPARE(folder, expected);
        const Run guiHelp = run(gui, {QStringLiteral("--help")}, current, env);
        QCOMPARE(guiHelp.exitCode, 0);
        QCOMPARE(folderFromHelp(guiHelp.out, current), folder);

        // The settings file is created where --help said (the folder too, when missing).
        const QString address = QStringLiteral("A1B2C3D4E5F6");
        const QStringList board = {QStringLiteral("--simulate"), QStringLiteral("--sim-options"),
                                   QStringLiteral("--linked ") + address};
        const Run first = run(
            cli, board + QStringList{QStringLiteral("--address"), address, QStringLiteral("info")},
            current, env);
        QCOMPARE(first.exitCode, 0);
        QVERIFY(QFile::exists(folder + QStringLiteral("/prg.IDO")));

        // The device list is read from there: without --address its first entry is used.
        QFile list(folder + QStringLiteral("/lidi.IDO"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(address.toLatin1());
        list.close();
        const Run second = run(cli, board + QStringList{QStringLiteral("info")}, current, env);
        QCOMPARE(second.exitCode, 0);
        QVERIFY(second.out.contains(QStringLiteral("equipment: ")));

        // Nothing strays into the other place.
        const QString other = installed ? current : dataHome;
        QVERIFY2(QDir(other).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty(),
                 qPrintable(other));
    }

    // --version answers before anything else: no display, no device, no files.
    void versionLine_data() {
        QTest::addColumn<QString>("program");
        QTest::newRow("tervix") << QStringLiteral(TERVIX_GUI);
        QTest::newRow("tervix-cli") << QStringLiteral(TERVIX_CLI);
        QTest::newRow("tervix-sim") << QStringLiteral(TERVIX_SIM);
    }
    void versionLine() {
        QFETCH(QString, program);
        QTemporaryDir current;
        QVERIFY(current.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        const Run r = run(program, {QStringLiteral("--version")}, current.path(), env);
        QCOMPARE(r.exitCode, 0);
        const QString name = program.section(u'/', -1);
        const QRegularExpression expected(
            QStringLiteral("^%1 %2( \\(commit [0-9a-f]{12}(-dirty)?\\))?\\n$")
                .arg(QRegularExpression::escape(name),
                     QRegularExpression::escape(QStringLiteral(TERVIX_VERSION))));
        QVERIFY2(expected.match(r.out).hasMatch(), qPrintable(r.out));
        QVERIFY(QDir(current.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestInstallation)
#include "tst_installation.moc"
