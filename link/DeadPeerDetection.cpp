#include "DeadPeerDetection.h"

#include <QAbstractSocket>
#include <QVariant>

#if defined(Q_OS_LINUX)
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace {

#if defined(Q_OS_LINUX)
bool setTcpOption(qintptr descriptor, int option, int value) {
    return ::setsockopt(static_cast<int>(descriptor), IPPROTO_TCP, option, &value, sizeof(value)) ==
           0;
}
#endif

}  // namespace

bool enableDeadPeerDetection(QAbstractSocket& socket) {
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
#if defined(Q_OS_LINUX)
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0) return false;
    bool all = setTcpOption(descriptor, TCP_KEEPIDLE, DeadPeer::IdleSeconds);
    all = setTcpOption(descriptor, TCP_KEEPINTVL, DeadPeer::ProbeIntervalSeconds) && all;
    all = setTcpOption(descriptor, TCP_KEEPCNT, DeadPeer::ProbeCount) && all;
    all = setTcpOption(descriptor, TCP_USER_TIMEOUT, DeadPeer::UnacknowledgedLimitMs) && all;
    return all;
#else
    return false;
#endif
}
