#pragma once

#include "link/TransportChoice.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

class CliRunner;

// The command line of tervix-cli: global options, then a command and its own arguments.
// This is the one place that knows the commands, parses arguments and prints usage.
struct CliOptions {
    enum ExitStatus { Success = 0, BadUsage = 1, LinkFailure = 2, FileError = 3 };

    // A command: its name, its usage lines, whether it talks to the logger (and so takes
    // --timeout) or draws (and so needs fonts), and the runner's method that carries it out.
    struct Command {
        const char* name;
        const char* usage;
        bool talksToLogger;
        bool draws;
        int (CliRunner::*run)();
    };
    static const QList<Command>& commands();

    TransportChoice transport;
    QString address;   // empty: the first entry of the device list
    char language = 0; // 0: from the settings file
    bool trace = false;
    int timeoutSeconds = 120;
    const Command* command = nullptr;
    QStringList commandArguments;

    bool helpRequested = false;

    // Parses arguments (program name first). On a bad command line returns false with a
    // message for stderr.
    static bool parse(const QStringList& arguments, CliOptions* options, QString* error);
    static QString usage();
    // Prints a usage error to stderr; returns BadUsage.
    static int usageError(const QString& message);
};

// A command's own arguments: its options (and --timeout for the commands that talk to the
// logger) and exactly `files` file names. A bad command line is reported on stderr.
class CommandArguments {
public:
    CommandArguments(CliOptions& options, const QList<QCommandLineOption>& own, int files = 0);

    // -o FILE, as every command that writes a file takes it.
    static const QCommandLineOption& output();

    bool ok() const { return ok_; }
    bool isSet(const QCommandLineOption& option) const { return parser_.isSet(option); }
    QString value(const QCommandLineOption& option) const { return parser_.value(option); }
    QString file() const { return parser_.positionalArguments().value(0); }
    // Reports a problem with this command's arguments; returns BadUsage.
    int error(const QString& message) const;

private:
    const CliOptions& options_;
    QCommandLineParser parser_;
    bool ok_ = false;
};
