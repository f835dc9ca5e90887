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
