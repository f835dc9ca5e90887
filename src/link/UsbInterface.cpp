#include "UsbInterface.h"

#include "SerialTransport.h"

UsbInterface::UsbInterface(std::unique_ptr<SerialTransport> transport)
    : transport_(std::move(transport)) {}

UsbInterface::~UsbInterface() = default;

bool UsbInterface::open() {
    UsbStatus = transport_->open(0);
    if (UsbStatus != SerialTransport::Ok) {
        UsbOpen = false;
        return false;
    }
    UsbOpen = true;
    transport_->setDataCharacteristics(8, 0, 0);
    transport_->setBaudRate(9600);
    transport_->setTimeouts(1, 0);
    transport_->purge(SerialTransport::PurgeRx | SerialTransport::PurgeTx);
    return true;
}

void UsbInterface::close() {
    transport_->close();
    UsbOpen = false;
}

void UsbInterface::write(const QByteArray& bytes) {
    uint32_t written = 0;
    UsbStatus = transport_->write(bytes, &written);
}

uint32_t UsbInterface::waiting() {
    uint32_t count = 0;
    transport_->queueStatus(&count);
    return count;
}

bool UsbInterface::queryQueue(uint32_t* waiting) {
    return transport_->queueStatus(waiting) == SerialTransport::Ok;
}

uint32_t UsbInterface::read(char* buffer, uint32_t max) {
    uint32_t got = 0;
    UsbStatus = transport_->read(buffer, max, &got);
    return got;
}
