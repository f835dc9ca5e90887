#include "ManualClock.h"

#include <algorithm>

class ManualClock::ManualTicker : public Ticker {
public:
    explicit ManualTicker(ManualClock* clock) : clock_(clock) { clock_->tickers_.push_back(this); }
    ~ManualTicker() override {
        if (clock_)
            std::erase(clock_->tickers_, this);
    }

    void detach() { clock_ = nullptr; }
    bool armed() const { return armed_; }
    qint64 due() const { return due_; }
    quint64 order() const { return order_; }

    void expire() {
        due_ += period_;
        fire();
    }

protected:
    void arm(int ms) override {
        if (!clock_)
            return;
        armed_ = true;
        period_ = ms;
        due_ = clock_->now_ + ms;
        order_ = clock_->sequence_++;
    }
    void disarm() override { armed_ = false; }

private:
    ManualClock* clock_;
    bool armed_ = false;
    qint64 period_ = 0;
    qint64 due_ = 0;
    quint64 order_ = 0;
};

ManualClock::~ManualClock() {
    for (auto* t : tickers_)
        t->detach();
}

std::unique_ptr<Ticker> ManualClock::createTicker() {
    return std::make_unique<ManualTicker>(this);
}

void ManualClock::advance(qint64 ms) {
    advanceTo(now_ + ms);
}

void ManualClock::advanceTo(qint64 t) {
    for (;;) {
        ManualTicker* next = nullptr;
        for (auto* ticker : tickers_) {
            if (!ticker->armed() || ticker->due() > t)
                continue;
            if (!next || ticker->due() < next->due() ||
                (ticker->due() == next->due() && ticker->order() < next->order()))
                next = ticker;
        }
        if (!next)
            break;
        now_ = std::max(now_, next->due());
        next->expire();
    }
    now_ = std::max(now_, t);
}
