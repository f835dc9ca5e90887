#pragma once

#include "SerialTransport.h"

#include <QSerialPort>

// A serial port through Qt: the first port whose USB vendor id is FTDI's (0x0403), or a
// given device path (any tty, a pseudo-terminal included).
class QtSerialTransport : public SerialTransport {
public:
    static constexpr quint16 kFtdiVendorId = 0x0403;

    explicit QtSerialTransport(QString portPath = {});
    ~QtSerialTransport() override;

    int32_t open(int index) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    int32_t setDataCharacteristics(int wordLength, int stopBits, int parity) override;
    int32_t setBaudRate(int baud) override;
    int32_t setTimeouts(int readMs, int writeMs) override;
    int32_t purge(int mask) override;
    int32_t write(const QByteArray& bytes, uint32_t* written) override;
    int32_t queueStatus(uint32_t* rxBytes) override;
    int32_t read(char* buffer, uint32_t max, uint32_t* got) override;
    QString description() const override;
    QString errorText() const override { return error_; }

    // The system name of the index-th FTDI port, or an empty string.
    static QString findFtdiPort(int index);

private:
    // An error that ends the port's use (the device went away): the port is closed at once,
    // so that its notifier does not keep firing on a dead descriptor, and every later call
    // fails.
    void lose(const QString& reason);

    QString path_;
    QSerialPort port_;
    QString error_;
    bool lost_ = false;
};
