#include "CliOptions.h"

#include <QCommandLineParser>

namespace {

void addGlobalOptions(QCommandLineParser& parser) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addHelpOption();
    // Answered by main before any parsing; listed here for the help text.
    parser.addOption({QStringLiteral("version"),
                      QStringLiteral("Print the version (and the commit when built from a "
                                     "checkout).")});
    TransportChoice::addOptions(parser);
    parser.addOption({QStringLiteral("address"),
                      QStringLiteral("Module address of the logger (default: first entry of the "
                                     "device list file lidi.IDO)."),
                      QStringLiteral("ADDR")});
    parser.addOption(
        {QStringLiteral("lang"),
         QStringLiteral("Language of the messages: p, e or i (default: settings file)."),
         QStringLiteral("p|e|i")});
    parser.addOption({QStringLiteral("trace"),
                      QStringLiteral("Write every block sent and received to stderr, in hex.")});
    parser.addOption(
        {QStringLiteral("timeout"),
         QStringLiteral("Give up talking to the logger after S seconds (default 120)."),
         QStringLiteral("S")});
}

} // namespace

const QStringList& CliOptions::commands() {
    // Commands join this list as they are built.
    static const QStringList list = {QStringLiteral("info"),      QStringLiteral("download"),
                                     QStringLiteral("show"),      QStringLiteral("export"),
                                     QStringLiteral("configure"), QStringLiteral("clear"),
                                     QStringLiteral("chart"),     QStringLiteral("report"),
                                     QStringLiteral("stats"),     QStringLiteral("plot")};
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
    text += QStringLiteral("  info      connect, print the logger configuration as \"key: value\" "
                           "lines, disconnect\n");
    text += QStringLiteral(
        "  download -o FILE --title T [--objective O] [--responsible R] [--record on|off]\n"
        "           [--timeout S]\n"
        "            connect, download every record, save the data file, disconnect with the\n"
        "            recording switch on or off (default off)\n"
        "  show FILE\n"
        "            print the record table of a data file, one 40-character row a line\n"
        "  export FILE -o OUT.csv\n"
        "            the records of a data file as CSV (UTF-8) with a header line:\n"
        "            measurement,record,date,time,timestamp,value,unit\n");
    text += QStringLiteral(
        "  configure --interval HH:MM:SS --records N --measurements M [--mode fixed|continuous]\n"
        "            connect, send a recording configuration with the PC's date and time, wait\n"
        "            for the logger's answer, disconnect; continuous mode records 3600 records\n"
        "            in 1 measurement (--records and --measurements may then be left out)\n"
        "  clear --yes\n"
        "            connect, erase every record in the logger, wait for its answer,\n"
        "            disconnect\n");
    text += QStringLiteral(
        "  chart FILE -m K (--start J | --all) -o OUT.bmp\n"
        "            draw measurement K (1-based, as listed) as the chart window does and\n"
        "            write the picture as a bitmap: --start J the J-th entry of the start\n"
        "            record list, --all \"Todos os registros\"\n");
    text +=
        QStringLiteral("  report FILE -o OUT.pdf\n"
                       "            the record report of a data file (cover and listing) as PDF\n");
    text += QStringLiteral(
        "  stats FILE [--lower X] [--upper Y] [--json]\n"
        "            statistics per measurement and for the whole file: records, first and\n"
        "            last date-time, span, usual interval, extremes, mean, standard deviation,\n"
        "            mean kinetic temperature, and the records outside the limits given\n"
        "  plot FILE -o OUT.svg|OUT.png [--measurement K] [--lower X] [--upper Y]\n"
        "            the analysis chart's full view (every record on a time axis) as a picture\n");
    text += QStringLiteral("\nExit status: 0 success, 1 bad usage, 2 interface, link or logger "
                           "failure, 3 file error.\n");
    return text;
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
    options->address = parser.value(QStringLiteral("address"));
    if (parser.isSet(QStringLiteral("lang"))) {
        const QString lang = parser.value(QStringLiteral("lang"));
        if (lang != u"p" && lang != u"e" && lang != u"i") {
            *error = QStringLiteral("--lang takes p, e or i");
            return false;
        }
        options->language = lang.at(0).toLatin1();
    }
    options->trace = parser.isSet(QStringLiteral("trace"));
    if (parser.isSet(QStringLiteral("timeout"))) {
        bool ok = false;
        const int s = parser.value(QStringLiteral("timeout")).toInt(&ok);
        if (!ok || s <= 0) {
            *error = QStringLiteral("--timeout takes a whole number of seconds above 0");
            return false;
        }
        options->timeoutSeconds = s;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        *error = QStringLiteral("no command given");
        return false;
    }
    options->command = positional.first();
    options->commandArguments = positional.mid(1);
    if (!commands().contains(options->command)) {
        *error = QStringLiteral("unknown command: ") + options->command;
        return false;
    }
    return true;
}
