#pragma once

#include "MainViewState.h"
#include "Texts.h"

#include <functional>

class Prompt;

// The main window's shared state as the parts of the session change it: what the window
// shows, the interface language and the recording choice, and the control states, one
// function per event that sets them.
class MainControls {
public:
    explicit MainControls(Prompt& prompt) : prompt_(prompt) {}

    MainViewState view = MainViewState::designed();
    char UiLanguage = 'p';
    // "Ativar registrar": recording is switched on at the next disconnect when checked.
    bool RecordingRequested = false;

    QString text(Txt id) const { return Texts::text(id, UiLanguage); }
    // The state changed: the window catches up (set by the session).
    std::function<void()> onChanged;
    void changed() {
        if (onChanged)
            onChanged();
    }
    // Shows a message box after the window has caught up with the state; an action that
    // says something has given up, and the `failed` event tells so.
    void say(const QString& message);

    // What those who wait on the logger (the command line, tests) hear; the session turns
    // them into its signals.
    struct Events {
        std::function<void()> linked = [] {};   // the module reports the link to the logger
        std::function<void()> unlinked = [] {}; // the link is gone, or the interface closed
        std::function<void()> configurationRead = [] {};
        std::function<void(bool complete)> downloadFinished = [](bool) {};
        std::function<void(int code)> loggerAnswered = [](int) {};
        std::function<void(const QString& message)> failed = [](const QString&) {};
    } events;

    // --- control states, one function per event ---
    // The window is shown for the first time: only the interface button is usable.
    void stateWindowShown();
    // The interface was opened.
    void stateUsbOpened();
    // The interface could not be opened.
    void stateUsbOpenFailed();
    // The interface was closed by its button.
    void stateUsbClosed();
    // A write failed: the interface is closed and only its button stays usable.
    void stateLinkFailureReset();
    // The remote button started a connection.
    void stateRemoteConnectStarted();
    // The module already held the link to the chosen logger.
    void stateAlreadyLinked();
    // The module made a new link.
    void stateNewLink();
    // The module could not make the link.
    void stateLinkError();
    // The module lost or dropped the link.
    void stateLinkLost();
    // The logger acknowledged the PIO sequence.
    void statePioAcknowledged();
    // The logger granted access.
    void stateAccessConfirmed();
    // The logger's configuration arrived; the record buttons need records stored.
    void stateConfigurationReceived(bool hasRecords);
    // A download finished.
    void stateDownloadFinished();
    // The remote button started a disconnection.
    void stateRemoteDisconnectStarted();
    // The logger did not grant access in time.
    void stateAccessTimedOut();
    // A write failed while connecting.
    void stateSendFailureConnecting();

private:
    void disableCheckBox(bool uncheck);
    void setRemoteDeviceButtons(bool on);

    Prompt& prompt_;
};
