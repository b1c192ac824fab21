// What a screen reader learns about the faders: which fader and channel each
// control belongs to and the gain as the read-out shows it; and that setting
// the value moves the fader as the operator would.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QPushButton>

#include "FaderGainControl.h"
#include "FaderSlider.h"
#include "PanelFixture.h"

namespace {

QAccessibleInterface* Accessible(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

QString AccessibleName(QWidget* widget) { return Accessible(widget)->text(QAccessible::Name); }

// Three faders at the DSP output stage on channels 3, 4, 5 (0-based 2, 3, 4).
MainWindow& OpenLabelled(PanelFixture& panel) {
    panel.WriteIni(15, {{3, 0}, {4, 0}, {5, 0}});
    MainWindow& window = panel.Open();
    for (int ch = 2; ch <= 4; ++ch) {
        window.State().DestinationAlpha[ch] = QStringLiteral("MIC %1").arg(ch + 1);
    }
    window.LabelFaders();
    return window;
}

}  // namespace

class FaderAccessibilityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesSayFaderAndChannel() {
        PanelFixture panel;
        MainWindow& window = OpenLabelled(panel);
        const FaderStrip& strip = window.Bank().Strip(2);
        QCOMPARE(AccessibleName(strip.sliGain()), QStringLiteral("Fader 3, MIC 5"));
        QCOMPARE(AccessibleName(strip.cmdZerodb()), QStringLiteral("Fader 3, MIC 5, 0db"));
        QCOMPARE(AccessibleName(strip.chkStereo()), QStringLiteral("Fader 3, MIC 5, Stereo"));
        window.State().DestinationAlpha[4] = QStringLiteral("PGM L");
        window.LabelFaders();  // as a new name table does
        QCOMPARE(AccessibleName(strip.sliGain()), QStringLiteral("Fader 3, PGM L"));
    }

    // The value reads as the read-out does; setting it moves the fader and
    // sends, as the operator's own move does.
    void valueReadsAndSetsAsTheReadout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("decibels");
        QTest::newRow("below 0 dB") << 1000 << "Gain (-2.4db)" << -2.4;
        QTest::newRow("top") << 1264 << "Gain (+24db)" << 24.0;
        QTest::newRow("bottom") << 24 << "Gain (Off)" << -100.0;
    }
    void valueReadsAndSetsAsTheReadout() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(double, decibels);
        PanelFixture panel;
        MainWindow& window = OpenLabelled(panel);
        window.Gain().tmrGain().stop();
        window.State().OutputGains[3].DspOutput = 1024;
        window.Gain().UpdateGain();
        FaderSlider* slider = window.Bank().Strip(1).sliGain();
        QAccessibleInterface* fader = Accessible(slider);
        QCOMPARE(fader->role(), QAccessible::Slider);
        QAccessibleValueInterface* value = fader->valueInterface();
        QVERIFY(value);
        value->setCurrentValue(decibels);
        QCOMPARE(slider->value(), -code);
        QCOMPARE(panel.link->gains.size(), 1);
        QCOMPARE(panel.link->gains[0].code, int16_t(code));
        QCOMPARE(panel.link->gains[0].channel, int16_t(3));
        QCOMPARE(fader->text(QAccessible::Value), text);
        QCOMPARE(value->currentValue().toDouble(), decibels);
        QCOMPARE(
            QVariantList({value->minimumValue(), value->maximumValue(), value->minimumStepSize()}),
            QVariantList({-100.0, 24.0, 0.1}));
        value->setCurrentValue(QStringLiteral("loud"));
        QCOMPARE(panel.link->gains.size(), 1);  // not a number: nothing moves
    }
};

QTEST_MAIN(FaderAccessibilityTest)
#include "FaderAccessibilityTest.moc"
