#pragma once

#include <QString>

// Every modal message and question of the program goes through this.
class Prompt {
public:
    virtual ~Prompt() = default;
    virtual void message(const QString& text) = 0;
    // True for "Yes".
    virtual bool askYesNo(const QString& title, const QString& text, bool defaultNo) = 0;
};
