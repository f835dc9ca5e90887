#pragma once

#include "app/CliOptions.h"
#include "app/Clock.h"
#include "app/Prompt.h"
#include "app/QtTimeBase.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>

class MainSession;
class QTextStream;

// Runs one tervix-cli command as the sequence of clicks it stands for, on the real event
// loop, and turns the outcome into an exit status.
class CliRunner {
public:
    CliRunner(CliOptions options, QTextStream& out);
    ~CliRunner();

    int run();

private:
    // Messages go to stderr; any message means the action failed.
    class FailurePrompt : public Prompt {
    public:
        void message(const QString& text) override;
        bool askYesNo(const QString& title, const QString& text, bool defaultNo) override;
        bool answer = false;
        bool failed = false;
    };

    int info();
    // Data files: download and save, print the record rows, export as CSV.
    int download();
    int show();
    int exportCsv();
    // Opens a data file as "Abrir..." does; a file error ends the command with status 3.
    int openDataFile(const QString& path);

    // Logger commands (CliLoggerCommands.cpp): the configuration dialog's "Enviar" and
    // "Limpar", each waiting for the logger's answer.
    int configure();
    int clear();
    // The logger did not answer a command: the message, then the disconnect.
    int noAnswer();

    // The chart window's picture of a data file as a bitmap (chart/ChartCommand.cpp).
    int chart();
    // The record report of a data file as PDF (report/ReportCommand.cpp).
    int report();

    bool startSession();
    int connect();
    int disconnect();
    // Runs the event loop until done() holds (true), a message was shown or the time is up.
    bool waitFor(const std::function<bool()>& done);
    int fail(const QString& message);

    CliOptions options_;
    QTextStream& out_;
    QtTimeBase time_;
    SystemClock clock_;
    FailurePrompt prompt_;
    std::unique_ptr<MainSession> session_;
    QElapsedTimer started_;
};
