// The connection to the logger through the Bluetooth module: address check, link, PIO
// sequence, supervision and the module's replies.
#include "BleLink.h"

#include "ReceivePoll.h"
#include "UsbInterface.h"
#include "app/MainControls.h"
#include "app/Ticker.h"
#include "protocol/LoggerFrame.h"
#include "protocol/ModuleText.h"

namespace {

// "AT+CON" and the address are composed in a 20-byte buffer with its terminating zero.
constexpr int kMaxAddressLength = 13;

} // namespace

BleLink::BleLink(TimeBase& time, MainControls& controls, UsbInterface& usb, ReceivePoll& poll)
    : Timer1(time.createTicker()), Timer3(time.createTicker()), controls_(controls), usb_(usb),
      poll_(poll) {
    Timer1->setInterval(400);
    Timer3->setInterval(1000);
}

BleLink::~BleLink() = default;

MainViewState& BleLink::view() {
    return controls_.view;
}

QString BleLink::text(Txt id) const {
    return controls_.text(id);
}

QString BleLink::deviceAddress() const {
    return controls_.view.Edit7.text;
}

void BleLink::reset() {
    BtState = 0;
    RemoteConnected = false;
    moduleLinked_ = false;
    Status_conexao = 0;
    tempo_disp = 0;
    PioStep = 0;
}

void BleLink::interfaceClosed() {
    moduleLinked_ = false;
    addressCheckPending_ = false;
    disconnectPending_ = false;
    // A PIO sequence still running after a refused link would write to the closed device.
    Timer1->stop();
    Timer3->stop();
}

void BleLink::failureReset() {
    moduleLinked_ = false;
    addressCheckPending_ = false;
    disconnectPending_ = false;
    Timer3->stop();
    RemoteConnected = false;
}

void BleLink::Button3Click() {
    // A second click while the disconnect sequence runs sends nothing more.
    if (disconnectPending_ && Timer1->isActive())
        return;
    if (!RemoteConnected && usb_.UsbStatus == 0 && BtState != 1) {
        // Refuse an address that cannot be sent before anything goes out.
        const QString address = deviceAddress();
        if (address.isEmpty() || address.size() > kMaxAddressLength) {
            controls_.say(text(address.isEmpty() ? Txt::NoAddress : Txt::AddressTooLong));
            return;
        }
    }
    // Disconnecting clears the record set, and so does the configuration reply of a new
    // connection. The link may have changed while the question was open.
    const bool connected = RemoteConnected;
    if (!hooks.mayClearRecords() || RemoteConnected != connected)
        return;
    connectOrDisconnect();
    controls_.changed();
}

void BleLink::Button7Click() {
    BtState = 0;
    controls_.changed();
}

void BleLink::connectOrDisconnect() {
    if (RemoteConnected) {
        controls_.stateRemoteDisconnectStarted();
        disconnectPending_ = true;
        view().DownloadProgress = -1;
        hooks.disconnecting();
        poll_.ReceiveMode = ReceiveModeKind::Text;
        PioStep = 5;
        tempo_disp = 0;
        poll_.Timer2->setInterval(180);
        poll_.Timer2->start();
        Timer1->setInterval(500);
        Timer1->start();
    } else if (usb_.UsbStatus != 0) {
        // An earlier write failed: straight to the failure branch below.
    } else if (BtState == 0) {
        poll_.ReceiveMode = ReceiveModeKind::Text;
        PioStep = 0;
        controls_.stateRemoteConnectStarted();
        usb_.write(ModuleText::addressQuery());
        addressCheckPending_ = usb_.UsbStatus == 0;
        tempo_disp = 0;
        poll_.Timer2->setInterval(180);
        poll_.Timer2->start();
        Timer3->start();
    } else if (BtState == 1) {
        view().StatusBar1[1] = text(Txt::BtConnected) + deviceAddress();
        view().StatusBar1[2] = text(Txt::Accessing);
        controls_.stateAlreadyLinked();
        Timer1->setInterval(180);
        Timer1->start();
        moduleLinked_ = true;
        controls_.events.linked();
    } else {
        const QByteArray address = deviceAddress().toLatin1();
        if (address.isEmpty() || address.size() > kMaxAddressLength) {
            // The address changed while the check was under way: nothing can be sent.
            view().Button2.enabled = true;
            controls_.say(text(address.isEmpty() ? Txt::NoAddress : Txt::AddressTooLong));
            return;
        }
        controls_.stateRemoteConnectStarted();
        if (usb_.UsbStatus == 0) {
            poll_.ReceiveMode = ReceiveModeKind::Text;
            PioStep = 0;
            usb_.write(ModuleText::connectTo(address));
            tempo_disp = 0;
            poll_.Timer2->setInterval(180);
            poll_.Timer2->start();
            Timer1->setInterval(500);
            Timer1->start();
        }
    }
    if (usb_.UsbStatus != 0)
        connectFailed();
}

void BleLink::connectFailed() {
    poll_.ReceiveMode = ReceiveModeKind::Frame;
    Timer1->stop();
    poll_.Timer2->stop();
    Timer3->stop();
    usb_.UsbOpen = false;
    view().StatusBar1[1].clear();
    view().StatusBar1[2].clear();
    view().DownloadProgress = -1;
    controls_.stateSendFailureConnecting();
    sendFailed();
}

void BleLink::sendFailed() {
    controls_.say(text(Txt::SendFailed));
    hooks.linkFailure();
}

