// The real link against a switcher played by a loopback TCP server: a whole
// session with a hang-up the panel recovers from, and failures at once.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "DeadPeerDetection.h"
#include "LinkHarness.h"
#include "SwitcherConnection.h"
#include "TcpSwitcherSocket.h"

namespace {
constexpr int Patience = 5000;  // ms

// An option of this process's IPv4 socket bound to a local port, or -1.
int SocketOption(quint16 localPort, int level, int option) {
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

// The switcher: accepts the panel and keeps what it sends.
struct FakeSwitcher {
    QTcpServer server;
    QTcpSocket* peer = nullptr;
    QByteArray received;

    FakeSwitcher() {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            peer = server.nextPendingConnection();
            received.clear();
            QObject::connect(peer, &QTcpSocket::readyRead, peer,
                             [this, p = peer] { received += p->readAll(); });
        });
    }
    void Send(const char* hex) { peer->write(Hex(hex)); }
};

struct Panel : LinkHarness {
    TcpSwitcherSocket* socket = new TcpSwitcherSocket;
    SwitcherConnection link{state, view, log, std::unique_ptr<SwitcherSocket>(socket)};

    explicit Panel(quint16 port) { state.IPPort = port; }
    LinkPhase Phase() const { return link.Machine().Phase(); }
};
}  // namespace

class LoopbackLinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSession() {
        FakeSwitcher switcher;
        Panel panel(switcher.server.serverPort());
        QSignalSpy peerClosed(panel.socket, &SwitcherSocket::ClosedByPeer);
        panel.link.ConnectToSwitcher();
        QTRY_VERIFY_WITH_TIMEOUT(panel.state.Connected && switcher.peer, Patience);
        QCOMPARE(panel.view.captions, QStringList{"&Disconnect"});

        // A switcher that vanishes without closing is found out by TCP itself,
        // about 15 s after its last sign of life.
        const auto option = [&](int level, int name) {
            return SocketOption(switcher.peer->peerPort(), level, name);
        };
        QCOMPARE(option(SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPIDLE), DeadPeer::IdleSeconds);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPINTVL), DeadPeer::ProbeIntervalSeconds);
        QCOMPARE(option(IPPROTO_TCP, TCP_KEEPCNT), DeadPeer::ProbeCount);
        QCOMPARE(option(IPPROTO_TCP, TCP_USER_TIMEOUT), DeadPeer::UnacknowledgedLimitMs);
        QVERIFY(DeadPeer::IdleSeconds + DeadPeer::ProbeIntervalSeconds * DeadPeer::ProbeCount <=
                15);

        switcher.Send("816464ff");
        QTRY_COMPARE_WITH_TIMEOUT(switcher.received, Hex("810a010bfff2001e020000000000000020ff"),
                                  Patience);
        switcher.received.clear();
        panel.link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra);
        QTRY_COMPARE_WITH_TIMEOUT(switcher.received, Hex("e3020f0100050000081fff"), Patience);
        switcher.Send("e3020f020005000008000828fff5");
        QTRY_VERIFY_WITH_TIMEOUT(switcher.received.endsWith('\xf4'), Patience);
        QCOMPARE(panel.state.OutputGains[6].DspOutput, int16_t(1024));
        QCOMPARE(panel.view.refreshRequests, 1);

        // The switcher hangs up: the loss shows at once, and the panel is back
        // by itself a second later.
        QTcpSocket* first = switcher.peer;
        first->close();
        QTRY_COMPARE_WITH_TIMEOUT(panel.Phase(), LinkPhase::RetryWait, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(switcher.peer != first, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(panel.Phase(), LinkPhase::Waiting, Patience);

        // Hanging up ourselves is not taken for the switcher's doing.
        panel.link.DisconnectFromSwitcher();
        QTRY_COMPARE_WITH_TIMEOUT(switcher.peer->state(), QAbstractSocket::UnconnectedState,
                                  Patience);
        QTest::qWait(1500);  // longer than the first retry delay
        QCOMPARE(peerClosed.count(), 1);
        QCOMPARE(panel.Phase(), LinkPhase::Down);
        QCOMPARE(panel.view.captions, (QStringList{"&Disconnect", "&Connect"}));
        QCOMPARE(panel.view.connectFailures, 0);
        QCOMPARE(panel.log.entries.size(), 2);  // the loss and the reconnection
    }

    // Nobody listens: the refusal is taken at once for a failed attempt (not
    // waited out), and the panel goes on trying by itself, without a box.
    void refusedAttemptIsRetried() {
        quint16 deadPort = 0;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            deadPort = probe.serverPort();
        }
        Panel panel(deadPort);
        panel.link.ConnectToSwitcher();
        QTRY_COMPARE_WITH_TIMEOUT(panel.Phase(), LinkPhase::RetryWait, Patience);
        QCOMPARE(panel.log.entries,
                 (LogEntries{{QStringLiteral("Connection to switcher at 127.0.0.1:%1 failed, "
                                             "retrying")
                                  .arg(deadPort),
                              "Connection Error"}}));
        QVERIFY(!panel.link.Machine().Status().linkWasUp);
        QTRY_COMPARE_WITH_TIMEOUT(panel.link.Machine().Status().retryInSeconds, 2, Patience);
        QCOMPARE(panel.view.connectFailures, 0);
        QCOMPARE(panel.log.entries.size(), 1);
    }

    void failureAtOnce_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::newRow("octet above 255") << "300.1.1.1" << 1250;
        QTest::newRow("a name") << "localhost" << 1250;
        QTest::newRow("port 65536 must not wrap to 0") << "127.0.0.1" << 65536;
        QTest::newRow("port 0") << "127.0.0.1" << 0;
    }
    void failureAtOnce() {
        QFETCH(QString, address);
        QFETCH(int, port);
        Panel panel(0);
        panel.state.IPAddress = address;
        panel.state.IPPort = port;
        panel.link.ConnectToSwitcher();
        QCOMPARE(panel.view.connectFailures, 1);
        QTest::qWait(50);
        QVERIFY(!panel.state.Connected && panel.view.captions.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LoopbackLinkTest)
#include "LoopbackLinkTest.moc"
