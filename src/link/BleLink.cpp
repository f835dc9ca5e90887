// The connection to the logger through the Bluetooth module: address check, link, PIO
// sequence, supervision and the module's replies.
#include "app/MainSession.h"
#include "app/Prompt.h"
#include "link/SerialTransport.h"
#include "protocol/LoggerFrame.h"

namespace {

// "AT+CON" and the address are composed in a 20-byte buffer with its terminating zero.
constexpr int kMaxAddressLength = 13;

} // namespace

void MainSession::writeBlock(const QByteArray& bytes) {
    uint32_t written = 0;
    UsbStatus = transport_->write(bytes, &written);
}

void MainSession::Button3Click() {
    // A second click while the disconnect sequence runs sends nothing more.
    if (disconnectPending_ && Timer1->isActive())
        return;
    if (!RemoteConnected && UsbStatus == 0 && BtState != 1) {
        // Refuse an address that cannot be sent before anything goes out.
        const QString address = deviceAddress();
        if (address.isEmpty() || address.size() > kMaxAddressLength) {
            say(text(address.isEmpty() ? Txt::NoAddress : Txt::AddressTooLong));
            return;
        }
    }
    // Disconnecting clears the record set, and so does the configuration reply of a new
    // connection. The link may have changed while the question was open.
    const bool connected = RemoteConnected;
    if (!mayClearRecords() || RemoteConnected != connected)
        return;
    connectOrDisconnect();
    changed();
}

void MainSession::Button7Click() {
    stateSelecting();
    changed();
}

void MainSession::connectOrDisconnect() {
    if (RemoteConnected) {
        stateRemoteDisconnectStarted();
        disconnectPending_ = true;
        downloadAfterConfiguration_ = false;
        view_.DownloadProgress = -1;
        SendRecordingSwitch();
        ClearRecordSet();
        ReceiveMode = ReceiveModeKind::Text;
        PioStep = 5;
        tempo_disp = 0;
        Timer2->setInterval(180);
        Timer2->start();
        Timer1->setInterval(500);
        Timer1->start();
    } else if (UsbStatus != 0) {
        // An earlier write failed: straight to the failure branch below.
    } else if (BtState == 0) {
        ReceiveMode = ReceiveModeKind::Text;
        PioStep = 0;
        stateRemoteConnectStarted();
        writeBlock(QByteArrayLiteral("AT+ADDR?"));
        addressCheckPending_ = UsbStatus == 0;
        tempo_disp = 0;
        Timer2->setInterval(180);
        Timer2->start();
        Timer3->start();
    } else if (BtState == 1) {
        view_.StatusBar1[1] = text(Txt::BtConnected) + deviceAddress();
        view_.StatusBar1[2] = text(Txt::Accessing);
        stateAlreadyLinked();
        Timer1->setInterval(180);
        Timer1->start();
        moduleLinked_ = true;
        emit linked();
    } else {
        const QByteArray address = deviceAddress().toLatin1();
        if (address.isEmpty() || address.size() > kMaxAddressLength) {
            // The address changed while the check was under way: nothing can be sent.
            view_.Button2.enabled = true;
            say(text(address.isEmpty() ? Txt::NoAddress : Txt::AddressTooLong));
            return;
        }
        stateRemoteConnectStarted();
        if (UsbStatus == 0) {
            ReceiveMode = ReceiveModeKind::Text;
            PioStep = 0;
            writeBlock(QByteArrayLiteral("AT+CON") + address);
            tempo_disp = 0;
            Timer2->setInterval(180);
            Timer2->start();
            Timer1->setInterval(500);
            Timer1->start();
        }
    }
    if (UsbStatus != 0)
        connectFailed();
}

void MainSession::connectFailed() {
    ReceiveMode = ReceiveModeKind::Frame;
    Timer1->stop();
    Timer2->stop();
    Timer3->stop();
    UsbOpen = false;
    view_.StatusBar1[1].clear();
    view_.StatusBar1[2].clear();
    view_.DownloadProgress = -1;
    stateSendFailureConnecting();
    sendFailed();
}

void MainSession::sendFailed() {
    say(text(Txt::SendFailed));
    LinkFailureReset();
}

