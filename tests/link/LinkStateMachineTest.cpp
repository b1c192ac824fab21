// The link's life against a hand-driven socket and clock: the send loop, when
// the link counts as live, how it backs off and retries after a loss, what the
// operator's Connect and Disconnect do meanwhile, and what reaches the log and
// the menu.
#include <QtTest>
#include <climits>

#include "FakeSocket.h"
#include "LinkHarness.h"
#include "SwitcherConnection.h"

namespace {

// Time moves only when the test says; a timer fires once its deadline is
// passed. The timers live no longer than the clock: both belong to the link.
class FakeLinkClock : public LinkClock {
    struct Timer : LinkTimer {
        const qint64* now = nullptr;
        std::function<void()> fire;
        qint64 due = -1;  // -1: not armed
        void Start(int ms) override { due = *now + ms; }
        void Stop() override { due = -1; }
        bool IsActive() const override { return due >= 0; }
    };

public:
    QTime CurrentTime() const override { return QTime(9, 30).addMSecs(static_cast<int>(now_)); }
    std::unique_ptr<LinkTimer> NewTimer(std::function<void()> onTimeout) override {
        auto timer = std::make_unique<Timer>();
        timer->now = &now_;
        timer->fire = std::move(onTimeout);
        timers_.push_back(timer.get());
        return timer;
    }
    void Advance(qint64 ms) {
        for (const qint64 end = now_ + ms; now_ < end;) {
            ++now_;
            for (Timer* t : timers_) {
                if (!t->IsActive() || t->due > now_) continue;
                t->due = -1;
                t->fire();
            }
        }
    }

private:
    qint64 now_ = 0;
    std::vector<Timer*> timers_;
};

const QByteArray TypeRequest = Hex("816464ff");
// Destinations "PGML", "PGMR", "MIC1" (the first two a pair); sources "SRC1",
// "SRC2", not linked.
const QList<QByteArray> AllTables = Hexes(
    "FC0A040200000053524331000053524332010044FF "
    "FC14040300000050474D4C000050474D5201004D49433102000EFF "
    "FA0A0200000000000CFF FA140300000001010019FF");
const QString Lost = QStringLiteral("Link to switcher closed by the switcher, retrying");
const QString Reconnected = QStringLiteral("Reconnected to switcher at 127.0.0.1:1250");
const QString Error = QStringLiteral("Connection Error");
constexpr int AttemptTimeout = LinkStateMachine::AttemptTimeoutMs;
constexpr int TenMinutes = 10 * 60 * 1000;
enum Trouble { PeerCloses, SendFails, NoAnswer };

struct Link : LinkHarness {
    FakeSocket* socket = new FakeSocket;
    FakeLinkClock* clock = new FakeLinkClock;
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
        Deliver(QList<QByteArray>{TypeRequest} + AllTables);
    }
    void LiveThenLost() {
        Live();
        socket->PeerCloses();
    }
    void SendZeroDb() { link.SendGainMessage(15, 1024, 5, SwitcherLinkPort::NoExtra); }
    // Seconds between the attempts that follow, each attempt timing out.
    QList<int> DelaysBetweenFailedAttempts(int attempts) {
        QList<int> delays;
        for (int i = 0; i < attempts; ++i) {
            const int before = socket->connectCalls;
            int waited = 0;
            for (; socket->connectCalls == before; ++waited) clock->Advance(1000);
            delays << waited;
            clock->Advance(AttemptTimeout);
        }
        return delays;
    }
};

}  // namespace

class LinkStateMachineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Only would-block is repeated, and not for ever.
    void refusedWrite_data() {
        QTest::addColumn<int>("refusals");
        QTest::addColumn<QList<QByteArray>>("written");
        QTest::addColumn<LogEntries>("entries");
        QTest::newRow("three times") << 3 << Hexes("e3020f0100050000081fff") << LogEntries{};
        QTest::newRow("for ever") << INT_MAX << QList<QByteArray>{}
                                  << LogEntries{
                                         {"Error sending to switcher", "Switcher Message Error"}};
    }
    void refusedWrite() {
        QFETCH(int, refusals);
        QFETCH(QList<QByteArray>, written);
        QFETCH(LogEntries, entries);
        Link l;
        l.Up();
        l.socket->writesToBlock = refusals;
        l.SendZeroDb();
        QCOMPARE(l.socket->writes, written);
        QCOMPARE(l.log.entries, entries);
        QCOMPARE(l.Phase(), LinkPhase::Waiting);
    }

    void sendWhileAnAttemptIsPendingKeepsIt() {
        Link l;
        l.link.ConnectToSwitcher();
        l.SendZeroDb();
        QVERIFY(l.socket->writes.isEmpty() && l.socket->closeCalls == 0);
        l.socket->CompleteConnect();
        QCOMPARE(l.Phase(), LinkPhase::Waiting);
    }

    void liveOnlyOnceTypeAnsweredAndTablesIn_data() {
        QTest::addColumn<QList<QByteArray>>("messages");
        QTest::addColumn<LinkPhase>("phase");
        const QList<QByteArray> live = QList{TypeRequest} + AllTables;
        QTest::newRow("type request and every table") << live << LinkPhase::Live;
        QTest::newRow("type request only") << QList{TypeRequest} << LinkPhase::Waiting;
        QTest::newRow("one table missing") << live.mid(0, 4) << LinkPhase::Waiting;
        QTest::newRow("tables without a type request") << AllTables << LinkPhase::Waiting;
        QTest::newRow("type request with a bad checksum, then the tables")
            << (Hexes("816465ff") + AllTables) << LinkPhase::Waiting;
        QTest::newRow("type request again while live")
            << live + QList{TypeRequest} << LinkPhase::Waiting;
        QTest::newRow("and the tables again") << live + live << LinkPhase::Live;
    }
    void liveOnlyOnceTypeAnsweredAndTablesIn() {
        QFETCH(QList<QByteArray>, messages);
        QFETCH(LinkPhase, phase);
        Link l;
        l.Up();
        l.Deliver(messages);
        QCOMPARE(l.Phase(), phase);
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});
        QVERIFY(l.log.entries.isEmpty());  // a normal start leaves no trace
        if (phase == LinkPhase::Live) {
            QCOMPARE(l.view.statuses.last().sources, 2);
            QCOMPARE(l.view.statuses.last().destinations, 3);
        }
    }

    // However the trouble began, the item keeps "&Disconnect" (which now stops
    // the retries), a second later the panel tries again, and the waits double
    // to 30 s, counted down to the operator. The whole outage is one log entry
    // and shows when it began.
    void troubleIsRetriedWithBackoff_data() {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QTime>("since");
        QTest::newRow("switcher hangs up") << int(PeerCloses) << Lost << QTime(9, 31);
        QTest::newRow("send finds the socket gone")
            << int(SendFails) << "Link to switcher lost while sending, retrying" << QTime(9, 31);
        QTest::newRow("first attempt never answered")
            << int(NoAnswer) << "No answer from switcher at 127.0.0.1:1250, retrying"
            << QTime(9, 30, 5);
    }
    void troubleIsRetriedWithBackoff() {
        QFETCH(int, how);
        QFETCH(QString, entry);
        QFETCH(QTime, since);
        Link l;
        if (how == NoAnswer) {
            l.link.ConnectToSwitcher();
            l.clock->Advance(AttemptTimeout - 1);
            QCOMPARE(l.Phase(), LinkPhase::Connecting);
            QVERIFY(!l.state.Connected);
            l.clock->Advance(1);
        } else {
            l.Live();
            l.clock->Advance(60000);
            l.socket->writes.clear();
            l.socket->connected = false;
            how == PeerCloses ? l.socket->PeerCloses() : l.SendZeroDb();
        }
        QCOMPARE(l.Phase(), LinkPhase::RetryWait);
        QCOMPARE(l.Shown().linkWasUp, how != NoAnswer);
        QCOMPARE(l.Shown().retryInSeconds, 1);
        QCOMPARE(l.socket->closeCalls, 1);
        QVERIFY(l.socket->writes.isEmpty());
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});
        l.clock->Advance(999);
        QCOMPARE(l.socket->connectCalls, 1);
        l.clock->Advance(1);
        QCOMPARE(l.Phase(), LinkPhase::RetryAttempt);
        l.view.statuses.clear();
        l.clock->Advance(AttemptTimeout + 2000);  // fails, waits 2 s, tries again
        QList<int> countdown;
        for (const LinkStatus& s : l.view.statuses) countdown << s.retryInSeconds;
        QCOMPARE(countdown, (QList<int>{2, 1, 0}));
        QCOMPARE(l.view.statuses.last().phase, LinkPhase::RetryAttempt);
        l.clock->Advance(AttemptTimeout);
        QCOMPARE(l.DelaysBetweenFailedAttempts(6), (QList<int>{4, 8, 16, 30, 30, 30}));
        QCOMPARE(l.log.entries, (LogEntries{{entry, Error}}));
        QCOMPARE(l.view.connectFailures, 0);
        QCOMPARE(l.Shown().since, since);
    }

    // A connect completing after the operator gave up is ignored.
    void disconnectStopsTheRetries_data() {
        QTest::addColumn<int>("lostFor");  // ms
        QTest::addColumn<LinkPhase>("phase");
        QTest::newRow("during a retry wait") << 1000 + AttemptTimeout << LinkPhase::RetryWait;
        QTest::newRow("during a retry attempt") << 1000 << LinkPhase::RetryAttempt;
    }
    void disconnectStopsTheRetries() {
        QFETCH(int, lostFor);
        QFETCH(LinkPhase, phase);
        Link l;
        l.LiveThenLost();
        l.clock->Advance(lostFor);
        QCOMPARE(l.Phase(), phase);
        l.link.DisconnectFromSwitcher();
        l.socket->CompleteConnect();
        l.clock->Advance(TenMinutes);
        QCOMPARE(l.Phase(), LinkPhase::Down);
        QCOMPARE(l.socket->connectCalls, 2);
        QCOMPARE(l.view.captions.last(), QStringLiteral("&Connect"));
        QCOMPARE(l.log.entries.last(), (Entry{"Retrying stopped by the operator", Error}));
    }

    // The operator's Connect during a wait tries at once. Back to live, the log
    // has the loss, the reconnection and the recovery, once each, and the menu
    // never offered Connect.
    void recovery_data() {
        QTest::addColumn<bool>("operatorConnects");
        QTest::newRow("retry by itself") << false;
        QTest::newRow("Connect during a retry wait") << true;
    }
    void recovery() {
        QFETCH(bool, operatorConnects);
        Link l;
        l.LiveThenLost();
        l.DelaysBetweenFailedAttempts(3);  // now waiting 8 s
        operatorConnects ? l.link.ConnectToSwitcher() : l.clock->Advance(8000);
        QCOMPARE(l.socket->connectCalls, 5);
        l.socket->CompleteConnect();
        QCOMPARE(l.Phase(), LinkPhase::Waiting);
        l.Deliver(QList{TypeRequest} + AllTables);
        QCOMPARE(l.Phase(), LinkPhase::Live);
        QCOMPARE(l.log.entries,
                 (LogEntries{{Lost, Error},
                             {Reconnected, Error},
                             {"Switcher live again with 2 sources and 3 destinations", Error}}));
        QCOMPARE(l.view.captions, QStringList{"&Disconnect"});
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
        l.LiveThenLost();
        l.DelaysBetweenFailedAttempts(1);  // 1 s, and the attempt times out
        l.clock->Advance(2000);            // the second attempt
        l.socket->CompleteConnect();
        if (liveBeforeSecondLoss) l.Deliver(QList{TypeRequest} + AllTables);
        l.socket->PeerCloses();
        QCOMPARE(l.Shown().retryInSeconds, nextDelay);
    }

    // Only an attempt the operator made shows the box; it also ends the retries,
    // since a bad address or port would fail the same way again.
    void connectFailingAtOnce_data() {
        QTest::addColumn<bool>("lost");
        QTest::addColumn<bool>("operatorConnects");
        QTest::addColumn<int>("boxes");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<int>("entries");
        QTest::newRow("operator, from down") << false << true << 1 << 1 << 0;
        QTest::newRow("operator, during a retry wait") << true << true << 1 << 2 << 2;
        QTest::newRow("retries by themselves") << true << false << 0 << 4 << 1;
    }
    void connectFailingAtOnce() {
        QFETCH(bool, lost);
        QFETCH(bool, operatorConnects);
        QFETCH(int, boxes);
        QFETCH(int, attempts);
        QFETCH(int, entries);
        Link l;
        if (lost) l.LiveThenLost();
        l.socket->connectResult = 10049;
        if (operatorConnects) l.link.ConnectToSwitcher();
        l.clock->Advance(1000 + 2000 + 4000);
        QCOMPARE(l.view.connectFailures, boxes);
        QCOMPARE(l.socket->connectCalls, attempts);
        QCOMPARE(l.Phase(), boxes ? LinkPhase::Down : LinkPhase::RetryWait);
        QCOMPARE(l.state.Connected, !boxes);
        QCOMPARE(l.log.entries.size(), entries);
    }
};

QTEST_GUILESS_MAIN(LinkStateMachineTest)
#include "LinkStateMachineTest.moc"
