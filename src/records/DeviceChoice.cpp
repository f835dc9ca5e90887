// What the device list hands to the main window.
#include "app/MainSession.h"

void MainSession::DeviceChosen(const QString& number, const QString& address) {
    view_.Edit6.text = number;
    view_.Edit7.text = address;
    view_.Button3.enabled = true;
    changed();
}

void MainSession::DeviceNumberSet(const QString& number) {
    view_.Edit6.text = number;
    changed();
}

void MainSession::DeviceListShown() {
    view_.Button3.enabled = true;
    changed();
}

void MainSession::DeviceListClosed() {
    if (!view_.Edit7.text.isEmpty()) {
        view_.Panel6 = PanelColour::Lime;
        changed();
    }
}
