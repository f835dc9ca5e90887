#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QCommandLineParser;
class SerialTransport;
class TimeBase;

// Which interface backend a run uses, as chosen on the command line.
struct TransportChoice {
    enum class Kind { FirstFtdiPort, Port, Ftdi, Simulated };

    Kind kind = Kind::FirstFtdiPort;
    QString port;                   // Kind::Port
    QStringList simulatorArguments; // Kind::Simulated: the simulated board's options

    // Adds --port, --ftdi, --simulate and --sim-options to a parser.
    static void addOptions(QCommandLineParser& parser);
    // Reads them back; false and a message when they contradict each other.
    static bool fromParser(const QCommandLineParser& parser, TransportChoice* choice,
                           QString* error);
};

// The backend for the choice; nullptr and a message when it cannot be made (bad simulator
// options, libftdi not built in).
std::unique_ptr<SerialTransport> createTransport(const TransportChoice& choice, TimeBase& time,
                                                 QString* error);
