// Remote control over OSC, end to end: a controller (the OSC library as a
// client, over a real UDP socket), the real panel and the real simulator.
// What matters is what reaches the switcher and what the controller hears
// back. Faders 1 to 3 sit on PGM L, PGM R and MIX 1.
#include <oscpack/osc/OscReceivedElements.h>

#include <QUdpSocket>
#include <QtTest>

#include "LivePanel.h"
#include "OperatorFeatures.h"
#include "OperatorMoves.h"
#include "OscEncoder.h"
#include "RemoteServer.h"
#include "SimulatorProcess.h"

namespace {

const QString Simulator = QStringLiteral(SWITCHER_SIM);

int changesSince(const SimulatorProcess& sim, int from) {
    return static_cast<int>(sim.lines().mid(from).filter(QStringLiteral("#1 <- E3")).size());
}

// A controller on its own port, hearing the panel's feedback as
// "/fader/3/db=-6" lines.
struct Controller {
    Controller() { socket.bind(QHostAddress::LocalHost, 0); }
    void send(const QByteArray& address, const QVariantList& arguments = {}) {
        socket.writeDatagram(oscMessage(address, arguments), QHostAddress::LocalHost, to);
    }
    QStringList heard() {
        while (socket.hasPendingDatagrams()) {
            QByteArray datagram(static_cast<qsizetype>(socket.pendingDatagramSize()), '\0');
            socket.readDatagram(datagram.data(), datagram.size());
            const osc::ReceivedMessage message(osc::ReceivedPacket(
                datagram.constData(), static_cast<std::size_t>(datagram.size())));
            QString value;
            const auto argument = message.ArgumentsBegin();
            if (argument->IsFloat()) value = QString::number(double(argument->AsFloat()));
            if (argument->IsInt32()) value = QString::number(argument->AsInt32());
            if (argument->IsString()) value = QString::fromUtf8(argument->AsString());
            lines << QString::fromUtf8(message.AddressPattern()) + '=' + value;
        }
        return lines;
    }
    QUdpSocket socket;
    quint16 to = 0;
    QStringList lines;
};

struct Live {
    Live() : sim(Simulator, {"--keepalive", "0", "--max-gain", "10dB"}), panel(sim.port(), 15, 3) {
        RemoteSettings remote;
        remote.enabled = true;
        remote.port = 0;  // any free port
        features().setRemoteSettings(remote);
        controller.to = features().remote().port();
    }
    OperatorFeatures& features() { return panel.window->features(); }
    bool ready() {
        return QTest::qWaitFor([this] { return panel.drawn() && panel.name(2) == "MIX 1"; },
                               Patience);
    }
    bool took(int from, int i, int code) {
        return sim.reportedBack(from, i + 1, code) &&
               QTest::qWaitFor([&] { return storedGain(panel.state(), i) == code; }, Patience);
    }
    SimulatorProcess sim;
    LivePanel panel;
    Controller controller;
};

}  // namespace

class RemoteControlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Nothing listens until the operator turns it on.
    void offByDefault() {
        LivePanel panel(1, 15, 1);
        QVERIFY(!panel.window->features().remote().isListening());
        for (const QUdpSocket* socket : panel.window->findChildren<QUdpSocket*>())
            QCOMPARE(socket->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(!readFile(panel.dir.filePath("Panel.ini")).contains("Enabled=1"));
    }

    // Each address, as the switcher receives it; a remote move is the
    // operator's: a journal line naming the sender, an undo step.
    void everyAddressReachesTheSwitcher() {
        Live live;
        QVERIFY(live.ready() && live.features().remote().isListening());
        int mark = live.sim.mark();
        live.controller.send("/fader/3/db", {-6.0});
        QVERIFY(live.took(mark, 2, 964));
        live.controller.send("/fader/3/code", {900});
        QVERIFY(live.took(mark, 2, 900));
        live.controller.send("/fader/3/nudge", {1.5});
        QVERIFY(live.took(mark, 2, 915));
        live.controller.send("/fader/3/nudge", {-3.0e38});  // far beyond the travel
        QVERIFY(live.took(mark, 2, 24));
        live.controller.send("/fader/3/zero");
        QVERIFY(live.took(mark, 2, 1024));
        live.features().storeSnapshot("Show");
        live.controller.send("/fader/3/db", {-100.0});  // Off
        QVERIFY(live.took(mark, 2, 24));
        live.controller.send("/snapshot/recall", {QString("Show")});
        QVERIFY(live.took(live.sim.mark() - 2, 2, 1024));

        live.features().moves().finishGestures();
        // Both the moves and the recall name their sender.
        const QRegularExpression byRemote(R"(remote 127\.0\.0\.1:\d+  fader 3)");
        const QRegularExpression recallByRemote(
            R"(remote 127\.0\.0\.1:\d+ snapshot "Show"  fader 3)");
        const auto journal = [&] {
            return QString::fromUtf8(readFile(live.panel.dir.filePath("Operator.log")));
        };
        QTRY_VERIFY_WITH_TIMEOUT(journal().contains(recallByRemote), Patience);
        QVERIFY2(journal().contains(byRemote), qPrintable(journal()));
        mark = live.sim.mark();
        live.features().undo();  // the recall
        QVERIFY(live.took(mark, 2, 24));
    }

    // A subscriber gets the whole picture at once, then what changes: a gain
    // the switcher reports, a channel's new name; and nothing once the
    // subscription has lapsed.
    void feedbackWhileSubscribed() {
        Live live;
        QVERIFY(live.ready());
        live.controller.send("/subscribe");
        QTRY_VERIFY_WITH_TIMEOUT(live.controller.heard().contains("/link=live"), Patience);
        const QStringList dump = live.controller.heard();
        QVERIFY2(dump.contains("/faders=3") && dump.contains("/fader/3/name=MIX 1") &&
                     dump.contains("/fader/1/stereo=0") && dump.contains("/fader/2/locked=0") &&
                     dump.filter(QRegularExpression("^/fader/\\d/db=")).size() == 3,
                 qPrintable(dump.join(", ")));

        LivePanel other(live.sim.port(), 15, 3);  // another panel moves MIX 1
        QVERIFY(QTest::qWaitFor([&] { return other.drawn(); }, Patience));
        QTest::keyClick(&other.slider(2), Qt::Key_End);
        QTRY_VERIFY_WITH_TIMEOUT(live.controller.heard().contains("/fader/3/db=-100"), Patience);
        live.panel.state().DestinationAlpha[2] = QStringLiteral("MIX ONE");
        live.panel.window->LabelFaders();
        QTRY_VERIFY_WITH_TIMEOUT(live.controller.heard().contains("/fader/3/name=MIX ONE"),
                                 Patience);

        live.features().remote().setSubscriptionMs(300);
        live.controller.send("/subscribe");  // renewed, for a short while
        QTest::qWait(500);                   // lapsed
        live.controller.heard();
        live.controller.lines.clear();
        live.panel.state().DestinationAlpha[2] = QStringLiteral("MIX 1");
        live.panel.window->LabelFaders();
        QTest::qWait(300);
        QVERIFY(live.controller.heard().isEmpty());
        QCOMPARE(live.features().remote().subscriberCount(), 0);
    }

    // A locked fader ignores the controller; the ceiling holds remote moves
    // too; a flood for one fader reaches the switcher as a few messages
    // ending exactly on the last value; bad input is logged once a minute.
    void lockCeilingFloodAndBadInput() {
        Live live;
        QVERIFY(live.ready());
        live.features().setCeilings({{15, int16_t(1124)}});
        int mark = live.sim.mark();
        live.controller.send("/fader/2/db", {20.0});
        QVERIFY(live.took(mark, 1, 1124));

        live.panel.strip(0).setLocked(true);
        mark = live.sim.mark();
        live.controller.send("/fader/1/db", {-20.0});
        live.controller.send("/fader/3/db", {-30.0});
        QVERIFY(live.took(mark, 2, 724));
        QCOMPARE(live.sim.lines().mid(mark).filter(" ch 1").size(), 0);

        mark = live.sim.mark();
        for (int i = 0; i <= 1000; ++i) {  // a thousand in about a tenth of a second
            live.controller.send("/fader/3/code", {24 + i});
            if (i % 100 == 99) QTest::qWait(10);
        }
        QVERIFY(live.took(mark, 2, 1024));
        QVERIFY2(changesSince(live.sim, mark) < 200,
                 qPrintable(QString::number(changesSince(live.sim, mark))));

        for (int i = 0; i < 3; ++i) {
            live.controller.socket.writeDatagram("not osc", QHostAddress::LocalHost,
                                                 live.controller.to);
            live.controller.send("/fader/9/db", {1.0});
            live.controller.send("/fader/1/pan", {1.0});
        }
        QTRY_COMPARE_WITH_TIMEOUT(live.panel.log.entries.size(), 3, Patience);
        QTest::qWait(100);
        QCOMPARE(live.panel.log.entries.size(), 3);
        for (const auto& entry : live.panel.log.entries) QCOMPARE(entry.second, "Remote Control");
    }
};

QTEST_MAIN(RemoteControlTest)
#include "RemoteControlTest.moc"
