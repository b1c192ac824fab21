// The link's life against a hand-driven socket and clock: when the link counts
// as live, how it backs off and retries after a loss, what the operator's
// Connect and Disconnect do meanwhile, and what reaches the log and the menu.
#include <QtTest>

#include "FakeSocket.h"
#include "LinkHarness.h"
#include "SwitcherConnection.h"

namespace {

// Time moves only when the test says; a timer fires once its deadline is
// passed. The timers live no longer than the clock: both belong to the link.
struct FakeLinkClock : LinkClock {
    struct Timer : LinkTimer {
        Timer(const qint64& n, std::function<void()> f) : now(n), fire(std::move(f)) {}
        const qint64& now;
        std::function<void()> fire;
        qint64 due = -1;  // -1: not armed
        void start(int ms) override { due = now + ms; }
        void stop() override { due = -1; }
        bool isActive() const override { return due >= 0; }
    };
    qint64 now = 0;
    std::vector<Timer*> timers;
    QTime currentTime() const override { return QTime(9, 30).addMSecs(static_cast<int>(now)); }
    std::unique_ptr<LinkTimer> newTimer(std::function<void()> onTimeout) override {
        timers.push_back(new Timer(now, std::move(onTimeout)));
        return std::unique_ptr<LinkTimer>(timers.back());
    }
    void advance(qint64 ms) {
        for (const qint64 end = now + ms; now < end;) {
            ++now;
            for (Timer* t : timers)
                if (t->isActive() && t->due <= now) t->stop(), t->fire();
        }
    }
};

// The type request, then destinations "PGML", "PGMR", "MIC1" (the first two a
// pair) and sources "SRC1", "SRC2", not linked.
const QList<QByteArray> Handshake = hexes(
    "816464ff FC0A040200000053524331000053524332010044FF "
    "FC14040300000050474D4C000050474D5201004D49433102000EFF "
    "FA0A0200000000000CFF FA140300000001010019FF");
const QString Error = QStringLiteral("Connection Error");
const Entry Lost{"Link to switcher closed by the switcher, retrying", Error};
const Entry Back{"Reconnected to switcher at 127.0.0.1:1250", Error};
constexpr int AttemptTimeout = LinkStateMachine::AttemptTimeoutMs;

struct Link : LinkHarness {
    FakeSocket* socket = new FakeSocket;
    FakeLinkClock* clock = new FakeLinkClock;
    SwitcherConnection link{state, view, log, std::unique_ptr<SwitcherSocket>(socket),
                            std::unique_ptr<LinkClock>(clock)};

    LinkPhase phase() const { return link.machine().phase(); }
    const LinkStatus& shown() const { return link.machine().status(); }
    // One message per delivery, so each is decoded at once.
    void feed(const QList<QByteArray>& messages) {
        for (const QByteArray& message : messages) socket->deliver(message);
    }
    void sendZeroDb() { link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra); }
};

}  // namespace

class LinkStateMachineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One outage from start to end. While the panel retries, the item says
    // "&Disconnect" (and stops the retries); no box shows. Each change is
    // logged once: not each retry, but each loss, reconnection and recovery.
    void outage() {
        Link l;
        l.link.ConnectToSwitcher();
        l.sendZeroDb();  // dropped, and the attempt left be
        QVERIFY(l.socket->writes.isEmpty() && l.socket->closeCalls == 0);
        l.clock->advance(AttemptTimeout - 1);
        QVERIFY(l.phase() == LinkPhase::Connecting && !l.state.Connected);
        l.clock->advance(1);  // the attempt is given up, and made again a second later
        QVERIFY(l.phase() == LinkPhase::RetryWait && l.socket->closeCalls == 1);
        QVERIFY(!l.shown().linkWasUp && l.shown().since == QTime(9, 30, 5));

        // The waits double to 30 s, counted down to the operator.
        l.view.statuses.clear();
        QList<int> delays;  // in seconds, each attempt timing out
        for (int calls = 1; delays.size() < 7; l.clock->advance(AttemptTimeout)) {
            for (delays << 0; l.socket->connectCalls == calls; ++delays.last())
                l.clock->advance(1000);
            calls = l.socket->connectCalls;
        }
        QCOMPARE(delays, (QList<int>{1, 2, 4, 8, 16, 30, 30}));
        QList<int> countdown;  // the attempt, its failure, then each second of the wait
        for (const LinkStatus& s : l.view.statuses.mid(0, 5)) countdown << s.retryInSeconds;
        QCOMPARE(countdown, (QList<int>{0, 2, 1, 0, 4}));

        // The operator's Connect tries at once. A switcher that accepts and
        // hangs up is not taken for recovered, so it is not hammered every
        // second. Live takes the type request answered and every table in;
        // once live again, a loss waits 1 s.
        l.link.ConnectToSwitcher();
        l.socket->completeConnect();
        l.socket->peerCloses();
        QVERIFY(l.socket->connectCalls == 9 && l.shown().retryInSeconds == 30);
        l.clock->advance(30000);
        l.socket->completeConnect();
        l.feed(Handshake.mid(0, 4));
        QCOMPARE(l.phase(), LinkPhase::Waiting);
        l.feed(Handshake.mid(4));
        QCOMPARE(l.phase(), LinkPhase::Live);
        l.socket->peerCloses();
        QCOMPARE(l.shown().retryInSeconds, 1);

        // Disconnect during an attempt: a connect completing after it is ignored.
        l.clock->advance(1000);
        QCOMPARE(l.phase(), LinkPhase::RetryAttempt);
        l.link.DisconnectFromSwitcher();
        l.socket->completeConnect();
        l.clock->advance(qint64{10} * 60 * 1000);
        QVERIFY(l.phase() == LinkPhase::Down && l.socket->connectCalls == 11);
        QCOMPARE(l.view.captions, (QStringList{"&Disconnect", "&Connect"}));
        const Entry noAnswer{"No answer from switcher at 127.0.0.1:1250, retrying", Error};
        const Entry live{"Switcher live again with 2 sources and 3 destinations", Error};
        const Entry stopped{"Retrying stopped by the operator", Error};
        QCOMPARE(l.log.entries, (LogEntries{noAnswer, Back, Lost, Back, live, Lost, stopped}));
    }

    // Once live, only a write that would block is tried again, and not for
    // ever. A send that finds the socket gone is a loss like a hang-up.
    // Retries failing at once go on quietly; the operator's own attempt shows
    // the box and ends the retries, since a bad address or port would fail the
    // same way again.
    void sendFailuresThenConnectFailingAtOnce() {
        Link l;
        l.link.ConnectToSwitcher();
        l.socket->completeConnect();
        l.feed(Handshake);
        l.clock->advance(60000);
        l.socket->writes.clear();
        l.socket->writesToBlock = 3;
        l.sendZeroDb();
        QCOMPARE(l.socket->writes, hexes("e3020f0100050000081fff"));
        l.socket->writesToBlock = 1 << 30;
        l.sendZeroDb();
        QVERIFY(l.phase() == LinkPhase::Live && l.socket->writes.size() == 1);
        l.socket->connected = false;
        l.sendZeroDb();
        QVERIFY(l.phase() == LinkPhase::RetryWait && l.socket->writes.size() == 1);
        QVERIFY(l.shown().linkWasUp && l.shown().since == QTime(9, 31));
        l.socket->connectResult = 10049;
        l.clock->advance(1000 + 2000 + 4000);
        QVERIFY(l.socket->connectCalls == 4 && l.phase() == LinkPhase::RetryWait);
        QVERIFY(l.state.Connected && l.view.connectFailures == 0);
        QCOMPARE(l.log.entries,
                 (LogEntries{{"Error sending to switcher", "Switcher Message Error"},
                             {"Link to switcher lost while sending, retrying", Error}}));
        l.link.ConnectToSwitcher();
        QVERIFY(l.socket->connectCalls == 5 && l.phase() == LinkPhase::Down);
        QVERIFY(!l.state.Connected && l.view.connectFailures == 1 && l.log.entries.size() == 3);
    }
};

QTEST_GUILESS_MAIN(LinkStateMachineTest)
#include "LinkStateMachineTest.moc"
