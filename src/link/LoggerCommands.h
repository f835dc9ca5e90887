#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class BleLink;
class Clock;
class MainControls;
struct MainViewState;
enum class Txt;
class Prompt;
class ReceivePoll;
class RecordTable;
class UsbInterface;

// The logger's commands (configuration request, download, recording switch, clear,
// configuration frame) and the handling of its replies.
class LoggerCommands {
public:
    struct Parts {
        MainControls& controls;
        UsbInterface& usb;
        ReceivePoll& poll;
        BleLink& link;
        RecordTable& table;
        const Clock& clock;
        Prompt& prompt;
    };
    explicit LoggerCommands(Parts parts);

    uint32_t RecordsReplyLength = 0;
    // Save dialog's proposed name after a download ("yyyy_MM_dd_D00").
    QString defaultFileName;

    void ReadLoggerConfiguration();
    void SendRecordingSwitch();
    // The logger is being left: a download waiting for the configuration is dropped and
    // the recording switch goes out.
    void leaving();
    void Button5Click(); // "Limpar"
    void ClearLoggerRecords();
    void Button6Click(); // "Carregar ": download every record
    // Writes a configuration frame and starts the poll for the logger's answer. A failed
    // write marks the interface closed and says so, without the link-failure reset.
    void SendConfigurationFrame(const QByteArray& frame);
    // The share of the records reply already waiting, while a download shows its progress.
    void updateDownloadProgress();
    // A reply frame arrived in the poll's buffer.
    void dispatchFrame();

private:
    void startDownload();
    MainViewState& view();
    QString text(Txt id) const;
    void onAccessReply();
    void onConfigurationReply();
    void onRecordsReply();
    void onClearReply();
    void onConfigurationStored();
    void onRecordingSwitched();

    Parts p_;
    // "Carregar " asked for the configuration first; its reply starts the download.
    bool downloadAfterConfiguration_ = false;
};
