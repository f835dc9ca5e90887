#include "CliOptions.h"

#include "CliRunner.h"
#include "records/DeviceListEditor.h"
#include "sim/SimulatedBoard.h"

#include <cstdio>

namespace {

const QCommandLineOption& timeoutOption() {
    static const QCommandLineOption option(
        QStringLiteral("timeout"),
        QStringLiteral("Give up talking to the logger after S seconds (default 120)."),
        QStringLiteral("S"));
    return option;
}

// --timeout, wherever it is given.
bool parseTimeout(const QString& text, int* seconds, QString* error) {
    bool ok = false;
    const int s = text.toInt(&ok);
    if (!ok || s <= 0) {
        *error = QStringLiteral("--timeout takes a whole number of seconds above 0");
        return false;
    }
    *seconds = s;
    return true;
}

void addGlobalOptions(QCommandLineParser& parser) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addHelpOption();
    // Answered by main before any parsing; listed here for the help text.
    parser.addOption({QStringLiteral("version"),
                      QStringLiteral("Print the version (and the commit when built from a "
                                     "checkout).")});
    TransportChoice::addOptions(parser);
    parser.addOption({QStringLiteral("address"),
                      QStringLiteral("Module address of the logger, 12 hexadecimal digits "
                                     "(default: first entry of the device list file lidi.IDO)."),
                      QStringLiteral("ADDR")});
    parser.addOption(
        {QStringLiteral("lang"),
         QStringLiteral("Language of the messages: p, e or i (default: settings file)."),
         QStringLiteral("p|e|i")});
    parser.addOption({QStringLiteral("trace"),
                      QStringLiteral("Write every block sent and received to stderr, in hex.")});
    parser.addOption(timeoutOption());
}

} // namespace

const QList<CliOptions::Command>& CliOptions::commands() {
    static const QList<Command> list = {
        {"info",
         "  info      connect, print the logger configuration as \"key: value\" lines, "
         "disconnect\n",
         true, false, &CliRunner::info},
        {"download",
         "  download -o FILE --title T [--objective O] [--responsible R] [--record on|off]\n"
         "           [--timeout S]\n"
         "            connect, download every record, save the data file, disconnect with the\n"
         "            recording switch on or off (default off)\n",
         true, false, &CliRunner::download},
        {"show",
         "  show FILE\n"
         "            print the record table of a data file, one 40-character row a line\n",
         false, false, &CliRunner::show},
        {"export",
         "  export FILE -o OUT.csv\n"
         "            the records of a data file as CSV (UTF-8) with a header line:\n"
         "            measurement,record,date,time,timestamp,value,unit\n",
         false, false, &CliRunner::exportCsv},
        {"configure",
         "  configure --interval HH:MM:SS --records N --measurements M [--mode fixed|continuous]\n"
         "            connect, send a recording configuration with the PC's date and time, wait\n"
         "            for the logger's answer, disconnect; continuous mode records 3600 records\n"
         "            in 1 measurement (--records and --measurements may then be left out)\n",
         true, false, &CliRunner::configure},
        {"clear",
         "  clear --yes\n"
         "            connect, erase every record in the logger, wait for its answer,\n"
         "            disconnect\n",
         true, false, &CliRunner::clear},
        {"chart",
         "  chart FILE -m K (--start J | --all) -o OUT.bmp\n"
         "            draw measurement K (1-based, as listed) as the chart window does and\n"
         "            write the picture as a bitmap: --start J the J-th entry of the start\n"
         "            record list, --all \"Todos os registros\"\n",
         false, true, &CliRunner::chart},
        {"report",
         "  report FILE -o OUT.pdf\n"
         "            the record report of a data file (cover and listing) as PDF\n",
         false, true, &CliRunner::report},
        {"stats",
         "  stats FILE [--lower X] [--upper Y] [--json]\n"
         "            statistics per measurement and for the whole file: records, first and\n"
         "            last date-time, span, usual interval, extremes, mean, standard deviation,\n"
         "            mean kinetic temperature, and the records outside the limits given\n",
         false, false, &CliRunner::stats},
        {"plot",
         "  plot FILE -o OUT.svg|OUT.png [--measurement K] [--lower X] [--upper Y]\n"
         "            the analysis chart's full view (every record on a time axis) as a picture\n",
         false, true, &CliRunner::plot},
    };
    return list;
}

