// The receive poll: reads what the interface has queued and hands it on, as module text or
// as a logger reply frame.
#include "app/MainSession.h"
#include "link/SerialTransport.h"
#include "protocol/LoggerFrame.h"

#include <algorithm>
#include <cstring>

bool MainSession::queryQueue(uint32_t* waiting) {
    if (transport_->queueStatus(waiting) == SerialTransport::Ok)
        return true;
    // Only an open interface can be lost; a closed one answers every call so.
    if (UsbOpen)
        InterfaceLost();
    return false;
}

void MainSession::Timer2Timer() {
    uint32_t waiting = 0;
    if (!queryQueue(&waiting))
        return;
    rxWaiting = waiting;
    const uint32_t count = std::min<uint32_t>(waiting, kRxBufferSize);
    if (count == 0)
        return;

    uint32_t got = 0;
    if (ReceiveMode == ReceiveModeKind::Text) {
        // The whole queue is taken, so that no stale text lingers into a later tick; a text
        // longer than the 36-byte buffer cannot be a module reply and is cut there.
        QByteArray bytes(count, Qt::Uninitialized);
        UsbStatus = transport_->read(bytes.data(), count, &got);
        bytesRead = got;
        if (UsbStatus != 0) {
            InterfaceLost();
            return;
        }
        TextBuffer = bytes.left(std::min<uint32_t>(got, kTextBufferSize));
        handleTextReply(TextBuffer);
        return;
    }

    auto* buffer = reinterpret_cast<char*>(RxBuffer.data());
    UsbStatus = transport_->read(buffer, count, &got);
    Timer2->stop();
    bytesRead = std::min<uint32_t>(got, kRxBufferSize);
    if (UsbStatus != 0) {
        InterfaceLost();
        return;
    }
    // Bytes of an older frame are never read as part of this one.
    std::memset(buffer + bytesRead, 0, kRxBufferSize - bytesRead);
    dispatchFrame();
}

void MainSession::dispatchFrame() {
    const int code = RxBuffer[1];
    switch (code) {
    case LoggerFrame::ReadConfiguration:
        // Only a reply that is not shorter than the bytes read, and complete.
        if (RxBuffer[0] < bytesRead || bytesRead < LoggerFrame::kConfigurationReplyLength)
            return;
        onConfigurationReply();
        break;
    case LoggerFrame::DownloadRecords:
        onRecordsReply();
        break;
    case LoggerFrame::ClearRecords:
        onClearReply();
        break;
    case LoggerFrame::SendConfiguration:
        onConfigurationStored();
        break;
    case LoggerFrame::RecordingSwitch:
        onRecordingSwitched();
        break;
    case LoggerFrame::AccessRequest:
        onAccessReply();
        break;
    default:
        return; // unknown code: ignored; the poll waits for the next re-arming
    }
    emit loggerAnswered(code);
}

void MainSession::RearmReceivePoll() {
    uint32_t waiting = 0;
    if (!queryQueue(&waiting))
        return;
    rxWaiting = waiting;
    if (waiting >= RecordsReplyLength)
        Timer2->start();
}
