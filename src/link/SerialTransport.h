#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The operations the program uses on the USB interface chip. Every call returns a status:
// 0 is success, anything else a failure (the values follow the interface chip's driver).
class SerialTransport {
public:
    enum Status : int32_t {
        Ok = 0,
        InvalidHandle = 1,
        DeviceNotFound = 2,
        DeviceNotOpened = 3,
        IoError = 4,
    };
    enum Purge : int { PurgeRx = 1, PurgeTx = 2 };

    virtual ~SerialTransport() = default;

    virtual int32_t open(int index) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual int32_t setDataCharacteristics(int wordLength, int stopBits, int parity) = 0;
    virtual int32_t setBaudRate(int baud) = 0;
    virtual int32_t setTimeouts(int readMs, int writeMs) = 0;
    virtual int32_t purge(int mask) = 0;
    virtual int32_t write(const QByteArray& bytes, uint32_t* written) = 0;
    // Bytes waiting in the receive queue.
    virtual int32_t queueStatus(uint32_t* rxBytes) = 0;
    // Reads at most max bytes that are already waiting; never blocks for more.
    virtual int32_t read(char* buffer, uint32_t max, uint32_t* got) = 0;

    // What the user is told about this transport ("simulated board", a device path, ...).
    virtual QString description() const = 0;
    // Why the last failed call failed, in the system's words; empty when not known.
    virtual QString errorText() const { return {}; }
};
