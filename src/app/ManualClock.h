#pragma once

#include "Ticker.h"

#include <vector>

// Virtual time for tests and for replaying sequences: nothing moves until advance() is
// called, and then every due tick fires in time order (ties in the order the timers were
// started), each seeing nowMs() equal to its own due time.
class ManualClock : public TimeBase {
public:
    ManualClock() = default;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;
    ~ManualClock() override;

    std::unique_ptr<Ticker> createTicker() override;
    qint64 nowMs() const override { return now_; }

    void advance(qint64 ms);
    void advanceTo(qint64 t);
    // Runs until fn() is true or limitMs of virtual time have passed; returns fn().
    template <class Fn> bool advanceUntil(Fn fn, qint64 limitMs, qint64 stepMs = 1) {
        const qint64 end = now_ + limitMs;
        while (!fn() && now_ < end)
            advanceTo(std::min(end, now_ + stepMs));
        return fn();
    }

private:
    class ManualTicker;
    friend class ManualTicker;

    qint64 now_ = 0;
    quint64 sequence_ = 0;
    std::vector<ManualTicker*> tickers_;
};
