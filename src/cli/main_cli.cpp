// tervix-cli: the logger tool's actions from the command line, for scripts.
#include "app/BuildInfo.h"
#include "cli/CliOptions.h"
#include "cli/CliRunner.h"
#include "records/DataFolder.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <optional>

int main(int argc, char** argv) {
    if (BuildInfo::printVersionIfAsked(argc, argv, "tervix-cli"))
        return 0;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    CliOptions options;
    QString error;
    const bool parsed = CliOptions::parse(arguments, &options, &error);

    // Charts and reports draw text, which needs the GUI library's fonts (but no display);
    // the other commands need no more than the core.
    std::unique_ptr<QCoreApplication> app;
    std::optional<QTemporaryDir> runtime; // a private runtime folder where the session has none
    if (parsed && options.command && options.command->draws) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.emplace().isValid())
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tervix-cli"));

    if (!parsed)
        return CliOptions::usageError(error);
    if (options.helpRequested) {
        std::fputs(qPrintable(CliOptions::usage() + u'\n' + DataFolder::helpText()), stdout);
        return CliOptions::Success;
    }
    QTextStream out(stdout);
    CliRunner runner(std::move(options), out);
    return runner.run();
}
