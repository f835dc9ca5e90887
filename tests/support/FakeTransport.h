#pragma once

#include "link/SerialTransport.h"

#include <QByteArray>
#include <QList>

// A scripted interface: records every call and write, fails where told, and hands out the
// bytes a test queues as if they had arrived.
class FakeTransport : public SerialTransport {
public:
    struct Log {
        QStringList calls;
        QList<QByteArray> writes;
    };

    // Shared with the test after the session takes ownership of the transport.
    explicit FakeTransport(Log* log) : log_(log) {}

    int32_t openStatus = Ok;
    int failWritesFrom = -1; // index of the first write that fails; -1 never
    bool lost = false;       // the device went away: queries and reads fail
    QByteArray incoming;

    int32_t open(int index) override {
        log_->calls << QStringLiteral("open %1").arg(index);
        open_ = openStatus == Ok;
        return openStatus;
    }
    void close() override {
        log_->calls << QStringLiteral("close");
        open_ = false;
    }
    bool isOpen() const override { return open_; }
    int32_t setDataCharacteristics(int w, int s, int p) override {
        log_->calls << QStringLiteral("data %1 %2 %3").arg(w).arg(s).arg(p);
        return Ok;
    }
    int32_t setBaudRate(int baud) override {
        log_->calls << QStringLiteral("baud %1").arg(baud);
        return Ok;
    }
    int32_t setTimeouts(int r, int w) override {
        log_->calls << QStringLiteral("timeouts %1 %2").arg(r).arg(w);
        return Ok;
    }
    int32_t purge(int mask) override {
        log_->calls << QStringLiteral("purge %1").arg(mask);
        return Ok;
    }
    int32_t write(const QByteArray& bytes, uint32_t* written) override {
        const int index = int(log_->writes.size());
        log_->writes << bytes;
        const bool fail = !open_ || (failWritesFrom >= 0 && index >= failWritesFrom);
        if (written)
            *written = fail ? 0 : uint32_t(bytes.size());
        return fail ? IoError : Ok;
    }
    int32_t queueStatus(uint32_t* rx) override {
        *rx = lost ? 0 : uint32_t(incoming.size());
        return lost ? IoError : open_ ? Ok : InvalidHandle;
    }
    int32_t read(char* buffer, uint32_t max, uint32_t* got) override {
        const auto n = std::min<qsizetype>(incoming.size(), max);
        std::copy_n(incoming.constData(), n, buffer);
        incoming.remove(0, n);
        *got = uint32_t(n);
        return Ok;
    }
    QString description() const override { return QStringLiteral("fake"); }

private:
    Log* log_;
    bool open_ = false;
};
