#include "Prompt.h"

#include <cstdio>

void StderrPrompt::message(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.endsWith('\n'))
        bytes += '\n';
    std::fputs(bytes.constData(), stderr);
}

bool StderrPrompt::askYesNo(const QString& title, const QString& text, bool) {
    message(title + QStringLiteral(": ") + text);
    return answer_;
}
