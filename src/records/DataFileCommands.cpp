// tervix-cli download, show and export: the clicks of a download and of "Salvar como...",
// "Abrir..." and "Exportar CSV...", with file names from the command line.
#include "DataFile.h"
#include "app/CliRunner.h"
#include "app/MainSession.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace {

int badUsage(const QString& message) {
    std::fprintf(stderr, "tervix-cli: %s\nTry 'tervix-cli --help'.\n", qPrintable(message));
    return CliOptions::BadUsage;
}

// A command's own options, after its name.
bool parseCommand(QCommandLineParser& parser, const CliOptions& options, QString* error) {
    if (!parser.parse(QStringList{options.command} + options.commandArguments)) {
        *error = options.command + QStringLiteral(": ") + parser.errorText();
        return false;
    }
    return true;
}

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
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Data file to write."), QStringLiteral("FILE"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Report title."),
                                   QStringLiteral("T"));
    const QCommandLineOption objective(QStringLiteral("objective"),
                                       QStringLiteral("Report objective."), QStringLiteral("O"));
    const QCommandLineOption responsible(
        QStringLiteral("responsible"), QStringLiteral("Person responsible."), QStringLiteral("R"));
    const QCommandLineOption record(QStringLiteral("record"),
                                    QStringLiteral("Recording switch at disconnection."),
                                    QStringLiteral("on|off"), QStringLiteral("off"));
    const QCommandLineOption timeout(QStringLiteral("timeout"), QStringLiteral("Time limit."),
                                     QStringLiteral("S"));
    QCommandLineParser parser;
    parser.addOptions({output, title, objective, responsible, record, timeout});
    QString error;
    if (!parseCommand(parser, options_, &error))
        return badUsage(error);
    if (!parser.positionalArguments().isEmpty())
        return badUsage(QStringLiteral("download: unexpected argument ") +
                        parser.positionalArguments().first());
    const QString path = parser.value(output);
    if (path.isEmpty())
        return badUsage(QStringLiteral("download needs -o FILE"));
    if (parser.value(title).isEmpty())
        return badUsage(QStringLiteral("download needs --title T"));
    for (const QCommandLineOption* field : {&title, &objective, &responsible}) {
        const QString problem = reportFieldProblem(field->names().first(), parser.value(*field));
        if (!problem.isEmpty())
            return badUsage(problem);
    }
    const QString recordSwitch = parser.value(record);
    if (recordSwitch != u"on" && recordSwitch != u"off")
        return badUsage(QStringLiteral("--record takes on or off"));
    if (parser.isSet(timeout)) {
        bool ok = false;
        const int seconds = parser.value(timeout).toInt(&ok);
        if (!ok || seconds <= 0)
            return badUsage(QStringLiteral("--timeout takes a whole number of seconds above 0"));
        options_.timeoutSeconds = seconds;
    }

    if (!startSession())
        return CliOptions::LinkFailure;
    if (const int status = connect(); status != CliOptions::Success) {
        prompt_.failed = false;
        disconnect();
        return status;
    }
    MainSession& s = *session_;
    // Ends the command: the session disconnects whatever happened before, and the first
    // failure gives the exit status.
    auto finish = [&](int status) {
        prompt_.failed = false;
        const int disconnected = disconnect();
        return status != CliOptions::Success ? status : disconnected;
    };

    if (!s.view().Button6.enabled)
        return finish(fail(s.text(Txt::LoggerHoldsNoRecords)));
    s.Button6Click();
    if (!waitFor([&] { return s.view().StatusBar1[2] == s.text(Txt::Done); }))
        return finish(prompt_.failed ? CliOptions::LinkFailure
                                     : fail(s.text(Txt::CommandTimedOut)));

    s.Edit3Change(parser.value(title));
    s.Edit4Change(parser.value(objective));
    s.Edit5Change(parser.value(responsible));
    s.Salvarcomo1Click([&] { return path; });
    const bool saved = !prompt_.failed;
    s.CheckBox1Click(recordSwitch == u"on");
    return finish(saved ? CliOptions::Success : CliOptions::FileError);
}

int CliRunner::openDataFile(const QString& path) {
    if (!startSession())
        return session_ ? CliOptions::FileError : CliOptions::LinkFailure;
    session_->Abrir1Click([&] { return path; });
    return prompt_.failed ? CliOptions::FileError : CliOptions::Success;
}

int CliRunner::show() {
    QCommandLineParser parser;
    QString error;
    if (!parseCommand(parser, options_, &error))
        return badUsage(error);
    if (parser.positionalArguments().size() != 1)
        return badUsage(QStringLiteral("show takes one data file"));
    if (const int status = openDataFile(parser.positionalArguments().first());
        status != CliOptions::Success)
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
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("CSV file to write."), QStringLiteral("FILE"));
    QCommandLineParser parser;
    parser.addOption(output);
    QString error;
    if (!parseCommand(parser, options_, &error))
        return badUsage(error);
    if (parser.positionalArguments().size() != 1)
        return badUsage(QStringLiteral("export takes one data file"));
    const QString csvPath = parser.value(output);
    if (csvPath.isEmpty())
        return badUsage(QStringLiteral("export needs -o OUT.csv"));
    if (const int status = openDataFile(parser.positionalArguments().first());
        status != CliOptions::Success)
        return status;
    session_->ExportarCsvClick([&] { return csvPath; });
    return prompt_.failed ? CliOptions::FileError : CliOptions::Success;
}
