// The application object of the widget benchmarks: it times every event it
// hands to an object of the UI thread, so the longest single stall of that
// thread can be read off, counts the timer events, and can look at the panel
// after each event.
#pragma once

#include <QApplication>
#include <QStringList>
#include <chrono>
#include <functional>

class TimedApplication : public QApplication {
public:
    using Clock = std::chrono::steady_clock;

    TimedApplication(int& argc, char** argv);

    // Starts a new watch: clears the longest stall and the counts.
    void startWatching();
    Clock::duration longestEvent() const { return m_longest; }
    long events() const { return m_events; }
    long timerEvents() const { return m_timerEvents; }
    // Who got the timer events: class and object name, once each.
    QStringList timerReceivers() const { return m_timerReceivers; }
    // Timer events for this object (the benchmark's own) are not counted.
    void ignoreTimerOf(const QObject* object) { m_ignored = object; }

    // Called after each outermost event, with the time it ended.
    std::function<void(Clock::time_point)> afterEachEvent;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void count(QObject* receiver, QEvent* event);

    int m_depth = 0;
    Clock::duration m_longest{};
    long m_events = 0;
    long m_timerEvents = 0;
    QStringList m_timerReceivers;
    const QObject* m_ignored = nullptr;
};

// The running application, for the benchmark functions.
TimedApplication& app();
