// A switcher on a thread of its own, over a plain loopback socket: it accepts
// one panel, sends whatever it is handed, and stamps the time of every
// arrival, so that none of its work lands on the UI thread being timed.
#pragma once

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class SwitcherThread {
public:
    using Clock = std::chrono::steady_clock;

    // Listens on 127.0.0.1 at a free port; Port() says which.
    SwitcherThread();
    ~SwitcherThread();
    SwitcherThread(const SwitcherThread&) = delete;
    SwitcherThread& operator=(const SwitcherThread&) = delete;

    uint16_t Port() const { return port_; }
    bool HasPanel() const;

    // Sends bytes to the panel (once one is connected) from the switcher's
    // thread; returns at once.
    void Send(const QByteArray& bytes);
    // When the switcher began writing the bytes of the last Send.
    std::optional<Clock::time_point> LastSendStarted() const;

    qsizetype ReceivedCount() const;
    // Blocks the caller until count bytes in all have arrived; the time the
    // arrival that completed them was read, or nothing after patience.
    std::optional<Clock::time_point> WaitForReceived(qsizetype count,
                                                     std::chrono::milliseconds patience);

private:
    void Run();
    bool AcceptPanel();
    bool SendQueued();
    bool ReadArrived();
    void Wake();
    void DrainWake();

    int listener_ = -1;
    int peer_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    uint16_t port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<QByteArray> outgoing_;
    qsizetype received_ = 0;
    // Running total of bytes received after each read, and when it returned.
    std::vector<std::pair<qsizetype, Clock::time_point>> arrivals_;
    std::optional<Clock::time_point> sendStarted_;
    bool hasPanel_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
