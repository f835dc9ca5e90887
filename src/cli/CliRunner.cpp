#include "CliRunner.h"

#include "app/MainSession.h"
#include "link/SerialTransport.h"
#include "link/TracingTransport.h"
#include "records/DeviceListEditor.h"
#include "records/DeviceListFile.h"

#include <QEventLoop>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

// The disconnect sequence takes about 2.5 s; this bounds it whatever --timeout says.
constexpr int kReleaseMs = 6000;

// SIGINT and SIGTERM are written into a pipe that the event loop watches.
int signalPipe[2] = {-1, -1};

void onSignal(int signo) {
    const int saved = errno;
    const char byte = char(signo);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

const char* signalName(int signo) {
    return signo == SIGINT ? "SIGINT" : "SIGTERM";
}

} // namespace

void CliRunner::FailurePrompt::message(const QString& text) {
    failed = true;
    ++count;
    last = text;
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    std::fputs(bytes.constData(), stderr);
}

bool CliRunner::FailurePrompt::askYesNo(const QString&, const QString&, bool) {
    return answer;
}

CliRunner::CliRunner(CliOptions options, QTextStream& out)
    : options_(std::move(options)), out_(out) {}

CliRunner::~CliRunner() {
    if (signalNotifier_) {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        signalNotifier_.reset();
        ::close(signalPipe[0]);
        ::close(signalPipe[1]);
        signalPipe[0] = signalPipe[1] = -1;
    }
}

int CliRunner::run() {
    return (this->*options_.command->run)();
}

int CliRunner::fail(const QString& message) {
    prompt_.message(message);
    return CliOptions::LinkFailure;
}

