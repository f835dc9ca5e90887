#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class MainControls;
struct MainViewState;
enum class Txt;
class ReceivePoll;
class Ticker;
class TimeBase;
class UsbInterface;

// The connection to the logger through the Bluetooth module: the address check, the link,
// the PIO sequence that wakes the logger (Timer1), the supervision of time-outs and
// progress (Timer3), and the module's replies.
class BleLink {
public:
    BleLink(TimeBase& time, MainControls& controls, UsbInterface& usb, ReceivePoll& poll);
    ~BleLink();

    int BtState = 0; // 0 address unchecked, 1 module linked to the address, 2 link to be made
    bool RemoteConnected = false;
    int32_t Status_conexao = 0;
    int32_t tempo_disp = 0;
    int32_t PioStep = 0;
    std::unique_ptr<Ticker> Timer1; // PIO sequence
    std::unique_ptr<Ticker> Timer3; // supervision

    // What the link asks of the rest of the session.
    struct Hooks {
        // A disconnect starts: the recording switch goes out and the record set is cleared.
        std::function<void()> disconnecting;
        // Each supervision tick after the time-outs: progress and the poll's re-arming.
        std::function<void()> supervised;
        // A write failed: the interface is reset.
        std::function<void()> linkFailure;
        // Unsaved records are asked for before an action that clears them; true when it may
        // go on.
        std::function<bool()> mayClearRecords;
    } hooks;

    // The remote button: connects to the logger at the "MAC:" address, or disconnects.
    void Button3Click();
    // "Selecionar": forces a new address check.
    void Button7Click();
    void Timer1Timer();
    void Timer3Timer();
    // A text the module sent.
    void handleTextReply(const QByteArray& reply);

    // A write failed: the message, then the link-failure reset.
    void sendFailed();
    // Seconds the module is given to answer the address check.
    static constexpr int kModuleAnswerSeconds = 3;
    // The disconnect sequence has run and waits for the module to drop the link.
    bool disconnecting() const { return disconnectPending_; }
    // Ends whatever the link to the logger is doing (the access still under way included)
    // with the disconnect sequence, unless it is already running. True while a disconnect
    // is under way.
    bool ReleaseLogger();
    // Back to the state of a window just shown.
    void reset();
    // The interface was closed by its button: nothing may still write to it.
    void interfaceClosed();
    // The link-failure reset: nothing is pending and the logger counts as disconnected.
    void failureReset();

private:
    MainViewState& view();
    QString text(Txt id) const;
    void connectOrDisconnect();
    void connectFailed();
    void enterLinkLost();
    QString deviceAddress() const;

    MainControls& controls_;
    UsbInterface& usb_;
    ReceivePoll& poll_;
    // An "AT+ADDR?" is waiting for its answer; texts that arrive otherwise while the address
    // is unchecked (late PIO answers after a refused link) are not taken for it.
    bool addressCheckPending_ = false;
    // The disconnect sequence has run and waits for the module to drop the link.
    bool disconnectPending_ = false;
    // The module reported the link up ("OK+CONN", or linked at the address check).
    bool moduleLinked_ = false;
};
