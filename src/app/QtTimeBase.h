#pragma once

#include "Ticker.h"

#include <QElapsedTimer>

// Production timers: QTimer on the event loop, elapsed time from a monotonic clock.
class QtTimeBase : public TimeBase {
public:
    QtTimeBase();
    std::unique_ptr<Ticker> createTicker() override;
    qint64 nowMs() const override { return elapsed_.elapsed(); }

private:
    QElapsedTimer elapsed_;
};
