#include "CliRunner.h"

#include "app/MainSession.h"
#include "cli/AnalysisCommands.h"
#include "link/SerialTransport.h"
#include "link/TracingTransport.h"
#include "records/DeviceListFile.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

void CliRunner::FailurePrompt::message(const QString& text) {
    failed = true;
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    std::fputs(bytes.constData(), stderr);
}

bool CliRunner::FailurePrompt::askYesNo(const QString&, const QString&, bool) {
    return answer;
}

CliRunner::CliRunner(CliOptions options, QTextStream& out)
    : options_(std::move(options)), out_(out) {
    started_.start();
}

CliRunner::~CliRunner() = default;

int CliRunner::run() {
    if (options_.command == u"info")
        return info();
    if (options_.command == u"download")
        return download();
    if (options_.command == u"show")
        return show();
    if (options_.command == u"export")
        return exportCsv();
    if (options_.command == u"configure")
        return configure();
    if (options_.command == u"clear")
        return clear();
    if (options_.command == u"chart")
        return chart();
    if (options_.command == u"report")
        return report();
    if (options_.command == u"stats" || options_.command == u"plot") {
        const auto open = [this](const QString& path, MainSession** session) {
            const int status = openDataFile(path);
            *session = session_.get();
            return status;
        };
        return options_.command == u"stats"
                   ? AnalysisCommands::stats(options_.commandArguments, open, out_)
                   : AnalysisCommands::plot(options_.commandArguments, open);
    }
    return fail(QStringLiteral("unknown command: ") + options_.command);
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
    session_->languageOverride = options_.language;
    session_->FormShow();
    return !prompt_.failed;
}

bool CliRunner::waitFor(const std::function<bool()>& done) {
    const qint64 limit = qint64(options_.timeoutSeconds) * 1000;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || prompt_.failed || started_.elapsed() >= limit)
            loop.quit();
    });
    check.start(5);
    if (!done() && !prompt_.failed)
        loop.exec();
    return done() && !prompt_.failed;
}

int CliRunner::connect() {
    MainSession& s = *session_;
    const QString address =
        options_.address.isEmpty() ? DeviceListFile::firstEntry() : options_.address;
    if (address.isEmpty())
        return fail(s.text(Txt::NoAddress));
    s.Button2Click();
    if (!s.usb().UsbOpen)
        return CliOptions::LinkFailure;
    s.DeviceChosen(QStringLiteral("1"), address);
    s.Button3Click();

    // An attempt that reached the logger and fell back to phase 0 has timed out; a refused
    // link shows in the status bar.
    bool reachedLogger = false;
    const bool ready = waitFor([&] {
        reachedLogger = reachedLogger || s.link().Status_conexao >= 3;
        const QString& bt = s.view().StatusBar1[1];
        return s.link().Status_conexao == 6 || (reachedLogger && s.link().Status_conexao == 0) ||
               bt == s.text(Txt::BtConnectionError) || bt == s.text(Txt::BtConnectionFailed);
    });
    if (ready && s.link().Status_conexao == 6)
        return CliOptions::Success;
    if (prompt_.failed)
        return CliOptions::LinkFailure;
    if (s.link().Status_conexao == 0 && reachedLogger)
        return fail(s.text(Txt::LoggerNoAnswer));
    if (!s.view().StatusBar1[1].isEmpty() && s.link().BtState == 0)
        return fail(s.view().StatusBar1[1]);
    return fail(s.text(Txt::CommandTimedOut));
}

int CliRunner::disconnect() {
    MainSession& s = *session_;
    if (s.link().RemoteConnected) {
        s.Button3Click();
        if (!waitFor([&] { return !s.link().RemoteConnected && s.view().Button2.enabled; }))
            return prompt_.failed ? CliOptions::LinkFailure : fail(s.text(Txt::CommandTimedOut));
    }
    if (s.usb().UsbOpen)
        s.Button2Click();
    return CliOptions::Success;
}

int CliRunner::info() {
    if (!startSession())
        return CliOptions::LinkFailure;
    if (const int status = connect(); status != CliOptions::Success) {
        disconnect();
        return status;
    }
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
    return disconnect();
}
