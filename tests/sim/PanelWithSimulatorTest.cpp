// The real panel, driven through its widgets, against the real simulator in a
// process of its own: the handshake, the operator's moves, the switcher's own
// moves and limits, a dropped connection and a faulty wire.
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include "LivePanel.h"
#include "SimulatorProcess.h"
#include "SliderDrag.h"

namespace {

const QString Simulator = QStringLiteral(SWITCHER_SIM);
const QStringList Destinations{"PGM L", "PGM R", "MIX 1", "MIX 2",
                               "AUX L", "AUX R", "SPKR",  "PHONES"};

// The code of the next report of these channels at stage 15, or -1.
int NextReport(SimulatorProcess& sim, int from, const QString& channels) {
    const QRegularExpressionMatch report = sim.WaitFor(
        QStringLiteral("-> E3 .*gain report stage 15 ch %1 \\(.*\\) = (\\d+) ").arg(channels),
        from);
    return report.hasMatch() ? report.captured(1).toInt() : -1;
}

}  // namespace

class PanelWithSimulatorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handshakeLabelsLinksAndDraws_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("stage");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<bool>>("stereo");
        const QList<bool> pairs{true, true, false, false, true, true, false, false};
        QTest::newRow("destinations at stage 15")
            << QStringList{"--keepalive", "0.2"} << 15 << Destinations << pairs;
        QTest::newRow("advanced reports at stage 3")
            << QStringList{"--advanced"} << 3 << Destinations << pairs;
        QTest::newRow("sources at stage 1")
            << QStringList{} << 1
            << QStringList{"MIC 1", "MIC 2", "MIC 3", "MIC 4", "CD L", "CD R", "LINE 1", "LINE 2"}
            << QList<bool>{false, false, false, false, true, true, false, false};
    }
    void handshakeLabelsLinksAndDraws() {
        QFETCH(QStringList, options);
        QFETCH(int, stage);
        QFETCH(QStringList, names);
        QFETCH(QList<bool>, stereo);
        SimulatorProcess sim(Simulator, options);
        LivePanel panel(sim.Port(), stage, 8);
        // The gains come last: by then every table has been taken in.
        QTRY_VERIFY_WITH_TIMEOUT(panel.Drawn(), Patience);
        QCOMPARE(panel.Names(), names);
        for (int i = 0; i < 8; ++i) QCOMPARE(panel.Strip(i).chkStereo()->isVisible(), stereo[i]);
        QCOMPARE(panel.State().LastInfoRequest, 0x8000);  // every table came
        if (options.contains("--keepalive")) {
            QVERIFY(sim.WaitFor(QStringLiteral("^#1 <- F4  keep-alive answer")).hasMatch());
        }
        QVERIFY2(panel.log.entries.isEmpty(), panel.LogText().constData());
    }

    // Fader 2 on MIX 1 (mono), fader 0 on PGM L (left of a stereo pair); the
    // switcher takes nothing above +10 dB.
    void operatorMovesReachTheSimulator() {
        SimulatorProcess sim(Simulator, {"--max-gain", "10dB", "--keepalive", "0"});
        LivePanel panel(sim.Port(), 15, 3);
        QTRY_VERIFY_WITH_TIMEOUT(panel.Drawn() && panel.Name(2) == "MIX 1", Patience);
        FaderSlider& mono = panel.Slider(2);

        int mark = sim.Mark();
        DragTo(mono, mono.height() * 3 / 4);
        const int dragged = std::abs(mono.value());
        QCOMPARE(NextReport(sim, mark, "3"), dragged);
        mark = sim.Mark();
        QTest::mouseClick(panel.Strip(2).cmdZerodb(), Qt::LeftButton);
        QCOMPARE(NextReport(sim, mark, "3"), 1024);
        mark = sim.Mark();
        QTest::keyClick(&mono, Qt::Key_End);
        QCOMPARE(NextReport(sim, mark, "3"), 24);

        // +24 dB asked, +10 dB taken: the fader goes back once the redraw comes.
        mark = sim.Mark();
        QTest::keyClick(&mono, Qt::Key_Home);
        QCOMPARE(mono.value(), FaderSlider::TopPosition);
        QCOMPARE(NextReport(sim, mark, "3"), 1124);
        QTRY_COMPARE_WITH_TIMEOUT(mono.value(), -1124, Patience);
        QCOMPARE(panel.Strip(2).lblGain()->text(), GainReadoutText(1124));

        // A stereo fader drives both channels of its pair.
        QTest::mouseClick(panel.Strip(0).chkStereo(), Qt::LeftButton);
        QVERIFY(panel.Strip(0).chkStereo()->isChecked());
        mark = sim.Mark();
        QTest::keyClick(&panel.Slider(0), Qt::Key_End);
        QCOMPARE(NextReport(sim, mark, "1-2"), 24);
        QTRY_COMPARE_WITH_TIMEOUT(panel.State().OutputGains[1].DspOutput, int16_t(24), Patience);
        QVERIFY2(panel.log.entries.isEmpty(), panel.LogText().constData());
    }

    void simulatorMovesTheFader() {
        SimulatorProcess sim(Simulator, {"--wander", "0.2", "--keepalive", "0"});
        LivePanel panel(sim.Port(), 15, 8);
        QTRY_VERIFY_WITH_TIMEOUT(panel.Drawn(), Patience);
        const QString report =
            QStringLiteral("-> E3 .*gain report stage 15 ch %1(-\\d+)? \\(.*\\) = (\\d+) ");
        const QRegularExpressionMatch moved = sim.WaitFor(report.arg("(\\d+)"), sim.Mark());
        QVERIFY(moved.hasMatch());
        // It may have moved that channel again since: the fader follows the latest report.
        const QString channel = moved.captured(1);
        QTRY_COMPARE_WITH_TIMEOUT(panel.Slider(channel.toInt() - 1).value(),
                                  -sim.FindLast(report.arg(channel)).captured(2).toInt(), Patience);
    }

    // The simulator hangs up once the start-up exchange is over (11 messages).
    // A panel that does not retry by itself offers File > Connect at once; one
    // that does is already trying again, and File > Connect is not needed.
    void simulatorDisconnectAndReconnect() {
        SimulatorProcess sim(Simulator, {"--close-after", "11", "--keepalive", "0"});
        LivePanel panel(sim.Port(), 15, 2);
        QAction* connectItem = panel.window->mnuConnect();
        QVERIFY(sim.WaitFor(QStringLiteral("^#1 closing after 11 messages")).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(panel.Drawn(), Patience);
        const auto offersConnect = [&] { return connectItem->text() == "&Connect"; };
        QTRY_VERIFY_WITH_TIMEOUT(offersConnect() || sim.Find("^#2 connected").hasMatch(), Patience);
        if (offersConnect()) connectItem->trigger();
        QVERIFY(sim.WaitFor(QStringLiteral("^#2 <- 81 0A 01 0B FF  type reply")).hasMatch());
        QCOMPARE(panel.Name(0), QStringLiteral("PGM L"));
    }

    // Writes in pieces and every third checksum wrong: the panel logs the
    // damaged messages, asks again for the damaged name table, and still comes
    // up labelled and drawn.
    void faultyWireIsSurvived() {
        SimulatorProcess sim(Simulator, {"--split", "--corrupt", "3", "--keepalive", "0.3"});
        LivePanel panel(sim.Port(), 15, 8);
        QTRY_VERIFY_WITH_TIMEOUT(panel.Names() == Destinations && panel.Drawn(), Patience);
        QVERIFY(panel.Logged("TZ60 Check Sum Error", "Destination Alpha Table"));
        QVERIFY(panel.Logged("Check Sum Error", "Gain Message"));
        QVERIFY(sim.WaitFor(QStringLiteral("<- F2 .*information request 512 ")).hasMatch());

        const int mark = sim.Mark();
        QTest::keyClick(&panel.Slider(2), Qt::Key_End);
        QCOMPARE(NextReport(sim, mark, "3"), 24);
        QVERIFY(sim.WaitFor(QStringLiteral("<- F4  keep-alive answer")).hasMatch());
    }
};

QTEST_MAIN(PanelWithSimulatorTest)
#include "PanelWithSimulatorTest.moc"
