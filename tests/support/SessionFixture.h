#pragma once

#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/ManualClock.h"
#include "support/FakeTransport.h"
#include "support/RecordingPrompt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

// A session on virtual time in a scratch folder, with a scripted transport (or any other).
struct SessionFixture {
    // Makes the transport once the fixture's clock exists.
    using TransportMaker = std::function<std::unique_ptr<SerialTransport>(TimeBase&)>;

    explicit SessionFixture(char language = 0, const TransportMaker& makeTransport = {}) {
        QDir::setCurrent(dir.path());
        if (language) {
            QFile f(QStringLiteral("prg.IDO"));
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray(1, language));
        }
        std::unique_ptr<SerialTransport> transport;
        if (makeTransport) {
            transport = makeTransport(time);
        } else {
            auto t = std::make_unique<FakeTransport>(&log);
            fake = t.get();
            transport = std::move(t);
        }
        session = std::make_unique<MainSession>(
            MainSession::Services{time, clock, prompt, std::move(transport), Regional{}});
    }
    ~SessionFixture() { QDir::setCurrent(QDir::tempPath()); }

    MainSession& s() { return *session; }
    const MainViewState& v() const { return session->view(); }

    QTemporaryDir dir;
    ManualClock time;
    FixedClock clock{QDateTime(QDate(2025, 12, 9), QTime(14, 5, 30))};
    RecordingPrompt prompt;
    FakeTransport::Log log;
    FakeTransport* fake = nullptr;
    std::unique_ptr<MainSession> session;
};
