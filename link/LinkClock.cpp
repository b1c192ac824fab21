#include "LinkClock.h"

#include <QTimer>

namespace {

class QtLinkTimer : public LinkTimer {
public:
    explicit QtLinkTimer(std::function<void()> onTimeout) {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(onTimeout));
    }
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

}  // namespace

QTime SystemLinkClock::currentTime() const { return QTime::currentTime(); }

std::unique_ptr<LinkTimer> SystemLinkClock::newTimer(std::function<void()> onTimeout) {
    return std::make_unique<QtLinkTimer>(std::move(onTimeout));
}
