#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

// A UI timer as the handlers see it: an interval, an enabled flag and a tick callback.
// Changing the interval of a running timer restarts its period; enabling a running timer
// does not. Ticks only ever run on the thread that owns the timer.
class Ticker {
public:
    using Callback = std::function<void()>;

    virtual ~Ticker() = default;

    void setCallback(Callback cb) { callback_ = std::move(cb); }
    void setInterval(int ms);
    int interval() const { return interval_; }
    void setEnabled(bool on);
    void start() { setEnabled(true); }
    void stop() { setEnabled(false); }
    bool isActive() const { return enabled_; }

protected:
    // Starts a new period of ms milliseconds (ms > 0), replacing any running one.
    virtual void arm(int ms) = 0;
    virtual void disarm() = 0;
    // Called by the implementation when a period has elapsed.
    void fire();

private:
    void rearm();

    Callback callback_;
    int interval_ = 1000;
    bool enabled_ = false;
};

// Source of tickers and of elapsed time for everything that runs on the session's clock.
class TimeBase {
public:
    virtual ~TimeBase() = default;
    virtual std::unique_ptr<Ticker> createTicker() = 0;
    // Milliseconds since an arbitrary fixed point; never goes back.
    virtual qint64 nowMs() const = 0;
};
