// The time sources of the link's state machine, behind an interface so that
// its timeouts and retry delays can be tested without waiting for them.
#pragma once

#include <QTime>
#include <functional>
#include <memory>

// A single-shot timer: Start arms it (replacing a pending shot), Stop
// disarms it. The callback runs on the UI thread.
class LinkTimer {
public:
    virtual ~LinkTimer() = default;
    virtual void Start(int ms) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
};

class LinkClock {
public:
    virtual ~LinkClock() = default;
    // Local wall-clock time, for telling the operator when the link went down.
    virtual QTime CurrentTime() const = 0;
    virtual std::unique_ptr<LinkTimer> NewTimer(std::function<void()> onTimeout) = 0;
};

// The real clock and QTimer.
class SystemLinkClock : public LinkClock {
public:
    QTime CurrentTime() const override;
    std::unique_ptr<LinkTimer> NewTimer(std::function<void()> onTimeout) override;
};
