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

void ReceivePoll::Timer2Timer() {
    const uint32_t count = std::min<uint32_t>(usb_.waiting(), kRxBufferSize);
    if (count == 0)
        return;

    if (ReceiveMode == ReceiveModeKind::Text) {
        // The whole queue is taken, so that no stale text lingers into a later tick; a text
        // longer than the 36-byte buffer cannot be a module reply and is cut there.
        QByteArray bytes(count, Qt::Uninitialized);
        bytesRead = usb_.read(bytes.data(), count);
        if (usb_.UsbStatus != 0)
            return;
        TextBuffer = bytes.left(std::min<uint32_t>(bytesRead, kTextBufferSize));
        if (onText)
            onText(TextBuffer);
        return;
    }

    auto* buffer = reinterpret_cast<char*>(RxBuffer.data());
    const uint32_t got = usb_.read(buffer, count);
    Timer2->stop();
    bytesRead = std::min<uint32_t>(got, kRxBufferSize);
    if (usb_.UsbStatus != 0)
        return;
    // Bytes of an older frame are never read as part of this one.
    std::memset(buffer + bytesRead, 0, kRxBufferSize - bytesRead);
    if (onFrame)
        onFrame();
}

void ReceivePoll::RearmReceivePoll(uint32_t replyLength) {
    if (usb_.waiting() >= replyLength)
        Timer2->start();
}
