#pragma once

#include "SerialTransport.h"

#include <functional>
#include <memory>

class TimeBase;

// Passes every call on to another transport and reports each block written and each
// non-empty read, in hex with a time stamp in milliseconds.
class TracingTransport : public SerialTransport {
public:
    using Sink = std::function<void(const QString& line)>;

    TracingTransport(std::unique_ptr<SerialTransport> inner, const TimeBase& time, Sink sink);

    int32_t open(int index) override;
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    int32_t setDataCharacteristics(int w, int s, int p) override {
        return inner_->setDataCharacteristics(w, s, p);
    }
    int32_t setBaudRate(int baud) override { return inner_->setBaudRate(baud); }
    int32_t setTimeouts(int r, int w) override { return inner_->setTimeouts(r, w); }
    int32_t purge(int mask) override { return inner_->purge(mask); }
    int32_t write(const QByteArray& bytes, uint32_t* written) override;
    int32_t queueStatus(uint32_t* rxBytes) override { return inner_->queueStatus(rxBytes); }
    int32_t read(char* buffer, uint32_t max, uint32_t* got) override;
    QString description() const override { return inner_->description(); }
    QString errorText() const override { return inner_->errorText(); }

    // "   12.345 > 41 54" style line, as the sink receives it.
    static QString line(qint64 ms, char direction, QByteArrayView bytes, int32_t status);

private:
    std::unique_ptr<SerialTransport> inner_;
    const TimeBase& time_;
    Sink sink_;
};
