// A clock the test moves by hand: timers fire in deadline order as Advance
// passes their deadlines, and the wall-clock time moves along with them.
#pragma once

#include <QTime>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "LinkClock.h"

class FakeLinkClock : public LinkClock {
public:
    explicit FakeLinkClock(QTime start = QTime(12, 0, 0)) : start_(start) {}

    QTime CurrentTime() const override { return start_.addMSecs(static_cast<int>(nowMs_)); }

    std::unique_ptr<LinkTimer> NewTimer(std::function<void()> onTimeout) override {
        auto timer = std::make_unique<Timer>(*this, std::move(onTimeout));
        timers_.push_back(timer.get());
        return timer;
    }

    // Moves time on by ms, firing every timer that falls due on the way.
    void Advance(qint64 ms) {
        const qint64 end = nowMs_ + ms;
        for (Timer* next = NextDue(end); next; next = NextDue(end)) {
            nowMs_ = next->dueMs;
            next->active = false;
            next->onTimeout();
        }
        nowMs_ = end;
    }

    qint64 NowMs() const { return nowMs_; }

private:
    struct Timer : LinkTimer {
        Timer(FakeLinkClock& c, std::function<void()> f) : clock(c), onTimeout(std::move(f)) {}
        ~Timer() override {
            auto& all = clock.timers_;
            all.erase(std::remove(all.begin(), all.end(), this), all.end());
        }
        void Start(int ms) override {
            active = true;
            dueMs = clock.nowMs_ + ms;
        }
        void Stop() override { active = false; }
        bool IsActive() const override { return active; }

        FakeLinkClock& clock;
        std::function<void()> onTimeout;
        bool active = false;
        qint64 dueMs = 0;
    };

    Timer* NextDue(qint64 end) const {
        Timer* next = nullptr;
        for (Timer* t : timers_) {
            if (t->active && t->dueMs <= end && (!next || t->dueMs < next->dueMs)) next = t;
        }
        return next;
    }

    QTime start_;
    qint64 nowMs_ = 0;
    std::vector<Timer*> timers_;
};
