// tervix-cli's configure and clear: the clicks of the configuration dialog and of "Limpar",
// with the logger's answer awaited before disconnecting.
#include "CliRunner.h"

#include "app/ConfigurationEditor.h"
#include "app/MainSession.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace {

int usageError(const QString& message) {
    std::fprintf(stderr, "tervix-cli: %s\n", qPrintable(message));
    return CliOptions::BadUsage;
}

// Parses a command's own arguments; false (and a message) on anything unexpected.
bool parseCommand(QCommandLineParser& parser, const QString& command, const QStringList& args) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!parser.parse(QStringList{command} + args)) {
        usageError(command + QStringLiteral(": ") + parser.errorText());
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        usageError(command + QStringLiteral(": unexpected argument: ") +
                   parser.positionalArguments().constFirst());
        return false;
    }
    return true;
}

} // namespace

int CliRunner::noAnswer() {
    const int status =
        prompt_.failed ? int(CliOptions::LinkFailure) : fail(session_->text(Txt::LoggerNoAnswer));
    disconnect();
    return status;
}

int CliRunner::configure() {
    QCommandLineParser parser;
    const QCommandLineOption interval(QStringLiteral("interval"), {}, QStringLiteral("HH:MM:SS"));
    const QCommandLineOption records(QStringLiteral("records"), {}, QStringLiteral("N"));
    const QCommandLineOption measurements(QStringLiteral("measurements"), {}, QStringLiteral("M"));
    const QCommandLineOption mode(QStringLiteral("mode"), {}, QStringLiteral("fixed|continuous"),
                                  QStringLiteral("fixed"));
    parser.addOptions({interval, records, measurements, mode});
    if (!parseCommand(parser, options_.command, options_.commandArguments))
        return CliOptions::BadUsage;
    const QString modeName = parser.value(mode);
    if (modeName != u"fixed" && modeName != u"continuous")
        return usageError(QStringLiteral("configure: --mode takes fixed or continuous"));
    const bool continuous = modeName == u"continuous";
    if (!parser.isSet(interval))
        return usageError(QStringLiteral("configure: --interval HH:MM:SS is required"));
    if (!continuous && (!parser.isSet(records) || !parser.isSet(measurements)))
        return usageError(
            QStringLiteral("configure: --records N and --measurements M are required"));
    // Continuous mode fills the count fields itself and makes them read-only, as the dialog
    // does; counts given with it must be those.
    if (continuous) {
        const bool recordsDiffer =
            parser.isSet(records) &&
            !LoggerConfig::parseCount(parser.value(records), LoggerConfig::kMaxRecords,
                                      LoggerConfig::kMaxRecords);
        const bool measurementsDiffer = parser.isSet(measurements) &&
                                        !LoggerConfig::parseCount(parser.value(measurements), 1, 1);
        if (recordsDiffer || measurementsDiffer)
            return usageError(QStringLiteral("configure: continuous mode records 3600 records "
                                             "in 1 measurement; leave out --records and "
                                             "--measurements or give those values"));
    }

    if (!startSession())
        return CliOptions::LinkFailure;
    MainSession& s = *session_;
    ConfigurationEditor editor(s);
    // The fields as the user would leave them before "Enviar"; the configuration reply of
    // the connection overwrites the count fields, so they are filled again after it.
    auto fillFields = [&] {
        editor.MaskEdit1Change(parser.value(interval));
        if (continuous) {
            editor.RadioButton3Click();
        } else {
            editor.RadioButton2Click();
            editor.Edit2Change(parser.value(records));
            editor.Edit1Change(parser.value(measurements));
        }
    };

    // The same checks as "Enviar", before anything is opened or sent.
    fillFields();
    std::optional<LoggerConfig> config;
    s.guarded([&] { config = editor.checkedConfiguration(); });
    if (!config)
        return CliOptions::BadUsage;

    if (const int status = connect(); status != CliOptions::Success) {
        disconnect();
        return status;
    }
    s.Button4Click();
    editor.FormShow();
    fillFields();
    s.guarded([&] { editor.Button1Click(); });
    if (prompt_.failed) {
        disconnect();
        return CliOptions::LinkFailure;
    }
    const bool answered = waitFor([&] { return s.view().StatusBar1[2] == s.text(Txt::Done); });
    editor.Button2Click();
    if (!answered)
        return noAnswer();
    out_ << "interval: " << config->interval.toString(QStringLiteral("HH:mm:ss")) << '\n'
         << "records_per_measurement: " << config->recordsPerMeasurement << '\n'
         << "mode: " << modeName << '\n'
         << "configured_measurements: " << config->measurements << '\n';
    out_.flush();
    return disconnect();
}

int CliRunner::clear() {
    QCommandLineParser parser;
    const QCommandLineOption yes(QStringLiteral("yes"));
    parser.addOption(yes);
    if (!parseCommand(parser, options_.command, options_.commandArguments))
        return CliOptions::BadUsage;
    if (!parser.isSet(yes))
        return usageError(QStringLiteral("clear: this erases every record in the logger; "
                                         "add --yes to go ahead"));

    if (!startSession())
        return CliOptions::LinkFailure;
    if (const int status = connect(); status != CliOptions::Success) {
        disconnect();
        return status;
    }
    MainSession& s = *session_;
    // "Limpar" can only be clicked while the logger holds measurements.
    if (!s.view().Button5.enabled) {
        out_ << "nothing to clear: the logger holds no measurements\n";
        out_.flush();
        return disconnect();
    }
    // --yes is the answer to the confirmation.
    prompt_.answer = true;
    s.guarded([&] { s.Button5Click(); });
    if (prompt_.failed) {
        disconnect();
        return CliOptions::LinkFailure;
    }
    if (!waitFor([&] { return s.view().StatusBar1[2] == s.text(Txt::Done); }))
        return noAnswer();
    return disconnect();
}
