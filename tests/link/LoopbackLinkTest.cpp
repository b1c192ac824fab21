// The real link against a switcher played by a loopback TCP server: a whole
// session with a hang-up the panel recovers from, failures at once, and the
// socket settings that find a switcher gone silent.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "DeadPeerDetection.h"
#include "PanelState.h"
#include "Recorders.h"
#include "SwitcherConnection.h"
#include "TcpSwitcherSocket.h"

namespace {
constexpr int Patience = 5000;  // ms

// The descriptor of this process's IPv4 socket bound to a local port.
int DescriptorWithLocalPort(quint16 port) {
    for (int fd = 0; fd < 4096; ++fd) {
        sockaddr_in address{};
        socklen_t length = sizeof(address);
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) continue;
        if (address.sin_family == AF_INET && ntohs(address.sin_port) == port) return fd;
    }
    return -1;
}

int IntOption(int descriptor, int level, int option) {
    int value = -1;
    socklen_t length = sizeof(value);
    return ::getsockopt(descriptor, level, option, &value, &length) == 0 ? value : -1;
}

// A loopback port that nobody listens on.
quint16 DeadPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
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
    void Send(const char* hex) { peer->write(QByteArray::fromHex(hex)); }
};

struct Panel {
    PanelState state;
    RecordingView view;
    RecordingLog log;
    TcpSwitcherSocket* socket = new TcpSwitcherSocket;
    SwitcherConnection link{state, view, log, std::unique_ptr<SwitcherSocket>(socket)};

    explicit Panel(quint16 port) { state.IPPort = port; }
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

        switcher.Send("816464ff");
        QTRY_COMPARE_WITH_TIMEOUT(switcher.received,
                                  QByteArray::fromHex("810a010bfff2001e020000000000000020ff"),
                                  Patience);
        switcher.received.clear();
        panel.link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra);
        QTRY_COMPARE_WITH_TIMEOUT(switcher.received, QByteArray::fromHex("e3020f0100050000081fff"),
                                  Patience);
        switcher.Send("e3020f020005000008000828fff5");
        QTRY_VERIFY_WITH_TIMEOUT(switcher.received.endsWith('\xf4'), Patience);
        QCOMPARE(panel.state.OutputGains[6].DspOutput, int16_t(1024));
        QCOMPARE(panel.view.refreshRequests, 1);

        // The switcher hangs up: the loss shows at once, and the panel is back
        // by itself a second later.
        QTcpSocket* first = switcher.peer;
        first->close();
        QTRY_COMPARE_WITH_TIMEOUT(panel.link.Machine().Phase(), LinkPhase::RetryWait, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(switcher.peer != first, Patience);
        QTRY_COMPARE_WITH_TIMEOUT(panel.link.Machine().Phase(), LinkPhase::Waiting, Patience);
        QVERIFY(panel.state.Connected);

        // Hanging up ourselves is not taken for the switcher's doing.
        panel.link.DisconnectFromSwitcher();
        QTRY_COMPARE_WITH_TIMEOUT(switcher.peer->state(), QAbstractSocket::UnconnectedState,
                                  Patience);
        QTest::qWait(1500);  // longer than the first retry delay
        QCOMPARE(peerClosed.count(), 1);
        QCOMPARE(panel.link.Machine().Phase(), LinkPhase::Down);
        QCOMPARE(panel.view.captions, (QStringList{"&Disconnect", "&Connect"}));
        QCOMPARE(panel.view.connectFailures, 0);
        QCOMPARE(panel.log.entries.size(), 2);  // the loss and the reconnection
    }

    // Nobody listens: the refusal is taken at once for a failed attempt (not
    // waited out), and the panel goes on trying by itself, without a box.
    void refusedAttemptIsRetried() {
        Panel panel(DeadPort());
        panel.link.ConnectToSwitcher();
        QTRY_COMPARE_WITH_TIMEOUT(panel.link.Machine().Phase(), LinkPhase::RetryWait, Patience);
        QCOMPARE(panel.log.entries,
                 (QList<QPair<QString, QString>>{
                     {QStringLiteral("Connection to switcher at 127.0.0.1:%1 failed, retrying")
                          .arg(panel.state.IPPort),
                      "Connection Error"}}));
        QVERIFY(!panel.link.Machine().Status().linkWasUp);
        QTRY_COMPARE_WITH_TIMEOUT(panel.link.Machine().Status().retryInSeconds, 2, Patience);
        QCOMPARE(panel.view.connectFailures, 0);
        QCOMPARE(panel.log.entries.size(), 1);
    }

    // A switcher that vanishes without closing is found out by TCP itself.
    void deadPeerDetectionIsOn() {
        FakeSwitcher switcher;
        Panel panel(switcher.server.serverPort());
        panel.link.ConnectToSwitcher();
        QTRY_VERIFY_WITH_TIMEOUT(panel.state.Connected && switcher.peer, Patience);
        const int descriptor = DescriptorWithLocalPort(switcher.peer->peerPort());
        QVERIFY(descriptor >= 0);
        QCOMPARE(IntOption(descriptor, SOL_SOCKET, SO_KEEPALIVE), 1);
        QCOMPARE(IntOption(descriptor, IPPROTO_TCP, TCP_KEEPIDLE), DeadPeer::IdleSeconds);
        QCOMPARE(IntOption(descriptor, IPPROTO_TCP, TCP_KEEPINTVL), DeadPeer::ProbeIntervalSeconds);
        QCOMPARE(IntOption(descriptor, IPPROTO_TCP, TCP_KEEPCNT), DeadPeer::ProbeCount);
        QCOMPARE(IntOption(descriptor, IPPROTO_TCP, TCP_USER_TIMEOUT),
                 DeadPeer::UnacknowledgedLimitMs);
        // About 15 s from the last sign of life to the loss.
        QVERIFY(DeadPeer::IdleSeconds + DeadPeer::ProbeIntervalSeconds * DeadPeer::ProbeCount <=
                15);
    }

    void failureAtOnce_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("port");
        QTest::newRow("octet above 255") << "300.1.1.1" << 1250;
        QTest::newRow("a name") << "localhost" << 1250;
        QTest::newRow("port above 16 bits") << "127.0.0.1" << 70000;
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

    // Nobody listens: the attempt fails after Connect returned 0. A send
    // meanwhile is dropped and leaves the attempt (and its retries) alone.
    void sendWhileTheAttemptIsPendingKeepsIt() {
        Panel panel(DeadPort());
        panel.link.ConnectToSwitcher();
        panel.link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra);
        QCOMPARE(panel.view.connectFailures, 0);
        QVERIFY(!panel.state.Connected);
        QVERIFY(panel.view.captions.isEmpty());
        QCOMPARE(panel.link.Machine().Phase(), LinkPhase::Connecting);
    }
};

QTEST_GUILESS_MAIN(LoopbackLinkTest)
#include "LoopbackLinkTest.moc"
