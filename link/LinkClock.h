// The time sources of the link's state machine, behind an interface so that
// its timeouts and retry delays can be tested without waiting for them.
#pragma once

#include <QTime>
#include <functional>
#include <memory>

// A single-shot timer: start arms it (replacing a pending shot), stop
// disarms it. The callback runs on the UI thread.
class LinkTimer {
public:
    virtual ~LinkTimer() = default;
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
};

class LinkClock {
public:
    virtual ~LinkClock() = default;
    // Local wall-clock time, for telling the operator when the link went down.
    virtual QTime currentTime() const = 0;
    virtual std::unique_ptr<LinkTimer> newTimer(std::function<void()> onTimeout) = 0;
};

// The real clock and QTimer.
class SystemLinkClock : public LinkClock {
public:
    QTime currentTime() const override;
    std::unique_ptr<LinkTimer> newTimer(std::function<void()> onTimeout) override;
};
