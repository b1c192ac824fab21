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
    void StartWatching();
    Clock::duration LongestEvent() const { return longest_; }
    long Events() const { return events_; }
    long TimerEvents() const { return timerEvents_; }
    // Who got the timer events: class and object name, once each.
    QStringList TimerReceivers() const { return timerReceivers_; }
    // Timer events for this object (the benchmark's own) are not counted.
    void IgnoreTimerOf(const QObject* object) { ignored_ = object; }

    // Called after each outermost event, with the time it ended.
    std::function<void(Clock::time_point)> afterEachEvent;

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void Count(QObject* receiver, QEvent* event);

    int depth_ = 0;
    Clock::duration longest_{};
    long events_ = 0;
    long timerEvents_ = 0;
    QStringList timerReceivers_;
    const QObject* ignored_ = nullptr;
};

// The running application, for the benchmark functions.
TimedApplication& App();
