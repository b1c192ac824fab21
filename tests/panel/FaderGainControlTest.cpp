// Fader moves, Home/End, the 0db button and the deferred redraw, driven
// through the strips' real widgets.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWheelEvent>

#include "FaderBank.h"
#include "FaderGainControl.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "PanelState.h"
#include "Recorders.h"
#include "SliderDrag.h"

namespace {

void WheelUp(QSlider& slider) {
    QWheelEvent wheel(QPointF(5, 5), slider.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &wheel);
}

// Faders 0 and 1 on channels 5 and 9 at the DSP output stage, shown, with
// tmrGain stopped so that only the test moves them.
struct Bench {
    Bench() {
        state.FaderCount = 2;
        state.Chan = {5, 9};
        bank.LoadFaders();
        gain.tmrGain().stop();
        bank.show();
    }
    FaderSlider& Slider(int i) { return *bank.Strip(i).sliGain(); }
    void Move(int fader, const QString& how) {
        FaderSlider& slider = Slider(fader);
        if (how == "up") QTest::keyClick(&slider, Qt::Key_Up);
        if (how == "pagedown") QTest::keyClick(&slider, Qt::Key_PageDown);
        if (how == "wheel") WheelUp(slider);
        if (how == "top") DragTo(slider, -1000);
        if (how == "home") QTest::keyClick(&slider, Qt::Key_Home);
        if (how == "end") QTest::keyClick(&slider, Qt::Key_End);
        if (how == "0db") QTest::mouseClick(bank.Strip(fader).cmdZerodb(), Qt::LeftButton);
    }
    QString Readout(int i) { return bank.Strip(i).lblGain()->text(); }
    // Each send as "stage channel=code extra", a stereo one marked.
    QStringList Sent() const {
        QStringList sent;
        for (const auto& c : link.gains) {
            sent << QString::asprintf("%s%d %d=%d %d", c.stereo ? "stereo " : "", c.stage,
                                      c.channel, c.code, c.extraOrCount);
        }
        return sent;
    }

    PanelState state;
    RecordingLog log;
    RecordingLink link;
    FaderBank bank{state, log};
    FaderGainControl gain{state, bank, link, log};
};

}  // namespace

class FaderGainControlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operatorMovesSend_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("stereo");
        QTest::newRow("arrow up moves up") << "up" << 1001 << false;
        QTest::newRow("page down") << "pagedown" << 995 << false;
        QTest::newRow("wheel up") << "wheel" << 1003 << false;
        QTest::newRow("drag to top") << "top" << 1264 << false;
        QTest::newRow("home: top") << "home" << 1264 << false;
        QTest::newRow("end: bottom") << "end" << 24 << false;
        QTest::newRow("0db button") << "0db" << 1024 << false;
        QTest::newRow("stereo: two channels") << "up" << 1001 << true;
    }
    void operatorMovesSend() {
        QFETCH(QString, how);
        QFETCH(int, code);
        QFETCH(bool, stereo);
        Bench bench;
        QVERIFY(QTest::qWaitForWindowActive(&bench.bank));
        const int fader = stereo ? 1 : 0;
        bench.bank.Strip(fader).chkStereo()->setChecked(stereo);
        FaderSlider& slider = bench.Slider(fader);
        slider.setValue(-1000);
        QVERIFY(bench.link.gains.isEmpty());  // the panel's own moves are silent
        bench.Move(fader, how);
        const QString sent = stereo ? "stereo 15 9=%1 2" : "15 5=%1 16383";
        QCOMPARE(bench.Sent(), QStringList{sent.arg(code)});  // once, not also on the way
        QCOMPARE(bench.Readout(fader), GainReadoutText(static_cast<int16_t>(code)));
        QVERIFY(bench.gain.tmrGain().isActive());
        QCOMPARE(bench.gain.tmrGain().interval(), 100);
        if (how == "0db") QCOMPARE(QApplication::focusWidget(), &slider);  // taken back
    }

    void silentMoves_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("updating");
        QTest::addColumn<QString>("how");
        QTest::newRow("onto the stored gain") << 1001 << false << "up";
        QTest::newRow("while the panel updates") << 0 << true << "up";
        QTest::newRow("0db button at 0 dB") << 1024 << false << "0db";
    }
    void silentMoves() {
        QFETCH(int, stored);
        QFETCH(bool, updating);
        QFETCH(QString, how);
        Bench bench;
        bench.state.OutputGains[5].DspOutput = static_cast<int16_t>(stored);
        bench.state.UpdatingFaders = updating;
        bench.Slider(0).setValue(-1000);
        bench.bank.Strip(0).lblGain()->setText(QStringLiteral("before"));
        bench.Move(0, how);
        QVERIFY(bench.link.gains.isEmpty());
        QCOMPARE(bench.Readout(0), QStringLiteral("before"));
        QVERIFY(!bench.gain.tmrGain().isActive());
        bench.state.UpdatingFaders = false;
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);
        QCOMPARE(bench.link.gains.size(), 1);
    }

    // One fader outside the tables must not silence the others for good.
    void updateGainFailureLeavesMovesWorking() {
        Bench bench;
        bench.state.OutputGains[5].DspOutput = 1100;
        bench.state.Chan = {5, 1537};
        bench.Slider(1).setValue(-300);
        bench.gain.UpdateGain();
        QCOMPARE(bench.log.entries,
                 RecordingLog().entries << qMakePair(QStringLiteral("Error updating gain"),
                                                     QStringLiteral("Display Error")));
        QCOMPARE(bench.Slider(0).value(), -1100);
        QCOMPARE(bench.Slider(1).value(), -300);
        QVERIFY(!bench.state.UpdatingFaders);
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);
        QCOMPARE(bench.Sent(), QStringList{"15 5=1101 16383"});
    }

    void refreshWaitsForRunningTimer() {
        Bench bench;
        bench.Slider(0).setValue(-1000);
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);  // arms tmrGain
        bench.state.OutputGains[5].DspOutput = 900;
        bench.gain.RequestRefresh();
        QCOMPARE(bench.Slider(0).value(), -1001);  // not under the operator's hand
        QTRY_COMPARE_WITH_TIMEOUT(bench.Slider(0).value(), -900, 5000);
        QVERIFY(!bench.gain.tmrGain().isActive());
        QCOMPARE(bench.gain.tmrGain().interval(), 10);

        bench.state.OutputGains[5].DspOutput = 950;
        bench.gain.RequestRefresh();  // idle: at once
        QCOMPARE(bench.Slider(0).value(), -950);
    }
};

QTEST_MAIN(FaderGainControlTest)
#include "FaderGainControlTest.moc"