void BleLink::handleTextReply(const QByteArray& reply) {
    using ModuleText::Reply;
    const Reply kind = ModuleText::classify(reply);
    if (BtState == 0) {
        if (!addressCheckPending_)
            return;
        addressCheckPending_ = false;
        if (kind == Reply::Address && ModuleText::addressOf(reply) == deviceAddress().toLatin1()) {
            BtState = 1;
            view().StatusBar1[1] = text(Txt::BtConnected) + deviceAddress();
        } else {
            BtState = 2;
        }
        connectOrDisconnect();
        controls_.changed();
        return;
    }

    switch (kind) {
    case Reply::Connecting:
        view().StatusBar1[1] = text(Txt::BtConnecting);
        break;
    case Reply::Connected:
        view().StatusBar1[1] = text(Txt::BtConnected) + deviceAddress();
        view().StatusBar1[2] = text(Txt::Accessing);
        controls_.stateNewLink();
        Timer1->setInterval(200);
        Timer1->start();
        Status_conexao = 1;
        moduleLinked_ = true;
        controls_.events.linked();
        break;
    case Reply::ConnectError:
    case Reply::ConnectFailed:
        view().StatusBar1[1] =
            text(kind == Reply::ConnectError ? Txt::BtConnectionError : Txt::BtConnectionFailed);
        RemoteConnected = false;
        BtState = 0;
        controls_.stateLinkError();
        Status_conexao = 0;
        controls_.events.failed(view().StatusBar1[1]);
        break;
    case Reply::Ok:
        // A plain "OK" to the final "AT" means the module had no link left to drop: the link
        // is gone all the same, and waiting for "OK+LOST" would leave the window stuck.
        if (!disconnectPending_ || PioStep != 8)
            return;
        enterLinkLost();
        break;
    case Reply::Lost:
        enterLinkLost();
        break;
    case Reply::AccessGranted:
        view().StatusBar1[2] = text(Txt::AccessFinished);
        RemoteConnected = true;
        controls_.statePioAcknowledged();
        Status_conexao = 2;
        break;
    case Reply::Address:
    case Reply::Other:
        return; // not a module reply this program waits for
    }
    controls_.changed();
}

void BleLink::enterLinkLost() {
    view().StatusBar1[1] = text(Txt::BtDisconnected) + deviceAddress();
    view().StatusBar1[2] = text(Txt::LinkLost);
    view().DownloadProgress = -1;
    disconnectPending_ = false;
    RemoteConnected = false;
    BtState = 0;
    Status_conexao = 0;
    poll_.Timer2->stop();
    Timer3->stop();
    controls_.stateLinkLost();
    moduleLinked_ = false;
    controls_.events.unlinked();
}

bool BleLink::ReleaseLogger() {
    if (disconnectPending_)
        return true;
    if (!RemoteConnected && !moduleLinked_)
        return false;
    // Linked but not yet accessed: the PIO sequence of the connection gives way to that of
    // the disconnection.
    RemoteConnected = true;
    Status_conexao = 0;
    connectOrDisconnect();
    controls_.changed();
    return disconnectPending_;
}

void BleLink::Timer1Timer() {
    if (usb_.UsbStatus == 0) {
        switch (PioStep) {
        case 0:
            usb_.write(ModuleText::pio(3, 0));
            PioStep = 1;
            Timer1->setInterval(1000);
            poll_.Timer2->setInterval(180);
            poll_.Timer2->start();
            break;
        case 1:
            usb_.write(ModuleText::pio(3, 1));
            PioStep = 2;
            Timer1->setInterval(200);
            break;
        case 2:
            usb_.write(ModuleText::pio(2, 0));
            PioStep = 3;
            Timer1->setInterval(1000);
            break;
        case 3:
            usb_.write(ModuleText::pio(2, 1));
            PioStep = 4;
            Timer1->setInterval(1000);
            break;
        case 4:
            Status_conexao = 3;
            poll_.ReceiveMode = ReceiveModeKind::Frame;
            usb_.write(LoggerFrame::accessRequest());
            PioStep = 8;
            Timer1->stop();
            poll_.Timer2->setInterval(250);
            poll_.Timer2->start();
            break;
        case 5:
            usb_.write(ModuleText::pio(3, 0));
            PioStep = 6;
            Timer1->setInterval(1000);
            break;
        case 6:
            usb_.write(ModuleText::pio(3, 1));
            PioStep = 7;
            Timer1->setInterval(500);
            break;
        case 7:
            usb_.write(ModuleText::attention());
            PioStep = 8;
            Timer1->stop();
            poll_.Timer2->setInterval(250);
            break;
        default:
            break;
        }
    }
    if (usb_.UsbStatus != 0)
        connectFailed();
    controls_.changed();
}

void BleLink::Timer3Timer() {
    if (addressCheckPending_ && tempo_disp >= kModuleAnswerSeconds) {
        // A module that never answers would leave the connection attempt hanging.
        addressCheckPending_ = false;
        poll_.ReceiveMode = ReceiveModeKind::Frame;
        poll_.Timer2->stop();
        Timer3->stop();
        controls_.stateLinkError();
        controls_.say(text(Txt::ModuleNoAnswer));
        return;
    }
    if (Status_conexao == 3 && tempo_disp > 5) {
        controls_.stateAccessTimedOut();
        Status_conexao = 0;
        connectOrDisconnect();
        if (Texts::shownIn(Txt::AccessTimedOut, controls_.UiLanguage))
            controls_.say(text(Txt::AccessTimedOut));
        else
            controls_.events.failed(text(Txt::LoggerNoAnswer));
    }
    if (Status_conexao >= 4 && Status_conexao < 6 && tempo_disp >= 5) {
        Status_conexao = 0;
        connectOrDisconnect();
        if (Texts::shownIn(Txt::ConfigurationTimedOut, controls_.UiLanguage))
            controls_.say(text(Txt::ConfigurationTimedOut));
        else
            controls_.events.failed(text(Txt::LoggerNoAnswer));
    }
    tempo_disp = (tempo_disp + 1) % 60;
    hooks.supervised();
    controls_.changed();
}
