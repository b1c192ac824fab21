// Plain POSIX sockets, and poll() without a timeout: the thread sleeps until
// the panel sends or the benchmark hands it bytes, so it costs no CPU while
// the panel is idle.
#include "SwitcherThread.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace {

int listen(uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 1) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot listen on loopback");
    }
    port = ntohs(address.sin_port);
    return fd;
}

bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.constData() + sent,
                                 static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += n;
    }
    return true;
}

}  // namespace

SwitcherThread::SwitcherThread() {
    m_listener = listen(m_port);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    m_wakeRead = pipeEnds[0];
    m_wakeWrite = pipeEnds[1];
    m_thread = std::thread([this] { run(); });
}

SwitcherThread::~SwitcherThread() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    wake();
    m_thread.join();
    for (const int fd : {m_peer, m_listener, m_wakeRead, m_wakeWrite}) {
        if (fd >= 0) ::close(fd);
    }
}

bool SwitcherThread::hasPanel() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hasPanel;
}

void SwitcherThread::send(const QByteArray& bytes) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_outgoing.push_back(bytes);
    }
    wake();
}

std::optional<SwitcherThread::Clock::time_point> SwitcherThread::lastSendStarted() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sendStarted;
}

qsizetype SwitcherThread::receivedCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

std::optional<SwitcherThread::Clock::time_point> SwitcherThread::waitForReceived(
    qsizetype count, std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_arrived.wait_for(lock, patience, [&] { return m_received >= count; })) return {};
    for (const auto& [total, at] : m_arrivals) {
        if (total >= count) return at;
    }
    return {};
}

void SwitcherThread::wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_wakeWrite, &byte, 1);
}

void SwitcherThread::run() {
    if (!acceptPanel()) return;
    for (;;) {
        pollfd fds[2] = {{m_peer, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) return;
        if (fds[1].revents & POLLIN) {
            drainWake();
            if (!sendQueued()) return;
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) && !readArrived()) return;
    }
}

bool SwitcherThread::acceptPanel() {
    for (;;) {
        pollfd fds[2] = {{m_listener, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) return false;
        if (fds[1].revents & POLLIN) {
            drainWake();
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_stopping) return false;
        }
        if (fds[0].revents & POLLIN) break;
    }
    m_peer = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (m_peer < 0) return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hasPanel = true;
    // Bytes handed over before the panel came go out now.
    if (!m_outgoing.empty()) wake();
    return true;
}

void SwitcherThread::drainWake() {
    char drain[64];
    [[maybe_unused]] const ssize_t n = ::read(m_wakeRead, drain, sizeof drain);
}

// False when the switcher should stop.
bool SwitcherThread::sendQueued() {
    std::deque<QByteArray> batch;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_stopping) return false;
        batch.swap(m_outgoing);
    }
    for (const QByteArray& bytes : batch) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_sendStarted = Clock::now();
        }
        if (!writeAll(m_peer, bytes)) return false;
    }
    return true;
}

bool SwitcherThread::readArrived() {
    char bytes[64 * 1024];
    const ssize_t n = ::recv(m_peer, bytes, sizeof bytes, 0);
    const Clock::time_point at = Clock::now();
    if (n <= 0) return false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_received += n;
        m_arrivals.emplace_back(m_received, at);
    }
    m_arrived.notify_all();
    return true;
}
