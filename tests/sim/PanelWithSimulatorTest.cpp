// The real panel, driven through its widgets, against the real simulator in a
// process of its own: the handshake, the operator's moves and the switcher's
// limit, and a faulty wire. Waits are for what the simulator prints.
#include <QCheckBox>
#include <QtTest>

#include "LivePanel.h"
#include "SimulatorProcess.h"
#include "SliderDrag.h"

namespace {

const QString Simulator = QStringLiteral(SWITCHER_SIM);

// The code of the next report of these channels at stage 15, or -1.
int nextReport(SimulatorProcess& sim, int from, const QString& channels) {
    const QRegularExpressionMatch report = sim.waitFor(
        QStringLiteral("-> E3 .*gain report stage 15 ch %1 \\(.*\\) = (\\d+) ").arg(channels),
        from);
    return report.hasMatch() ? report.captured(1).toInt() : -1;
}

}  // namespace

class PanelWithSimulatorTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Sources at stage 1, with gains as advanced reports. The gains come last:
    // once the faders are drawn every table has been taken in, and the panel
    // answers the switcher's keep-alive questions.
    void handshakeLabelsLinksAndDraws() {
        SimulatorProcess sim(Simulator, {"--advanced", "--keepalive", "0.2"});
        LivePanel panel(sim.port(), 1, 8);
        QTRY_VERIFY_WITH_TIMEOUT(panel.drawn(), Patience);
        QCOMPARE(panel.names(), QStringList({"MIC 1", "MIC 2", "MIC 3", "MIC 4", "CD L", "CD R",
                                             "LINE 1", "LINE 2"}));
        QString stereo;
        for (int i = 0; i < 8; ++i) stereo += stereoBoxOf(panel.strip(i))->isVisible() ? '1' : '0';
        QCOMPARE(stereo, "00001100");
        QCOMPARE(panel.state().LastInfoRequest, 0x8000);  // every table came
        QVERIFY(sim.waitFor(QStringLiteral("^#1 <- F4  keep-alive answer")).hasMatch());
        QVERIFY2(panel.log.entries.isEmpty(), panel.logText().constData());
    }

    // Fader 2 on MIX 1 (mono), fader 0 on PGM L (left of a stereo pair); the
    // switcher takes nothing above +10 dB.
    void operatorMovesReachTheSimulator() {
        SimulatorProcess sim(Simulator, {"--max-gain", "10dB", "--keepalive", "0"});
        LivePanel panel(sim.port(), 15, 3);
        QTRY_VERIFY_WITH_TIMEOUT(panel.drawn() && panel.name(2) == "MIX 1", Patience);
        FaderSlider& mono = panel.slider(2);
        int mark = sim.mark();
        dragTo(mono, mono.height() * 3 / 4);
        const int dragged = std::abs(mono.value());
        QCOMPARE(nextReport(sim, mark, "3"), dragged);

        // +24 dB asked, +10 dB taken: the fader snaps back once the redraw comes.
        mark = sim.mark();
        QTest::keyClick(&mono, Qt::Key_Home);
        QCOMPARE(mono.value(), FaderSlider::TopPosition);
        QCOMPARE(nextReport(sim, mark, "3"), 1124);
        QTRY_COMPARE_WITH_TIMEOUT(mono.value(), -1124, Patience);
        QCOMPARE(panel.strip(2).readoutText(), gainReadoutText(1124));

        // A stereo fader drives both channels of its pair.
        QTest::mouseClick(stereoBoxOf(panel.strip(0)), Qt::LeftButton);
        mark = sim.mark();
        QTest::keyClick(&panel.slider(0), Qt::Key_End);
        QCOMPARE(nextReport(sim, mark, "1-2"), 24);
        QTRY_COMPARE_WITH_TIMEOUT(panel.state().OutputGains[1].DspOutput, int16_t(24), Patience);
        QVERIFY2(panel.log.entries.isEmpty(), panel.logText().constData());
    }

    // Writes in pieces and every third checksum wrong: the panel logs the
    // damaged messages, asks again for the damaged name table, and still comes
    // up labelled, drawn and answering.
    void faultyWireIsSurvived() {
        SimulatorProcess sim(Simulator, {"--split", "--corrupt", "3", "--keepalive", "0.3"});
        LivePanel panel(sim.port(), 15, 8);
        const QStringList names{"PGM L", "PGM R", "MIX 1", "MIX 2",
                                "AUX L", "AUX R", "SPKR",  "PHONES"};
        QTRY_VERIFY_WITH_TIMEOUT(panel.names() == names && panel.drawn(), Patience);
        QVERIFY(panel.logged("TZ60 Check Sum Error", "Destination Alpha Table"));
        QVERIFY(panel.logged("Check Sum Error", "Gain Message"));
        QVERIFY(sim.waitFor(QStringLiteral("<- F2 .*information request 512 ")).hasMatch());
        const int mark = sim.mark();
        QTest::keyClick(&panel.slider(2), Qt::Key_End);
        QCOMPARE(nextReport(sim, mark, "3"), 24);
        QVERIFY(sim.waitFor(QStringLiteral("<- F4  keep-alive answer")).hasMatch());
    }
};

QTEST_MAIN(PanelWithSimulatorTest)
#include "PanelWithSimulatorTest.moc"
