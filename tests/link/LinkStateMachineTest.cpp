// The link's life against a hand-driven socket and clock: when it counts as
// live, how it backs off and retries after a loss, what the operator's
// Connect and Disconnect do meanwhile, and what reaches the log and the menu.
#include <QtTest>

#include "FakeLinkClock.h"
#include "FakeSocket.h"
#include "LinkHarness.h"
#include "ReconnectPolicy.h"
#include "SwitcherConnection.h"

namespace {

const QByteArray TypeRequest = QByteArray::fromHex("816464ff");
// Destinations "PGML", "PGMR", "MIC1" (the first two a pair); sources "SRC1",
// "SRC2", not linked.
const QByteArray DestinationNames =
    QByteArray::fromHex("FC14040300000050474D4C000050474D5201004D49433102000EFF");
const QByteArray DestinationLinks = QByteArray::fromHex("FA140300000001010019FF");
const QByteArray SourceNames = QByteArray::fromHex("FC0A040200000053524331000053524332010044FF");
const QByteArray SourceLinks = QByteArray::fromHex("FA0A0200000000000CFF");
const QList<QByteArray> AllTables{SourceNames, DestinationNames, SourceLinks, DestinationLinks};

constexpr int AttemptTimeout = LinkStateMachine::AttemptTimeoutMs;

struct Link : LinkHarness {
    FakeSocket* socket = new FakeSocket;
    FakeLinkClock* clock = new FakeLinkClock(QTime(9, 30, 0));
    SwitcherConnection link{state, view, log, std::unique_ptr<SwitcherSocket>(socket),
                            std::unique_ptr<LinkClock>(clock)};

    LinkPhase Phase() const { return link.Machine().Phase(); }
    const LinkStatus& Shown() const { return link.Machine().Status(); }

    void Up() {
        link.ConnectToSwitcher();
        socket->CompleteConnect();
    }
    // One message per delivery, so each is decoded at once.
    void Deliver(const QList<QByteArray>& messages) {
        for (const QByteArray& message : messages) socket->Deliver(message);
    }
    void Live() {
        Up();
        Deliver({TypeRequest});
        Deliver(AllTables);
    }
    // Seconds between the attempts that follow, each attempt timing out.
    QList<int> DelaysBetweenFailedAttempts(int attempts) {
        QList<int> delays;
        for (int i = 0; i < attempts; ++i) {
            const int before = socket->connectCalls;
            qint64 waited = 0;
            while (socket->connectCalls == before) {
                clock->Advance(1000);
                waited += 1000;
            }
            delays << static_cast<int>(waited / 1000);
            clock->Advance(AttemptTimeout);
        }
        return delays;
    }
};

}  // namespace

class LinkStateMachineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void backoffDoublesUpToThirtySeconds() {
        ReconnectPolicy policy;
        QList<int> delays;
        for (int i = 0; i < 8; ++i) delays << policy.NextDelaySeconds();
        QCOMPARE(delays, (QList<int>{1, 2, 4, 8, 16, 30, 30, 30}));
        policy.Reset();
        QCOMPARE(policy.NextDelaySeconds(), 1);
    }

    void liveOnlyOnceTypeAnsweredAndTablesIn_data() {
        QTest::addColumn<QList<QByteArray>>("messages");
        QTest::addColumn<LinkPhase>("phase");
        QTest::newRow("type request and every table")
            << (QList<QByteArray>{TypeRequest} + AllTables) << LinkPhase::Live;
        QTest::newRow("connected, nothing said") << QList<QByteArray>{} << LinkPhase::Waiting;
        QTest::newRow("type request only") << QList<QByteArray>{TypeRequest} << LinkPhase::Waiting;
        QTest::newRow("one table missing")
            << QList<QByteArray>{TypeRequest, SourceNames, DestinationNames, SourceLinks}
            << LinkPhase::Waiting;
        QTest::newRow("tables without a type request") << AllTables << LinkPhase::Waiting;
        QTest::newRow("type request with a bad checksum, then the tables")
            << (QList<QByteArray>{QByteArray::fromHex("816465ff")} + AllTables)
            << LinkPhase::Waiting;
    }
    void liveOnlyOnceTypeAnsweredAndTablesIn() {
        QFETCH(QList<QByteArray>, messages);
        QFETCH(LinkPhase, phase);
        Link l;
        l.Up();
        l.Deliver(messages);
        QCOMPARE(l.Phase(), phase);
        QVERIFY(l.state.Connected);
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});
        QVERIFY(l.log.entries.isEmpty());  // a normal start leaves no trace
        if (phase == LinkPhase::Live) {
            QCOMPARE(l.view.statuses.last().sources, 2);
            QCOMPARE(l.view.statuses.last().destinations, 3);
        }
    }

    void peerCloseWhileLiveRetriesAfterOneSecond() {
        Link l;
        l.Live();
        l.clock->Advance(60000);
        const int closesBefore = l.socket->closeCalls;
        l.socket->PeerCloses();

        QCOMPARE(l.Phase(), LinkPhase::RetryWait);
        QCOMPARE(l.socket->closeCalls, closesBefore + 1);
        QCOMPARE(l.Shown().since, QTime(9, 31, 0));
        QVERIFY(l.Shown().linkWasUp);
        QCOMPARE(l.Shown().retryInSeconds, 1);
        // The item now stops the retries.
        QVERIFY(l.state.Connected);
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});

        l.clock->Advance(999);
        QCOMPARE(l.socket->connectCalls, 1);
        l.clock->Advance(1);
        QCOMPARE(l.socket->connectCalls, 2);
        QCOMPARE(l.Phase(), LinkPhase::RetryAttempt);
        QCOMPARE(l.view.connectFailures, 0);
    }

    void failedAttemptsBackOffToThirtySeconds() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        QCOMPARE(l.DelaysBetweenFailedAttempts(8), (QList<int>{1, 2, 4, 8, 16, 30, 30, 30}));
        // One entry for the whole outage, not one per attempt.
        QCOMPARE(l.log.entries, (QList<Entry>{{"Link to switcher closed by the switcher, retrying",
                                               "Connection Error"}}));
        QCOMPARE(l.view.connectFailures, 0);
        QCOMPARE(l.Shown().since, QTime(9, 30, 0));  // when the trouble began
    }

    void countdownShownEverySecond() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.DelaysBetweenFailedAttempts(2);  // the next wait is 4 s
        l.view.statuses.clear();
        l.clock->Advance(4000);
        QList<int> shown;
        for (const LinkStatus& s : l.view.statuses) {
            shown << (s.phase == LinkPhase::RetryWait ? s.retryInSeconds : 0);
        }
        QCOMPARE(shown, (QList<int>{3, 2, 1, 0}));  // 0: the attempt itself
        QCOMPARE(l.view.statuses.last().phase, LinkPhase::RetryAttempt);
    }

    void disconnectDuringRetryWaitStopsRetrying() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.DelaysBetweenFailedAttempts(3);
        const int attempts = l.socket->connectCalls;
        l.link.DisconnectFromSwitcher();

        QCOMPARE(l.Phase(), LinkPhase::Down);
        QVERIFY(!l.state.Connected);
        QCOMPARE(l.view.captions.last(), QStringLiteral("&Connect"));
        l.clock->Advance(10 * 60 * 1000);
        QCOMPARE(l.socket->connectCalls, attempts);
        QCOMPARE(l.log.entries.last(),
                 (Entry{"Retrying stopped by the operator", "Connection Error"}));
    }

    void disconnectDuringRetryAttemptStopsRetrying() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.clock->Advance(1000);
        QCOMPARE(l.Phase(), LinkPhase::RetryAttempt);
        l.link.DisconnectFromSwitcher();
        l.socket->CompleteConnect();  // too late: the attempt was abandoned
        l.clock->Advance(10 * 60 * 1000);
        QCOMPARE(l.Phase(), LinkPhase::Down);
        QCOMPARE(l.socket->connectCalls, 2);
    }

    void connectDuringRetryWaitTriesAtOnce() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.DelaysBetweenFailedAttempts(4);  // now waiting 16 s
        const int attempts = l.socket->connectCalls;
        l.link.ConnectToSwitcher();
        QCOMPARE(l.socket->connectCalls, attempts + 1);
        QCOMPARE(l.Phase(), LinkPhase::RetryAttempt);
        l.socket->CompleteConnect();
        QCOMPARE(l.Phase(), LinkPhase::Waiting);
        QCOMPARE(l.log.entries.last().first,
                 QStringLiteral("Reconnected to switcher at 127.0.0.1:1250"));
    }

    void recoveryLogsLossReconnectionAndLiveOnce() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.DelaysBetweenFailedAttempts(3);
        l.clock->Advance(8000);
        l.socket->CompleteConnect();
        l.Deliver({TypeRequest});
        l.Deliver(AllTables);
        QCOMPARE(l.Phase(), LinkPhase::Live);
        QCOMPARE(
            l.log.entries,
            (QList<Entry>{
                {"Link to switcher closed by the switcher, retrying", "Connection Error"},
                {"Reconnected to switcher at 127.0.0.1:1250", "Connection Error"},
                {"Switcher live again with 2 sources and 3 destinations", "Connection Error"}}));
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});  // never offered Connect
    }

    // Back to 1 s only once the switcher has answered in full: a switcher that
    // accepts and hangs up at once is not hammered every second.
    void backoffRestartsOnlyWhenLive_data() {
        QTest::addColumn<bool>("liveBeforeSecondLoss");
        QTest::addColumn<int>("nextDelay");
        QTest::newRow("live again") << true << 1;
        QTest::newRow("only connected") << false << 4;
    }
    void backoffRestartsOnlyWhenLive() {
        QFETCH(bool, liveBeforeSecondLoss);
        QFETCH(int, nextDelay);
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.DelaysBetweenFailedAttempts(1);  // 1 s, and the attempt times out
        l.clock->Advance(2000);            // the second attempt
        l.socket->CompleteConnect();
        if (liveBeforeSecondLoss) {
            l.Deliver({TypeRequest});
            l.Deliver(AllTables);
        }
        l.socket->PeerCloses();
        QCOMPARE(l.Shown().retryInSeconds, nextDelay);
    }

    void attemptThatNeverCompletesIsRetried() {
        Link l;
        l.link.ConnectToSwitcher();
        QCOMPARE(l.Phase(), LinkPhase::Connecting);
        QVERIFY(!l.state.Connected);
        l.clock->Advance(AttemptTimeout - 1);
        QCOMPARE(l.Phase(), LinkPhase::Connecting);
        l.clock->Advance(1);

        QCOMPARE(l.Phase(), LinkPhase::RetryWait);
        QVERIFY(!l.Shown().linkWasUp);
        QCOMPARE(l.Shown().since, QTime(9, 30, 5));
        QCOMPARE(l.socket->closeCalls, 1);
        QVERIFY(l.state.Connected);
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});
        QCOMPARE(l.log.entries,
                 (QList<Entry>{
                     {"No answer from switcher at 127.0.0.1:1250, retrying", "Connection Error"}}));
        QCOMPARE(l.view.connectFailures, 0);
        l.clock->Advance(1000);
        QCOMPARE(l.socket->connectCalls, 2);
    }

    void operatorAttemptFailingAtOnceShowsTheBoxAndStops_data() {
        QTest::addColumn<bool>("whileRetrying");
        QTest::newRow("from down") << false;
        QTest::newRow("during a retry wait") << true;
    }
    void operatorAttemptFailingAtOnceShowsTheBoxAndStops() {
        QFETCH(bool, whileRetrying);
        Link l;
        if (whileRetrying) {
            l.Live();
            l.socket->PeerCloses();
        }
        const int attempts = l.socket->connectCalls;
        l.socket->connectResult = 10049;
        l.link.ConnectToSwitcher();
        QCOMPARE(l.view.connectFailures, 1);
        QCOMPARE(l.Phase(), LinkPhase::Down);
        QVERIFY(!l.state.Connected);
        l.clock->Advance(10 * 60 * 1000);
        QCOMPARE(l.socket->connectCalls, attempts + 1);
        QCOMPARE(l.view.connectFailures, 1);
    }

    void retryFailingAtOnceShowsNoBoxAndGoesOn() {
        Link l;
        l.Live();
        l.socket->PeerCloses();
        l.socket->connectResult = 10049;
        l.clock->Advance(1000 + 2000 + 4000);
        QCOMPARE(l.socket->connectCalls, 4);
        QCOMPARE(l.view.connectFailures, 0);
        QCOMPARE(l.Phase(), LinkPhase::RetryWait);
        QCOMPARE(l.log.entries.size(), 1);
    }

    void sendOnADeadLinkStartsRetrying() {
        Link l;
        l.Live();
        l.socket->connected = false;  // gone without a word
        l.link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra);
        QCOMPARE(l.Phase(), LinkPhase::RetryWait);
        QCOMPARE(
            l.log.entries,
            (QList<Entry>{{"Link to switcher lost while sending, retrying", "Connection Error"}}));
    }

    void sendWhileAnAttemptIsPendingKeepsIt() {
        Link l;
        l.link.ConnectToSwitcher();
        l.link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra);
        QCOMPARE(l.Phase(), LinkPhase::Connecting);
        QCOMPARE(l.socket->closeCalls, 0);
        QVERIFY(l.socket->writes.isEmpty());
        l.socket->CompleteConnect();
        QCOMPARE(l.Phase(), LinkPhase::Waiting);
    }

    void newTypeRequestWhileLiveWaitsForTheTablesAgain() {
        Link l;
        l.Live();
        l.Deliver({TypeRequest});
        QCOMPARE(l.Phase(), LinkPhase::Waiting);
        l.Deliver(AllTables);
        QCOMPARE(l.Phase(), LinkPhase::Live);
        QVERIFY(l.log.entries.isEmpty());
    }
};

QTEST_GUILESS_MAIN(LinkStateMachineTest)
#include "LinkStateMachineTest.moc"
