#include "QtTimeBase.h"

#include <QTimer>

namespace {

class QtTicker : public Ticker {
public:
    QtTicker() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    }

protected:
    void arm(int ms) override { timer_.start(ms); }
    void disarm() override { timer_.stop(); }

private:
    QTimer timer_;
};

} // namespace

QtTimeBase::QtTimeBase() {
    elapsed_.start();
}

std::unique_ptr<Ticker> QtTimeBase::createTicker() {
    return std::make_unique<QtTicker>();
}
