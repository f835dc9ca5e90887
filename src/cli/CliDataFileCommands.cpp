// tervix-cli download, show and export: the clicks of a download and of "Salvar como...",
// "Abrir..." and "Exportar CSV...", with file names from the command line.
#include "CliRunner.h"

#include "app/MainSession.h"
#include "records/DataFile.h"

#include <QTextStream>

#include <cstdio>

namespace {

// A report field given on the command line: the window takes at most 50 characters, and a
// data file holds only what Windows-1252 can.
QString reportFieldProblem(const QString& option, const QString& value) {
    if (value.size() > DataFile::kFieldWidth)
        return QStringLiteral("--%1 takes at most %2 characters")
            .arg(option)
            .arg(DataFile::kFieldWidth);
    if (!DataFile::storable(value))
        return QStringLiteral("--%1 holds characters a data file cannot hold: %2")
            .arg(option, DataFile::unstorableCharacters(value));
    return {};
}

} // namespace

int CliRunner::download() {
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Report title."),
                                   QStringLiteral("T"));
    const QCommandLineOption objective(QStringLiteral("objective"),
                                       QStringLiteral("Report objective."), QStringLiteral("O"));
    const QCommandLineOption responsible(
        QStringLiteral("responsible"), QStringLiteral("Person responsible."), QStringLiteral("R"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Recording switch at disconnection."),
                                    QStringLiteral("on|off"), QStringLiteral("off"));
    const CommandArguments args(
        options_, {CommandArguments::output(), title, objective, responsible, record});
    if (!args.ok())
        return CliOptions::BadUsage;
    const QString path = args.value(CommandArguments::output());
    if (path.isEmpty())
        return args.error(QStringLiteral("needs -o FILE"));
    if (args.value(title).isEmpty())
        return args.error(QStringLiteral("needs --title T"));
    for (const QCommandLineOption* field : {&title, &objective, &responsible}) {
        const QString problem = reportFieldProblem(field->names().first(), args.value(*field));
        if (!problem.isEmpty())
            return args.error(problem);
    }
    const QString recordSwitch = args.value(record);
    if (recordSwitch != u"on" && recordSwitch != u"off")
        return args.error(QStringLiteral("--record takes on or off"));

    if (!startSession())
        return CliOptions::LinkFailure;
    if (const int status = connect(); status != CliOptions::Success)
        return finish(status);
    MainSession& s = *session_;
    if (!s.view().Button6.enabled)
        return finish(fail(s.text(Txt::LoggerHoldsNoRecords)));
    s.Button6Click();
    if (const Wait wait =
            waitForLogger(QStringLiteral("download"), [this] { return events_.downloadFinished; });
        wait != Wait::Done)
        return finish(failure(wait));
    // A reply shorter than it announced has been said as a failure.
    if (events_.failed)
        return finish(CliOptions::LinkFailure);

    s.Edit3Change(args.value(title));
    s.Edit4Change(args.value(objective));
    s.Edit5Change(args.value(responsible));
    const int shown = prompt_.count;
    s.Salvarcomo1Click([&] { return path; });
    if (prompt_.count != shown)
        return finish(CliOptions::FileError);
    s.CheckBox1Click(recordSwitch == u"on");
    const int released = finish(CliOptions::Success);
    if (released == CliOptions::LinkFailure)
        std::fprintf(stderr,
                     "tervix-cli: the data file %s was saved; only the disconnect "
                     "failed\n",
                     qPrintable(path));
    return released;
}

int CliRunner::openDataFile(const QString& path) {
    if (!startSession())
        return CliOptions::LinkFailure;
    MainSession& s = *session_;
    s.Abrir1Click([&] { return path; });
    if (prompt_.failed)
        return CliOptions::FileError;
    // What was read is used all the same; the user is told that it is not all.
    if (s.table().fill.rowsWritten < s.table().fileRowsAnnounced)
        std::fprintf(stderr, "%s\n",
                     qPrintable(s.text(Txt::DataFilePartlyRead)
                                    .arg(s.table().fill.rowsWritten)
                                    .arg(s.table().fileRowsAnnounced)));
    return CliOptions::Success;
}

int CliRunner::show() {
    const CommandArguments args(options_, {}, 1);
    if (!args.ok())
        return CliOptions::BadUsage;
    if (const int status = openDataFile(args.file()); status != CliOptions::Success)
        return status;
    const RecordSet& table = session_->records();
    const int lastRow = std::min(session_->table().fill.rowsWritten, table.rowCountTotal() - 1);
    for (int r = 1; r <= lastRow; ++r) {
        const RecordSet::Row& row = table.row(r);
        out_ << row[0] << row[1] << row[2] << row[3] << '\n';
    }
    out_.flush();
    return CliOptions::Success;
}

int CliRunner::exportCsv() {
    const CommandArguments args(options_, {CommandArguments::output()}, 1);
    if (!args.ok())
        return CliOptions::BadUsage;
    const QString csvPath = args.value(CommandArguments::output());
    if (csvPath.isEmpty())
        return args.error(QStringLiteral("needs -o OUT.csv"));
    if (const int status = openDataFile(args.file()); status != CliOptions::Success)
        return status;
    session_->ExportarCsvClick([&] { return csvPath; });
    return prompt_.failed ? CliOptions::FileError : CliOptions::Success;
}
