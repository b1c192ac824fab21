// The real socket against a switcher played by a loopback TCP server. The
// exchanges, closes from either side, refused and repeated attempts are
// covered end to end against the simulator and in the setup tests; here what
// only the socket shows.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QTcpServer>
#include <QtTest>

#include "DeadPeerDetection.h"
#include "LinkHarness.h"
#include "SwitcherConnection.h"
#include "TcpSwitcherSocket.h"

namespace {
// An option of this process's IPv4 socket bound to a local port, or -1.
int option(quint16 localPort, int level, int option) {
    for (int fd = 0; fd < 4096; ++fd) {
        sockaddr_in address{};
        socklen_t length = sizeof(address);
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) continue;
        if (address.sin_family != AF_INET || ntohs(address.sin_port) != localPort) continue;
        int value = -1;
        length = sizeof(value);
        return ::getsockopt(fd, level, option, &value, &length) == 0 ? value : -1;
    }
    return -1;
}
}  // namespace

class LoopbackLinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A switcher that vanishes without closing is found out by TCP itself.
    void keepaliveOnceConnected() {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost);
        LinkHarness panel;
        panel.state.IPPort = server.serverPort();
        SwitcherConnection link{panel.state, panel.view, panel.log,
                                std::make_unique<TcpSwitcherSocket>()};
        link.ConnectToSwitcher();
        QTRY_VERIFY_WITH_TIMEOUT(panel.state.Connected && server.hasPendingConnections(), 5000);
        const quint16 port = server.nextPendingConnection()->peerPort();
        QCOMPARE(option(port, SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(option(port, IPPROTO_TCP, TCP_KEEPIDLE), DeadPeer::IdleSeconds);
        QCOMPARE(option(port, IPPROTO_TCP, TCP_USER_TIMEOUT), DeadPeer::UnacknowledgedLimitMs);
    }

    // An address or port the panel cannot use fails at once (the state
    // machine then shows the box): no name lookup, and port 65536 must not
    // wrap to 0.
    void failureAtOnce() {
        for (const char* at :
             {"300.1.1.1:1250", "localhost:1250", "127.0.0.1:65536", "127.0.0.1:0"}) {
            const QStringList endpoint = QString(at).split(':');
            QVERIFY2(TcpSwitcherSocket().Connect(endpoint[0], endpoint[1].toInt()) != 0, at);
        }
    }
};

QTEST_GUILESS_MAIN(LoopbackLinkTest)
#include "LoopbackLinkTest.moc"
