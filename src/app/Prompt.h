#pragma once

#include <QString>

enum class SaveChoice { Save, Discard, Cancel };

// A question with the three answers to records that would be lost.
struct SaveQuestion {
    QString title;
    QString text;
    QString save, discard, cancel; // the buttons' captions
};

// Every modal message and question of the program goes through this.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void message(const QString& text) = 0;
    // True for "Yes".
    virtual bool askYesNo(const QString& title, const QString& text, bool defaultNo) = 0;
    // Asked before unsaved records are cleared; a box offers Cancel as its default. A prompt
    // that cannot ask lets them go: the command line saves its records before it clears them.
    virtual SaveChoice askSaveDiscardCancel(const SaveQuestion&) { return SaveChoice::Discard; }
};
