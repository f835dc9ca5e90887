#pragma once

#include "Prompt.h"

// Messages and questions as modal message boxes over the active window. Timers keep
// ticking while a box is open, as the modal loop dispatches their events.
class MessageBoxPrompt : public Prompt {
public:
    // A plain message: the application title as window title and an OK button.
    void message(const QString& text) override;
    // A warning box with Yes and No; Escape answers No.
    bool askYesNo(const QString& title, const QString& text, bool defaultNo) override;
    // A question box with the three buttons captioned as given; Enter and Escape cancel.
    SaveChoice askSaveDiscardCancel(const SaveQuestion& question) override;
};
