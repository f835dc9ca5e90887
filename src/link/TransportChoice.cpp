#include "TransportChoice.h"

#include <QCommandLineParser>
#include <QProcess>

void TransportChoice::addOptions(QCommandLineParser& parser) {
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("Serial device of the interface (any tty or pseudo-terminal) "
                                     "instead of the first FTDI port."),
                      QStringLiteral("PATH")});
    parser.addOption(
        {QStringLiteral("ftdi"), QStringLiteral("Open FTDI device 0 directly through libftdi.")});
    parser.addOption({QStringLiteral("simulate"),
                      QStringLiteral("Use the built-in simulated interface board and logger.")});
    parser.addOption({QStringLiteral("sim-options"),
                      QStringLiteral("Options of the simulated board, as one string "
                                     "(see tervix-sim --help)."),
                      QStringLiteral("OPTIONS")});
}

bool TransportChoice::fromParser(const QCommandLineParser& parser, TransportChoice* choice,
                                 QString* error) {
    const bool port = parser.isSet(QStringLiteral("port"));
    const bool ftdi = parser.isSet(QStringLiteral("ftdi"));
    const bool sim = parser.isSet(QStringLiteral("simulate"));
    if (int(port) + int(ftdi) + int(sim) > 1) {
        *error = QStringLiteral("--port, --ftdi and --simulate exclude each other");
        return false;
    }
    if (parser.isSet(QStringLiteral("sim-options")) && !sim) {
        *error = QStringLiteral("--sim-options needs --simulate");
        return false;
    }
    *choice = {};
    if (port) {
        choice->kind = Kind::Port;
        choice->port = parser.value(QStringLiteral("port"));
    } else if (ftdi) {
        choice->kind = Kind::Ftdi;
    } else if (sim) {
        choice->kind = Kind::Simulated;
        choice->simulatorArguments =
            QProcess::splitCommand(parser.value(QStringLiteral("sim-options")));
    }
    return true;
}
