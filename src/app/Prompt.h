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

// Messages on stderr; questions answered by a fixed choice (the command line asks nothing).
class StderrPrompt : public Prompt {
public:
    explicit StderrPrompt(bool answer = false) : answer_(answer) {}
    void message(const QString& text) override;
    bool askYesNo(const QString& title, const QString& text, bool defaultNo) override;

private:
    bool answer_;
};