void MainSession::handleTextReply(const QByteArray& reply) {
    const QByteArray address = deviceAddress().toLatin1();
    if (BtState == 0) {
        if (!addressCheckPending_)
            return;
        addressCheckPending_ = false;
        if (reply == QByteArrayLiteral("OK+ADDR:") + address) {
            BtState = 1;
            view_.StatusBar1[1] = text(Txt::BtConnected) + deviceAddress();
        } else {
            BtState = 2;
        }
        connectOrDisconnect();
        changed();
        return;
    }

    if (reply == "OK+CONNA") {
        view_.StatusBar1[1] = text(Txt::BtConnecting);
    } else if (reply == "OK+CONNAOK+CONN" || reply == "OK+CONN") {
        view_.StatusBar1[1] = text(Txt::BtConnected) + deviceAddress();
        view_.StatusBar1[2] = text(Txt::Accessing);
        stateNewLink();
        Timer1->setInterval(200);
        Timer1->start();
        Status_conexao = 1;
        moduleLinked_ = true;
        emit linked();
    } else if (const QByteArray result = reply.startsWith("OK+CONNAOK+") ? reply.mid(8) : reply;
               result == "OK+CONNE" || result == "OK+CONNF") {
        // The refusal may arrive in one read with the "OK+CONNA" before it, as the link does.
        view_.StatusBar1[1] =
            text(result == "OK+CONNE" ? Txt::BtConnectionError : Txt::BtConnectionFailed);
        RemoteConnected = false;
        BtState = 0;
        stateLinkError();
        Status_conexao = 0;
        emit failed(view_.StatusBar1[1]);
    } else if (reply == "OK+LOST" || (reply == "OK" && disconnectPending_ && PioStep == 8)) {
        // A plain "OK" to the final "AT" means the module had no link left to drop: the link
        // is gone all the same, and waiting for "OK+LOST" would leave the window stuck.
        enterLinkLost();
    } else if (reply == "OK+PIO2:1") {
        view_.StatusBar1[2] = text(Txt::AccessFinished);
        RemoteConnected = true;
        statePioAcknowledged();
        Status_conexao = 2;
    } else {
        return; // anything else is not a module reply this program waits for
    }
    changed();
}

void MainSession::enterLinkLost() {
    view_.StatusBar1[1] = text(Txt::BtDisconnected) + deviceAddress();
    view_.StatusBar1[2] = text(Txt::LinkLost);
    view_.DownloadProgress = -1;
    disconnectPending_ = false;
    RemoteConnected = false;
    BtState = 0;
    Status_conexao = 0;
    Timer2->stop();
    Timer3->stop();
    stateLinkLost();
    moduleLinked_ = false;
    emit unlinked();
}

bool MainSession::ReleaseLogger() {
    if (disconnectPending_)
        return true;
    if (!RemoteConnected && !moduleLinked_)
        return false;
    // Linked but not yet accessed: the PIO sequence of the connection gives way to that of
    // the disconnection.
    RemoteConnected = true;
    Status_conexao = 0;
    connectOrDisconnect();
    changed();
    return disconnectPending_;
}

void MainSession::Timer1Timer() {
    if (UsbStatus == 0) {
        switch (PioStep) {
        case 0:
            writeBlock(QByteArrayLiteral("AT+PIO30"));
            PioStep = 1;
            Timer1->setInterval(1000);
            Timer2->setInterval(180);
            Timer2->start();
            break;
        case 1:
            writeBlock(QByteArrayLiteral("AT+PIO31"));
            PioStep = 2;
            Timer1->setInterval(200);
            break;
        case 2:
            writeBlock(QByteArrayLiteral("AT+PIO20"));
            PioStep = 3;
            Timer1->setInterval(1000);
            break;
        case 3:
            writeBlock(QByteArrayLiteral("AT+PIO21"));
            PioStep = 4;
            Timer1->setInterval(1000);
            break;
        case 4:
            Status_conexao = 3;
            ReceiveMode = ReceiveModeKind::Frame;
            writeBlock(LoggerFrame::command(LoggerFrame::AccessRequest));
            PioStep = 8;
            Timer1->stop();
            Timer2->setInterval(250);
            Timer2->start();
            break;
        case 5:
            writeBlock(QByteArrayLiteral("AT+PIO30"));
            PioStep = 6;
            Timer1->setInterval(1000);
            break;
        case 6:
            writeBlock(QByteArrayLiteral("AT+PIO31"));
            PioStep = 7;
            Timer1->setInterval(500);
            break;
        case 7:
            writeBlock(QByteArrayLiteral("AT"));
            PioStep = 8;
            Timer1->stop();
            Timer2->setInterval(250);
            break;
        default:
            break;
        }
    }
    if (UsbStatus != 0)
        connectFailed();
    changed();
}

void MainSession::Timer3Timer() {
    if (addressCheckPending_ && tempo_disp >= kModuleAnswerSeconds) {
        // A module that never answers would leave the connection attempt hanging.
        addressCheckPending_ = false;
        ReceiveMode = ReceiveModeKind::Frame;
        Timer2->stop();
        Timer3->stop();
        stateLinkError();
        say(text(Txt::ModuleNoAnswer));
        return;
    }
    if (Status_conexao == 3 && tempo_disp > 5) {
        stateAccessTimedOut();
        Status_conexao = 0;
        connectOrDisconnect();
        if (Texts::shownIn(Txt::AccessTimedOut, UiLanguage))
            say(text(Txt::AccessTimedOut));
        else
            emit failed(text(Txt::LoggerNoAnswer));
    }
    if (Status_conexao >= 4 && Status_conexao < 6 && tempo_disp >= 5) {
        Status_conexao = 0;
        connectOrDisconnect();
        if (Texts::shownIn(Txt::ConfigurationTimedOut, UiLanguage))
            say(text(Txt::ConfigurationTimedOut));
        else
            emit failed(text(Txt::LoggerNoAnswer));
    }
    tempo_disp = (tempo_disp + 1) % 60;
    updateDownloadProgress();
    RearmReceivePoll();
    changed();
}
