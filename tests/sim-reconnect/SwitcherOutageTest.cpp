// The switcher goes away and comes back: the real panel against the real
// simulator, which drops the connection and stops listening for a while. The
// panel shows the loss at once, retries with growing delays, reconnects by
// itself, is asked its type again and comes back live with its labels and
// gains, and no dialog interrupts the operator meanwhile.
#include <QApplication>
#include <QTimer>
#include <QtTest>

#include "FaderGainControl.h"
#include "LinkStatusBar.h"
#include "LivePanel.h"
#include "SimulatorProcess.h"

namespace {

const QStringList Destinations{"PGM L", "PGM R", "MIX 1", "MIX 2"};

bool Confirmed(const LivePanel& panel) {
    for (int i = 0; i < Destinations.size(); ++i) {
        if (!panel.Strip(i).IsConfirmed()) return false;
    }
    return true;
}

bool ShowsLive(const LivePanel& panel) {
    return panel.window->LinkBar().FullText().startsWith("Live: ");
}

// What the switcher told the panel is forgotten, so that only a new handshake
// can bring it back.
void ForgetTheSwitcher(LivePanel& panel) {
    for (size_t ch = 0; ch <= size_t(Destinations.size()); ++ch) {
        panel.State().DestinationAlpha[ch].clear();
        panel.State().OutputGains[ch] = OutputGain{};
    }
    panel.window->LabelFaders();
    panel.window->Gain().UpdateGain();
}

}  // namespace

class SwitcherOutageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelRidesOutAnOutage() {
        // Four seconds to come up, then four seconds without a switcher.
        SimulatorProcess sim(QStringLiteral(SWITCHER_SIM), {"--outage", "4:4", "--keepalive", "0"});
        QVERIFY(sim.Port() != 0);
        LivePanel panel(sim.Port(), 15, 4);
        // Every status the bar shows, and every modal window that appears
        // (closed at once, so that the test cannot hang).
        QStringList statuses;
        int dialogs = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
            const QString shown = panel.window->LinkBar().FullText();
            if (statuses.isEmpty() || statuses.last() != shown) statuses << shown;
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++dialogs;
                modal->close();
            }
        });
        watch.start(10);
        QAction* connectItem = panel.window->mnuConnect();

        QTRY_VERIFY_WITH_TIMEOUT(ShowsLive(panel) && panel.Drawn(), Patience);
        QCOMPARE(panel.Names(), Destinations);
        QVERIFY(Confirmed(panel));
        QCOMPARE(panel.window->LinkBar().FullText(), "Live: 32 sources, 32 destinations");

        // The switcher goes away: the loss shows at once, the faders are
        // marked as no longer confirmed, and the item stops the retries.
        QVERIFY(sim.WaitFor(QStringLiteral("^outage: not listening")).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(
            panel.window->LinkBar().FullText().startsWith("Connection lost at "), Patience);
        QVERIFY(!Confirmed(panel));
        QCOMPARE(connectItem->text(), "&Disconnect");
        ForgetTheSwitcher(panel);

        // ...and comes back: the panel reconnects by itself and is asked its
        // type again.
        QVERIFY(sim.WaitFor(QStringLiteral("^#2 connected")).hasMatch());
        QVERIFY(sim.WaitFor(QStringLiteral("^#2 <- 81 0A 01 0B FF  type reply")).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(ShowsLive(panel) && panel.Drawn(), Patience);
        QTRY_COMPARE_WITH_TIMEOUT(panel.Names(), Destinations, Patience);
        QVERIFY(Confirmed(panel));
        QCOMPARE(connectItem->text(), "&Disconnect");

        // What the operator saw on the way: the loss counted down, at least
        // one refused retry and a longer wait, and no dialog at all.
        const QString lost =
            QStringLiteral("^Connection lost at \\d\\d:\\d\\d:\\d\\d, retrying in ");
        const QByteArray seen = statuses.join(" | ").toUtf8();
        QVERIFY2(statuses.indexOf(QRegularExpression(lost + "1 s$")) >= 0, seen.constData());
        QVERIFY2(statuses.indexOf(QRegularExpression(lost + "2 s$")) >= 0, seen.constData());
        QCOMPARE(dialogs, 0);

        // One log entry per change, none per retry.
        const QString endpoint = QStringLiteral("127.0.0.1:%1").arg(sim.Port());
        QCOMPARE(
            panel.log.entries,
            (QList<QPair<QString, QString>>{
                {"Link to switcher closed by the switcher, retrying", "Connection Error"},
                {"Reconnected to switcher at " + endpoint, "Connection Error"},
                {"Switcher live again with 32 sources and 32 destinations", "Connection Error"}}));
    }
};

QTEST_MAIN(SwitcherOutageTest)
#include "SwitcherOutageTest.moc"
