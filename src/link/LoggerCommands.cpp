// The logger's commands (configuration request, download, recording switch, clear) and the
// handling of its replies.
#include "LoggerCommands.h"

#include "BleLink.h"
#include "ReceivePoll.h"
#include "UsbInterface.h"
#include "app/Clock.h"
#include "app/MainControls.h"
#include "app/Prompt.h"
#include "app/Ticker.h"
#include "protocol/LoggerFrame.h"
#include "protocol/LoggerReply.h"
#include "records/RecordTable.h"

#include <algorithm>
#include <utility>

LoggerCommands::LoggerCommands(Parts parts) : p_(parts) {}

MainViewState& LoggerCommands::view() {
    return p_.controls.view;
}

QString LoggerCommands::text(Txt id) const {
    return p_.controls.text(id);
}

void LoggerCommands::ReadLoggerConfiguration() {
    p_.link.tempo_disp = 0;
    p_.poll.ReceiveMode = ReceiveModeKind::Frame;
    p_.usb.write(LoggerFrame::readConfiguration());
    p_.poll.Timer2->start();
    view().StatusBar1[2] = text(Txt::LoadingConfiguration);
    if (p_.usb.UsbStatus != 0)
        p_.link.sendFailed();
}

void LoggerCommands::SendRecordingSwitch() {
    p_.poll.ReceiveMode = ReceiveModeKind::Frame;
    if (p_.usb.UsbStatus != 0)
        return;
    p_.link.tempo_disp = 0;
    p_.usb.write(LoggerFrame::recordingSwitch(p_.controls.RecordingRequested));
    view().StatusBar1[2] = text(Txt::RecordingSwitchSent);
}

void LoggerCommands::leaving() {
    downloadAfterConfiguration_ = false;
    SendRecordingSwitch();
}

void LoggerCommands::Button5Click() {
    p_.poll.ReceiveMode = ReceiveModeKind::Frame;
    p_.controls.changed();
    // Erasing the logger is never done without asking, whatever the language.
    if (!p_.prompt.askYesNo(text(Txt::ClearTitle), text(Txt::ClearQuestion), true) ||
        !p_.table.mayClearRecords())
        return;
    p_.table.ClearRecordSet();
    ClearLoggerRecords();
}

void LoggerCommands::ClearLoggerRecords() {
    p_.link.tempo_disp = 0;
    p_.usb.write(LoggerFrame::clearRecords());
    view().StatusBar1[2] = p_.usb.UsbStatus == 0 ? text(Txt::ClearingRecords) : QString();

    view().Grafico1.enabled = false;
    for (EditState* e : {&view().Edit1, &view().Edit3, &view().Edit4, &view().Edit5})
        e->text.clear();
    view().Label13.clear();
    view().Label14.clear();
    for (EditState* e : {&view().Edit3, &view().Edit4, &view().Edit5})
        e->readOnly = true;
    p_.table.loggerInfo.decimalsCode = 0;
    p_.table.loggerInfo.measurementType = 0;
    p_.table.loggerInfo.unitCode = 0;
    p_.table.loggerInfo.spareCode = 0;
    p_.table.RecordOrigin = RecordOriginKind::Downloaded;

    p_.table.records().setRowCountTotal(40);
    p_.table.records().clearBody();
    view().StringGrid1CurrentRow = 1;

    if (p_.usb.UsbStatus != 0) {
        p_.link.sendFailed();
        return;
    }
    // The poll is started for the answer: without it the reply would wait in the queue
    // until the next disconnect.
    p_.poll.Timer2->setInterval(180);
    p_.poll.Timer2->start();
    p_.controls.changed();
}

void LoggerCommands::Button6Click() {
    // Records are decoded with the logger's description (decimals, unit, measurements): once
    // the record set was cleared it is read again, and its reply starts the download.
    if (p_.table.configurationStale) {
        downloadAfterConfiguration_ = true;
        ReadLoggerConfiguration();
        p_.controls.changed();
        return;
    }
    startDownload();
}

void LoggerCommands::startDownload() {
    p_.poll.ReceiveMode = ReceiveModeKind::Frame;
    p_.link.tempo_disp = 0;
    view().StatusBar1[2] = text(Txt::Transferring);
    p_.poll.Timer2->setInterval(300);
    p_.usb.write(LoggerFrame::downloadRecords());
    if (p_.usb.UsbStatus != 0) {
        // The records on screen stay whole, with their row count, so they can still be saved.
        p_.link.sendFailed();
        return;
    }
    p_.table.RecordOrigin = RecordOriginKind::Downloaded;
    p_.table.fill = {};
    // The supervision re-arms the poll once the whole reply is queued; it was stopped by an
    // earlier download, so a repeated download starts it again.
    view().DownloadProgress = 0;
    p_.link.Timer3->start();
    p_.controls.changed();
}

