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

int Listen(uint16_t& port) {
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

bool WriteAll(int fd, const QByteArray& bytes) {
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
    listener_ = Listen(port_);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
    thread_ = std::thread([this] { Run(); });
}

SwitcherThread::~SwitcherThread() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    Wake();
    thread_.join();
    for (const int fd : {peer_, listener_, wakeRead_, wakeWrite_}) {
        if (fd >= 0) ::close(fd);
    }
}

bool SwitcherThread::HasPanel() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return hasPanel_;
}

void SwitcherThread::Send(const QByteArray& bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        outgoing_.push_back(bytes);
    }
    Wake();
}

std::optional<SwitcherThread::Clock::time_point> SwitcherThread::LastSendStarted() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return sendStarted_;
}

qsizetype SwitcherThread::ReceivedCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

std::optional<SwitcherThread::Clock::time_point> SwitcherThread::WaitForReceived(
    qsizetype count, std::chrono::milliseconds patience) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!arrived_.wait_for(lock, patience, [&] { return received_ >= count; })) return {};
    for (const auto& [total, at] : arrivals_) {
        if (total >= count) return at;
    }
    return {};
}

void SwitcherThread::Wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeWrite_, &byte, 1);
}

void SwitcherThread::Run() {
    if (!AcceptPanel()) return;
    for (;;) {
        pollfd fds[2] = {{peer_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) return;
        if (fds[1].revents & POLLIN) {
            DrainWake();
            if (!SendQueued()) return;
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) && !ReadArrived()) return;
    }
}

bool SwitcherThread::AcceptPanel() {
    for (;;) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) return false;
        if (fds[1].revents & POLLIN) {
            DrainWake();
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return false;
        }
        if (fds[0].revents & POLLIN) break;
    }
    peer_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer_ < 0) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    hasPanel_ = true;
    // Bytes handed over before the panel came go out now.
    if (!outgoing_.empty()) Wake();
    return true;
}

void SwitcherThread::DrainWake() {
    char drain[64];
    [[maybe_unused]] const ssize_t n = ::read(wakeRead_, drain, sizeof drain);
}

// False when the switcher should stop.
bool SwitcherThread::SendQueued() {
    std::deque<QByteArray> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) return false;
        batch.swap(outgoing_);
    }
    for (const QByteArray& bytes : batch) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            sendStarted_ = Clock::now();
        }
        if (!WriteAll(peer_, bytes)) return false;
    }
    return true;
}

bool SwitcherThread::ReadArrived() {
    char bytes[64 * 1024];
    const ssize_t n = ::recv(peer_, bytes, sizeof bytes, 0);
    const Clock::time_point at = Clock::now();
    if (n <= 0) return false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        received_ += n;
        arrivals_.emplace_back(received_, at);
    }
    arrived_.notify_all();
    return true;
}
