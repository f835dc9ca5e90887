// The configuration dialog's side of the session: opening it and writing the configuration.
#include "app/MainSession.h"

void MainSession::Button4Click() {
    ReceiveMode = ReceiveModeKind::Frame;
    changed();
}

void MainSession::ClearStatusPanel2() {
    view_.StatusBar1[2].clear();
    changed();
}

void MainSession::SendConfigurationFrame(const QByteArray& frame) {
    ReceiveMode = ReceiveModeKind::Frame;
    view_.StatusBar1[2].clear();
    writeBlock(frame);
    if (UsbStatus != 0) {
        // The dialog stays open over the main window; only the interface is marked closed.
        UsbOpen = false;
        say(text(Txt::SendFailed));
        return;
    }
    view_.StatusBar1[2] = text(Txt::ConfigSent);
    // The poll is off once the connection is ready; without it the answer would wait in the
    // queue until the next disconnect.
    Timer2->setInterval(180);
    Timer2->start();
    changed();
}
