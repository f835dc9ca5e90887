#pragma once

#include "link/TransportChoice.h"

#include <QStringList>

// The command line of tervix-cli: global options, then a command and its arguments.
struct CliOptions {
    enum ExitStatus { Success = 0, BadUsage = 1, LinkFailure = 2, FileError = 3 };

    TransportChoice transport;
    QString address;   // empty: the first entry of the device list
    char language = 0; // 0: from the settings file
    bool trace = false;
    int timeoutSeconds = 120;
    QString command;
    QStringList commandArguments;

    bool helpRequested = false;

    // Parses arguments (program name first). On a bad command line returns false with a
    // message for stderr.
    static bool parse(const QStringList& arguments, CliOptions* options, QString* error);
    static QString usage();
    // The commands this build knows.
    static const QStringList& commands();
};
