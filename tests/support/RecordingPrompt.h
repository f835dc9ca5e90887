#pragma once

#include "app/Prompt.h"

#include <QStringList>

#include <deque>

// Records every message and question; questions take scripted answers (No, or Cancel, when
// none are left).
class RecordingPrompt : public Prompt {
public:
    struct Question {
        QString title;
        QString text;
        bool defaultNo;
    };

    void message(const QString& text) override { messages << text; }
    bool askYesNo(const QString& title, const QString& text, bool defaultNo) override {
        questions.push_back({title, text, defaultNo});
        if (answers.empty())
            return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }

    SaveChoice askSaveDiscardCancel(const SaveQuestion& q) override {
        saveQuestions.push_back(q);
        if (saveAnswers.empty())
            return SaveChoice::Cancel;
        const SaveChoice a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }

    QStringList messages;
    std::vector<Question> questions;
    std::deque<bool> answers;
    std::vector<SaveQuestion> saveQuestions;
    std::deque<SaveChoice> saveAnswers; // Cancel when none left
};
