#pragma once

#include "MainViewState.h"
#include "Regional.h"
#include "Texts.h"
#include "Ticker.h"
#include "records/LoggerInfo.h"
#include "records/RecordSet.h"

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

    // --- user actions and events ---
    // The main window is shown for the first time: settings, texts, initial state.
    void FormShow();
    // The interface button: opens or closes the USB interface.
    void Button2Click();
    // Run after a failed write anywhere: marks the interface closed and resets the controls.
    void LinkFailureReset();
    // The report data fields as the user types them (at most 50 characters each).
    void Edit3Change(const QString& text);
    void Edit4Change(const QString& text);
    void Edit5Change(const QString& text);
    // "Ativar registrar": recording is switched on at the next disconnect when checked.
    void CheckBox1Click(bool checked);
    // Writes the record grid's header row in the interface language and empties the rest.
    void ClearRecordSet();

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

private:
    void applyMainWindowTexts();
    void disableCheckBox(bool uncheck);
    void setRemoteDeviceButtons(bool on);
    void changed() { emit viewChanged(); }
    // Shows a message box after the window has caught up with the state.
    void say(const QString& message);

    TimeBase& time_;
    const Clock& clock_;
    Prompt& prompt_;
    std::unique_ptr<SerialTransport> transport_;
    Regional regional_;
    MainViewState view_;
    RecordSet records_;
};
