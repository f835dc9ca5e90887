#pragma once

#include <QString>

#include <exception>

// A date, time or number that cannot be converted. The action that raised it stops and the
// message is shown to the user; the program goes on.
class ConversionError : public std::exception {
public:
    explicit ConversionError(QString message)
        : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};
