// Fader moves, Home/End, the 0db button and the deferred redraw, driven
// through the strips' real widgets.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>

#include "FaderBank.h"
#include "FaderGainControl.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "GainReadout.h"
#include "PanelState.h"
#include "Recorders.h"

namespace {

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
    QString Readout(int i) { return bank.Strip(i).lblGain()->text(); }
    QList<int> SentCodes() const {
        QList<int> codes;
        for (const auto& call : link.gains) codes << call.code;
        return codes;
    }

    PanelState state;
    RecordingLog log;
    RecordingLink link;
    FaderBank bank{state, log};
    FaderGainControl gain{state, bank, link, log};
};

void DragTo(QSlider& slider, int y) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = Qt::Vertical;
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.upsideDown = !slider.invertedAppearance();
    const QPoint handle =
        slider.style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider)
            .center();
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(&slider, QPoint(handle.x(), y));
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(handle.x(), y));
}

void WheelUp(QSlider& slider) {
    QWheelEvent wheel(QPointF(5, 5), slider.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &wheel);
}

}  // namespace

class FaderGainControlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operatorMovesSend_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("code");
        QTest::newRow("arrow up moves up") << "up" << 1001;
        QTest::newRow("page down") << "pagedown" << 995;
        QTest::newRow("wheel up") << "wheel" << 1003;
        QTest::newRow("drag to top") << "top" << 1264;
        QTest::newRow("drag to bottom") << "bottom" << 24;
    }
    void operatorMovesSend() {
        QFETCH(QString, how);
        QFETCH(int, code);
        Bench bench;
        FaderSlider& slider = bench.Slider(0);
        slider.setValue(-1000);
        QVERIFY(bench.link.gains.isEmpty());  // the panel's own moves are silent
        if (how == "up") QTest::keyClick(&slider, Qt::Key_Up);
        if (how == "pagedown") QTest::keyClick(&slider, Qt::Key_PageDown);
        if (how == "wheel") WheelUp(slider);
        if (how == "top") DragTo(slider, -1000);
        if (how == "bottom") DragTo(slider, 1000);

        QCOMPARE(bench.SentCodes().last(), code);
        const RecordingLink::GainCall call = bench.link.gains.last();
        QVERIFY(!call.stereo);
        QCOMPARE(call.stage, int16_t(15));
        QCOMPARE(call.channel, int16_t(5));
        QCOMPARE(call.extraOrCount, int16_t(16383));
        QCOMPARE(bench.Readout(0), GainReadoutText(static_cast<int16_t>(code)));
        QVERIFY(bench.gain.tmrGain().isActive());
        QCOMPARE(bench.gain.tmrGain().interval(), 100);
    }

    void sendsOnlyWhenCodeDiffersFromStored() {
        Bench bench;
        bench.state.OutputGains[5].DspOutput = 1001;
        bench.Slider(0).setValue(-1000);
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);  // onto the stored value
        QVERIFY(bench.link.gains.isEmpty());
        QCOMPARE(bench.Readout(0), QStringLiteral("Gain (0db)"));  // not rewritten
        QVERIFY(!bench.gain.tmrGain().isActive());
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);
        QCOMPARE(bench.SentCodes(), QList<int>({1002}));
    }

    void stereoSendsForTwoChannels() {
        Bench bench;
        bench.bank.Strip(1).chkStereo()->setChecked(true);
        QTest::keyClick(&bench.Slider(1), Qt::Key_Up);
        QCOMPARE(bench.link.gains.size(), 1);
        QVERIFY(bench.link.gains[0].stereo);
        QCOMPARE(bench.link.gains[0].channel, int16_t(9));
        QCOMPARE(bench.link.gains[0].extraOrCount, int16_t(2));
    }

    void homeAndEndSendOnRelease_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("code");
        QTest::newRow("home: top") << int(Qt::Key_Home) << 1264;
        QTest::newRow("end: bottom") << int(Qt::Key_End) << 24;
    }
    void homeAndEndSendOnRelease() {
        QFETCH(int, key);
        QFETCH(int, code);
        Bench bench;
        bench.Slider(0).setValue(-1000);
        QTest::keyPress(&bench.Slider(0), Qt::Key(key));
        QCOMPARE(bench.Slider(0).value(), -code);
        QVERIFY(bench.link.gains.isEmpty());
        QTest::keyRelease(&bench.Slider(0), Qt::Key(key));
        QCOMPARE(bench.SentCodes(), QList<int>({code}));
    }

    void zeroDbButton_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("sends");
        QTest::newRow("already at 0 dB") << 1024 << 0;
        QTest::newRow("elsewhere") << 800 << 1;
    }
    void zeroDbButton() {
        QFETCH(int, stored);
        QFETCH(int, sends);
        Bench bench;
        QVERIFY(QTest::qWaitForWindowActive(&bench.bank));
        bench.state.OutputGains[9].DspOutput = static_cast<int16_t>(stored);
        bench.bank.Strip(1).lblGain()->setText(QStringLiteral("before"));
        QTest::mouseClick(bench.bank.Strip(1).cmdZerodb(), Qt::LeftButton);
        QCOMPARE(bench.Slider(1).value(), -1024);
        QCOMPARE(bench.link.gains.size(), sends);
        QCOMPARE(bench.Readout(1), sends ? QStringLiteral("Gain (0db)") : QStringLiteral("before"));
        QCOMPARE(QApplication::focusWidget(), &bench.Slider(1));
    }

    void updatingFadersSilencesMoves() {
        Bench bench;
        bench.state.UpdatingFaders = true;
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);
        QVERIFY(bench.link.gains.isEmpty());
    }

    void updateGainFailureLeavesMovesWorking() {
        Bench bench;
        bench.state.OutputGains[5].DspOutput = 1100;
        bench.state.Chan = {5, 1537};  // fader 1 has no table entry
        bench.Slider(1).setValue(-300);
        bench.gain.UpdateGain();
        QCOMPARE(bench.log.entries,
                 RecordingLog().entries << qMakePair(QStringLiteral("Error updating gain"),
                                                     QStringLiteral("Display Error")));
        QCOMPARE(bench.Slider(0).value(), -1100);
        QCOMPARE(bench.Slider(1).value(), -300);
        QVERIFY(!bench.state.UpdatingFaders);
        QTest::keyClick(&bench.Slider(0), Qt::Key_Up);
        QCOMPARE(bench.SentCodes(), QList<int>({1101}));
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
