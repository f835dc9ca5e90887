#pragma once

#include "SerialTransport.h"

#include <QByteArray>

struct ftdi_context;

// Direct access to the first FTDI device through libftdi, without the kernel's serial driver.
class FtdiTransport : public SerialTransport {
public:
    FtdiTransport();
    ~FtdiTransport() override;

    int32_t open(int index) override;
    void close() override;
    bool isOpen() const override { return open_; }
    int32_t setDataCharacteristics(int wordLength, int stopBits, int parity) override;
    int32_t setBaudRate(int baud) override;
    int32_t setTimeouts(int readMs, int writeMs) override;
    int32_t purge(int mask) override;
    int32_t write(const QByteArray& bytes, uint32_t* written) override;
    int32_t queueStatus(uint32_t* rxBytes) override;
    int32_t read(char* buffer, uint32_t max, uint32_t* got) override;
    QString description() const override;

private:
    // libftdi has no count of waiting bytes: whatever the chip holds is moved here first.
    int32_t drain();

    ftdi_context* ctx_ = nullptr;
    bool open_ = false;
    QByteArray pending_;
};
