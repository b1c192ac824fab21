// The switcher goes away and comes back: the real panel against the real
// simulator, which drops the connection and stops listening for a while. The
// panel shows the loss at once, retries with growing delays, reconnects by
// itself, is asked its type again and comes back live with its labels and
// gains, and no dialog interrupts the operator meanwhile.
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <algorithm>

#include "LinkStatusBar.h"
#include "LivePanel.h"
#include "SimulatorProcess.h"

class SwitcherOutageTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelRidesOutAnOutage() {
        // Four seconds to come up, then four seconds without a switcher.
        SimulatorProcess sim(QStringLiteral(SWITCHER_SIM), {"--outage", "4:4", "--keepalive", "0"});
        LivePanel panel(sim.port(), 15, 4);
        const QStringList names{"PGM L", "PGM R", "MIX 1", "MIX 2"};
        const auto status = [&panel] { return panel.window->linkBar().fullText(); };
        const auto confirmed = [&panel] {
            bool all = true;
            for (int i = 0; i < 4; ++i) all = all && panel.strip(i).isConfirmed();
            return all;
        };
        // Every status the bar shows, and every modal window that appears
        // (closed at once, so that the test cannot hang).
        QStringList statuses;
        int dialogs = 0;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
            if (statuses.isEmpty() || statuses.last() != status()) statuses << status();
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ++dialogs;
                modal->close();
            }
        });
        watch.start(10);
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith("Live: ") && panel.drawn(), Patience);
        QVERIFY(panel.names() == names && confirmed());

        // The switcher goes away: the loss shows at once and the faders are
        // marked as no longer confirmed. What the switcher told the panel is
        // then forgotten, so that only a new handshake can bring it back.
        QTRY_VERIFY_WITH_TIMEOUT(status().startsWith("Connection lost at "), Patience);
        QVERIFY(!confirmed());
        std::fill_n(panel.state().DestinationAlpha.begin(), 5, QString());
        std::fill_n(panel.state().OutputGains.begin(), 5, OutputGain{});
        panel.window->LabelFaders();

        // ...and comes back: the panel reconnects by itself, is asked its type
        // again, and comes back labelled, drawn and confirmed.
        QVERIFY(sim.waitFor(QStringLiteral("^#2 <- 81 0A 01 0B FF  type reply")).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(
            status().startsWith("Live: ") && panel.drawn() && panel.names() == names && confirmed(),
            Patience);

        // On the way: the loss counted down, at least one refused retry and a
        // longer wait, and no dialog at all; one log entry per change, none
        // per retry.
        const QString lost =
            QStringLiteral("^Connection lost at \\d\\d:\\d\\d:\\d\\d, retrying in ");
        for (const char* wait : {"1 s$", "2 s$"}) {
            QVERIFY2(statuses.indexOf(QRegularExpression(lost + wait)) >= 0,
                     qPrintable(statuses.join(" | ")));
        }
        QCOMPARE(dialogs, 0);
        QCOMPARE(
            panel.log.entries,
            (QList<QPair<QString, QString>>{
                {"Link to switcher closed by the switcher, retrying", "Connection Error"},
                {"Reconnected to switcher at 127.0.0.1:" + QString::number(sim.port()),
                 "Connection Error"},
                {"Switcher live again with 32 sources and 32 destinations", "Connection Error"}}));
    }
};

QTEST_MAIN(SwitcherOutageTest)
#include "SwitcherOutageTest.moc"
