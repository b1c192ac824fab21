// The fader bank inside the real window: start-up layouts, growing and
// shrinking with the window's outer width, labels, Stereo boxes, and texts
// that must stay readable in the strips' small controls.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyleOptionButton>

#include "FaderBank.h"
#include "FaderStrip.h"
#include "PanelFixture.h"
#include "Twips.h"

namespace {

int OuterWidth(const QWidget& window) { return window.frameGeometry().width(); }

QRect TextRoom(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->contentsRect();
    auto* button = qobject_cast<QAbstractButton*>(widget);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const auto element = qobject_cast<QCheckBox*>(button) ? QStyle::SE_CheckBoxContents
                                                          : QStyle::SE_PushButtonContents;
    return button->style()->subElementRect(element, &option, button);
}

}  // namespace

class FaderBankTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void singleFaderKeepsDesignSize() {
        PanelFixture panel;
        MainWindow& window = panel.Open();  // no settings file: one fader
        QCOMPARE(window.Bank().Strip(0).pos(), QPoint(Twips(200), Twips(120)));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.centralWidget()->size(), QSize(Twips(1725), Twips(6045)));
    }

    void twentyFadersWithStereoFromFile() {
        PanelFixture panel;
        QList<FaderSetting> faders;
        for (int n = 0; n < 20; ++n) faders.append({n + 1, n % 3 == 0 ? 1 : 0});
        panel.WriteIni(15, faders);
        MainWindow& window = panel.Open();
        QCOMPARE(window.Bank().StripCount(), 20);
        for (int i = 0; i < 20; ++i) {
            QCOMPARE(window.Bank().Strip(i).pos(), QPoint(Twips(120 + 1560 * i), Twips(120)));
            QCOMPARE(window.Bank().Strip(i).chkStereo()->isChecked(), i % 3 == 0);
        }
        QCOMPARE(OuterWidth(window), Twips(31335));
        window.show();  // the platform's frame must not widen the window
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(OuterWidth(window), Twips(31335));
    }

    void growingAndShrinking() {
        PanelFixture panel;
        MainWindow& window = panel.Open();
        FaderBank& bank = window.Bank();
        bank.Strip(0).lblChan()->setText(QStringLiteral("PGM L"));
        window.State().FaderCount = 4;
        bank.LoadFaders();
        QCOMPARE(window.State().LoadedFaders, int16_t(4));
        for (int i = 1; i < 4; ++i) QCOMPARE(bank.Strip(i).x(), Twips(120 + 1560 * i));
        QCOMPARE(OuterWidth(window), Twips(6375));
        QCOMPARE(bank.Strip(3).lblChan()->text(), QStringLiteral("PGM L"));  // strip 0's caption

        QList<int> destroyed;
        for (int i = 1; i < 4; ++i) {
            connect(&bank.Strip(i), &QObject::destroyed, this, [&destroyed, i] { destroyed << i; });
        }
        window.State().FaderCount = 1;
        bank.UnloadFaders();
        QCOMPARE(destroyed, QList<int>({3, 2, 1}));
        QCOMPARE(window.State().LoadedFaders, int16_t(1));
        QCOMPARE(OuterWidth(window), Twips(1695));
        QCOMPARE(bank.Strip(0).x(), Twips(240));
        QVERIFY(panel.log.entries.isEmpty());
    }

    void labelsByGainStage_data() {
        QTest::addColumn<int>("stage");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("stereoKept");
        QTest::newRow("input") << 1 << "MIC 5" << true;
        QTest::newRow("DSP output") << 15 << "PGM L" << true;
        QTest::newRow("analog output") << 3 << "PGM L" << true;
        QTest::newRow("device ID") << 20 << "Device ID 4" << false;
        QTest::newRow("other stage changes nothing") << 7 << "Ch. 1" << true;
    }
    void labelsByGainStage() {
        QFETCH(int, stage);
        QFETCH(QString, label);
        QFETCH(bool, stereoKept);
        PanelFixture panel;
        MainWindow& window = panel.Open();
        PanelState& state = window.State();
        state.SourceAlpha.assign(10, QString());
        state.SourceAlpha[4] = QStringLiteral("MIC 5");
        state.DestinationAlpha[4] = QStringLiteral("PGM L");
        state.SourceLinks[4] = 1;  // channel 4 linked, channel 6 not
        state.DestinationLinks[4] = -1;
        state.GainStage = static_cast<int16_t>(stage);
        state.Chan = {4};
        FaderStrip& strip = window.Bank().Strip(0);
        strip.chkStereo()->setChecked(true);

        window.LabelFaders();
        QCOMPARE(strip.lblChan()->text(), label);
        QCOMPARE(strip.chkStereo()->isVisibleTo(&strip), stereoKept);
        QCOMPARE(strip.chkStereo()->isChecked(), stereoKept);

        state.Chan = {6};
        window.LabelFaders();
        QCOMPARE(strip.chkStereo()->isChecked(), stage == 7);
        QVERIFY(panel.log.entries.isEmpty());
    }

    // The switcher sends its names before its links: the saved Stereo setting
    // must survive the moment in which the link is not known yet, while a box
    // the operator can see keeps whatever the operator made of it.
    void savedStereoSurvivesNamesBeforeLinks() {
        PanelFixture panel;
        panel.WriteIni(15, {{5, 1}, {6, 1}});
        MainWindow& window = panel.Open();
        PanelState& state = window.State();
        FaderBank& bank = window.Bank();
        window.LabelFaders();  // names arrived, links not yet
        QVERIFY(!bank.Strip(0).chkStereo()->isChecked());
        QVERIFY(bank.Strip(0).chkStereo()->isHidden());

        state.DestinationLinks[4] = state.DestinationLinks[5] = 1;
        window.LabelFaders();  // links arrived
        QVERIFY(bank.Strip(0).chkStereo()->isChecked());
        QVERIFY(!bank.Strip(0).chkStereo()->isHidden());

        bank.Strip(1).chkStereo()->setChecked(false);  // the operator's choice
        window.LabelFaders();
        QVERIFY(!bank.Strip(1).chkStereo()->isChecked());
        window.close();
        QVERIFY(panel.IniLines().contains(QStringLiteral("Link 1=1")));
        QVERIFY(panel.IniLines().contains(QStringLiteral("Link 2=0")));
    }

    void missingNameStopsLabelling() {
        PanelFixture panel;
        panel.WriteIni(1, {{2, 0}, {6, 0}, {1, 0}});
        MainWindow& window = panel.Open();
        window.State().SourceAlpha = {QStringLiteral("MIC 1"), QStringLiteral("MIC 2")};
        window.LabelFaders();  // fader 1's channel 5 has no name yet
        QCOMPARE(panel.log.entries,
                 RecordingLog().entries << qMakePair(QStringLiteral("Error Labeling Faders"),
                                                     QStringLiteral("Display Error")));
        QCOMPARE(window.Bank().Strip(0).lblChan()->text(), QStringLiteral("MIC 2"));
        QCOMPARE(window.Bank().Strip(1).lblChan()->text(), QStringLiteral("Ch. 1"));
        QCOMPARE(window.Bank().Strip(2).lblChan()->text(), QStringLiteral("Ch. 1"));
    }

    void textsFitTheirControls_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("longest read-out") << "lblGain"
                                          << "Gain (-99.9db)";
        QTest::newRow("channel name") << "lblChan"
                                      << "MIC 12 L";
        QTest::newRow("device label") << "lblChan"
                                      << "Device ID 255";
        QTest::newRow("0db button") << "cmdZerodb"
                                    << "0db";
        QTest::newRow("stereo box") << "chkStereo"
                                    << "Stereo";
    }
    void textsFitTheirControls() {
        QFETCH(QString, control);
        QFETCH(QString, text);
        FaderStrip strip;
        strip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&strip));
        QWidget* widget = strip.findChild<QWidget*>(control);
        const QRect room = TextRoom(widget);
        const QFontMetrics metrics(widget->font());
        QVERIFY2(
            metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height(),
            qPrintable(
                QStringLiteral("%1 in %2x%3").arg(text).arg(room.width()).arg(room.height())));
    }
};

QTEST_MAIN(FaderBankTest)
#include "FaderBankTest.moc"
