#include "FtdiTransport.h"

#include <ftdi.h>

FtdiTransport::FtdiTransport() : ctx_(ftdi_new()) {}

FtdiTransport::~FtdiTransport() {
    close();
    if (ctx_)
        ftdi_free(ctx_);
}

int32_t FtdiTransport::open(int index) {
    if (!ctx_)
        return DeviceNotOpened;
    if (open_)
        return InvalidHandle;
    ftdi_device_list* list = nullptr;
    // Vendor and product 0: the usual FTDI chips.
    const int count = ftdi_usb_find_all(ctx_, &list, 0, 0);
    int32_t status = DeviceNotFound;
    if (count > index) {
        ftdi_device_list* entry = list;
        for (int i = 0; i < index; ++i)
            entry = entry->next;
        status = ftdi_usb_open_dev(ctx_, entry->dev) == 0 ? Ok : DeviceNotOpened;
    }
    ftdi_list_free(&list);
    open_ = status == Ok;
    pending_.clear();
    return status;
}

void FtdiTransport::close() {
    if (open_)
        ftdi_usb_close(ctx_);
    open_ = false;
    pending_.clear();
}

int32_t FtdiTransport::setDataCharacteristics(int wordLength, int stopBits, int parity) {
    if (!open_)
        return InvalidHandle;
    const auto bits = wordLength == 7 ? BITS_7 : BITS_8;
    const auto stop = stopBits == 2 ? STOP_BIT_2 : STOP_BIT_1;
    const auto par = parity == 1 ? ODD : parity == 2 ? EVEN : NONE;
    return ftdi_set_line_property(ctx_, bits, stop, par) == 0 ? Ok : IoError;
}

int32_t FtdiTransport::setBaudRate(int baud) {
    if (!open_)
        return InvalidHandle;
    return ftdi_set_baudrate(ctx_, baud) == 0 ? Ok : IoError;
}

int32_t FtdiTransport::setTimeouts(int readMs, int writeMs) {
    if (!open_)
        return InvalidHandle;
    // A zero write time-out means "no time-out" to the chip's driver; libusb reads 0 the same way.
    ctx_->usb_read_timeout = std::max(readMs, 1);
    ctx_->usb_write_timeout = writeMs;
    return Ok;
}

int32_t FtdiTransport::purge(int mask) {
    if (!open_)
        return InvalidHandle;
    int rc = 0;
    if (mask & PurgeRx) {
        pending_.clear();
        rc |= ftdi_tciflush(ctx_);
    }
    if (mask & PurgeTx)
        rc |= ftdi_tcoflush(ctx_);
    return rc == 0 ? Ok : IoError;
}

int32_t FtdiTransport::write(const QByteArray& bytes, uint32_t* written) {
    if (written)
        *written = 0;
    if (!open_)
        return InvalidHandle;
    const int n = ftdi_write_data(ctx_, reinterpret_cast<const unsigned char*>(bytes.constData()),
                                  int(bytes.size()));
    if (n < 0)
        return IoError;
    if (written)
        *written = uint32_t(n);
    return n == bytes.size() ? Ok : IoError;
}

int32_t FtdiTransport::drain() {
    unsigned char chunk[512];
    for (;;) {
        const int n = ftdi_read_data(ctx_, chunk, sizeof chunk);
        if (n < 0)
            return IoError;
        if (n == 0)
            return Ok;
        pending_.append(reinterpret_cast<const char*>(chunk), n);
    }
}

int32_t FtdiTransport::queueStatus(uint32_t* rxBytes) {
    *rxBytes = 0;
    if (!open_)
        return InvalidHandle;
    const int32_t status = drain();
    *rxBytes = uint32_t(pending_.size());
    return status;
}

int32_t FtdiTransport::read(char* buffer, uint32_t max, uint32_t* got) {
    *got = 0;
    if (!open_)
        return InvalidHandle;
    if (pending_.size() < qsizetype(max)) {
        if (const int32_t status = drain(); status != Ok)
            return status;
    }
    const auto n = std::min<qsizetype>(pending_.size(), max);
    std::copy_n(pending_.constData(), n, buffer);
    pending_.remove(0, n);
    *got = uint32_t(n);
    return Ok;
}

QString FtdiTransport::description() const {
    return QStringLiteral("FTDI device 0 (libftdi)");
}
