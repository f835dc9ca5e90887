// The interface button and the link-failure reset of the main session.
#include "app/MainSession.h"
#include "app/Prompt.h"
#include "link/SerialTransport.h"

void MainSession::Button2Click() {
    // Closing leaves the records on screen, but the next connection would clear them. The
    // interface may have failed while the question was open: then there is nothing to close.
    if (UsbOpen && (!mayClearRecords() || !UsbOpen))
        return;
    view_.StatusBar1[1].clear();
    view_.StatusBar1[2].clear();

    if (!UsbOpen) {
        UsbStatus = transport_->open(0);
        if (UsbStatus == SerialTransport::Ok) {
            UsbOpen = true;
            stateUsbOpened();
            view_.StatusBar1[0] = text(Txt::UsbConnected);
            // The results of the line set-up are not examined.
            transport_->setDataCharacteristics(8, 0, 0);
            transport_->setBaudRate(9600);
            transport_->setTimeouts(1, 0);
            transport_->purge(SerialTransport::PurgeRx | SerialTransport::PurgeTx);
            changed();
            return;
        }
        Timer2->stop();
        Timer3->stop();
        UsbOpen = false;
        stateUsbOpenFailed();
        say(text(Txt::UsbOpenFailed));
        view_.StatusBar1[0] = text(Txt::UsbDisconnected);
        changed();
        return;
    }

    transport_->close();
    UsbOpen = false;
    moduleLinked_ = false;
    addressCheckPending_ = false;
    disconnectPending_ = false;
    stateUsbClosed();
    // A PIO sequence still running after a refused link would write to the closed device.
    Timer1->stop();
    Timer2->stop();
    Timer3->stop();
    view_.StatusBar1 = {text(Txt::UsbDisconnected), QString(), QString()};
    changed();
    emit unlinked();
}

void MainSession::LinkFailureReset(Txt why) {
    UsbOpen = false;
    moduleLinked_ = false;
    addressCheckPending_ = false;
    disconnectPending_ = false;
    // The device is closed too, so that the interface can be opened again without a restart.
    transport_->close();
    Timer2->stop();
    Timer3->stop();
    RemoteConnected = false;
    view_.DownloadProgress = -1;
    stateLinkFailureReset();
    say(text(why));
    view_.StatusBar1 = {text(Txt::UsbDisconnectedAfterReset), QString(), QString()};
    changed();
    emit unlinked();
}

void MainSession::InterfaceLost() {
    // Nothing more can go out: the PIO sequence stops with the poll and the supervision.
    Timer1->stop();
    ReceiveMode = ReceiveModeKind::Frame;
    LinkFailureReset(Txt::InterfaceLost);
}
