#pragma once

#include "app/Clock.h"
#include "app/Prompt.h"
#include "app/QtTimeBase.h"
#include "cli/CliOptions.h"

#include <QDeadlineTimer>

#include <functional>
#include <memory>

class MainSession;
class QEventLoop;
class QSocketNotifier;
class QTextStream;

// Runs one tervix-cli command as the sequence of clicks it stands for, on the real event
// loop, and turns the outcome into an exit status. It waits on the session's events, never
// on what the window would show.
class CliRunner {
public:
    CliRunner(CliOptions options, QTextStream& out);
    ~CliRunner();

    int run();

    // The commands (see CliOptions::commands()).
    int info();
    int download(); // CliDataFileCommands.cpp
    int show();
    int exportCsv();
    int configure(); // CliLoggerCommands.cpp
    int clear();
    int chart();  // CliChartCommand.cpp
    int report(); // CliReportCommand.cpp
    int stats();  // CliAnalysisCommands.cpp
    int plot();

private:
    // Messages go to stderr; any message means a file action failed.
    class FailurePrompt : public Prompt {
    public:
        void message(const QString& text) override;
        bool askYesNo(const QString& title, const QString& text, bool defaultNo) override;
        bool answer = false;
        bool failed = false;
        int count = 0; // messages shown
        QString last;  // the last one
    };

    // What the session reported since the runner started listening.
    struct Events {
        bool linked = false;
        bool unlinked = false;
        bool configurationRead = false;
        bool downloadFinished = false;
        QList<int> answered;
        QString failure; // the first failure's message
        bool failed = false;
    };
    enum class Wait { Done, Failed, TimedOut, Interrupted };

    // Makes the session on the chosen transport and shows the main window. For the commands
    // that talk to the logger, SIGINT and SIGTERM end the command (after releasing the
    // logger) from now on.
    bool startSession();
    // Opens a data file as "Abrir..." does; a file error ends the command with status 3.
    // A file read only in part is said on stderr.
    int openDataFile(const QString& path);

    // Opens the interface and links to the logger up to its configuration reply.
    int connect();
    // Runs the event loop until done() holds, the session failed, the deadline passed or a
    // signal came. Waiting costs no CPU: the loop wakes only on events.
    Wait waitFor(const std::function<bool()>& done, QDeadlineTimer deadline);
    // Waits for the logger during `step` (named in a time-out message), bounded by --timeout.
    Wait waitForLogger(const QString& step, const std::function<bool()>& done);
    // The status for a wait that did not end in done(): says why on stderr (once).
    int failure(Wait wait);
    // Releases the logger: a disconnect already under way is waited for, else the disconnect
    // sequence runs once (one recording switch, the PIO steps, "AT"), with a deadline of its
    // own; then the interface is closed. Returns the status of that.
    int release();
    // Ends a logger command: `status` (Success or a failure already reported), then the
    // logger released; a signal turns into 128 + its number.
    int finish(int status);
    int fail(const QString& message);

    CliOptions options_;
    QTextStream& out_;
    QtTimeBase time_;
    SystemClock clock_;
    FailurePrompt prompt_;
    std::unique_ptr<MainSession> session_;
    QDeadlineTimer commandDeadline_;
    Events events_;
    QString step_;
    int signal_ = 0;         // SIGINT or SIGTERM received
    bool releasing_ = false; // a signal no longer stops a wait
    QEventLoop* loop_ = nullptr;
    std::unique_ptr<QSocketNotifier> signalNotifier_;
};
