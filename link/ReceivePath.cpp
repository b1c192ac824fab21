#include "ReceivePath.h"

#include <algorithm>

#include "ErrorSink.h"

namespace {
constexpr int DecodeIntervalMs = 1;
constexpr int MaxReadChunk = 64 * 1024;
}  // namespace

ReceivePath::ReceivePath(SwitcherSocket& socket, ErrorSink& log, Process process, QObject* parent)
    : QObject(parent), socket_(socket), log_(log), process_(std::move(process)) {
    tmrDecode_.setInterval(DecodeIntervalMs);
    connect(&tmrDecode_, &QTimer::timeout, this, &ReceivePath::tmrDecode_Timer);
    connect(&socket_, &SwitcherSocket::DataAvailable, this, &ReceivePath::scktServer_DataAvailable);
}

void ReceivePath::scktServer_DataAvailable(int count) {
    try {
        const int chunk = std::clamp(count, 1, MaxReadChunk);
        for (QByteArray bytes = socket_.Read(chunk); !bytes.isEmpty();
             bytes = socket_.Read(chunk)) {
            if (!buffer_.Append(bytes)) LogReceiveFault();  // dropped to stay bounded
        }
        // Any other error leaves the bytes for the next event.
        if (socket_.LastError() != SwitcherSocket::WouldBlock) return;
        const bool tookOne = ProcessOnce();
        if (tookOne && !buffer_.IsEmpty() && !tmrDecode_.isActive()) tmrDecode_.start();
    } catch (...) {
        LogReceiveFault();
    }
}

void ReceivePath::tmrDecode_Timer() {
    if (buffer_.IsEmpty() || !ProcessOnce()) tmrDecode_.stop();
}

bool ReceivePath::ProcessOnce() {
    // The decoding under way goes on by the timer.
    if (processing_) return true;
    processing_ = true;
    bool tookOne = true;
    try {
        tookOne = process_(buffer_);
    } catch (...) {
        // The dispatcher traps its own faults; this only keeps a stray one out
        // of the event loop.
        log_.LogError(QStringLiteral("Error Processing Command"),
                      QStringLiteral("Switcher Message Error"));
    }
    processing_ = false;
    return tookOne;
}

void ReceivePath::LogReceiveFault() {
    log_.LogError(QStringLiteral("Error Receiving IP Message"), QStringLiteral("Socket Error"));
}
