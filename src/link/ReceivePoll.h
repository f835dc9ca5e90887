#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Ticker;
class TimeBase;
class UsbInterface;

enum class ReceiveModeKind { Frame = 0, Text = 1 };

// The receive poll (Timer2): reads what the interface has queued and hands it on, as module
// text or as a logger reply frame, as the receive mode says.
class ReceivePoll {
public:
    static constexpr int kRxBufferSize = 26000;
    static constexpr int kTextBufferSize = 36;

    ReceivePoll(TimeBase& time, UsbInterface& usb);
    ~ReceivePoll();

    ReceiveModeKind ReceiveMode = ReceiveModeKind::Frame;
    std::vector<uint8_t> RxBuffer;
    QByteArray TextBuffer;  // the text of the last text-mode read
    uint32_t bytesRead = 0; // bytes of the last read
    std::unique_ptr<Ticker> Timer2;

    // Where the poll hands what it read: a module text, or a frame in RxBuffer.
    std::function<void(const QByteArray&)> onText;
    std::function<void()> onFrame;
    // The port failed (an adapter unplugged): it is reset as after a failed write.
    std::function<void()> onInterfaceLost;

    void Timer2Timer();
    // Enables the poll once a whole reply of `replyLength` bytes can be waiting.
    void RearmReceivePoll(uint32_t replyLength);

private:
    // The bytes waiting; false (after the lost-interface reset) when the port failed.
    bool queryQueue(uint32_t* waiting);

    UsbInterface& usb_;
};
