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

    uint16_t port() const { return m_port; }
    bool hasPanel() const;

    // Sends bytes to the panel (once one is connected) from the switcher's
    // thread; returns at once.
    void send(const QByteArray& bytes);
    // When the switcher began writing the bytes of the last Send.
    std::optional<Clock::time_point> lastSendStarted() const;

    qsizetype receivedCount() const;
    // Blocks the caller until count bytes in all have arrived; the time the
    // arrival that completed them was read, or nothing after patience.
    std::optional<Clock::time_point> waitForReceived(qsizetype count,
                                                     std::chrono::milliseconds patience);

private:
    void run();
    bool acceptPanel();
    bool sendQueued();
    bool readArrived();
    void wake();
    void drainWake();

    int m_listener = -1;
    int m_peer = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    uint16_t m_port = 0;

    mutable std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<QByteArray> m_outgoing;
    qsizetype m_received = 0;
    // Running total of bytes received after each read, and when it returned.
    std::vector<std::pair<qsizetype, Clock::time_point>> m_arrivals;
    std::optional<Clock::time_point> m_sendStarted;
    bool m_hasPanel = false;
    bool m_stopping = false;
    std::thread m_thread;
};