QString CliOptions::usage() {
    QCommandLineParser parser;
    addGlobalOptions(parser);
    QString text = QStringLiteral("Usage: tervix-cli [--port PATH | --ftdi | --simulate] "
                                  "[--address ADDR] [--lang p|e|i] [--trace] [--timeout S] "
                                  "COMMAND ...\n\n");
    text += parser.helpText().section(QLatin1Char('\n'), 2);
    text += QStringLiteral("\nCommands:\n");
    for (const Command& command : commands())
        text += QString::fromUtf8(command.usage);
    text += QStringLiteral("\n-o writes into a device or a FIFO; - is standard output.\n"
                           "Exit status: 0 success, 1 bad usage, 2 interface, link or logger "
                           "failure,\n3 file error; 130 and 143 after SIGINT and SIGTERM (the "
                           "logger released first).\n");
    return text;
}

int CliOptions::usageError(const QString& message) {
    std::fprintf(stderr, "tervix-cli: %s\nTry 'tervix-cli --help'.\n", qPrintable(message));
    return BadUsage;
}

bool CliOptions::parse(const QStringList& arguments, CliOptions* options, QString* error) {
    QCommandLineParser parser;
    addGlobalOptions(parser);
    *options = {};
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        options->helpRequested = true;
        return true;
    }
    if (!TransportChoice::fromParser(parser, &options->transport, error))
        return false;
    // The simulated board's options are checked before anything runs.
    if (options->transport.kind == TransportChoice::Kind::Simulated &&
        !SimOptions::parse(options->transport.simulatorArguments, error))
        return false;
    options->address = parser.value(QStringLiteral("address"));
    // Only an address the device list would take is ever sent.
    if (parser.isSet(QStringLiteral("address")) &&
        !DeviceListEditor::isValidCode(options->address)) {
        *error = QStringLiteral("--address takes exactly 12 hexadecimal digits");
        return false;
    }
    if (parser.isSet(QStringLiteral("lang"))) {
        const QString lang = parser.value(QStringLiteral("lang"));
        if (lang != u"p" && lang != u"e" && lang != u"i") {
            *error = QStringLiteral("--lang takes p, e or i");
            return false;
        }
        options->language = lang.at(0).toLatin1();
    }
    options->trace = parser.isSet(QStringLiteral("trace"));
    if (parser.isSet(timeoutOption()) &&
        !parseTimeout(parser.value(timeoutOption()), &options->timeoutSeconds, error))
        return false;
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        *error = QStringLiteral("no command given");
        return false;
    }
    for (const Command& command : commands())
        if (positional.first() == QLatin1String(command.name))
            options->command = &command;
    if (!options->command) {
        *error = QStringLiteral("unknown command: ") + positional.first();
        return false;
    }
    options->commandArguments = positional.mid(1);
    return true;
}

CommandArguments::CommandArguments(CliOptions& options, const QList<QCommandLineOption>& own,
                                   int files)
    : options_(options) {
    parser_.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser_.addOptions(own);
    if (options.command->talksToLogger)
        parser_.addOption(timeoutOption());
    const QString name = QLatin1String(options.command->name);
    if (!parser_.parse(QStringList{name} + options.commandArguments)) {
        error(parser_.errorText());
        return;
    }
    const QStringList positional = parser_.positionalArguments();
    if (positional.size() > files) {
        error(QStringLiteral("unexpected argument: ") + positional.at(files));
        return;
    }
    if (positional.size() < files) {
        error(QStringLiteral("takes one file"));
        return;
    }
    if (options.command->talksToLogger && parser_.isSet(timeoutOption())) {
        QString message;
        if (!parseTimeout(parser_.value(timeoutOption()), &options.timeoutSeconds, &message)) {
            error(message);
            return;
        }
    }
    ok_ = true;
}

int CommandArguments::error(const QString& message) const {
    return CliOptions::usageError(QLatin1String(options_.command->name) + QStringLiteral(": ") +
                                  message);
}

const QCommandLineOption& CommandArguments::output() {
    static const QCommandLineOption option({QStringLiteral("o"), QStringLiteral("output")},
                                           QStringLiteral("File to write (- for stdout)."),
                                           QStringLiteral("FILE"));
    return option;
}
