#include "ReceivePath.h"

#include <algorithm>

#include "ErrorSink.h"

namespace {
constexpr int MaxReadChunk = 64 * 1024;
}  // namespace

ReceivePath::ReceivePath(SwitcherSocket& socket, ErrorSink& log) : socket_(socket), log_(log) {}

bool ReceivePath::ReadWaiting(int count) {
    const int chunk = std::clamp(count, 1, MaxReadChunk);
    for (QByteArray bytes = socket_.Read(chunk); !bytes.isEmpty(); bytes = socket_.Read(chunk)) {
        if (!buffer_.Append(bytes)) LogReceiveFault();  // dropped to stay bounded
    }
    return socket_.LastError() == SwitcherSocket::WouldBlock;
}

void ReceivePath::LogReceiveFault() {
    log_.LogError(QStringLiteral("Error Receiving IP Message"), QStringLiteral("Socket Error"));
}
