// The send loop and the link state against the fake socket: what a real
// socket rarely shows on a loopback.
#include <QtTest>
#include <climits>

#include "FakeSocket.h"
#include "LinkHarness.h"
#include "SwitcherConnection.h"

namespace {
struct Connection : LinkHarness {
    FakeSocket* socket = new FakeSocket;
    SwitcherConnection link{state, view, log, std::unique_ptr<SwitcherSocket>(socket)};

    Connection() {
        link.ConnectToSwitcher();
        socket->CompleteConnect();
    }
    void SendZeroDb() { link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra); }
};
}  // namespace

class SwitcherConnectionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refusedWriteIsRepeatedInFull() {
        Connection c;
        c.socket->writesToBlock = 3;
        c.SendZeroDb();
        QCOMPARE(c.socket->writes, Hexes("e3020f0100050000081fff"));
        QVERIFY(c.log.entries.isEmpty());
    }

    void endlesslyRefusedWriteGivesUp() {
        Connection c;
        c.socket->writesToBlock = INT_MAX;
        c.SendZeroDb();
        QVERIFY(c.socket->writes.isEmpty());
        QCOMPARE(c.log.entries,
                 (QList<Entry>{{"Error sending to switcher", "Switcher Message Error"}}));
        QVERIFY(c.state.Connected);
    }

    // The link is lost: the panel retries by itself, and the item keeps
    // "&Disconnect" to stop that.
    void sendOnASocketNotConnectedStartsRetrying() {
        Connection c;
        c.socket->connected = false;  // gone without a word
        c.SendZeroDb();
        QVERIFY(c.socket->writes.isEmpty() && c.state.Connected);
        QCOMPARE(c.link.Machine().Phase(), LinkPhase::RetryWait);
        QCOMPARE(c.view.captions, QStringList{"&Disconnect"});
    }

    void disconnectWhileDownClosesAgain() {
        Connection c;
        c.link.DisconnectFromSwitcher();
        c.link.DisconnectFromSwitcher();
        QCOMPARE(c.socket->closeCalls, 2);
        QVERIFY(!c.state.Connected);
        QCOMPARE(c.view.captions, (QStringList{"&Disconnect", "&Connect", "&Connect"}));
    }
};

QTEST_GUILESS_MAIN(SwitcherConnectionTest)
#include "SwitcherConnectionTest.moc"
