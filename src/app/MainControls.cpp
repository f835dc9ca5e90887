#include "MainControls.h"

#include "Prompt.h"

void MainControls::say(const QString& message) {
    changed();
    prompt_.message(message);
    events.failed(message);
}

void MainControls::disableCheckBox(bool uncheck) {
    view.CheckBox1.enabled = false;
    if (uncheck) {
        view.CheckBox1.checked = false;
        RecordingRequested = false;
    }
}

void MainControls::setRemoteDeviceButtons(bool on) {
    view.Button4.enabled = on;
    view.Button5.enabled = on;
    view.Button6.enabled = on;
}

void MainControls::stateWindowShown() {
    view.Button2.enabled = true;
    view.Button3.enabled = false;
    view.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
    view.StringGrid1Enabled = false;
    view.Grafico1.enabled = false;
}

void MainControls::stateUsbOpened() {
    view.Button3.enabled = !view.Edit6.text.isEmpty();
    view.Button7.enabled = true;
    view.Panel5 = PanelColour::Lime;
    view.Button2.caption = text(Txt::UsbButtonWhileOpen);
}

void MainControls::stateUsbOpenFailed() {
    view.Button3.enabled = false;
    view.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
}

void MainControls::stateUsbClosed() {
    view.Button3.enabled = false;
    view.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
    view.Panel5 = PanelColour::Red;
    view.Panel6 = PanelColour::Red;
    view.Edit6.text.clear();
    view.Edit7.text.clear();
    view.Button2.caption = text(Txt::UsbButtonWhileClosed);
}

void MainControls::stateLinkFailureReset() {
    view.Button2.enabled = true;
    view.Button3.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
    view.Button3.caption = text(Txt::RemoteButtonConnect);
    view.Button2.caption = text(Txt::UsbButtonWhileClosed);
}

void MainControls::stateRemoteConnectStarted() {
    view.Button2.enabled = false;
}

void MainControls::stateAlreadyLinked() {
    view.Button2.enabled = false;
    view.Button3.enabled = false;
    view.Button7.enabled = true;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
}

void MainControls::stateNewLink() {
    view.Button3.enabled = false;
    view.Button7.enabled = false;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
    view.Panel7 = PanelColour::Lime;
}

void MainControls::stateLinkError() {
    view.Button2.enabled = true;
    view.Button7.enabled = true;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
    view.Button3.caption = text(Txt::RemoteButtonConnect);
}

void MainControls::stateLinkLost() {
    stateLinkError();
    view.Panel7 = PanelColour::Red;
}

void MainControls::statePioAcknowledged() {
    view.Button7.enabled = true;
    setRemoteDeviceButtons(false);
    disableCheckBox(true);
    view.Button3.caption = text(Txt::RemoteButtonDisconnect);
    view.Panel7 = PanelColour::Lime;
}

void MainControls::stateAccessConfirmed() {
    view.Button3.caption = text(Txt::RemoteButtonDisconnect);
}

void MainControls::stateConfigurationReceived(bool hasRecords) {
    view.Button3.enabled = true;
    view.Button7.enabled = false;
    view.Button4.enabled = true;
    view.Button5.enabled = hasRecords;
    view.Button6.enabled = hasRecords;
    view.CheckBox1.enabled = true;
    view.Panel7 = PanelColour::Lime;
}

void MainControls::stateDownloadFinished() {
    setRemoteDeviceButtons(true);
    view.CheckBox1.enabled = true;
    view.Grafico1.enabled = true;
    view.Imprimir1.enabled = true;
    view.Salvarcomo1.enabled = true;
    for (EditState* e : {&view.Edit3, &view.Edit4, &view.Edit5})
        e->readOnly = false;
}

void MainControls::stateRemoteDisconnectStarted() {
    view.Button2.enabled = false;
    // The logger is being left: no command may start until the link is gone.
    setRemoteDeviceButtons(false);
    disableCheckBox(false);
}

void MainControls::stateAccessTimedOut() {
    view.Button3.enabled = true;
}

void MainControls::stateSendFailureConnecting() {
    view.Button3.enabled = false;
}
