// What a screen reader learns about the faders: which fader and channel each
// control belongs to, the gain as the read-out shows it, and whether the
// switcher has confirmed it; and that setting the value moves the fader as
// the operator would.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "FaderBank.h"
#include "FaderGainControl.h"
#include "FaderSlider.h"
#include "FaderStrip.h"
#include "PanelFixture.h"

namespace {

QAccessibleInterface* Accessible(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

QString AccessibleName(QWidget* widget) { return Accessible(widget)->text(QAccessible::Name); }

// Three faders at the DSP output stage on channels 3, 4, 5 (0-based 2, 3, 4).
struct NamedPanel : PanelFixture {
    MainWindow& OpenLabelled() {
        WriteIni(15, {{3, 0}, {4, 0}, {5, 0}});
        MainWindow& opened = Open();
        for (int ch = 2; ch <= 4; ++ch) {
            opened.State().DestinationAlpha[ch] = QStringLiteral("MIC %1").arg(ch + 1);
        }
        opened.LabelFaders();
        return opened;
    }
};

}  // namespace

class FaderAccessibilityTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesSayFaderAndChannel_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::newRow("fader") << "sliGain"
                               << "Fader 3, MIC 5";
        QTest::newRow("0db button") << "cmdZerodb"
                                    << "Fader 3, MIC 5, 0db";
        QTest::newRow("Stereo box") << "chkStereo"
                                    << "Fader 3, MIC 5, Stereo";
    }
    void namesSayFaderAndChannel() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        NamedPanel panel;
        MainWindow& window = panel.OpenLabelled();
        auto* widget = window.Bank().Strip(2).findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(AccessibleName(widget), name);
    }

    void namesFollowTheLabels() {
        NamedPanel panel;
        MainWindow& window = panel.OpenLabelled();
        window.State().DestinationAlpha[2] = QStringLiteral("PGM L");
        window.LabelFaders();  // as a new name table does
        QCOMPARE(AccessibleName(window.Bank().Strip(0).sliGain()),
                 QStringLiteral("Fader 1, PGM L"));
    }

    void valueReadsAsTheReadout_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("decibels");
        QTest::newRow("below 0 dB") << 1000 << "Gain (-2.4db)" << -2.4;
        QTest::newRow("top") << 1264 << "Gain (+24db)" << 24.0;
        QTest::newRow("bottom") << 24 << "Gain (Off)" << -100.0;
    }
    void valueReadsAsTheReadout() {
        QFETCH(int, code);
        QFETCH(QString, text);
        QFETCH(double, decibels);
        NamedPanel panel;
        MainWindow& window = panel.OpenLabelled();
        window.State().OutputGains[3].DspOutput = static_cast<int16_t>(code);
        window.Gain().UpdateGain();
        QAccessibleInterface* fader = Accessible(window.Bank().Strip(1).sliGain());
        QCOMPARE(fader->role(), QAccessible::Slider);
        QCOMPARE(fader->text(QAccessible::Value), text);
        QAccessibleValueInterface* value = fader->valueInterface();
        QVERIFY(value);
        QCOMPARE(value->currentValue().toDouble(), decibels);
        QCOMPARE(value->minimumValue().toDouble(), -100.0);
        QCOMPARE(value->maximumValue().toDouble(), 24.0);
        QCOMPARE(value->minimumStepSize().toDouble(), 0.1);
    }

    void settingTheValueSendsLikeAMove() {
        NamedPanel panel;
        MainWindow& window = panel.OpenLabelled();
        window.Gain().tmrGain().stop();
        FaderStrip& strip = window.Bank().Strip(1);
        Accessible(strip.sliGain())->valueInterface()->setCurrentValue(-2.4);
        QCOMPARE(strip.sliGain()->value(), -1000);
        QCOMPARE(panel.link->gains.size(), 1);
        QCOMPARE(panel.link->gains[0].code, int16_t(1000));
        QCOMPARE(panel.link->gains[0].channel, int16_t(3));
        QCOMPARE(Accessible(strip.sliGain())->text(QAccessible::Value),
                 QStringLiteral("Gain (-2.4db)"));

        Accessible(strip.sliGain())->valueInterface()->setCurrentValue(QStringLiteral("loud"));
        QCOMPARE(panel.link->gains.size(), 1);  // not a number: nothing moves
    }

    void unconfirmedGainIsSaid() {
        NamedPanel panel;
        MainWindow& window = panel.OpenLabelled();
        QAccessibleInterface* fader = Accessible(window.Bank().Strip(0).sliGain());
        QCOMPARE(fader->text(QAccessible::Description),
                 QStringLiteral("Not confirmed by the switcher"));
        LinkStatus live;
        live.phase = LinkPhase::Live;
        window.ShowLinkStatus(live);
        QCOMPARE(fader->text(QAccessible::Description), QString());
    }
};

QTEST_MAIN(FaderAccessibilityTest)
#include "FaderAccessibilityTest.moc"
