#include "QtSerialTransport.h"

#include <QFile>
#include <QSerialPortInfo>

#ifdef Q_OS_UNIX
#include <poll.h>
#include <sys/stat.h>
#endif

namespace {

// The far end went away: a pseudo-terminal whose master closed reads end of file for ever,
// which the port takes for "no data" while its notifier keeps firing.
bool hungUp([[maybe_unused]] qintptr handle) {
#ifdef Q_OS_UNIX
    pollfd p{int(handle), POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
#else
    return false;
#endif
}

} // namespace

QtSerialTransport::QtSerialTransport(QString portPath) : path_(std::move(portPath)) {
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError && port_.isOpen())
            lose(port_.errorString());
    });
}

void QtSerialTransport::lose(const QString& reason) {
    lost_ = true;
    error_ = reason;
    port_.close();
}

QtSerialTransport::~QtSerialTransport() {
    close();
}

QString QtSerialTransport::findFtdiPort(int index) {
    int seen = 0;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.hasVendorIdentifier() && info.vendorIdentifier() == kFtdiVendorId) {
            if (seen++ == index)
                return info.systemLocation();
        }
    }
    return {};
}

int32_t QtSerialTransport::open(int index) {
    if (port_.isOpen())
        return InvalidHandle;
    lost_ = false;
    error_.clear();
    const QString location = path_.isEmpty() ? findFtdiPort(index) : path_;
    if (location.isEmpty()) {
        error_ = QStringLiteral("no FTDI serial port found");
        return DeviceNotFound;
    }
#ifdef Q_OS_UNIX
    // Only a character device can be a serial port; anything else would be opened and read
    // as a file (or block, for a FIFO).
    struct stat st {};
    if (::stat(QFile::encodeName(location).constData(), &st) != 0) {
        error_ = qt_error_string(errno);
        return DeviceNotFound;
    }
    if (!S_ISCHR(st.st_mode)) {
        error_ = QStringLiteral("not a serial device");
        return DeviceNotOpened;
    }
#endif
    port_.setPortName(location);
    if (!port_.open(QIODevice::ReadWrite)) {
        // Busy ports (locked by another program) and missing permission both land here.
        error_ = port_.errorString();
        return DeviceNotOpened;
    }
    return Ok;
}

void QtSerialTransport::close() {
    if (port_.isOpen())
        port_.close();
}

int32_t QtSerialTransport::setDataCharacteristics(int wordLength, int stopBits, int parity) {
    if (!port_.isOpen())
        return InvalidHandle;
    // The chip's codes: stop bits 0 = one, 2 = two; parity 0 none, 1 odd, 2 even.
    const bool ok =
        port_.setDataBits(static_cast<QSerialPort::DataBits>(wordLength)) &&
        port_.setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        port_.setParity(parity == 1   ? QSerialPort::OddParity
                        : parity == 2 ? QSerialPort::EvenParity
                                      : QSerialPort::NoParity) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    return ok ? Ok : IoError;
}

int32_t QtSerialTransport::setBaudRate(int baud) {
    if (!port_.isOpen())
        return InvalidHandle;
    return port_.setBaudRate(baud) ? Ok : IoError;
}

int32_t QtSerialTransport::setTimeouts(int, int) {
    // Reads here never block: they take only what is already waiting.
    return port_.isOpen() ? Ok : InvalidHandle;
}

int32_t QtSerialTransport::purge(int mask) {
    if (!port_.isOpen())
        return InvalidHandle;
    QSerialPort::Directions dirs;
    if (mask & PurgeRx)
        dirs |= QSerialPort::Input;
    if (mask & PurgeTx)
        dirs |= QSerialPort::Output;
    if (mask & PurgeRx)
        port_.readAll();
    return port_.clear(dirs) ? Ok : IoError;
}

int32_t QtSerialTransport::write(const QByteArray& bytes, uint32_t* written) {
    if (written)
        *written = 0;
    if (lost_)
        return IoError;
    if (!port_.isOpen())
        return InvalidHandle;
    const qint64 n = port_.write(bytes);
    if (n != bytes.size()) {
        error_ = port_.errorString();
        return IoError;
    }
    // Hand the block to the driver now, so that one command leaves as one block.
    port_.flush();
    if (written)
        *written = uint32_t(n);
    return Ok;
}

int32_t QtSerialTransport::queueStatus(uint32_t* rxBytes) {
    *rxBytes = 0;
    if (lost_)
        return IoError;
    if (!port_.isOpen())
        return InvalidHandle;
    // Pull whatever the driver holds into the port's buffer without waiting.
    port_.waitForReadyRead(0);
    if (!lost_ && hungUp(port_.handle())) {
        lose(QStringLiteral("the device hung up"));
    }
    if (lost_)
        return IoError;
    *rxBytes = uint32_t(std::min<qint64>(port_.bytesAvailable(), UINT32_MAX));
    return Ok;
}

int32_t QtSerialTransport::read(char* buffer, uint32_t max, uint32_t* got) {
    *got = 0;
    if (lost_)
        return IoError;
    if (!port_.isOpen())
        return InvalidHandle;
    const qint64 n = port_.read(buffer, max);
    if (n < 0)
        return IoError;
    *got = uint32_t(n);
    return Ok;
}

QString QtSerialTransport::description() const {
    return path_.isEmpty() ? QStringLiteral("first FTDI serial port") : path_;
}
