#include "Ticker.h"

void Ticker::setInterval(int ms) {
    if (ms == interval_)
        return;
    interval_ = ms;
    if (enabled_)
        rearm();
}

void Ticker::setEnabled(bool on) {
    if (on == enabled_)
        return;
    enabled_ = on;
    if (on)
        rearm();
    else
        disarm();
}

void Ticker::rearm() {
    if (interval_ > 0)
        arm(interval_);
    else
        disarm();
}

void Ticker::fire() {
    if (enabled_ && callback_)
        callback_();
}
