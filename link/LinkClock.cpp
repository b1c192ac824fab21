#include "LinkClock.h"

#include <QTimer>

namespace {

class QtLinkTimer : public LinkTimer {
public:
    explicit QtLinkTimer(std::function<void()> onTimeout) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(onTimeout));
    }
    void Start(int ms) override { timer_.start(ms); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }

private:
    QTimer timer_;
};

}  // namespace

QTime SystemLinkClock::CurrentTime() const { return QTime::currentTime(); }

std::unique_ptr<LinkTimer> SystemLinkClock::NewTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtLinkTimer>(std::move(onTimeout));
}
