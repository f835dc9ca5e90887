#include "ReceivePoll.h"

#include "UsbInterface.h"
#include "app/Ticker.h"
#include "protocol/LoggerReply.h"

#include <algorithm>
#include <cstring>

static_assert(ReceivePoll::kRxBufferSize == LoggerReply::kLongestReply);

ReceivePoll::ReceivePoll(TimeBase& time, UsbInterface& usb)
    : RxBuffer(kRxBufferSize, 0), Timer2(time.createTicker()), usb_(usb) {
    Timer2->setInterval(180);
}

ReceivePoll::~ReceivePoll() = default;

bool ReceivePoll::queryQueue(uint32_t* waiting) {
    if (usb_.queryQueue(waiting))
        return true;
    // Only an open interface can be lost; a closed one answers every call so.
    if (usb_.UsbOpen)
        onInterfaceLost();
    return false;
}

void ReceivePoll::Timer2Timer() {
    uint32_t waiting = 0;
    if (!queryQueue(&waiting))
        return;
    const uint32_t count = std::min<uint32_t>(waiting, kRxBufferSize);
    if (count == 0)
        return;

    if (ReceiveMode == ReceiveModeKind::Text) {
        // The whole queue is taken, so that no stale text lingers into a later tick; a text
        // longer than the 36-byte buffer cannot be a module reply and is cut there.
        QByteArray bytes(count, Qt::Uninitialized);
        bytesRead = usb_.read(bytes.data(), count);
        if (usb_.UsbStatus != 0) {
            onInterfaceLost();
            return;
        }
        TextBuffer = bytes.left(std::min<uint32_t>(bytesRead, kTextBufferSize));
        if (onText)
            onText(TextBuffer);
        return;
    }

    auto* buffer = reinterpret_cast<char*>(RxBuffer.data());
    const uint32_t got = usb_.read(buffer, count);
    Timer2->stop();
    bytesRead = std::min<uint32_t>(got, kRxBufferSize);
    if (usb_.UsbStatus != 0) {
        onInterfaceLost();
        return;
    }
    // Bytes of an older frame are never read as part of this one.
    std::memset(buffer + bytesRead, 0, kRxBufferSize - bytesRead);
    if (onFrame)
        onFrame();
}

void ReceivePoll::RearmReceivePoll(uint32_t replyLength) {
    uint32_t waiting = 0;
    if (!queryQueue(&waiting))
        return;
    if (waiting >= replyLength)
        Timer2->start();
}
