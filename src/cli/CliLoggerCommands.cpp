// tervix-cli's configure and clear: the clicks of the configuration dialog and of "Limpar",
// with the logger's answer awaited before disconnecting.
#include "CliRunner.h"

#include "app/ConfigurationEditor.h"
#include "app/MainSession.h"
#include "protocol/LoggerFrame.h"

#include <QTextStream>

int CliRunner::configure() {
    const QCommandLineOption interval(QStringLiteral("interval"), {}, QStringLiteral("HH:MM:SS"));
    const QCommandLineOption records(QStringLiteral("records"), {}, QStringLiteral("N"));
    const QCommandLineOption measurements(QStringLiteral("measurements"), {}, QStringLiteral("M"));
    const QCommandLineOption mode(QStringLiteral("mode"), {}, QStringLiteral("fixed|continuous"),
                                  QStringLiteral("fixed"));
    const CommandArguments args(options_, {interval, records, measurements, mode});
    if (!args.ok())
        return CliOptions::BadUsage;
    const QString modeName = args.value(mode);
    if (modeName != u"fixed" && modeName != u"continuous")
        return args.error(QStringLiteral("--mode takes fixed or continuous"));
    const bool continuous = modeName == u"continuous";
    if (!args.isSet(interval))
        return args.error(QStringLiteral("--interval HH:MM:SS is required"));
    if (!continuous && (!args.isSet(records) || !args.isSet(measurements)))
        return args.error(QStringLiteral("--records N and --measurements M are required"));
    // Continuous mode fills the count fields itself and makes them read-only, as the dialog
    // does; counts given with it must be those.
    if (continuous) {
        const bool recordsDiffer =
            args.isSet(records) &&
            !LoggerConfig::parseCount(args.value(records), LoggerConfig::kMaxRecords,
                                      LoggerConfig::kMaxRecords);
        const bool measurementsDiffer =
            args.isSet(measurements) && !LoggerConfig::parseCount(args.value(measurements), 1, 1);
        if (recordsDiffer || measurementsDiffer)
            return args.error(QStringLiteral("continuous mode records 3600 records in 1 "
                                             "measurement; leave out --records and "
                                             "--measurements or give those values"));
    }

    if (!startSession())
        return CliOptions::LinkFailure;
    MainSession& s = *session_;
    ConfigurationEditor editor(s);
    // The fields as the user would leave them before "Enviar"; the configuration reply of
    // the connection overwrites the count fields, so they are filled again after it.
    auto fillFields = [&] {
        editor.MaskEdit1Change(args.value(interval));
        if (continuous) {
            editor.RadioButton3Click();
        } else {
            editor.RadioButton2Click();
            editor.Edit2Change(args.value(records));
            editor.Edit1Change(args.value(measurements));
        }
    };

    // The same checks as "Enviar", before anything is opened or sent.
    fillFields();
    std::optional<LoggerConfig> config;
    s.guarded([&] { config = editor.checkedConfiguration(); });
    if (!config)
        return CliOptions::BadUsage;

    if (const int status = connect(); status != CliOptions::Success)
        return finish(status);
    s.Button4Click();
    editor.FormShow();
    fillFields();
    const int shown = prompt_.count;
    s.guarded([&] { editor.Button1Click(); });
    if (prompt_.count != shown)
        return finish(CliOptions::LinkFailure);
    const Wait wait = waitForLogger(QStringLiteral("configuration answer"), [this] {
        return events_.answered.contains(LoggerFrame::SendConfiguration);
    });
    editor.Button2Click();
    if (wait != Wait::Done)
        return finish(failure(wait));
    out_ << "interval: " << config->interval.toString(QStringLiteral("HH:mm:ss")) << '\n'
         << "records_per_measurement: " << config->recordsPerMeasurement << '\n'
         << "mode: " << modeName << '\n'
         << "configured_measurements: " << config->measurements << '\n';
    out_.flush();
    return finish(CliOptions::Success);
}

int CliRunner::clear() {
    const QCommandLineOption yes(QStringLiteral("yes"));
    const CommandArguments args(options_, {yes});
    if (!args.ok())
        return CliOptions::BadUsage;
    if (!args.isSet(yes))
        return args.error(
            QStringLiteral("this erases every record in the logger; add --yes to go ahead"));

    if (!startSession())
        return CliOptions::LinkFailure;
    if (const int status = connect(); status != CliOptions::Success)
        return finish(status);
    MainSession& s = *session_;
    // "Limpar" can only be clicked while the logger holds measurements.
    if (!s.view().Button5.enabled) {
        out_ << "nothing to clear: the logger holds no measurements\n";
        out_.flush();
        return finish(CliOptions::Success);
    }
    // --yes is the answer to the confirmation.
    prompt_.answer = true;
    const int shown = prompt_.count;
    s.guarded([&] { s.Button5Click(); });
    if (prompt_.count != shown)
        return finish(CliOptions::LinkFailure);
    const Wait wait = waitForLogger(QStringLiteral("clear answer"), [this] {
        return events_.answered.contains(LoggerFrame::ClearRecords);
    });
    return finish(failure(wait));
}