void LoggerCommands::updateDownloadProgress() {
    if (view().DownloadProgress < 0)
        return;
    const uint32_t waiting = p_.usb.waiting();
    view().DownloadProgress =
        RecordsReplyLength == 0
            ? 0
            : int(std::min<uint64_t>(100, uint64_t(waiting) * 100 / RecordsReplyLength));
}

void LoggerCommands::onAccessReply() {
    p_.link.Status_conexao = 4;
    view().StatusBar1[2] = text(Txt::AccessConfirmed);
    p_.controls.RecordingRequested = false;
    view().CheckBox1.checked = false;
    p_.link.RemoteConnected = true;
    downloadAfterConfiguration_ = false;
    p_.controls.stateAccessConfirmed();
    ReadLoggerConfiguration();
    p_.controls.changed();
}

void LoggerCommands::onConfigurationReply() {
    const LoggerReply::Configuration reply = LoggerReply::configuration(p_.poll.RxBuffer.data());
    p_.table.loggerInfo = reply.info;
    RecordsReplyLength = reply.recordsReplyLength;
    p_.table.ShowLoggerInfo();

    p_.link.Status_conexao = 6;
    p_.poll.Timer2->setInterval(180);
    view().StatusBar1[2] = text(Txt::ConfigurationReceived);
    p_.controls.stateConfigurationReceived(p_.table.loggerInfo.storedMeasurements > 0);
    p_.poll.ReceiveMode = ReceiveModeKind::Text;
    p_.table.configurationStale = false;
    if (std::exchange(downloadAfterConfiguration_, false)) {
        if (p_.table.loggerInfo.storedMeasurements > 0)
            startDownload();
        else
            p_.controls.say(text(Txt::LoggerHoldsNoRecords));
    }
    p_.controls.changed();
    p_.controls.events.configurationRead();
}

void LoggerCommands::onRecordsReply() {
    RecordsReplyLength = LoggerReply::recordsLength(p_.poll.RxBuffer.data());
    view().DownloadProgress = -1;
    const bool complete =
        p_.table.AppendRecords(p_.poll.RxBuffer.data(), RecordsReplyLength, p_.poll.bytesRead);
    p_.table.unsavedRecords = p_.table.fill.lastRecordNumber > 0;
    p_.poll.ReceiveMode = ReceiveModeKind::Text;
    view().StatusBar1[2] = text(Txt::Done);
    p_.controls.stateDownloadFinished();
    p_.poll.Timer2->stop();
    p_.link.Timer3->stop();
    p_.link.tempo_disp = 0;
    const QDate today = p_.clock.now().date();
    view().Edit1.text = today.toString(QStringLiteral("dd/MM/yyyy"));
    defaultFileName = today.toString(QStringLiteral("yyyy_MM_dd")) + QStringLiteral("_D00");
    if (!complete)
        p_.controls.say(text(Txt::RecordsIncomplete));
    p_.controls.changed();
    p_.controls.events.downloadFinished(complete);
}

void LoggerCommands::onClearReply() {
    const bool hasRecords = p_.table.loggerInfo.storedMeasurements != 0;
    view().Button5.enabled = hasRecords;
    view().Button6.enabled = hasRecords;
    view().StatusBar1[2] = text(Txt::Done);
    p_.poll.ReceiveMode = ReceiveModeKind::Text;
    p_.controls.changed();
}

void LoggerCommands::onConfigurationStored() {
    view().StatusBar1[2] = text(Txt::Done);
    p_.poll.ReceiveMode = ReceiveModeKind::Text;
    p_.controls.changed();
}

void LoggerCommands::onRecordingSwitched() {
    p_.poll.ReceiveMode = ReceiveModeKind::Text;
    p_.controls.changed();
}

void LoggerCommands::SendConfigurationFrame(const QByteArray& frame) {
    p_.poll.ReceiveMode = ReceiveModeKind::Frame;
    view().StatusBar1[2].clear();
    p_.usb.write(frame);
    if (p_.usb.UsbStatus != 0) {
        // The dialog stays open over the main window; only the interface is marked closed.
        p_.usb.UsbOpen = false;
        p_.controls.say(text(Txt::SendFailed));
        return;
    }
    view().StatusBar1[2] = text(Txt::ConfigSent);
    // The poll is off once the connection is ready; without it the answer would wait in the
    // queue until the next disconnect.
    p_.poll.Timer2->setInterval(180);
    p_.poll.Timer2->start();
    p_.controls.changed();
}

void LoggerCommands::dispatchFrame() {
    const int code = LoggerReply::code(p_.poll.RxBuffer.data());
    switch (code) {
    case LoggerFrame::ReadConfiguration:
        // Only a reply that is not shorter than the bytes read, and complete.
        if (p_.poll.RxBuffer[0] < p_.poll.bytesRead ||
            p_.poll.bytesRead < LoggerReply::kConfigurationLength)
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
    p_.controls.events.loggerAnswered(code);
}
