// The real link against a switcher played by a loopback TCP server.
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include "PanelState.h"
#include "Recorders.h"
#include "SwitcherConnection.h"
#include "TcpSwitcherSocket.h"

namespace {
constexpr int Patience = 5000;  // ms

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

        // The switcher hangs up: the menu offers to connect again at once.
        QTcpSocket* first = switcher.peer;
        first->close();
        QTRY_VERIFY_WITH_TIMEOUT(!panel.state.Connected, Patience);
        QCOMPARE(panel.view.captions.last(), QStringLiteral("&Connect"));
        panel.link.ConnectToSwitcher();
        QTRY_VERIFY_WITH_TIMEOUT(panel.state.Connected && switcher.peer != first, Patience);

        // Hanging up ourselves is not taken for the switcher's doing.
        panel.link.DisconnectFromSwitcher();
        QTRY_COMPARE_WITH_TIMEOUT(switcher.peer->state(), QAbstractSocket::UnconnectedState,
                                  Patience);
        QTest::qWait(100);
        QCOMPARE(peerClosed.count(), 1);
        QCOMPARE(panel.view.captions,
                 (QStringList{"&Disconnect", "&Connect", "&Disconnect", "&Connect"}));
        QVERIFY(panel.log.entries.isEmpty());
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

    // Nobody listens: the attempt fails after Connect returned 0, and the next
    // send finds the socket not connected.
    void sendWithoutALinkPutsTheMenuBack() {
        quint16 deadPort = 0;
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost);
            deadPort = probe.serverPort();
        }
        Panel panel(deadPort);
        panel.link.ConnectToSwitcher();
        panel.link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra);
        QCOMPARE(panel.view.connectFailures, 0);
        QVERIFY(!panel.state.Connected);
        QCOMPARE(panel.view.captions, QStringList{"&Connect"});
    }
};

QTEST_GUILESS_MAIN(LoopbackLinkTest)
#include "LoopbackLinkTest.moc"