bool CliRunner::startSession() {
    QString error;
    std::unique_ptr<SerialTransport> transport = createTransport(options_.transport, time_, &error);
    if (!transport) {
        prompt_.message(error);
        return false;
    }
    if (options_.trace) {
        transport = std::make_unique<TracingTransport>(
            std::move(transport), time_,
            [](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    }
    session_ = std::make_unique<MainSession>(
        MainSession::Services{time_, clock_, prompt_, std::move(transport), Regional::system()});
    MainSession& s = *session_;
    auto wake = [this] {
        if (loop_)
            loop_->quit();
    };
    QObject::connect(&s, &MainSession::linked, [this, wake] {
        events_.linked = true;
        wake();
    });
    QObject::connect(&s, &MainSession::unlinked, [this, wake] {
        events_.unlinked = true;
        wake();
    });
    QObject::connect(&s, &MainSession::configurationRead, [this, wake] {
        events_.configurationRead = true;
        wake();
    });
    QObject::connect(&s, &MainSession::downloadFinished, [this, wake](bool) {
        // An incomplete download also says so as a failure.
        events_.downloadFinished = true;
        wake();
    });
    QObject::connect(&s, &MainSession::loggerAnswered, [this, wake](int code) {
        events_.answered << code;
        wake();
    });
    QObject::connect(&s, &MainSession::failed, [this, wake](const QString& message) {
        if (!events_.failed)
            events_.failure = message;
        events_.failed = true;
        wake();
    });

    s.languageOverride = options_.language;
    s.FormShow();
    // The settings file's message is a warning: the command goes on.
    prompt_.failed = false;

    if (options_.command->talksToLogger) {
        commandDeadline_ = QDeadlineTimer(qint64(options_.timeoutSeconds) * 1000);
        if (::pipe(signalPipe) == 0) {
            for (int fd : signalPipe)
                ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
            signalNotifier_ =
                std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
            QObject::connect(signalNotifier_.get(), &QSocketNotifier::activated, [this, wake] {
                char byte = 0;
                if (::read(signalPipe[0], &byte, 1) == 1 && signal_ == 0)
                    signal_ = byte;
                wake();
            });
            struct sigaction action {};
            action.sa_handler = onSignal;
            sigemptyset(&action.sa_mask);
            sigaction(SIGINT, &action, nullptr);
            sigaction(SIGTERM, &action, nullptr);
        }
    }
    return true;
}

CliRunner::Wait CliRunner::waitFor(const std::function<bool()>& done, QDeadlineTimer deadline) {
    auto outcome = [&]() -> std::optional<Wait> {
        if (signal_ && !releasing_)
            return Wait::Interrupted;
        if (done())
            return Wait::Done;
        if (events_.failed || events_.unlinked)
            return Wait::Failed;
        if (deadline.hasExpired())
            return Wait::TimedOut;
        return std::nullopt;
    };
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    loop_ = &loop;
    std::optional<Wait> result;
    while (!(result = outcome())) {
        timer.start(std::chrono::milliseconds(std::max<qint64>(0, deadline.remainingTime())));
        loop.exec();
    }
    loop_ = nullptr;
    return *result;
}

CliRunner::Wait CliRunner::waitForLogger(const QString& step, const std::function<bool()>& done) {
    step_ = step;
    return waitFor(done, commandDeadline_);
}

int CliRunner::failure(Wait wait) {
    MainSession& s = *session_;
    switch (wait) {
    case Wait::Done:
        return CliOptions::Success;
    case Wait::Interrupted:
        std::fprintf(stderr, "tervix-cli: %s received, releasing the logger\n",
                     signalName(signal_));
        return CliOptions::LinkFailure;
    case Wait::TimedOut:
        return fail(s.text(Txt::CommandTimedOut) + QStringLiteral(" (") + step_ +
                    QStringLiteral(")"));
    case Wait::Failed:
        break;
    }
    // The session's own message has been shown, unless it failed without one (a refused or
    // lost link shows only in the window's status bar).
    if (!events_.failure.isEmpty())
        return events_.failure == prompt_.last ? int(CliOptions::LinkFailure)
                                               : fail(events_.failure);
    return fail(s.text(Txt::BtDisconnected) + s.view().Edit7.text);
}

int CliRunner::connect() {
    MainSession& s = *session_;
    QString address = options_.address;
    if (address.isEmpty()) {
        QString problem;
        address = DeviceListFile::firstEntry(DeviceListFile::defaultPath(), &problem);
        if (!problem.isEmpty())
            return fail(s.text(Txt::DeviceListCannotOpen) + problem);
        if (address.isEmpty())
            return fail(s.text(Txt::NoAddress));
        if (!DeviceListEditor::isValidCode(address))
            return CliOptions::usageError(
                QStringLiteral("the first entry of %1 is not an address: %2")
                    .arg(DeviceListFile::defaultPath(), address));
    }
    s.Button2Click();
    if (!s.usb().UsbOpen) {
        const QString reason = s.transport().errorText();
        if (!reason.isEmpty())
            std::fprintf(stderr, "%s: %s\n", qPrintable(s.transport().description()),
                         qPrintable(reason));
        return CliOptions::LinkFailure;
    }
    s.DeviceChosen(QStringLiteral("1"), address);
    const int shown = prompt_.count;
    s.Button3Click();
    if (prompt_.count != shown)
        return CliOptions::LinkFailure;
    const Wait wait =
        waitForLogger(QStringLiteral("connect"), [this] { return events_.configurationRead; });
    if (wait == Wait::TimedOut)
        step_ = events_.linked ? QStringLiteral("access and configuration")
                               : QStringLiteral("link to the logger");
    return failure(wait);
}

int CliRunner::release() {
    if (!session_)
        return CliOptions::Success;
    MainSession& s = *session_;
    releasing_ = true;
    events_.failed = false;
    events_.failure.clear();
    events_.unlinked = false;
    const int shown = prompt_.count;
    int status = CliOptions::Success;
    if (s.ReleaseLogger()) {
        step_ = QStringLiteral("disconnect");
        const Wait wait = waitFor([this] { return events_.unlinked; }, QDeadlineTimer(kReleaseMs));
        if (wait != Wait::Done)
            status = failure(wait);
    }
    // A write of the sequence failed, the first one included; the session said so.
    if (status == CliOptions::Success && prompt_.count != shown)
        status = CliOptions::LinkFailure;
    if (s.usb().UsbOpen)
        s.Button2Click();
    releasing_ = false;
    return status;
}

int CliRunner::finish(int status) {
    const int released = release();
    if (signal_)
        return 128 + signal_;
    return status != CliOptions::Success ? status : released;
}

int CliRunner::info() {
    const CommandArguments args(options_, {});
    if (!args.ok())
        return CliOptions::BadUsage;
    if (!startSession())
        return CliOptions::LinkFailure;
    if (const int status = connect(); status != CliOptions::Success)
        return finish(status);
    const MainSession& s = *session_;
    const LoggerInfo& i = s.table().loggerInfo;
    const MainViewState& v = s.view();
    out_ << "equipment: " << i.equipmentNumber << '\n'
         << "type: " << i.measurementType << ' ' << v.Label13.trimmed() << '\n'
         << "unit: " << i.unitCode << ' ' << v.Label14.trimmed() << '\n'
         << "decimals: " << i.decimalsCode << '\n'
         << "records_per_measurement: " << i.recordsPerMeasurement << '\n'
         << "stored_measurements: " << i.storedMeasurements << '\n'
         << "configured_measurements: " << i.configuredMeasurements << '\n'
         << "records_reply_length: " << s.commands().RecordsReplyLength << '\n';
    out_.flush();
    return finish(CliOptions::Success);
}
