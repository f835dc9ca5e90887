// tervix-cli: the logger tool's actions from the command line, for scripts.
#include "app/CliOptions.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tervix-cli"));

    CliOptions options;
    QString error;
    if (!CliOptions::parse(QCoreApplication::arguments(), &options, &error)) {
        std::fprintf(stderr, "tervix-cli: %s\nTry 'tervix-cli --help'.\n", qPrintable(error));
        return CliOptions::BadUsage;
    }
    if (options.helpRequested) {
        std::fputs(qPrintable(CliOptions::usage()), stdout);
        return CliOptions::Success;
    }
    // Every known command is dispatched here; parse() refuses the others.
    std::fprintf(stderr, "tervix-cli: %s is not available\n", qPrintable(options.command));
    return CliOptions::BadUsage;
}
