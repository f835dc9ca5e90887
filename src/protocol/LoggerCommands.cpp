// The logger's commands (configuration request, download, recording switch, clear) and the
// handling of its replies.
#include "app/Clock.h"
#include "app/MainSession.h"
#include "app/Prompt.h"
#include "link/SerialTransport.h"
#include "protocol/LoggerFrame.h"

#include <utility>

namespace {

int word(const std::vector<uint8_t>& b, int at) {
    return (b[at] << 8) | b[at + 1];
}

} // namespace

void MainSession::ReadLoggerConfiguration() {
    tempo_disp = 0;
    ReceiveMode = ReceiveModeKind::Frame;
    writeBlock(LoggerFrame::command(LoggerFrame::ReadConfiguration));
    Timer2->start();
    view_.StatusBar1[2] = text(Txt::LoadingConfiguration);
    if (UsbStatus != 0)
        sendFailed();
}

void MainSession::SendRecordingSwitch() {
    ReceiveMode = ReceiveModeKind::Frame;
    if (UsbStatus != 0)
        return;
    const char parameter =
        RecordingRequested ? LoggerFrame::kRecordingOn : LoggerFrame::kRecordingOff;
    tempo_disp = 0;
    writeBlock(LoggerFrame::command(LoggerFrame::RecordingSwitch, parameter));
    view_.StatusBar1[2] = text(Txt::RecordingSwitchSent);
}

void MainSession::Button5Click() {
    ReceiveMode = ReceiveModeKind::Frame;
    changed();
    // Erasing the logger is never done without asking, whatever the language.
    if (!prompt_.askYesNo(text(Txt::ClearTitle), text(Txt::ClearQuestion), true) ||
        !mayClearRecords())
        return;
    ClearRecordSet();
    ClearLoggerRecords();
}

void MainSession::ClearLoggerRecords() {
    tempo_disp = 0;
    writeBlock(LoggerFrame::command(LoggerFrame::ClearRecords));
    view_.StatusBar1[2] = UsbStatus == 0 ? text(Txt::ClearingRecords) : QString();

    view_.Grafico1.enabled = false;
    for (EditState* e : {&view_.Edit1, &view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->text.clear();
    view_.Label13.clear();
    view_.Label14.clear();
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->readOnly = true;
    loggerInfo.decimalsCode = 0;
    loggerInfo.measurementType = 0;
    loggerInfo.unitCode = 0;
    loggerInfo.spareCode = 0;
    RecordOrigin = RecordOriginKind::Downloaded;

    records_.setRowCountTotal(40);
    records_.clearBody();
    view_.StringGrid1CurrentRow = 1;

    if (UsbStatus != 0) {
        sendFailed();
        return;
    }
    // The poll is started for the answer: without it the reply would wait in the queue
    // until the next disconnect.
    Timer2->setInterval(180);
    Timer2->start();
    changed();
}

void MainSession::Button6Click() {
    // Records are decoded with the logger's description (decimals, unit, measurements): once
    // the record set was cleared it is read again, and its reply starts the download.
    if (configurationStale_) {
        downloadAfterConfiguration_ = true;
        ReadLoggerConfiguration();
        changed();
        return;
    }
    startDownload();
}

void MainSession::startDownload() {
    ReceiveMode = ReceiveModeKind::Frame;
    tempo_disp = 0;
    view_.StatusBar1[2] = text(Txt::Transferring);
    Timer2->setInterval(300);
    writeBlock(LoggerFrame::command(LoggerFrame::DownloadRecords));
    if (UsbStatus != 0) {
        // The records on screen stay whole, with their row count, so they can still be saved.
        sendFailed();
        return;
    }
    RecordOrigin = RecordOriginKind::Downloaded;
    fill = {};
    // The supervision re-arms the poll once the whole reply is queued; it was stopped by an
    // earlier download, so a repeated download starts it again.
    view_.DownloadProgress = 0;
    Timer3->start();
    changed();
}

void MainSession::updateDownloadProgress() {
    if (view_.DownloadProgress < 0)
        return;
    uint32_t waiting = 0;
    transport_->queueStatus(&waiting);
    view_.DownloadProgress =
        RecordsReplyLength == 0
            ? 0
            : int(std::min<uint64_t>(100, uint64_t(waiting) * 100 / RecordsReplyLength));
}

void MainSession::onAccessReply() {
    Status_conexao = 4;
    view_.StatusBar1[2] = text(Txt::AccessConfirmed);
    RecordingRequested = false;
    view_.CheckBox1.checked = false;
    RemoteConnected = true;
    downloadAfterConfiguration_ = false;
    stateAccessConfirmed();
    ReadLoggerConfiguration();
    changed();
}

void MainSession::onConfigurationReply() {
    const std::vector<uint8_t>& b = RxBuffer;
    loggerInfo.storedMeasurements = b[2];
    RecordsReplyLength = uint32_t(word(b, 3));
    loggerInfo.decimalsCode = b[5];
    loggerInfo.measurementType = b[6];
    loggerInfo.unitCode = b[7];
    loggerInfo.spareCode = b[8];
    loggerInfo.rangeValue = word(b, 9);
    loggerInfo.equipmentNumber = word(b, 11);
    loggerInfo.recordsPerMeasurement = word(b, 22);
    loggerInfo.configuredMeasurements = b[25];
    ShowLoggerInfo();

    Status_conexao = 6;
    Timer2->setInterval(180);
    view_.StatusBar1[2] = text(Txt::ConfigurationReceived);
    stateConfigurationReceived();
    ReceiveMode = ReceiveModeKind::Text;
    configurationStale_ = false;
    if (std::exchange(downloadAfterConfiguration_, false)) {
        if (loggerInfo.storedMeasurements > 0)
            startDownload();
        else
            say(text(Txt::LoggerHoldsNoRecords));
    }
    changed();
    emit configurationRead();
}

void MainSession::onRecordsReply() {
    RecordsReplyLength = uint32_t(word(RxBuffer, 3));
    view_.DownloadProgress = -1;
    const bool complete = AppendRecords(RxBuffer.data(), RecordsReplyLength, bytesRead);
    unsavedRecords_ = fill.lastRecordNumber > 0;
    ReceiveMode = ReceiveModeKind::Text;
    view_.StatusBar1[2] = text(Txt::Done);
    stateDownloadFinished();
    Timer2->stop();
    Timer3->stop();
    tempo_disp = 0;
    const QDate today = clock_.now().date();
    view_.Edit1.text = today.toString(QStringLiteral("dd/MM/yyyy"));
    defaultFileName = today.toString(QStringLiteral("yyyy_MM_dd")) + QStringLiteral("_D00");
    if (!complete)
        say(text(Txt::RecordsIncomplete));
    changed();
    emit downloadFinished(complete);
}

void MainSession::onClearReply() {
    const bool hasRecords = loggerInfo.storedMeasurements != 0;
    view_.Button5.enabled = hasRecords;
    view_.Button6.enabled = hasRecords;
    view_.StatusBar1[2] = text(Txt::Done);
    ReceiveMode = ReceiveModeKind::Text;
    changed();
}

void MainSession::onConfigurationStored() {
    view_.StatusBar1[2] = text(Txt::Done);
    ReceiveMode = ReceiveModeKind::Text;
    changed();
}

void MainSession::onRecordingSwitched() {
    ReceiveMode = ReceiveModeKind::Text;
    changed();
}
