#pragma once

#include <QDateTime>

// The PC's date and time, injected so that tests can freeze it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime at) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(QDateTime at) { at_ = std::move(at); }

private:
    QDateTime at_;
};
