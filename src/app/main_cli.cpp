// tervix-cli: the logger tool's actions from the command line, for scripts.
#include "app/CliOptions.h"
#include "app/CliRunner.h"

#include <QCoreApplication>
#include <QTextStream>

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
    QTextStream out(stdout);
    CliRunner runner(std::move(options), out);
    return runner.run();
}
