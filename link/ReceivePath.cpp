#include "ReceivePath.h"

#include <algorithm>

#include "ErrorSink.h"

namespace {
constexpr int MaxReadChunk = 64 * 1024;
}  // namespace

ReceivePath::ReceivePath(SwitcherSocket& socket, ErrorSink& log) : m_socket(socket), m_log(log) {}

bool ReceivePath::readWaiting(int count) {
    const int chunk = std::clamp(count, 1, MaxReadChunk);
    for (QByteArray bytes = m_socket.Read(chunk); !bytes.isEmpty(); bytes = m_socket.Read(chunk)) {
        if (!m_buffer.append(bytes)) logReceiveFault();  // dropped to stay bounded
    }
    return m_socket.LastError() == SwitcherSocket::WouldBlock;
}

void ReceivePath::logReceiveFault() {
    m_log.LogError(QStringLiteral("Error Receiving IP Message"), QStringLiteral("Socket Error"));
}
