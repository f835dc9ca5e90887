#pragma once

#include "MainViewState.h"
#include "Regional.h"
#include "Texts.h"
#include "Ticker.h"
#include "analysis/LimitStore.h"
#include "analysis/Statistics.h"
#include "records/LoggerInfo.h"
#include "records/RecordSet.h"
#include "records/RecordView.h"

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Clock;
class Prompt;
class SerialTransport;

enum class ReceiveModeKind { Frame = 0, Text = 1 };
enum class RecordOriginKind { Downloaded, FromFile };

// The one session of a run: the state shared by the main window's handlers, the interface
// transport, the record set and the three timers. Its public methods are the user actions
// and timer ticks; each changes the state, then the view, then tells the window.
class MainSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kRxBufferSize = 26000;

    struct Services {
        TimeBase& time;
        const Clock& clock;
        Prompt& prompt;
        std::unique_ptr<SerialTransport> transport;
        Regional regional;
    };

    explicit MainSession(Services services, QObject* parent = nullptr);
    ~MainSession() override;

    // --- shared state (names as the handlers know them) ---
    char UiLanguage = 'p';
    bool UsbOpen = false;
    int32_t UsbStatus = 0;
    ReceiveModeKind ReceiveMode = ReceiveModeKind::Frame;
    int BtState = 0;
    bool RemoteConnected = false;
    int32_t Status_conexao = 0;
    int32_t tempo_disp = 0;
    int32_t PioStep = 0;
    uint32_t RecordsReplyLength = 0;
    std::vector<uint8_t> RxBuffer;
    RecordOriginKind RecordOrigin = RecordOriginKind::Downloaded;
    bool RecordingRequested = false;

    LoggerInfo loggerInfo;
    FillState fill;

    std::unique_ptr<Ticker> Timer1; // PIO sequence
    std::unique_ptr<Ticker> Timer2; // receive poll
    std::unique_ptr<Ticker> Timer3; // supervision

    // A language given on the command line; 0 reads it from the settings file.
    char languageOverride = 0;

    // --- user actions and events ---
    // The main window is shown for the first time: settings, texts, initial state.
    void FormShow();
    // The interface button: opens or closes the USB interface.
    void Button2Click();
    // Run after a failed write anywhere: marks the interface closed and resets the controls.
    // `why` is the message shown.
    void LinkFailureReset(Txt why = Txt::UsbOpenFailed);
    // The port reported an error or hang-up (an adapter unplugged): as a failed write.
    void InterfaceLost();
    // The report data fields as the user types them (at most 50 characters each).
    void Edit3Change(const QString& text);
    void Edit4Change(const QString& text);
    void Edit5Change(const QString& text);
    // "Ativar registrar": recording is switched on at the next disconnect when checked.
    void CheckBox1Click(bool checked);

    // --- record set (records/RecordTable.cpp) ---
    // Writes the record grid's header row in the interface language and empties the rest.
    void ClearRecordSet();
    // Shows LoggerInfo in the instrument panel and the value header; cuts the table back.
    void ShowLoggerInfo();
    // Turns the records of a records reply into rows. `length` is the reply's own total
    // length (its bytes 3-4); only the whole records within the `received` bytes are
    // decoded. Returns false when the reply announced more than was received. A record whose
    // date or time cannot be converted stops it with a ConversionError.
    bool AppendRecords(const uint8_t* reply, uint32_t length, uint32_t received);
    // The configuration dialog's records field (Edit2) and measurements field (Edit1); every
    // configuration reply writes the logger's counts into them.
    struct {
        QString Edit2 = "10";
        QString Edit1 = "1";
    } TForm3;

    // --- configuration dialog (protocol/ConfigurationActions.cpp) ---
    // "Configurar": the poll reads frames; the window then shows the dialog.
    void Button4Click();
    // The dialog was shown or closed: status panel 2 is emptied.
    void ClearStatusPanel2();
    // Writes a configuration frame and starts the poll for the logger's answer. A failed
    // write marks the interface closed and says so, without the link-failure reset.
    void SendConfigurationFrame(const QByteArray& frame);
    // The session's time base, for the dialog's clock refresh.
    TimeBase& timeBase() { return time_; }

    // --- device choice (records/DeviceChoice.cpp) ---
    // The device list puts an entry's 1-based number and its address into "N°:" and "MAC:".
    void DeviceChosen(const QString& number, const QString& address);
    // "N°:" alone: 0 for an empty list; cleared while the list is being edited.
    void DeviceNumberSet(const QString& number);
    // The device list was shown: the remote button may be used.
    void DeviceListShown();
    // The device list closed with nothing pending: a chosen address turns Panel6 lime.
    void DeviceListClosed();

    // --- Bluetooth link (link/BleLink.cpp) ---
    // The remote button: connects to the logger at the "MAC:" address, or disconnects.
    void Button3Click();
    // "Selecionar": forces a new address check; the window then opens the device list.
    void Button7Click();
    void Timer1Timer(); // PIO sequence
    void Timer3Timer(); // supervision: time-outs, progress, re-arming of the poll
    // Seconds the module is given to answer the address check.
    static constexpr int kModuleAnswerSeconds = 3;
    // The disconnect sequence has run and waits for the module to drop the link.
    bool disconnecting() const { return disconnectPending_; }
    // Ends whatever the link to the logger is doing (the access still under way included)
    // with the disconnect sequence, unless it is already running. True while a disconnect
    // is under way.
    bool ReleaseLogger();

    // --- receive poll (protocol/ReceivePoll.cpp) ---
    static constexpr int kTextBufferSize = 36;
    QByteArray TextBuffer;  // the text of the last text-mode read
    uint32_t rxWaiting = 0; // waiting count of the last queue query
    uint32_t bytesRead = 0; // bytes of the last read
    void Timer2Timer();
    // Enables the poll once a whole records reply can be waiting.
    void RearmReceivePoll();

    // --- logger commands (protocol/LoggerCommands.cpp) ---
    void ReadLoggerConfiguration();
    void SendRecordingSwitch();
    void Button5Click(); // "Limpar"
    void ClearLoggerRecords();
    void Button6Click(); // "Carregar ": download every record
    // Save dialog's proposed name after a download ("yyyy_MM_dd_D00").
    QString defaultFileName;

    // --- printed reports (report/ReportActions.cpp) ---
    // The record report's variables "file", "file1" and "file2" (any case) from what the
    // window shows now; an unknown name gives an empty text.
    QString frxReport1GetValue(const QString& name) const;

    // --- chart window (chart/ChartActions.cpp) ---
    // "Gráfico": the chart window is about to be shown; the menu item is off meanwhile.
    void Grafico1Click();
    // The chart window closed: the menu item is back, unless the record set it showed was
    // cleared or replaced meanwhile (the timers keep running under the window).
    void ChartClosed();
    // Records the record set holds, as the chart counts them.
    int chartRecordTotal() const;

    // --- data files and CSV export (records/DataFileActions.cpp) ---
    // Asks the user for a file (a dialog, or a name given on the command line); an empty
    // path means the choice was cancelled.
    using FileChooser = std::function<QString()>;
    // "Salvar como...": checks the report fields, asks for a file, writes the record set.
    // The earlier file stays intact unless the whole new one was written.
    void Salvarcomo1Click(const FileChooser& chooseFile);
    // "Abrir...": clears the record set, asks for a file, reads it into the window.
    void Abrir1Click(const FileChooser& chooseFile);
    // "Exportar CSV...": the records of the table as CSV.
    void ExportarCsvClick(const FileChooser& chooseFile);
    // Names the save dialogs propose: the download's name ("Arqx" before any download), and
    // for CSV the data file shown or that same name.
    QString proposedDataFileName() const;
    QString proposedCsvName() const;
    // Record count of the data file last opened (its line 14): the records held while
    // RecordOrigin is FromFile.
    int fileRecordCount = 0;
    // Record lines the data file last opened announced (records and separators); fewer
    // were read when rowsWritten of `fill` is below it (a cut file, a NUL in it).
    int fileRowsAnnounced = 0;
    // The record dates of the data file last opened are month first (English interface).
    bool fileDatesMonthFirst = false;
    // "Exportar CSV..." follows the table: its caption, and enabled while it holds records.
    void refreshExportCsv();

    // --- unsaved records (app/UnsavedRecords.cpp) ---
    // The save dialog, for records saved on the way out of an action that clears them.
    FileChooser chooseSaveFile;
    // The table holds downloaded records that were not saved.
    bool recordsUnsaved() const { return unsavedRecords_; }
    // Run first by every action that clears the record set: unsaved records are saved,
    // discarded or kept as the user answers. True when the action may go on.
    bool mayClearRecords();

    // --- control states of the main window, one function per event ---
    void stateWindowShown();             // 1
    void stateUsbOpened();               // 2
    void stateUsbOpenFailed();           // 3
    void stateUsbClosed();               // 4
    void stateLinkFailureReset();        // 5
    void stateSelecting();               // 6
    void stateRemoteConnectStarted();    // 7
    void stateAlreadyLinked();           // 8
    void stateNewLink();                 // 9
    void stateLinkError();               // 10
    void stateLinkLost();                // 11
    void statePioAcknowledged();         // 12
    void stateAccessConfirmed();         // 13
    void stateConfigurationReceived();   // 14
    void stateDownloadFinished();        // 15
    void stateRemoteDisconnectStarted(); // 16
    void stateAccessTimedOut();          // 17
    void stateSendFailureConnecting();   // 18

    // --- analysis: statistics and limits over the typed view ---
    // The limits of the record set's quantity and unit.
    Limits limits() const;
    // Limits as the user typed them (empty: none); a text that is no number or a lower limit
    // above the upper one is refused with a message and the limits in use stay.
    bool setLimits(const QString& lower, const QString& upper);
    Statistics statistics() const;

    // The record table as typed values (dates with their year, values as numbers), built
    // again only after the table or what it is read with changed.
    const RecordView& recordView() const;

    const MainViewState& view() const { return view_; }
    RecordSet& records() { return records_; }
    const RecordSet& records() const { return records_; }
    SerialTransport& transport() { return *transport_; }
    Prompt& prompt() { return prompt_; }
    const Clock& clock() const { return clock_; }
    const Regional& regional() const { return regional_; }
    QString text(Txt id) const { return Texts::text(id, UiLanguage); }

    // Runs an action; a conversion error stops it and its message is shown, as the
    // toolkit's default handler would.
    void guarded(const std::function<void()>& action);

