#pragma once

#include <QByteArray>

#include <cstdint>
#include <memory>

class SerialTransport;

// The USB interface chip: whether it is open and the status of the last operation on it.
// Every write and read of the program goes through here, so that a failure is seen.
class UsbInterface {
public:
    explicit UsbInterface(std::unique_ptr<SerialTransport> transport);
    ~UsbInterface();

    bool UsbOpen = false;
    int32_t UsbStatus = 0;

    // Opens the first device and sets the line up (9600 baud, 8N1, short timeouts, queues
    // purged); the results of the set-up are not examined. False when it cannot be opened.
    bool open();
    // Closes the device; the interface counts as closed.
    void close();
    // Writes one block; UsbStatus tells how it went.
    void write(const QByteArray& bytes);
    // Bytes waiting in the receive queue.
    uint32_t waiting();
    // Bytes waiting in the receive queue; false when the port failed to tell.
    bool queryQueue(uint32_t* waiting);
    // Reads up to max bytes; UsbStatus tells how it went. Returns the bytes read.
    uint32_t read(char* buffer, uint32_t max);

    SerialTransport& transport() { return *transport_; }

private:
    std::unique_ptr<SerialTransport> transport_;
};