signals:
    void viewChanged();
    // What those who wait on the logger (the command line, tests) wait for.
    void linked();   // the module reports the link to the logger
    void unlinked(); // the link is gone: dropped, lost, or the interface closed
    void configurationRead();
    void downloadFinished(bool complete); // false: fewer records came than announced
    void loggerAnswered(int code);        // a reply frame with this command code was handled
    void failed(const QString& message);  // an action gave up; the message says why

private:
    // What the chart window was opened on, to tell whether the record set changed under it.
    struct ChartOpening {
        bool shown = false;
        LoggerInfo info;
        RecordOriginKind origin = RecordOriginKind::Downloaded;
        int rows = 0;
    } chartOpening_;

    // An "AT+ADDR?" is waiting for its answer; texts that arrive otherwise while the address
    // is unchecked (late PIO answers after a refused link) are not taken for it.
    bool addressCheckPending_ = false;
    // The disconnect sequence has run and waits for the module to drop the link.
    bool disconnectPending_ = false;
    // The table holds downloaded records not saved since.
    bool unsavedRecords_ = false;
    // The record set (and with it LoggerInfo) was cleared since the last configuration reply.
    bool configurationStale_ = false;
    // "Carregar " asked for the configuration first; its reply starts the download.
    bool downloadAfterConfiguration_ = false;
    // The module reported the link up ("OK+CONN", or linked at the address check).
    bool moduleLinked_ = false;

    void connectOrDisconnect();
    void enterLinkLost();
    void connectFailed();
    void sendFailed();
    void handleTextReply(const QByteArray& text);
    void dispatchFrame();
    void onAccessReply();
    void onConfigurationReply();
    void onRecordsReply();
    void onClearReply();
    void onConfigurationStored();
    void onRecordingSwitched();
    void writeBlock(const QByteArray& bytes);
    // The bytes waiting; false (after the lost-interface reset) when the port failed.
    bool queryQueue(uint32_t* waiting);
    QString deviceAddress() const { return view_.Edit7.text; }
    void updateDownloadProgress();
    void startDownload();
    void writeHeaderRow();

    void applyMainWindowTexts();
    void disableCheckBox(bool uncheck);
    void setRemoteDeviceButtons(bool on);
    void refreshValueMarks();
    void changed() {
        refreshExportCsv();
        refreshValueMarks();
        emit viewChanged();
    }
    // Shows a message box after the window has caught up with the state.
    void say(const QString& message);

    TimeBase& time_;
    const Clock& clock_;
    Prompt& prompt_;
    std::unique_ptr<SerialTransport> transport_;
    Regional regional_;
    MainViewState view_;
    RecordSet records_;
    mutable RecordViewCache recordView_;
    LimitStore limitStore_;
};
